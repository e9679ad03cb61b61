// The main form's "Change" submenu: what it does to the selected window.
#include <optional>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit7.h"
#include "forms/Vexlan_unit8.h"
#include "forms/tell_outcome.h"

namespace vexlan {

WindowChanger TForm1::Changer() const {
  return WindowChanger(Windows(), platform_.WindowFacts(), platform_.Changes(), ProgramChangeWorkers());
}

void TForm1::ShowChangeState() {
  const WindowHandle wnd = SelectedHandle();
  const std::optional<WindowRecord> record = wnd ? platform_.WindowFacts().Record(wnd) : std::nullopt;
  Enabled1->SetChecked(record && record->enabled);
  Alwaysontop1->SetChecked(record && (record->ex_style & kWsExTopMost));
  Alwaysontop1->SetEnabled(!record || !(record->style & kWsChild));
}

void TForm1::Enabled1Click(TObject*) {
  const WindowHandle wnd = TargetOrSay();
  if (wnd == 0) return;
  const std::optional<WindowRecord> record = platform_.WindowFacts().Record(wnd);
  TellOutcome(Action::kChange, record ? Changer().SetEnabled(wnd, !record->enabled) : Outcome::kNoWindow);
}

void TForm1::Alwaysontop1Click(TObject*) {
  const WindowHandle wnd = TargetOrSay();
  if (wnd == 0) return;
  const std::optional<WindowRecord> record = platform_.WindowFacts().Record(wnd);
  TellOutcome(Action::kChange,
              record ? Changer().SetTopmost(wnd, !(record->ex_style & kWsExTopMost)) : Outcome::kNoWindow);
}

void TForm1::Bringtofront1Click(TObject*) {
  if (const WindowHandle wnd = TargetOrSay()) TellOutcome(Action::kChange, Changer().BringToFront(wnd));
}

namespace {

// Opens a change dialog on the window, which must be one Vexlan may change.
template <class Dialog>
void OpenOn(WindowHandle wnd, WindowChanger changer, Dialog* dialog) {
  if (wnd == 0 || !dialog) return;
  if (const Outcome may = changer.MayChange(wnd); may != Outcome::kDone) return TellOutcome(Action::kChange, may);
  dialog->SetTarget(wnd);
  dialog->Show();
}

}  // namespace

void TForm1::Moveandsize1Click(TObject*) { OpenOn(TargetOrSay(), Changer(), Form7); }

void TForm1::Styles1Click(TObject*) { OpenOn(TargetOrSay(), Changer(), Form8); }

}  // namespace vexlan
