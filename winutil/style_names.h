// The names Windows programmers give the bits of a window's styles, as
// tables, and the decoding of a style value into them.
//
// A table lists its names from the highest bits to the lowest; a value is
// described by the names of every entry it holds, in table order. An entry
// is a flag (its mask is its value) or one value of a field several bits
// wide, 0 included (a button's type: BS_PUSHBUTTON is 0 in the low four
// bits). The first entry that explains some bits claims them: a later entry
// over any of the same bits is left out, so WS_CAPTION, listed before
// WS_BORDER and WS_DLGFRAME, stands alone for both of its bits.
//
// The values are the system headers'; the Win32 build checks every one of
// them against <windows.h> at compile time (winutil/win32/style_names_check.cpp).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vexlan {

// Which windows an entry speaks for: two bits of the window style mean one
// thing for a child window (WS_CHILD) and another for any other.
enum class StyleScope : std::uint8_t { Any, Child, TopLevel };

struct StyleName {
  std::uint32_t mask = 0;
  std::uint32_t value = 0;
  std::string_view name{};
  StyleScope scope = StyleScope::Any;
  // The entry speaks only for a value whose `when_mask` bits are
  // `when_value`: a control's bit may mean one thing in one orientation and
  // another in the other (a vertical tab control's TCS_RIGHT is a horizontal
  // one's TCS_BOTTOM).
  std::uint32_t when_mask = 0;
  std::uint32_t when_value = 0;
};

// The fields of the value-coded names.
inline constexpr std::uint32_t kWindowKindMask = 0xC0000000;   // WS_POPUP | WS_CHILD
inline constexpr std::uint32_t kButtonTypeMask = 0x0000000F;   // BS_TYPEMASK
inline constexpr std::uint32_t kButtonHorzMask = 0x00000300;   // BS_LEFT | BS_RIGHT
inline constexpr std::uint32_t kButtonVertMask = 0x00000C00;   // BS_TOP | BS_BOTTOM
inline constexpr std::uint32_t kEditAlignMask = 0x00000003;    // ES_CENTER | ES_RIGHT
inline constexpr std::uint32_t kStaticTypeMask = 0x0000001F;   // SS_TYPEMASK
inline constexpr std::uint32_t kStaticEllipsisMask = 0x0000C000;  // SS_ELLIPSISMASK

namespace style_names_detail {
constexpr StyleName Flag(std::uint32_t bits, std::string_view name, StyleScope scope = StyleScope::Any) {
  return {bits, bits, name, scope};
}
constexpr StyleName Field(std::uint32_t mask, std::uint32_t value, std::string_view name) {
  return {mask, value, name, StyleScope::Any};
}
constexpr StyleName When(std::uint32_t when_mask, std::uint32_t when_value, StyleName entry) {
  entry.when_mask = when_mask;
  entry.when_value = when_value;
  return entry;
}
}  // namespace style_names_detail

using style_names_detail::Field;
using style_names_detail::Flag;
using style_names_detail::When;

inline constexpr StyleName kWindowStyleNames[] = {
    Field(kWindowKindMask, 0x00000000, "WS_OVERLAPPED"),
    Flag(0x80000000, "WS_POPUP"),
    Flag(0x40000000, "WS_CHILD"),
    Flag(0x20000000, "WS_MINIMIZE"),
    Flag(0x10000000, "WS_VISIBLE"),
    Flag(0x08000000, "WS_DISABLED"),
    Flag(0x04000000, "WS_CLIPSIBLINGS"),
    Flag(0x02000000, "WS_CLIPCHILDREN"),
    Flag(0x01000000, "WS_MAXIMIZE"),
    Flag(0x00C00000, "WS_CAPTION"),
    Flag(0x00800000, "WS_BORDER"),
    Flag(0x00400000, "WS_DLGFRAME"),
    Flag(0x00200000, "WS_VSCROLL"),
    Flag(0x00100000, "WS_HSCROLL"),
    Flag(0x00080000, "WS_SYSMENU"),
    Flag(0x00040000, "WS_THICKFRAME"),
    Flag(0x00020000, "WS_GROUP", StyleScope::Child),
    Flag(0x00020000, "WS_MINIMIZEBOX", StyleScope::TopLevel),
    Flag(0x00010000, "WS_TABSTOP", StyleScope::Child),
    Flag(0x00010000, "WS_MAXIMIZEBOX", StyleScope::TopLevel),
};

inline constexpr StyleName kExtendedStyleNames[] = {
    Flag(0x08000000, "WS_EX_NOACTIVATE"),
    Flag(0x02000000, "WS_EX_COMPOSITED"),
    Flag(0x00400000, "WS_EX_LAYOUTRTL"),
    Flag(0x00200000, "WS_EX_NOREDIRECTIONBITMAP"),
    Flag(0x00100000, "WS_EX_NOINHERITLAYOUT"),
    Flag(0x00080000, "WS_EX_LAYERED"),
    Flag(0x00040000, "WS_EX_APPWINDOW"),
    Flag(0x00020000, "WS_EX_STATICEDGE"),
    Flag(0x00010000, "WS_EX_CONTROLPARENT"),
    Flag(0x00004000, "WS_EX_LEFTSCROLLBAR"),
    Flag(0x00002000, "WS_EX_RTLREADING"),
    Flag(0x00001000, "WS_EX_RIGHT"),
    Flag(0x00000400, "WS_EX_CONTEXTHELP"),
    Flag(0x00000200, "WS_EX_CLIENTEDGE"),
    Flag(0x00000100, "WS_EX_WINDOWEDGE"),
    Flag(0x00000080, "WS_EX_TOOLWINDOW"),
    Flag(0x00000040, "WS_EX_MDICHILD"),
    Flag(0x00000020, "WS_EX_TRANSPARENT"),
    Flag(0x00000010, "WS_EX_ACCEPTFILES"),
    Flag(0x00000008, "WS_EX_TOPMOST"),
    Flag(0x00000004, "WS_EX_NOPARENTNOTIFY"),
    Flag(0x00000001, "WS_EX_DLGMODALFRAME"),
};

inline constexpr StyleName kClassStyleNames[] = {
    Flag(0x00020000, "CS_DROPSHADOW"),
    Flag(0x00010000, "CS_IME"),
    Flag(0x00004000, "CS_GLOBALCLASS"),
    Flag(0x00002000, "CS_BYTEALIGNWINDOW"),
    Flag(0x00001000, "CS_BYTEALIGNCLIENT"),
    Flag(0x00000800, "CS_SAVEBITS"),
    Flag(0x00000200, "CS_NOCLOSE"),
    Flag(0x00000080, "CS_PARENTDC"),
    Flag(0x00000040, "CS_CLASSDC"),
    Flag(0x00000020, "CS_OWNDC"),
    Flag(0x00000008, "CS_DBLCLKS"),
    Flag(0x00000002, "CS_HREDRAW"),
    Flag(0x00000001, "CS_VREDRAW"),
};

// The low word of a window of the class Button.
inline constexpr StyleName kButtonStyleNames[] = {
    Flag(0x00008000, "BS_FLAT"),
    Flag(0x00004000, "BS_NOTIFY"),
    Flag(0x00002000, "BS_MULTILINE"),
    Flag(0x00001000, "BS_PUSHLIKE"),
    Field(kButtonVertMask, 0x00000C00, "BS_VCENTER"),
    Field(kButtonVertMask, 0x00000800, "BS_BOTTOM"),
    Field(kButtonVertMask, 0x00000400, "BS_TOP"),
    Field(kButtonHorzMask, 0x00000300, "BS_CENTER"),
    Field(kButtonHorzMask, 0x00000200, "BS_RIGHT"),
    Field(kButtonHorzMask, 0x00000100, "BS_LEFT"),
    Flag(0x00000080, "BS_BITMAP"),
    Flag(0x00000040, "BS_ICON"),
    Flag(0x00000020, "BS_LEFTTEXT"),
    Field(kButtonTypeMask, 0x0, "BS_PUSHBUTTON"),
    Field(kButtonTypeMask, 0x1, "BS_DEFPUSHBUTTON"),
    Field(kButtonTypeMask, 0x2, "BS_CHECKBOX"),
    Field(kButtonTypeMask, 0x3, "BS_AUTOCHECKBOX"),
    Field(kButtonTypeMask, 0x4, "BS_RADIOBUTTON"),
    Field(kButtonTypeMask, 0x5, "BS_3STATE"),
    Field(kButtonTypeMask, 0x6, "BS_AUTO3STATE"),
    Field(kButtonTypeMask, 0x7, "BS_GROUPBOX"),
    Field(kButtonTypeMask, 0x8, "BS_USERBUTTON"),
    Field(kButtonTypeMask, 0x9, "BS_AUTORADIOBUTTON"),
    Field(kButtonTypeMask, 0xA, "BS_PUSHBOX"),
    Field(kButtonTypeMask, 0xB, "BS_OWNERDRAW"),
    Field(kButtonTypeMask, 0xC, "BS_SPLITBUTTON"),
    Field(kButtonTypeMask, 0xD, "BS_DEFSPLITBUTTON"),
    Field(kButtonTypeMask, 0xE, "BS_COMMANDLINK"),
    Field(kButtonTypeMask, 0xF, "BS_DEFCOMMANDLINK"),
};

// The low word of a window of the class Edit.
inline constexpr StyleName kEditStyleNames[] = {
    Flag(0x00002000, "ES_NUMBER"),
    Flag(0x00001000, "ES_WANTRETURN"),
    Flag(0x00000800, "ES_READONLY"),
    Flag(0x00000400, "ES_OEMCONVERT"),
    Flag(0x00000100, "ES_NOHIDESEL"),
    Flag(0x00000080, "ES_AUTOHSCROLL"),
    Flag(0x00000040, "ES_AUTOVSCROLL"),
    Flag(0x00000020, "ES_PASSWORD"),
    Flag(0x00000010, "ES_LOWERCASE"),
    Flag(0x00000008, "ES_UPPERCASE"),
    Flag(0x00000004, "ES_MULTILINE"),
    Field(kEditAlignMask, 0x0, "ES_LEFT"),
    Field(kEditAlignMask, 0x1, "ES_CENTER"),
    Field(kEditAlignMask, 0x2, "ES_RIGHT"),
};

// The low word of a window of the class Static.
inline constexpr StyleName kStaticStyleNames[] = {
    Field(kStaticEllipsisMask, 0x0000C000, "SS_WORDELLIPSIS"),
    Field(kStaticEllipsisMask, 0x00008000, "SS_PATHELLIPSIS"),
    Field(kStaticEllipsisMask, 0x00004000, "SS_ENDELLIPSIS"),
    Flag(0x00002000, "SS_EDITCONTROL"),
    Flag(0x00001000, "SS_SUNKEN"),
    Flag(0x00000800, "SS_REALSIZEIMAGE"),
    Flag(0x00000400, "SS_RIGHTJUST"),
    Flag(0x00000200, "SS_CENTERIMAGE"),
    Flag(0x00000100, "SS_NOTIFY"),
    Flag(0x00000080, "SS_NOPREFIX"),
    Flag(0x00000040, "SS_REALSIZECONTROL"),
    Field(kStaticTypeMask, 0x00, "SS_LEFT"),
    Field(kStaticTypeMask, 0x01, "SS_CENTER"),
    Field(kStaticTypeMask, 0x02, "SS_RIGHT"),
    Field(kStaticTypeMask, 0x03, "SS_ICON"),
    Field(kStaticTypeMask, 0x04, "SS_BLACKRECT"),
    Field(kStaticTypeMask, 0x05, "SS_GRAYRECT"),
    Field(kStaticTypeMask, 0x06, "SS_WHITERECT"),
    Field(kStaticTypeMask, 0x07, "SS_BLACKFRAME"),
    Field(kStaticTypeMask, 0x08, "SS_GRAYFRAME"),
    Field(kStaticTypeMask, 0x09, "SS_WHITEFRAME"),
    Field(kStaticTypeMask, 0x0A, "SS_USERITEM"),
    Field(kStaticTypeMask, 0x0B, "SS_SIMPLE"),
    Field(kStaticTypeMask, 0x0C, "SS_LEFTNOWORDWRAP"),
    Field(kStaticTypeMask, 0x0D, "SS_OWNERDRAW"),
    Field(kStaticTypeMask, 0x0E, "SS_BITMAP"),
    Field(kStaticTypeMask, 0x0F, "SS_ENHMETAFILE"),
    Field(kStaticTypeMask, 0x10, "SS_ETCHEDHORZ"),
    Field(kStaticTypeMask, 0x11, "SS_ETCHEDVERT"),
    Field(kStaticTypeMask, 0x12, "SS_ETCHEDFRAME"),
};

// `value` as eight upper-case hexadecimal digits, then the names of the
// entries of `table` it holds for a child window (`child`) or another, then
// the bits no entry explained as one hexadecimal value ("0x00000300").
std::string DescribeStyle(std::uint32_t value, std::span<const StyleName> table, bool child);
// The same over several tables, the earlier ones claiming bits first.
std::string DescribeStyle(std::uint32_t value, std::span<const std::span<const StyleName>> tables, bool child);
// The tables that name a window's style bits: the WS_ names, then the names
// its class gives the low word (see ControlStyleTables in
// winutil/control_style_names.h), the class name compared as the system
// does, ignoring case.
struct WindowStyleTables {
  std::span<const StyleName> tables[3];
  std::size_t count = 0;
  std::span<const std::span<const StyleName>> All() const { return {tables, count}; }
};
WindowStyleTables StyleTablesForClass(std::string_view class_name);
// A window's style described with the tables of its class.
std::string DescribeWindowStyle(std::uint32_t style, std::string_view class_name);

}  // namespace vexlan
