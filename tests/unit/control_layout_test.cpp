#include "platform/toolkit/control_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexlan {
namespace {

TEST(AlignChildren, PacksEdgesThenGivesTheRestToClient) {
  struct Case {
    const char* what;
    TBounds client;
    std::vector<AlignedChild> children;
    std::vector<TBounds> expected;
  };
  const Case cases[] = {
      {"main form: tree over a bar",
       {0, 0, 495, 462},
       {{alClient, {0, 0, 495, 435}}, {alBottom, {0, 435, 495, 27}}},
       {{0, 0, 495, 435}, {0, 435, 495, 27}}},
      {"main form resized",
       {0, 0, 800, 600},
       {{alClient, {0, 0, 495, 435}}, {alBottom, {0, 435, 495, 27}}},
       {{0, 0, 800, 573}, {0, 573, 800, 27}}},
      {"too small for the bar: client gets nothing",
       {0, 0, 100, 20},
       {{alClient, {0, 0, 495, 435}}, {alBottom, {0, 435, 495, 27}}},
       {{0, 0, 100, 0}, {0, -7, 100, 27}}},
      {"all four sides, top and bottom first",
       {10, 10, 100, 100},
       {{alLeft, {0, 0, 5, 1}}, {alTop, {0, 0, 1, 7}}, {alRight, {0, 0, 3, 1}}, {alBottom, {0, 0, 1, 11}},
        {alClient, {}}},
       {{10, 17, 5, 82}, {10, 10, 100, 7}, {107, 17, 3, 82}, {10, 99, 100, 11}, {15, 17, 92, 82}}},
      {"two top children keep their order by position",
       {0, 0, 50, 50},
       {{alTop, {0, 30, 1, 4}}, {alTop, {0, 0, 1, 6}}},
       {{0, 6, 50, 4}, {0, 0, 50, 6}}},
      {"two bottom children: the lower stays lowest",
       {0, 0, 50, 50},
       {{alBottom, {0, 10, 1, 4}}, {alBottom, {0, 40, 1, 6}}},
       {{0, 40, 50, 4}, {0, 44, 50, 6}}},
      {"unaligned children stay put",
       {0, 0, 50, 50},
       {{alNone, {3, 4, 5, 6}}, {alClient, {}}},
       {{3, 4, 5, 6}, {0, 0, 50, 50}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto children = c.children;
    AlignChildren(c.client, children);
    ASSERT_EQ(children.size(), c.expected.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(children[i].Bounds, c.expected[i]);
    }
  }
}

TEST(TabSequence, SortsByTabOrderCreationOrderBreaksTies) {
  struct Case {
    std::vector<int> tab_orders;
    std::vector<std::size_t> expected;
  };
  const Case cases[] = {
      {{0, 2, 3, 1, 4, 5}, {0, 3, 1, 2, 4, 5}},  // the main form's bar
      {{}, {}},
      {{1, 1, 0}, {2, 0, 1}},
      {{-1, 0, -1, 1}, {1, 3, 0, 2}},
      {{-1, -2, 0}, {2, 0, 1}},  // no tab order at all: creation order, whatever the value
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.tab_orders));
    EXPECT_EQ(TabSequence(c.tab_orders), c.expected);
  }
}

TEST(MoveInTabSequence, MovesOneAndShiftsTheOthers) {
  struct Case {
    std::size_t count, from;
    int to;
    std::vector<std::size_t> expected;
  };
  const Case cases[] = {
      {4, 3, 0, {3, 0, 1, 2}}, {4, 0, 2, {1, 2, 0, 3}}, {4, 1, 1, {0, 1, 2, 3}},
      {3, 0, 99, {1, 2, 0}},   {3, 2, -5, {2, 0, 1}},   {3, 7, 0, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.from << " -> " << c.to);
    EXPECT_EQ(MoveInTabSequence(c.count, c.from, c.to), c.expected);
  }
}

TEST(ScaleBounds, EdgesScaleToTheNearestPixelAndNeighboursStayTogether) {
  struct Case {
    TBounds from;
    int to_dpi;
    TBounds expected;
  };
  const Case cases[] = {
      {{0, 2, 87, 23}, 144, {0, 3, 131, 35}},      // 130.5 and 37.5 round away from zero
      {{90, 2, 87, 23}, 144, {135, 3, 131, 35}},   // starts where 87 + 3 ended
      {{366, 4, 49, 21}, 120, {458, 5, 61, 26}},   // 457.5, 519.25
      {{-3, -1, 5, 1}, 144, {-5, -2, 8, 2}},       // negative edges round away from zero too
      {{10, 10, 0, 0}, 192, {20, 20, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.from.Left << "," << c.from.Top << " at " << c.to_dpi);
    EXPECT_EQ(ScaleBounds(c.from, c.to_dpi, 96), c.expected);
  }
  // There and back is where it was; a nonsense divisor changes nothing.
  EXPECT_EQ(ScaleBounds(ScaleBounds({54, 40, 93, 21}, 144, 96), 96, 144), (TBounds{54, 40, 93, 21}));
  EXPECT_EQ(ScaleValue(11, 144, 0), 11);
  EXPECT_EQ(ScaleValue(2147483647, 192, 96), 2147483647);
}

}  // namespace
}  // namespace vexlan
