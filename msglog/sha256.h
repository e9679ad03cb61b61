// SHA-256 (FIPS 180-4), for checking that a file on disk is the one the
// program carries before another program is made to load it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vexlan {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  void Update(std::span<const std::uint8_t> data);
  // The digest of everything given; the object is spent afterwards.
  Sha256Digest Finish();

 private:
  void Block(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;  // bytes
};

Sha256Digest Sha256Of(std::span<const std::uint8_t> data);
// Lower-case hexadecimal, two digits a byte.
std::string DigestHex(const Sha256Digest& digest);

}  // namespace vexlan
