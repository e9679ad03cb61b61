#include "msglog/message_names.h"

#include <algorithm>

#include "msglog/message_name_list.h"
#include "platform/toolkit/sysutils.h"

namespace vexlan {

namespace {

#define VEXLAN_MESSAGE_ENTRY(name, value, group) MessageNameEntry{value, #name, MessageGroup::group},
#define VEXLAN_KEY_ENTRY(name, value) KeyName{value, #name},

constexpr MessageNameEntry kWindowNames[] = {VEXLAN_WINDOW_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kButtonNames[] = {VEXLAN_BUTTON_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kEditNames[] = {VEXLAN_EDIT_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kListBoxNames[] = {VEXLAN_LIST_BOX_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kComboBoxNames[] = {VEXLAN_COMBO_BOX_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kStaticNames[] = {VEXLAN_STATIC_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kScrollBarNames[] = {VEXLAN_SCROLL_BAR_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kTreeViewNames[] = {VEXLAN_TREE_VIEW_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kListViewNames[] = {VEXLAN_LIST_VIEW_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kTabNames[] = {VEXLAN_TAB_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kHeaderNames[] = {VEXLAN_HEADER_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kToolbarNames[] = {VEXLAN_TOOLBAR_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kStatusBarNames[] = {VEXLAN_STATUS_BAR_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kProgressNames[] = {VEXLAN_PROGRESS_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kTrackbarNames[] = {VEXLAN_TRACKBAR_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kUpDownNames[] = {VEXLAN_UP_DOWN_MESSAGES(VEXLAN_MESSAGE_ENTRY)};
constexpr MessageNameEntry kCommonControlNames[] = {VEXLAN_COMMON_CONTROL_MESSAGES(VEXLAN_MESSAGE_ENTRY)};

struct KeyName {
  std::uint32_t value;
  std::string_view name;
};
constexpr KeyName kKeyNames[] = {VEXLAN_VIRTUAL_KEYS(VEXLAN_KEY_ENTRY)};

#undef VEXLAN_MESSAGE_ENTRY
#undef VEXLAN_KEY_ENTRY

template <class T>
constexpr bool SortedByValue(std::span<const T> table) {
  for (std::size_t i = 1; i < table.size(); ++i) {
    if (table[i - 1].value >= table[i].value) return false;
  }
  return true;
}

// Lookups search by value: each list must be in order, one name a value.
static_assert(SortedByValue<MessageNameEntry>(kWindowNames) && SortedByValue<MessageNameEntry>(kButtonNames) &&
              SortedByValue<MessageNameEntry>(kEditNames) && SortedByValue<MessageNameEntry>(kListBoxNames) &&
              SortedByValue<MessageNameEntry>(kComboBoxNames) && SortedByValue<MessageNameEntry>(kStaticNames) &&
              SortedByValue<MessageNameEntry>(kScrollBarNames) && SortedByValue<MessageNameEntry>(kTreeViewNames) &&
              SortedByValue<MessageNameEntry>(kListViewNames) && SortedByValue<MessageNameEntry>(kTabNames) &&
              SortedByValue<MessageNameEntry>(kHeaderNames) && SortedByValue<MessageNameEntry>(kToolbarNames) &&
              SortedByValue<MessageNameEntry>(kStatusBarNames) && SortedByValue<MessageNameEntry>(kProgressNames) &&
              SortedByValue<MessageNameEntry>(kTrackbarNames) && SortedByValue<MessageNameEntry>(kUpDownNames) &&
              SortedByValue<MessageNameEntry>(kCommonControlNames) && SortedByValue<KeyName>(kKeyNames));

template <class T>
const T* FindValue(std::span<const T> table, std::uint32_t value) {
  const auto it =
      std::lower_bound(table.begin(), table.end(), value, [](const T& e, std::uint32_t v) { return e.value < v; });
  return it != table.end() && it->value == value ? &*it : nullptr;
}

struct ClassName {
  std::string_view name;  // lower case
  ControlClass cls;
};

constexpr ClassName kClassNames[] = {
    {"button", ControlClass::Button},
    {"edit", ControlClass::Edit},
    {"listbox", ControlClass::ListBox},
    {"combolbox", ControlClass::ListBox},
    {"combobox", ControlClass::ComboBox},
    {"static", ControlClass::Static},
    {"scrollbar", ControlClass::ScrollBar},
    {"systreeview32", ControlClass::TreeView},
    {"syslistview32", ControlClass::ListView},
    {"systabcontrol32", ControlClass::Tab},
    {"sysheader32", ControlClass::Header},
    {"toolbarwindow32", ControlClass::Toolbar},
    {"msctls_statusbar32", ControlClass::StatusBar},
    {"msctls_progress32", ControlClass::Progress},
    {"msctls_trackbar32", ControlClass::Trackbar},
    {"msctls_updown32", ControlClass::UpDown},
};

constexpr std::uint32_t kWmUser = 0x0400;
constexpr std::uint32_t kWmApp = 0x8000;

bool IsCommonControl(ControlClass cls) { return cls >= ControlClass::TreeView; }

const MessageNameEntry* FindControlMessage(std::uint32_t msg, ControlClass cls) {
  if (cls == ControlClass::None) return nullptr;
  if (const MessageNameEntry* own = FindValue(ControlMessageNames(cls), msg)) return own;
  return IsCommonControl(cls) ? FindValue(CommonControlMessageNames(), msg) : nullptr;
}

}  // namespace

ControlClass ControlClassOf(std::string_view class_name) {
  const std::string lower = StrLower(class_name);
  for (const ClassName& c : kClassNames) {
    if (c.name == lower) return c.cls;
  }
  return ControlClass::None;
}

std::span<const MessageNameEntry> ControlMessageNames(ControlClass cls) {
  switch (cls) {
    case ControlClass::None: return kWindowNames;
    case ControlClass::Button: return kButtonNames;
    case ControlClass::Edit: return kEditNames;
    case ControlClass::ListBox: return kListBoxNames;
    case ControlClass::ComboBox: return kComboBoxNames;
    case ControlClass::Static: return kStaticNames;
    case ControlClass::ScrollBar: return kScrollBarNames;
    case ControlClass::TreeView: return kTreeViewNames;
    case ControlClass::ListView: return kListViewNames;
    case ControlClass::Tab: return kTabNames;
    case ControlClass::Header: return kHeaderNames;
    case ControlClass::Toolbar: return kToolbarNames;
    case ControlClass::StatusBar: return kStatusBarNames;
    case ControlClass::Progress: return kProgressNames;
    case ControlClass::Trackbar: return kTrackbarNames;
    case ControlClass::UpDown: return kUpDownNames;
  }
  return {};
}

std::span<const MessageNameEntry> CommonControlMessageNames() { return kCommonControlNames; }

std::string MessageName(std::uint32_t msg, ControlClass cls, std::optional<std::string_view> registered) {
  if (const MessageNameEntry* own = FindControlMessage(msg, cls)) return std::string(own->name);
  if (msg < kWmUser) {
    if (const MessageNameEntry* system = FindValue<MessageNameEntry>(kWindowNames, msg)) {
      return std::string(system->name);
    }
  } else if (msg < kWmApp) {
    return "WM_USER+" + IntToStr(msg - kWmUser);
  } else if (msg < kFirstRegisteredMessage) {
    return "WM_APP+" + IntToStr(msg - kWmApp);
  } else if (msg <= kLastRegisteredMessage && registered && !registered->empty()) {
    return std::string(*registered);
  }
  return "0x" + IntToHex(static_cast<std::int64_t>(msg), 4);
}

MessageGroup MessageGroupOf(std::uint32_t msg, ControlClass cls) {
  if (FindControlMessage(msg, cls)) return MessageGroup::Other;
  if (const MessageNameEntry* system = FindValue<MessageNameEntry>(kWindowNames, msg)) return system->group;
  return MessageGroup::Other;
}

std::string VirtualKeyName(std::uint32_t vk) {
  // Letters and digits are their own characters; the headers name neither.
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
  if (const KeyName* key = FindValue<KeyName>(kKeyNames, vk)) return std::string(key->name);
  return "0x" + IntToHex(static_cast<std::int64_t>(vk), 2);
}

}  // namespace vexlan
