#include "components/SysHot.h"

namespace vexlan {

TSysHotKey::TSysHotKey(TComponent* owner) : TWindowedComponent(owner) {}

TSysHotKey::~TSysHotKey() {
  SetActive(false);
  ClearHotKeys();
}

void TSysHotKey::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (active_) {
    RegisterAll();
  } else {
    UnregisterAll();
  }
}

THotKeyEntry TSysHotKey::AddHotKey(THotKeyCode key, THotKeyModifiers modifiers) {
  entries_.push_back(THotKeyEntry{modifiers, key, false});
  const int index = HotKeyCount() - 1;
  if (active_) RegisterEntry(index);
  return HotKeys(index);
}

void TSysHotKey::ClearHotKeys() {
  if (active_) UnregisterAll();
  entries_.clear();
}

void TSysHotKey::RegisterEntry(int index) {
  THotKeyEntry& entry = Entry(index);
  // Asked again, the system would refuse the combination it already holds
  // for this very entry, and the entry would read unregistered while the
  // system keeps it: never released, and still firing.
  if (entry.Registered) return;
  // A key outside the table has no virtual-key code.
  if (entry.Key >= HotKeyVirtualKeys.size()) return;
  // Without a window the system would make a thread hot key instead: one
  // that never reaches WMHotKey and that UnregisterEntry cannot release.
  const WindowHandle wnd = Handle();
  if (wnd == 0) return;
  // One press is one event: a held combination does not fire again and again.
  const unsigned flags = ModifiersToFlags(entry.Modifiers) | kModNoRepeat;
  entry.Registered = Services().HotKeys().RegisterHotKey(wnd, index, flags, HotKeyVirtualKeys[entry.Key]);
}

void TSysHotKey::UnregisterEntry(int index) {
  THotKeyEntry& entry = Entry(index);
  if (!entry.Registered) return;
  Services().HotKeys().UnregisterHotKey(Handle(), index);
  entry.Registered = false;
}

void TSysHotKey::RegisterAll() {
  for (int i = 0; i < HotKeyCount(); ++i) RegisterEntry(i);
}

void TSysHotKey::UnregisterAll() {
  for (int i = 0; i < HotKeyCount(); ++i) UnregisterEntry(i);
}

void TSysHotKey::Loaded() {
  TWindowedComponent::Loaded();
  if (active_) RegisterAll();
}

bool TSysHotKey::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TSysHotKey> table[] = {{msg::kHotKey, &TSysHotKey::WMHotKey},
                                                     {msg::kDestroy, &TSysHotKey::WMDestroy}};
  return DispatchTable(*this, table, message) || TWindowedComponent::DispatchByNumber(message);
}

void TSysHotKey::WMHotKey(TMessage& message) {
  // Any program can post WM_HOTKEY to any window: only an id this component
  // holds is a press.
  const auto id = static_cast<std::uintptr_t>(message.WParam);
  if (id >= entries_.size() || !entries_[id].Registered) return;
  if (OnHotKey) OnHotKey(this, static_cast<int>(id));
}

void TSysHotKey::WMDestroy(TMessage& message) {
  SetActive(false);
  if (!TWindowedComponent::DispatchByNumber(message)) DefaultHandler(message);
}

}  // namespace vexlan
