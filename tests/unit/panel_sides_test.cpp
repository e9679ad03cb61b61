#include "components/panel_sides.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/toolkit/sysutils.h"

namespace vexlan {
namespace {

TEST(ResolvePanelSides, AddsTheRealEdgesOfRelativeMembers) {
  const struct Case {
    const char* what;
    TPanelSides in;
    TAlign align;
    TPanelSides out;
  } cases[] = {
      {"aligned edge of an unaligned panel: none", {psAlign}, alNone, {psAlign}},
      {"opposite of an unaligned panel: all four", {psAlignOpposite}, alNone,
       {psAlignOpposite, psLeft, psRight, psTop, psBottom}},
      {"aligned edge of a client panel: all four", {psAlign}, alClient, {psAlign, psLeft, psRight, psTop, psBottom}},
      {"opposite of a client panel: none", {psAlignOpposite}, alClient, {psAlignOpposite}},
      {"opposite of a bottom panel", {psAlignOpposite}, alBottom, {psAlignOpposite, psTop}},
      {"neighbours of a left panel", {psNonAlignPrev, psNonAlignNext}, alLeft,
       {psNonAlignPrev, psNonAlignNext, psBottom, psTop}},
      {"an edge already present", {psLeft, psAlign}, alLeft, {psLeft, psAlign}},
      {"across a right panel", {psNonAlignFirst, psNonAlignLast}, alRight,
       {psNonAlignFirst, psNonAlignLast, psTop, psBottom}},
      {"alignment outside the enumeration", {psAlign, psAlignOpposite}, static_cast<TAlign>(7),
       {psAlign, psAlignOpposite}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ResolvePanelSides(c.in, c.align), c.out) << ToString(ResolvePanelSides(c.in, c.align));
  }
  for (int a = alNone; a <= alClient; ++a) {
    SCOPED_TRACE(a);
    EXPECT_EQ(ResolvePanelSides({}, TAlign(a)), TPanelSides{});
    EXPECT_EQ(ResolvePanelSides({psLeft}, TAlign(a)), TPanelSides{psLeft});
  }
}

// The relative members follow the geometry of an edge-aligned panel: going
// clockwise round the screen, top, right, bottom, left.
TEST(ResolvePanelSides, RelativeMembersFollowTheAlignedEdgeRoundTheRectangle) {
  const TPanelSide clockwise[] = {psTop, psRight, psBottom, psLeft};
  const struct {
    TAlign align;
    int edge;  // index into clockwise
  } aligned[] = {{alTop, 0}, {alRight, 1}, {alBottom, 2}, {alLeft, 3}};
  auto added = [](TPanelSide member, TAlign align) {
    return TPanelSides::FromBits(ResolvePanelSides({member}, align).Bits() & ~member);
  };
  for (const auto& a : aligned) {
    SCOPED_TRACE(a.align);
    EXPECT_EQ(added(psAlign, a.align), TPanelSides{clockwise[a.edge]});
    EXPECT_EQ(added(psAlignOpposite, a.align), TPanelSides{clockwise[(a.edge + 2) % 4]});
    EXPECT_EQ(added(psNonAlignNext, a.align), TPanelSides{clockwise[(a.edge + 1) % 4]});
    EXPECT_EQ(added(psNonAlignPrev, a.align), TPanelSides{clockwise[(a.edge + 3) % 4]});
    const bool horizontal_bar = a.align == alTop || a.align == alBottom;
    EXPECT_EQ(added(psNonAlignFirst, a.align), TPanelSides{horizontal_bar ? psLeft : psTop});
    EXPECT_EQ(added(psNonAlignLast, a.align), TPanelSides{horizontal_bar ? psRight : psBottom});
  }
}

TEST(PanelSidesText, PrintsMemberNamesAndReadsThemBack) {
  EXPECT_EQ(ToString(TPanelSides{}), "[]");
  EXPECT_EQ(ToString(TPanelSides{psTop, psLeft}), "[psLeft,psTop]");
  EXPECT_EQ(ToString(TPanelSides::FromBits(0xFFFF)),
            "[psLeft,psRight,psTop,psBottom,psAlign,psAlignOpposite,psNonAlignFirst,psNonAlignLast,"
            "psNonAlignPrev,psNonAlignNext]");
  EXPECT_EQ(ParsePanelSides("[ psBottom , psAlign ]"), (TPanelSides{psAlign, psBottom}));
  EXPECT_EQ(ParsePanelSides("[ ]"), TPanelSides{});
  for (unsigned bits = 0; bits < 1024; ++bits) {
    const TPanelSides sides = TPanelSides::FromBits(static_cast<std::uint16_t>(bits));
    ASSERT_EQ(ParsePanelSides(ToString(sides)), sides) << ToString(sides);
  }
}

TEST(PanelSidesText, RejectsAnythingButABracketedListOfDistinctNames) {
  const char* bad[] = {"",         "[",         "]",          "psLeft",        "[psLeft",
                       "[psleft]", "[psLeft,]", "[,psLeft]",  "[psLeft,,psTop]", "[psLeft psTop]",
                       "[psLeft,psLeft]", " []", "[]\n",      "[psLeft;psTop]", "[\tpsLeft]"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ParsePanelSides(text), EConvertError);
  }
}

}  // namespace
}  // namespace vexlan
