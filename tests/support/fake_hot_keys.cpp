#include "tests/support/fake_hot_keys.h"

#include <algorithm>

namespace vexlan::testing {

std::optional<FakeHotKeyTable::Holder> FakeHotKeyTable::HolderOf(unsigned modifiers, unsigned virtual_key) const {
  for (const Held& h : held_) {
    // kModNoRepeat is how a holder wants it to fire, no part of the combination.
    if (((h.modifiers ^ modifiers) & ~kModNoRepeat) == 0 && h.virtual_key == virtual_key) return h.holder;
  }
  return std::nullopt;
}

int FakeHotKeyTable::HeldBy(WindowHandle wnd) const {
  return static_cast<int>(
      std::count_if(held_.begin(), held_.end(), [&](const Held& h) { return h.holder.wnd == wnd; }));
}

bool FakeHotKeyTable::RegisterHotKey(WindowHandle wnd, int id, unsigned modifiers, unsigned virtual_key) {
  const bool granted = !HolderOf(modifiers, virtual_key);
  if (granted) held_.push_back({modifiers, virtual_key, Holder{wnd, id}});
  calls.push_back({HotKeyCall::kRegister, wnd, id, modifiers, virtual_key, granted});
  return granted;
}

bool FakeHotKeyTable::UnregisterHotKey(WindowHandle wnd, int id) {
  const Holder holder{wnd, id};
  const auto oldest = std::find_if(held_.begin(), held_.end(), [&](const Held& h) { return h.holder == holder; });
  const bool released = oldest != held_.end();
  if (released) held_.erase(oldest);
  calls.push_back({HotKeyCall::kUnregister, wnd, id, 0, 0, released});
  return released;
}

std::optional<FakeHotKeyTable::Holder> PressHotKey(const FakeHotKeyTable& table, FakeMessageWindows& windows,
                                                   unsigned modifiers, unsigned virtual_key) {
  const auto holder = table.HolderOf(modifiers, virtual_key);
  if (holder && windows.Exists(holder->wnd)) {
    windows.Deliver(holder->wnd, msg::kHotKey, holder->id, static_cast<std::intptr_t>(virtual_key << 16 | modifiers));
  }
  return holder;
}

}  // namespace vexlan::testing
