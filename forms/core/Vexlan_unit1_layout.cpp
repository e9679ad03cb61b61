#include "forms/core/Vexlan_unit1_layout.h"

#include <algorithm>

namespace vexlan {

namespace {

// The bottom bar's height; the tree takes the rest of the client area.
constexpr int kBarHeight = 27;

constexpr ComponentLayout kComponents[] = {
    {.Name = "TreeView1",
     .Bounds = {0, 0, 495, 435},
     .Align = alClient,
     .TabOrder = 0,
     .Settings = TreeViewSettings{.ReadOnly = true, .Indent = 19, .PopupMenu = "PopupMenu1"}},
    // No frame has a side to draw on, and the wallpaper has no picture: the
    // bar shows the form's colour, as a plain bar would.
    {.Name = "AdvancedPanel1", .Bounds = {0, 435, 495, kBarHeight}, .Align = alBottom, .TabOrder = 1,
     .Settings = AdvancedPanelSettings{
         .Border = {.Sides = {}, .Style = bsNone},
         .BevelOuter = {.Sides = {}, .Style = bvRaised, .Depth = 1, .SpaceOuter = 0, .SpaceInner = 0},
         .BevelInner = {.Sides = {}, .Style = bvNone, .Depth = 1, .SpaceOuter = 0, .SpaceInner = 0},
         .Wallpaper = {.Style = wpTile}}},
    {.Name = "RefreshBtn", .Parent = "AdvancedPanel1", .Bounds = {0, 2, 87, 23}, .TabOrder = 0,
     .Settings = ButtonSettings{.Caption = "&Refresh", .OnClick = "RefreshBtnClick"}},
    {.Name = "FindBtn", .Parent = "AdvancedPanel1", .Bounds = {90, 2, 87, 23}, .TabOrder = 2,
     .Settings = ButtonSettings{.Caption = "&Find Element", .OnClick = "FindBtnClick"}},
    {.Name = "SearchBtn", .Parent = "AdvancedPanel1", .Bounds = {180, 2, 87, 23}, .TabOrder = 3,
     .Settings = ButtonSettings{.Caption = "&Search List", .OnClick = "SearchBtnClick"}},
    {.Name = "ExitBtn", .Parent = "AdvancedPanel1", .Bounds = {270, 2, 91, 23}, .TabOrder = 1,
     .Settings = ButtonSettings{.Caption = "E&xit", .OnClick = "ExitBtnClick"}},
    {.Name = "handle", .Parent = "AdvancedPanel1", .Bounds = {366, 4, 49, 21}, .TabOrder = 4,
     .Settings = EditSettings{}},
    {.Name = "ShowHandleBtn", .Parent = "AdvancedPanel1", .Bounds = {418, 4, 77, 19}, .TabOrder = 5,
     .Settings = ButtonSettings{.Caption = "&Show Handle", .OnClick = "ShowHandleBtnClick"}},
    {.Name = "PopupMenu1", .Settings = PopupMenuSettings{}},
    {.Name = "SendLeftClick1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "Send Left &Click", .OnClick = "SendClick1Click"}},
    {.Name = "SendRightClick1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "Send &Right Click", .OnClick = "SendRightClick1Click"}},
    {.Name = "N1", .Parent = "PopupMenu1", .Settings = MenuItemSettings{.Caption = "-"}},
    {.Name = "EditViewText1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "&Edit/View Text", .OnClick = "EditViewText1Click"}},
    {.Name = "N2", .Parent = "PopupMenu1", .Settings = MenuItemSettings{.Caption = "-"}},
    {.Name = "Showwindow1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "&Show window", .OnClick = "Showwindow1Click"}},
    {.Name = "Hidewindow1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "&Hide window", .OnClick = "Hidewindow1Click"}},
    {.Name = "Highlight1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "Hi&ghlight", .OnClick = "Highlight1Click"}},
    {.Name = "Closewindow1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "C&lose window", .OnClick = "Closewindow1Click"}},
    {.Name = "Change1", .Parent = "PopupMenu1", .Settings = MenuItemSettings{.Caption = "Ch&ange"}},
    {.Name = "Enabled1", .Parent = "Change1",
     .Settings = MenuItemSettings{.Caption = "&Enabled", .OnClick = "Enabled1Click"}},
    {.Name = "Alwaysontop1", .Parent = "Change1",
     .Settings = MenuItemSettings{.Caption = "Always on &top", .OnClick = "Alwaysontop1Click"}},
    {.Name = "Bringtofront1", .Parent = "Change1",
     .Settings = MenuItemSettings{.Caption = "Bring to &front", .OnClick = "Bringtofront1Click"}},
    {.Name = "NChange", .Parent = "Change1", .Settings = MenuItemSettings{.Caption = "-"}},
    {.Name = "Moveandsize1", .Parent = "Change1",
     .Settings = MenuItemSettings{.Caption = "&Move and size...", .OnClick = "Moveandsize1Click"}},
    {.Name = "Styles1", .Parent = "Change1",
     .Settings = MenuItemSettings{.Caption = "St&yles...", .OnClick = "Styles1Click"}},
    {.Name = "N3", .Parent = "PopupMenu1", .Settings = MenuItemSettings{.Caption = "-"}},
    {.Name = "MakePathString1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "&Make PathString", .OnClick = "MakePathString1Click"}},
    {.Name = "Copytree1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "Copy &tree", .OnClick = "Copytree1Click"}},
    {.Name = "N4", .Parent = "PopupMenu1", .Settings = MenuItemSettings{.Caption = "-"}},
    {.Name = "Onlyshownwindows1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "&Only shown windows", .OnClick = "OnlyShownMenuItem1Click"}},
    {.Name = "Keepplaceonrefresh1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "&Keep place on refresh", .OnClick = "Keepplaceonrefresh1Click"}},
    {.Name = "Livetree1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "Li&ve tree", .OnClick = "Livetree1Click"}},
    {.Name = "NProperties", .Parent = "PopupMenu1", .Settings = MenuItemSettings{.Caption = "-"}},
    {.Name = "Properties1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "&Properties...", .OnClick = "Properties1Click"}},
    {.Name = "Watchmessages1", .Parent = "PopupMenu1",
     .Settings = MenuItemSettings{.Caption = "&Watch messages...", .OnClick = "Watchmessages1Click"}},
};

constexpr FormLayout kLayout{
    .Form = {.Caption = "Vexlan v1.02",
             .Bounds = {192, 109, 503, 489},
             .Sizeable = true,
             .Font = {.Name = "MS Sans Serif", .Height = -11},
             .OnCreate = "OnInit"},
    .Components = kComponents,
};

}  // namespace

const FormLayout& Form1Layout() { return kLayout; }

TClientSize MinimumClientSize(std::span<const TBounds> bar_controls, int bar_height, int tree_row_height) {
  constexpr int kTreeRows = 4;
  constexpr int kSmallestRow = 16;
  TClientSize size{0, bar_height + kTreeRows * std::max(tree_row_height, kSmallestRow)};
  for (const TBounds& c : bar_controls) size.Width = std::max(size.Width, c.Left + c.Width);
  return size;
}

}  // namespace vexlan
