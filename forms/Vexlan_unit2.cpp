#include "forms/Vexlan_unit2.h"

#include <utility>

#include "forms/core/Vexlan_unit2_layout.h"
#include "forms/layout_writers.h"
#include "platform/toolkit/win32/dialogs.h"
#include "winutil/ExtCntrlsUtils.h"
#include "winutil/handle_text.h"

namespace vexlan {

TForm2* Form2 = nullptr;

namespace {

constexpr PublishedMethod<TForm2> kMethods[] = {
    {"OnShow", &TForm2::OnShow},
    {"SetBtnClick", &TForm2::SetBtnClick},
    {"GetBtnClick", &TForm2::GetBtnClick},
};

}  // namespace

TForm2::TForm2(TComponent* owner, const PlatformContext& platform) : TForm(owner), platform_(platform) {
  ReadForm(Form2Layout());
  Label1 = &LayoutComponent<TLabel>(*this, "Label1");
  handle = &LayoutComponent<TLabel>(*this, "handle");
  Label2 = &LayoutComponent<TLabel>(*this, "Label2");
  textlength = &LayoutComponent<TLabel>(*this, "textlength");
  Edit1 = &LayoutComponent<TMemo>(*this, "Edit1");
  SetBtn = &LayoutComponent<TButton>(*this, "SetBtn");
  GetBtn = &LayoutComponent<TButton>(*this, "GetBtn");
  KeepLabelGaps();
}

void TForm2::ChangeScale(int to, int from) {
  TForm::ChangeScale(to, from);
  KeepLabelGaps();
}

void TForm2::KeepLabelGaps() {
  // None yet while the layout is read.
  if (!Label1 || !handle || !Label2 || !textlength) return;
  for (auto [caption, value] : {std::pair{Label1, handle}, std::pair{Label2, textlength}}) {
    const TBounds& c = caption->BoundsRect();
    const TBounds& v = value->BoundsRect();
    const int gap = ScaleValue(4, Dpi(), 96);
    if (v.Left < c.Left + c.Width + gap) value->SetBounds(c.Left + c.Width + gap, v.Top, v.Width, v.Height);
  }
}

TForm2::~TForm2() {
  if (Form2 == this) Form2 = nullptr;
}

TPublishedHandler TForm2::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

WindowHandle TForm2::Target() const { return HandleFromText(handle->Caption()); }

void TForm2::ShowLength() { textlength->SetCaption(IntToStr(Edit1->TextLength())); }

namespace {
constexpr char kNoAnswer[] = "The window did not answer in time.";
}  // namespace

void TForm2::SetTarget(WindowHandle wnd) {
  handle->SetCaption(IntToStr(wnd));
  if (Visible()) OnShow(this);
}

void TForm2::OnShow(TObject*) {
  const ControlText read = ReadControlText(platform_.Windows(), Target());
  // A time-out is no text: the memo keeps what it held, so that "Set Text"
  // cannot write an empty text over the window's real one.
  if (read.outcome == SendOutcome::kNotAnswered) {
    ShowMessage(kNoAnswer);
    return;
  }
  Edit1->SetText(read.text);
  ShowLength();
}

void TForm2::SetBtnClick(TObject*) {
  const std::string text = Edit1->Text();
  const SendOutcome written = SetControlText(platform_.Windows(), Target(), text);
  ShowLength();
  if (written == SendOutcome::kNotAnswered) ShowMessage(kNoAnswer);
}

void TForm2::GetBtnClick(TObject* Sender) { OnShow(Sender); }

}  // namespace vexlan
