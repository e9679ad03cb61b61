// The walk that lists a desktop's windows as a tree.
//
// Starting from one window, the walk visits it and every following sibling in
// Z order, each followed by its own children, depth first: the rows come out
// in the order their tree nodes are added (parent before children, siblings
// from the top of the Z order down). Each row carries the node caption
//   n: "caption" [class] (handle)
// where n numbers the listed windows of one sibling run from 1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_services.h"

namespace vexlan {

struct WindowRow {
  WindowHandle wnd = 0;
  int parent = -1;  // index of the parent's row; -1 for the first run's windows
  int number = 0;   // sibling number among the listed windows of its run
  std::string caption;  // the node caption
  // Where the window's own caption and class name stand in the node caption,
  // recorded when it is built: neither is ever parsed back out of it (a
  // caption may hold quotes and brackets of its own).
  std::uint32_t caption_at = 0, caption_size = 0, class_at = 0, class_size = 0;

  std::string_view CaptionPiece() const { return std::string_view(caption).substr(caption_at, caption_size); }
  std::string_view ClassPiece() const { return std::string_view(caption).substr(class_at, class_size); }
};

// The row of a listed window: its node caption (NodeCaption) and where its
// caption and class name stand in it.
WindowRow MakeWindowRow(WindowHandle wnd, int parent, int number, std::string_view caption,
                        std::string_view class_name);

// Lists `first`, its following siblings and all their descendants. With
// `only_shown`, a window the system does not report visible is left out with
// its whole subtree (a hidden window's descendants are never visible).
//
// The walk always ends and loses nothing still there, whatever other
// programs do while it runs: each sibling run is read whole before any of
// its windows is descended into, so a window that closes or is restacked
// during its subtree's walk does not cut its run short; a window met before
// in this walk ends the run being read (a next-sibling chain can cycle); a
// window that has gone when its turn comes is left out, and numbering counts
// only the windows listed.
std::vector<WindowRow> WalkWindows(WindowServices& ws, WindowHandle first, bool only_shown);

// The eight-piece caption of a tree node. `caption` and `class_name` appear
// verbatim, unescaped.
std::string NodeCaption(int number, std::string_view caption, std::string_view class_name, WindowHandle wnd);

// The handle a node caption ends with: the signed decimal between its last
// left parenthesis and its final right parenthesis. Nothing when the text
// has no such group or it is not a 32-bit decimal number.
std::optional<WindowHandle> HandleFromNodeCaption(std::string_view text);

}  // namespace vexlan
