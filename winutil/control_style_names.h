// The names the standard and common controls give the low word of their
// window style, one table per control, in the form of winutil/style_names.h.
// Which table speaks for a window is decided by its class
// (StyleTablesForClass); the Win32 build checks every value against
// <windows.h> and <commctrl.h> at compile time.
#pragma once

#include <cstdint>

#include "winutil/style_names.h"

namespace vexlan {

// The fields of the value-coded names.
inline constexpr std::uint32_t kListViewTypeMask = 0x00000003;  // LVS_TYPEMASK
inline constexpr std::uint32_t kComboTypeMask = 0x00000003;     // CBS_SIMPLE | CBS_DROPDOWN
inline constexpr std::uint32_t kCommonPlaceMask = 0x00000083;   // CCS_VERT | CCS_TOP | CCS_NOMOVEY
inline constexpr std::uint32_t kCommonEdgeMask = 0x00000003;    // CCS_TOP | CCS_NOMOVEY

// Tree view (SysTreeView32).
inline constexpr StyleName kTreeViewStyleNames[] = {
    Flag(0x00008000, "TVS_NOHSCROLL"),     Flag(0x00004000, "TVS_NONEVENHEIGHT"),
    Flag(0x00002000, "TVS_NOSCROLL"),      Flag(0x00001000, "TVS_FULLROWSELECT"),
    Flag(0x00000800, "TVS_INFOTIP"),       Flag(0x00000400, "TVS_SINGLEEXPAND"),
    Flag(0x00000200, "TVS_TRACKSELECT"),   Flag(0x00000100, "TVS_CHECKBOXES"),
    Flag(0x00000080, "TVS_NOTOOLTIPS"),    Flag(0x00000040, "TVS_RTLREADING"),
    Flag(0x00000020, "TVS_SHOWSELALWAYS"), Flag(0x00000010, "TVS_DISABLEDRAGDROP"),
    Flag(0x00000008, "TVS_EDITLABELS"),    Flag(0x00000004, "TVS_LINESATROOT"),
    Flag(0x00000002, "TVS_HASLINES"),      Flag(0x00000001, "TVS_HASBUTTONS"),
};

// List view (SysListView32). LVS_ALIGNLEFT's field shares a bit with
// LVS_OWNERDRAWFIXED, so it is named as the flag it is.
inline constexpr StyleName kListViewStyleNames[] = {
    Flag(0x00008000, "LVS_NOSORTHEADER"),
    Flag(0x00004000, "LVS_NOCOLUMNHEADER"),
    Flag(0x00002000, "LVS_NOSCROLL"),
    Flag(0x00001000, "LVS_OWNERDATA"),
    Flag(0x00000800, "LVS_ALIGNLEFT"),
    Flag(0x00000400, "LVS_OWNERDRAWFIXED"),
    Flag(0x00000200, "LVS_EDITLABELS"),
    Flag(0x00000100, "LVS_AUTOARRANGE"),
    Flag(0x00000080, "LVS_NOLABELWRAP"),
    Flag(0x00000040, "LVS_SHAREIMAGELISTS"),
    Flag(0x00000020, "LVS_SORTDESCENDING"),
    Flag(0x00000010, "LVS_SORTASCENDING"),
    Flag(0x00000008, "LVS_SHOWSELALWAYS"),
    Flag(0x00000004, "LVS_SINGLESEL"),
    Field(kListViewTypeMask, 0x0, "LVS_ICON"),
    Field(kListViewTypeMask, 0x1, "LVS_REPORT"),
    Field(kListViewTypeMask, 0x2, "LVS_SMALLICON"),
    Field(kListViewTypeMask, 0x3, "LVS_LIST"),
};

// Tab control (SysTabControl32): the same bit puts the tabs at the bottom of
// a horizontal control and at the right of a vertical one.
inline constexpr StyleName kTabControlStyleNames[] = {
    Flag(0x00008000, "TCS_FOCUSNEVER"),
    Flag(0x00004000, "TCS_TOOLTIPS"),
    Flag(0x00002000, "TCS_OWNERDRAWFIXED"),
    Flag(0x00001000, "TCS_FOCUSONBUTTONDOWN"),
    Flag(0x00000800, "TCS_RAGGEDRIGHT"),
    Flag(0x00000400, "TCS_FIXEDWIDTH"),
    Flag(0x00000200, "TCS_MULTILINE"),
    Field(0x00000200, 0x0, "TCS_SINGLELINE"),
    Flag(0x00000100, "TCS_BUTTONS"),
    Field(0x00000100, 0x0, "TCS_TABS"),
    Flag(0x00000080, "TCS_VERTICAL"),
    Flag(0x00000040, "TCS_HOTTRACK"),
    Flag(0x00000020, "TCS_FORCELABELLEFT"),
    Flag(0x00000010, "TCS_FORCEICONLEFT"),
    Flag(0x00000008, "TCS_FLATBUTTONS"),
    Flag(0x00000004, "TCS_MULTISELECT"),
    When(0x00000080, 0x00000080, Flag(0x00000002, "TCS_RIGHT")),
    When(0x00000080, 0x0, Flag(0x00000002, "TCS_BOTTOM")),
    Flag(0x00000001, "TCS_SCROLLOPPOSITE"),
};

// The styles every common control bar shares (toolbar, status bar, rebar):
// where it stands, as one field, then how it sizes itself.
inline constexpr StyleName kCommonControlStyleNames[] = {
    Flag(0x00000040, "CCS_NODIVIDER"),
    Flag(0x00000020, "CCS_ADJUSTABLE"),
    Flag(0x00000008, "CCS_NOPARENTALIGN"),
    Flag(0x00000004, "CCS_NORESIZE"),
    Field(kCommonPlaceMask, 0x81, "CCS_LEFT"),
    Field(kCommonPlaceMask, 0x82, "CCS_NOMOVEX"),
    Field(kCommonPlaceMask, 0x83, "CCS_RIGHT"),
    Field(kCommonEdgeMask, 0x1, "CCS_TOP"),
    Field(kCommonEdgeMask, 0x2, "CCS_NOMOVEY"),
    Field(kCommonEdgeMask, 0x3, "CCS_BOTTOM"),
    Flag(0x00000080, "CCS_VERT"),
};

// Toolbar (ToolbarWindow32), before the common bar styles.
inline constexpr StyleName kToolbarStyleNames[] = {
    Flag(0x00008000, "TBSTYLE_TRANSPARENT"), Flag(0x00004000, "TBSTYLE_REGISTERDROP"),
    Flag(0x00002000, "TBSTYLE_CUSTOMERASE"), Flag(0x00001000, "TBSTYLE_LIST"),
    Flag(0x00000800, "TBSTYLE_FLAT"),        Flag(0x00000400, "TBSTYLE_ALTDRAG"),
    Flag(0x00000200, "TBSTYLE_WRAPABLE"),    Flag(0x00000100, "TBSTYLE_TOOLTIPS"),
};

// Status bar (msctls_statusbar32), before the common bar styles.
inline constexpr StyleName kStatusBarStyleNames[] = {
    Flag(0x00000800, "SBARS_TOOLTIPS"),
    Flag(0x00000100, "SBARS_SIZEGRIP"),
};

// Rebar (ReBarWindow32), before the common bar styles.
inline constexpr StyleName kRebarStyleNames[] = {
    Flag(0x00008000, "RBS_DBLCLKTOGGLE"), Flag(0x00004000, "RBS_VERTICALGRIPPER"),
    Flag(0x00002000, "RBS_AUTOSIZE"),     Flag(0x00001000, "RBS_REGISTERDROP"),
    Flag(0x00000800, "RBS_FIXEDORDER"),   Flag(0x00000400, "RBS_BANDBORDERS"),
    Flag(0x00000200, "RBS_VARHEIGHT"),    Flag(0x00000100, "RBS_TOOLTIPS"),
};

// Progress bar (msctls_progress32).
inline constexpr StyleName kProgressBarStyleNames[] = {
    Flag(0x00000010, "PBS_SMOOTHREVERSE"),
    Flag(0x00000008, "PBS_MARQUEE"),
    Flag(0x00000004, "PBS_VERTICAL"),
    Flag(0x00000001, "PBS_SMOOTH"),
};

// Trackbar (msctls_trackbar32): the ticks' side is named by the
// orientation, top or bottom for a horizontal bar, left or right for a
// vertical one.
inline constexpr StyleName kTrackbarStyleNames[] = {
    Flag(0x00001000, "TBS_TRANSPARENTBKGND"),
    Flag(0x00000800, "TBS_NOTIFYBEFOREMOVE"),
    Flag(0x00000400, "TBS_DOWNISLEFT"),
    Flag(0x00000200, "TBS_REVERSED"),
    Flag(0x00000100, "TBS_TOOLTIPS"),
    Flag(0x00000080, "TBS_NOTHUMB"),
    Flag(0x00000040, "TBS_FIXEDLENGTH"),
    Flag(0x00000020, "TBS_ENABLESELRANGE"),
    Flag(0x00000010, "TBS_NOTICKS"),
    Flag(0x00000008, "TBS_BOTH"),
    When(0x00000002, 0x00000002, Flag(0x00000004, "TBS_LEFT")),
    When(0x00000002, 0x00000002, Field(0x00000004, 0x0, "TBS_RIGHT")),
    When(0x00000002, 0x0, Flag(0x00000004, "TBS_TOP")),
    When(0x00000002, 0x0, Field(0x00000004, 0x0, "TBS_BOTTOM")),
    Flag(0x00000002, "TBS_VERT"),
    Field(0x00000002, 0x0, "TBS_HORZ"),
    Flag(0x00000001, "TBS_AUTOTICKS"),
};

// Up-down control (msctls_updown32).
inline constexpr StyleName kUpDownStyleNames[] = {
    Flag(0x00000100, "UDS_HOTTRACK"),   Flag(0x00000080, "UDS_NOTHOUSANDS"), Flag(0x00000040, "UDS_HORZ"),
    Flag(0x00000020, "UDS_ARROWKEYS"),  Flag(0x00000010, "UDS_AUTOBUDDY"),   Flag(0x00000008, "UDS_ALIGNLEFT"),
    Flag(0x00000004, "UDS_ALIGNRIGHT"), Flag(0x00000002, "UDS_SETBUDDYINT"), Flag(0x00000001, "UDS_WRAP"),
};

// Header control (SysHeader32).
inline constexpr StyleName kHeaderStyleNames[] = {
    Flag(0x00001000, "HDS_OVERFLOW"),  Flag(0x00000800, "HDS_NOSIZING"), Flag(0x00000400, "HDS_CHECKBOXES"),
    Flag(0x00000200, "HDS_FLAT"),      Flag(0x00000100, "HDS_FILTERBAR"), Flag(0x00000080, "HDS_FULLDRAG"),
    Flag(0x00000040, "HDS_DRAGDROP"),  Flag(0x00000008, "HDS_HIDDEN"),   Flag(0x00000004, "HDS_HOTTRACK"),
    Flag(0x00000002, "HDS_BUTTONS"),
};

// Combo box (ComboBox).
inline constexpr StyleName kComboBoxStyleNames[] = {
    Flag(0x00004000, "CBS_LOWERCASE"),
    Flag(0x00002000, "CBS_UPPERCASE"),
    Flag(0x00000800, "CBS_DISABLENOSCROLL"),
    Flag(0x00000400, "CBS_NOINTEGRALHEIGHT"),
    Flag(0x00000200, "CBS_HASSTRINGS"),
    Flag(0x00000100, "CBS_SORT"),
    Flag(0x00000080, "CBS_OEMCONVERT"),
    Flag(0x00000040, "CBS_AUTOHSCROLL"),
    Flag(0x00000020, "CBS_OWNERDRAWVARIABLE"),
    Flag(0x00000010, "CBS_OWNERDRAWFIXED"),
    Field(kComboTypeMask, 0x1, "CBS_SIMPLE"),
    Field(kComboTypeMask, 0x2, "CBS_DROPDOWN"),
    Field(kComboTypeMask, 0x3, "CBS_DROPDOWNLIST"),
};

// List box (ListBox, and the list of a combo box, ComboLBox).
inline constexpr StyleName kListBoxStyleNames[] = {
    Flag(0x00008000, "LBS_COMBOBOX"),          Flag(0x00004000, "LBS_NOSEL"),
    Flag(0x00002000, "LBS_NODATA"),            Flag(0x00001000, "LBS_DISABLENOSCROLL"),
    Flag(0x00000800, "LBS_EXTENDEDSEL"),       Flag(0x00000400, "LBS_WANTKEYBOARDINPUT"),
    Flag(0x00000200, "LBS_MULTICOLUMN"),       Flag(0x00000100, "LBS_NOINTEGRALHEIGHT"),
    Flag(0x00000080, "LBS_USETABSTOPS"),       Flag(0x00000040, "LBS_HASSTRINGS"),
    Flag(0x00000020, "LBS_OWNERDRAWVARIABLE"), Flag(0x00000010, "LBS_OWNERDRAWFIXED"),
    Flag(0x00000008, "LBS_MULTIPLESEL"),       Flag(0x00000004, "LBS_NOREDRAW"),
    Flag(0x00000002, "LBS_SORT"),              Flag(0x00000001, "LBS_NOTIFY"),
};

// Scroll bar (ScrollBar): the two alignment bits are named by what the bar
// is, a size box, a vertical bar or a horizontal one.
inline constexpr StyleName kScrollBarStyleNames[] = {
    Flag(0x00000010, "SBS_SIZEGRIP"),
    Flag(0x00000008, "SBS_SIZEBOX"),
    When(0x00000008, 0x00000008, Flag(0x00000004, "SBS_SIZEBOXBOTTOMRIGHTALIGN")),
    When(0x00000008, 0x00000008, Flag(0x00000002, "SBS_SIZEBOXTOPLEFTALIGN")),
    When(0x00000009, 0x00000001, Flag(0x00000004, "SBS_RIGHTALIGN")),
    When(0x00000009, 0x00000001, Flag(0x00000002, "SBS_LEFTALIGN")),
    When(0x00000009, 0x0, Flag(0x00000004, "SBS_BOTTOMALIGN")),
    When(0x00000009, 0x0, Flag(0x00000002, "SBS_TOPALIGN")),
    When(0x00000008, 0x0, Flag(0x00000001, "SBS_VERT")),
    When(0x00000008, 0x0, Field(0x00000001, 0x0, "SBS_HORZ")),
};

}  // namespace vexlan
