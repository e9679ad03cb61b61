#include "msglog/message_names.h"

#include <gtest/gtest.h>

namespace vexlan {
namespace {

// A message's name, by the class of the window, then the ranges, and the
// group the Messages window filters it by.
TEST(MessageName, ByTheClassOfTheWindowThenTheRangesAndItsGroup) {
  using G = MessageGroup;
  struct Case {
    std::uint32_t msg;
    ControlClass cls;
    std::optional<std::string_view> registered;
    const char* expected;
    MessageGroup group = G::Other;
  };
  const Case cases[] = {
      {0x0000, ControlClass::None, {}, "WM_NULL"},
      {0x000C, ControlClass::Edit, {}, "WM_SETTEXT"},
      {0x001A, ControlClass::None, {}, "WM_SETTINGCHANGE"},
      {0x0109, ControlClass::None, {}, "WM_UNICHAR", G::Keyboard},
      {0x0200, ControlClass::None, {}, "WM_MOUSEMOVE", G::Mouse},
      {0x00A1, ControlClass::None, {}, "WM_NCLBUTTONDOWN", G::Mouse},
      {0x0020, ControlClass::Edit, {}, "WM_SETCURSOR", G::Mouse},
      {0x0100, ControlClass::None, {}, "WM_KEYDOWN", G::Keyboard},
      {0x0007, ControlClass::None, {}, "WM_SETFOCUS", G::Keyboard},
      {0x000F, ControlClass::None, {}, "WM_PAINT", G::Painting},
      {0x0085, ControlClass::None, {}, "WM_NCPAINT", G::Painting},
      {0x0047, ControlClass::None, {}, "WM_WINDOWPOSCHANGED", G::Windows},
      {0x0010, ControlClass::None, {}, "WM_CLOSE", G::Windows},
      // Control messages below WM_USER belong to their class only.
      {0x00F5, ControlClass::Button, {}, "BM_CLICK"},
      {0x00F5, ControlClass::None, {}, "0x00F5"},
      {0x00C2, ControlClass::Edit, {}, "EM_REPLACESEL"},
      {0x0180, ControlClass::ListBox, {}, "LB_ADDSTRING"},
      {0x0143, ControlClass::ComboBox, {}, "CB_ADDSTRING"},
      {0x0172, ControlClass::Static, {}, "STM_SETIMAGE"},
      {0x00E9, ControlClass::ScrollBar, {}, "SBM_SETSCROLLINFO"},
      {0x1601, ControlClass::Button, {}, "BCM_GETIDEALSIZE"},
      // One number, four classes, four names; none for a plain window.
      {0x0401, ControlClass::Toolbar, {}, "TB_ENABLEBUTTON"},
      {0x0401, ControlClass::StatusBar, {}, "SB_SETTEXTA"},
      {0x0401, ControlClass::Progress, {}, "PBM_SETRANGE"},
      {0x0401, ControlClass::Trackbar, {}, "TBM_GETRANGEMIN"},
      {0x0401, ControlClass::None, {}, "WM_USER+1"},
      {0x1100, ControlClass::TreeView, {}, "TVM_INSERTITEMA"},
      {0x1132, ControlClass::TreeView, {}, "TVM_INSERTITEMW"},
      {0x104B, ControlClass::ListView, {}, "LVM_GETITEMW"},
      {0x133E, ControlClass::Tab, {}, "TCM_INSERTITEMW"},
      {0x1205, ControlClass::Header, {}, "HDM_LAYOUT"},
      {0x046F, ControlClass::UpDown, {}, "UDM_SETRANGE32"},
      // The messages every common control takes, and only they.
      {0x2005, ControlClass::ListView, {}, "CCM_SETUNICODEFORMAT"},
      {0x2005, ControlClass::Button, {}, "WM_USER+7173"},
      {0x8005, ControlClass::None, {}, "WM_APP+5"},
      {0xBFFF, ControlClass::None, {}, "WM_APP+16383"},
      {0xC123, ControlClass::None, "TaskbarCreated", "TaskbarCreated"},
      {0xC123, ControlClass::None, "", "0xC123"},
      {0xC123, ControlClass::None, {}, "0xC123"},
      {0x10000, ControlClass::None, "NotRegistered", "0x10000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(MessageName(c.msg, c.cls, c.registered), c.expected);
    EXPECT_EQ(MessageGroupOf(c.msg, c.cls), c.group);
  }
}

TEST(MessageName, ClassesAndKeys) {
  EXPECT_EQ(ControlClassOf("BUTTON"), ControlClass::Button);
  EXPECT_EQ(ControlClassOf("syslistview32"), ControlClass::ListView);
  EXPECT_EQ(ControlClassOf("ComboLBox"), ControlClass::ListBox);
  EXPECT_EQ(ControlClassOf("ButtonEx"), ControlClass::None);

  const std::pair<std::uint32_t, const char*> keys[] = {
      {0x0D, "VK_RETURN"}, {'A', "A"}, {'7', "7"}, {0x74, "VK_F5"}, {0xA2, "VK_LCONTROL"}, {0xE8, "0xE8"}};
  for (const auto& [vk, name] : keys) EXPECT_EQ(VirtualKeyName(vk), name);
}

}  // namespace
}  // namespace vexlan
