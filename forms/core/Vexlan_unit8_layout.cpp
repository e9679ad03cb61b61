#include "forms/core/Vexlan_unit8_layout.h"

namespace vexlan {

namespace {

constexpr int kColumn = 228;  // each value's width, and its list's
constexpr int kRight = 8 + kColumn + 8;

constexpr ComponentLayout kComponents[] = {
    {.Name = "Label1", .Bounds = {8, 8, 44, 13}, .Settings = LabelSettings{.Caption = "Window:"}},
    {.Name = "handle", .Bounds = {56, 8, kRight + kColumn - 56, 13},
     .Settings = LabelSettings{.Caption = "0", .AutoSize = false}},
    {.Name = "StyleLabel", .Bounds = {8, 32, 30, 13}, .Settings = LabelSettings{.Caption = "Style:"}},
    {.Name = "StyleEdit", .Bounds = {8, 48, kColumn, 21}, .TabOrder = 0, .Settings = EditSettings{}},
    {.Name = "StyleList", .Bounds = {8, 74, kColumn, 290}, .TabOrder = 1, .Settings = CheckListSettings{}},
    {.Name = "ExStyleLabel", .Bounds = {kRight, 32, 76, 13}, .Settings = LabelSettings{.Caption = "Extended style:"}},
    {.Name = "ExStyleEdit", .Bounds = {kRight, 48, kColumn, 21}, .TabOrder = 2, .Settings = EditSettings{}},
    {.Name = "ExStyleList", .Bounds = {kRight, 74, kColumn, 290}, .TabOrder = 3, .Settings = CheckListSettings{}},
    {.Name = "ApplyBtn", .Bounds = {8, 372, 90, 23}, .TabOrder = 4,
     .Settings = ButtonSettings{.Caption = "&Apply", .Default = true, .OnClick = "ApplyBtnClick"}},
    {.Name = "RefreshBtn", .Bounds = {104, 372, 90, 23}, .TabOrder = 5,
     .Settings = ButtonSettings{.Caption = "&Refresh", .OnClick = "RefreshBtnClick"}},
};

constexpr FormLayout kLayout{
    .Form = {.Caption = "Styles",
             .Bounds = {320, 150, 0, 0},
             .ClientWidth = kRight + kColumn + 8,
             .ClientHeight = 403,
             .Sizeable = false,
             .Font = {.Name = "MS Sans Serif", .Height = -11},
             .OnShow = "OnShow"},
    .Components = kComponents,
};

}  // namespace

const FormLayout& Form8Layout() { return kLayout; }

}  // namespace vexlan
