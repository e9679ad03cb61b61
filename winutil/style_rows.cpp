#include "winutil/style_rows.h"

#include <algorithm>

#include "platform/toolkit/sysutils.h"
#include "platform/windows_constants.h"

namespace vexlan {

namespace {

bool SpeaksFor(const StyleName& entry, std::uint32_t value, bool child) {
  if ((entry.scope == StyleScope::Child && !child) || (entry.scope == StyleScope::TopLevel && child)) return false;
  return (value & entry.when_mask) == entry.when_value;
}

bool IsFlag(const StyleName& entry) { return entry.mask == entry.value; }

}  // namespace

std::vector<StyleRow> StyleRows(std::uint32_t value, std::span<const std::span<const StyleName>> tables, bool child,
                                std::uint32_t keep) {
  std::vector<StyleRow> rows;
  std::uint32_t explained = 0;
  std::vector<std::uint32_t> flags, fields;  // masks listed
  for (const std::span<const StyleName> table : tables) {
    for (const StyleName& entry : table) {
      if (!SpeaksFor(entry, value, child)) continue;
      explained |= entry.mask;
      if (IsFlag(entry)) {
        if (std::find(flags.begin(), flags.end(), entry.mask) != flags.end()) continue;
        flags.push_back(entry.mask);
        rows.push_back({StyleRow::kFlag, std::string(entry.name), entry.mask, (value & entry.mask) == entry.mask});
        continue;
      }
      if (std::find(fields.begin(), fields.end(), entry.mask) != fields.end()) continue;
      // The entry of this field that names the value, if any does.
      for (const StyleName& named : table) {
        if (named.mask == entry.mask && !IsFlag(named) && (value & named.mask) == named.value &&
            SpeaksFor(named, value, child)) {
          fields.push_back(entry.mask);
          rows.push_back({StyleRow::kField, std::string(named.name), entry.mask, true});
          break;
        }
      }
    }
  }
  const std::uint32_t unnamed = (value | keep) & ~explained;
  for (int bit = 0; bit < 32; ++bit) {
    const std::uint32_t mask = std::uint32_t{1} << bit;
    if (unnamed & mask) {
      rows.push_back({StyleRow::kUnnamed, "0x" + IntToHex(static_cast<std::int64_t>(mask), 8), mask, (value & mask) != 0});
    }
  }
  return rows;
}

std::vector<StyleRow> WindowStyleRows(std::uint32_t style, std::string_view class_name, std::uint32_t keep) {
  return StyleRows(style, StyleTablesForClass(class_name).All(), (style & kWsChild) != 0, keep);
}

std::vector<StyleRow> ExtendedStyleRows(std::uint32_t ex_style, std::uint32_t keep) {
  const std::span<const StyleName> tables[] = {kExtendedStyleNames};
  return StyleRows(ex_style, tables, false, keep);
}

std::string StyleRowText(const StyleRow& row) {
  switch (row.kind) {
    case StyleRow::kField:
      return row.name + " (of 0x" + IntToHex(static_cast<std::int64_t>(row.mask), 8) + ")";
    case StyleRow::kUnnamed:
      return row.name + " (no name)";
    case StyleRow::kFlag:
      break;
  }
  return row.name;
}

std::uint32_t WithRow(std::uint32_t value, const StyleRow& row, bool on) {
  if (row.kind == StyleRow::kField) return value;
  return on ? value | row.mask : value & ~row.mask;
}

}  // namespace vexlan
