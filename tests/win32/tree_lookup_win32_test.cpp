// Finding a window's node in the main form's tree, against real windows of
// another process: the three lookups and the bar's "Show Handle".
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"
#include "winutil/window_tree.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

class TreeLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture_ = std::make_unique<FixtureProcess>(std::vector<std::string>{
        "top|Top|VexlanLookupTop|Lookup top",
        "child|Twin1|Top|VexlanTwin|Twin caption",
        "child|Twin2|Top|VexlanTwin|Twin caption",
        "child|Mid|Top|VexlanLookupMid|Middle",
        "child|Deep|Mid|VexlanLookupDeep|Deep Needle (x)",
        "child|Draft|Top|NuBracket|Report [Draft] - Editor",
        "child|Quoted|Top|VexlanQuoted|Say \"hi\" now",
    });
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    app_->CreateForm(form_);
    form_->Show();
    ASSERT_TRUE(PumpUntil(*app_, [&] { return ::GetForegroundWindow() == form_->Handle(); }));
    form_->handle->SetFocus();
    Settle(*app_);
  }
  void TearDown() override {
    app_.reset();
    fixture_.reset();
  }

  TTreeNode* NodeOf(const char* name) const { return NodeList.NodeOf(fixture_->Id(name)); }
  // True when the node's row lies inside the tree's client area.
  bool OnScreen(TTreeNode* node) const {
    RECT r{};
    const HTREEITEM item = node->Handle();
    std::memcpy(&r, &item, sizeof item);
    if (!::SendMessageW(form_->TreeView1->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) return false;
    RECT client{};
    ::GetClientRect(form_->TreeView1->Handle(), &client);
    return r.top >= 0 && r.bottom <= client.bottom;
  }

  std::unique_ptr<FixtureProcess> fixture_;
  std::unique_ptr<TApplication> app_;
  TForm1* form_ = nullptr;
};

TEST_F(TreeLookupTest, EachLookupSelectsTheFirstMatchRevealsItAndFocusesTheTree) {
  struct Case {
    const char* lookup;
    std::function<bool()> run;
    const char* expected;
  };
  const Case cases[] = {
      {"name, deep in a collapsed branch", [&] { return form_->Findnodebyname("deep needle (X"); }, "Deep"},
      {"name, the first of two equal captions", [&] { return form_->Findnodebyname("TWIN caption"); }, "Twin1"},
      {"class, the first of two", [&] { return form_->Findnodebyclass("vexlantwin"); }, "Twin1"},
      {"class, a part of it", [&] { return form_->Findnodebyclass("LookupDee"); }, "Deep"},
      {"handle", [&] { return form_->Findnodebyhandle(fixture_->Id("Twin2")); }, "Twin2"},
      {"class of a caption holding brackets", [&] { return form_->Findnodebyclass("nubracket"); }, "Draft"},
      {"name across a closing bracket", [&] { return form_->Findnodebyname("draft] - ed"); }, "Draft"},
      {"name after a quote", [&] { return form_->Findnodebyname("\" NOW"); }, "Quoted"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lookup);
    for (std::size_t i = 0; i < NodeList.size(); ++i) NodeList[i].Node->Collapse();
    form_->handle->SetFocus();
    Settle(*app_, 100);
    ASSERT_TRUE(c.run());
    TTreeNode* node = NodeOf(c.expected);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(form_->TreeView1->Selected(), node);
    for (TTreeNode* p = node->Parent(); p; p = p->Parent()) EXPECT_TRUE(p->Expanded()) << p->Text();
    EXPECT_TRUE(OnScreen(node));
    EXPECT_TRUE(PumpUntil(*app_, [] { return FocusName() == "TreeView1"; })) << "focus is on " << FocusName();
  }
}

TEST_F(TreeLookupTest, AFailedLookupKeepsTheSelectionAndTheFocus) {
  ASSERT_TRUE(form_->Findnodebyhandle(fixture_->Id("Mid")));
  form_->handle->SetFocus();
  Settle(*app_, 100);
  EXPECT_FALSE(form_->Findnodebyname("no window is called this"));
  EXPECT_FALSE(form_->Findnodebyname(""));
  EXPECT_FALSE(form_->Findnodebyclass("NoSuchClassAnywhere"));
  EXPECT_FALSE(form_->Findnodebyhandle(0x7FFFFFF0));
  Settle(*app_, 100);
  EXPECT_EQ(form_->TreeView1->Selected(), NodeOf("Mid"));
  EXPECT_EQ(FocusName(), "handle");
}

// However the tree's nodes go, the register goes with them: no lookup can
// reach a node that is gone.
TEST_F(TreeLookupTest, EmptyingTheTreeEmptiesTheRegister) {
  ASSERT_GT(NodeCount, 0);
  form_->TreeView1->Items().Clear();
  EXPECT_EQ(NodeCount, 0);
  EXPECT_EQ(NodeList.size(), 0u);
  EXPECT_FALSE(form_->Findnodebyhandle(fixture_->Id("Mid")));
  EXPECT_FALSE(form_->Findnodebyname("Middle"));
  form_->RefreshBtnClick(nullptr);
  EXPECT_EQ(static_cast<int>(NodeList.size()), form_->TreeView1->Items().Count());
  EXPECT_TRUE(form_->Findnodebyname("Middle"));
}

// With the form hidden a lookup still selects, but pulls no focus and does
// not show the form.
TEST_F(TreeLookupTest, ALookupWhileTheFormIsHiddenSelectsWithoutShowingIt) {
  form_->Hide();
  ASSERT_TRUE(form_->Findnodebyname("Deep Needle"));
  Settle(*app_, 100);
  EXPECT_EQ(form_->TreeView1->Selected(), NodeOf("Deep"));
  EXPECT_FALSE(::IsWindowVisible(form_->Handle()));
}

TEST_F(TreeLookupTest, ShowHandleSelectsOrSaysWhy) {
  fixture_->Command("top|Late|VexlanLookupTop|Made after the tree");
  struct Case {
    std::string typed;
    std::string message;  // "" for none
    const char* selected;  // the node selected afterwards, nullptr: unchanged
  };
  const Case cases[] = {
      {"", "No handle entered.", nullptr},
      {"Handle", "No handle entered.", nullptr},
      {std::to_string(fixture_->Id("Mid")), "", "Mid"},
      {std::to_string(fixture_->Id("Late")), "Handle not found.", nullptr},
      {"4D2", "'4D2' is not a window handle", nullptr},
      {"handle", "'handle' is not a window handle", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("typed '" + c.typed + "'");
    ASSERT_TRUE(form_->Findnodebyhandle(fixture_->Id("Twin1")));
    std::vector<std::string> shown;
    ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
    form_->handle->SetText(c.typed);
    // As a click would: an error goes to the application's handler.
    ::SendMessageW(form_->ShowHandleBtn->Handle(), BM_CLICK, 0, 0);
    if (c.message.empty()) {
      EXPECT_TRUE(shown.empty()) << shown.front();
    } else {
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0].rfind(c.message, 0), 0u) << shown[0];
    }
    EXPECT_EQ(form_->TreeView1->Selected(), NodeOf(c.selected ? c.selected : "Twin1"));
  }
}

// As a user does it: type a handle into the box and press Enter, then read
// the real message box for one that is not listed.
TEST_F(TreeLookupTest, EnterInTheHandleBoxShowsTheHandle) {
  MessageBoxReader boxes;
  form_->handle->SetText(std::to_string(fixture_->Id("Deep")));
  form_->handle->SetFocus();
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil(*app_, [&] { return form_->TreeView1->Selected() == NodeOf("Deep"); }));
  EXPECT_TRUE(PumpUntil(*app_, [] { return FocusName() == "TreeView1"; }));
  EXPECT_TRUE(boxes.Texts().empty());

  form_->handle->SetText("77");
  form_->handle->SetFocus();
  Settle(*app_, 100);
  PressKey(VK_RETURN);
  EXPECT_TRUE(PumpUntil(*app_, [&] { return !boxes.Texts().empty(); }));
  Settle(*app_);
  EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"Handle not found."});
  EXPECT_EQ(form_->TreeView1->Selected(), NodeOf("Deep"));
}

// Enter in the tree is not "Show Handle".
TEST_F(TreeLookupTest, EnterInTheTreeShowsNoHandle) {
  std::vector<std::string> shown;
  ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
  form_->handle->SetText("");
  form_->TreeView1->SetFocus();
  PressKey(VK_RETURN);
  Settle(*app_);
  EXPECT_TRUE(shown.empty()) << shown.front();
}

}  // namespace
}  // namespace vexlan
