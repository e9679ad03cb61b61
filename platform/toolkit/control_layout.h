// Where a parent's children go: alignment inside a client rectangle and the
// order in which Tab visits them. Pure geometry and ordering, so the same
// rules serve every container and are tested without windows.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace vexlan {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A control's place in its parent's client area (a form's: on the screen,
// outer size).
struct TBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TBounds&, const TBounds&) = default;
};

struct AlignedChild {
  TAlign Align = alNone;
  TBounds Bounds;  // current place; updated in place by AlignChildren
};

// Lays out the aligned children inside `client`, the way forms always have:
// first every alTop child from the top edge down, then alBottom from the
// bottom edge up, then alLeft and alRight from the sides, and alClient takes
// what remains. Within one alignment, children keep the order of their
// current position (nearest the edge first; equal positions keep list
// order). Top and bottom children keep their height, left and right their
// width; sizes never go below zero. alNone children are left alone.
void AlignChildren(const TBounds& client, std::span<AlignedChild> children);

// `value` measured at `from` dots per inch, measured at `to`: rounded to the
// nearest pixel, halves away from zero, as MulDiv rounds.
int ScaleValue(int value, int to, int from);
// A place scaled edge by edge, so that neighbours that touched still touch
// and no edge is off by more than half a pixel.
TBounds ScaleBounds(const TBounds& bounds, int to, int from);

// The visiting order of children whose stored tab orders are `tab_orders`
// (list position = creation order): indices sorted by tab order, creation
// order breaking ties and negative values (no tab order) going last.
std::vector<std::size_t> TabSequence(std::span<const int> tab_orders);

// Moves the child at position `from` of a tab sequence of `count` children to
// position `to` (clamped into the sequence); returns the new sequence as
// indices into the old one.
std::vector<std::size_t> MoveInTabSequence(std::size_t count, std::size_t from, int to);

}  // namespace vexlan
