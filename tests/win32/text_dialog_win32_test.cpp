// The Show/Edit Text dialog against edit controls of another process.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit2.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/utf.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/forms_test_support.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"
#include "winutil/ExtCntrlsUtils.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

class TextDialogTest : public FormsNextToFixtureTest {
 protected:
  void SetUp() override {
    Start({
        "top|Top|VexlanTextTop|Text top",
        "edit|E1|Top|Hello\r\nWorld",
        "edit|E2|Top|Second",
    });
  }

  void Open(const char* name) {
    Form2->SetTarget(fixture_->Id(name));
    Form2->Show();
  }
  std::string TextOf(const char* name) const { return GetControlText(SystemWindowServices(), fixture_->Id(name)); }
  static std::string Length() { return Form2->textlength->Caption(); }
};

TEST_F(TextDialogTest, ShowsTheContentAndItsLengthAndWritesItBack) {
  Open("E1");
  EXPECT_EQ(Form2->Edit1->Text(), "Hello\r\nWorld");
  EXPECT_EQ(Length(), "12");

  Form2->Edit1->SetText("Changed text");
  ::SendMessageW(Form2->SetBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf("E1"), "Changed text");
  EXPECT_EQ(Length(), "12");

  fixture_->Command("type|E1|, typed by the other program");
  ::SendMessageW(Form2->GetBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Form2->Edit1->Text(), TextOf("E1"));
  EXPECT_NE(Form2->Edit1->Text(), "Changed text") << "Get Text reads the window again";

  Form2->Edit1->SetText("");
  ::SendMessageW(Form2->SetBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf("E1"), "");
  EXPECT_EQ(Length(), "0");
}

// Lengths count UTF-16 units, as the box and the platform count characters.
TEST_F(TextDialogTest, TextsRoundTripUnchanged) {
  struct Case {
    const char* what;
    std::string text;
  };
  std::string big;
  for (int i = 0; big.size() < 250000; ++i) big += "line " + std::to_string(i) + " of a long text\r\n";
  const Case cases[] = {
      {"accents, CJK, Cyrillic, Hebrew", "Grüße – 東京 – русский – עברית"},
      {"outside the BMP", "Party 🎉 🙂"},
      {"a quarter of a megabyte: more than one time-out, within the ceiling (Wine takes 2 to 5 s a megabyte)", big},
  };
  Open("E2");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form2->Edit1->SetText(c.text);
    ::SendMessageW(Form2->SetBtn->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Length(), std::to_string(Utf8ToUtf16(c.text).size()));
    Form2->Edit1->SetText("");
    ::SendMessageW(Form2->GetBtn->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(Form2->Edit1->Text() == c.text) << "read back " << Form2->Edit1->Text().size() << " bytes";
    EXPECT_EQ(Length(), std::to_string(Utf8ToUtf16(c.text).size()));
  }
}

TEST_F(TextDialogTest, ATargetNamedWhileShownIsReadAtOnce) {
  Open("E1");
  Open("E2");
  EXPECT_EQ(Form2->handle->Caption(), std::to_string(fixture_->Id("E2")));
  EXPECT_EQ(Form2->Edit1->Text(), "Second");
  Form2->Edit1->SetText("Second, edited");
  ::SendMessageW(Form2->SetBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf("E2"), "Second, edited");
  fixture_->Command("type|E2|!");
  Open("E2");
  EXPECT_EQ(Form2->Edit1->Text(), TextOf("E2"));
}

// Set Text writes a window's own text back to it, never another's: not after a read of a second window
// that was not answered, not to what another program writes into the handle label (65535 would be
// HWND_BROADCAST, every top-level window), and never a text shown shortened.
TEST_F(TextDialogTest, SetTextWritesOnlyWhatItReadFromThatWindow) {
  fixture_->Command("recorder|witness|Witness");
  fixture_->Command("target|Slow|Second window");
  std::vector<std::string> shown;
  ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
  Open("E1");
  fixture_->Command("stall|Slow|4000");
  Open("Slow");
  EXPECT_EQ(Form2->Edit1->Text(), "") << "nothing of E1 is left to write";
  Form2->Edit1->SetText("typed after");
  ::SendMessageW(Form2->SetBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(shown, (std::vector<std::string>{"The window did not answer in time.",
                                             "The text shown was not read from this window. Press Get Text first."}));
  fixture_->Command("drain|Slow", std::chrono::seconds(30));
  EXPECT_EQ(TextOf("E1"), "Hello\r\nWorld");
  EXPECT_EQ(TextOf("Slow"), "Second window");

  Open("E2");
  ::SendMessageW(Form2->handle->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"65535"));
  Form2->Edit1->SetText("for E2 alone");
  ::SendMessageW(Form2->SetBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf("E2"), "for E2 alone");
  fixture_->Sync();
  EXPECT_TRUE(fixture_->MessagesFor("witness").empty());
  EXPECT_TRUE(fixture_->MessagesFor("Slow").empty());
}

// Four million units: the program answers throughout, the dialog shows what it can show within the
// ceiling, says how much, and will not write that back.
TEST_F(TextDialogTest, AHugeTextIsShownShortenedWithinTheCeilingAndNeverWrittenBack) {
  fixture_->Command("target|Big|Big");
  fixture_->Command("bigtext|Big|4000000");
  std::vector<std::string> shown;
  ScopedShowMessageHook hook([&](const std::string& text) { shown.push_back(text); });
  const Responsiveness seen = WhileAnswering(*app_, Form1->Handle(), [&] { Open("Big"); });
  EXPECT_LT(seen.took, std::chrono::milliseconds(kRoutineCeilingMs + 2000));
  EXPECT_EQ(seen.unanswered, 0);
  const std::size_t units = Utf8ToUtf16(Form2->Edit1->Text()).size();
  EXPECT_GT(units, 4096u);
  EXPECT_EQ(Length(), "showing " + std::to_string(units) + " of 4000000");
  ::SendMessageW(Form2->SetBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(shown, std::vector<std::string>{"Vexlan does not write back a text it shows shortened."});
  fixture_->Sync();
  EXPECT_TRUE(fixture_->MessagesFor("Big").empty());
}

TEST_F(TextDialogTest, DialogHasItsPlaceSizeAndControls) {
  RECT client{};
  ::GetClientRect(Form2->Handle(), &client);
  EXPECT_EQ(client.right, 293);
  EXPECT_EQ(client.bottom, 150);
  RECT outer{};
  ::GetWindowRect(Form2->Handle(), &outer);
  EXPECT_EQ(outer.left, 284);
  EXPECT_EQ(outer.top, 190);
  EXPECT_EQ(WindowText(Form2->Handle()), L"Show/Edit Text Element");
  // The memo wraps at its width and has no scroll bars.
  const auto memo = ::GetWindowLongPtrW(Form2->Edit1->Handle(), GWL_STYLE);
  EXPECT_TRUE(memo & ES_MULTILINE);
  EXPECT_FALSE(memo & (ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL));
  // The labels of handle and length fit their text.
  const int narrow = Form2->handle->BoundsRect().Width;
  Form2->handle->SetCaption("-2147483648");
  EXPECT_GT(Form2->handle->BoundsRect().Width, 4 * narrow);
  // It stands where the layout puts it, or just after its caption when the
  // face draws the caption wider.
  const LONG left = RectIn(Form2->handle->Handle(), Form2->Handle()).left;
  EXPECT_GE(left, 84);
  EXPECT_GT(left, RectIn(Form2->Label1->Handle(), Form2->Handle()).right);
}

// Tab follows SetBtn, GetBtn, Edit1; Enter in the memo is a new line, not a
// button; Escape closes the dialog.
TEST_F(TextDialogTest, KeyboardMovesTypesAndCloses) {
  int sets = 0;
  Open("E2");
  Form2->SetBtn->OnClick = [&](TObject*) { ++sets; };
  ASSERT_TRUE(PumpUntil(*app_, [] { return ::GetForegroundWindow() == Form2->Handle(); }));
  Form2->SetBtn->SetFocus();
  for (const char* expected : {"GetBtn", "Edit1", "SetBtn"}) {
    PressKey(VK_TAB);
    EXPECT_TRUE(PumpUntil(*app_, [&] { return FocusName() == expected; })) << expected << ": " << FocusName();
  }
  Form2->Edit1->SetFocus();
  ::SendMessageW(Form2->Edit1->Handle(), EM_SETSEL, 0, -1);
  PressKey('A');
  PressKey(VK_RETURN);
  PressKey('B');
  EXPECT_TRUE(PumpUntil(*app_, [] { return Form2->Edit1->Text() == "a\r\nb"; })) << Form2->Edit1->Text();
  EXPECT_EQ(sets, 0);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil(*app_, [] { return !::IsWindowVisible(Form2->Handle()); }));
}

}  // namespace
}  // namespace vexlan
