// The Messages window on windows of another process, opened from the tree's
// pop-up menu: one per watched window, its buttons, filters and counts, what
// it copies and saves; and the program itself killed while it logs.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "forms/Vexlan_unit6.h"
#include "msglog/message_text.h"
#include "platform/toolkit/win32/clipboard.h"
#include "platform/toolkit/win32/file_dialogs.h"
#include "platform/utf.h"
#include "tests/win32/forms_test_support.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

constexpr UINT kProbe = WM_APP + 7;

class MessagesFormTest : public FormsNextToFixtureTest {
 protected:
  // The Messages window the menu item opens on `name`'s window.
  TForm6* WatchFromMenu(const char* name) {
    EXPECT_TRUE(Form1->Findnodebyhandle(fixture_->Id(name)));
    Form1->Watchmessages1->Click();
    for (TForm6* form : MessagesForms()) {
      if (form->Target() == fixture_->Id(name) && form->Visible()) return form;
    }
    ADD_FAILURE() << "no Messages window for " << name;
    return nullptr;
  }
  // Posts `count` probes to `name`'s window and waits until the form has
  // taken as many more records of them.
  bool Probe(TForm6& form, const char* name, int count) {
    const auto probes = [&] {
      int n = 0;
      for (std::size_t i = 0; i < form.Records().size(); ++i) n += form.Records().at(i).message == kProbe;
      return n;
    };
    const int before = probes();
    for (int i = 0; i < count; ++i) ::PostMessageW(fixture_->Handle(name), kProbe, static_cast<WPARAM>(i), 0);
    return PumpUntil(*app_, [&] { return probes() >= before + count; });
  }
};

TEST_F(MessagesFormTest, OneWindowPerWatchedWindowNamedByItsHandle) {
  Start({"top|A|VexlanWatched|First", "top|B|VexlanWatched|Second", "top|Gone|VexlanWatched|Gone"});
  TForm6* a = WatchFromMenu("A");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Caption(), "Messages - " + std::to_string(fixture_->Id("A")));
  EXPECT_TRUE(a->Logging());
  EXPECT_EQ(WatchFromMenu("A"), a) << "the window already open comes to the front";
  TForm6* b = WatchFromMenu("B");
  ASSERT_TRUE(b);
  EXPECT_NE(a, b);
  EXPECT_EQ(MessagesForms().size(), 2u);

  // Closing stops the log; the next watch lets the closed window go.
  a->Close();
  EXPECT_FALSE(a->Logging());
  EXPECT_EQ(a->Records().size(), 0u);
  std::vector<std::string> said;
  {
    ScopedShowMessageHook hook([&](const std::string& text) { said.push_back(text); });
    ASSERT_TRUE(Form1->Findnodebyhandle(fixture_->Id("Gone")));
    fixture_->Command("destroy|Gone");
    Form1->Watchmessages1->Click();
  }
  EXPECT_EQ(said, std::vector<std::string>{"The window no longer exists."});
  EXPECT_EQ(MessagesForms(), std::vector<TForm6*>{b}) << "no window for a log that could not start";
}

TEST_F(MessagesFormTest, StopStartCopySaveClearFiltersAndCounts) {
  Start({"top|A|VexlanWatched|Watched", "child|Kid|A|VexlanKid|Kid"});
  TForm6* form = WatchFromMenu("A");
  ASSERT_TRUE(form);
  ASSERT_TRUE(Probe(*form, "A", 10));
  form->DrainNow();
  const std::size_t taken = form->Records().size();
  EXPECT_EQ(form->ListView1->RowCount(), static_cast<int>(taken));
  EXPECT_TRUE(form->ListView1->LastRowInView());
  EXPECT_EQ(form->CountLabel->Caption(), std::to_string(taken) + " records, 0 lost");

  ::SendMessageW(form->StartStopBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(form->Logging());
  EXPECT_EQ(form->StartStopBtn->Caption(), "&Start");
  for (int i = 0; i < 5; ++i) ::PostMessageW(fixture_->Handle("A"), kProbe, 100, 0);
  fixture_->Sync();
  Settle(*app_, 300);
  EXPECT_EQ(form->Records().size(), taken) << "nothing is taken while stopped";

  // Copy all and Save give the shown records as text.
  const std::string text = LogText(form->Records(), form->Lost());
  ASSERT_NE(text.find("\tP\t" + std::to_string(fixture_->Id("A")) + "\tWM_APP+7\t00000009\t"), std::string::npos)
      << text;
  ::SendMessageW(form->CopyAllBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(ClipboardText(form->Handle()), text);
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::string folder = Utf16ToUtf8(reinterpret_cast<const char16_t*>(temp));
  std::vector<std::string> offered, said;
  std::string answer = folder + "vexlan-saved-log.txt";
  const SaveFileNameHook previous = SetSaveFileNameHook([&](std::string_view name) -> std::optional<std::string> {
    offered.emplace_back(name);
    return answer;
  });
  {
    ScopedShowMessageHook boxes([&](const std::string& t) { said.push_back(t); });
    ::SendMessageW(form->SaveBtn->Handle(), BM_CLICK, 0, 0);
    std::ifstream saved(answer, std::ios::binary);
    std::stringstream content;
    content << saved.rdbuf();
    EXPECT_EQ(content.str(), text);
    EXPECT_EQ(offered, std::vector<std::string>{"Messages " + std::to_string(fixture_->Id("A")) + ".txt"});
    answer = folder + "no such folder\\log.txt";
    ::SendMessageW(form->SaveBtn->Handle(), BM_CLICK, 0, 0);
    SetSaveFileNameHook(previous);
  }
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(said[0].rfind("Vexlan could not write \"" + answer + "\" (error ", 0), 0u) << said[0];

  // Started again, on the same window, into the same list; the kid's
  // messages come once "Children too" is ticked.
  ::SendMessageW(form->StartStopBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->StartStopBtn->Caption(), "&Stop");
  ::SendMessageW(form->ChildrenBox->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(form->ChildrenBox->Checked());
  ASSERT_TRUE(Probe(*form, "Kid", 3));
  EXPECT_EQ(form->Records().Number(form->Records().size() - 1), form->Records().size()) << "numbers go on";

  // Only mouse messages shown: none of the probes.
  for (TCheckBox* box : {form->KeyboardBox, form->PaintingBox, form->WindowsBox, form->OtherBox}) {
    ::SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  }
  for (std::size_t row = 0; row < form->Records().ShownCount(); ++row) {
    EXPECT_EQ(form->Records().at(form->Records().ShownAt(row)).group, MessageGroup::Mouse);
  }
  EXPECT_EQ(form->ListView1->RowCount(), static_cast<int>(form->Records().ShownCount()));
  EXPECT_NE(form->CountLabel->Caption().find(" shown"), std::string::npos) << form->CountLabel->Caption();

  // Never smaller than its bar's buttons and boxes.
  ::SetWindowPos(form->Handle(), nullptr, 0, 0, 20, 20, SWP_NOMOVE | SWP_NOZORDER);
  RECT client{};
  ::GetClientRect(form->Handle(), &client);
  EXPECT_LE(RectIn(form->ChildrenBox->Handle(), form->Handle()).right, client.right);
  EXPECT_LE(RectIn(form->OtherBox->Handle(), form->Handle()).right, client.right);
  EXPECT_GT(RectIn(form->ListView1->Handle(), form->Handle()).bottom - RectIn(form->ListView1->Handle(), form->Handle()).top, 60);

  ::SendMessageW(form->ClearBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->ListView1->RowCount(), 0);
  EXPECT_EQ(form->CountLabel->Caption().rfind("0 records, 0 lost", 0), 0u) << form->CountLabel->Caption();

  // The watched window goes: the log stops itself and says why.
  ::SendMessageW(form->OtherBox->Handle(), BM_CLICK, 0, 0);
  fixture_->Command("destroy|A");
  ASSERT_TRUE(PumpUntil(*app_, [&] { return !form->Logging(); }));
  EXPECT_NE(form->CountLabel->Caption().find(". The window no longer exists."), std::string::npos)
      << form->CountLabel->Caption();
  EXPECT_EQ(form->StartStopBtn->Caption(), "&Start");
}

// The program itself, logging a window of another program, is killed: the
// system takes its hooks away, and the other program goes on answering and
// doing what it is asked.
TEST(VexlanProgramKilled, WhileItLogsTheTargetGoesOn) {
  FixtureProcess fixture({"top|A|VexlanWatched|Watched"});
  const HWND target = fixture.Handle("A");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring command = L"" VEXLAN_PROGRAM_EXE;
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
  struct Killer {
    HANDLE process;
    ~Killer() { ::TerminateProcess(process, 99); }
  } killer{process.get()};
  const auto wait_for = [](const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); ++i) ::Sleep(50);
    return done();
  };
  HWND main_window = nullptr, box = nullptr, show = nullptr, messages = nullptr, counts = nullptr;
  ASSERT_TRUE(wait_for([&] { return (main_window = FindThreadWindow(pi.dwThreadId, L"TForm1")) != nullptr; }));
  ASSERT_TRUE(wait_for([&] {
    box = ::FindWindowExW(::FindWindowExW(main_window, nullptr, L"TAdvancedPanel", nullptr), nullptr, L"Edit", nullptr);
    show = ::FindWindowExW(::GetParent(box), nullptr, L"Button", L"&Show Handle");
    return box && show;
  }));
  const std::wstring id = std::to_wstring(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(target)));
  ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(id.c_str()));
  ::SendMessageW(show, BM_CLICK, 0, 0);
  ASSERT_TRUE(wait_for([&] { return ::GetForegroundWindow() == main_window; }));
  PressKey(VK_APPS);
  ASSERT_TRUE(wait_for([&] { return FindThreadWindow(pi.dwThreadId, L"#32768") != nullptr; }));
  PressKey('W');
  ASSERT_TRUE(wait_for([&] { return (messages = FindThreadWindow(pi.dwThreadId, L"TForm6")) != nullptr; }));
  for (int i = 0; i < 20; ++i) ::PostMessageW(target, kProbe, static_cast<WPARAM>(i), 0);
  ASSERT_TRUE(wait_for([&] {
    counts = ::FindWindowExW(::FindWindowExW(messages, nullptr, L"TPanel", nullptr), nullptr, L"Static", nullptr);
    return counts && WindowText(counts).rfind(L"0 records", 0) != 0;
  })) << "the log took nothing";

  ::TerminateProcess(process.get(), 99);
  ASSERT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
  for (int i = 0; i < 200; ++i) ::PostMessageW(target, kProbe, static_cast<WPARAM>(i), 0);
  const std::u16string caption = u"still here";
  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()), SMTO_BLOCK,
                                    5000, &result));
  EXPECT_EQ(result, 1u);
  EXPECT_EQ(WindowText(target), L"still here");
  fixture.Command("caption|A|and working");
  fixture.Sync();
  EXPECT_EQ(WindowText(target), L"and working");
}

}  // namespace
}  // namespace vexlan
