// TSysHotKey: system-wide hot keys held while the component is active, each
// press reported by OnHotKey with the index of its entry.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "components/WComp.h"
#include "platform/toolkit/events.h"
#include "platform/toolkit/layout.h"

namespace vexlan {

// A set of modifier keys: hmShift, hmCtrl, hmAlt, hmWin in the low four bits
// of a byte; combine them with |. The bits are not the system's flags (see
// ModifiersToFlags).
enum class THotKeyModifiers : std::uint8_t {};
inline constexpr THotKeyModifiers hmShift{1};
inline constexpr THotKeyModifiers hmCtrl{2};
inline constexpr THotKeyModifiers hmAlt{4};
inline constexpr THotKeyModifiers hmWin{8};
constexpr THotKeyModifiers operator|(THotKeyModifiers a, THotKeyModifiers b) {
  return THotKeyModifiers(static_cast<std::uint8_t>(static_cast<unsigned>(a) | static_cast<unsigned>(b)));
}
constexpr bool Contains(THotKeyModifiers set, THotKeyModifiers element) {
  return (static_cast<unsigned>(set) & static_cast<unsigned>(element)) != 0;
}

// The system's modifier flags for `modifiers`, element by element; bits 4 to
// 7 of the set are ignored.
constexpr unsigned ModifiersToFlags(THotKeyModifiers modifiers) {
  return (Contains(modifiers, hmShift) ? kModShift : 0u) | (Contains(modifiers, hmCtrl) ? kModControl : 0u) |
         (Contains(modifiers, hmAlt) ? kModAlt : 0u) | (Contains(modifiers, hmWin) ? kModWin : 0u);
}

// A key that can be a hot key: an index into HotKeyVirtualKeys. A byte holds
// values past the table; those keys are refused.
using THotKeyCode = std::uint8_t;
inline constexpr std::size_t kHotKeyCodeCount = 102;

// The virtual-key code of each THotKeyCode (Q, code 50, is 81).
inline constexpr std::array<std::uint32_t, kHotKeyCodeCount> HotKeyVirtualKeys = {
    0,   3,   8,   9,   12,  13,  19,  20,  27,                              // none, cancel .. escape
    32,  33,  34,  35,  36,  37,  38,  39,  40,  41,                         // space .. select
    43,  44,  45,  46,  47,                                                  // execute .. help
    48,  49,  50,  51,  52,  53,  54,  55,  56,  57,                         // digits 0 to 9
    65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77, 78, 79,  // A to O
    80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,                    // P to Z
    96,  97,  98,  99,  100, 101, 102, 103, 104, 105,                        // numeric pad 0 to 9
    106, 107, 108, 109, 110, 111,                                            // multiply .. divide
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,              // F1 to F12
    124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135,              // F13 to F24
    144, 145,                                                                // num lock, scroll lock
};

// One hot key. Its index in the component's list is its identity: the id
// given to the system and the Index that OnHotKey reports.
struct THotKeyEntry {
  THotKeyModifiers Modifiers{};
  THotKeyCode Key = 0;
  // True while the system holds the combination for this entry.
  bool Registered = false;
  friend bool operator==(const THotKeyEntry&, const THotKeyEntry&) = default;
};

// A combination the system refuses (held by this or any other program, or a
// key outside the table, or no window to receive it) is no error: its entry
// reads Registered = false, never fires, and is tried again at the next
// activation; the component stays active.
class TSysHotKey : public TWindowedComponent {
 public:
  explicit TSysHotKey(TComponent* owner);
  // Inactive first, so every registration is released while the window
  // still exists.
  ~TSysHotKey() override;

  std::string ClassName() const override { return "TSysHotKey"; }

  bool Active() const { return active_; }
  // Registers every entry on becoming active, releases them on becoming
  // inactive; setting the current value does nothing. Loading or not makes
  // no difference.
  void SetActive(bool value);
  // Sender is the component, Index the entry that fired.
  THotKeyEvent OnHotKey;

  // Appends an entry (duplicates too) and, while active, tries it at once.
  // Returns the entry as it is after that.
  THotKeyEntry AddHotKey(THotKeyCode key, THotKeyModifiers modifiers);
  // Releases every entry (while active) and removes them all; Active stays.
  void ClearHotKeys();
  int HotKeyCount() const { return static_cast<int>(entries_.size()); }
  const THotKeyEntry& HotKeys(int index) const { return entries_.at(static_cast<std::size_t>(index)); }

  // Asks the system for entry `index` and records the answer; an entry the
  // system holds already is left as it is. Makes the window on first use.
  void RegisterEntry(int index);
  // Releases entry `index` if it is registered; otherwise asks nothing.
  void UnregisterEntry(int index);
  void RegisterAll();
  void UnregisterAll();

  // After loading: an active component tries all its entries.
  void Loaded() override;

 protected:
  bool DispatchByNumber(TMessage& message) override;
  // WM_HOTKEY: OnHotKey with wParam, the entry's id, when it names an entry
  // the system holds for this component; anything else is ignored. Not
  // passed on to default processing.
  void WMHotKey(TMessage& message);
  // WM_DESTROY: inactive, then the inherited handling.
  void WMDestroy(TMessage& message);

 private:
  THotKeyEntry& Entry(int index) { return entries_.at(static_cast<std::size_t>(index)); }

  bool active_ = false;
  std::vector<THotKeyEntry> entries_;
};

// What a layout stores for a TSysHotKey: Active is always stored.
struct SysHotKeySettings {
  static constexpr LayoutRole kRole = LayoutRole::NonVisual;
  bool Active = false;
  std::string_view OnHotKey{};
};

template <>
struct LayoutWriter<SysHotKeySettings> {
  using Component = TSysHotKey;
  static void Write(TSysHotKey& component, const SysHotKeySettings& s, LayoutContext& context) {
    component.SetActive(s.Active);
    component.OnHotKey = context.Bind<THotKeyEvent>(s.OnHotKey);
  }
};

}  // namespace vexlan
