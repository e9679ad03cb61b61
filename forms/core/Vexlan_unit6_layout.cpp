#include "forms/core/Vexlan_unit6_layout.h"

namespace vexlan {

namespace {

constexpr int kClientWidth = 940;
constexpr int kClientHeight = 420;
// Two rows above the list: the log's buttons, then the group filters.
constexpr int kBarHeight = 54;

// Wide enough for 16 hexadecimal digits: a 64-bit program's parameters.
constexpr ListColumn kColumns[] = {
    {"#", 48},       {"ms", 44},       {"Kind", 36},     {"Window", 64},   {"Message", 148},
    {"wParam", 116}, {"lParam", 116},  {"Result", 116},  {"Details", 230},
};

constexpr ComponentLayout kComponents[] = {
    {.Name = "Panel1", .Bounds = {0, 0, kClientWidth, kBarHeight}, .Align = alTop, .TabOrder = 0,
     .Settings = PanelSettings{}},
    {.Name = "StartStopBtn", .Parent = "Panel1", .Bounds = {4, 4, 75, 23}, .TabOrder = 0,
     .Settings = ButtonSettings{.Caption = "&Stop", .OnClick = "StartStopBtnClick"}},
    {.Name = "ClearBtn", .Parent = "Panel1", .Bounds = {83, 4, 75, 23}, .TabOrder = 1,
     .Settings = ButtonSettings{.Caption = "C&lear", .OnClick = "ClearBtnClick"}},
    {.Name = "CopyAllBtn", .Parent = "Panel1", .Bounds = {162, 4, 75, 23}, .TabOrder = 2,
     .Settings = ButtonSettings{.Caption = "&Copy all", .OnClick = "CopyAllBtnClick"}},
    {.Name = "SaveBtn", .Parent = "Panel1", .Bounds = {241, 4, 75, 23}, .TabOrder = 3,
     .Settings = ButtonSettings{.Caption = "Sa&ve...", .OnClick = "SaveBtnClick"}},
    {.Name = "ChildrenBox", .Parent = "Panel1", .Bounds = {328, 7, 110, 17}, .TabOrder = 4,
     .Settings = CheckBoxSettings{.Caption = "Children &too", .OnClick = "ChildrenBoxClick"}},
    // Room for the longest count and why the log stopped; changed twenty
    // times a second, it keeps its size.
    {.Name = "CountLabel", .Parent = "Panel1", .Bounds = {446, 9, 480, 13},
     .Settings = LabelSettings{.Caption = "0 records, 0 lost", .AutoSize = false}},
    {.Name = "MouseBox", .Parent = "Panel1", .Bounds = {6, 32, 66, 17}, .TabOrder = 5,
     .Settings = CheckBoxSettings{.Caption = "&Mouse", .Checked = true, .OnClick = "FilterClick"}},
    {.Name = "KeyboardBox", .Parent = "Panel1", .Bounds = {76, 32, 78, 17}, .TabOrder = 6,
     .Settings = CheckBoxSettings{.Caption = "&Keyboard", .Checked = true, .OnClick = "FilterClick"}},
    {.Name = "PaintingBox", .Parent = "Panel1", .Bounds = {158, 32, 126, 17}, .TabOrder = 7,
     .Settings = CheckBoxSettings{.Caption = "&Painting and frame", .Checked = true, .OnClick = "FilterClick"}},
    {.Name = "WindowsBox", .Parent = "Panel1", .Bounds = {288, 32, 136, 17}, .TabOrder = 8,
     .Settings = CheckBoxSettings{.Caption = "&Window management", .Checked = true, .OnClick = "FilterClick"}},
    {.Name = "OtherBox", .Parent = "Panel1", .Bounds = {428, 32, 66, 17}, .TabOrder = 9,
     .Settings = CheckBoxSettings{.Caption = "&Other", .Checked = true, .OnClick = "FilterClick"}},
    {.Name = "ListView1", .Bounds = {0, kBarHeight, kClientWidth, kClientHeight - kBarHeight}, .Align = alClient,
     .TabOrder = 1, .Settings = ListViewSettings{.Columns = kColumns}},
    // Takes what the hooks wrote, twenty times a second while the log runs.
    {.Name = "Timer1", .Settings = TimerSettings{.Interval = 50, .Enabled = false, .OnTimer = "Timer1Timer"}},
};

constexpr FormLayout kLayout{
    .Form = {.Caption = "Messages",
             .Bounds = {240, 160, 0, 0},
             .ClientWidth = kClientWidth,
             .ClientHeight = kClientHeight,
             .Sizeable = true,
             .Font = {.Name = "MS Sans Serif", .Height = -11},
             .OnClose = "FormClose"},
    .Components = kComponents,
};

}  // namespace

const FormLayout& Form6Layout() { return kLayout; }

std::span<const ListColumn> MessageColumns() { return kColumns; }

}  // namespace vexlan
