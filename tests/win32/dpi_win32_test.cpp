// The forms at their monitor's DPI: every control where its 96-DPI layout
// puts it, scaled; text that is never cut; a font that draws every script.
// The suite runs twice, in a prefix at 96 DPI and in one at 144
// (scripts/test.sh); VEXLAN_TEST_DPI names the DPI the prefix was given.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit2.h"
#include "forms/Vexlan_unit3.h"
#include "forms/Vexlan_unit4.h"
#include "forms/core/Vexlan_unit1_layout.h"
#include "forms/core/Vexlan_unit2_layout.h"
#include "forms/core/Vexlan_unit3_layout.h"
#include "forms/core/Vexlan_unit4_layout.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dpi.h"
#include "platform/utf.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

struct FormUnderTest {
  TForm* form;
  const FormLayout& layout;
  TBounds client;  // at 96 DPI
};

class DpiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    app_->CreateForm(Form1);
    app_->CreateForm(Form2);
    app_->CreateForm(Form3);
    app_->CreateForm(Form4);
    dpi_ = DpiOfWindow(Form1->Handle());
  }
  std::vector<FormUnderTest> Forms() const {
    return {{Form1, Form1Layout(), {0, 0, 495, 462}},
            {Form2, Form2Layout(), {0, 0, 293, 150}},
            {Form3, Form3Layout(), {0, 0, 387, 123}},
            {Form4, Form4Layout(), {0, 0, 351, 132}}};
  }
  std::unique_ptr<TApplication> app_;
  int dpi_ = 96;
};

// The text's extent in the control's own font.
SIZE TextExtent(HWND control, const std::string& text) {
  const std::u16string wide = Utf8ToUtf16(text);
  const HDC dc = ::GetDC(control);
  const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(wide.c_str()), static_cast<int>(wide.size()), &r,
              DT_CALCRECT | DT_SINGLELINE);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return {r.right - r.left, r.bottom - r.top};
}

void ExpectWithinAPixel(const RECT& actual, const TBounds& expected, bool check_left, bool check_right,
                        bool check_bottom) {
  if (check_left) {
    EXPECT_NEAR(actual.left, expected.Left, 1);
  }
  EXPECT_NEAR(actual.top, expected.Top, 1);
  if (check_right) {
    EXPECT_NEAR(actual.right, expected.Left + expected.Width, 1);
  }
  if (check_bottom) {
    EXPECT_NEAR(actual.bottom, expected.Top + expected.Height, 1);
  }
}

TEST_F(DpiTest, FormsAndControlsStandWhereTheirLayoutSaysScaledToTheDpi) {
  if (const char* expected = std::getenv("VEXLAN_TEST_DPI")) {
    ASSERT_EQ(dpi_, std::atoi(expected));
  }
  for (const FormUnderTest& f : Forms()) {
    SCOPED_TRACE(f.form->ClassName() + " at " + std::to_string(dpi_));
    for (const ComponentLayout& row : f.layout.Components) {
      auto* control = dynamic_cast<TWinControl*>(f.form->FindComponent(std::string(row.Name)));
      if (!control || row.Align != alNone) continue;
      SCOPED_TRACE(row.Name);
      const HWND parent = control->Parent()->Handle();
      const RECT actual = RectIn(control->Handle(), parent);
      const TBounds expected = ScaleBounds(row.Bounds, dpi_, kDesignDpi);
      // A label fits its text, from the edge its alignment anchors; a wider
      // caption may push the value after it to the right.
      const auto* label = dynamic_cast<TLabel*>(control);
      const bool fits = label && label->AutoSize();
      ExpectWithinAPixel(actual, expected, !fits, !fits || (label->Alignment() == taRightJustify && actual.left > 0),
                         !fits);
      if (fits && label->Alignment() == taLeftJustify) {
        EXPECT_GE(actual.left, expected.Left - 1);
      }
    }
    // The client area is the layout's, scaled, unless a label's text needs more.
    RECT client{};
    ::GetClientRect(f.form->Handle(), &client);
    const TBounds scaled = ScaleBounds(f.client, dpi_, kDesignDpi);
    EXPECT_NEAR(client.bottom, scaled.Height, 1);
    EXPECT_GE(client.right, scaled.Width - 1);
    if (client.right > scaled.Width + 1) {
      int widest = 0;
      for (const TWinControl* c : f.form->Controls()) widest = std::max(widest, c->BoundsRect().Left + c->BoundsRect().Width);
      EXPECT_GT(widest, scaled.Width) << "grew without need";
    }
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f.form->Controls().front()->Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, ScaleValue(-11, dpi_, kDesignDpi));
  }
  // The tree and the bar share the main form: the bar keeps its scaled height.
  const RECT bar = RectIn(Form1->AdvancedPanel1->Handle(), Form1->Handle());
  const RECT tree = RectIn(Form1->TreeView1->Handle(), Form1->Handle());
  EXPECT_NEAR(bar.bottom - bar.top, ScaleValue(27, dpi_, kDesignDpi), 1);
  EXPECT_EQ(tree.bottom, bar.top);
  EXPECT_EQ(::SendMessageW(Form1->TreeView1->Handle(), TVM_GETINDENT, 0, 0), ScaleValue(19, dpi_, kDesignDpi));
}

TEST_F(DpiTest, NoTextIsCut) {
  for (const FormUnderTest& f : Forms()) {
    for (const ComponentLayout& row : f.layout.Components) {
      auto* control = dynamic_cast<TWinControl*>(f.form->FindComponent(std::string(row.Name)));
      if (!control) continue;
      const bool button = dynamic_cast<TButton*>(control) != nullptr;
      const bool label = dynamic_cast<TLabel*>(control) != nullptr;
      if (!button && !label) continue;
      SCOPED_TRACE(f.form->ClassName() + "." + std::string(row.Name));
      std::string text = control->Text();
      std::erase(text, '&');
      const SIZE extent = TextExtent(control->Handle(), text);
      RECT inside{};
      ::GetClientRect(control->Handle(), &inside);
      // A push button draws a frame and a focus rectangle inside its edge.
      const int margin = button ? ScaleValue(3, dpi_, kDesignDpi) : 0;
      EXPECT_LE(extent.cx + 2 * margin, inside.right);
      EXPECT_LE(extent.cy, inside.bottom);
      // And the control itself lies wholly inside what holds it.
      RECT holder{};
      ::GetClientRect(control->Parent()->Handle(), &holder);
      const RECT place = RectIn(control->Handle(), control->Parent()->Handle());
      EXPECT_GE(place.left, 0);
      EXPECT_GE(place.top, 0);
      EXPECT_LE(place.right, holder.right);
      EXPECT_LE(place.bottom, holder.bottom);
    }
  }
  // The handle box shows a whole line of its font.
  TEXTMETRICW metrics{};
  const HDC dc = ::GetDC(Form1->handle->Handle());
  ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(Form1->handle->Handle(), WM_GETFONT, 0, 0)));
  ::GetTextMetricsW(dc, &metrics);
  ::ReleaseDC(Form1->handle->Handle(), dc);
  RECT box{};
  ::GetClientRect(Form1->handle->Handle(), &box);
  EXPECT_LE(metrics.tmHeight, box.bottom);
}

// A monitor of another DPI: the system tells the form, with a rectangle.
TEST_F(DpiTest, AChangeOfDpiScalesTheFormAndTakesTheSuggestedPlace) {
  // A quarter more: the larger window still fits the screen.
  const int to = dpi_ * 5 / 4;
  struct Case {
    TForm* form;
    TWinControl* control;
  };
  for (const Case& c : {Case{Form1, Form1->ShowHandleBtn}, Case{Form4, Form4->SearchBtn}}) {
    TForm* form = c.form;
    SCOPED_TRACE(form->ClassName());
    const RECT before = RectIn(c.control->Handle(), c.control->Parent()->Handle());
    RECT suggested{};
    ::GetWindowRect(form->Handle(), &suggested);
    suggested.right = suggested.left + (suggested.right - suggested.left) * 5 / 4;
    suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 5 / 4;
    ::SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    ::GetWindowRect(form->Handle(), &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested));
    EXPECT_EQ(form->Dpi(), to);
    const RECT after = RectIn(c.control->Handle(), c.control->Parent()->Handle());
    const TBounds expected = ScaleBounds({before.left, before.top, before.right - before.left,
                                          before.bottom - before.top}, to, dpi_);
    ExpectWithinAPixel(after, expected, true, true, true);
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(c.control->Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, ScaleValue(-11, to, kDesignDpi));
  }
  EXPECT_NEAR(::SendMessageW(Form1->TreeView1->Handle(), TVM_GETINDENT, 0, 0), ScaleValue(19, to, kDesignDpi), 1);
  for (const auto& [which, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}}) {  // reloaded, not stretched
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(::SendMessageW(Form1->Handle(), WM_GETICON, which, 0)), &info));
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    EXPECT_EQ(bitmap.bmWidth, ScaleValue(size, to, kDesignDpi));
  }
}

// The layout's client area and outer place, scaled, around a thicker frame too.
TEST_F(DpiTest, TheMainFormsClientAreaIsTheLayoutsWhateverTheFrame) {
  const RECT before = RectIn(Form1->Handle(), HWND_DESKTOP);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  metrics.iBorderWidth += 6;
  ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  SetUp();
  metrics.iBorderWidth -= 6;
  ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const RECT outer = RectIn(Form1->Handle(), HWND_DESKTOP);
  const TBounds client = Form1->ClientRect();
  EXPECT_GT(outer.right, before.right) << "the frame is no thicker";
  EXPECT_EQ((TBounds{outer.left, outer.top, client.Width, client.Height}),
            ScaleBounds({192, 109, 495, 462}, dpi_, kDesignDpi));
}

// Glyphs for each script in the face the tree really draws with, or in a
// face it is linked to.
bool DrawsAll(const std::wstring& face, int height, const std::wstring& sample) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(lf.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  const HFONT font = ::CreateFontIndirectW(&lf);
  const HDC dc = ::GetDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, font);
  std::vector<WORD> glyphs(sample.size());
  const DWORD got = ::GetGlyphIndicesW(dc, sample.c_str(), static_cast<int>(sample.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(font);
  if (got == GDI_ERROR) return false;
  for (WORD g : glyphs) {
    if (g == 0xFFFF) return false;
  }
  return true;
}

// A value under HKLM\Software\Microsoft\Windows NT\CurrentVersion\...,
// with its strings' zeros kept; empty when there is none.
std::vector<wchar_t> FontSetting(const wchar_t* key_name, const std::wstring& value) {
  std::vector<wchar_t> data(8192, L'\0');
  HKEY key = nullptr;
  const std::wstring path = std::wstring(L"Software\\Microsoft\\Windows NT\\CurrentVersion\\") + key_name;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  DWORD size = static_cast<DWORD>((data.size() - 2) * sizeof(wchar_t));
  const LONG found =
      ::RegQueryValueExW(key, value.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
  ::RegCloseKey(key);
  return found == ERROR_SUCCESS ? data : std::vector<wchar_t>{};
}

// The faces that draw for `face`: itself or its substitute, then the faces
// it is linked to.
std::vector<std::wstring> DrawingFaces(const std::wstring& face) {
  std::vector<std::wstring> faces{face};
  if (const auto substitute = FontSetting(L"FontSubstitutes", face); !substitute.empty()) {
    faces.push_back(substitute.data());
  }
  for (std::size_t i = 0, n = faces.size(); i < n; ++i) {
    const auto data = FontSetting(L"FontLink\\SystemLink", faces[i]);
    if (data.empty()) continue;
    for (const wchar_t* entry = data.data(); *entry; entry += wcslen(entry) + 1) {
      const std::wstring link = entry;  // "file,face"
      if (const auto comma = link.find(L','); comma != std::wstring::npos) faces.push_back(link.substr(comma + 1));
    }
  }
  return faces;
}

TEST_F(DpiTest, TheTreesFontIsNoRasterFontAndDrawsEveryScript) {
  const HWND tree = Form1->TreeView1->Handle();
  const HDC dc = ::GetDC(tree);
  ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(tree, WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = {};
  ::GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::ReleaseDC(tree, dc);
  EXPECT_TRUE(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) << "a raster font: " << Utf16ToUtf8(
      std::u16string(reinterpret_cast<const char16_t*>(face)));
  const std::vector<std::wstring> faces = DrawingFaces(face);
  struct Script {
    const char* name;
    std::wstring sample;
  };
  const Script scripts[] = {{"Latin with accents", L"Grüße, Ñandú"}, {"Greek", L"Ελληνικά"},
                            {"Cyrillic", L"Русский"},                {"Hebrew", L"עברית"},
                            {"Chinese", L"中文窗口"},                {"Japanese", L"日本語のウィンドウ"}};
  for (const Script& s : scripts) {
    SCOPED_TRACE(s.name);
    bool drawn = false;
    for (const std::wstring& f : faces) drawn = drawn || DrawsAll(f, metrics.tmHeight, s.sample);
    EXPECT_TRUE(drawn) << "none of the " << faces.size() << " faces drawing for "
                       << Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(face))) << " has the glyphs";
  }
}

}  // namespace
}  // namespace vexlan
