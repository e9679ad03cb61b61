#include "components/SysHot.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "tests/support/fake_hot_keys.h"
#include "tests/support/fake_message_windows.h"

namespace vexlan {
namespace {

using testing::DefaultProcessed;
using testing::FakeHotKeyTable;
using testing::FakeMessageWindows;
using testing::HotKeyCall;

constexpr THotKeyCode kQ = 50;
constexpr THotKeyCode kF1 = 76;
constexpr unsigned kVkQ = 81;
constexpr unsigned kVkF1 = 112;
// A window of another program, holding hot keys in the same table.
constexpr WindowHandle kOtherProgram = 0x7000;

// Every registration asks for no repeats besides the entry's modifiers.
HotKeyCall Registered(WindowHandle wnd, int id, unsigned modifiers, unsigned vk, bool granted = true) {
  return {HotKeyCall::kRegister, wnd, id, modifiers | kModNoRepeat, vk, granted};
}
HotKeyCall Unregistered(WindowHandle wnd, int id) { return {HotKeyCall::kUnregister, wnd, id, 0, 0, true}; }

TEST(HotKeyVirtualKeys, LandmarksOfTheTable) {
  const std::pair<int, std::uint32_t> rows[] = {{0, 0},   {1, 3},    {19, 43},   {34, 65},   {50, 81},  {59, 90},
                                                {60, 96}, {76, 112}, {99, 135}, {100, 144}, {101, 145}};
  for (const auto& [code, vk] : rows) {
    SCOPED_TRACE(code);
    EXPECT_EQ(HotKeyVirtualKeys[static_cast<std::size_t>(code)], vk);
  }
}

TEST(ModifiersToFlags, ElementByElementIgnoringTheHighBits) {
  const std::pair<THotKeyModifiers, unsigned> rows[] = {
      {THotKeyModifiers{}, 0}, {hmShift, kModShift}, {hmCtrl, kModControl}, {hmAlt, kModAlt},
      {hmWin, kModWin},        {hmShift | hmAlt, 5}, {THotKeyModifiers{0xF2}, kModControl}};
  for (const auto& [set, flags] : rows) {
    SCOPED_TRACE(static_cast<int>(set));
    EXPECT_EQ(ModifiersToFlags(set), flags);
  }
}

class SysHotKeyTest : public ::testing::Test {
 protected:
  FakeMessageWindows windows;
  FakeHotKeyTable table;
  ScopedPlatform platform{PlatformContext{}.With(windows).With(table)};
  std::unique_ptr<TSysHotKey> hk = std::make_unique<TSysHotKey>(nullptr);
  std::vector<int> fired;

  void Listen() {
    hk->OnHotKey = [this](TObject* sender, int index) {
      EXPECT_EQ(sender, hk.get());
      fired.push_back(index);
    };
  }
  std::optional<FakeHotKeyTable::Holder> Press(unsigned modifiers, unsigned vk) {
    return testing::PressHotKey(table, windows, modifiers, vk);
  }
};

TEST_F(SysHotKeyTest, InactiveOrSetToItsValueItAsksNothing) {
  EXPECT_EQ(hk->AddHotKey(kQ, hmCtrl), (THotKeyEntry{hmCtrl, kQ, false}));
  hk->SetActive(false);
  EXPECT_TRUE(table.calls.empty());
  EXPECT_EQ(windows.creation_attempts, 0);
  hk->SetActive(true);
  hk->SetActive(true);
  EXPECT_EQ(table.calls.size(), 1u);
}

TEST_F(SysHotKeyTest, RegistersTheSystemsFlagsAndVirtualKey) {
  struct Case {
    THotKeyCode key;
    THotKeyModifiers modifiers;
    unsigned flags, vk;
  };
  const Case cases[] = {{kQ, hmCtrl, kModControl, kVkQ}, {kF1, hmShift | hmAlt, 5, kVkF1}, {0, hmWin, kModWin, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vk);
    FakeHotKeyTable fresh;
    ScopedPlatform scope(Platform().With(fresh));
    TSysHotKey component(nullptr);
    component.SetActive(true);
    EXPECT_TRUE(component.AddHotKey(c.key, c.modifiers).Registered);
    EXPECT_EQ(fresh.calls, std::vector<HotKeyCall>{Registered(component.Handle(), 0, c.flags, c.vk)});
  }
}

TEST_F(SysHotKeyTest, ARefusedCombinationLeavesTheRestWorking) {
  ASSERT_TRUE(table.RegisterHotKey(kOtherProgram, 1, kModControl, kVkQ));
  Listen();
  hk->SetActive(true);
  EXPECT_FALSE(hk->AddHotKey(kQ, hmCtrl).Registered);
  EXPECT_TRUE(hk->AddHotKey(kF1, hmAlt).Registered);
  EXPECT_TRUE(hk->Active());
  Press(kModAlt, kVkF1);
  Press(kModControl, kVkQ);
  EXPECT_EQ(fired, std::vector<int>{1});
  // Deactivation releases only what the system granted.
  table.calls.clear();
  hk->SetActive(false);
  EXPECT_EQ(table.calls, std::vector<HotKeyCall>{Unregistered(hk->Handle(), 1)});
}

TEST_F(SysHotKeyTest, TheSameCombinationTwiceGoesToTheLowerIndex) {
  Listen();
  hk->AddHotKey(kQ, hmCtrl);
  hk->AddHotKey(kQ, hmCtrl);
  hk->SetActive(true);
  EXPECT_TRUE(hk->HotKeys(0).Registered);
  EXPECT_FALSE(hk->HotKeys(1).Registered);
  Press(kModControl, kVkQ);
  EXPECT_EQ(fired, std::vector<int>{0});
}

TEST_F(SysHotKeyTest, ReactivationRegistersTheSameIdsAgain) {
  hk->AddHotKey(kQ, hmCtrl);
  hk->AddHotKey(kF1, hmShift);
  hk->AddHotKey(kQ, hmAlt);
  hk->SetActive(true);
  const std::vector<HotKeyCall> first = table.calls;
  hk->SetActive(false);
  EXPECT_EQ(table.HeldBy(hk->Handle()), 0);
  table.calls.clear();
  hk->SetActive(true);
  EXPECT_EQ(table.calls, first);
  EXPECT_EQ(table.HeldBy(hk->Handle()), 3);
}

TEST_F(SysHotKeyTest, DestructionReleasesEverythingBeforeTheWindowGoes) {
  hk->SetActive(true);
  hk->AddHotKey(kQ, hmCtrl);
  hk->AddHotKey(kF1, hmCtrl);
  const WindowHandle wnd = hk->Handle();
  int held_when_window_went = -1;
  windows.on_destroy = [&](WindowHandle w) { held_when_window_went = table.HeldBy(w); };
  hk.reset();
  EXPECT_EQ(held_when_window_went, 0);
  EXPECT_EQ(windows.destroyed, std::vector<WindowHandle>{wnd});
}

TEST_F(SysHotKeyTest, APressWithoutAHandlerDoesNothing) {
  hk->SetActive(true);
  hk->AddHotKey(kQ, hmCtrl);
  EXPECT_TRUE(Press(kModControl, kVkQ));
  EXPECT_TRUE(windows.default_processed.empty());
  EXPECT_TRUE(hk->Active());
  EXPECT_TRUE(hk->HotKeys(0).Registered);
}

// Any program can post WM_HOTKEY: only the id of an entry the system holds
// for the component is a press.
TEST_F(SysHotKeyTest, OnlyTheIdOfAHeldEntryFires) {
  Listen();
  ASSERT_TRUE(table.RegisterHotKey(kOtherProgram, 1, kModControl, kVkQ));
  hk->AddHotKey(kF1, hmCtrl);
  hk->AddHotKey(kQ, hmCtrl);  // refused: the other program holds it
  hk->SetActive(true);
  const std::uintptr_t ids[] = {0, 1, 2, 0x00010000, std::uintptr_t(-1), std::uintptr_t(-2)};
  for (const std::uintptr_t id : ids) windows.Deliver(hk->Handle(), msg::kHotKey, id);
  EXPECT_EQ(fired, std::vector<int>{0});
}

TEST_F(SysHotKeyTest, AKeyPastTheTableOrNoWindowRefusesWithoutAsking) {
  struct Case {
    THotKeyCode key;
    bool window_fails;
  };
  const Case cases[] = {{102, false}, {255, false}, {kQ, true}};
  hk->SetActive(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    windows.fail_creation = c.window_fails;
    EXPECT_EQ(hk->AddHotKey(c.key, hmCtrl), (THotKeyEntry{hmCtrl, c.key, false}));
  }
  EXPECT_TRUE(table.calls.empty());
  EXPECT_TRUE(hk->Active());
  // The entries keep their places; once a window can be made, the next
  // activation registers the one the table knows.
  windows.fail_creation = false;
  hk->SetActive(false);
  hk->SetActive(true);
  EXPECT_EQ(table.calls, std::vector<HotKeyCall>{Registered(hk->Handle(), 2, kModControl, kVkQ)});
}

TEST_F(SysHotKeyTest, AWindowDestroyedFromOutsideEndsActivity) {
  hk->SetActive(true);
  hk->AddHotKey(kQ, hmCtrl);
  const WindowHandle wnd = hk->Handle();
  windows.Deliver(wnd, msg::kDestroy);
  EXPECT_FALSE(hk->Active());
  EXPECT_EQ(table.HeldBy(wnd), 0);
  EXPECT_EQ(windows.default_processed, (std::vector<DefaultProcessed>{{wnd, msg::kDestroy, 0, 0}}));
}

TEST_F(SysHotKeyTest, ClearingReleasesAndRemovesEntriesButStaysActive) {
  hk->SetActive(true);
  hk->AddHotKey(kQ, hmCtrl);
  hk->AddHotKey(kF1, hmCtrl);
  hk->ClearHotKeys();
  EXPECT_EQ(hk->HotKeyCount(), 0);
  EXPECT_EQ(table.HeldBy(hk->Handle()), 0);
  EXPECT_TRUE(hk->Active());
  EXPECT_TRUE(hk->AddHotKey(kF1, hmAlt).Registered);
  EXPECT_EQ(table.calls.back(), Registered(hk->Handle(), 0, kModAlt, kVkF1));
}

// Loaded tries again what was refused and keeps what is held: asked again,
// the system would refuse the entry its own combination.
TEST_F(SysHotKeyTest, ActiveActsWhileLoadingAndLoadedTriesAgainWhatWasRefused) {
  ASSERT_TRUE(table.RegisterHotKey(kOtherProgram, 1, kModControl, kVkQ));
  hk->AddHotKey(kQ, hmCtrl);
  hk->AddHotKey(kF1, hmCtrl);
  hk->BeginLoading();
  hk->SetActive(true);
  EXPECT_FALSE(hk->HotKeys(0).Registered);
  EXPECT_TRUE(hk->HotKeys(1).Registered);
  EXPECT_EQ(table.calls.size(), 3u);
  table.UnregisterHotKey(kOtherProgram, 1);
  hk->Loaded();
  EXPECT_TRUE(hk->HotKeys(0).Registered);
  EXPECT_TRUE(hk->HotKeys(1).Registered);
  EXPECT_EQ(table.HolderOf(kModControl, kVkQ), (FakeHotKeyTable::Holder{hk->Handle(), 0}));
  hk->SetActive(false);
  EXPECT_EQ(table.HeldBy(hk->Handle()), 0) << "deactivation releases everything";
}

}  // namespace
}  // namespace vexlan
