// The settings layouts give the toolkit's standard components. Handler
// names refer to the form's published methods; "" means none.
#pragma once

#include <span>
#include <string_view>

#include "platform/toolkit/layout.h"

namespace vexlan {

struct TreeViewSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  bool ReadOnly = false;
  int Indent = 19;
  bool ShowLines = true;
  bool ShowButtons = true;
  bool ShowRoot = true;
  std::string_view PopupMenu{};
  void ForEachReference(auto&& visit) const { visit(PopupMenu, LayoutRole::PopupMenu); }
};

struct PanelSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  std::string_view Caption{};
};

struct ButtonSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  std::string_view Caption{};
  // The button Enter presses wherever the focus is in its form, unless the
  // focused control takes Enter itself or is another button.
  bool Default = false;
  std::string_view OnClick{};
};

struct EditSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  std::string_view Text{};
};

// Which scroll bars a memo shows, always.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit box. It takes Enter (a new line) but leaves Tab and
// Escape to its form.
struct MemoSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  std::string_view Text{};
  // Long lines wrap at the box's width; without, the box scrolls sideways.
  bool WordWrap = true;
  // The user can select and copy the text but not change it.
  bool ReadOnly = false;
  TScrollStyle ScrollBars = ssNone;
};

// Where a label's text stands in it; an auto-sized label that is right
// justified keeps its right edge when it fits itself to its text, unless
// that would take it past its parent's left edge.
enum TAlignment { taLeftJustify, taRightJustify };

// Static text. An auto-sized label (the default) fits its width and height
// to its caption in its form's font whenever the caption or the font
// changes, so its text is never cut whatever face and size draw it.
struct LabelSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  std::string_view Caption{};
  bool AutoSize = true;
  TAlignment Alignment = taLeftJustify;
};

// A line of text whose `<a>` marks are links; the form handles them.
struct LinkLabelSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  std::string_view Caption{};
};

struct PopupMenuSettings {
  static constexpr LayoutRole kRole = LayoutRole::PopupMenu;
};

struct MenuItemSettings {
  static constexpr LayoutRole kRole = LayoutRole::MenuItem;
  std::string_view Caption{};  // "-" makes a separator line
  bool Checked = false;
  std::string_view OnClick{};
};

// A box the user ticks, its caption beside it; a click flips it and then
// runs OnClick.
struct CheckBoxSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  std::string_view Caption{};
  bool Checked = false;
  std::string_view OnClick{};
};

// One column of a list: its heading and its width at 96 DPI.
struct ListColumn {
  std::string_view Caption{};
  int Width = 64;
};

// A list of rows in columns whose texts its owner gives as they are drawn.
struct ListViewSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
  std::span<const ListColumn> Columns{};
};

// A list of lines, each with a box the user ticks or none; its owner gives
// the lines.
struct CheckListSettings {
  static constexpr LayoutRole kRole = LayoutRole::Control;
};

// Ticks every Interval milliseconds while enabled.
struct TimerSettings {
  static constexpr LayoutRole kRole = LayoutRole::NonVisual;
  unsigned Interval = 1000;
  bool Enabled = true;
  std::string_view OnTimer{};
};

}  // namespace vexlan
