// What a logged message is called and which filter group it falls in.
//
// A message's name depends on the window it went to: below WM_USER a
// message is the system's (WM_ names), except for the ranges the standard
// controls use for their own (BM_, EM_, LB_, CB_, STM_, SBM_); from WM_USER
// on, a common control's messages (TVM_, LVM_, TB_, SB_...) are named by the
// control's class. Registered messages (0xC000 to 0xFFFF) go by the name
// they were registered under. Anything else is WM_USER+n, WM_APP+n or its
// number.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vexlan {

// The filter groups of the Messages window.
enum class MessageGroup : std::uint8_t { Mouse, Keyboard, Painting, Windows, Other };
inline constexpr int kMessageGroupCount = 5;

// The window classes whose own messages have names.
enum class ControlClass : std::uint8_t {
  None,
  Button,
  Edit,
  ListBox,
  ComboBox,
  Static,
  ScrollBar,
  TreeView,
  ListView,
  Tab,
  Header,
  Toolbar,
  StatusBar,
  Progress,
  Trackbar,
  UpDown,
};

struct MessageNameEntry {
  std::uint32_t value = 0;
  std::string_view name{};
  MessageGroup group = MessageGroup::Other;
};

// The class a window of `class_name` belongs to, compared as the system
// compares class names (ignoring the case of A-Z); None for any other. The
// list box of a combo box ("ComboLBox") is a list box.
ControlClass ControlClassOf(std::string_view class_name);

// The names of `cls`'s own messages (WM_ names for None), sorted by value.
std::span<const MessageNameEntry> ControlMessageNames(ControlClass cls);
// The messages every common control takes (CCM_), sorted by value.
std::span<const MessageNameEntry> CommonControlMessageNames();

// The name of message `msg` sent or posted to a window of class `cls`.
// `registered` is the name the system registered a message of 0xC000 to
// 0xFFFF under, when it knows one.
std::string MessageName(std::uint32_t msg, ControlClass cls, std::optional<std::string_view> registered = {});

// The filter group of `msg` to a window of `cls`: a control's own messages
// are Other.
MessageGroup MessageGroupOf(std::uint32_t msg, ControlClass cls);

// "VK_RETURN", "A", "7", "VK_F5"... for a virtual-key code; its number
// ("0xE8") when it has no name.
std::string VirtualKeyName(std::uint32_t vk);

// Registered messages: what RegisterWindowMessage hands out.
inline constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr std::uint32_t kLastRegisteredMessage = 0xFFFF;

}  // namespace vexlan
