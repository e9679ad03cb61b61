#include "forms/Vexlan_unit7.h"

#include <algorithm>
#include <optional>

#include "forms/core/Vexlan_unit7_layout.h"
#include "forms/layout_writers.h"
#include "forms/tell_outcome.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/utf.h"
#include "winutil/ExtCntrlsUtils.h"
#include "winutil/change_input.h"
#include "winutil/control_pictures.h"

namespace vexlan {

TForm7* Form7 = nullptr;

namespace {

constexpr PublishedMethod<TForm7> kMethods[] = {
    {"OnShow", &TForm7::OnShow},
    {"ApplyBtnClick", &TForm7::ApplyBtnClick},
};

// A size the system gives in a rectangle, within 32 bits.
std::int64_t Extent(std::int32_t from, std::int32_t to) { return std::int64_t{to} - from; }

}  // namespace

TForm7::TForm7(TComponent* owner, const PlatformContext& platform) : TForm(owner), platform_(platform) {
  ReadForm(Form7Layout());
  Label1 = &LayoutComponent<TLabel>(*this, "Label1");
  handle = &LayoutComponent<TLabel>(*this, "handle");
  LeftLabel = &LayoutComponent<TLabel>(*this, "LeftLabel");
  LeftEdit = &LayoutComponent<TEdit>(*this, "LeftEdit");
  TopLabel = &LayoutComponent<TLabel>(*this, "TopLabel");
  TopEdit = &LayoutComponent<TEdit>(*this, "TopEdit");
  WidthLabel = &LayoutComponent<TLabel>(*this, "WidthLabel");
  WidthEdit = &LayoutComponent<TEdit>(*this, "WidthEdit");
  HeightLabel = &LayoutComponent<TLabel>(*this, "HeightLabel");
  HeightEdit = &LayoutComponent<TEdit>(*this, "HeightEdit");
  ApplyBtn = &LayoutComponent<TButton>(*this, "ApplyBtn");
}

TForm7::~TForm7() {
  if (Form7 == this) Form7 = nullptr;
}

TPublishedHandler TForm7::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

void TForm7::SetTarget(WindowHandle wnd) {
  target_ = wnd;
  if (Visible()) ReadTarget();
}

void TForm7::OnShow(TObject*) { ReadTarget(); }

void TForm7::ReadTarget() {
  const std::optional<WindowRecord> record = platform_.WindowFacts().Record(target_);
  handle->SetCaption(IntToStr(target_) + (record ? " [" + ControlPictures(Utf16ToUtf8(record->class_name)) + "]" : ""));
  if (!record) {
    for (TEdit* edit : {LeftEdit, TopEdit, WidthEdit, HeightEdit}) edit->SetText("");
    TellOutcome(Action::kChange, Outcome::kNoWindow);
    return;
  }
  const WindowRect& r = record->placement;
  LeftEdit->SetText(IntToStr(r.Left));
  TopEdit->SetText(IntToStr(r.Top));
  WidthEdit->SetText(IntToStr(Extent(r.Left, r.Right)));
  HeightEdit->SetText(IntToStr(Extent(r.Top, r.Bottom)));
}

void TForm7::ApplyBtnClick(TObject*) {
  const FieldValue<WindowPlace> place = ReadPlace(LeftEdit->Text(), TopEdit->Text(), WidthEdit->Text(), HeightEdit->Text());
  if (!place.value) {
    ShowMessage(place.error);
    return;
  }
  WindowChanger changer(platform_.Windows(), platform_.WindowFacts(), platform_.Changes(), ProgramChangeWorkers());
  TellOutcome(Action::kChange, changer.MoveAndSize(target_, *place.value));
}

}  // namespace vexlan
