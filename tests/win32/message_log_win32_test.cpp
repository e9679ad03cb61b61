// The message log against windows of another process: what its hooks take,
// what they leave, the helper's road, and the failures told in words.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "msglog/win32/message_log.h"
#include "platform/utf.h"
#include "tests/win32/support/fixture_process.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT kMarker = WM_APP + 2;

bool UnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::wstring TestFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"vexlan-tests\\" + name;
}

// The 64-bit build of the helper, which takes the road a 64-bit Vexlan takes
// to a 32-bit program.
std::wstring Helper() {
  wchar_t host[MAX_PATH] = {};
  ::GetFullPathNameW(L"" VEXLAN_HOOK_HOST_EXE, MAX_PATH, host, nullptr);
  return host;
}

// A watched top-level window, its child, and a sibling of the same thread.
class MessageLogTest : public ::testing::Test {
 protected:
  std::unique_ptr<MessageLog> Watch(MessageLog::Options options = {}) {
    auto started = MessageLog::Start(files_, watched_, options);
    if (auto* error = std::get_if<WatchError>(&started)) {
      ADD_FAILURE() << WatchFailureText(*error);
      return nullptr;
    }
    return std::move(std::get<0>(started));
  }
  // The words a start that must fail gives.
  std::string Failure(HookFiles& files, HWND target, MessageLog::Options options = {}) {
    auto started = MessageLog::Start(files, target, options);
    if (auto* error = std::get_if<WatchError>(&started)) return WatchFailureText(*error);
    ADD_FAILURE() << "the log started";
    return {};
  }

  // Drains `log` into `records_` until `done` holds or ten seconds pass.
  bool DrainUntil(MessageLog& log, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
      log.Drain(records_);
      if (done()) return true;
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  // Posts the marker and drains until it came back: everything the watched
  // window handled before it has been read.
  bool DrainThroughMarker(MessageLog& log) {
    static WPARAM next = 1000;
    const WPARAM mark = ++next;
    ::PostMessageW(watched_, kMarker, mark, 0);
    return DrainUntil(log, [&] { return !Of(kMarker, mark).empty(); });
  }
  std::vector<MessageRecord> Of(UINT message, std::optional<WPARAM> wparam = {}) const {
    std::vector<MessageRecord> found;
    for (const MessageRecord& r : records_) {
      if (r.message == message && (!wparam || r.wparam == *wparam)) found.push_back(r);
    }
    return found;
  }
  static std::uint32_t Id(HWND hwnd) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd)); }

  FixtureProcess fixture_{{"top|watched|VexlanWatched|Watched", "child|kid|watched|VexlanKid|Kid",
                           "top|sibling|VexlanWatched|Sibling"}};
  const HWND watched_ = fixture_.Handle("watched");
  HookFiles files_{::GetModuleHandleW(nullptr), TestFolder(L"log")};
  std::vector<MessageRecord> records_;
};

// Both roads to the hooks take every posted message once, in order; after
// Stop nothing more comes, sent or posted, and the helper ends with its log.
TEST_F(MessageLogTest, EachRoadTakesPostedMessagesOnceInOrderAndNothingAfterStop) {
  for (const bool helper : {false, true}) {
    SCOPED_TRACE(helper ? "through the helper" : "hooks set by Vexlan");
    records_.clear();
    auto log = Watch(helper ? MessageLog::Options{.helper = Helper()} : MessageLog::Options{});
    ASSERT_TRUE(log);
    for (WPARAM i = 0; i < 100; ++i) ASSERT_TRUE(::PostMessageW(watched_, kProbe, i, static_cast<LPARAM>(i * 3)));
    ASSERT_TRUE(DrainThroughMarker(*log)) << Of(kProbe).size() << " came";
    const std::vector<MessageRecord> probes = Of(kProbe);
    ASSERT_EQ(probes.size(), 100u);
    for (WPARAM i = 0; i < 100; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(probes[i].wparam, i);
      EXPECT_EQ(probes[i].lparam, i * 3);
      EXPECT_EQ(probes[i].kind, kRecordPosted);
      EXPECT_EQ(probes[i].hwnd, Id(watched_));
    }
    EXPECT_EQ(log->Lost(), 0u);

    log->Stop(records_);
    EXPECT_FALSE(log->Running());
    records_.clear();
    ::PostMessageW(watched_, kProbe, 200, 0);
    fixture_.Command("caption|watched|after the stop");
    fixture_.Sync();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(log->Drain(records_), 0u);
    EXPECT_TRUE(records_.empty());
  }

  // A new log of the same thread takes the next message, whatever slot and
  // ring it gets; the target's view of the closed ring is let go.
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    auto again = Watch();
    ASSERT_TRUE(again);
    ::PostMessageW(watched_, kProbe, 10 + round, 0);
    ASSERT_TRUE(DrainThroughMarker(*again));
    EXPECT_EQ(Of(kProbe, 10 + round).size(), 1u);
  }
}

// The program's own SetWindowText sends WM_SETTEXT on its own thread: the
// hook reads its text, and the return carries the result. A WM_SETTEXT
// from another process: Windows hands the hook the text brought over, Wine 8
// the sender's own pointer, which the hook leaves alone (and Wine passes 0
// as the result of any message sent from another thread).
TEST_F(MessageLogTest, ASentTextWithItsResult) {
  auto log = Watch();
  ASSERT_TRUE(log);
  const std::string text = "Grüße, Ελληνικά\tand a tab";
  fixture_.Command("caption|watched|" + text);
  ASSERT_TRUE(DrainThroughMarker(*log));
  const std::vector<MessageRecord> set = Of(WM_SETTEXT);
  ASSERT_EQ(set.size(), 2u);
  EXPECT_EQ(set[0].kind, kRecordSent);
  EXPECT_EQ(set[0].flags, kRecordText);
  EXPECT_EQ(Utf16ToUtf8(std::u16string(set[0].text, set[0].text_units)), text);
  EXPECT_EQ(set[1].kind, kRecordReturned);
  EXPECT_EQ(set[1].result, 1u);

  records_.clear();
  const std::u16string from_here = u"from another process";
  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(watched_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(from_here.c_str()), SMTO_BLOCK,
                                    5000, &result));
  ASSERT_TRUE(DrainThroughMarker(*log));
  const std::vector<MessageRecord> sent = Of(WM_SETTEXT);
  ASSERT_EQ(sent.size(), 2u);
  if (UnderWine()) {
    EXPECT_EQ(sent[0].flags, 0) << "the sender's pointer is not read";
    EXPECT_EQ(sent[1].result, 0u);
  } else {
    EXPECT_EQ(std::u16string(sent[0].text, sent[0].text_units), from_here);
    EXPECT_EQ(sent[1].result, 1u);
  }
}

TEST_F(MessageLogTest, TheSiblingNeverAndTheChildOnlyWithChildrenToo) {
  const HWND kid = fixture_.Handle("kid");
  auto log = Watch();
  ASSERT_TRUE(log);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round ? "children too" : "the window alone");
    records_.clear();
    for (HWND to : {watched_, kid, fixture_.Handle("sibling")}) ::PostMessageW(to, kProbe, round, 0);
    ASSERT_TRUE(DrainThroughMarker(*log));
    std::vector<std::uint32_t> seen, expected{Id(watched_)};
    for (const MessageRecord& r : Of(kProbe)) seen.push_back(r.hwnd);
    if (round) expected.push_back(Id(kid));
    EXPECT_EQ(seen, expected);
    log->SetChildren(true);
  }
}

TEST_F(MessageLogTest, FailuresAreToldAndHookNothing) {
  fixture_.Command("top|gone|VexlanWatched|Gone");
  const HWND gone = fixture_.Handle("gone");
  fixture_.Command("destroy|gone");
  EXPECT_EQ(Failure(files_, gone), "The window no longer exists.");
  EXPECT_EQ(Failure(files_, watched_, {.helper = Helper() + L".missing"}),
            "The 32-bit helper that watches 32-bit programs did not start (error 2).");

  // A file of the DLL's name that is not the DLL: replaced when it can be,
  // refused while another program holds it (for reading, as a program that
  // loaded it would, or for writing).
  HookFiles files(::GetModuleHandleW(nullptr), TestFolder(L"tampered"));
  const std::wstring path = files.PathOf(CarriedFile::HookDll);
  ::CreateDirectoryW(TestFolder(L"").c_str(), nullptr);
  ::CreateDirectoryW(files.Folder().c_str(), nullptr);
  ::DeleteFileW(path.c_str());
  for (DWORD held : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}, DWORD{0}}) {
    SCOPED_TRACE(held == GENERIC_READ ? "held for reading" : held ? "held for writing" : "left alone");
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "MZ not a DLL", 12, &written, nullptr);
    if (held != GENERIC_WRITE) ::CloseHandle(file);
    if (held == GENERIC_READ) file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held) {
      EXPECT_EQ(Failure(files, watched_),
                "The file \"" + Utf16ToUtf8(std::u16string(path.begin(), path.end())) +
                    "\" is not the message hook Vexlan carries, and Vexlan could not replace it. Nothing was loaded "
                    "into the program.");
      ::CloseHandle(file);
    } else {
      auto result = MessageLog::Start(files, watched_, {});
      ASSERT_TRUE(std::holds_alternative<std::unique_ptr<MessageLog>>(result));
      // In use, the file is held against writing.
      const HANDLE writer =
          ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
      EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
      if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
    }
  }

  // Sixteen logs of one thread take every slot; the seventeenth is told.
  std::vector<std::unique_ptr<MessageLog>> logs;
  for (int i = 0; i < kHookSlots; ++i) {
    logs.push_back(Watch());
    ASSERT_TRUE(logs.back());
  }
  EXPECT_EQ(Failure(files_, watched_), "The window's thread is watched by 16 logs already. Close one of them to watch it.");
}

}  // namespace
}  // namespace vexlan
