#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "forms/core/layout_kinds.h"
#include "forms/layout_writers.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/clipboard.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/toolkit/win32/tree_view.h"
#include "platform/utf.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

// A small form: a tree over a bar with a button that fails and one that works.
class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    ReadForm(kLayout);
    tree = &LayoutComponent<TTreeView>(*this, "Tree");
    boom = &LayoutComponent<TButton>(*this, "Boom");
    fine = &LayoutComponent<TButton>(*this, "Fine");
  }
  std::string ClassName() const override { return "TTestForm"; }
  TPublishedHandler FindMethod(std::string_view name) override { return FindPublishedMethod(*this, kMethods, name); }

  void Created(TObject*) {
    created_with_reference = created_reference && *created_reference == this;
    if (fail_on_create) throw Exception("creation failed");
  }
  void BoomClick(TObject*) { throw EConvertError("'x' is not a valid integer value"); }
  void FineClick(TObject*) { ++fine_clicks; }
  void Closing(TObject*) { ++close_events; }

  static inline TTestForm** created_reference = nullptr;
  static inline bool fail_on_create = false;
  bool created_with_reference = false;
  int fine_clicks = 0;
  int close_events = 0;
  TTreeView* tree;
  TButton* boom;
  TButton* fine;

 private:
  static constexpr ComponentLayout kRows[] = {
      {.Name = "Tree", .Bounds = {0, 0, 300, 170}, .Align = alClient, .Settings = TreeViewSettings{}},
      {.Name = "Bar", .Bounds = {0, 170, 300, 30}, .Align = alBottom, .Settings = PanelSettings{}},
      {.Name = "Boom", .Parent = "Bar", .Bounds = {0, 2, 80, 24},
       .Settings = ButtonSettings{.Caption = "&Boom", .OnClick = "BoomClick"}},
      {.Name = "Fine", .Parent = "Bar", .Bounds = {90, 2, 80, 24},
       .Settings = ButtonSettings{.Caption = "&Fine", .OnClick = "FineClick"}},
  };
  static constexpr FormLayout kLayout{
      .Form = {.Caption = "Test form", .Bounds = {40, 40, 320, 240}, .Font = {"MS Sans Serif", -11},
               .OnCreate = "Created", .OnClose = "Closing"},
      .Components = kRows};
  static constexpr PublishedMethod<TTestForm> kMethods[] = {{"Created", &TTestForm::Created},
                                                            {"BoomClick", &TTestForm::BoomClick},
                                                            {"FineClick", &TTestForm::FineClick},
                                                            {"Closing", &TTestForm::Closing}};
};

class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
  }
  TTestForm* CreateTestForm() {
    TTestForm* form = nullptr;
    TTestForm::created_reference = &form;
    app_->CreateForm(form);
    TTestForm::created_reference = nullptr;
    return form;
  }
  std::unique_ptr<TApplication> app_;
};

TEST_F(ToolkitTest, FirstFormIsMainFormsStartHiddenAndOnCreateSeesTheReference) {
  TTestForm* main = CreateTestForm();
  TTestForm* other = CreateTestForm();
  EXPECT_EQ(app_->MainForm(), main);
  for (TTestForm* form : {main, other}) {
    EXPECT_TRUE(form->created_with_reference);
    EXPECT_FALSE(::IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->Application(), app_.get());
  }
}

TEST_F(ToolkitTest, ErrorInOnCreateIsReportedAndTheFormIsMade) {
  std::vector<std::string> shown;
  ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
  TTestForm::fail_on_create = true;
  TTestForm* form = CreateTestForm();
  TTestForm::fail_on_create = false;
  EXPECT_NE(form, nullptr);
  EXPECT_EQ(shown, std::vector<std::string>{"creation failed"});
}

TEST_F(ToolkitTest, CloseHidesOtherFormsAndEndsTheApplicationForTheMainForm) {
  TTestForm* main = CreateTestForm();
  TTestForm* other = CreateTestForm();
  main->Show();
  other->Show();
  EXPECT_TRUE(::IsWindowVisible(other->Handle()));
  other->Close();
  EXPECT_EQ(other->close_events, 1);
  EXPECT_FALSE(::IsWindowVisible(other->Handle()));
  EXPECT_FALSE(app_->Terminated());
  ::SendMessageW(main->Handle(), WM_CLOSE, 0, 0);  // the close box
  EXPECT_EQ(main->close_events, 1);
  EXPECT_TRUE(app_->Terminated());
  EXPECT_TRUE(::IsWindow(main->Handle())) << "closing never destroys a form";
}

TTestForm* to_close;
void CALLBACK CloseTheForm(HWND, UINT, UINT_PTR, DWORD) { to_close->Close(); }

// An error escaping a handler is reported with its message, and the loop
// goes on: the next click is handled and closing the form ends Run.
TEST_F(ToolkitTest, ErrorInHandlerIsReportedAndTheLoopGoesOn) {
  std::vector<std::string> shown;
  ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
  TTestForm* form = CreateTestForm();
  form->fine->OnClick = [&](TObject*) {
    ++form->fine_clicks;
    ::PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  };
  ::PostMessageW(form->boom->Handle(), BM_CLICK, 0, 0);
  ::PostMessageW(form->fine->Handle(), BM_CLICK, 0, 0);
  // Should the loop not end by itself, the test fails instead of hanging.
  to_close = form;
  const UINT_PTR guard = ::SetTimer(nullptr, 0, 15000, &CloseTheForm);
  app_->Run();
  ::KillTimer(nullptr, guard);
  EXPECT_EQ(shown, std::vector<std::string>{"'x' is not a valid integer value"});
  EXPECT_EQ(form->fine_clicks, 1);
  EXPECT_EQ(form->close_events, 1);
}

// Without a hook the report is a real message box: found by its class, its
// text read from the static with id 0xFFFF, its OK button pressed.
TEST_F(ToolkitTest, ErrorReportIsARealMessageBox) {
  TTestForm* form = CreateTestForm();
  form->Show();
  const DWORD gui_thread = ::GetCurrentThreadId();
  std::atomic<bool> pressed{false};
  std::wstring text, caption;
  std::thread watchdog([&] {
    for (int i = 0; i < 200 && !pressed; ++i) {
      if (HWND box = FindThreadWindow(gui_thread, L"#32770")) {
        text = WindowText(::GetDlgItem(box, 0xFFFF));
        caption = WindowText(box);
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        pressed = true;
      }
      ::Sleep(50);
    }
  });
  ::SendMessageW(form->boom->Handle(), BM_CLICK, 0, 0);  // returns once the box is closed
  watchdog.join();
  ASSERT_TRUE(pressed) << "no message box appeared";
  EXPECT_EQ(text, L"'x' is not a valid integer value");
  EXPECT_EQ(caption, L"Vexlan");
  ::SendMessageW(form->fine->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->fine_clicks, 1);
}

TEST(ShowMessageHook, GuardRestoresThePreviousHook) {
  std::vector<std::string> outer, inner;
  ScopedShowMessageHook outer_hook([&](const std::string& t) { outer.push_back(t); });
  {
    ScopedShowMessageHook inner_hook([&](const std::string& t) { inner.push_back(t); });
    ShowMessage("one");
  }
  ShowMessage("two");
  EXPECT_EQ(inner, std::vector<std::string>{"one"});
  EXPECT_EQ(outer, std::vector<std::string>{"two"});
}

// Every script survives the trip, and what was there before is replaced.
TEST(Clipboard, UnicodeTextGoesOnAndComesBackWhole) {
  for (const char* text : {"first", "Grüße 東京 🙂\r\n\ttab", ""}) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(CopyTextToClipboard(nullptr, text));
    EXPECT_EQ(ClipboardText(nullptr), text);
  }
}

// A tree that records the redraw switches it is sent and how often all its
// items are deleted.
class SpyTree : public TTreeView {
 public:
  using TTreeView::TTreeView;
  std::vector<std::intptr_t> redraw;
  int delete_messages = 0;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SETREDRAW) redraw.push_back(m.WParam);
    if (m.Msg == TVM_DELETEITEM) ++delete_messages;
    TTreeView::WndProc(m);
  }
};

class TreeViewTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    form_ = CreateTestForm();
    tree_ = new SpyTree(form_);
    tree_->SetParent(form_);
    tree_->SetBounds(0, 0, 200, 150);
    form_->Show();
  }
  HTREEITEM Next(HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree_->Handle(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  }
  std::wstring ItemText(HTREEITEM item) {
    std::wstring buffer(2048, L'\0');
    TVITEMW query{};
    query.mask = TVIF_HANDLE | TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer.data();
    query.cchTextMax = static_cast<int>(buffer.size());
    ::SendMessageW(tree_->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
    return buffer.c_str();
  }
  // The control's items under `item` (nullptr: the roots), as texts.
  std::vector<std::wstring> Run(HTREEITEM item) {
    std::vector<std::wstring> texts;
    for (HTREEITEM i = Next(item, item ? TVGN_CHILD : TVGN_ROOT); i; i = Next(i, TVGN_NEXT)) texts.push_back(ItemText(i));
    return texts;
  }
  TTestForm* form_ = nullptr;
  SpyTree* tree_ = nullptr;
};

// Nodes go in, out and elsewhere one by one: the others keep their items,
// and what lies under a collapsed node stays out of the control.
TEST_F(TreeViewTest, ChangesTouchOnlyTheirNodes) {
  struct Case {
    const char* name;
    std::function<void(TTreeNodes&, std::map<std::string, TTreeNode*>&)> change;
    std::vector<std::wstring> roots, under_r1;
    LRESULT items;
  };
  using Nodes = std::map<std::string, TTreeNode*>;
  const Case cases[] = {
      {"inserted after a root", [](TTreeNodes& n, Nodes& m) { n.Insert(nullptr, m["r1"], "new"); },
       {L"r1", L"new", L"r2", L"r3"}, {L"c1", L"c2"}, 6},
      {"inserted under a collapsed node", [](TTreeNodes& n, Nodes& m) { n.AddChild(m["r3"], "new"); },
       {L"r1", L"r2", L"r3"}, {L"c1", L"c2"}, 5},
      {"a root deleted with its children", [](TTreeNodes& n, Nodes& m) { n.Delete(m["r3"]); },
       {L"r1", L"r2"}, {L"c1", L"c2"}, 4},
      {"moved under a collapsed node", [](TTreeNodes& n, Nodes& m) { n.Move(m["c2"], m["r3"], m["d1"]); },
       {L"r1", L"r2", L"r3"}, {L"c1"}, 4},
      {"moved to the top", [](TTreeNodes& n, Nodes& m) { n.Move(m["r3"], nullptr, nullptr); },
       {L"r3", L"r1", L"r2"}, {L"c1", L"c2"}, 5},
      {"moved out to the roots", [](TTreeNodes& n, Nodes& m) { n.Move(m["c1"], nullptr, m["r2"]); },
       {L"r1", L"r2", L"c1", L"r3"}, {L"c2"}, 5},
      {"given a new text", [](TTreeNodes&, Nodes& m) { m["r2"]->SetText("two"); },
       {L"r1", L"two", L"r3"}, {L"c1", L"c2"}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTreeNodes& nodes = tree_->Items();
    nodes.Clear();
    Nodes m;
    for (const char* root : {"r1", "r2", "r3"}) m[root] = nodes.AddChild(nullptr, root);
    m["c1"] = nodes.AddChild(m["r1"], "c1");
    m["c2"] = nodes.AddChild(m["r1"], "c2");
    m["d1"] = nodes.AddChild(m["r3"], "d1");
    m["r1"]->Expand();
    const HTREEITEM r2 = m["r2"]->Handle();
    c.change(nodes, m);
    EXPECT_EQ(Run(nullptr), c.roots);
    EXPECT_EQ(Run(m["r1"]->Handle()), c.under_r1);
    EXPECT_EQ(::SendMessageW(tree_->Handle(), TVM_GETCOUNT, 0, 0), c.items);
    if (std::find(c.roots.begin(), c.roots.end(), L"r2") != c.roots.end()) {
      EXPECT_EQ(m["r2"]->Handle(), r2);
    }
    if (std::find(c.roots.begin(), c.roots.end(), L"r3") == c.roots.end()) continue;
    // Opened by the control itself (the first expansion tells us), r3's
    // children come in.
    ASSERT_NE(m["r3"]->Handle(), nullptr);
    ::SendMessageW(tree_->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(m["r3"]->Handle()));
    EXPECT_EQ(Run(m["r3"]->Handle()).size(), m["r3"]->Children().size());
  }
}

TEST_F(TreeViewTest, AddChildBuildsRootsAndChildrenInOrder) {
  TTreeNodes& nodes = tree_->Items();
  EXPECT_EQ(tree_->TopItem(), nullptr);
  TTreeNode* a = nodes.AddChild(nullptr, "a");
  TTreeNode* a1 = nodes.AddChild(a, "a1");
  TTreeNode* a2 = nodes.AddChild(a, "a2");
  TTreeNode* a2x = nodes.AddChild(a2, "a2x");
  TTreeNode* b = nodes.AddChild(nullptr, "b");
  EXPECT_EQ(nodes.Count(), 5);
  EXPECT_EQ(tree_->TopItem(), a);
  // The control holds the roots until a node is opened.
  EXPECT_EQ(::SendMessageW(tree_->Handle(), TVM_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(a1->Handle(), nullptr);
  a->Expand();
  a2->Expand();
  EXPECT_EQ(::SendMessageW(tree_->Handle(), TVM_GETCOUNT, 0, 0), 5);

  struct Case {
    TTreeNode* node;
    int level;
    TTreeNode* parent;
    HTREEITEM control_parent;  // what the control says
  };
  const Case cases[] = {{a, 0, nullptr, nullptr}, {a1, 1, a, a->Handle()}, {a2, 1, a, a->Handle()},
                        {a2x, 2, a2, a2->Handle()}, {b, 0, nullptr, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.node->Text());
    EXPECT_EQ(c.node->Level(), c.level);
    EXPECT_EQ(c.node->Parent(), c.parent);
    EXPECT_EQ(Next(c.node->Handle(), TVGN_PARENT), c.control_parent);
    EXPECT_EQ(nodes.NodeFromItem(c.node->Handle()), c.node);
    EXPECT_EQ(ItemText(c.node->Handle()), std::wstring(c.node->Text().begin(), c.node->Text().end()));
  }
  EXPECT_EQ(Next(nullptr, TVGN_ROOT), a->Handle());
  EXPECT_EQ(Next(a->Handle(), TVGN_NEXT), b->Handle());
  EXPECT_EQ(Next(a->Handle(), TVGN_CHILD), a1->Handle());
  EXPECT_EQ(Next(a1->Handle(), TVGN_NEXT), a2->Handle());
}

TEST_F(TreeViewTest, NodeKeepsItsWholeUnicodeText) {
  std::string text = "1: \"Gr\xc3\xbc\xc3\x9f" "e \xf0\x9f\x99\x82\" [Button] (65552)";
  text += std::string(500, 'x');
  TTreeNode* node = tree_->Items().AddChild(nullptr, text);
  EXPECT_EQ(node->Text(), text);
  const std::u16string expected = Utf8ToUtf16(text);
  EXPECT_EQ(ItemText(node->Handle()), std::wstring(expected.begin(), expected.end()));
}

TEST_F(TreeViewTest, SelectionAndMakeVisible) {
  TTreeNodes& nodes = tree_->Items();
  EXPECT_EQ(tree_->Selected(), nullptr);
  TTreeNode* parent = nullptr;
  std::vector<TTreeNode*> chain;
  for (int level = 0; level < 4; ++level) chain.push_back(parent = nodes.AddChild(parent, "level " + std::to_string(level)));
  for (int i = 0; i < 40; ++i) nodes.AddChild(nullptr, "filler " + std::to_string(i));
  TTreeNode* deep = chain.back();
  for (TTreeNode* n : chain) EXPECT_FALSE(n->Expanded());

  deep->MakeVisible();
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(chain[i]->Expanded());
  }
  RECT r{};
  const HTREEITEM item = deep->Handle();
  std::memcpy(&r, &item, sizeof item);
  EXPECT_TRUE(::SendMessageW(tree_->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) << "shown";

  tree_->SetSelected(deep);
  EXPECT_EQ(tree_->Selected(), deep);
  tree_->SetSelected(nullptr);
  EXPECT_EQ(tree_->Selected(), nullptr);
  chain[0]->Collapse();
  EXPECT_FALSE(chain[0]->Expanded());
}

TEST_F(TreeViewTest, ClearDeletesEverythingWithOneMessage) {
  TTreeNodes& nodes = tree_->Items();
  nodes.BeginUpdate();
  for (int i = 0; i < 50; ++i) {
    TTreeNode* root = nodes.AddChild(nullptr, "root " + std::to_string(i));
    for (int j = 0; j < 40; ++j) nodes.AddChild(root, "child " + std::to_string(j));
  }
  nodes.EndUpdate();
  tree_->SetSelected(nodes.NodeFromItem(Next(nullptr, TVGN_ROOT)));
  ASSERT_EQ(nodes.Count(), 2050);
  nodes.Clear();
  EXPECT_EQ(tree_->delete_messages, 1);
  EXPECT_EQ(nodes.Count(), 0);
  EXPECT_EQ(::SendMessageW(tree_->Handle(), TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(tree_->Selected(), nullptr);
  EXPECT_EQ(tree_->TopItem(), nullptr);
  EXPECT_EQ(nodes.AddChild(nullptr, "again")->Level(), 0);
}

TEST_F(TreeViewTest, UpdatesNestAndRedrawComesBackOnce) {
  TTreeNodes& nodes = tree_->Items();
  nodes.BeginUpdate();
  nodes.BeginUpdate();
  nodes.AddChild(nullptr, "one");
  nodes.EndUpdate();
  EXPECT_EQ(tree_->redraw, std::vector<std::intptr_t>{FALSE}) << "still updating";
  nodes.AddChild(nullptr, "two");
  nodes.EndUpdate();
  nodes.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(tree_->redraw, (std::vector<std::intptr_t>{FALSE, TRUE}));
  EXPECT_EQ(nodes.Count(), 2);
}

TEST_F(TreeViewTest, NodeOfAnotherTreeIsRefused) {
  TTreeView other(nullptr);
  TTreeNode* foreign = other.Items().AddChild(nullptr, "elsewhere");
  EXPECT_THROW(tree_->Items().AddChild(foreign, "child"), Exception);
  EXPECT_THROW(tree_->SetSelected(foreign), Exception);
  EXPECT_EQ(tree_->Items().Count(), 0);
}

// Controls added in code go last in the tab order until moved, and moving
// one renumbers its siblings.
TEST_F(ToolkitTest, TabOrderMovesAndRenumbers) {
  TTestForm* form = CreateTestForm();
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  std::vector<TButton*> buttons;
  for (int i = 0; i < 3; ++i) {
    buttons.push_back(new TButton(form));
    buttons.back()->SetName("b" + std::to_string(i));
    buttons.back()->SetParent(panel);
    EXPECT_EQ(buttons.back()->TabOrder(), i);
  }
  buttons[2]->SetTabOrder(0);
  EXPECT_EQ(panel->Controls(), (std::vector<TWinControl*>{buttons[2], buttons[0], buttons[1]}));
  EXPECT_EQ(buttons[0]->TabOrder(), 1);
  // The windows follow: Tab visits siblings in Z order.
  EXPECT_EQ(::GetWindow(panel->Handle(), GW_CHILD), buttons[2]->Handle());
  EXPECT_EQ(::GetWindow(buttons[2]->Handle(), GW_HWNDNEXT), buttons[0]->Handle());
}

}  // namespace
}  // namespace vexlan
