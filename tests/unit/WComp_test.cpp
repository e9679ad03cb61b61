#include "components/WComp.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/fake_message_windows.h"

namespace vexlan {
namespace {

using testing::DefaultProcessed;
using testing::FakeMessageWindows;

constexpr unsigned kProbeMessage = 0x0401;
constexpr unsigned kOtherMessage = 0x0402;

// Handles kProbeMessage itself and records what its WndProc override sees.
class TProbeComponent : public TWindowedComponent {
 public:
  using TWindowedComponent::TWindowedComponent;
  std::vector<unsigned> seen;

  void WndProc(TMessage& message) override {
    seen.push_back(message.Msg);
    TWindowedComponent::WndProc(message);
  }

 protected:
  bool DispatchByNumber(TMessage& message) override {
    static const MessageHandler<TProbeComponent> table[] = {{kProbeMessage, &TProbeComponent::Probe}};
    return DispatchTable(*this, table, message) || TWindowedComponent::DispatchByNumber(message);
  }
  void Probe(TMessage& message) { message.Result = 42; }
};

class WindowedComponentTest : public ::testing::Test {
 protected:
  FakeMessageWindows windows;
  ScopedPlatform platform{PlatformContext{}.With(windows)};
};

TEST_F(WindowedComponentTest, NoWindowUntilHandleIsRead) {
  auto c = std::make_unique<TProbeComponent>(nullptr);
  c->BeginLoading();
  c->Loaded();
  // Without a window, a message nobody handles keeps its result.
  TMessage m{kOtherMessage, 0, 0, 7};
  c->Dispatch(m);
  EXPECT_EQ(m.Result, 7);
  c.reset();
  EXPECT_EQ(windows.creation_attempts, 0);
  EXPECT_TRUE(windows.destroyed.empty());
  EXPECT_TRUE(windows.default_processed.empty());
}

TEST_F(WindowedComponentTest, OneWindowFromFirstReadToDestruction) {
  auto c = std::make_unique<TProbeComponent>(nullptr);
  const WindowHandle wnd = c->Handle();
  EXPECT_NE(wnd, 0);
  EXPECT_EQ(c->Handle(), wnd);
  EXPECT_EQ(windows.creation_attempts, 1);
  c.reset();
  EXPECT_EQ(windows.destroyed, std::vector<WindowHandle>{wnd});
  // The window's last message took the default route to the system.
  EXPECT_EQ(windows.default_processed, (std::vector<DefaultProcessed>{{wnd, msg::kDestroy, 0, 0}}));
}

TEST_F(WindowedComponentTest, MessagesGoToTheirHandlerElseToDefaultProcessing) {
  struct Case {
    unsigned message;
    std::intptr_t result;
    bool default_processed;
  };
  const Case cases[] = {{kProbeMessage, 42, false}, {kOtherMessage, 1234, true}};
  windows.default_result = 1234;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TProbeComponent probe(nullptr);
    const WindowHandle wnd = probe.Handle();
    windows.default_processed.clear();
    EXPECT_EQ(windows.Deliver(wnd, c.message, 7, 9), c.result);
    EXPECT_EQ(probe.seen, std::vector<unsigned>{c.message});
    const std::vector<DefaultProcessed> expected{{wnd, c.message, 7, 9}};
    EXPECT_EQ(windows.default_processed, c.default_processed ? expected : std::vector<DefaultProcessed>{});
  }
}

TEST_F(WindowedComponentTest, AWindowThatCannotBeMadeIsTriedAgain) {
  auto c = std::make_unique<TProbeComponent>(nullptr);
  windows.fail_creation = true;
  EXPECT_EQ(c->Handle(), 0);
  EXPECT_FALSE(c->HandleAllocated());
  windows.fail_creation = false;
  const WindowHandle wnd = c->Handle();
  EXPECT_NE(wnd, 0);
  EXPECT_EQ(windows.creation_attempts, 2);
  c.reset();
  EXPECT_EQ(windows.destroyed, std::vector<WindowHandle>{wnd});
}

TEST_F(WindowedComponentTest, KeepsThePlatformItWasCreatedWith) {
  TProbeComponent probe(nullptr);
  FakeMessageWindows later;
  ScopedPlatform replaced(PlatformContext{}.With(later));
  EXPECT_TRUE(windows.Exists(probe.Handle()));
  EXPECT_EQ(later.creation_attempts, 0);
}

}  // namespace
}  // namespace vexlan
