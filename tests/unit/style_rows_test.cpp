#include "winutil/style_rows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vexlan {
namespace {

// Every flag the window's class names is listed, set or not, as it reads;
// a field shows the name of the value it holds, without a tick; bits no
// name explains each have a line, also once cleared while `keep` holds them.
TEST(StyleRows, ListEveryNamedBitForTheClassAndWhatNoNameExplains) {
  const auto button = WindowStyleRows(0x50010007, "BUTTON");  // WS_CHILD|WS_VISIBLE|WS_TABSTOP|BS_GROUPBOX
  const auto top = WindowStyleRows(0x10CF0000, "VexlanTarget");
  const auto unnamed = WindowStyleRows(0x40000003, "VexlanTarget", 0x00000100);
  const auto tabs = WindowStyleRows(0x50000080, "SysTabControl32");  // TCS_VERTICAL
  struct Case {
    const std::vector<StyleRow>* rows;
    const char* text;  // as the list shows it; "" for none
    StyleRow row;
  };
  const Case cases[] = {
      {&button, "WS_TABSTOP", {StyleRow::kFlag, "WS_TABSTOP", 0x00010000, true}},
      {&button, "BS_GROUPBOX (of 0x0000000F)", {StyleRow::kField, "BS_GROUPBOX", 0x0000000F, true}},
      {&button, "BS_FLAT", {StyleRow::kFlag, "BS_FLAT", 0x00008000, false}},
      {&button, "", {StyleRow::kFlag, "WS_MAXIMIZEBOX", 0x00010000, true}},
      {&top, "WS_CAPTION", {StyleRow::kFlag, "WS_CAPTION", 0x00C00000, true}},
      {&top, "WS_MAXIMIZEBOX", {StyleRow::kFlag, "WS_MAXIMIZEBOX", 0x00010000, true}},
      {&unnamed, "0x00000100 (no name)", {StyleRow::kUnnamed, "0x00000100", 0x00000100, false}},
      {&tabs, "TCS_RIGHT", {StyleRow::kFlag, "TCS_RIGHT", 0x00000002, false}},
      {&tabs, "", {StyleRow::kFlag, "TCS_BOTTOM", 0x00000002, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row.name);
    const auto it = std::find_if(c.rows->begin(), c.rows->end(), [&](const StyleRow& r) { return r.name == c.row.name; });
    EXPECT_EQ(it != c.rows->end() ? StyleRowText(*it) : "", c.text);
    EXPECT_TRUE(!*c.text || *it == c.row);
  }
  EXPECT_EQ(ExtendedStyleRows(0x00000008).size(), std::size(kExtendedStyleNames));
  // A tick sets every bit of its flag, an untick clears them; a field
  // changes only by typing.
  const StyleRow caption{StyleRow::kFlag, "WS_CAPTION", 0x00C00000, false};
  EXPECT_EQ(WithRow(0x10800000, caption, true), 0x10C00000u);
  EXPECT_EQ(WithRow(0x10C00000, caption, false), 0x10000000u);
  EXPECT_EQ(WithRow(0x50000007, StyleRow{StyleRow::kField, "BS_GROUPBOX", 0xF, true}, false), 0x50000007u);
}

}  // namespace
}  // namespace vexlan
