// vexlan_soak: uses vexlan.exe for a long time, from outside and only as a
// user could, while the windows it looks at come, go and change captions,
// and tells whether it kept its windows, memory, handles and GUI objects.
//
// usage: vexlan_soak.exe [ROUNDS]   (scripts/soak.sh builds and runs it)
//
// It starts the fixture program with a churn of windows and an anchor window
// that stays, then vexlan.exe as a process of its own. Every round:
//  - Refresh, clicked;
//  - Find Element, clicked; for 50 ticks of the picker (5 s) the cursor
//    moves over the churning windows, then Ctrl+Q (typed) freezes it, the
//    cursor moves on to the anchor without the fields following, and Show is
//    clicked;
//  - Show Handle with a churning window's handle, the anchor's handle and a
//    text that is no number, typed into the bar's box;
//  - Search List with a caption that nothing has, then with a handle and a
//    class that nothing has;
//  - the Show/Edit Text dialog through the tree's menu (the menu key, then
//    E) on the anchor's edit control, whose text it must show, or on
//    whatever window the picker selected;
// and every message box Vexlan shows is read and closed with OK. Buttons are
// clicked with BM_CLICK on the real buttons, found by caption; text goes into
// the real edit boxes; keys go through the system's input queue (SendInput).
//
// The figures are read from outside, never asked of the program: the windows
// its process owns (by enumeration), its private memory, its handle count and
// its user and GDI object counts, where the system gives them. They are taken
// after a warm-up round (first use allocates what later uses reuse) and after
// the last round. The last line of output is
//   soak: rebuilds=N ticks=N windows=A->B private_kb=A->B handles=A->B
//         user_objects=A->B gdi_objects=A->B crashes=N
// (one line), with n/a for a figure the system does not give. The exit code
// is 1 when the program died or hung, a check failed, or a count grew by
// more than 5% (private memory: 10%), else 0.
#include <windows.h>
#include <winternl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/utf.h"
#include "tests/win32/support/fixture_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kDefaultRounds = 200;
constexpr int kTicksPerRound = 50;
constexpr milliseconds kTickPeriod{100};
// The picker's fields are read this often while it follows the cursor.
constexpr int kReadEveryTicks = 5;
// A message Vexlan does not answer within this time means it hangs.
constexpr UINT kHangMs = 60000;
// How long a window or state the driver waits for may take to come.
constexpr milliseconds kAppearTimeout{10000};
constexpr int kChurnWindows = 16;
constexpr int kChurnPeriodMs = 40;
constexpr int kProgressEvery = 10;
constexpr double kCountGrowth = 1.05;
constexpr double kMemoryGrowth = 1.10;
const char kAnchorText[] = "Soak anchor text: Grüße, Ελληνικά, Русский, 中文\r\nsecond line";

std::wstring Wide(std::string_view utf8) {
  const std::u16string w = vexlan::Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}

std::string Narrow(std::wstring_view wide) { return vexlan::Utf16ToUtf8(std::u16string(wide.begin(), wide.end())); }

std::string Decimal(HWND hwnd) {
  return std::to_string(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(hwnd)));
}

// A check that failed, or the program that died or stopped answering: the
// soak ends there.
struct Fault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------
// Looking at the program's windows from outside

std::wstring ClassOf(HWND hwnd) {
  wchar_t buffer[256] = {};
  ::GetClassNameW(hwnd, buffer, 256);
  return buffer;
}

// The caption the system keeps (no message is sent).
std::wstring CaptionOf(HWND hwnd) {
  wchar_t buffer[512] = {};
  ::GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

bool OwnedBy(HWND hwnd, DWORD pid) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  return owner == pid;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  ::EnumWindows(
      [](HWND hwnd, LPARAM out) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  ::EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM out) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// Every window of process `pid`: top-level ones, message-only ones and all
// their descendants.
int CountWindowsOf(DWORD pid) {
  std::vector<HWND> tops = TopLevelWindows();
  for (HWND w = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = ::FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) {
    tops.push_back(w);
  }
  int count = 0;
  for (HWND top : tops) {
    if (OwnedBy(top, pid)) ++count;
    for (HWND child : Descendants(top)) {
      if (OwnedBy(child, pid)) ++count;
    }
  }
  return count;
}

// The top-level window of class `cls` that thread `thread` owns, shown or not.
HWND ThreadWindow(DWORD thread, const wchar_t* cls, bool visible_only = false) {
  struct Search {
    const wchar_t* cls;
    bool visible_only;
    HWND found;
  } search{cls, visible_only, nullptr};
  ::EnumThreadWindows(
      thread,
      [](HWND hwnd, LPARAM lparam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lparam);
        if ((!s->visible_only || ::IsWindowVisible(hwnd)) && ClassOf(hwnd) == s->cls) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ChildByCaption(HWND parent, const wchar_t* cls, const wchar_t* caption) {
  for (HWND child : Descendants(parent)) {
    if (lstrcmpiW(ClassOf(child).c_str(), cls) == 0 && CaptionOf(child) == caption) return child;
  }
  throw Fault("no " + Narrow(cls) + " \"" + Narrow(caption) + "\" in the " + Narrow(ClassOf(parent)) + " window");
}

// The edit controls of a form, from the top of the form down.
std::vector<HWND> EditsTopDown(HWND form) {
  std::vector<std::pair<LONG, HWND>> edits;
  for (HWND child : Descendants(form)) {
    if (lstrcmpiW(ClassOf(child).c_str(), L"Edit") != 0) continue;
    RECT r{};
    ::GetWindowRect(child, &r);
    edits.emplace_back(r.top, child);
  }
  std::sort(edits.begin(), edits.end());
  std::vector<HWND> out;
  for (const auto& e : edits) out.push_back(e.second);
  return out;
}

bool WaitFor(const std::function<bool()>& done, milliseconds timeout = kAppearTimeout) {
  const auto deadline = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    ::Sleep(20);
  }
  return true;
}

// ---------------------------------------------------------------------------
// The figures

struct Figures {
  std::optional<long long> windows, private_kb, handles, user_objects, gdi_objects;
};

// The VM_COUNTERS_EX layout: VM_COUNTERS followed by the private usage.
struct VmCountersEx {
  SIZE_T PeakVirtualSize;
  SIZE_T VirtualSize;
  ULONG PageFaultCount;
  SIZE_T PeakWorkingSetSize;
  SIZE_T WorkingSetSize;
  SIZE_T QuotaPeakPagedPoolUsage;
  SIZE_T QuotaPagedPoolUsage;
  SIZE_T QuotaPeakNonPagedPoolUsage;
  SIZE_T QuotaNonPagedPoolUsage;
  SIZE_T PagefileUsage;
  SIZE_T PeakPagefileUsage;
  SIZE_T PrivateUsage;
};

std::optional<long long> PrivateKb(HANDLE process) {
  VmCountersEx vm{};
  ULONG length = 0;
  constexpr auto kVmCounters = static_cast<PROCESSINFOCLASS>(3);
  if (::NtQueryInformationProcess(process, kVmCounters, &vm, sizeof vm, &length) >= 0 &&
      length >= sizeof vm && vm.PrivateUsage > 0) {
    return static_cast<long long>(vm.PrivateUsage / 1024);
  }
  PROCESS_MEMORY_COUNTERS_EX pm{};
  pm.cb = sizeof pm;
  if (::K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pm), sizeof pm) &&
      pm.PrivateUsage > 0) {
    return static_cast<long long>(pm.PrivateUsage / 1024);
  }
  return std::nullopt;
}

// No living process has no handles and no GUI process no user objects: a
// zero is the system not telling.
std::optional<long long> Given(unsigned long value) {
  if (value == 0) return std::nullopt;
  return static_cast<long long>(value);
}

Figures Measure(HANDLE process, DWORD pid) {
  Figures f;
  f.windows = CountWindowsOf(pid);
  f.private_kb = PrivateKb(process);
  DWORD handles = 0;
  if (::GetProcessHandleCount(process, &handles)) f.handles = Given(handles);
  f.user_objects = Given(::GetGuiResources(process, GR_USEROBJECTS));
  f.gdi_objects = Given(::GetGuiResources(process, GR_GDIOBJECTS));
  return f;
}

// "n/a" for a figure the system does not give; a program that died has no
// figures at the end.
std::string Pair(const std::optional<long long>& a, const std::optional<long long>& b) {
  if (!a && !b) return "n/a";
  const auto text = [](const std::optional<long long>& v) { return v ? std::to_string(*v) : std::string("n/a"); };
  return text(a) + "->" + text(b);
}

// Empty when `b` stays within `limit` times `a` (or the system does not tell).
std::string Growth(const char* name, const std::optional<long long>& a, const std::optional<long long>& b,
                   double limit) {
  if (!a || !b || static_cast<double>(*b) <= static_cast<double>(*a) * limit) return {};
  return std::string(name) + " grew from " + std::to_string(*a) + " to " + std::to_string(*b);
}

// ---------------------------------------------------------------------------
// Message boxes

// Reads and closes, with OK, every message box that thread `thread` shows,
// as a user would, on a thread of its own.
class BoxCloser {
 public:
  explicit BoxCloser(DWORD thread)
      : watcher_([this, thread] {
          HWND last = nullptr;
          while (!stop_) {
            const HWND box = ThreadWindow(thread, L"#32770", true);
            if (box && box != last) {
              last = box;
              const std::wstring text = CaptionOf(::GetDlgItem(box, 0xFFFF));
              {
                const std::lock_guard lock(lock_);
                texts_.push_back(Narrow(text));
              }
              ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            }
            ::Sleep(20);
          }
        }) {}
  ~BoxCloser() {
    stop_ = true;
    watcher_.join();
  }
  BoxCloser(const BoxCloser&) = delete;
  BoxCloser& operator=(const BoxCloser&) = delete;

  std::size_t Count() {
    const std::lock_guard lock(lock_);
    return texts_.size();
  }
  // The texts of the boxes shown since the count was `from`.
  std::vector<std::string> Since(std::size_t from) {
    const std::lock_guard lock(lock_);
    return std::vector<std::string>(texts_.begin() + static_cast<std::ptrdiff_t>(std::min(from, texts_.size())),
                                    texts_.end());
  }

 private:
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<std::string> texts_;
  std::thread watcher_;
};

std::string Quoted(const std::vector<std::string>& texts) {
  if (texts.empty()) return "no message box";
  std::string out;
  for (const std::string& t : texts) out += (out.empty() ? "\"" : ", \"") + t + "\"";
  return out;
}

// ---------------------------------------------------------------------------
// Input

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

void PressKey(WORD vk, WORD modifier = 0) {
  std::vector<INPUT> inputs;
  if (modifier) inputs.push_back(Key(modifier, false));
  inputs.push_back(Key(vk, false));
  inputs.push_back(Key(vk, true));
  if (modifier) inputs.push_back(Key(modifier, true));
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// ---------------------------------------------------------------------------
// The soak

class Soak {
 public:
  explicit Soak(int rounds) : rounds_(rounds) {}
  int Run();

 private:
  void StartFixture();
  void StartProgram();
  void FindForms();
  void Round(int round);
  void Picker();
  void Lookups();
  void TextDialog(bool on_anchor);

  // BM_CLICK on `button`, waiting until its handler has run (and every
  // message box it showed has been closed).
  void Click(HWND button, const char* what);
  void SetText(HWND edit, const std::string& text);
  std::string TextOf(HWND window);
  void CheckAlive(const char* doing);
  // Runs `step` and checks the message boxes it showed.
  void ExpectBoxes(const char* step, const std::function<void()>& run, const std::vector<std::string>& expected);
  std::vector<std::string> BoxesOf(const std::function<void()>& run);
  void WaitVisible(HWND form, bool visible, const char* what);
  std::vector<HWND> ChurnWindows();
  void MoveOver(HWND window);
  void Progress(int round);

  int rounds_;
  std::optional<vexlan::testing::FixtureProcess> fixture_;
  PROCESS_INFORMATION program_{};
  std::optional<BoxCloser> boxes_;
  std::mt19937 random_{14};

  HWND form1_ = nullptr, form2_ = nullptr, form3_ = nullptr, form4_ = nullptr;
  HWND refresh_ = nullptr, find_ = nullptr, search_ = nullptr, exit_ = nullptr, show_handle_ = nullptr;
  HWND bar_edit_ = nullptr, tree_ = nullptr;
  HWND picker_show_ = nullptr;
  std::vector<HWND> picker_edits_, search_edits_;
  HWND search_button_ = nullptr;
  HWND memo_ = nullptr, get_text_ = nullptr;

  int rebuilds_ = 0;
  int ticks_ = 0;
  bool measuring_ = false;
};

void Soak::StartFixture() {
  fixture_.emplace(std::vector<std::string>{
      "top|Anchor|VexlanSoakAnchor|Soak anchor",
      std::string("edit|AnchorText|Anchor|") + kAnchorText,
      "churn|Churn|" + std::to_string(kChurnWindows) + "|" + std::to_string(kChurnPeriodMs),
  });
  // Below the churning grid, away from Vexlan's forms.
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  ::SetWindowPos(fixture_->Handle("Anchor"), HWND_TOP, width - 420, 600, 300, 160, SWP_NOACTIVATE);
  ::SetWindowPos(fixture_->Handle("AnchorText"), nullptr, 4, 4, 280, 60, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Soak::StartProgram() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path.resize(path.find_last_of(L"\\/") + 1);
  std::wstring command = L"\"" + path + L"vexlan.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, path.c_str(), &si, &program_)) {
    throw Fault("cannot start vexlan.exe (error " + std::to_string(::GetLastError()) + ")");
  }
  if (!WaitFor([&] { return ThreadWindow(program_.dwThreadId, L"TForm1", true) != nullptr; }, milliseconds(60000))) {
    throw Fault("Vexlan's main window did not appear");
  }
  boxes_.emplace(program_.dwThreadId);
}

void Soak::FindForms() {
  const DWORD thread = program_.dwThreadId;
  form1_ = ThreadWindow(thread, L"TForm1");
  form2_ = ThreadWindow(thread, L"TForm2");
  form3_ = ThreadWindow(thread, L"TForm3");
  form4_ = ThreadWindow(thread, L"TForm4");
  if (!form1_ || !form2_ || !form3_ || !form4_) throw Fault("a form's window is missing");
  refresh_ = ChildByCaption(form1_, L"Button", L"&Refresh");
  find_ = ChildByCaption(form1_, L"Button", L"&Find Element");
  search_ = ChildByCaption(form1_, L"Button", L"&Search List");
  exit_ = ChildByCaption(form1_, L"Button", L"E&xit");
  show_handle_ = ChildByCaption(form1_, L"Button", L"&Show Handle");
  const std::vector<HWND> bar_edits = EditsTopDown(form1_);
  if (bar_edits.size() != 1) throw Fault("the main window has " + std::to_string(bar_edits.size()) + " edit boxes");
  bar_edit_ = bar_edits[0];
  for (HWND child : Descendants(form1_)) {
    if (ClassOf(child) == L"SysTreeView32") tree_ = child;
  }
  if (!tree_) throw Fault("the main window has no tree");
  picker_show_ = ChildByCaption(form3_, L"Button", L"&Show");
  picker_edits_ = EditsTopDown(form3_);
  search_button_ = ChildByCaption(form4_, L"Button", L"&Search List");
  search_edits_ = EditsTopDown(form4_);
  const std::vector<HWND> memos = EditsTopDown(form2_);
  get_text_ = ChildByCaption(form2_, L"Button", L"&Get Text");
  if (picker_edits_.size() != 3 || search_edits_.size() != 3 || memos.size() != 1) {
    throw Fault("a dialog does not have the edit boxes it should");
  }
  memo_ = memos[0];
}

void Soak::CheckAlive(const char* doing) {
  if (::WaitForSingleObject(program_.hProcess, 0) == WAIT_OBJECT_0) {
    DWORD code = 0;
    ::GetExitCodeProcess(program_.hProcess, &code);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    throw Fault(std::string("Vexlan died ") + doing + ", exit code " + hex);
  }
}

void Soak::Click(HWND button, const char* what) {
  CheckAlive(what);
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, kHangMs, &result)) {
    CheckAlive(what);
    throw Fault(std::string("Vexlan did not answer ") + what + " within " + std::to_string(kHangMs) + " ms");
  }
}

void Soak::SetText(HWND edit, const std::string& text) {
  const std::wstring wide = Wide(text);
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_NORMAL, kHangMs,
                             &result)) {
    CheckAlive("taking typed text");
    throw Fault("Vexlan did not take a typed text within " + std::to_string(kHangMs) + " ms");
  }
}

std::string Soak::TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kHangMs, &length)) {
    CheckAlive("reading a field");
    throw Fault("Vexlan did not tell a field's text length");
  }
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL,
                             kHangMs, &copied)) {
    CheckAlive("reading a field");
    throw Fault("Vexlan did not tell a field's text");
  }
  buffer.resize(std::min<std::size_t>(copied, length));
  return Narrow(buffer);
}

std::vector<std::string> Soak::BoxesOf(const std::function<void()>& run) {
  const std::size_t before = boxes_->Count();
  run();
  return boxes_->Since(before);
}

void Soak::ExpectBoxes(const char* step, const std::function<void()>& run, const std::vector<std::string>& expected) {
  const std::vector<std::string> seen = BoxesOf(run);
  if (seen != expected) {
    throw Fault(std::string(step) + ": expected " + Quoted(expected) + ", Vexlan showed " + Quoted(seen));
  }
}

void Soak::WaitVisible(HWND form, bool visible, const char* what) {
  if (!WaitFor([&] { return (::IsWindowVisible(form) != FALSE) == visible; })) {
    CheckAlive(what);
    throw Fault(std::string(what) + ": the " + Narrow(ClassOf(form)) + " window did not " +
                (visible ? "appear" : "go"));
  }
}

std::vector<HWND> Soak::ChurnWindows() {
  std::vector<HWND> out;
  for (HWND w : TopLevelWindows()) {
    if (OwnedBy(w, fixture_->ProcessId()) && ::IsWindowVisible(w) && ClassOf(w) == L"VexlanChurn") out.push_back(w);
  }
  return out;
}

// Puts the cursor on a point of `window` (the window or its child).
void Soak::MoveOver(HWND window) {
  RECT r{};
  if (!::GetWindowRect(window, &r) || r.right - r.left < 20 || r.bottom - r.top < 20) return;
  std::uniform_int_distribution<LONG> x(r.left + 8, r.right - 8), y(r.top + 8, r.bottom - 8);
  ::SetCursorPos(x(random_), y(random_));
}

void Soak::Picker() {
  Click(find_, "Find Element");
  WaitVisible(form3_, true, "Find Element");
  const auto start = Clock::now();
  std::vector<std::string> shown;
  for (int tick = 1; tick <= kTicksPerRound; ++tick) {
    const std::vector<HWND> churn = ChurnWindows();
    if (!churn.empty()) MoveOver(churn[std::uniform_int_distribution<std::size_t>(0, churn.size() - 1)(random_)]);
    std::this_thread::sleep_until(start + tick * kTickPeriod);
    if (tick % kReadEveryTicks == 0) shown.push_back(TextOf(picker_edits_[0]));
  }
  ticks_ += kTicksPerRound;
  std::sort(shown.begin(), shown.end());
  if (std::unique(shown.begin(), shown.end()) - shown.begin() < 2) {
    throw Fault("the picker did not follow the cursor over the churning windows");
  }

  // Frozen, it keeps showing what it showed, wherever the cursor goes.
  PressKey('Q', VK_CONTROL);
  ::Sleep(400);
  const std::string frozen = TextOf(picker_edits_[0]);
  MoveOver(fixture_->Handle("Anchor"));
  ::Sleep(500);
  if (TextOf(picker_edits_[0]) != frozen) throw Fault("Ctrl+Q did not freeze the picker");
  if (frozen.empty()) throw Fault("the picker showed no handle");

  // The window it froze on is selected, listed again first if it is newer
  // than the tree; one that has gone meanwhile, or the desktop window (the
  // cursor between windows), which no tree lists, is "Handle not found.".
  const HWND pointed = reinterpret_cast<HWND>(static_cast<std::intptr_t>(std::atoll(frozen.c_str())));
  const std::vector<std::string> seen = BoxesOf([&] { Click(picker_show_, "Show in the picker"); });
  const bool unlisted = !::IsWindow(pointed) || pointed == ::GetDesktopWindow();
  if (!seen.empty() && (seen != std::vector<std::string>{"Handle not found."} || !unlisted)) {
    throw Fault("Show in the picker on " + frozen + ": Vexlan showed " + Quoted(seen));
  }
  WaitVisible(form3_, false, "Show in the picker");
  WaitVisible(form1_, true, "Show in the picker");
}

void Soak::Lookups() {
  // A window of the churn: in the tree or gone already.
  const std::vector<HWND> churn = ChurnWindows();
  if (!churn.empty()) {
    SetText(bar_edit_, Decimal(churn.front()));
    const std::vector<std::string> seen = BoxesOf([&] { Click(show_handle_, "Show Handle"); });
    if (!seen.empty() && seen != std::vector<std::string>{"Handle not found."}) {
      throw Fault("Show Handle on a churning window: Vexlan showed " + Quoted(seen));
    }
  }
  SetText(bar_edit_, Decimal(fixture_->Handle("Anchor")));
  ExpectBoxes("Show Handle on the anchor", [&] { Click(show_handle_, "Show Handle"); }, {});
  SetText(bar_edit_, "12ab");
  {
    const std::vector<std::string> seen = BoxesOf([&] { Click(show_handle_, "Show Handle"); });
    if (seen.size() != 1 || seen[0].find("12ab") == std::string::npos) {
      throw Fault("Show Handle on \"12ab\": expected one box naming it, Vexlan showed " + Quoted(seen));
    }
  }

  Click(search_, "Search List");
  WaitVisible(form4_, true, "Search List");
  SetText(search_edits_[0], "");
  SetText(search_edits_[1], "VexlanChurn");
  SetText(search_edits_[2], "no window is captioned this");
  ExpectBoxes("Search List by class and caption", [&] { Click(search_button_, "Search List's search"); },
              {"Can't find the specified window."});
  SetText(search_edits_[0], "1");
  SetText(search_edits_[1], "NoSuchClassAnywhere");
  SetText(search_edits_[2], "");
  ExpectBoxes("Search List by handle and class", [&] { Click(search_button_, "Search List's search"); },
              {"Can't find the specified handle.", "Can't find the specified class."});
  ::PostMessageW(form4_, WM_SYSCOMMAND, SC_CLOSE, 0);
  WaitVisible(form4_, false, "closing Search List");
}

// The menu key on the tree's selected node, then E: Edit/View Text.
void Soak::TextDialog(bool on_anchor) {
  if (on_anchor) {
    SetText(bar_edit_, Decimal(fixture_->Handle("AnchorText")));
    ExpectBoxes("Show Handle on the anchor's edit", [&] { Click(show_handle_, "Show Handle"); }, {});
  }
  ::SetForegroundWindow(form1_);
  if (!WaitFor([&] { return ::GetForegroundWindow() == form1_; })) {
    CheckAlive("the text dialog");
    throw Fault("the main window did not come to the front");
  }
  // Tab, as a user would, until the tree has the focus (a lookup that found
  // nothing leaves it where it was).
  const auto focus = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(program_.dwThreadId, &info) ? info.hwndFocus : nullptr;
  };
  for (int tabs = 0; focus() != tree_; ++tabs) {
    if (tabs == 10) throw Fault("Tab did not bring the focus to the tree");
    PressKey(VK_TAB);
    WaitFor([&] { return focus() == tree_; }, milliseconds(300));
  }
  const std::size_t boxes_before = boxes_->Count();
  const std::vector<std::string> seen = BoxesOf([&] {
    PressKey(VK_APPS);
    if (!WaitFor([&] { return ThreadWindow(program_.dwThreadId, L"#32768", true) != nullptr; })) {
      CheckAlive("the tree's menu");
      throw Fault("the menu key opened no menu on the tree");
    }
    PressKey('E');
    WaitFor([&] { return ::IsWindowVisible(form2_) || boxes_->Count() > boxes_before; });
  });
  if (!::IsWindowVisible(form2_)) {
    // Only a node that is no window's can have nothing to show.
    if (on_anchor || seen != std::vector<std::string>{"No window is selected."}) {
      throw Fault("Edit/View Text from the menu: no text dialog, Vexlan showed " + Quoted(seen));
    }
    return;
  }
  if (!seen.empty()) throw Fault("Edit/View Text from the menu: Vexlan showed " + Quoted(seen));
  if (on_anchor) {
    if (TextOf(memo_) != kAnchorText) throw Fault("the text dialog did not show the anchor's text");
    ExpectBoxes("Get Text", [&] { Click(get_text_, "Get Text"); }, {});
    if (TextOf(memo_) != kAnchorText) throw Fault("Get Text did not show the anchor's text");
  } else {
    ExpectBoxes("Get Text", [&] { Click(get_text_, "Get Text"); }, {});
  }
  ::PostMessageW(form2_, WM_SYSCOMMAND, SC_CLOSE, 0);
  WaitVisible(form2_, false, "closing the text dialog");
}

void Soak::Round(int round) {
  Click(refresh_, "Refresh");
  ++rebuilds_;
  Picker();
  // The node the picker selected, whatever window it is (or was).
  if (round % 2 == 1) TextDialog(false);
  Lookups();
  TextDialog(true);
  CheckAlive("between rounds");
}

void Soak::Progress(int round) {
  const Figures f = Measure(program_.hProcess, program_.dwProcessId);
  const auto text = [](const std::optional<long long>& v) { return v ? std::to_string(*v) : std::string("n/a"); };
  std::printf("soak: round %d/%d windows=%s private_kb=%s\n", round, rounds_, text(f.windows).c_str(),
              text(f.private_kb).c_str());
  std::fflush(stdout);
}

int Soak::Run() {
  Figures start, end;
  int crashes = 0;
  std::vector<std::string> faults;
  try {
    StartFixture();
    StartProgram();
    FindForms();
    Round(0);  // warm-up
    rebuilds_ = ticks_ = 0;
    ::Sleep(300);
    start = Measure(program_.hProcess, program_.dwProcessId);
    measuring_ = true;
    for (int round = 1; round <= rounds_; ++round) {
      Round(round);
      if (round % kProgressEvery == 0 || round == rounds_) Progress(round);
    }
    ::Sleep(300);
    end = Measure(program_.hProcess, program_.dwProcessId);
  } catch (const std::exception& e) {
    faults.push_back(e.what());
    if (program_.hProcess && ::WaitForSingleObject(program_.hProcess, 0) == WAIT_OBJECT_0) ++crashes;
    if (program_.hProcess && !crashes && measuring_) end = Measure(program_.hProcess, program_.dwProcessId);
  }

  if (program_.hProcess && !crashes) {
    // Exit, clicked, ends the program with exit code 0.
    if (exit_) ::PostMessageW(exit_, BM_CLICK, 0, 0);
    if (!exit_ || ::WaitForSingleObject(program_.hProcess, 30000) != WAIT_OBJECT_0) {
      ::TerminateProcess(program_.hProcess, 99);
      faults.push_back("Vexlan did not end when Exit was clicked");
    } else {
      DWORD code = 1;
      ::GetExitCodeProcess(program_.hProcess, &code);
      if (code != 0) {
        ++crashes;
        faults.push_back("Vexlan ended with exit code " + std::to_string(code) + " when Exit was clicked");
      }
    }
  }
  boxes_.reset();
  if (program_.hProcess) {
    ::CloseHandle(program_.hProcess);
    ::CloseHandle(program_.hThread);
  }
  fixture_.reset();

  for (const std::string& grew :
       {Growth("the window count", start.windows, end.windows, kCountGrowth),
        Growth("private memory (KB)", start.private_kb, end.private_kb, kMemoryGrowth),
        Growth("the handle count", start.handles, end.handles, kCountGrowth),
        Growth("the user object count", start.user_objects, end.user_objects, kCountGrowth),
        Growth("the GDI object count", start.gdi_objects, end.gdi_objects, kCountGrowth)}) {
    if (!grew.empty()) faults.push_back(grew);
  }
  for (const std::string& fault : faults) std::printf("soak: FAULT: %s\n", fault.c_str());
  std::printf("soak: rebuilds=%d ticks=%d windows=%s private_kb=%s handles=%s user_objects=%s gdi_objects=%s "
              "crashes=%d\n",
              rebuilds_, ticks_, Pair(start.windows, end.windows).c_str(),
              Pair(start.private_kb, end.private_kb).c_str(), Pair(start.handles, end.handles).c_str(),
              Pair(start.user_objects, end.user_objects).c_str(), Pair(start.gdi_objects, end.gdi_objects).c_str(),
              crashes);
  std::fflush(stdout);
  return faults.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = kDefaultRounds;
  if (argc > 2 || (argc == 2 && (rounds = std::atoi(argv[1])) <= 0)) {
    std::fprintf(stderr, "usage: vexlan_soak.exe [ROUNDS]   (ROUNDS > 0, %d by default)\n", kDefaultRounds);
    return 2;
  }
  return Soak(rounds).Run();
}
