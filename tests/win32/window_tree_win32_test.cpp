// The main form's tree of windows against real windows of another process.
// Wine's own windows come and go, so the assertions look at the fixture's.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "platform/toolkit/win32/application.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"
#include "winutil/window_tree.h"

namespace vexlan {
namespace {

using testing::FixtureProcess;

class WindowTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture_ = std::make_unique<FixtureProcess>(std::vector<std::string>{
        "top|T|VexlanTreeTop|Tree top ä 東京 🙂",
        "child|C1|T|VexlanLeaf|First",
        "hiddenchild|C2|T|VexlanLeaf|Hidden child",
        "child|C3|T|VexlanLeaf|Third",
        "child|C1a|C1|VexlanLeaf|Deep",
        "hidden|H|VexlanTreeTop|Hidden top",
        "child|H1|H|VexlanLeaf|Under a hidden parent",
        "top|Totals|VexlanTreeTop|Totals (old)",
    });
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    app_->CreateForm(form_);
  }
  void TearDown() override {
    app_.reset();
    fixture_.reset();
  }

  WindowHandle Id(const char* name) const { return fixture_->Id(name); }

  // The register entry of a window, or -1 when it is not listed.
  static int EntryOf(WindowHandle wnd) {
    for (int i = 0; i < NodeCount; ++i) {
      if (NodeList[static_cast<std::size_t>(i)].Wnd == wnd) return i;
    }
    return -1;
  }

  // The subtree of a window as indented captions; the first line is the
  // window's own caption without its number (which depends on Wine's windows).
  static std::vector<std::string> Subtree(WindowHandle wnd) {
    const int at = EntryOf(wnd);
    if (at < 0) return {};
    const TTreeNode* root = NodeList[static_cast<std::size_t>(at)].Node;
    std::vector<std::string> out{root->Text().substr(root->Text().find(": ") + 2)};
    for (int i = at + 1; i < NodeCount; ++i) {
      const TTreeNode* node = NodeList[static_cast<std::size_t>(i)].Node;
      if (node->Level() <= root->Level()) break;
      out.push_back(std::string(static_cast<std::size_t>(node->Level() - root->Level()) * 2, ' ') + node->Text());
    }
    return out;
  }

  std::string Caption(int n, const char* caption, const char* cls, const char* name) const {
    return NodeCaption(n, caption, cls, Id(name));
  }

  std::unique_ptr<FixtureProcess> fixture_;
  std::unique_ptr<TApplication> app_;
  TForm1* form_ = nullptr;
};

TEST_F(WindowTreeTest, FixtureWindowsAppearWithTheirSubtreesAtCreation) {
  const std::vector<std::string> expected = {
      "\"Tree top ä 東京 🙂\" [VexlanTreeTop] (" + std::to_string(Id("T")) + ")",
      "  " + Caption(1, "First", "VexlanLeaf", "C1"),
      "    " + Caption(1, "Deep", "VexlanLeaf", "C1a"),
      "  " + Caption(2, "Hidden child", "VexlanLeaf", "C2"),
      "  " + Caption(3, "Third", "VexlanLeaf", "C3"),
  };
  EXPECT_EQ(Subtree(Id("T")), expected);
  EXPECT_EQ(Subtree(Id("H")).size(), 2u) << "hidden windows are listed while the filter is off";
  EXPECT_EQ(NodeList[static_cast<std::size_t>(EntryOf(Id("T")))].Node->Level(), 0);
}

TEST_F(WindowTreeTest, RegisterHoldsEveryNodeOnceInPreOrder) {
  TTreeNodes& nodes = form_->TreeView1->Items();
  ASSERT_EQ(NodeCount, nodes.Count());
  ASSERT_EQ(NodeList.size(), static_cast<std::size_t>(NodeCount));
  std::map<const TTreeNode*, int> seen;
  const TTreeNode* previous = nullptr;
  for (int i = 0; i < NodeCount; ++i) {
    const TNodeEntry& e = NodeList[static_cast<std::size_t>(i)];
    SCOPED_TRACE(e.Node->Text());
    EXPECT_TRUE(seen.emplace(e.Node, i).second) << "a node registered twice";
    EXPECT_EQ(HandleFromNodeCaption(e.Node->Text()), e.Wnd);
    // Pre-order: a node hangs under the previous node or one of its ancestors.
    if (e.Node->Parent()) {
      const TTreeNode* a = previous;
      while (a && a != e.Node->Parent()) a = a->Parent();
      EXPECT_EQ(a, e.Node->Parent());
    }
    previous = e.Node;
  }
}

// On a real desktop: under every parent the numbers run 1, 2, 3... in order.
TEST_F(WindowTreeTest, SiblingNumbersRunFromOneUnderEveryParent) {
  for (bool filter : {false, true}) {
    SCOPED_TRACE(filter ? "filter on" : "filter off");
    if (filter) form_->OnlyShownMenuItem1Click(form_->Onlyshownwindows1);
    std::map<const TTreeNode*, int> last;
    for (int i = 0; i < NodeCount; ++i) {
      const TTreeNode* node = NodeList[static_cast<std::size_t>(i)].Node;
      const int number = std::stoi(node->Text().substr(0, node->Text().find(':')));
      EXPECT_EQ(number, ++last[node->Parent()]) << node->Text();
    }
  }
}

TEST_F(WindowTreeTest, RefreshPicksUpNewWindowsAndDropsDestroyedOnes) {
  fixture_->Command("top|N|VexlanTreeTop|Made after the build");
  EXPECT_EQ(EntryOf(Id("N")), -1) << "the tree is a snapshot until refreshed";
  form_->RefreshBtn->Click();
  ASSERT_GE(EntryOf(Id("N")), 0);
  EXPECT_EQ(Subtree(Id("N")),
            std::vector<std::string>{"\"Made after the build\" [VexlanTreeTop] (" + std::to_string(Id("N")) + ")"});

  const WindowHandle gone = Id("C1");
  fixture_->Command("destroy|C1");
  form_->RefreshBtn->Click();
  EXPECT_EQ(EntryOf(gone), -1);
  EXPECT_EQ(EntryOf(Id("C1a")), -1) << "a destroyed window's children go with it";
  const std::vector<std::string> expected = {
      "\"Tree top ä 東京 🙂\" [VexlanTreeTop] (" + std::to_string(Id("T")) + ")",
      "  " + Caption(1, "Hidden child", "VexlanLeaf", "C2"),
      "  " + Caption(2, "Third", "VexlanLeaf", "C3"),
  };
  EXPECT_EQ(Subtree(Id("T")), expected);
}

TEST_F(WindowTreeTest, FilterHidesHiddenSubtreesAndTogglingTwiceRestoresTheTree) {
  const std::vector<std::string> before = Subtree(Id("T"));
  TMenuItem* item = form_->Onlyshownwindows1;
  ASSERT_FALSE(item->Checked());

  form_->OnlyShownMenuItem1Click(item);
  EXPECT_TRUE(item->Checked());
  const std::vector<std::string> filtered = {
      "\"Tree top ä 東京 🙂\" [VexlanTreeTop] (" + std::to_string(Id("T")) + ")",
      "  " + Caption(1, "First", "VexlanLeaf", "C1"),
      "    " + Caption(1, "Deep", "VexlanLeaf", "C1a"),
      "  " + Caption(2, "Third", "VexlanLeaf", "C3"),
  };
  EXPECT_EQ(Subtree(Id("T")), filtered);
  EXPECT_EQ(EntryOf(Id("H")), -1);
  EXPECT_EQ(EntryOf(Id("H1")), -1) << "a visible child of a hidden window is not shown";
  for (int i = 0; i < NodeCount; ++i) {
    EXPECT_TRUE(::IsWindowVisible(ToHwnd(NodeList[static_cast<std::size_t>(i)].Wnd)))
        << NodeList[static_cast<std::size_t>(i)].Node->Text();
  }

  form_->OnlyShownMenuItem1Click(item);
  EXPECT_FALSE(item->Checked());
  EXPECT_EQ(Subtree(Id("T")), before);
  EXPECT_GE(EntryOf(Id("H1")), 0);
}

TEST_F(WindowTreeTest, SelectedHandleReadsTheLastParenthesisedGroup) {
  form_->TreeView1->SetSelected(nullptr);
  EXPECT_EQ(form_->SelectedHandle(), 0) << "no node selected";
  const int at = EntryOf(Id("Totals"));
  ASSERT_GE(at, 0);
  form_->TreeView1->SetSelected(NodeList[static_cast<std::size_t>(at)].Node);
  EXPECT_EQ(form_->SelectedHandle(), Id("Totals"));
  const int child = EntryOf(Id("C1a"));
  form_->TreeView1->SetSelected(NodeList[static_cast<std::size_t>(child)].Node);
  EXPECT_EQ(form_->SelectedHandle(), Id("C1a"));
}

TEST_F(WindowTreeTest, RebuildSelectsAndExpandsNothing) {
  const int at = EntryOf(Id("C1a"));
  form_->TreeView1->SetSelected(NodeList[static_cast<std::size_t>(at)].Node);
  form_->RefreshBtnClick(nullptr);
  EXPECT_EQ(form_->TreeView1->Selected(), nullptr);
  for (int i = 0; i < NodeCount; ++i) {
    EXPECT_FALSE(NodeList[static_cast<std::size_t>(i)].Node->Expanded()) << NodeList[static_cast<std::size_t>(i)].Node->Text();
  }
}

}  // namespace
}  // namespace vexlan
