#include "winutil/style_rows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vexlan {
namespace {

const StyleRow* Find(const std::vector<StyleRow>& rows, std::string_view name) {
  const auto it = std::find_if(rows.begin(), rows.end(), [&](const StyleRow& r) { return r.name == name; });
  return it == rows.end() ? nullptr : &*it;
}

// Every flag the window's class names is listed, set or not; a field shows
// the name of the value it holds, without a tick; bits no name explains
// each have a row of their own, also once cleared while `keep` holds them.
TEST(StyleRows, ListEveryNamedBitForTheClassAndWhatNoNameExplains) {
  struct Case {
    const char* name;
    std::vector<StyleRow> rows;
    std::vector<const char*> present, absent;
  };
  const auto button = WindowStyleRows(0x50010007, "BUTTON");  // WS_CHILD|WS_VISIBLE|WS_TABSTOP|BS_GROUPBOX
  const auto top = WindowStyleRows(0x10CF0000, "VexlanTarget");
  const auto unknown_bits = WindowStyleRows(0x40000003, "VexlanTarget", 0x00000100);
  const auto vertical_tabs = WindowStyleRows(0x50000080, "SysTabControl32");  // TCS_VERTICAL
  const Case cases[] = {
      {"a button, child", button, {"WS_TABSTOP", "WS_GROUP", "BS_GROUPBOX", "BS_FLAT", "WS_CAPTION"},
       {"WS_MAXIMIZEBOX", "BS_PUSHBUTTON"}},
      {"a top-level window", top, {"WS_MAXIMIZEBOX", "WS_CAPTION", "WS_BORDER", "WS_OVERLAPPED"}, {"WS_TABSTOP"}},
      {"a class without names of its own", unknown_bits, {"0x00000001", "0x00000002", "0x00000100"},
       {"0x00000004"}},
      {"a bit named by the orientation it stands in", vertical_tabs, {"TCS_RIGHT"}, {"TCS_BOTTOM"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* name : c.present) EXPECT_NE(Find(c.rows, name), nullptr) << name;
    for (const char* name : c.absent) EXPECT_EQ(Find(c.rows, name), nullptr) << name;
  }
  EXPECT_EQ(*Find(button, "BS_GROUPBOX"), (StyleRow{StyleRow::kField, "BS_GROUPBOX", 0x0000000F, true}));
  EXPECT_EQ(*Find(top, "WS_CAPTION"), (StyleRow{StyleRow::kFlag, "WS_CAPTION", 0x00C00000, true}));
  EXPECT_EQ(*Find(top, "WS_VSCROLL"), (StyleRow{StyleRow::kFlag, "WS_VSCROLL", 0x00200000, false}));
  EXPECT_EQ(*Find(unknown_bits, "0x00000100"), (StyleRow{StyleRow::kUnnamed, "0x00000100", 0x00000100, false}));
  EXPECT_EQ(ExtendedStyleRows(0x00000008).size(), std::size(kExtendedStyleNames));
}

// A tick sets every bit of its flag, an untick clears them; a field's value
// changes only by typing it.
TEST(StyleRows, ATickSetsOrClearsItsBits) {
  const StyleRow caption{StyleRow::kFlag, "WS_CAPTION", 0x00C00000, false};
  EXPECT_EQ(WithRow(0x10800000, caption, true), 0x10C00000u);
  EXPECT_EQ(WithRow(0x10C00000, caption, false), 0x10000000u);
  EXPECT_EQ(WithRow(0x50000007, StyleRow{StyleRow::kField, "BS_GROUPBOX", 0xF, true}, false), 0x50000007u);
  EXPECT_EQ(StyleRowText(caption), "WS_CAPTION");
  EXPECT_EQ(StyleRowText({StyleRow::kField, "BS_GROUPBOX", 0xF, true}), "BS_GROUPBOX (of 0x0000000F)");
  EXPECT_EQ(StyleRowText({StyleRow::kUnnamed, "0x00000100", 0x100, false}), "0x00000100 (no name)");
}

}  // namespace
}  // namespace vexlan
