// The desktop's hot-key table for native tests: every program's hot keys in
// one place, each combination held at most once.
#pragma once

#include <optional>
#include <vector>

#include "platform/platform_services.h"
#include "tests/support/fake_message_windows.h"

namespace vexlan::testing {

// A call made to the table, with its answer.
struct HotKeyCall {
  enum Kind { kRegister, kUnregister } kind;
  WindowHandle wnd;
  int id;
  unsigned modifiers = 0;    // kRegister only
  unsigned virtual_key = 0;  // kRegister only
  bool granted = false;
  bool operator==(const HotKeyCall&) const = default;
};

class FakeHotKeyTable : public HotKeyServices {
 public:
  struct Holder {
    WindowHandle wnd;
    int id;
    bool operator==(const Holder&) const = default;
  };

  std::vector<HotKeyCall> calls;

  // Who holds the combination now, if anyone.
  std::optional<Holder> HolderOf(unsigned modifiers, unsigned virtual_key) const;
  // How many combinations `wnd` holds.
  int HeldBy(WindowHandle wnd) const;

  // Refuses a combination that anyone holds, whatever the window and id (the
  // same window and id included), with kModNoRepeat or without, as the
  // system does. A granted one is kept beside whatever the window held under
  // that id already, as Windows documents ("it is maintained along with the
  // new hot key"; Wine 8 replaces it instead).
  bool RegisterHotKey(WindowHandle wnd, int id, unsigned modifiers, unsigned virtual_key) override;
  // Releases the oldest combination `wnd` holds under `id`.
  bool UnregisterHotKey(WindowHandle wnd, int id) override;

 private:
  struct Held {
    unsigned modifiers;
    unsigned virtual_key;
    Holder holder;
  };
  std::vector<Held> held_;
};

// The user presses a combination: its holder's window, if it is one of
// `windows`, receives WM_HOTKEY as the system posts it (wParam the id, lParam
// the modifiers and the key). Returns the holder, if any.
std::optional<FakeHotKeyTable::Holder> PressHotKey(const FakeHotKeyTable& table, FakeMessageWindows& windows,
                                                   unsigned modifiers, unsigned virtual_key);

}  // namespace vexlan::testing
