// The main form: the tree of the desktop's windows with its pop-up menu, and
// the bottom bar of buttons and the handle box.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "components/win32/advanced_panel.h"
#include "forms/keyboard_keeper.h"
#include "forms/node_register.h"
#include "platform/platform_context.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/menus.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/toolkit/win32/timer.h"
#include "platform/toolkit/win32/tree_view.h"
#include "platform/window_services.h"
#include "winutil/live_tree.h"
#include "winutil/ExtCntrlsUtils.h"
#include "winutil/tree_model.h"
#include "winutil/win32/highlight_frame.h"
#include "winutil/win32/thread_work_meter.h"

namespace vexlan {

// The node register of the main form's tree (see TNodeRegister).
extern TNodeRegister NodeList;
// How many entries NodeList holds.
extern const int& NodeCount;

class TForm1 : public TForm {
 public:
  // The form reaches other programs' windows through `platform`.
  explicit TForm1(TComponent* owner, const PlatformContext& platform = Platform());
  // The register's nodes go with the tree.
  ~TForm1() override;

  std::string ClassName() const override { return "TForm1"; }
  TPublishedHandler FindMethod(std::string_view name) override;
  WindowServices& Windows() const { return platform_.Windows(); }

  // The controls, as the layout made them (the form owns them).
  TTreeView* TreeView1 = nullptr;
  TAdvancedPanel* AdvancedPanel1 = nullptr;
  TButton* RefreshBtn = nullptr;
  TButton* FindBtn = nullptr;
  TButton* SearchBtn = nullptr;
  TButton* ExitBtn = nullptr;
  TEdit* handle = nullptr;
  TButton* ShowHandleBtn = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* SendLeftClick1 = nullptr;
  TMenuItem* SendRightClick1 = nullptr;
  TMenuItem* EditViewText1 = nullptr;
  TMenuItem* Showwindow1 = nullptr;
  TMenuItem* Hidewindow1 = nullptr;
  TMenuItem* Highlight1 = nullptr;
  TMenuItem* MakePathString1 = nullptr;
  TMenuItem* Onlyshownwindows1 = nullptr;
  TMenuItem* Properties1 = nullptr;
  TMenuItem* Closewindow1 = nullptr;
  TMenuItem* Copytree1 = nullptr;
  TMenuItem* Keepplaceonrefresh1 = nullptr;
  TMenuItem* Livetree1 = nullptr;
  TMenuItem* Watchmessages1 = nullptr;
  // The "Change" submenu.
  TMenuItem* Change1 = nullptr;
  TMenuItem* Enabled1 = nullptr;
  TMenuItem* Alwaysontop1 = nullptr;
  TMenuItem* Bringtofront1 = nullptr;
  TMenuItem* Moveandsize1 = nullptr;
  TMenuItem* Styles1 = nullptr;

  // The form's creation handler: builds the tree before the form is first shown.
  void OnInit(TObject* Sender);
  // Rebuilds the tree and the register from scratch, top-level windows as
  // roots; redrawing is suspended during the fill and the tree repaints once.
  // Nothing is selected or expanded afterwards, unless "Keep place on
  // refresh" or "Live tree" is checked: then the nodes of the windows whose
  // nodes were expanded are expanded again, the node shown at the top stays
  // there and the selected window's node is selected again and kept in
  // view, each window matched by its handle and left out when it is no
  // longer listed.
  void RefreshBtnClick(TObject* Sender);
  // Adds `first`, its following siblings and their descendants under
  // `parent` (roots when nullptr), registering each node.
  void AddWindows(WindowHandle first, TTreeNode* parent);
  // The handle of the selected node (the one its node carries); 0 when no
  // node is selected.
  WindowHandle SelectedHandle() const;
  // Find a window's node in the register, first match in build order: by
  // handle; by a text contained in its caption; by a text contained in its
  // class name (see WindowTreeModel). A match is revealed (every ancestor
  // expanded, scrolled into view) and selected, and the tree gets the focus,
  // which activates the form; while the form is hidden the node is revealed
  // and selected but the focus stays where it is. True when a node was found;
  // no match changes nothing. By caption and class, Vexlan's own windows
  // (its process's) are passed over: the text typed into a search field
  // must not find that field. A handle finds any window.
  bool Findnodebyhandle(WindowHandle wnd);
  bool Findnodebyname(const std::string& text);
  bool Findnodebyclass(const std::string& text);
  // Selects, as the lookups do, the next window after the selected node in
  // tree order, wrapping around, that matches every field of `query`,
  // Vexlan's own windows passed over unless a handle is given (see
  // WindowTreeModel::FindNext). False, changing nothing, when no other
  // window matches.
  bool FindNextNode(const WindowQuery& query);
  // Flips the "only shown windows" filter (the Sender's check mark) and rebuilds.
  void OnlyShownMenuItem1Click(TObject* Sender);
  // Flips "Keep place on refresh" (the Sender's check mark); see RefreshBtnClick.
  void Keepplaceonrefresh1Click(TObject* Sender);
  // Flips "Live tree". While it is checked the tree follows the desktop
  // (see LiveTree): the platform's window events, looked at a quarter of a
  // second after they come, and a periodic walk of everything, at most 5%
  // of one core, whose changes are shown node by node.
  void Livetree1Click(TObject* Sender);
  // The live tree while "Live tree" is checked, else nullptr.
  const LiveTree* Live() const { return live_.get(); }
  void FindBtnClick(TObject* Sender);
  void SearchBtnClick(TObject* Sender);
  // Selects the node of the handle typed into the bar: "No handle entered."
  // for an empty box (or the prompt "Handle"), "Handle not found." when the
  // register has no such window; text that is no decimal handle is an error
  // for the application's handler, and nothing is searched.
  void ShowHandleBtnClick(TObject* Sender);
  // Closes the main form, which ends the program.
  void ExitBtnClick(TObject* Sender);

  // The pop-up menu's actions on the selected node's window. With no node
  // selected they act on nothing and say "No window is selected."; what
  // became of an action is told in the words of OutcomeText.
  // A left click (right click) at the window's client point (0, 0), posted
  // to it alone; see SendLeftClick. On one of Vexlan's own windows it runs
  // after the menu's handler has returned. The keyboard stays with Vexlan
  // (see TKeyboardKeeper).
  void SendClick1Click(TObject* Sender);
  void SendRightClick1Click(TObject* Sender);
  // The window becomes the text dialog's target, then the dialog is shown
  // (a dialog shown already reads its new target at once).
  void EditViewText1Click(TObject* Sender);
  // Shown or hidden in place, no longer always on top; see ShowOrHideWindow.
  // Vexlan's own windows are left alone ("Vexlan does not show or hide its
  // own windows."): hidden, its main window, tree or bar would strand it.
  void Showwindow1Click(TObject* Sender);
  void Hidewindow1Click(TObject* Sender);
  // Flashes the highlight frame around the window and returns at once; "The
  // window is not on the screen." for one that is hidden, minimized or
  // without area.
  void Highlight1Click(TObject* Sender);
  // Posts WM_CLOSE to the window (CloseWindow), never waiting on it. On the main form it
  // is "Exit"; the windows of Vexlan's thread that are no form (its
  // controls, its hidden windows) are not closed, and the user is told so.
  void Closewindow1Click(TObject* Sender);
  // "PathString is: "..."." for the selected node.
  void MakePathString1Click(TObject* Sender);
  // The chain of sibling numbers from the node's top-level window down to
  // it, as "n1n3"; empty for a top-level window's node or no node.
  std::string BuildPathString(const TTreeNode* node) const;
  // The Window Properties dialog shown on the window (also Alt+Enter in the
  // tree); while it is shown it follows the tree's selection.
  void Properties1Click(TObject* Sender);
  // The whole tree as text on the clipboard (see TreeText).
  void Copytree1Click(TObject* Sender);
  // The Messages window of the window: its log of the messages the window
  // handles (see forms/Vexlan_unit6.h).
  void Watchmessages1Click(TObject* Sender);

  // The "Change" submenu (forms/Vexlan_unit1_change.cpp), on the selected
  // node's window, through WindowChanger: never waiting on the window past
  // the time-out, refusing Vexlan's own windows ("Vexlan does not change its
  // own windows."), what became of each told in the words of OutcomeText.
  // "Enabled" and "Always on top" flip the state the window has when chosen
  // (their check marks show it when the menu opens; a child window cannot
  // be always on top). "Bring to front" activates a top-level window and
  // raises a child among its siblings. The two others open the Move and
  // Size and the Styles dialogs on the window.
  void Enabled1Click(TObject* Sender);
  void Alwaysontop1Click(TObject* Sender);
  void Bringtofront1Click(TObject* Sender);
  void Moveandsize1Click(TObject* Sender);
  void Styles1Click(TObject* Sender);

  // F5 rebuilds the tree wherever the focus is in the form, and F3 is the
  // Search List's "Find Next" (with its fields all empty it opens the
  // dialog); Alt+Enter in
  // the tree opens the properties of the selected node's window. In the
  // tree, Ctrl+C copies the selected node's text as one line (nothing when
  // none is selected) and Ctrl+Shift+C the whole tree.
  bool IsShortCut(const MSG& msg) override;

 protected:
  bool DispatchByNumber(TMessage& message) override;

 private:
  bool SelectRow(std::optional<int> row);
  // True for a window of Vexlan's own process.
  bool IsOwnWindow(WindowHandle wnd) const { return Windows().InCallerProcess(wnd); }
  void StartLive();
  void StopLive();
  // Sets the live tree's timer for its next step.
  void ScheduleLive();
  void LiveStep();
  // Tells the user when another program holds the clipboard.
  void CopyText(const std::string& text);
  // The selected node's window; 0, after telling the user, when none is.
  WindowHandle TargetOrSay() const;
  // Gives the Change submenu's items the selected window's state.
  void ShowChangeState();
  WindowChanger Changer() const;
  void WMGetMinMaxInfo(TMessage& message);

  PlatformContext platform_;
  TKeyboardKeeper keyboard_;
  THighlightFrame highlight_;
  ThreadWorkMeter work_meter_;
  std::unique_ptr<LiveTree> live_;
  int live_watch_ = 0;
  TTimer live_timer_{nullptr};
};

extern TForm1* Form1;

}  // namespace vexlan
