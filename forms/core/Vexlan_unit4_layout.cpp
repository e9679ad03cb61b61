#include "forms/core/Vexlan_unit4_layout.h"

namespace vexlan {

namespace {

constexpr ComponentLayout kComponents[] = {
    {.Name = "Label1", .Bounds = {4, 4, 237, 13},
     .Settings = LabelSettings{.Caption = "Fill in any of the fields to find the element in the list."}},
    {.Name = "Label2", .Bounds = {12, 30, 37, 13}, .Settings = LabelSettings{.Caption = "Handle:", .Alignment = taRightJustify}},
    {.Name = "handle", .Bounds = {54, 26, 93, 21}, .TabOrder = 0, .Settings = EditSettings{}},
    {.Name = "Label5", .Bounds = {152, 30, 90, 13}, .Settings = LabelSettings{.Caption = "(in integer, not hex)"}},
    {.Name = "Label3", .Bounds = {21, 56, 28, 13}, .Settings = LabelSettings{.Caption = "Class:", .Alignment = taRightJustify}},
    {.Name = "classname", .Bounds = {54, 52, 183, 21}, .TabOrder = 1, .Settings = EditSettings{}},
    {.Name = "Label4", .Bounds = {18, 82, 31, 13}, .Settings = LabelSettings{.Caption = "Name:", .Alignment = taRightJustify}},
    {.Name = "windowname", .Bounds = {54, 78, 291, 21}, .TabOrder = 2, .Settings = EditSettings{}},
    {.Name = "SearchBtn", .Bounds = {118, 104, 115, 23}, .TabOrder = 3,
     .Settings = ButtonSettings{.Caption = "&Search List", .Default = true, .OnClick = "SearchBtnClick"}},
    {.Name = "FindNextBtn", .Bounds = {239, 104, 106, 23}, .TabOrder = 4,
     .Settings = ButtonSettings{.Caption = "Find &Next", .OnClick = "FindNextBtnClick"}},
};

constexpr FormLayout kLayout{
    .Form = {.Caption = "Search List",
             .Bounds = {229, 180, 0, 0},
             .ClientWidth = 351,
             .ClientHeight = 132,
             .Sizeable = false,
             .Font = {.Name = "MS Sans Serif", .Height = -11}},
    .Components = kComponents,
};

}  // namespace

const FormLayout& Form4Layout() { return kLayout; }

}  // namespace vexlan
