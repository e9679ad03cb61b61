#include "winutil/style_names.h"

#include "platform/toolkit/sysutils.h"
#include "winutil/control_style_names.h"

namespace vexlan {

namespace {

bool SpeaksFor(const StyleName& entry, std::uint32_t value, bool child) {
  if ((entry.scope == StyleScope::Child && !child) || (entry.scope == StyleScope::TopLevel && child)) return false;
  return (value & entry.when_mask) == entry.when_value;
}

// Appends the names of `table` that `value` holds, claiming their bits.
void AppendNames(std::uint32_t value, std::span<const StyleName> table, bool child, std::uint32_t& claimed,
                 std::string& out) {
  for (const StyleName& entry : table) {
    if (!SpeaksFor(entry, value, child)) continue;
    if ((value & entry.mask) != entry.value || (entry.mask & claimed) != 0) continue;
    claimed |= entry.mask;
    out += ' ';
    out += entry.name;
  }
}

struct ClassTables {
  std::string_view lower_class;
  std::span<const StyleName> first;
  std::span<const StyleName> second{};
};

// The classes whose low word has names of its own, by their class name in
// lower case.
constexpr ClassTables kClassTables[] = {
    {"button", kButtonStyleNames},
    {"edit", kEditStyleNames},
    {"static", kStaticStyleNames},
    {"combobox", kComboBoxStyleNames},
    {"listbox", kListBoxStyleNames},
    {"combolbox", kListBoxStyleNames},
    {"scrollbar", kScrollBarStyleNames},
    {"systreeview32", kTreeViewStyleNames},
    {"syslistview32", kListViewStyleNames},
    {"systabcontrol32", kTabControlStyleNames},
    {"toolbarwindow32", kToolbarStyleNames, kCommonControlStyleNames},
    {"msctls_statusbar32", kStatusBarStyleNames, kCommonControlStyleNames},
    {"rebarwindow32", kRebarStyleNames, kCommonControlStyleNames},
    {"msctls_progress32", kProgressBarStyleNames},
    {"msctls_trackbar32", kTrackbarStyleNames},
    {"msctls_updown32", kUpDownStyleNames},
    {"sysheader32", kHeaderStyleNames},
};

}  // namespace

std::string DescribeStyle(std::uint32_t value, std::span<const std::span<const StyleName>> tables, bool child) {
  std::string out = IntToHex(static_cast<std::int64_t>(value), 8);
  std::uint32_t claimed = 0;
  for (const std::span<const StyleName> table : tables) AppendNames(value, table, child, claimed, out);
  if (const std::uint32_t unknown = value & ~claimed) out += " 0x" + IntToHex(static_cast<std::int64_t>(unknown), 8);
  return out;
}

std::string DescribeStyle(std::uint32_t value, std::span<const StyleName> table, bool child) {
  const std::span<const StyleName> tables[] = {table};
  return DescribeStyle(value, tables, child);
}

WindowStyleTables StyleTablesForClass(std::string_view class_name) {
  WindowStyleTables result;
  result.tables[result.count++] = kWindowStyleNames;
  const std::string cls = StrLower(class_name);
  for (const ClassTables& entry : kClassTables) {
    if (entry.lower_class != cls) continue;
    result.tables[result.count++] = entry.first;
    if (!entry.second.empty()) result.tables[result.count++] = entry.second;
  }
  return result;
}

std::string DescribeWindowStyle(std::uint32_t style, std::string_view class_name) {
  const bool child = (style & 0x40000000) != 0;  // WS_CHILD
  return DescribeStyle(style, StyleTablesForClass(class_name).All(), child);
}

}  // namespace vexlan
