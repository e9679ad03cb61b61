#include "forms/Vexlan_unit2.h"

#include <utility>

#include "forms/core/Vexlan_unit2_layout.h"
#include "forms/layout_writers.h"
#include "forms/tell_outcome.h"
#include "platform/toolkit/win32/dialogs.h"
#include "winutil/ExtCntrlsUtils.h"
#include "winutil/text_to_show.h"

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

void TForm2::ShowLength() {
  const std::string shown = IntToStr(Edit1->TextLength());
  textlength->SetCaption(shortened_ ? "showing " + shown + " of " + IntToStr(read_units_) : shown);
}

void TForm2::SetTarget(WindowHandle wnd) {
  target_ = wnd;
  handle->SetCaption(IntToStr(wnd));
  if (Visible()) ReadTarget();
}

void TForm2::OnShow(TObject*) { ReadTarget(); }

void TForm2::GetBtnClick(TObject*) { ReadTarget(); }

void TForm2::ReadTarget() {
  // Reading and showing share the one ceiling.
  const Deadline ceiling(SteadyClock(), kRoutineCeilingMs);
  const ControlText read = ReadControlText(platform_.Windows(), target_);
  // Whatever the memo held belonged to the window read before, or to none.
  read_from_ = 0;
  shortened_ = false;
  if (read.outcome != Outcome::kDone) {
    Edit1->SetText("");
    ShowLength();
    TellOutcome(Action::kReadText, read.outcome);
    return;
  }
  const TextToShow shown = ShortenToShow(read.text, ceiling.LeftMs());
  Edit1->SetText(shown.text);
  read_from_ = target_;
  shortened_ = shown.shortened;
  read_units_ = shown.total_units;
  ShowLength();
}

void TForm2::SetBtnClick(TObject*) {
  if (!IsWindowHandle(platform_.Windows(), target_)) {
    TellOutcome(Action::kWriteText, Outcome::kNoWindow);
    return;
  }
  if (read_from_ != target_) {
    ShowMessage("The text shown was not read from this window. Press Get Text first.");
    return;
  }
  if (shortened_) {
    ShowMessage("Vexlan does not write back a text it shows shortened.");
    return;
  }
  const Outcome written = SetControlText(platform_.Windows(), target_, Edit1->Text());
  ShowLength();
  TellOutcome(Action::kWriteText, written);
}

}  // namespace vexlan
