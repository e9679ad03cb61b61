// The panel family on real windows: how its window is made and erased, its
// children inside the frames, teardown, failing paints, and the render
// command.
#include "components/win32/advanced_panel.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/std_controls.h"
#include "tests/support/canvas_test_support.h"
#include "tests/support/fake_control.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

constexpr TPixel kSentinel = 0x123456;

// A panel that counts the drawing calls its painting issues, or fails to
// paint when told to.
class ProbePanel : public TCustomAdvancedPanel {
 public:
  using TCustomAdvancedPanel::TCustomAdvancedPanel;
  int paints = 0;
  int drawing_calls = 0;
  bool fail = false;

 protected:
  void Paint(TCanvas& canvas) override {
    ++paints;
    if (fail) throw Exception("the picture cannot be drawn");
    TRecordingCanvas recording(canvas);
    TCustomAdvancedPanel::Paint(recording);
    drawing_calls += static_cast<int>(recording.Calls.size());
  }
};

// A visible form holding one panel of `Panel`'s kind at (10, 10), 200 x 100.
template <class Panel = TAdvancedPanel>
struct PanelOnForm {
  explicit PanelOnForm(TComponent* panel_owner = nullptr) {
    form->SetBounds(50, 50, 300, 200);
    panel = new Panel(panel_owner ? panel_owner : form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 200, 100);
    form->Show();
  }
  TRect Place(TWinControl& c) const {
    const RECT r = RectIn(c.Handle(), panel->Handle());
    return {r.left, r.top, r.right, r.bottom};
  }
  TApplication app;
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  Panel* panel;
};

TEST(AdvancedPanelWindow, IsNeverErasedNorRedrawnWholeByItsClass) {
  for (TWindowBorderStyle border : {wbsNone, wbsSingle}) {
    SCOPED_TRACE(border);
    TForm form(nullptr);
    auto* panel = new TAdvancedPanel(&form);
    panel->SetWindowBorderStyle(border);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 60, 40);
    const HWND hwnd = panel->Handle();
    EXPECT_EQ(WindowClass(hwnd), L"TAdvancedPanel");
    EXPECT_EQ(::GetClassLongPtrW(hwnd, GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), 0u);
    EXPECT_EQ((::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_BORDER) != 0, border == wbsSingle);
    EXPECT_EQ(panel->ClientRect().Width, border == wbsSingle ? 58 : 60);

    MemorySurface surface(8, 8, kSentinel);
    EXPECT_EQ(::SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.dc()), 0), 1);
    EXPECT_EQ(surface.CountOtherThan(kSentinel), 0);
  }
}

TEST(AdvancedPanelWindow, LaysAlignedChildrenInsideTheFramesAndReportsEveryMove) {
  PanelOnForm<> on;
  TAdvancedPanel& panel = *on.panel;
  panel.Border().SetStyle(bsRound);  // 6, and the outer bevel 1: content (7, 7, 193, 93)
  auto* top = new TButton(on.form.get());
  top->SetParent(&panel);
  top->SetBounds(0, 0, 10, 20);
  top->SetAlign(alTop);
  auto* rest = new TButton(on.form.get());
  rest->SetParent(&panel);
  rest->SetAlign(alClient);
  EXPECT_EQ(on.Place(*top), (TRect{7, 7, 193, 27}));
  EXPECT_EQ(on.Place(*rest), (TRect{7, 27, 193, 93}));

  panel.BevelInner().SetStyle(bvLowered);
  panel.BevelInner().SetSpaceOuter(2);
  EXPECT_EQ(on.Place(*rest), (TRect{10, 30, 190, 90})) << "a decoration's change lays them out again";

  int resizes = 0;
  panel.OnResize = [&](TObject*) { ++resizes; };
  panel.SetBounds(20, 15, 200, 100);  // moved, not resized
  EXPECT_EQ(resizes, 1);
  panel.SetBounds(20, 15, 220, 120);
  EXPECT_EQ(resizes, 2);
  EXPECT_EQ(on.Place(*rest), (TRect{10, 30, 210, 110}));
}

// The panel's owner destroys it after something made later: all of them are
// marked first, so a repaint, a decoration change or a move reaching the
// panel from that later thing's end does nothing.
TEST(AdvancedPanelWindow, NothingPaintsOrLaysOutOnceDestructionHasBegun) {
  TComponent owner(nullptr);
  PanelOnForm<ProbePanel> on(&owner);
  ProbePanel& panel = *on.panel;
  auto* child = new TButton(on.form.get());
  child->SetParent(&panel);
  child->SetAlign(alClient);
  ::UpdateWindow(panel.Handle());
  ASSERT_GT(panel.drawing_calls, 0);
  bool ran = false;
  new AtDestruction(&owner, [&] {
    ran = true;
    int resizes = 0;
    panel.OnResize = [&](TObject*) { ++resizes; };
    const int drawn = panel.drawing_calls;
    ::InvalidateRect(panel.Handle(), nullptr, TRUE);
    ::UpdateWindow(panel.Handle());
    panel.Border().SetStyle(bsRound);
    panel.SetBounds(30, 30, 150, 80);
    EXPECT_EQ(panel.drawing_calls, drawn);
    EXPECT_EQ(on.Place(*child), (TRect{1, 1, 199, 99})) << "the child stays where it was";
    EXPECT_EQ(resizes, 0);
    EXPECT_FALSE(::GetUpdateRect(panel.Handle(), nullptr, FALSE)) << "the paint was still taken";
  });
  owner.DestroyComponents();
  EXPECT_TRUE(ran);
}

// A failing paint is reported once, and each paint the system asks for is
// still taken: nothing is left invalid to ask for again.
TEST(AdvancedPanelWindow, FailingPaintIsReportedOnceAndNeverRepeatsByItself) {
  std::vector<std::string> reports;
  ScopedShowMessageHook hook([&](const std::string& text) { reports.push_back(text); });
  PanelOnForm<ProbePanel> on;
  ProbePanel& panel = *on.panel;
  panel.fail = true;
  for (int i = 0; i < 3; ++i) {
    panel.Invalidate();
    Settle(on.app, 100);
  }
  const int paints = panel.paints;
  EXPECT_GE(paints, 3);
  EXPECT_FALSE(::GetUpdateRect(panel.Handle(), nullptr, FALSE));
  Settle(on.app, 300);
  EXPECT_EQ(panel.paints, paints) << "paints keep coming by themselves";
  EXPECT_EQ(reports, std::vector<std::string>{"the picture cannot be drawn"});

  panel.fail = false;  // a good paint, then a failure is new again
  panel.Invalidate();
  Settle(on.app, 100);
  panel.fail = true;
  panel.Invalidate();
  Settle(on.app, 100);
  EXPECT_EQ(reports.size(), 2u);
}

// Runs the render command; its exit code, and what it wrote.
std::pair<int, std::string> RunRender(const std::string& arguments) {
  FILE* out = ::_popen((VEXLAN_PANEL_RENDER_EXE " " + arguments + " 2>&1").c_str(), "r");
  std::string text;
  for (int c; out && (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  return {out ? ::_pclose(out) : -1, text};
}

TEST(PanelRenderCommand, WritesThePanelsClientAreaOrEndsWithCodeTwo) {
  const auto [code, errors] =
      RunRender("panel_render_test.bmp Width=20 Height=10 Align=alBottom Border.Style=bsFlat BevelOuter.Style=bvNone");
  ASSERT_EQ(code, 0) << errors;
  TBitmap picture;
  picture.LoadFromFile("panel_render_test.bmp");
  ::DeleteFileW(L"panel_render_test.bmp");
  ASSERT_EQ(picture.Width(), 20);
  ASSERT_EQ(picture.Height(), 10);
  EXPECT_EQ(picture.Pixel(19, 9), RGBToPixel(::GetSysColor(COLOR_3DDKSHADOW)));
  EXPECT_EQ(picture.Pixel(1, 1), RGBToPixel(::GetSysColor(COLOR_BTNFACE))) << "the hidden form's colour";

  const struct {
    const char* arguments;
    const char* message;
  } wrong[] = {{"out.bmp Border.Colour=clRed", "Unknown property 'Border.Colour'"},
               {"out.bmp Wallpaper.Bitmap=no-such-file.bmp", "Cannot open file \"no-such-file.bmp\""}};
  for (const auto& w : wrong) {
    SCOPED_TRACE(w.message);
    const auto [wrong_code, message] = RunRender(w.arguments);
    EXPECT_EQ(wrong_code, 2);
    EXPECT_NE(message.find(w.message), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace vexlan
