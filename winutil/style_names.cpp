#include "winutil/style_names.h"

#include "platform/toolkit/sysutils.h"

namespace vexlan {

namespace {

// Appends the names of `table` that `value` holds, claiming their bits.
void AppendNames(std::uint32_t value, std::span<const StyleName> table, bool child, std::uint32_t& claimed,
                 std::string& out) {
  for (const StyleName& entry : table) {
    if ((entry.scope == StyleScope::Child && !child) || (entry.scope == StyleScope::TopLevel && child)) continue;
    if ((value & entry.mask) != entry.value || (entry.mask & claimed) != 0) continue;
    claimed |= entry.mask;
    out += ' ';
    out += entry.name;
  }
}

std::string Describe(std::uint32_t value, std::span<const StyleName> first, std::span<const StyleName> second,
                     bool child) {
  std::string out = IntToHex(static_cast<std::int64_t>(value), 8);
  std::uint32_t claimed = 0;
  AppendNames(value, first, child, claimed, out);
  AppendNames(value, second, child, claimed, out);
  if (const std::uint32_t unknown = value & ~claimed) out += " 0x" + IntToHex(static_cast<std::int64_t>(unknown), 8);
  return out;
}

}  // namespace

std::string DescribeStyle(std::uint32_t value, std::span<const StyleName> table, bool child) {
  return Describe(value, table, {}, child);
}

std::string DescribeWindowStyle(std::uint32_t style, std::string_view class_name) {
  const std::string cls = StrLower(class_name);
  std::span<const StyleName> control;
  if (cls == "button") control = kButtonStyleNames;
  if (cls == "edit") control = kEditStyleNames;
  if (cls == "static") control = kStaticStyleNames;
  const bool child = (style & 0x40000000) != 0;  // WS_CHILD
  return Describe(style, kWindowStyleNames, control, child);
}

}  // namespace vexlan
