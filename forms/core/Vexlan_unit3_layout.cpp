#include "forms/core/Vexlan_unit3_layout.h"

namespace vexlan {

namespace {

constexpr ComponentLayout kComponents[] = {
    {.Name = "Label1", .Bounds = {4, 4, 353, 13},
     .Settings = LabelSettings{.Caption = "Move the mouse over the wanted element and watch this dialog for results."}},
    {.Name = "Label5", .Bounds = {4, 20, 381, 13},
     .Settings = LabelSettings{
         .Caption = "The result can be freezed/resumed by pressing CTRL-Q (if the hotkey ain't busy)."}},
    {.Name = "Label2", .Bounds = {12, 44, 37, 13}, .Settings = LabelSettings{.Caption = "Handle:", .Alignment = taRightJustify}},
    {.Name = "handle", .Bounds = {54, 40, 93, 21}, .TabOrder = 0, .Settings = EditSettings{}},
    {.Name = "ShowBtn", .Bounds = {152, 40, 63, 23}, .TabOrder = 3,
     .Settings = ButtonSettings{.Caption = "&Show", .Default = true, .OnClick = "ShowBtnClick"}},
    {.Name = "Label3", .Bounds = {21, 70, 28, 13}, .Settings = LabelSettings{.Caption = "Class:", .Alignment = taRightJustify}},
    {.Name = "classname", .Bounds = {54, 66, 183, 21}, .TabOrder = 1, .Settings = EditSettings{}},
    {.Name = "Label4", .Bounds = {18, 96, 31, 13}, .Settings = LabelSettings{.Caption = "Name:", .Alignment = taRightJustify}},
    {.Name = "windowname", .Bounds = {54, 92, 291, 21}, .TabOrder = 2, .Settings = EditSettings{}},
    {.Name = "Timer1", .Settings = TimerSettings{.Interval = 100, .Enabled = false, .OnTimer = "Timer1Timer"}},
    {.Name = "SysHotKey1", .Settings = SysHotKeySettings{.Active = false, .OnHotKey = "OnHotKey"}},
};

constexpr FormLayout kLayout{
    .Form = {.Caption = "Find Element",
             .Bounds = {225, 185, 0, 0},
             .ClientWidth = 387,
             .ClientHeight = 123,
             .Sizeable = false,
             .Font = {.Name = "MS Sans Serif", .Height = -11},
             .OnShow = "OnShow",
             .OnClose = "OnClose"},
    .Components = kComponents,
};

}  // namespace

const FormLayout& Form3Layout() { return kLayout; }

}  // namespace vexlan
