#include "forms/core/Vexlan_unit2_layout.h"

namespace vexlan {

namespace {

constexpr ComponentLayout kComponents[] = {
    {.Name = "Label1", .Bounds = {2, 4, 78, 13}, .Settings = LabelSettings{.Caption = "Element Handle:", .Alignment = taRightJustify}},
    {.Name = "handle", .Bounds = {84, 4, 6, 13}, .Settings = LabelSettings{.Caption = "0"}},
    {.Name = "Label2", .Bounds = {20, 22, 60, 13}, .Settings = LabelSettings{.Caption = "Text Length:", .Alignment = taRightJustify}},
    {.Name = "textlength", .Bounds = {84, 22, 6, 13}, .Settings = LabelSettings{.Caption = "0"}},
    {.Name = "Edit1", .Bounds = {4, 40, 285, 81}, .TabOrder = 2, .Settings = MemoSettings{}},
    {.Name = "SetBtn", .Bounds = {60, 126, 83, 21}, .TabOrder = 0,
     .Settings = ButtonSettings{.Caption = "&Set Text", .OnClick = "SetBtnClick"}},
    {.Name = "GetBtn", .Bounds = {148, 126, 83, 21}, .TabOrder = 1,
     .Settings = ButtonSettings{.Caption = "&Get Text", .OnClick = "GetBtnClick"}},
};

constexpr FormLayout kLayout{
    .Form = {.Caption = "Show/Edit Text Element",
             .Bounds = {284, 190, 0, 0},
             .ClientWidth = 293,
             .ClientHeight = 150,
             .Sizeable = false,
             .Font = {.Name = "MS Sans Serif", .Height = -11},
             .OnShow = "OnShow"},
    .Components = kComponents,
};

}  // namespace

const FormLayout& Form2Layout() { return kLayout; }

}  // namespace vexlan
