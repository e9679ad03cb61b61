// Starts vexlan_fixture.exe, the foreign program the Wine tests and the
// benchmark look at, and talks to it.
//
// The fixture creates the windows its commands ask for; the command language
// and the output it answers with are described at the top of
// tests/win32/fixture/fixture_main.cpp. Commands here are UTF-8 strings, one
// command each, fields separated by '|'. Things worth knowing when writing a
// test against it:
//  - children are linked at the bottom of their siblings' Z order: GW_CHILD
//    gives the first child created, GW_HWNDNEXT the next ones in creation
//    order, the last one has no next sibling;
//  - an `edit` control keeps its content apart from the caption the system
//    stores; `type|NAME|TEXT` changes only the content. Wine's EDIT stores no
//    caption at all: GetWindowText from another process gives "";
//  - `top` windows are stacked as Wine likes (it raises an on-screen window
//    when X reports it exposed), so do not rely on their order; `bulk` chains
//    are stacked in creation order;
//  - a `hung` window's thread never answers again, so send it nothing without
//    a time-out;
//  - a `recorder` window's messages arrive here asynchronously; Sync() makes
//    sure that everything it recorded before the call has been collected.
//
// Every failure (the fixture not starting, not getting ready within
// kReadyTimeout, refusing a command, an unknown name) throws FixtureError with
// the fixture's recent output, which GoogleTest reports as a test failure.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/window_services.h"

namespace vexlan::testing {

class FixtureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What `bulk|PREFIX|COUNT|DEPTH` made: the top-level window of the first
// chain (the highest of the chains in Z order) and how many windows in all.
struct BulkWindows {
  HWND first = nullptr;
  int count = 0;
};

// One line a recorder reported: `message NAME 0xMSG WPARAM LPARAM[ TEXT]`.
struct RecordedMessage {
  unsigned message = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  std::string text;  // WM_SETTEXT only, unescaped
};

// Throws FixtureError for a line that is not a recorder's message line.
RecordedMessage ParseRecordedMessage(std::string_view line);

// The commands that make the fixture take Ctrl+Q under id 1 on its window
// `keys` (made by the test), and give it back.
inline constexpr char kFixtureTakesCtrlQ[] = "hotkey|keys|1|2|81";
inline constexpr char kFixtureReleasesCtrlQ[] = "unhotkey|keys|1";

class FixtureProcess {
 public:
  static constexpr std::chrono::milliseconds kReadyTimeout{30000};
  static constexpr std::chrono::milliseconds kCommandTimeout{30000};
  // How long the destructor lets the fixture end by itself after closing its
  // input, before terminating it.
  static constexpr std::chrono::milliseconds kExitWait{5000};
  // The exit code of a fixture that had to be terminated.
  static constexpr UINT kTerminatedExitCode = 0xDEAD;

  // Starts the fixture with `commands` on its command line (so they run before
  // `ready`) and waits until it is ready. The whole command line is limited to
  // the platform's 32767 units; anything bigger goes through Command().
  explicit FixtureProcess(const std::vector<std::string>& commands = {});
  // Closes the fixture's input, which ends it; terminates it when it is still
  // there after kExitWait. Never throws, never waits much longer than that.
  ~FixtureProcess();

  FixtureProcess(const FixtureProcess&) = delete;
  FixtureProcess& operator=(const FixtureProcess&) = delete;

  // The window reported under `name`. Throws FixtureError for an unknown name.
  HWND Handle(std::string_view name) const;
  WindowHandle Id(std::string_view name) const;

  // Sends one command and waits for its `ok`; throws FixtureError with the
  // fixture's reason on `error`, on time-out, or when the fixture has ended.
  // Safe to call from several threads: commands run one at a time.
  void Command(std::string_view line, std::chrono::milliseconds timeout = kCommandTimeout);
  // Command("ping"): once it returns, all output the fixture wrote before
  // handling it (recorded messages in particular) has been collected.
  void Sync();

  // Runs `bulk|PREFIX|COUNT|DEPTH` and returns what it made. Under Wine 8 on
  // Xvfb, 10,000 windows took about 23 s flat and 8 s at depth 5, so pass a
  // longer `timeout` for big ones; 20,000 in one process crashed wineserver.
  BulkWindows RunBulk(std::string_view prefix, int count, int depth,
                      std::chrono::milliseconds timeout = kCommandTimeout);
  // What the bulk command for `prefix` reported; throws when there was none.
  BulkWindows Bulk(std::string_view prefix) const;

  // The message lines the recorder `name` reported so far, oldest first.
  std::vector<std::string> MessagesFor(std::string_view name) const;
  // Waits until the recorder `name` has reported at least `count` messages or
  // `timeout` has passed, and returns what it has reported by then.
  std::vector<std::string> WaitForMessages(std::string_view name, std::size_t count,
                                           std::chrono::milliseconds timeout) const;

  DWORD ProcessId() const { return process_id_; }
  // The fixture's process handle, owned by this object; valid until it dies.
  HANDLE Process() const { return process_; }

 private:
  void Start(const std::vector<std::string>& commands);
  void WaitUntilReady();
  void ReadOutput();
  void ConsumeOutput(const char* data, std::size_t size);
  void HandleLine(std::string line);
  void Shutdown() noexcept;
  // The error text for `what`, with the fixture's latest output appended.
  // Call with `lock_` held.
  std::string Describe(std::string_view what) const;

  HANDLE process_ = nullptr;
  DWORD process_id_ = 0;
  HANDLE input_ = nullptr;       // the fixture's standard input, our end
  HANDLE output_ = nullptr;      // the fixture's standard output, our end (overlapped)
  HANDLE read_event_ = nullptr;  // completes reads on `output_`
  HANDLE stop_event_ = nullptr;  // tells the reader to give up
  std::thread reader_;
  std::string partial_line_;  // reader thread only

  std::mutex command_lock_;        // one command in flight at a time
  std::size_t commands_sent_ = 0;  // guarded by command_lock_
  mutable std::mutex lock_;        // guards everything below
  mutable std::condition_variable changed_;
  bool ready_ = false;
  bool ended_ = false;                // no more output will come
  std::vector<std::string> replies_;  // `ok` and `error ...` lines, in order
  std::map<std::string, HWND, std::less<>> windows_;
  std::map<std::string, BulkWindows, std::less<>> bulks_;
  std::map<std::string, std::vector<std::string>, std::less<>> messages_;
  std::deque<std::string> recent_;  // the latest lines of any kind, for error texts
};

}  // namespace vexlan::testing
