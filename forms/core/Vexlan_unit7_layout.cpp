#include "forms/core/Vexlan_unit7_layout.h"

namespace vexlan {

namespace {

constexpr ComponentLayout kComponents[] = {
    {.Name = "Label1", .Bounds = {8, 8, 44, 13}, .Settings = LabelSettings{.Caption = "Window:"}},
    {.Name = "handle", .Bounds = {56, 8, 160, 13}, .Settings = LabelSettings{.Caption = "0", .AutoSize = false}},
    {.Name = "LeftLabel", .Bounds = {20, 34, 36, 13},
     .Settings = LabelSettings{.Caption = "Left:", .Alignment = taRightJustify}},
    {.Name = "LeftEdit", .Bounds = {60, 30, 90, 21}, .TabOrder = 0, .Settings = EditSettings{}},
    {.Name = "TopLabel", .Bounds = {20, 60, 36, 13},
     .Settings = LabelSettings{.Caption = "Top:", .Alignment = taRightJustify}},
    {.Name = "TopEdit", .Bounds = {60, 56, 90, 21}, .TabOrder = 1, .Settings = EditSettings{}},
    {.Name = "WidthLabel", .Bounds = {20, 86, 36, 13},
     .Settings = LabelSettings{.Caption = "Width:", .Alignment = taRightJustify}},
    {.Name = "WidthEdit", .Bounds = {60, 82, 90, 21}, .TabOrder = 2, .Settings = EditSettings{}},
    {.Name = "HeightLabel", .Bounds = {20, 112, 36, 13},
     .Settings = LabelSettings{.Caption = "Height:", .Alignment = taRightJustify}},
    {.Name = "HeightEdit", .Bounds = {60, 108, 90, 21}, .TabOrder = 3, .Settings = EditSettings{}},
    {.Name = "ApplyBtn", .Bounds = {60, 138, 90, 23}, .TabOrder = 4,
     .Settings = ButtonSettings{.Caption = "&Apply", .Default = true, .OnClick = "ApplyBtnClick"}},
};

constexpr FormLayout kLayout{
    .Form = {.Caption = "Move and Size",
             .Bounds = {300, 200, 0, 0},
             .ClientWidth = 224,
             .ClientHeight = 169,
             .Sizeable = false,
             .Font = {.Name = "MS Sans Serif", .Height = -11},
             .OnShow = "OnShow"},
    .Components = kComponents,
};

}  // namespace

const FormLayout& Form7Layout() { return kLayout; }

}  // namespace vexlan
