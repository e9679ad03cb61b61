// After a click on another program's button or edit, the keyboard stays with
// Vexlan: under Wine the clicked thread takes the foreground with the focus.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win32/forms_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;
using KeyboardKeeperTest = FormsNextToFixtureTest;

TEST_F(KeyboardKeeperTest, KeysAfterAClickReachTheTreeNotTheClickedWindow) {
  Start({"top|K|VexlanKeys|Keys target", "child|Button|K|BUTTON|Press me", "edit|Edit|K|typed here",
         "keylog|Button", "keylog|Edit"});
  ::SetForegroundWindow(Form1->Handle());
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form1->Handle(); }, 15000));
  for (const char* name : {"Button", "Edit"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id(name)));
    Form1->SendClick1Click(nullptr);
    fixture_->Sync();  // it has taken the click, and the focus
    Settle(*app_, 1000);
    EXPECT_EQ(::GetForegroundWindow(), Form1->Handle());
    for (const WORD key : {WORD{VK_SPACE}, WORD{'X'}, WORD{VK_DOWN}}) PressKey(key);
    const TTreeNode* clicked = NodeList.NodeOf(fixture_->Id(name));
    EXPECT_TRUE(PumpUntil(*app_, [&] { return Form1->TreeView1->Selected() != clicked; }, 15000)) << "no Down";
    fixture_->Sync();
    EXPECT_EQ(fixture_->MessagesFor(name), std::vector<std::string>{}) << "the keys went to the clicked window";
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(fixture_->Handle("Edit"), nullptr), &info));
  EXPECT_EQ(info.hwndFocus, fixture_->Handle("Edit")) << "the click did not reach the edit";
}

}  // namespace
}  // namespace vexlan
