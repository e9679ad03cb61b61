#include "forms/Vexlan_unit8.h"

#include <optional>

#include "forms/core/Vexlan_unit8_layout.h"
#include "forms/layout_writers.h"
#include "forms/tell_outcome.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/utf.h"
#include "winutil/ExtCntrlsUtils.h"
#include "winutil/change_input.h"
#include "winutil/control_pictures.h"

namespace vexlan {

TForm8* Form8 = nullptr;

namespace {

constexpr PublishedMethod<TForm8> kMethods[] = {
    {"OnShow", &TForm8::OnShow},
    {"ApplyBtnClick", &TForm8::ApplyBtnClick},
    {"RefreshBtnClick", &TForm8::RefreshBtnClick},
};

}  // namespace

TForm8::TForm8(TComponent* owner, const PlatformContext& platform) : TForm(owner), platform_(platform) {
  ReadForm(Form8Layout());
  Label1 = &LayoutComponent<TLabel>(*this, "Label1");
  handle = &LayoutComponent<TLabel>(*this, "handle");
  StyleLabel = &LayoutComponent<TLabel>(*this, "StyleLabel");
  StyleEdit = &LayoutComponent<TEdit>(*this, "StyleEdit");
  StyleList = &LayoutComponent<TCheckList>(*this, "StyleList");
  ExStyleLabel = &LayoutComponent<TLabel>(*this, "ExStyleLabel");
  ExStyleEdit = &LayoutComponent<TEdit>(*this, "ExStyleEdit");
  ExStyleList = &LayoutComponent<TCheckList>(*this, "ExStyleList");
  ApplyBtn = &LayoutComponent<TButton>(*this, "ApplyBtn");
  RefreshBtn = &LayoutComponent<TButton>(*this, "RefreshBtn");
  style_ = {StyleEdit, StyleList, false};
  ex_style_ = {ExStyleEdit, ExStyleList, true};
  for (Value* v : {&style_, &ex_style_}) {
    v->edit->OnChange = [this, v](TObject*) { Typed(*v); };
    v->list->OnCheck = [this, v](TObject*, int index) { Ticked(*v, index); };
  }
}

TForm8::~TForm8() {
  if (Form8 == this) Form8 = nullptr;
}

TPublishedHandler TForm8::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

void TForm8::SetTarget(WindowHandle wnd) {
  target_ = wnd;
  if (Visible()) ReadTarget();
}

void TForm8::OnShow(TObject*) { ReadTarget(); }

void TForm8::RefreshBtnClick(TObject*) { ReadTarget(); }

void TForm8::ReadTarget() {
  const std::optional<WindowRecord> record = platform_.WindowFacts().Record(target_);
  class_name_ = record ? Utf16ToUtf8(record->class_name) : std::string();
  handle->SetCaption(IntToStr(target_) + (record ? " [" + ControlPictures(class_name_) + "]" : ""));
  style_.read = style_.current = record ? record->style : 0;
  ex_style_.read = ex_style_.current = record ? record->ex_style : 0;
  for (Value* v : {&style_, &ex_style_}) ShowValue(*v, true);
  if (!record) TellOutcome(Action::kChange, Outcome::kNoWindow);
}

void TForm8::ShowValue(Value& v, bool to_field) {
  if (to_field) {
    writing_ = true;
    v.edit->SetText(HexValueText(v.current));
    writing_ = false;
  }
  v.rows = v.extended ? ExtendedStyleRows(v.current, v.read) : WindowStyleRows(v.current, class_name_, v.read);
  std::vector<TCheckList::Line> lines;
  for (const StyleRow& row : v.rows) {
    lines.push_back({StyleRowText(row), row.kind == StyleRow::kField ? std::nullopt : std::optional(row.checked)});
  }
  v.list->SetLines(std::move(lines));
}

void TForm8::Typed(Value& v) {
  if (writing_) return;
  // A value being typed may not read yet: the list waits for one that does.
  if (const FieldValue<std::uint32_t> typed = ReadHexValue("", v.edit->Text()); typed.value) {
    v.current = *typed.value;
    ShowValue(v, false);
  }
}

void TForm8::Ticked(Value& v, int index) {
  const auto& lines = v.list->Lines();
  if (index < 0 || static_cast<std::size_t>(index) >= v.rows.size() || !lines[static_cast<std::size_t>(index)].checked) {
    return;
  }
  v.current = WithRow(v.current, v.rows[static_cast<std::size_t>(index)], *lines[static_cast<std::size_t>(index)].checked);
  ShowValue(v, true);
}

void TForm8::ApplyBtnClick(TObject*) {
  const FieldValue<std::uint32_t> style = ReadHexValue("Style", StyleEdit->Text());
  const FieldValue<std::uint32_t> ex_style = ReadHexValue("Extended style", ExStyleEdit->Text());
  for (const FieldValue<std::uint32_t>* read : {&style, &ex_style}) {
    if (!read->value) {
      ShowMessage(read->error);
      return;
    }
  }
  WindowChanger changer(platform_.Windows(), platform_.WindowFacts(), platform_.Changes(), ProgramChangeWorkers());
  const Outcome outcome = changer.SetStyles(target_, *style.value, *ex_style.value);
  TellOutcome(Action::kChange, outcome);
  // What the window took, which may differ from what was asked.
  if (outcome == Outcome::kDone) ReadTarget();
}

}  // namespace vexlan
