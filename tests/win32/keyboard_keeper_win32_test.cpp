// The keyboard stays with Vexlan after it clicks another program's button
// or edit: under Wine the clicked thread takes the foreground with the
// focus, and Vexlan takes it back at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "tests/win32/forms_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

constexpr int kWaitMs = 15000;

class KeyboardKeeperTest : public FormsNextToFixtureTest {
 protected:
  void SetUp() override {
    Start({"top|K|VexlanKeys|Keys target", "child|Button|K|BUTTON|Press me", "edit|Edit|K|typed here",
           "keylog|Button", "keylog|Edit"});
    ::SetWindowPos(fixture_->Handle("K"), HWND_TOP, 700, 500, 200, 100, SWP_NOACTIVATE);
    ::SetForegroundWindow(Form1->Handle());
    ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form1->Handle(); }, kWaitMs));
  }
  TTreeNode* Selected() const { return Form1->TreeView1->Selected(); }
  void SelectAndClick(const char* name) {
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id(name))) << name;
    Form1->SendClick1Click(nullptr);
    // The fixture takes the click; the focus it takes comes back.
    fixture_->Command("ping");
    Settle(*app_, 1000);
  }
  std::vector<std::string> KeysLogged() {
    fixture_->Sync();
    std::vector<std::string> keys = fixture_->MessagesFor("Button");
    for (const std::string& line : fixture_->MessagesFor("Edit")) keys.push_back(line);
    return keys;
  }
};

TEST_F(KeyboardKeeperTest, KeysAfterAClickReachTheTreeNotTheClickedWindow) {
  for (const char* name : {"Button", "Edit"}) {
    SCOPED_TRACE(name);
    SelectAndClick(name);
    EXPECT_EQ(::GetForegroundWindow(), Form1->Handle());
    for (WORD key : {WORD{VK_DOWN}, WORD{VK_SPACE}, WORD{'X'}}) {
      const TTreeNode* before = Selected();
      PressKey(key);
      if (key == VK_DOWN) {
        EXPECT_TRUE(PumpUntil(*app_, [&] { return Selected() != before; }, kWaitMs)) << "the tree never got Down";
      } else {
        Settle(*app_, 300);
      }
    }
    EXPECT_EQ(KeysLogged(), std::vector<std::string>{});
  }
  // The click did reach the edit: it has the focus on its own thread.
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(fixture_->Handle("Edit"), nullptr), &info));
  EXPECT_EQ(info.hwndFocus, fixture_->Handle("Edit"));
}

// A user who goes to another program after the click keeps it: the watch
// ends, and a later focus change of the clicked program is left alone.
TEST_F(KeyboardKeeperTest, TheUsersOwnActivationStands) {
  FixtureProcess other({"top|Elsewhere|VexlanKeys|Another program"});
  ::SetForegroundWindow(Form1->Handle());
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form1->Handle(); }, kWaitMs));
  SelectAndClick("Button");
  other.Command("activate|Elsewhere");
  EXPECT_TRUE(PumpUntil(*app_, [&] { return ::GetForegroundWindow() == other.Handle("Elsewhere"); }, kWaitMs));
  Settle(*app_, 500);
  EXPECT_EQ(::GetForegroundWindow(), other.Handle("Elsewhere"));
  fixture_->Command("activate|K");
  Settle(*app_, 500);
  EXPECT_EQ(::GetForegroundWindow(), fixture_->Handle("K"));
}

}  // namespace
}  // namespace vexlan
