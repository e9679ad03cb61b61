// The platform's contract against the fake desktop: the same rows the Wine
// tests run against real windows.
#include "tests/support/platform_contract.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"

namespace vexlan::testing {
namespace {

class FakeContractDriver : public ContractDriver {
 public:
  WindowServices& Windows() override { return d_; }
  MessagePosting& Posting() override { return d_; }
  ShowHideServices& ShowHide() override { return d_; }
  WindowChangeServices& Changes() override { return d_; }
  WindowFactsServices& Facts() override { return d_; }
  WindowHandle Foreground() override { return d_.foreground; }
  std::int64_t NowMs() override { return d_.clock.now_ms; }
  // As the fixture makes its targets: an overlapped window, visible, 200 x 100.
  WindowHandle MakeTarget(const std::string& caption) override {
    const WindowHandle t = d_.Add(0, caption, "VexlanTarget");
    WindowRecord& f = d_.At(t).facts;
    f.style = 0x10CF0000;  // WS_OVERLAPPEDWINDOW | WS_VISIBLE
    f.rect = f.placement = {40, 40, 240, 140};
    return t;
  }
  WindowHandle MakeOwnWindow() override {
    const WindowHandle own = d_.Add(0, "", "VexlanOwn");
    d_.At(own).own_thread = true;
    return own;
  }
  void Stall(WindowHandle target, unsigned ms) override { d_.Stall(target, ms); }
  void SlowHandler(WindowHandle target, unsigned message, unsigned ms) override { d_.At(target).slow_ms[message] = ms; }
  void SendsBack(WindowHandle target, unsigned message, WindowHandle own, unsigned back) override {
    d_.At(target).sends_back = FakeDesktop::Window::SendBack{message, own, back};
  }
  void ExitsAfter(WindowHandle target, unsigned ms) override {
    d_.Stall(target, ms);
    d_.At(target).exits_at_ms = d_.clock.now_ms + ms;
  }
  void RefusesText(WindowHandle target) override { d_.At(target).refuses_text = true; }
  void Sleep(unsigned ms) override { d_.Sleep(ms); }
  void Pump() override { d_.Pump(); }
  void Drain(WindowHandle target) override { d_.Drain(target); }
  std::vector<unsigned> Handled(WindowHandle wnd) override {
    std::vector<unsigned> messages;
    for (const LoggedMessage& m : d_.Handled(wnd)) messages.push_back(m.message);
    return messages;
  }

 private:
  FakeDesktop d_;
};

VEXLAN_PLATFORM_CONTRACT_TESTS(PlatformContractOnTheFakes, FakeContractDriver);

}  // namespace
}  // namespace vexlan::testing
