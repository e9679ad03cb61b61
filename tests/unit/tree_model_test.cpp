#include "winutil/tree_model.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"

namespace vexlan {
namespace {

using testing::FakeDesktop;

// The lookups compare the window's own caption and class, whatever quotes and
// brackets they hold: the row knows where they stand in its node caption.
TEST(TreeModelRows, KnowTheirWindowsCaptionAndClassWhateverTheyHold) {
  const std::pair<std::string, std::string> cases[] = {
      {"Start", "Button"}, {"", "Button"}, {R"(say "hi" now)", "Cls"}, {"Report [Draft] - Editor", "NuBracket"},
      {"open [ only", "x]y"}, {"Totals (old)", ""}};
  for (const auto& [caption, class_name] : cases) {
    SCOPED_TRACE(caption);
    const WindowRow row = MakeWindowRow(65552, -1, 12, caption, class_name);
    EXPECT_EQ(row.caption, NodeCaption(12, caption, class_name, 65552));
    EXPECT_EQ(row.CaptionPiece(), caption);
    EXPECT_EQ(row.ClassPiece(), class_name);
  }
}

TEST(TreeModelMatching, ContiguousAndFoldingOnlyAsciiLetters) {
  struct Case {
    std::string_view candidate, text;
    bool found;
  };
  const Case cases[] = {
      {"Untitled - Editor", "EDIT", true},
      {"Untitled - Editor", "tled - ed", true},
      {"Untitled - Editor", "Untitled Editor", false},
      {"Grüße", "GRÜSSE", false},
      {"Grüße", "grü", true},
      {"ÄRGER", "ärger", false},
      {"École", "éCOLE", false},
      {"abc", "abcd", false},
      {"", "a", false},
      {"anything", "", false},
      {"[]\"()", "\"(", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.candidate) + " / " + std::string(c.text));
    EXPECT_EQ(ContainsIgnoringAsciiCase(c.candidate, c.text), c.found);
  }
}

class TreeModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    first = d.Add(0, "Untitled - Editor", "Notepad");
    child = d.Add(first, "Log [2]", "Edit");
    deep = d.Add(child, R"(a "quoted" word)", "Static");
    twin = d.Add(0, "Untitled - Editor", "Notepad");
    parens = d.Add(0, "Totals (old)", "Frame");
    model.Append(WalkWindows(d, d.TopWindow(), false), -1);
  }
  FakeDesktop d;
  WindowTreeModel model;
  WindowHandle first, child, deep, twin, parens;
};

TEST_F(TreeModelTest, RegisterIsTheBuildOrder) {
  ASSERT_EQ(model.Count(), 5);
  const WindowHandle order[] = {first, child, deep, twin, parens};
  const int parents[] = {-1, 0, 1, -1, -1};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(model.Row(i).wnd, order[i]) << i;
    EXPECT_EQ(model.Row(i).parent, parents[i]) << i;
  }
}

TEST_F(TreeModelTest, LookupsFindTheFirstMatchInRegisterOrder) {
  struct Case {
    const char* what;
    std::optional<int> row;
  };
  const Case by_name[] = {{"editor", 0},      {"EDITOR", 0}, {"log [", 1},           {"a ", 2},
                          {R"("quoted" w)", 2}, {"(old)", 4},  {"", std::nullopt}, {"Notepad", std::nullopt}};
  for (const Case& c : by_name) {
    SCOPED_TRACE(std::string("name ") + c.what);
    EXPECT_EQ(model.FindByName(c.what), c.row);
  }
  const Case by_class[] = {{"notepad", 0}, {"2", std::nullopt}, {"Edit", 1}, {"stat", 2}, {"", std::nullopt}};
  for (const Case& c : by_class) {
    SCOPED_TRACE(std::string("class ") + c.what);
    EXPECT_EQ(model.FindByClass(c.what), c.row);
  }
  EXPECT_EQ(model.FindByHandle(twin), 3);
  EXPECT_EQ(model.FindByHandle(parens), 4);
  EXPECT_EQ(model.FindByHandle(12345), std::nullopt);
}

TEST_F(TreeModelTest, AppendHangsAWalkUnderItsRowAndClearEmptiesAll) {
  const WindowHandle extra = d.Add(0, "Extra", "Frame");
  d.Add(extra, "Inner", "Button");
  EXPECT_EQ(model.Append(WalkWindows(d, extra, false), 2), 5);
  ASSERT_EQ(model.Count(), 7);
  EXPECT_EQ(model.Row(5).parent, 2);
  EXPECT_EQ(model.Row(6).parent, 5) << "rows of the walk keep their own parents, shifted";
  EXPECT_EQ(model.FindByName("inner"), 6);

  model.Clear();
  EXPECT_EQ(model.Count(), 0);
  EXPECT_EQ(model.FindByHandle(first), std::nullopt);
  EXPECT_EQ(model.FindByName("Untitled"), std::nullopt);
  EXPECT_EQ(model.Append(WalkWindows(d, 0, false), -1), 0) << "an empty build appends nothing";
  EXPECT_EQ(model.Count(), 0);
}

// E hangs under A although D was appended before it; F names no earlier row.
TEST(TreeText, OneLineANodeIndentedByLevelInTreeOrder) {
  const std::vector<WindowRow> rows = {{1, -1, 1, "A"}, {2, 0, 1, "B"}, {3, 1, 1, "C"},
                                       {4, -1, 2, "D"}, {5, 0, 2, "E"}, {6, 9, 3, "F"}};
  EXPECT_EQ(TreeText(rows), "A\r\n\tB\r\n\t\tC\r\n\tE\r\nD\r\nF");
  EXPECT_EQ(TreeText({}), "");
}

TEST(PathString, OneGroupPerLevelBelowTheTopLevelWindow) {
  struct Case {
    std::vector<std::string> chain;
    std::string path;
  };
  const Case cases[] = {
      {{NodeCaption(4, "Top", "Frame", 1)}, ""},
      {{NodeCaption(4, "Top", "Frame", 1), NodeCaption(1, "Mid", "Panel", 2), NodeCaption(3, "Leaf", "Button", 3)},
       "n1n3"},
      {{NodeCaption(1, "Top", "Frame", 1), NodeCaption(3, "x y: z", "C", 2), NodeCaption(12, "", "C", 3)}, "n3n12"},
      {{}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::vector<std::string_view> views(c.chain.begin(), c.chain.end());
    EXPECT_EQ(PathString(views), c.path);
  }
  EXPECT_EQ(SiblingNumberText("12: \"a b\" [C] (1)"), "12");
  EXPECT_EQ(SiblingNumberText(""), "");
  EXPECT_EQ(SiblingNumberText("7:"), "7");
}

}  // namespace
}  // namespace vexlan
