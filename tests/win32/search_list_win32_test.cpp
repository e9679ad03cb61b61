// The Search List dialog against real windows of another process: which
// node ends up selected and which messages are shown, in which order.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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
        // For Find Next: three reports, one deep in a branch, and a window
        // of their class with another caption.
        "child|R1|Top|VexlanNextA|Report one",
        "child|Mid|Top|VexlanNextMid|Middle",
        "child|R2|Mid|VexlanNextA|Report two",
        "child|R3|Top|VexlanNextA|Report three",
        "child|Decoy|Top|VexlanNextA|Other",
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
  // The main form owns the dialog, which therefore stays above it.
  EXPECT_EQ(::GetWindow(Form4->Handle(), GW_OWNER), Form1->Handle());
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

// The text typed is in Vexlan's own field, and its fields are edits: a
// search by caption or class finds the other program's window, never them.
TEST_F(SearchListTest, SearchesByCaptionAndClassPassOverVexlansOwnWindows) {
  struct Case {
    const char* what;
    std::string class_name, caption;
    const char* selected;
  };
  const Case cases[] = {{"caption", "", "Report three", "R3"}, {"class", "edit", "", "Ed"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill("", c.class_name, c.caption);
    Form1->RefreshBtnClick(nullptr);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Top")));
    const WindowHandle own = FromHwnd((c.caption.empty() ? Form4->classname : Form4->windowname)->Handle());
    ASSERT_LT(*NodeList.Model().IndexOf(own), *NodeList.Model().IndexOf(fixture_->Id(c.selected)))
        << "Vexlan's field comes first in tree order";
    ::SendMessageW(Form4->SearchBtn->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form1->TreeView1->Selected(), NodeOf(c.selected));
  }
}

// Find Next walks the matching windows in tree order, the first press by the
// button, the next by F3 in the main window, and wraps; Vexlan's own field
// holding the text typed is listed and would match, but is never selected.
// The fields together: the class and the caption both have to match.
TEST_F(SearchListTest, FindNextWalksTheMatchesInTreeOrderWrapsAndSkipsVexlansOwnWindows) {
  struct Case {
    const char* what;
    std::string class_name, caption;
  };
  const Case cases[] = {{"caption alone", "", "Report"}, {"class and caption together", "VexlanNextA", "rEPORT"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form4->Show();
    Fill("", c.class_name, c.caption);
    Form1->RefreshBtnClick(nullptr);
    const WindowTreeModel& model = NodeList.Model();
    const WindowHandle own_field = FromHwnd(Form4->windowname->Handle());
    ASSERT_TRUE(model.Contains(own_field));
    ASSERT_NE(model.Find(own_field)->caption.find(c.caption), std::string::npos) << "the field would match";
    std::vector<std::pair<int, const char*>> order;
    for (const char* name : {"R1", "R2", "R3"}) order.emplace_back(*model.IndexOf(fixture_->Id(name)), name);
    std::sort(order.begin(), order.end());
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Top")));
    std::vector<std::string> shown;
    ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
    ::SendMessageW(Form4->FindNextBtn->Handle(), BM_CLICK, 0, 0);
    for (int press = 0; press < 4; ++press) {
      const char* expected = order[static_cast<std::size_t>(press) % order.size()].second;
      if (press > 0) {
        ASSERT_TRUE(PumpUntil(*app_, [] { return FocusName() == "TreeView1"; }));
        PressKey(VK_F3);
      }
      EXPECT_TRUE(PumpUntil(*app_, [&] { return Form1->TreeView1->Selected() == NodeOf(expected); }))
          << "press " << press << ": " << expected;
    }
    EXPECT_TRUE(shown.empty());
  }
}

// Nothing else matches: told, and the selection stays. A typed handle finds
// any window, Vexlan's own included; an empty dialog asks for a field.
TEST_F(SearchListTest, FindNextTellsWhenNoOtherWindowMatches) {
  struct Case {
    const char* what;
    std::function<std::string()> handle;
    std::string class_name, caption;
    const char* message;  // nullptr: the own field is selected
  };
  const Case cases[] = {
      {"the selection is the only match", [&] { return std::string(); }, "", "Report two", "No more windows match."},
      {"no window has both", [&] { return std::string(); }, "VexlanSearchB", "Report", "No more windows match."},
      {"own field by handle", [] { return std::to_string(FromHwnd(Form4->windowname->Handle())); }, "", "", nullptr},
      {"all empty", [] { return std::string(); }, "", "", "One of the fields have to be completed."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form4->Show();
    Fill(c.handle(), c.class_name, c.caption);
    Form1->RefreshBtnClick(nullptr);
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("R2")));
    std::vector<std::string> shown;
    {
      ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
      Form4->FindNextBtnClick(nullptr);
    }
    if (c.message) {
      EXPECT_EQ(shown, std::vector<std::string>{c.message});
      EXPECT_EQ(Form1->TreeView1->Selected(), NodeOf("R2"));
    } else {
      EXPECT_TRUE(shown.empty());
      EXPECT_EQ(Form1->SelectedHandle(), FromHwnd(Form4->windowname->Handle()));
    }
  }
}

}  // namespace
}  // namespace vexlan
