#include "components/advanced_panel.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/canvas_test_support.h"
#include "tests/support/fake_control.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;
using Rows = std::vector<std::string>;
using TestSimplePanel = SimplePanel<FakeControl>;
using TestPanel = AdvancedPanel<TestSimplePanel>;

TRect ContentOf(TestPanel& panel) {
  TRect r;
  panel.GetContentRect(r);
  return r;
}

TEST(AdvancedPanel, MadeWithoutALayoutHasARaisedOuterBevelOneRingDeep) {
  TestPanel panel(nullptr);
  EXPECT_EQ(panel.BoundsRect(), (TBounds{0, 0, 145, 145}));
  EXPECT_EQ(panel.ClassName(), "TCustomAdvancedPanel");
  EXPECT_EQ(DecorationsOf(panel), (DecorationState{.BevelOuter = {.Style = bvRaised}}));
  EXPECT_EQ(panel.Invalidations + panel.Realigns, 0) << "construction notifies nobody";
  EXPECT_EQ(ContentOf(panel), (TRect{1, 1, 144, 144}));
}

TEST(AdvancedPanel, ContentRectangleIsTheClientAreaLessTheFramesOnTheirResolvedSides) {
  const struct Case {
    const char* what;
    std::function<void(TestPanel&)> set;
    TRect content;
  } cases[] = {
      {"flat border and the raised bevel", [](TestPanel& p) { p.Border().SetStyle(bsFlat); }, {2, 2, 143, 143}},
      {"bevel on the aligned edge of a bottom bar",
       [](TestPanel& p) { p.SetAlign(alBottom), p.BevelOuter().SetSides({psAlign}); }, {0, 0, 145, 144}},
      {"the main form's bar: frames without sides",
       [](TestPanel& p) { p.BevelOuter().SetSides({}), p.BevelInner().SetSides({}), p.Border().SetSides({}); },
       {0, 0, 145, 145}},
      {"all three frames with spaces",
       [](TestPanel& p) {
         p.Border().SetStyle(bsRaised);
         p.BevelInner().SetStyle(bvGroove);
         p.BevelInner().SetSpaceOuter(3);
       },
       {8, 8, 137, 137}},
      {"a window border narrows the client area", [](TestPanel& p) { p.WindowBorder = 1; }, {1, 1, 142, 142}},
      {"frames wider than the panel cross over",
       [](TestPanel& p) { p.SetBounds(0, 0, 6, 6), p.Border().SetStyle(bsRound); }, {7, 7, -1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestPanel panel(nullptr);
    c.set(panel);
    EXPECT_EQ(ContentOf(panel), c.content);
  }
}

// The relative members resolve against the alignment the panel has at the
// moment of use.
TEST(AdvancedPanel, ResolvesSidesUnderItsCurrentAlignment) {
  const struct Case {
    TAlign align;
    TRect align_edge, opposite_edge;  // content with the outer bevel on [psAlign] / [psAlignOpposite]
  } cases[] = {
      {alNone, {0, 0, 145, 145}, {1, 1, 144, 144}},   {alTop, {0, 1, 145, 145}, {0, 0, 145, 144}},
      {alBottom, {0, 0, 145, 144}, {0, 1, 145, 145}}, {alLeft, {1, 0, 145, 145}, {0, 0, 144, 145}},
      {alRight, {0, 0, 144, 145}, {1, 0, 145, 145}},  {alClient, {1, 1, 144, 144}, {0, 0, 145, 145}},
  };
  TestPanel panel(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.align);
    panel.SetAlign(c.align);
    EXPECT_EQ(panel.ResolveSides({}), TPanelSides{});
    EXPECT_EQ(panel.ResolveSides({psLeft}), TPanelSides{psLeft});
    panel.BevelOuter().SetSides({psAlign});
    EXPECT_EQ(ContentOf(panel), c.align_edge);
    panel.BevelOuter().SetSides({psAlignOpposite});
    EXPECT_EQ(ContentOf(panel), c.opposite_edge);
  }
}

TEST(AdvancedPanel, AlignedChildrenSitInsideTheContentRectangle) {
  TestPanel panel(nullptr);
  panel.Border().SetStyle(bsRaised);
  panel.BevelInner().SetStyle(bvLowered);
  panel.BevelInner().SetSpaceOuter(2);  // content (6, 6, 139, 139)
  panel.Children = {{alTop, {0, 0, 1, 10}}, {alLeft, {0, 0, 20, 1}}, {alClient, {}}, {alNone, {1, 1, 2, 2}}};
  panel.Realign();
  EXPECT_EQ(panel.Children[0].Bounds, (TBounds{6, 6, 133, 10}));
  EXPECT_EQ(panel.Children[1].Bounds, (TBounds{6, 16, 20, 123}));
  EXPECT_EQ(panel.Children[2].Bounds, (TBounds{26, 16, 113, 123}));
  EXPECT_EQ(panel.Children[3].Bounds, (TBounds{1, 1, 2, 2}));

  // A decoration's change lays them out again and repaints once, even when
  // the values written are the ones it has (Assign).
  const int realigns = panel.Realigns, invalidations = panel.Invalidations;
  TPanelBorder same;
  same.SetStyle(bsRaised);
  panel.SetBorder(same);
  EXPECT_EQ(panel.Realigns - realigns, 1);
  EXPECT_EQ(panel.Invalidations - invalidations, 1);
  panel.Border().SetStyle(bsRound);  // 4 more on each side
  EXPECT_EQ(panel.Children[2].Bounds, (TBounds{30, 20, 105, 115}));

  // Frames wider than the panel leave the children no room.
  panel.SetBounds(0, 0, 10, 10);
  panel.Realign();
  for (const AlignedChild& child : {panel.Children[0], panel.Children[2]}) {
    EXPECT_EQ(child.Bounds.Width, 0);
  }

  TestSimplePanel simple(nullptr);  // no decorations: the whole client area
  simple.Children = {{alClient, {}}};
  simple.Realign();
  EXPECT_EQ(simple.Children[0].Bounds, (TBounds{0, 0, 145, 145}));
}

TEST(AdvancedPanel, SetContentSizeAddsWhatTheDecorationsTake) {
  TestPanel panel(nullptr);
  panel.SetBounds(7, 9, 50, 40);
  panel.BevelOuter().SetStyle(bvNone);
  panel.Border().SetStyle(bsRaised);  // 2 on each side: 4 per axis
  panel.SetContentSize(100, 20);
  EXPECT_EQ(panel.BoundsRect(), (TBounds{7, 9, 104, 24}));
  panel.SetContentSize(100, 20);
  EXPECT_EQ(panel.BoundsRect(), (TBounds{7, 9, 104, 24})) << "the current content size changes nothing";
}

TEST(AdvancedPanel, WindowPositionChangesInvalidateThenReportResizeExceptWhileLoading) {
  TestPanel panel(nullptr);
  int resizes = 0;
  panel.OnResize = [&](TObject* sender) {
    EXPECT_EQ(sender, &panel);
    EXPECT_EQ(panel.ToolkitHandled.back(), msg::kWindowPosChanged) << "after the toolkit";
    ++resizes;
  };
  auto send = [&](std::uint32_t number) {
    TMessage m{number, 0, 0, 0};
    panel.Dispatch(m);
    return m.Result;
  };
  panel.BeginLoading();
  send(msg::kWindowPosChanged);
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(panel.Invalidations, 1);
  panel.Loaded();
  send(msg::kWindowPosChanged);  // a move alike: the message does not say
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(panel.Invalidations, 2);
  panel.OnResize = nullptr;
  send(msg::kWindowPosChanged);

  send(msg::kSize);
  EXPECT_EQ(panel.Realigns, 0) << "a size change alone lays out nothing more than the toolkit does";
  EXPECT_EQ(send(msg::kEraseBkgnd), 1);
  EXPECT_EQ(panel.ToolkitHandled, (std::vector<std::uint32_t>{msg::kWindowPosChanged, msg::kWindowPosChanged,
                                                                msg::kWindowPosChanged, msg::kSize}));
  EXPECT_EQ(panel.DefaultHandled, std::vector<std::uint32_t>{}) << "the background is not erased";
}

// The frames paint from the outside in, each inside what the ones outside
// left, and the wallpaper the rest in the panel's colour (b). The dotted
// design outline shows only while designing with no frame style at all.
TEST(AdvancedPanel, PaintsFramesFromTheOutsideInAndTheWallpaperOnTheRest) {
  const struct Case {
    const char* what;
    std::function<void(TestPanel&)> set;
    Rows picture;
  } cases[] = {
      {"flat border, raised bevel, lowered inner bevel with a band",
       [](TestPanel& p) {
         p.Border().SetStyle(bsFlat);
         p.BevelInner().SetStyle(bvLowered);
         p.BevelInner().SetSpaceInner(1);
       },
       {"DDDDDDDDDDDD", "DHHHHHHHHHSD", "DHSSSSSSSHSD", "DHSFFFFFFHSD", "DHSFbbbbFHSD", "DHSFbbbbFHSD",
        "DHSFFFFFFHSD", "DHHHHHHHHHSD", "DSSSSSSSSSSD", "DDDDDDDDDDDD"}},
      {"bevel on the aligned edge of a bottom bar: the bottom edge only",
       [](TestPanel& p) { p.SetAlign(alBottom), p.BevelOuter().SetSides({psAlign}); },
       {"bbbbbb", "bbbbbb", "bbbbbb", "SSSSSS"}},
      {"designing, no frame style",
       [](TestPanel& p) { p.SetDesigning(true), p.BevelOuter().SetStyle(bvNone); },
       {"SbSbSS", "Sbbbbb", "bbbbbS", "SSbSbS"}},
      {"designing, a frame style without sides",
       [](TestPanel& p) { p.SetDesigning(true), p.BevelOuter().SetSides({}); }, Rows(4, "bbbbbb")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestPanel panel(nullptr);
    panel.ParentColorValue = kBackColor;
    const int width = static_cast<int>(c.picture[0].size()), height = static_cast<int>(c.picture.size());
    panel.SetBounds(0, 0, width, height);
    c.set(panel);
    TMemoryCanvas canvas = FakeCanvas(width, height);
    panel.PaintTo(canvas);
    EXPECT_EQ(Picture(canvas), c.picture);
  }
}

TEST(AdvancedPanel, LayoutSettingsAreWrittenThroughEachDecorationsProperty) {
  TBitmap picture;
  FillWithPositions(picture, 3, 2);
  const std::vector<std::uint8_t> file = picture.SaveToMemory();
  TestPanel panel(nullptr);
  panel.SetColor(clBlack);
  const AdvancedPanelSettings settings{.Border = {.Sides = {psTop}, .Style = bsRound},
                                      .BevelOuter = {.Sides = {}, .Style = bvBump, .Depth = 3, .SpaceOuter = 4},
                                      .BevelInner = {.Style = bvFlatShadow, .SpaceInner = 5},
                                      .Wallpaper = {.Style = wpCenter, .Bitmap = file}};
  WriteAdvancedPanelSettings(panel, settings);
  EXPECT_EQ(panel.Invalidations, 4) << "one change per decoration";
  EXPECT_TRUE(panel.ParentColor());
  EXPECT_EQ(DecorationsOf(panel), (DecorationState{settings.Border, settings.BevelOuter, settings.BevelInner,
                                                   wpCenter, true}));
  EXPECT_EQ(panel.Wallpaper().Bitmap().Pixel(2, 1), PositionPixel(2, 1));

  const std::uint8_t not_a_picture[] = {'B', 'M', 0, 0};
  EXPECT_THROW(WriteAdvancedPanelSettings(panel, {.Wallpaper = {.Bitmap = not_a_picture}}), EInvalidGraphic);
  EXPECT_EQ(panel.Wallpaper().Bitmap().Width(), 3) << "the wallpaper keeps its picture";
}

}  // namespace
}  // namespace vexlan
