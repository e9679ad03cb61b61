#include "winutil/control_pictures.h"

#include <gtest/gtest.h>

#include "winutil/tree_model.h"
#include "winutil/window_tree.h"

namespace vexlan {
namespace {

TEST(ControlPictures, EveryControlCharacterBecomesItsSymbolAndNothingElseChanges) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {"a\r\nb", "a␍␊b"},
      {std::string("\0\x1F\t\x7F", 4), "␀␟␉␡"},
      {"Grüße 東京 🙂 ␍", "Grüße 東京 🙂 ␍"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(ControlPictures(text), shown);
}

TEST(ControlPictures, KeepCopyTreeOneWindowALine) {
  const std::vector<WindowRow> rows = {WindowRow{1, -1, 1, "x\r\nProcess: 1 C:\\fake.exe", {"C"}},
                                       WindowRow{2, 0, 1, "kid", {"C"}}};
  WindowTreeModel model;
  model.Build(rows);
  EXPECT_EQ(model.TreeText(), "1: \"x␍␊Process: 1 C:\\fake.exe\" [C] (1)\r\n\t1: \"kid\" [C] (2)");
}

}  // namespace
}  // namespace vexlan
