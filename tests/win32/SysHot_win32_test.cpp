#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "components/SysHot.h"
#include "components/WComp.h"
#include "platform/toolkit/win32/application.h"
#include "platform/win32/message_window.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

constexpr THotKeyCode kQ = 50;
constexpr THotKeyCode kF13 = 88;
// Hot keys come through the X server and wineserver: a generous bound.
constexpr int kPressTimeoutMs = 10000;

class SystemComponentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
  }
  ScopedPlatform platform_{SystemPlatform()};
  std::unique_ptr<TApplication> app_;
};

// Answers kProbe itself.
class TProbeComponent : public TWindowedComponent {
 public:
  static constexpr UINT kProbe = WM_APP + 7;
  using TWindowedComponent::TWindowedComponent;

 protected:
  bool DispatchByNumber(TMessage& message) override {
    static const MessageHandler<TProbeComponent> table[] = {{kProbe, &TProbeComponent::Probe}};
    return DispatchTable(*this, table, message) || TWindowedComponent::DispatchByNumber(message);
  }
  void Probe(TMessage& message) { message.Result = 42; }
};

TEST_F(SystemComponentsTest, TheHiddenWindowIsAHiddenTopLevelWindowRoutedToTheComponent) {
  auto probe = std::make_unique<TProbeComponent>(nullptr);
  const HWND hwnd = ToHwnd(probe->Handle());
  ASSERT_TRUE(::IsWindow(hwnd));
  EXPECT_FALSE(::IsWindowVisible(hwnd));
  EXPECT_EQ(::GetAncestor(hwnd, GA_PARENT), ::GetDesktopWindow());
  EXPECT_EQ(WindowClass(hwnd), kMessageWindowClass);
  EXPECT_EQ(::SendMessageW(hwnd, TProbeComponent::kProbe, 0, 0), 42);
  // Unhandled messages get the system's default processing: it keeps the text.
  ::SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
  EXPECT_EQ(::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0), 3);
  probe.reset();
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(SystemComponentsTest, CtrlQReachesOnHotKeyUntilTheComponentLetsGo) {
  FixtureProcess fixture({"hidden|keys|VexlanKeys|keys"});
  std::vector<int> fired;
  auto hk = std::make_unique<TSysHotKey>(nullptr);
  hk->OnHotKey = [&](TObject*, int index) { fired.push_back(index); };
  hk->SetActive(true);
  ASSERT_TRUE(hk->AddHotKey(kQ, hmCtrl).Registered);
  EXPECT_THROW(fixture.Command(kFixtureTakesCtrlQ), FixtureError);

  PressKey('Q', {VK_CONTROL});
  EXPECT_TRUE(PumpUntil(*app_, [&] { return !fired.empty(); }, kPressTimeoutMs));
  EXPECT_EQ(fired, std::vector<int>{0});

  hk->SetActive(false);
  EXPECT_NO_THROW(fixture.Command(kFixtureTakesCtrlQ));
  fixture.Command(kFixtureReleasesCtrlQ);
  // Destroying an active component lets go as well.
  hk->SetActive(true);
  ASSERT_TRUE(hk->HotKeys(0).Registered);
  hk.reset();
  EXPECT_NO_THROW(fixture.Command(kFixtureTakesCtrlQ));
}

TEST_F(SystemComponentsTest, CtrlQHeldByAnotherProgramIsRefusedAndTriedAgainLater) {
  FixtureProcess fixture({"hidden|keys|VexlanKeys|keys"});
  fixture.Command(kFixtureTakesCtrlQ);
  TSysHotKey hk(nullptr);
  hk.SetActive(true);
  EXPECT_FALSE(hk.AddHotKey(kQ, hmCtrl).Registered);
  EXPECT_TRUE(hk.AddHotKey(kF13, hmCtrl | hmShift).Registered);
  EXPECT_TRUE(hk.Active());

  fixture.Command(kFixtureReleasesCtrlQ);
  hk.SetActive(false);
  hk.SetActive(true);
  EXPECT_TRUE(hk.HotKeys(0).Registered);
  EXPECT_TRUE(hk.HotKeys(1).Registered);
  hk.Loaded();  // tries again: what it holds it keeps, and lets go of when inactive
  hk.SetActive(false);
  EXPECT_NO_THROW(fixture.Command(kFixtureTakesCtrlQ));
}

// The fake table keeps a second registration under one window and id beside
// the first, as Windows documents; Wine 8 replaces the first.
TEST_F(SystemComponentsTest, ASecondRegistrationUnderOneIdReplacesTheFirstOnlyUnderWine) {
  TSysHotKey hk(nullptr);
  const HWND wnd = ToHwnd(hk.Handle());
  ASSERT_TRUE(::RegisterHotKey(wnd, 7, MOD_CONTROL | MOD_SHIFT, VK_F13));
  ASSERT_TRUE(::RegisterHotKey(wnd, 7, MOD_CONTROL | MOD_SHIFT, VK_F14));
  const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  EXPECT_EQ(::RegisterHotKey(nullptr, 8, MOD_CONTROL | MOD_SHIFT, VK_F13) != FALSE, wine);
  ::UnregisterHotKey(nullptr, 8);
  while (::UnregisterHotKey(wnd, 7)) {
  }
}

}  // namespace
}  // namespace vexlan
