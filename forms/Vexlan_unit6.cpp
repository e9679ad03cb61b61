#include "forms/Vexlan_unit6.h"

#include <algorithm>
#include <utility>

#include "forms/core/Vexlan_unit6_layout.h"
#include "forms/layout_writers.h"
#include "msglog/message_text.h"
#include "platform/toolkit/control_layout.h"
#include "platform/toolkit/win32/clipboard.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/dpi.h"
#include "platform/toolkit/win32/file_dialogs.h"

namespace vexlan {

namespace {

constexpr PublishedMethod<TForm6> kMethods[] = {
    {"StartStopBtnClick", &TForm6::StartStopBtnClick},
    {"ClearBtnClick", &TForm6::ClearBtnClick},
    {"CopyAllBtnClick", &TForm6::CopyAllBtnClick},
    {"SaveBtnClick", &TForm6::SaveBtnClick},
    {"ChildrenBoxClick", &TForm6::ChildrenBoxClick},
    {"FilterClick", &TForm6::FilterClick},
    {"Timer1Timer", &TForm6::Timer1Timer},
    {"FormClose", &TForm6::FormClose},
};

// Rows of the list that stay in view however small the window is made.
constexpr int kMinListRows = 5;
// Each new Messages window stands this far (at 96 DPI) below and right of
// the last, up to this many steps.
constexpr int kCascadeStep = 24;
constexpr int kCascadeSteps = 8;

std::vector<TForm6*>& Registry() {
  static std::vector<TForm6*> forms;
  return forms;
}

// The files every log uses, in Vexlan's own folder.
HookFiles& Files() {
  static HookFiles files(::GetModuleHandleW(nullptr), HookFiles::DefaultFolder());
  return files;
}

HWND WindowOf(WindowHandle wnd) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(wnd)); }

std::string Counted(std::size_t n, const char* one, const char* many) {
  return IntToStr(static_cast<std::int64_t>(n)) + " " + (n == 1 ? one : many);
}

}  // namespace

TForm6::TForm6(TComponent* owner) : TForm(owner) {
  ReadForm(Form6Layout());
  Panel1 = &LayoutComponent<TPanel>(*this, "Panel1");
  StartStopBtn = &LayoutComponent<TButton>(*this, "StartStopBtn");
  ClearBtn = &LayoutComponent<TButton>(*this, "ClearBtn");
  CopyAllBtn = &LayoutComponent<TButton>(*this, "CopyAllBtn");
  SaveBtn = &LayoutComponent<TButton>(*this, "SaveBtn");
  ChildrenBox = &LayoutComponent<TCheckBox>(*this, "ChildrenBox");
  CountLabel = &LayoutComponent<TLabel>(*this, "CountLabel");
  MouseBox = &LayoutComponent<TCheckBox>(*this, "MouseBox");
  KeyboardBox = &LayoutComponent<TCheckBox>(*this, "KeyboardBox");
  PaintingBox = &LayoutComponent<TCheckBox>(*this, "PaintingBox");
  WindowsBox = &LayoutComponent<TCheckBox>(*this, "WindowsBox");
  OtherBox = &LayoutComponent<TCheckBox>(*this, "OtherBox");
  ListView1 = &LayoutComponent<TListView>(*this, "ListView1");
  Timer1 = &LayoutComponent<TTimer>(*this, "Timer1");
  ListView1->OnGetText = [this](int row, int column) {
    return FieldText(store_, store_.ShownAt(static_cast<std::size_t>(row)), static_cast<LogField>(column));
  };
  Registry().push_back(this);
}

TForm6::~TForm6() {
  // Nothing reaches the records while they and the log go.
  Timer1->SetEnabled(false);
  ListView1->OnGetText = nullptr;
  log_.reset();
  std::erase(Registry(), this);
}

TPublishedHandler TForm6::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

std::optional<std::string> TForm6::Watch(WindowHandle wnd) {
  target_ = wnd;
  SetCaption("Messages - " + IntToStr(wnd));
  return StartLog();
}

std::optional<std::string> TForm6::StartLog() {
  auto started = MessageLog::Start(Files(), WindowOf(target_), {.children = ChildrenBox->Checked(), .helper = {}});
  if (const auto* error = std::get_if<WatchError>(&started)) return WatchFailureText(*error);
  log_ = std::move(std::get<0>(started));
  if (!clock_) clock_ = log_->Clock();
  stopped_because_.clear();
  Timer1->SetEnabled(true);
  StartStopBtn->SetCaption("&Stop");
  ShowCounts();
  return std::nullopt;
}

void TForm6::StopLog() {
  if (!log_) return;
  Timer1->SetEnabled(false);
  log_->Stop(drained_);
  Take(store_.size(), drained_.size());
  lost_ += log_->Lost();
  log_.reset();
  StartStopBtn->SetCaption("&Start");
  ShowCounts();
}

void TForm6::Take(std::size_t taken_before, std::size_t offered) {
  store_.Append(drained_, *clock_, namer_);
  // What the list had no room for is lost too, and said so.
  lost_ += offered - (store_.size() - taken_before);
  drained_.clear();
  ListView1->SetRowCount(static_cast<int>(store_.ShownCount()));
}

void TForm6::DrainNow() {
  if (!log_) return;
  log_->Drain(drained_);
  Take(store_.size(), drained_.size());
  if (!::IsWindow(WindowOf(target_))) {
    StopLog();
    stopped_because_ = "The window no longer exists.";
  } else if (store_.Full()) {
    StopLog();
    stopped_because_ = "The list is full: save it, or clear it to go on.";
  }
  ShowCounts();
}

std::uint64_t TForm6::Lost() const { return lost_ + (log_ ? log_->Lost() : 0) - lost_cleared_; }

std::string TForm6::CountText() const {
  std::string text = Counted(store_.size(), "record", "records") + ", " + IntToStr(static_cast<std::int64_t>(Lost())) +
                     " lost";
  if (store_.ShownCount() != store_.size()) text += ", " + IntToStr(static_cast<std::int64_t>(store_.ShownCount())) + " shown";
  if (!stopped_because_.empty()) text += ". " + stopped_because_;
  return text;
}

void TForm6::ShowCounts() {
  const std::string text = CountText();
  if (CountLabel->Caption() != text) CountLabel->SetCaption(text);
}

void TForm6::StartStopBtnClick(TObject*) {
  if (log_) {
    StopLog();
  } else if (const std::optional<std::string> why = StartLog()) {
    ShowMessage(*why);
  }
}

void TForm6::ClearBtnClick(TObject*) {
  DrainNow();
  store_.Clear();
  lost_cleared_ += Lost();
  ListView1->SetRowCount(0);
  ShowCounts();
}

void TForm6::CopyAllBtnClick(TObject*) {
  DrainNow();
  if (!CopyTextToClipboard(Handle(), LogText(store_, Lost()))) {
    ShowMessage("The clipboard is in use by another program. Try again.");
  }
}

void TForm6::SaveBtnClick(TObject*) {
  DrainNow();
  const std::optional<std::string> path =
      AskSaveFileName(Handle(), "Messages " + IntToStr(target_) + ".txt", "Text files", "txt");
  if (!path) return;
  if (const DWORD error = WriteTextFile(*path, LogText(store_, Lost()))) {
    ShowMessage("Vexlan could not write \"" + *path + "\" (error " + IntToStr(error) + ").");
  }
}

void TForm6::ChildrenBoxClick(TObject*) {
  if (log_) log_->SetChildren(ChildrenBox->Checked());
}

void TForm6::FilterClick(TObject*) {
  const std::pair<TCheckBox*, MessageGroup> boxes[] = {{MouseBox, MessageGroup::Mouse},
                                                       {KeyboardBox, MessageGroup::Keyboard},
                                                       {PaintingBox, MessageGroup::Painting},
                                                       {WindowsBox, MessageGroup::Windows},
                                                       {OtherBox, MessageGroup::Other}};
  for (const auto& [box, group] : boxes) store_.SetShown(group, box->Checked());
  ListView1->SetRowCount(static_cast<int>(store_.ShownCount()));
  ListView1->Invalidate();
  ShowCounts();
}

void TForm6::Timer1Timer(TObject*) { DrainNow(); }

void TForm6::FormClose(TObject*) {
  StopLog();
  store_.Clear();
  ListView1->SetRowCount(0);
}

bool TForm6::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TForm6> table[] = {{WM_GETMINMAXINFO, &TForm6::WMGetMinMaxInfo}};
  return DispatchTable(*this, table, message) || TForm::DispatchByNumber(message);
}

void TForm6::WMGetMinMaxInfo(TMessage& message) {
  DefaultHandler(message);
  if (!Panel1 || !HandleAllocated()) return;
  // The bar's buttons and boxes are never cut off (the count may be), and a
  // few rows of the list stay.
  int width = 0;
  for (const TWinControl* c : Panel1->Controls()) {
    if (c != CountLabel) width = std::max(width, c->BoundsRect().Left + c->BoundsRect().Width);
  }
  const int row = ScaleValue(18, Dpi(), kDesignDpi);
  const RECT client{0, 0, width + ScaleValue(4, Dpi(), kDesignDpi), Panel1->BoundsRect().Height + (kMinListRows + 1) * row};
  const RECT r = WindowRectForClient(client, static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_STYLE)),
                                     static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_EXSTYLE)), Dpi());
  auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, r.right - r.left);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, r.bottom - r.top);
}

const std::vector<TForm6*>& MessagesForms() { return Registry(); }

void WatchMessages(TComponent* owner, WindowHandle wnd) {
  std::vector<TForm6*> closed;
  for (TForm6* form : Registry()) {
    if (!form->Visible()) closed.push_back(form);
  }
  for (TForm6* form : closed) delete form;
  for (TForm6* form : Registry()) {
    if (form->Target() == wnd) {
      form->Show();
      return;
    }
  }
  auto* form = new TForm6(owner);
  if (const std::optional<std::string> why = form->Watch(wnd)) {
    delete form;
    ShowMessage(*why);
    return;
  }
  // Below and right of the last one, and whole on its monitor as far as it fits.
  const int step = ScaleValue(kCascadeStep, form->Dpi(), kDesignDpi) * static_cast<int>((Registry().size() - 1) % kCascadeSteps);
  const TBounds b = form->BoundsRect();
  const RECT wanted{b.Left + step, b.Top + step, b.Left + step + b.Width, b.Top + step + b.Height};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = std::min<int>(b.Width, work.right - work.left);
  const int height = std::min<int>(b.Height, work.bottom - work.top);
  form->SetBounds(std::max<int>(work.left, std::min<int>(wanted.left, work.right - width)),
                  std::max<int>(work.top, std::min<int>(wanted.top, work.bottom - height)), width, height);
  form->Show();
}

}  // namespace vexlan
