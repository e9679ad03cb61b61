// The platform's contract against real windows: the rows of
// tests/support/platform_contract.h, each target a window of a thread of
// its own in the fixture process, sent to through user32 as the program
// sends.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_services.h"
#include "tests/support/platform_contract.h"
#include "tests/win32/support/fixture_process.h"

namespace vexlan::testing {
namespace {

// What our own windows of the rows have handled, by window.
std::map<HWND, std::vector<unsigned>>& OwnLogs() {
  static std::map<HWND, std::vector<unsigned>> logs;
  return logs;
}

LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kProbe || message == kProbeAgain) OwnLogs()[hwnd].push_back(message);
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

class Win32ContractDriver : public ContractDriver {
 public:
  ~Win32ContractDriver() override {
    for (HWND own : own_) {
      ::DestroyWindow(own);
      OwnLogs().erase(own);
    }
  }
  WindowServices& Windows() override { return SystemWindowServices(); }
  MessagePosting& Posting() override { return SystemPlatform().Posting(); }
  ShowHideServices& ShowHide() override { return SystemPlatform().ShowHide(); }
  WindowChangeServices& Changes() override { return SystemPlatform().Changes(); }
  WindowFactsServices& Facts() override { return SystemPlatform().WindowFacts(); }
  WindowHandle Foreground() override { return FromHwnd(::GetForegroundWindow()); }
  std::int64_t NowMs() override { return SteadyClock().NowMs(); }
  WindowHandle MakeTarget(const std::string& caption) override {
    const std::string name = "t" + std::to_string(names_.size());
    fixture_.Command("target|" + name + "|" + caption);
    names_[fixture_.Id(name)] = name;
    return fixture_.Id(name);
  }
  WindowHandle MakeOwnWindow() override {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = OwnWindowProc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"VexlanContractOwn";
      return ::RegisterClassW(&wc);
    }();
    const HWND own = ::CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
    own_.push_back(own);
    OwnLogs()[own];
    return FromHwnd(own);
  }
  void Stall(WindowHandle target, unsigned ms) override { Steer("stall", target, std::to_string(ms)); }
  void SlowHandler(WindowHandle target, unsigned message, unsigned ms) override {
    Steer("slow", target, std::to_string(message) + "|" + std::to_string(ms));
  }
  void SendsBack(WindowHandle target, unsigned message, WindowHandle own, unsigned back) override {
    Steer("sendback", target, std::to_string(message) + "|" + std::to_string(own) + "|" + std::to_string(back));
  }
  void ExitsAfter(WindowHandle target, unsigned ms) override { Steer("exitafter", target, std::to_string(ms)); }
  void RefusesText(WindowHandle target) override { fixture_.Command("refusetext|" + names_.at(target)); }
  void Sleep(unsigned ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  void Pump() override {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&m);
  }
  void Drain(WindowHandle target) override {
    if (::IsWindow(ToHwnd(target))) fixture_.Command("drain|" + names_.at(target), std::chrono::seconds(70));
  }
  std::vector<unsigned> Handled(WindowHandle wnd) override {
    if (const auto own = OwnLogs().find(ToHwnd(wnd)); own != OwnLogs().end()) return own->second;
    fixture_.Sync();
    std::vector<unsigned> messages;
    for (const std::string& line : fixture_.MessagesFor(names_.at(wnd))) {
      messages.push_back(ParseRecordedMessage(line).message);
    }
    return messages;
  }

 private:
  void Steer(const char* verb, WindowHandle target, const std::string& rest) {
    fixture_.Command(std::string(verb) + "|" + names_.at(target) + "|" + rest, std::chrono::seconds(70));
  }

  FixtureProcess fixture_;
  std::map<WindowHandle, std::string> names_;
  std::vector<HWND> own_;
};

VEXLAN_PLATFORM_CONTRACT_TESTS(PlatformContractUnderWine, Win32ContractDriver);

}  // namespace
}  // namespace vexlan::testing
