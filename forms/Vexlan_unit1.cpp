#include "forms/Vexlan_unit1.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/Vexlan_unit2.h"
#include "forms/Vexlan_unit3.h"
#include "forms/Vexlan_unit4.h"
#include "forms/Vexlan_unit5.h"
#include "forms/Vexlan_unit6.h"
#include "forms/core/Vexlan_unit1_layout.h"
#include "forms/layout_writers.h"
#include "forms/tell_outcome.h"
#include "platform/toolkit/win32/clipboard.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/dpi.h"
#include "platform/win32/win32_window_services.h"
#include "winutil/ExtCntrlsUtils.h"
#include "winutil/control_pictures.h"
#include "winutil/handle_text.h"
#include "winutil/window_tree.h"
#include "platform/clock.h"

namespace vexlan {

TForm1* Form1 = nullptr;
TNodeRegister NodeList;
const int& NodeCount = NodeList.Count();

namespace {

constexpr PublishedMethod<TForm1> kMethods[] = {
    {"OnInit", &TForm1::OnInit},
    {"RefreshBtnClick", &TForm1::RefreshBtnClick},
    {"OnlyShownMenuItem1Click", &TForm1::OnlyShownMenuItem1Click},
    {"FindBtnClick", &TForm1::FindBtnClick},
    {"SearchBtnClick", &TForm1::SearchBtnClick},
    {"ShowHandleBtnClick", &TForm1::ShowHandleBtnClick},
    {"ExitBtnClick", &TForm1::ExitBtnClick},
    {"SendClick1Click", &TForm1::SendClick1Click},
    {"SendRightClick1Click", &TForm1::SendRightClick1Click},
    {"EditViewText1Click", &TForm1::EditViewText1Click},
    {"Showwindow1Click", &TForm1::Showwindow1Click},
    {"Hidewindow1Click", &TForm1::Hidewindow1Click},
    {"Highlight1Click", &TForm1::Highlight1Click},
    {"MakePathString1Click", &TForm1::MakePathString1Click},
    {"Properties1Click", &TForm1::Properties1Click},
    {"Watchmessages1Click", &TForm1::Watchmessages1Click},
    {"Closewindow1Click", &TForm1::Closewindow1Click},
    {"Copytree1Click", &TForm1::Copytree1Click},
    {"Keepplaceonrefresh1Click", &TForm1::Keepplaceonrefresh1Click},
    {"Livetree1Click", &TForm1::Livetree1Click},
    {"Enabled1Click", &TForm1::Enabled1Click},
    {"Alwaysontop1Click", &TForm1::Alwaysontop1Click},
    {"Bringtofront1Click", &TForm1::Bringtofront1Click},
    {"Moveandsize1Click", &TForm1::Moveandsize1Click},
    {"Styles1Click", &TForm1::Styles1Click},
};

}  // namespace

TForm1::TForm1(TComponent* owner, const PlatformContext& platform) : TForm(owner), platform_(platform) {
  ReadForm(Form1Layout());
  TreeView1 = &LayoutComponent<TTreeView>(*this, "TreeView1");
  AdvancedPanel1 = &LayoutComponent<TAdvancedPanel>(*this, "AdvancedPanel1");
  RefreshBtn = &LayoutComponent<TButton>(*this, "RefreshBtn");
  FindBtn = &LayoutComponent<TButton>(*this, "FindBtn");
  SearchBtn = &LayoutComponent<TButton>(*this, "SearchBtn");
  ExitBtn = &LayoutComponent<TButton>(*this, "ExitBtn");
  handle = &LayoutComponent<TEdit>(*this, "handle");
  ShowHandleBtn = &LayoutComponent<TButton>(*this, "ShowHandleBtn");
  PopupMenu1 = &LayoutComponent<TPopupMenu>(*this, "PopupMenu1");
  SendLeftClick1 = &LayoutComponent<TMenuItem>(*this, "SendLeftClick1");
  SendRightClick1 = &LayoutComponent<TMenuItem>(*this, "SendRightClick1");
  EditViewText1 = &LayoutComponent<TMenuItem>(*this, "EditViewText1");
  Showwindow1 = &LayoutComponent<TMenuItem>(*this, "Showwindow1");
  Hidewindow1 = &LayoutComponent<TMenuItem>(*this, "Hidewindow1");
  Highlight1 = &LayoutComponent<TMenuItem>(*this, "Highlight1");
  MakePathString1 = &LayoutComponent<TMenuItem>(*this, "MakePathString1");
  Onlyshownwindows1 = &LayoutComponent<TMenuItem>(*this, "Onlyshownwindows1");
  Properties1 = &LayoutComponent<TMenuItem>(*this, "Properties1");
  Watchmessages1 = &LayoutComponent<TMenuItem>(*this, "Watchmessages1");
  Closewindow1 = &LayoutComponent<TMenuItem>(*this, "Closewindow1");
  Copytree1 = &LayoutComponent<TMenuItem>(*this, "Copytree1");
  Keepplaceonrefresh1 = &LayoutComponent<TMenuItem>(*this, "Keepplaceonrefresh1");
  Livetree1 = &LayoutComponent<TMenuItem>(*this, "Livetree1");
  Change1 = &LayoutComponent<TMenuItem>(*this, "Change1");
  Enabled1 = &LayoutComponent<TMenuItem>(*this, "Enabled1");
  Alwaysontop1 = &LayoutComponent<TMenuItem>(*this, "Alwaysontop1");
  Bringtofront1 = &LayoutComponent<TMenuItem>(*this, "Bringtofront1");
  Moveandsize1 = &LayoutComponent<TMenuItem>(*this, "Moveandsize1");
  Styles1 = &LayoutComponent<TMenuItem>(*this, "Styles1");
  PopupMenu1->OnPopup = [this](TObject*) { ShowChangeState(); };
  // However the tree's nodes go, the register goes first.
  NodeList.Attach(TreeView1);
  live_timer_.SetEnabled(false);
  live_timer_.OnTimer = [this](TObject*) { LiveStep(); };
  // The properties dialog, while shown, follows the selection to any node.
  TreeView1->OnChange = [this](TObject*) {
    if (Form5 && Form5->Visible()) {
      if (const WindowHandle wnd = SelectedHandle()) Form5->SetTarget(wnd);
    }
  };
  // Enter in the handle box shows that handle; elsewhere it keeps its meaning.
  handle->OnKeyPress = [this](TObject*, char16_t& key) {
    if (key != u'\r') return;
    key = 0;
    ShowHandleBtn->Click();
  };
}

TForm1::~TForm1() {
  StopLive();
  NodeList.Attach(nullptr);
  if (Form1 == this) Form1 = nullptr;
}

TPublishedHandler TForm1::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

void TForm1::OnInit(TObject* Sender) { RefreshBtnClick(Sender); }

namespace {
// Holds the tree's painting for a scope, however the scope is left.
class UpdateScope {
 public:
  explicit UpdateScope(TTreeNodes& nodes) : nodes_(nodes) { nodes_.BeginUpdate(); }
  ~UpdateScope() { nodes_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TTreeNodes& nodes_;
};
}  // namespace

void TForm1::RefreshBtnClick(TObject*) {
  const WindowHandle first = Windows().TopWindow();
  TTreeNodes& nodes = TreeView1->Items();
  UpdateScope frozen(nodes);
  const bool keep = Keepplaceonrefresh1->Checked() || Livetree1->Checked();
  const std::optional<TNodeRegister::Place> place = keep ? std::optional(NodeList.CurrentPlace()) : std::nullopt;
  nodes.Clear();  // and with the nodes the register
  AddWindows(first, TreeView1->TopItem());
  if (place) NodeList.ReturnTo(*place);
  if (live_) live_->Rebuilt();
}

void TForm1::AddWindows(WindowHandle first, TTreeNode* parent) {
  WalkOptions options;
  options.only_shown = Onlyshownwindows1->Checked();
  // The live tree tells windows apart by their threads too.
  if (live_) options.identity = WalkOptions::Identity::kEvery;
  WindowWalk walk(Windows(), first, std::move(options));
  walk.Continue();
  TTreeNodes& nodes = TreeView1->Items();
  UpdateScope frozen(nodes);
  if (!parent && NodeCount == 0) {
    NodeList.Rebuild(walk.Rows());
    return;
  }
  // Each window of the run, with its subtree, after the parent's last child.
  const WindowHandle under = TNodeRegister::WindowOf(parent);
  const std::vector<WindowRow>& rows = walk.Rows();
  std::vector<TreeChange> changes;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t end = i + 1;
    while (end < rows.size() && rows[end].parent >= 0) ++end;
    std::vector<WindowRow> subtree(rows.begin() + static_cast<std::ptrdiff_t>(i),
                                   rows.begin() + static_cast<std::ptrdiff_t>(end));
    for (WindowRow& row : subtree) row.parent = row.parent < 0 ? -1 : row.parent - static_cast<int>(i);
    const std::vector<WindowHandle>& run = NodeList.Model().Children(under);
    changes.push_back(TreeChange::Added(under, run.empty() ? 0 : run.back(), std::move(subtree)));
    NodeList.Model().Apply(changes.back());
    i = end;
  }
  NodeList.Show(changes);
}

WindowHandle TForm1::SelectedHandle() const { return TNodeRegister::WindowOf(TreeView1->Selected()); }

void TForm1::OnlyShownMenuItem1Click(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender)) item->SetChecked(!item->Checked());
  if (live_) live_->SetOnlyShown(Onlyshownwindows1->Checked());
  RefreshBtnClick(Sender);
}

void TForm1::Keepplaceonrefresh1Click(TObject*) { Keepplaceonrefresh1->SetChecked(!Keepplaceonrefresh1->Checked()); }

void TForm1::Livetree1Click(TObject*) {
  Livetree1->SetChecked(!Livetree1->Checked());
  if (Livetree1->Checked()) {
    StartLive();
  } else {
    StopLive();
  }
}

void TForm1::StartLive() {
  if (live_) return;
  live_ = std::make_unique<LiveTree>(NodeList.Model(), Windows(), SteadyClock(), work_meter_);
  live_->SetOnlyShown(Onlyshownwindows1->Checked());
  // Without events the periodic walk alone keeps the tree live.
  live_watch_ = platform_.WindowEvents().Watch([this](const WindowEvent& event) {
    if (!live_) return;
    const bool idle = live_->Marked() == 0;
    live_->Mark(event);
    if (idle) ScheduleLive();
  });
  ScheduleLive();
}

void TForm1::StopLive() {
  live_timer_.SetEnabled(false);
  if (live_watch_) platform_.WindowEvents().Unwatch(live_watch_);
  live_watch_ = 0;
  live_.reset();
}

void TForm1::ScheduleLive() {
  if (!live_) return;
  // A timer's first tick comes after its interval at the soonest: a step
  // due now still lets the messages waiting go first.
  const std::int64_t wait = live_->DueAtMs() - SteadyClock().NowMs();
  live_timer_.SetEnabled(false);
  live_timer_.SetInterval(static_cast<unsigned>(std::clamp<std::int64_t>(wait, 1, 60'000)));
  live_timer_.SetEnabled(true);
}

void TForm1::LiveStep() {
  live_timer_.SetEnabled(false);
  if (!live_) return;
  NodeList.Show(live_->Step());
  ScheduleLive();
}

void TForm1::FindBtnClick(TObject*) {
  if (Form3) Form3->Show();
}

void TForm1::SearchBtnClick(TObject*) {
  if (Form4) Form4->Show();
}

void TForm1::ShowHandleBtnClick(TObject*) {
  const std::string text = handle->Text();
  if (text.empty() || text == "Handle") {
    ShowMessage("No handle entered.");
    return;
  }
  if (!Findnodebyhandle(HandleFromText(text))) ShowMessage("Handle not found.");
}

bool TForm1::Findnodebyhandle(WindowHandle wnd) { return SelectRow(NodeList.Model().FindByHandle(wnd)); }

bool TForm1::Findnodebyname(const std::string& text) {
  return SelectRow(NodeList.Model().FindByName(text, [this](WindowHandle w) { return IsOwnWindow(w); }));
}

bool TForm1::Findnodebyclass(const std::string& text) {
  return SelectRow(NodeList.Model().FindByClass(text, [this](WindowHandle w) { return IsOwnWindow(w); }));
}

bool TForm1::FindNextNode(const WindowQuery& query) {
  const WindowTreeModel& model = NodeList.Model();
  return SelectRow(model.FindNext(model.IndexOf(SelectedHandle()), query,
                                  [this](WindowHandle w) { return IsOwnWindow(w); }));
}

bool TForm1::SelectRow(std::optional<int> row) {
  if (!row || *row >= NodeCount) return false;
  TTreeNode* node = NodeList[static_cast<std::size_t>(*row)].Node;
  if (!node) return false;
  node->MakeVisible();
  TreeView1->SetSelected(node);
  // The focus would pull a hidden form to the front: a caller that hid it
  // shows it again itself.
  if (Visible()) TreeView1->SetFocus();
  return true;
}

void TForm1::ExitBtnClick(TObject*) { Close(); }

WindowHandle TForm1::TargetOrSay() const {
  const WindowHandle wnd = SelectedHandle();
  if (wnd == 0) ShowMessage("No window is selected.");
  return wnd;
}

void TForm1::SendClick1Click(TObject*) {
  if (const WindowHandle wnd = TargetOrSay()) {
    TellOutcome(Action::kClick,
                keyboard_.Act(wnd, [&] { return SendLeftClick(Windows(), platform_.Posting(), wnd); }));
  }
}

void TForm1::SendRightClick1Click(TObject*) {
  if (const WindowHandle wnd = TargetOrSay()) {
    TellOutcome(Action::kClick,
                keyboard_.Act(wnd, [&] { return SendRightClick(Windows(), platform_.Posting(), wnd); }));
  }
}

void TForm1::EditViewText1Click(TObject*) {
  const WindowHandle wnd = TargetOrSay();
  if (wnd == 0 || !Form2) return;
  Form2->SetTarget(wnd);
  Form2->Show();
}

void TForm1::Showwindow1Click(TObject*) {
  if (const WindowHandle wnd = TargetOrSay()) {
    TellOutcome(Action::kShowOrHide, ShowOrHideWindow(Windows(), platform_.ShowHide(), wnd, true));
  }
}

void TForm1::Hidewindow1Click(TObject*) {
  if (const WindowHandle wnd = TargetOrSay()) {
    TellOutcome(Action::kShowOrHide, ShowOrHideWindow(Windows(), platform_.ShowHide(), wnd, false));
  }
}

void TForm1::Closewindow1Click(TObject* Sender) {
  const WindowHandle wnd = TargetOrSay();
  if (wnd == 0) return;
  if (HandleAllocated() && wnd == FromHwnd(BoundWindow())) {
    ExitBtnClick(Sender);
    return;
  }
  // A control takes WM_CLOSE as an order to destroy itself; our forms take
  // it as their close box.
  if (Windows().OnCallerThread(wnd) && !TForm::FromWindow(ToHwnd(wnd))) {
    ShowMessage("This window is part of Vexlan and closes with it.");
    return;
  }
  TellOutcome(Action::kClose, CloseWindow(Windows(), platform_.Posting(), wnd));
}

void TForm1::Highlight1Click(TObject*) {
  const WindowHandle wnd = TargetOrSay();
  if (wnd != 0 && !highlight_.Flash(ToHwnd(wnd))) ShowMessage("The window is not on the screen.");
}

void TForm1::MakePathString1Click(TObject*) {
  const TTreeNode* node = TreeView1->Selected();
  if (!node) {
    ShowMessage("No window is selected.");
    return;
  }
  ShowMessage("PathString is: \"" + BuildPathString(node) + "\".");
}

std::string TForm1::BuildPathString(const TTreeNode* node) const {
  return NodeList.Model().PathString(TNodeRegister::WindowOf(node));
}

void TForm1::Properties1Click(TObject*) {
  const WindowHandle wnd = TargetOrSay();
  if (wnd == 0 || !Form5) return;
  Form5->SetTarget(wnd);
  Form5->Show();
}

void TForm1::Copytree1Click(TObject*) { CopyText(NodeList.Model().TreeText()); }

void TForm1::Watchmessages1Click(TObject*) {
  if (const WindowHandle wnd = TargetOrSay()) WatchMessages(Owner() ? Owner() : this, wnd);
}

void TForm1::CopyText(const std::string& text) {
  if (!CopyTextToClipboard(BoundWindow(), text)) ShowMessage("Nothing was copied: another program holds the clipboard.");
}

bool TForm1::IsShortCut(const MSG& msg) {
  // Taken before it is translated: no WM_SYSCHAR follows, so no beep.
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == TreeView1->BoundWindow()) {
    Properties1Click(this);
    return true;
  }
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.wParam == VK_F5) {
    RefreshBtnClick(this);
    return true;
  }
  if (msg.wParam == VK_F3 && Form4) {
    Form4->FindNextOrAsk();
    return true;
  }
  // Only in the tree: in the handle box Ctrl+C copies the box's text. Ctrl
  // with Alt is AltGr, which types.
  if (msg.wParam != 'C' || msg.hwnd != TreeView1->BoundWindow() || ::GetKeyState(VK_CONTROL) >= 0 ||
      ::GetKeyState(VK_MENU) < 0) {
    return false;
  }
  if (::GetKeyState(VK_SHIFT) < 0) {
    Copytree1Click(this);
  } else if (const TTreeNode* node = TreeView1->Selected()) {
    CopyText(ControlPictures(node->Text()));
  }
  return true;
}

bool TForm1::DispatchByNumber(TMessage& message) {
  static const MessageHandler<TForm1> table[] = {{WM_GETMINMAXINFO, &TForm1::WMGetMinMaxInfo}};
  return DispatchTable(*this, table, message) || TForm::DispatchByNumber(message);
}

void TForm1::WMGetMinMaxInfo(TMessage& message) {
  DefaultHandler(message);
  if (!AdvancedPanel1 || !TreeView1 || !HandleAllocated() || !TreeView1->HandleAllocated()) return;
  std::vector<TBounds> bar;
  for (const TWinControl* c : AdvancedPanel1->Controls()) bar.push_back(c->BoundsRect());
  const int row = static_cast<int>(::SendMessageW(TreeView1->BoundWindow(), TVM_GETITEMHEIGHT, 0, 0));
  const TClientSize least = MinimumClientSize(bar, AdvancedPanel1->BoundsRect().Height, row);
  // The frame as it is at the window's DPI, not the system's.
  const RECT r = WindowRectForClient(RECT{0, 0, least.Width, least.Height},
                                     static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_STYLE)),
                                     static_cast<DWORD>(::GetWindowLongPtrW(BoundWindow(), GWL_EXSTYLE)), Dpi());
  auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, r.right - r.left);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, r.bottom - r.top);
}

}  // namespace vexlan
