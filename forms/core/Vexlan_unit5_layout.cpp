#include "forms/core/Vexlan_unit5_layout.h"

namespace vexlan {

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 400;
// The bar of buttons under the list; the list takes the rest.
constexpr int kBarHeight = 31;

constexpr ComponentLayout kComponents[] = {
    {.Name = "properties", .Bounds = {0, 0, kClientWidth, kClientHeight - kBarHeight}, .Align = alClient,
     .TabOrder = 0, .Settings = MemoSettings{.WordWrap = false, .ReadOnly = true, .ScrollBars = ssBoth}},
    {.Name = "Panel1", .Bounds = {0, kClientHeight - kBarHeight, kClientWidth, kBarHeight}, .Align = alBottom,
     .TabOrder = 1, .Settings = PanelSettings{}},
    {.Name = "RefreshBtn", .Parent = "Panel1", .Bounds = {4, 4, 83, 23}, .TabOrder = 0,
     .Settings = ButtonSettings{.Caption = "&Refresh", .OnClick = "RefreshBtnClick"}},
    {.Name = "CopyBtn", .Parent = "Panel1", .Bounds = {92, 4, 83, 23}, .TabOrder = 1,
     .Settings = ButtonSettings{.Caption = "&Copy", .OnClick = "CopyBtnClick"}},
    {.Name = "links", .Parent = "Panel1", .Bounds = {186, 9, 270, 15}, .TabOrder = 2,
     .Settings = LinkLabelSettings{}},
};

constexpr FormLayout kLayout{
    .Form = {.Caption = "Window Properties",
             .Bounds = {360, 140, 0, 0},
             .ClientWidth = kClientWidth,
             .ClientHeight = kClientHeight,
             .Sizeable = true,
             .Dialog = true,
             .Font = {.Name = "MS Sans Serif", .Height = -11},
             .OnShow = "OnShow"},
    .Components = kComponents,
};

}  // namespace

const FormLayout& Form5Layout() { return kLayout; }

}  // namespace vexlan
