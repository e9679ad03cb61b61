#include "components/panel_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/canvas_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;
using Rows = std::vector<std::string>;

constexpr TPanelSides kAll = kAllRealSides;

// The ring pass step by step, without any bound on its work: what DrawRings
// must paint.
void ReferenceRings(TCanvas& c, TRect& w, TPanelSides s, TColor top_left, TColor bottom_right, int count) {
  for (int i = 0; i < count; ++i) {
    const TRect r = w;
    c.Pen.Color = top_left;
    if (s.Contains(psLeft)) c.MoveTo(r.Left, r.Bottom - 1), c.LineTo(r.Left, r.Top - 1), w.Left = r.Left + 1;
    if (s.Contains(psTop)) c.MoveTo(r.Left, r.Top), c.LineTo(r.Right, r.Top), w.Top = r.Top + 1;
    c.Pen.Color = bottom_right;
    if (s.Contains(psRight)) c.MoveTo(r.Right - 1, r.Top), c.LineTo(r.Right - 1, r.Bottom), w.Right = r.Right - 1;
    if (s.Contains(psBottom)) {
      c.MoveTo(r.Right - 1, r.Bottom - 1), c.LineTo(r.Left - 1, r.Bottom - 1), w.Bottom = r.Bottom - 1;
    }
  }
}

TEST(DrawRings, PaintsWhatTheStepByStepPassPaintsForEverySideSetAndCount) {
  const TRect rects[] = {{1, 1, 9, 7}, {2, 3, 5, 4}, {-3, 4, 12, 20}, {6, 6, 6, 6}, {7, 2, 3, 9}};
  for (unsigned bits = 0; bits < 16; ++bits) {
    const TPanelSides sides = TPanelSides::FromBits(static_cast<std::uint16_t>(bits));
    for (const TRect& rect : rects) {
      for (int count : {0, 1, 2, 5, 13}) {
        SCOPED_TRACE(ToString(sides) + " count " + std::to_string(count) + " rect " + std::to_string(rect.Left) +
                     "," + std::to_string(rect.Top) + "," + std::to_string(rect.Right) + "," +
                     std::to_string(rect.Bottom));
        TMemoryCanvas expected = FakeCanvas(10, 8), actual = FakeCanvas(10, 8);
        TRect expected_work = rect, actual_work = rect;
        ReferenceRings(expected, expected_work, sides, clBtnShadow, clBtnHighlight, count);
        DrawRings(actual, actual_work, sides, clBtnShadow, clBtnHighlight, count);
        ASSERT_EQ(Picture(actual), Picture(expected));
        ASSERT_EQ(actual_work, expected_work);
      }
    }
  }
}

// The largest depth draws in a moment what the endless pass would paint:
// rings that cannot reach the clip rectangle are skipped, edges still move
// by the whole count (stopping at the end of the 32-bit range).
TEST(DrawRings, LargestCountReturnsAtOnceWithThePixelsOfTheWholePass) {
  const struct Case {
    const char* what;
    TRect rect;
    TPanelSides sides;
    int reference_rings;  // after these, no ring reaches the canvas
    TRect clip;
  } cases[] = {
      {"small rectangle, all sides", {2, 2, 8, 7}, kAll, 40, {0, 0, 12, 10}},
      {"crossed from the start", {8, 7, 3, 2}, kAll, 40, {0, 0, 12, 10}},
      {"left and top only", {2, 2, 8, 7}, {psLeft, psTop}, 40, {0, 0, 12, 10}},
      {"bottom only, lines keep their length", {0, 0, 12, 6}, {psBottom}, 40, {0, 0, 12, 10}},
      {"far to the left, comes through later", {-1000, 3, -990, 6}, {psLeft}, 1100, {0, 0, 12, 10}},
      {"through a small clip", {1, 1, 11, 9}, kAll, 40, {3, 2, 9, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TMemoryCanvas expected = FakeCanvas(12, 10), target = FakeCanvas(12, 10);
    expected.SetClipRect(c.clip);
    target.SetClipRect(c.clip);
    TRect reference_work = c.rect;
    ReferenceRings(expected, reference_work, c.sides, cl3DLight, cl3DDkShadow, c.reference_rings);
    TRecordingCanvas actual(target);
    TRect work = c.rect;
    DrawRings(actual, work, c.sides, cl3DLight, cl3DDkShadow, INT32_MAX);
    EXPECT_EQ(Picture(target), Picture(expected));
    EXPECT_LT(actual.Count("LineTo"), 4 * 40) << "work bounded by the clip";
    EXPECT_EQ(actual.Pen.Color, cl3DDkShadow);
    const auto moved = [](std::int32_t edge, int by) { return ClampToInt32(std::int64_t{edge} + by); };
    EXPECT_EQ(work, (TRect{c.sides.Contains(psLeft) ? moved(c.rect.Left, INT32_MAX) : c.rect.Left,
                           c.sides.Contains(psTop) ? moved(c.rect.Top, INT32_MAX) : c.rect.Top,
                           c.sides.Contains(psRight) ? moved(c.rect.Right, -INT32_MAX) : c.rect.Right,
                           c.sides.Contains(psBottom) ? moved(c.rect.Bottom, -INT32_MAX) : c.rect.Bottom}));
  }
}

struct FrameCase {
  const char* what;
  TRect rect;
  TPanelSides sides;
  Rows picture;
  TRect adjusted;
};

template <class Frame>
void CheckFrame(const Frame& frame, const FrameCase& c) {
  SCOPED_TRACE(c.what);
  TMemoryCanvas canvas = FakeCanvas(static_cast<int>(c.picture[0].size()), static_cast<int>(c.picture.size()));
  canvas.Pen.Width = 0;
  canvas.Pen.Style = psClear;
  frame.Draw(canvas, c.rect, c.sides);
  EXPECT_EQ(Picture(canvas), c.picture);
  EXPECT_EQ(canvas.Pen.Style, psSolid);
  EXPECT_EQ(canvas.Pen.Width, 1);
  TRect adjusted = c.rect;
  frame.AdjustRect(adjusted, c.sides);
  EXPECT_EQ(adjusted, c.adjusted);
}

TEST(TPanelBorder, EveryStyleDrawsItsRingsAndTakesTheirRoom) {
  const struct {
    TPanelBorderStyle style;
    FrameCase c;
  } cases[] = {
      {bsFlat, {"flat", {0, 0, 10, 10}, kAll,
                {"DDDDDDDDDD", "D........D", "D........D", "D........D", "D........D",
                 "D........D", "D........D", "D........D", "D........D", "DDDDDDDDDD"}, {1, 1, 9, 9}}},
      {bsLowered, {"lowered, two rings fill the rectangle", {0, 0, 4, 4}, kAll,
                   {"SSSH", "SDLH", "SLLH", "HHHH"}, {2, 2, 2, 2}}},
      {bsLowered, {"lowered, away from the corner", {1, 1, 5, 5}, kAll,
                   {"......", ".SSSH.", ".SDLH.", ".SLLH.", ".HHHH.", "......"}, {3, 3, 3, 3}}},
      {bsRaised, {"raised", {0, 0, 6, 6}, kAll,
                  {"LLLLLD", "LHHHSD", "LH..SD", "LH..SD", "LSSSSD", "DDDDDD"}, {2, 2, 4, 4}}},
      {bsRaised, {"raised, bottom only", {0, 0, 10, 3}, {psBottom},
                  {"..........", "SSSSSSSSSS", "DDDDDDDDDD"}, {0, 0, 10, 1}}},
      {bsLowered, {"lowered, left and top: lines run to the far edges", {0, 0, 5, 4}, {psLeft, psTop},
                   {"SSSSS", "SDDDD", "SD...", "SD..."}, {2, 2, 5, 4}}},
      {bsRound, {"round, right only", {0, 0, 8, 2}, {psRight}, {"..LHFFSD", "..LHFFSD"}, {0, 0, 2, 2}}},
      {bsRound, {"round, all sides", {0, 0, 14, 14}, kAll,
                 {"HHHHHHHHHHHHHD", "HLLLLLLLLLLLSD", "HLFFFFFFFFFFSD", "HLFFFFFFFFFFSD", "HLFFSSSSSHFFSD",
                  "HLFFSDDDLHFFSD", "HLFFSD..LHFFSD", "HLFFSD..LHFFSD", "HLFFSLLLLHFFSD", "HLFFHHHHHHFFSD",
                  "HLFFFFFFFFFFSD", "HLFFFFFFFFFFSD", "HSSSSSSSSSSSSD", "DDDDDDDDDDDDDD"},
                 {6, 6, 8, 8}}},
      {bsNone, {"none", {0, 0, 3, 2}, kAll, {"...", "..."}, {0, 0, 3, 2}}},
      {bsRound, {"no sides", {0, 0, 3, 2}, {}, {"...", "..."}, {0, 0, 3, 2}}},
      {bsFlat, {"relative members alone are not drawn", {0, 0, 3, 2}, {psAlign, psNonAlignFirst},
                {"...", "..."}, {0, 0, 3, 2}}},
      {bsFlat, {"crossed: the ring still paints", {2, 2, 1, 1}, kAll, {"D.D", "...", "D.D"}, {3, 3, 0, 0}}},
  };
  for (const auto& [style, c] : cases) {
    TPanelBorder border;
    border.SetStyle(style);
    CheckFrame(border, c);
  }
}

TEST(TPanelBevel, BandsAndRingsLayerFromTheOutsideIn) {
  struct Settings {
    TPanelBevelStyle style;
    int depth, outer, inner;
  };
  const struct {
    Settings s;
    FrameCase c;
  } cases[] = {
      {{bvRaised, 1, 0, 0}, {"raised", {0, 0, 10, 10}, kAll,
                             {"HHHHHHHHHS", "H........S", "H........S", "H........S", "H........S",
                              "H........S", "H........S", "H........S", "H........S", "SSSSSSSSSS"},
                             {1, 1, 9, 9}}},
      {{bvNone, 1, 2, 3}, {"spaces alone", {0, 0, 12, 12}, kAll,
                           {"FFFFFFFFFFFF", "FFFFFFFFFFFF", "FFFFFFFFFFFF", "FFFFFFFFFFFF", "FFFFFFFFFFFF",
                            "FFFFF..FFFFF", "FFFFF..FFFFF", "FFFFFFFFFFFF", "FFFFFFFFFFFF", "FFFFFFFFFFFF",
                            "FFFFFFFFFFFF", "FFFFFFFFFFFF"},
                           {5, 5, 7, 7}}},
      {{bvGroove, 2, 1, 1}, {"groove: lowered rings, then raised", {0, 0, 14, 14}, kAll,
                             {"FFFFFFFFFFFFFF", "FSSSSSSSSSSSHF", "FSSSSSSSSSSHHF", "FSSHHHHHHHSHHF",
                              "FSSHHHHHHSSHHF", "FSSHHFFFFSSHHF", "FSSHHF..FSSHHF", "FSSHHF..FSSHHF",
                              "FSSHHFFFFSSHHF", "FSSHSSSSSSSHHF", "FSSSSSSSSSSHHF", "FSHHHHHHHHHHHF",
                              "FHHHHHHHHHHHHF", "FFFFFFFFFFFFFF"},
                             {6, 6, 8, 8}}},
      {{bvBump, 1, 1, 0}, {"bump, top only", {0, 0, 5, 4}, {psTop}, {"FFFFF", "HHHHH", "SSSSS", "....."},
                           {0, 3, 5, 4}}},
      {{bvLowered, 1, 1, 2}, {"left and bottom: each band on what the last one left", {0, 0, 6, 5},
                              {psLeft, psBottom}, {"FSFF..", "FSFFFF", "FSFFFF", "FHHHHH", "FFFFFF"},
                              {4, 0, 6, 1}}},
      {{bvFlatDkShadow, 1, 0, 0}, {"flat dark shadow", {0, 0, 3, 3}, kAll, {"DDD", "D.D", "DDD"}, {1, 1, 2, 2}}},
      {{bvFlatHiLight, 1, 0, 0}, {"flat highlight", {0, 0, 3, 3}, kAll, {"HHH", "H.H", "HHH"}, {1, 1, 2, 2}}},
      {{bvFlatShadow, 2, 0, 0}, {"flat shadow", {0, 0, 3, 1}, {psLeft}, {"SS."}, {2, 0, 3, 1}}},
      {{bvGroove, 3, 4, 5}, {"no sides", {0, 0, 3, 2}, {}, {"...", "..."}, {0, 0, 3, 2}}},
      {{bvLowered, -5, -3, -3}, {"values below their ranges count but paint nothing", {0, 0, 3, 2}, kAll,
                                 {"...", "..."}, {-11, -11, 14, 13}}},
  };
  for (const auto& [s, c] : cases) {
    TPanelBevel bevel;
    bevel.SetStyle(s.style);
    bevel.SetDepth(s.depth);
    bevel.SetSpaceOuter(s.outer);
    bevel.SetSpaceInner(s.inner);
    CheckFrame(bevel, c);
  }
}

TEST(TPanelBevel, LargestValuesNeitherOverflowNorTakeLong) {
  TPanelBevel bevel;
  bevel.SetStyle(bvGroove);
  bevel.SetDepth(INT32_MAX);
  bevel.SetSpaceOuter(INT32_MAX);
  bevel.SetSpaceInner(INT32_MAX);
  EXPECT_EQ(bevel.Extent(), 4 * std::int64_t{INT32_MAX});
  TRect rect{5, -5, 10, 10};
  bevel.AdjustRect(rect, kAll);
  EXPECT_EQ(rect, (TRect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}));

  TMemoryCanvas target = FakeCanvas(4, 3);
  TRecordingCanvas canvas(target);
  bevel.Draw(canvas, {0, 0, 4, 3}, kAll);
  EXPECT_EQ(Picture(target), (Rows{"FFFF", "FFFF", "FFFF"}));
  EXPECT_LT(canvas.Calls.size(), 20u);

  // Without the outer band the rings cross over, then run out of the canvas.
  bevel.SetSpaceOuter(0);
  bevel.SetStyle(bvRaised);
  TMemoryCanvas rings = FakeCanvas(4, 3);
  bevel.Draw(rings, {0, 0, 4, 3}, kAll);
  EXPECT_EQ(Picture(rings), (Rows{"HHHH", "SSSH", "SSSS"}));

  TPanelBorder border;
  border.SetStyle(bsRound);
  TRect edge{INT32_MAX - 2, INT32_MIN + 3, INT32_MIN + 1, INT32_MAX};
  border.AdjustRect(edge, kAll);
  EXPECT_EQ(edge, (TRect{INT32_MAX, INT32_MIN + 9, INT32_MIN, INT32_MAX - 6}));
}

TEST(FrameNotifications, OncePerEffectiveWriteAndPerAssignNothingOnAForeignSource) {
  TPanelBorder border;
  TPanelBevel bevel;
  EXPECT_EQ(border.Sides(), kAll);
  EXPECT_EQ(border.Style(), bsNone);
  EXPECT_EQ(bevel.Sides(), kAll);
  EXPECT_EQ(bevel.Style(), bvNone);
  EXPECT_EQ(bevel.Depth(), 1);
  EXPECT_EQ(bevel.SpaceOuter() + bevel.SpaceInner(), 0);
  EXPECT_EQ(Notifications(border, [&] { border.SetStyle(bsNone), border.SetSides(kAll); }), 0);
  EXPECT_EQ(Notifications(border, [&] { border.SetStyle(bsRaised), border.SetStyle(bsRaised); }), 1);
  EXPECT_EQ(Notifications(border, [&] { border.SetSides({psLeft}), border.SetSides({psLeft}); }), 1);
  EXPECT_EQ(Notifications(bevel, [&] { bevel.SetSides({psTop}), bevel.SetSides({psTop}); }), 1);
  EXPECT_EQ(Notifications(bevel, [&] { bevel.SetStyle(bvBump), bevel.SetStyle(bvBump); }), 1);
  EXPECT_EQ(Notifications(bevel, [&] { bevel.SetDepth(3), bevel.SetDepth(3); }), 1);
  EXPECT_EQ(Notifications(bevel, [&] { bevel.SetSpaceOuter(4), bevel.SetSpaceOuter(4); }), 1);
  EXPECT_EQ(Notifications(bevel, [&] { bevel.SetSpaceInner(5), bevel.SetSpaceInner(5); }), 1);

  struct TDerivedBorder : TPanelBorder {} derived;
  derived.Assign(border);
  EXPECT_EQ(Notifications(border, [&] { border.Assign(derived); }), 1) << "also when nothing differs";
  EXPECT_EQ(Notifications(border, [&] { border.Assign(TPanelBorder{}); }), 1);
  EXPECT_EQ(border.Style(), bsNone);
  EXPECT_EQ(border.Sides(), kAll);
  TPanelBevel copy;
  EXPECT_EQ(Notifications(copy, [&] { copy.Assign(bevel); }), 1);
  EXPECT_EQ(copy.Sides(), TPanelSides{psTop});
  EXPECT_EQ(copy.Style(), bvBump);
  EXPECT_EQ(copy.Depth(), 3);
  EXPECT_EQ(copy.SpaceOuter(), 4);
  EXPECT_EQ(copy.SpaceInner(), 5);

  EXPECT_EQ(Notifications(border, [&] { EXPECT_THROW(border.Assign(bevel), EConvertError); }), 0);
  EXPECT_EQ(Notifications(bevel, [&] { EXPECT_THROW(bevel.Assign(derived), EConvertError); }), 0);
  EXPECT_EQ(border.Style(), bsNone);
  EXPECT_EQ(bevel.Depth(), 3);
}

TEST(FrameStyleText, NamesReadBackAndNothingElseReads) {
  for (int v = bsNone; v <= bsFlat; ++v) {
    EXPECT_EQ(ParsePanelBorderStyle(ToString(TPanelBorderStyle(v))), TPanelBorderStyle(v));
  }
  for (int v = bvNone; v <= bvFlatDkShadow; ++v) {
    EXPECT_EQ(ParsePanelBevelStyle(ToString(TPanelBevelStyle(v))), TPanelBevelStyle(v));
  }
  EXPECT_EQ(ToString(bsRound), "bsRound");
  EXPECT_EQ(ToString(bvFlatHiLight), "bvFlatHiLight");
  EXPECT_THROW(ToString(TPanelBorderStyle(5)), EConvertError);
  EXPECT_THROW(ToString(TPanelBevelStyle(8)), EConvertError);
  for (const char* bad : {"", "bsnone", "bsNone ", "bvRaised", "3"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(ParsePanelBorderStyle(bad), EConvertError);
  }
  EXPECT_THROW(ParsePanelBevelStyle("bsRaised"), EConvertError);
}

}  // namespace
}  // namespace vexlan
