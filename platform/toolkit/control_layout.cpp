#include "platform/toolkit/control_layout.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace vexlan {

namespace {

// Distance of a child's leading edge from the edge its alignment packs it
// against; the smaller goes first.
int EdgeKey(TAlign align, const TBounds& b) {
  switch (align) {
    case alTop: return b.Top;
    case alBottom: return -(b.Top + b.Height);
    case alLeft: return b.Left;
    case alRight: return -(b.Left + b.Width);
    default: return 0;
  }
}

}  // namespace

int ScaleValue(int value, int to, int from) {
  if (from == 0) return value;
  const long long product = static_cast<long long>(value) * to;
  const long long half = from / 2;
  const long long q = product >= 0 ? (product + half) / from : -((-product + half) / from);
  return static_cast<int>(std::clamp<long long>(q, INT32_MIN, INT32_MAX));
}

TBounds ScaleBounds(const TBounds& b, int to, int from) {
  const int left = ScaleValue(b.Left, to, from);
  const int top = ScaleValue(b.Top, to, from);
  return {left, top, ScaleValue(b.Left + b.Width, to, from) - left, ScaleValue(b.Top + b.Height, to, from) - top};
}

void AlignChildren(const TBounds& client, std::span<AlignedChild> children) {
  int left = client.Left;
  int top = client.Top;
  int right = client.Left + client.Width;
  int bottom = client.Top + client.Height;

  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (children[i].Align == align) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return EdgeKey(align, children[a].Bounds) < EdgeKey(align, children[b].Bounds);
    });
    for (std::size_t i : order) {
      TBounds& b = children[i].Bounds;
      const int width = std::max(0, right - left);
      const int height = std::max(0, bottom - top);
      switch (align) {
        case alTop:
          b = {left, top, width, b.Height};
          top += b.Height;
          break;
        case alBottom:
          b = {left, bottom - b.Height, width, b.Height};
          bottom -= b.Height;
          break;
        case alLeft:
          b = {left, top, b.Width, height};
          left += b.Width;
          break;
        case alRight:
          b = {right - b.Width, top, b.Width, height};
          right -= b.Width;
          break;
        default:
          b = {left, top, width, height};
          break;
      }
    }
  }
}

std::vector<std::size_t> TabSequence(std::span<const int> tab_orders) {
  std::vector<std::size_t> order(tab_orders.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int ta = tab_orders[a], tb = tab_orders[b];
    if ((ta < 0) != (tb < 0)) return tb < 0;
    if (ta < 0) return false;  // both without a tab order: creation order stands
    return ta < tb;
  });
  return order;
}

std::vector<std::size_t> MoveInTabSequence(std::size_t count, std::size_t from, int to) {
  std::vector<std::size_t> order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (from >= count) return order;
  const std::size_t target = to < 0 ? 0 : std::min(static_cast<std::size_t>(to), count - 1);
  order.erase(order.begin() + static_cast<std::ptrdiff_t>(from));
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(target), from);
  return order;
}

}  // namespace vexlan
