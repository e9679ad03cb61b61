// The lines of the Styles dialog's lists: what each bit of a style value is
// called for the window's class, with whether it is set.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "winutil/style_names.h"

namespace vexlan {

struct StyleRow {
  enum Kind : std::uint8_t {
    kFlag,     // a named flag, ticked when all its bits are set
    kField,    // the value a field of several bits holds, named: it is
               // changed by typing the value, not by a tick
    kUnnamed,  // one bit no name explains
  };
  Kind kind = kFlag;
  std::string name;
  std::uint32_t mask = 0;  // the bits the row stands for (a field's mask)
  bool checked = false;
  friend bool operator==(const StyleRow&, const StyleRow&) = default;
};

// The rows for `value` under `tables` (the earlier claiming bits first), for
// a child window or another, in table order: every flag that speaks for the
// value, set or not (a flag named twice, once); each field whose value has a
// name, where its first entry stands; then, lowest first, each bit no entry
// explains that `value` or `keep` holds (`keep`: bits the user may want to
// set again, such as those the value had when it was read).
std::vector<StyleRow> StyleRows(std::uint32_t value, std::span<const std::span<const StyleName>> tables, bool child,
                                std::uint32_t keep = 0);
// The rows of a window style, with the tables of its class, for a child
// window when the value holds WS_CHILD.
std::vector<StyleRow> WindowStyleRows(std::uint32_t style, std::string_view class_name, std::uint32_t keep = 0);
// The rows of an extended style.
std::vector<StyleRow> ExtendedStyleRows(std::uint32_t ex_style, std::uint32_t keep = 0);
// The row as a list shows it: a flag by its name; a field's value by its
// name and the field's bits ("BS_GROUPBOX (of 0x0000000F)"); a bit no name
// explains in hexadecimal ("0x00000100 (no name)").
std::string StyleRowText(const StyleRow& row);
// `value` with the row's bits set (`on`) or cleared; a field's value is
// left as it is.
std::uint32_t WithRow(std::uint32_t value, const StyleRow& row, bool on);

}  // namespace vexlan
