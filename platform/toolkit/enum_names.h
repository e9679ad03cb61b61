// Names of enumeration values as form descriptions write them ("bsRaised"):
// a constant table per type, read both ways. Reading is exact (case and all)
// and accepts only a name of the table, so that text read back gives the
// value that was written.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/toolkit/sysutils.h"

namespace vexlan {

// Values 0..N-1 of E, named in order.
template <class E, std::size_t N>
struct EnumNames {
  std::string_view Type;
  std::array<std::string_view, N> Names;

  // EConvertError for a value outside the table, which has no name.
  std::string_view Name(E value) const {
    const auto index = static_cast<std::size_t>(value);
    if (index >= N) throw EConvertError("No " + std::string(Type) + " is numbered " + std::to_string(index));
    return Names[index];
  }

  // EConvertError for anything but one of the names.
  E Parse(std::string_view text) const {
    for (std::size_t i = 0; i < N; ++i) {
      if (Names[i] == text) return static_cast<E>(i);
    }
    throw EConvertError("'" + std::string(text) + "' is not a valid " + std::string(Type) + " value");
  }
};

}  // namespace vexlan
