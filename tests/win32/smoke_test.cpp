#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_window_services.h"
#include "winutil/ExtCntrlsUtils.h"

namespace vexlan {
namespace {

TEST(Win32Smoke, OwnWindowCaptionReadsBack) {
  HWND w = CreateWindowExW(0, L"STATIC", L"Grüße 🙂", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetWindowCaption(SystemWindowServices(), FromHwnd(w)), "Grüße 🙂");
  DestroyWindow(w);
}

}  // namespace
}  // namespace vexlan
