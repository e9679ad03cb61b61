// The Search List dialog against real windows of another process: which
// node ends up selected and which messages are shown, in which order.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit4.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

class SearchListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture_ = std::make_unique<FixtureProcess>(std::vector<std::string>{
        "top|Top|VexlanSearchTop|Search top",
        "child|A|Top|VexlanSearchA|Alpha window",
        "child|B|Top|VexlanSearchB|Beta window",
        "child|Mid|Top|VexlanSearchMid|Middle",
        "child|C|Mid|VexlanSearchC|Gamma window",
        "edit|Ed|Top|plain text",
    });
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    app_->CreateForm(Form1);
    app_->CreateForm(Form4);
    Form1->Show();
    Form1->SearchBtnClick(nullptr);
    ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form4->Handle(); }));
  }
  void TearDown() override {
    app_.reset();
    fixture_.reset();
  }

  TTreeNode* NodeOf(const char* name) const { return NodeList.NodeOf(fixture_->Id(name)); }
  void Fill(const std::string& handle, const std::string& class_name, const std::string& caption) {
    Form4->handle->SetText(handle);
    Form4->classname->SetText(class_name);
    Form4->windowname->SetText(caption);
  }
  std::string Id(const char* name) const { return std::to_string(fixture_->Id(name)); }

  std::unique_ptr<FixtureProcess> fixture_;
  std::unique_ptr<TApplication> app_;
};

TEST_F(SearchListTest, EveryFilledFieldIsSearchedInOrderAndEachMissIsTold) {
  struct Case {
    const char* what;
    std::string handle, class_name, caption;
    std::vector<std::string> messages;
    const char* selected;  // nullptr: the selection is left as it was (on Top)
  };
  const Case cases[] = {
      {"all empty", "", "", "", {"One of the fields have to be completed."}, nullptr},
      {"handle found, class not", Id("A"), "NoSuchClassHere", "", {"Can't find the specified class."}, "A"},
      {"all three found: the class's node wins", Id("A"), "VexlanSearchB", "alpha", {}, "B"},
      {"caption over handle", Id("A"), "", "BETA WINDOW", {}, "B"},
      {"none found: three messages in order",
       "77",
       "NoSuchClassHere",
       "no such caption",
       {"Can't find the specified handle.", "Can't find the specified window.", "Can't find the specified class."},
       nullptr},
      {"blanks count as filled", "", " ", "", {"Can't find the specified class."}, nullptr},
      {"a hex handle ends the click before any search", "4D2", "VexlanSearchB", "", {"'4D2' is not a window handle"},
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Top")));
    Form4->Show();
    Fill(c.handle, c.class_name, c.caption);
    std::vector<std::string> shown;
    {
      ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
      ::SendMessageW(Form4->SearchBtn->Handle(), BM_CLICK, 0, 0);
    }
    ASSERT_EQ(shown.size(), c.messages.size());
    for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i].rfind(c.messages[i], 0), 0u) << shown[i];
    EXPECT_EQ(Form1->TreeView1->Selected(), NodeOf(c.selected ? c.selected : "Top"));
    // The dialog stays as the user left it.
    EXPECT_TRUE(::IsWindowVisible(Form4->Handle()));
    EXPECT_EQ(Form4->handle->Text(), c.handle);
    EXPECT_EQ(Form4->classname->Text(), c.class_name);
    EXPECT_EQ(Form4->windowname->Text(), c.caption);
  }
}

// As a user does it: type, press Enter, read the real boxes and press OK.
TEST_F(SearchListTest, EnterSearchesAndTheRealBoxesTellWhatWasNotFound) {
  MessageBoxReader boxes;
  Fill(Id("A"), "", "no such caption");
  Form4->windowname->SetFocus();
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil(*app_, [&] { return boxes.Texts().size() == 1; }));
  Settle(*app_);
  EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"Can't find the specified window."});
  EXPECT_EQ(Form1->TreeView1->Selected(), NodeOf("A"));
  EXPECT_TRUE(::IsWindowVisible(Form4->Handle()));
}

TEST_F(SearchListTest, AFoundNodeActivatesTheMainFormAndTheDialogStaysInFront) {
  Fill("", "VexlanSearchB", "");
  ::SendMessageW(Form4->SearchBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpUntil(*app_, [] { return ::GetActiveWindow() == Form1->Handle(); }));
  EXPECT_EQ(FocusName(), "TreeView1");
  // The main form owns the dialog, which stays above it: on the screen too,
  // where Wine raises the activated owner over it unless told otherwise.
  EXPECT_EQ(::GetWindow(Form4->Handle(), GW_OWNER), Form1->Handle());
  Fill("", "VexlanSearch", "");
  for (TButton* button : {Form4->SearchBtn, Form4->FindNextBtn}) {
    SCOPED_TRACE(button->Name());
    Form4->SetFocus();
    ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetActiveWindow() == Form4->Handle(); }));
    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetActiveWindow() == Form1->Handle(); }));
    POINT empty{300, 40};  // a bare spot of the dialog, over the main form's tree
    ::ClientToScreen(Form4->Handle(), &empty);
    COLORREF seen = 0;
    EXPECT_TRUE(PumpUntil(*app_, [&] {
      const HDC screen = ::GetDC(nullptr);
      seen = ::GetPixel(screen, empty.x, empty.y);
      ::ReleaseDC(nullptr, screen);
      return seen == ::GetSysColor(COLOR_BTNFACE);
    })) << "the dialog is covered: " << std::hex << seen;
    Settle(*app_);
  }
}

// Escape closes the dialog as its close box does: it hides, keeping what was
// typed, and comes back as it was.
TEST_F(SearchListTest, EscapeHidesTheDialogWithItsFields) {
  Fill("12", "cls", "cap");
  Form4->classname->SetFocus();
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil(*app_, [] { return !::IsWindowVisible(Form4->Handle()); }));
  Form1->SearchBtnClick(nullptr);
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::IsWindowVisible(Form4->Handle()); }));
  EXPECT_EQ(Form4->handle->Text(), "12");
  EXPECT_EQ(Form4->classname->Text(), "cls");
  EXPECT_EQ(Form4->windowname->Text(), "cap");
}

TEST_F(SearchListTest, DialogHasItsPlaceSizeAndTabOrder) {
  RECT client{};
  ::GetClientRect(Form4->Handle(), &client);
  EXPECT_EQ(client.right, 351);
  EXPECT_EQ(client.bottom, 132);
  RECT outer{};
  ::GetWindowRect(Form4->Handle(), &outer);
  EXPECT_EQ(outer.left, 229);
  EXPECT_EQ(outer.top, 180);
  EXPECT_FALSE(::GetWindowLongPtrW(Form4->Handle(), GWL_STYLE) & WS_THICKFRAME) << "a fixed dialog frame";
  EXPECT_EQ(WindowText(Form4->Handle()), L"Search List");
  EXPECT_EQ(WindowText(Form4->Label5->Handle()), L"(in integer, not hex)");
  Form4->handle->SetFocus();
  for (const char* expected : {"classname", "windowname", "SearchBtn", "FindNextBtn", "handle"}) {
    PressKey(VK_TAB);
    EXPECT_TRUE(PumpUntil(*app_, [&] { return FocusName() == expected; })) << expected << ": " << FocusName();
  }
}

// Find Next walks the windows that match every field in tree order, one deep
// in a collapsed branch, the first press by the button, the next by F3 in the
// main window, and wraps; Vexlan's own field holding the caption typed is
// listed, and would match, but is never selected.
TEST_F(SearchListTest, FindNextWalksTheMatchesInTreeOrderWrapsAndSkipsVexlansOwnWindows) {
  for (const std::string class_name : {"", "VexlanSearch"}) {
    SCOPED_TRACE(class_name);
    Fill("", class_name, "WINDOW");
    Form1->RefreshBtnClick(nullptr);
    const WindowTreeModel& model = NodeList.Model();
    ASSERT_TRUE(Matches(*model.Find(FromHwnd(Form4->windowname->Handle())), {std::nullopt, "WINDOW", ""}));
    std::vector<std::pair<int, const char*>> order;
    for (const char* name : {"A", "B", "C"}) order.emplace_back(*model.IndexOf(fixture_->Id(name)), name);
    std::sort(order.begin(), order.end());
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Top")));
    ScopedShowMessageHook hook([](const std::string& text) { ADD_FAILURE() << text; });
    ::SendMessageW(Form4->FindNextBtn->Handle(), BM_CLICK, 0, 0);
    for (std::size_t press = 0; press < 4; ++press) {
      if (press > 0 && PumpUntil(*app_, [] { return FocusName() == "TreeView1"; })) PressKey(VK_F3);
      const char* expected = order[press % order.size()].second;
      EXPECT_TRUE(PumpUntil(*app_, [&] { return Form1->TreeView1->Selected() == NodeOf(expected); })) << expected;
    }
  }
}

// Searches by caption and class pass over Vexlan's own windows (the field
// holding the text, the edits); a handle finds any window. Find Next tells
// when no other window matches, and leaves the selection.
TEST_F(SearchListTest, SearchesPassOverVexlansOwnWindowsAndFindNextTellsWhenNothingElseMatches) {
  const std::string own_field = std::to_string(FromHwnd(Form4->windowname->Handle()));
  struct Case {
    bool find_next;
    std::string handle, class_name, caption;
    const char* selected;  // nullptr: Vexlan's field
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {false, "", "", "Gamma window", "C", {}},
      {false, "", "edit", "", "Ed", {}},
      {true, "", "", "Beta window", "B", {"No more windows match."}},
      {true, "", "VexlanSearchA", "Beta", "B", {"No more windows match."}},
      {true, own_field, "", "", nullptr, {}},
      {true, "", "", "", "B", {"One of the fields have to be completed."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.class_name + "/" + c.caption + "/" + c.handle);
    Fill(c.handle, c.class_name, c.caption);
    Form1->RefreshBtnClick(nullptr);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("B")));
    std::vector<std::string> shown;
    ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
    ::SendMessageW((c.find_next ? Form4->FindNextBtn : Form4->SearchBtn)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(shown, c.messages);
    EXPECT_EQ(Form1->SelectedHandle(), c.selected ? fixture_->Id(c.selected) : FromHwnd(Form4->windowname->Handle()));
  }
}

}  // namespace
}  // namespace vexlan
