#include "tests/win32/support/fixture_process.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <system_error>
#include <utility>

#include "platform/utf.h"
#include "platform/win32/win32_window_services.h"

namespace vexlan::testing {
namespace {

constexpr wchar_t kFixtureExe[] = L"vexlan_fixture.exe";
// How many of the fixture's latest lines an error text quotes.
constexpr std::size_t kRecentLines = 40;

std::wstring Wide(std::string_view utf8) {
  const std::u16string w = Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}

std::string LastError(std::string_view call) {
  const DWORD code = GetLastError();
  return std::string(call) + " failed: " + std::system_category().message(static_cast<int>(code)) + " (" +
         std::to_string(code) + ")";
}

std::wstring FixturePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) throw FixtureError(LastError("GetModuleFileNameW"));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + kFixtureExe;
}

// Quotes one argument so that CommandLineToArgvW gives it back unchanged.
void AppendArgument(std::wstring& line, std::wstring_view arg) {
  line += L' ';
  if (!arg.empty() && arg.find_first_of(L" \t\r\n\v\"") == std::wstring_view::npos) {
    line += arg;
    return;
  }
  line += L'"';
  for (std::size_t i = 0;; ++i) {
    std::size_t backslashes = 0;
    while (i < arg.size() && arg[i] == L'\\') {
      ++i;
      ++backslashes;
    }
    if (i == arg.size()) {
      line.append(backslashes * 2, L'\\');
      break;
    }
    if (arg[i] == L'"') {
      line.append(backslashes * 2 + 1, L'\\');
    } else {
      line.append(backslashes, L'\\');
    }
    line += arg[i];
  }
  line += L'"';
}

class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE get() const { return h_; }
  HANDLE* out() { return &h_; }
  HANDLE release() { return std::exchange(h_, nullptr); }
  void reset() {
    if (h_) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

// Inheritable handles made for one fixture must reach only that fixture: a
// second one started meanwhile from another thread would keep the first's
// output pipe open after the first has ended.
std::mutex g_start_lock;

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

// Splits off the next space-separated token of `rest`.
std::string_view NextToken(std::string_view& rest) {
  const std::size_t space = rest.find(' ');
  const std::string_view token = rest.substr(0, space);
  rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
  return token;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value, int base = 10) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

RecordedMessage ParseRecordedMessage(std::string_view line) {
  std::string_view rest = line;
  RecordedMessage m;
  unsigned long long wparam = 0;
  long long lparam = 0;
  const bool ok = NextToken(rest) == "message" && !NextToken(rest).empty() &&
                  [&] {
                    const std::string_view number = NextToken(rest);
                    return number.substr(0, 2) == "0x" && ParseNumber(number.substr(2), m.message, 16);
                  }() &&
                  ParseNumber(NextToken(rest), wparam) && ParseNumber(NextToken(rest), lparam);
  if (!ok) throw FixtureError("not a recorded message: " + std::string(line));
  m.wparam = static_cast<std::uintptr_t>(wparam);
  m.lparam = static_cast<std::intptr_t>(lparam);
  m.text = Unescape(rest);
  return m;
}

FixtureProcess::FixtureProcess(const std::vector<std::string>& commands) {
  try {
    Start(commands);
    WaitUntilReady();
  } catch (...) {
    Shutdown();
    throw;
  }
}

FixtureProcess::~FixtureProcess() { Shutdown(); }

void FixtureProcess::Start(const std::vector<std::string>& commands) {
  const std::wstring exe = FixturePath();
  std::wstring command_line = L"\"" + exe + L"\"";
  for (const std::string& command : commands) AppendArgument(command_line, Wide(command));

  read_event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  stop_event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!read_event_ || !stop_event_) throw FixtureError(LastError("CreateEventW"));

  const std::lock_guard start(g_start_lock);
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};

  UniqueHandle child_input;
  if (!CreatePipe(child_input.out(), &input_, &inheritable, 0)) throw FixtureError(LastError("CreatePipe"));
  SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);

  // A named pipe for the output, because only such a pipe can be read with a
  // time-out (overlapped), which lets the reader stop when the fixture ends
  // even if some other process still holds the pipe's other end.
  static std::atomic<unsigned> serial{0};
  const std::wstring pipe_name = L"\\\\.\\pipe\\vexlan-fixture-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(serial++) + L"-" + std::to_wstring(GetTickCount64());
  output_ =
      CreateNamedPipeW(pipe_name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                       PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 0, 64 * 1024, 0, nullptr);
  if (output_ == INVALID_HANDLE_VALUE) {
    output_ = nullptr;
    throw FixtureError(LastError("CreateNamedPipeW"));
  }
  UniqueHandle child_output(
      CreateFileW(pipe_name.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!child_output.get()) throw FixtureError(LastError("CreateFileW on the output pipe"));

  SIZE_T list_size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &list_size);
  std::vector<unsigned char> list_storage(list_size);
  auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list_storage.data());
  if (!InitializeProcThreadAttributeList(list, 1, 0, &list_size)) {
    throw FixtureError(LastError("InitializeProcThreadAttributeList"));
  }
  HANDLE inherited[] = {child_input.get(), child_output.get()};
  const bool listed = UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited, sizeof inherited,
                                                nullptr, nullptr);

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = child_input.get();
  startup.StartupInfo.hStdOutput = child_output.get();
  // Whatever the fixture's runtime prints when it crashes lands among its
  // output lines, and from there in our error texts.
  startup.StartupInfo.hStdError = child_output.get();
  startup.lpAttributeList = listed ? list : nullptr;

  PROCESS_INFORMATION info{};
  const BOOL started = CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0), nullptr, nullptr,
                                      &startup.StartupInfo, &info);
  const std::string start_error = started ? std::string() : LastError("CreateProcessW");
  DeleteProcThreadAttributeList(list);
  if (!started) throw FixtureError(start_error + " for " + Utf16ToUtf8(std::u16string(exe.begin(), exe.end())));
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  process_id_ = info.dwProcessId;

  reader_ = std::thread([this] { ReadOutput(); });
}

void FixtureProcess::WaitUntilReady() {
  std::unique_lock lock(lock_);
  if (!changed_.wait_for(lock, kReadyTimeout, [this] { return ready_ || ended_; })) {
    throw FixtureError(
        Describe("vexlan_fixture did not report ready within " + std::to_string(kReadyTimeout.count()) + " ms"));
  }
  if (ready_) return;
  DWORD code = 0;
  WaitForSingleObject(process_, static_cast<DWORD>(kExitWait.count()));
  GetExitCodeProcess(process_, &code);
  throw FixtureError(Describe("vexlan_fixture ended before it was ready, exit code " + std::to_string(code)));
}

void FixtureProcess::ReadOutput() {
  char buffer[4096];
  // One overlapped read of at most `max` bytes; false at end of output or
  // when told to stop or when the fixture has ended with nothing left to read.
  const auto read = [&](DWORD max, bool wait) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = read_event_;
    DWORD got = 0;
    if (!ReadFile(output_, buffer, max, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING) return false;
    bool keep_going = true;
    if (wait) {
      const HANDLE waits[] = {read_event_, stop_event_, process_};
      const DWORD woke = WaitForMultipleObjects(3, waits, FALSE, INFINITE);
      if (woke != WAIT_OBJECT_0) {
        CancelIo(output_);
        keep_going = false;
      }
    }
    if (GetOverlappedResult(output_, &overlapped, &got, TRUE)) {
      ConsumeOutput(buffer, got);
    } else {
      keep_going = false;
    }
    return keep_going;
  };

  while (read(sizeof buffer, true)) {
  }
  // The fixture may have ended with lines still in the pipe.
  if (WaitForSingleObject(stop_event_, 0) != WAIT_OBJECT_0) {
    DWORD available = 0;
    while (PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           read(std::min<DWORD>(available, sizeof buffer), false)) {
    }
  }
  if (!partial_line_.empty()) HandleLine(std::exchange(partial_line_, {}));

  const std::lock_guard lock(lock_);
  ended_ = true;
  changed_.notify_all();
}

void FixtureProcess::ConsumeOutput(const char* data, std::size_t size) {
  partial_line_.append(data, size);
  std::size_t begin = 0;
  for (std::size_t end; (end = partial_line_.find('\n', begin)) != std::string::npos; begin = end + 1) {
    std::string line = partial_line_.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    HandleLine(std::move(line));
  }
  partial_line_.erase(0, begin);
}

void FixtureProcess::HandleLine(std::string line) {
  const std::lock_guard lock(lock_);
  std::string_view rest = line;
  const std::string_view kind = NextToken(rest);
  if (kind == "ready") {
    ready_ = true;
  } else if (kind == "ok" || kind == "error") {
    replies_.push_back(line);
  } else if (kind == "window") {
    const std::string name(NextToken(rest));
    std::int32_t handle = 0;
    if (ParseNumber(rest, handle)) windows_[name] = ToHwnd(handle);
  } else if (kind == "bulk") {
    const std::string prefix(NextToken(rest));
    std::int32_t first = 0;
    BulkWindows bulk;
    if (ParseNumber(NextToken(rest), first) && ParseNumber(rest, bulk.count)) {
      bulk.first = ToHwnd(first);
      bulks_[prefix] = bulk;
    }
  } else if (kind == "message") {
    messages_[std::string(NextToken(rest))].push_back(line);
  }
  recent_.push_back(std::move(line));
  if (recent_.size() > kRecentLines) recent_.pop_front();
  changed_.notify_all();
}

std::string FixtureProcess::Describe(std::string_view what) const {
  std::string text(what);
  text += "\nvexlan_fixture's latest output:";
  if (recent_.empty()) text += " (none)";
  for (const std::string& line : recent_) text += "\n  " + line;
  return text;
}

void FixtureProcess::Shutdown() noexcept {
  if (input_) CloseHandle(std::exchange(input_, nullptr));
  if (process_ && WaitForSingleObject(process_, static_cast<DWORD>(kExitWait.count())) == WAIT_TIMEOUT) {
    TerminateProcess(process_, kTerminatedExitCode);
    WaitForSingleObject(process_, static_cast<DWORD>(kExitWait.count()));
  }
  if (reader_.joinable()) {
    SetEvent(stop_event_);
    reader_.join();
  }
  for (HANDLE* h : {&output_, &read_event_, &stop_event_, &process_}) {
    if (*h) CloseHandle(std::exchange(*h, nullptr));
  }
}

HWND FixtureProcess::Handle(std::string_view name) const {
  const std::lock_guard lock(lock_);
  const auto it = windows_.find(name);
  if (it == windows_.end())
    throw FixtureError(Describe("vexlan_fixture reported no window named " + std::string(name)));
  return it->second;
}

WindowHandle FixtureProcess::Id(std::string_view name) const { return FromHwnd(Handle(name)); }

void FixtureProcess::Command(std::string_view line, std::chrono::milliseconds timeout) {
  const std::string quoted = "`" + std::string(line) + "`";
  if (line.find_first_of("\r\n") != std::string_view::npos) {
    throw FixtureError("a fixture command is one line: " + quoted);
  }
  const std::lock_guard one_at_a_time(command_lock_);
  // Replies come in command order, so this command's is the one at this
  // index, even when an earlier command gave up waiting for its own.
  const std::size_t index = commands_sent_;
  {
    const std::lock_guard lock(lock_);
    if (ended_ || !input_) throw FixtureError(Describe("vexlan_fixture has ended; cannot run " + quoted));
  }
  std::string data(line);
  data += '\n';
  for (std::size_t sent = 0; sent < data.size();) {
    DWORD written = 0;
    if (!WriteFile(input_, data.data() + sent, static_cast<DWORD>(data.size() - sent), &written, nullptr)) {
      const std::string why = LastError("writing to vexlan_fixture");
      const std::lock_guard lock(lock_);
      throw FixtureError(Describe(why + " for " + quoted));
    }
    sent += written;
  }
  ++commands_sent_;

  std::unique_lock lock(lock_);
  if (!changed_.wait_for(lock, timeout, [&] { return replies_.size() > index || ended_; })) {
    throw FixtureError(
        Describe("vexlan_fixture did not answer " + quoted + " within " + std::to_string(timeout.count()) + " ms"));
  }
  if (replies_.size() <= index) throw FixtureError(Describe("vexlan_fixture ended while running " + quoted));
  const std::string& reply = replies_[index];
  if (reply != "ok") throw FixtureError(Describe("vexlan_fixture refused " + quoted + ": " + reply));
}

void FixtureProcess::Sync() { Command("ping"); }

BulkWindows FixtureProcess::RunBulk(std::string_view prefix, int count, int depth, std::chrono::milliseconds timeout) {
  Command("bulk|" + std::string(prefix) + "|" + std::to_string(count) + "|" + std::to_string(depth), timeout);
  return Bulk(prefix);
}

BulkWindows FixtureProcess::Bulk(std::string_view prefix) const {
  const std::lock_guard lock(lock_);
  const auto it = bulks_.find(prefix);
  if (it == bulks_.end()) throw FixtureError(Describe("vexlan_fixture reported no bulk " + std::string(prefix)));
  return it->second;
}

std::vector<std::string> FixtureProcess::MessagesFor(std::string_view name) const {
  const std::lock_guard lock(lock_);
  const auto it = messages_.find(name);
  return it == messages_.end() ? std::vector<std::string>() : it->second;
}

std::vector<std::string> FixtureProcess::WaitForMessages(std::string_view name, std::size_t count,
                                                         std::chrono::milliseconds timeout) const {
  std::unique_lock lock(lock_);
  const auto arrived = [&] {
    const auto it = messages_.find(name);
    return it == messages_.end() ? std::size_t{0} : it->second.size();
  };
  changed_.wait_for(lock, timeout, [&] { return arrived() >= count || ended_; });
  const auto it = messages_.find(name);
  return it == messages_.end() ? std::vector<std::string>() : it->second;
}

}  // namespace vexlan::testing
