// One message log: a watched window, the ring its hooks write to and the
// hooks themselves (see msglog/message_ring.h and hook/hook_dll.cpp).
//
// Starting a log makes the ring (shared memory named for the window's
// thread and a free hook slot), then sets the slot's three hooks on the
// window's thread only, never on every thread: from Vexlan itself when the
// window's program has Vexlan's bitness, through the 32-bit helper
// (hook/hook_host.cpp) when a 64-bit Vexlan watches a 32-bit program. The
// DLL is the one Vexlan carries, checked just before (HookFiles) and held
// open against writing while the hooks use it. Whatever keeps a log from
// starting is told as a WatchError, and then nothing is hooked.
//
// Stopping a log (Stop, or its destruction) removes the hooks, takes what
// they wrote until then and closes the ring. When Vexlan ends in any way,
// the system removes its hooks with it, and the helper, which watches
// Vexlan's process, ends and takes its hooks along.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "msglog/message_store.h"
#include "msglog/ring_reader.h"
#include "msglog/watch_failures.h"
#include "msglog/win32/hook_files.h"
#include "platform/toolkit/win32/handles.h"

namespace vexlan {

class MessageLog {
 public:
  // Slots per ring: records the target may write between two drains before
  // it loses any.
  static constexpr std::uint32_t kRingCapacity = 1u << 15;

  struct Options {
    bool children = false;
    // Sets the hooks through this helper program with the DLL of Vexlan's
    // own bitness, whatever the target's bitness (how the tests run the
    // helper's road; the program never sets it).
    std::optional<std::wstring> helper;
  };

  static std::variant<std::unique_ptr<MessageLog>, WatchError> Start(HookFiles& files, HWND target,
                                                                      const Options& options);
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  HWND Target() const { return target_; }
  bool Running() const { return running_; }
  // The times of this log's records: counted from its start.
  LogClock Clock() const { return clock_; }
  // Records written since the last drain, at most one ring's worth.
  std::size_t Drain(std::vector<MessageRecord>& out);
  // Records lost so far: the ring was full, or a record was not sound.
  std::uint64_t Lost() const { return reader_->Lost(); }
  // Whether the window's descendants are watched too; takes effect at once.
  void SetChildren(bool on);
  // Removes the hooks, drains what they wrote until then into `out` and
  // closes the ring. Once stopped, a log takes nothing more.
  void Stop(std::vector<MessageRecord>& out);

 private:
  MessageLog() = default;
  std::optional<WatchError> HookOwn(const std::wstring& dll, int slot);
  std::optional<WatchError> HookThroughHelper(const std::wstring& host, const std::wstring& dll, int slot);
  void Unhook();

  HWND target_ = nullptr;
  DWORD thread_ = 0;
  bool running_ = false;
  LogClock clock_;
  UniqueKernelHandle mapping_;
  void* view_ = nullptr;
  std::unique_ptr<RingReader> reader_;
  std::vector<std::shared_ptr<const HeldFile>> files_;
  HHOOK hooks_[3] = {};
  // The helper, when it holds the hooks: its process and our end of its
  // standard input, whose closing tells it to end.
  UniqueKernelHandle helper_;
  UniqueKernelHandle helper_input_;
};

// What the system knows of the windows and messages a log meets: a window's
// class by GetClassName, a registered message's name from the atom table
// it was registered in. Neither sends the window anything.
class SystemLogNamer : public LogNamer {
 public:
  ControlClass ClassOf(std::uint32_t hwnd) override;
  std::string RegisteredName(std::uint32_t msg) override;
};

}  // namespace vexlan
