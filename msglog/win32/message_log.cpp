#include "msglog/win32/message_log.h"

#include <sddl.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/utf.h"

namespace vexlan {

namespace {

// How long the helper may take to say whether it set its hooks, and to end.
constexpr DWORD kHelperAnswerMs = 10000;
constexpr DWORD kHelperEndMs = 2000;
constexpr int kHookKinds[3] = {WH_CALLWNDPROC, WH_CALLWNDPROCRET, WH_GETMESSAGE};

std::string SystemWords(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::u16string words(reinterpret_cast<const char16_t*>(text), length);
  if (text) ::LocalFree(text);
  while (!words.empty() && (words.back() == u'\n' || words.back() == u'\r' || words.back() == u' ')) words.pop_back();
  return Utf16ToUtf8(words);
}

// The bits of the program that owns `process_id`: Vexlan's own when the
// process cannot be asked (the hook then tells what the system allows).
int ProgramBits(DWORD process_id) {
  const int own = sizeof(void*) == 8 ? 64 : 32;
  BOOL self_wow = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &self_wow);
  const bool windows64 = own == 64 || self_wow;
  UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  BOOL wow = FALSE;
  if (!process || !::IsWow64Process(process.get(), &wow)) return own;
  return windows64 && !wow ? 64 : 32;
}

std::wstring SidText(HANDLE token, TOKEN_INFORMATION_CLASS what) {
  std::vector<std::uint8_t> buffer(256);
  DWORD size = 0;
  if (!::GetTokenInformation(token, what, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) return {};
  // TOKEN_USER and TOKEN_MANDATORY_LABEL both start with a SID_AND_ATTRIBUTES.
  const PSID sid = reinterpret_cast<const SID_AND_ATTRIBUTES*>(buffer.data())->Sid;
  wchar_t* text = nullptr;
  if (!::ConvertSidToStringSidW(sid, &text)) return {};
  std::wstring out = text;
  ::LocalFree(text);
  return out;
}

// Who may open a ring: the system, Vexlan's user and the watched program's,
// from the watched program's integrity level up. An elevated Vexlan's
// objects are otherwise closed to the programs of lower integrity the hook
// runs in.
class RingSecurity {
 public:
  explicit RingSecurity(DWORD process_id) {
    HANDLE own = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &own)) return;
    std::wstring sddl = L"D:P(A;;GA;;;SY)(A;;GA;;;" + SidText(own, TokenUser) + L")";
    ::CloseHandle(own);
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    HANDLE theirs = nullptr;
    if (process && ::OpenProcessToken(process.get(), TOKEN_QUERY, &theirs)) {
      const std::wstring user = SidText(theirs, TokenUser);
      const std::wstring level = SidText(theirs, TokenIntegrityLevel);
      ::CloseHandle(theirs);
      if (!user.empty()) sddl += L"(A;;GA;;;" + user + L")";
      if (!level.empty()) sddl += L"S:(ML;;NW;;;" + level + L")";
    }
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor_,
                                                              nullptr)) {
      attributes_.lpSecurityDescriptor = descriptor_;
    }
  }
  ~RingSecurity() {
    if (descriptor_) ::LocalFree(descriptor_);
  }
  RingSecurity(const RingSecurity&) = delete;
  RingSecurity& operator=(const RingSecurity&) = delete;
  // The system's default security when the descriptor could not be made.
  SECURITY_ATTRIBUTES* Attributes() { return descriptor_ ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

// The DLL loaded into Vexlan, for SetWindowsHookEx to name, once per path
// and for the rest of the run: hooks of earlier logs may still name it.
HMODULE LoadedDll(const std::wstring& path) {
  static std::map<std::wstring, HMODULE> loaded;
  HMODULE& module = loaded[path];
  if (!module) module = ::LoadLibraryExW(path.c_str(), nullptr, 0);
  return module;
}

using GetProcedures = BOOL (*)(int, HOOKPROC*);

std::uint32_t HandleOf(HWND hwnd) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd)); }

}  // namespace

std::variant<std::unique_ptr<MessageLog>, WatchError> MessageLog::Start(HookFiles& files, HWND target,
                                                                         const Options& options) {
  DWORD process_id = 0;
  const DWORD thread = ::IsWindow(target) ? ::GetWindowThreadProcessId(target, &process_id) : 0;
  if (!thread) return WatchError{WatchFailure::WindowGone};

  std::unique_ptr<MessageLog> log(new MessageLog);
  log->target_ = target;
  log->thread_ = thread;
  // The files first: nothing is made before they are known to be ours.
  std::wstring dll, host;
  const HookRoute route = options.helper ? HookRoute::Helper32
                                         : ChooseHookRoute(sizeof(void*) == 8 ? 64 : 32, ProgramBits(process_id));
  if (route == HookRoute::None) return WatchError{WatchFailure::Target64};
  const CarriedFile dll_file = route == HookRoute::Helper32 && !options.helper ? CarriedFile::HookDll32
                                                                               : CarriedFile::HookDll;
  if (route == HookRoute::Helper32 && !options.helper) {
    if (!files.Carries(CarriedFile::HookDll32) || !files.Carries(CarriedFile::HookHost32)) {
      return WatchError{WatchFailure::NoHelper32};
    }
    auto prepared = files.Prepare(CarriedFile::HookHost32);
    if (auto* error = std::get_if<WatchError>(&prepared)) return *error;
    log->files_.push_back(std::get<0>(prepared));
    host = log->files_.back()->Path();
  } else if (options.helper) {
    host = *options.helper;
  }
  auto prepared = files.Prepare(dll_file);
  if (auto* error = std::get_if<WatchError>(&prepared)) return *error;
  log->files_.push_back(std::get<0>(prepared));
  dll = log->files_.back()->Path();

  // The ring, under the first slot no other log of the thread holds.
  RingSecurity security(process_id);
  int slot = 0;
  for (; slot < kHookSlots; ++slot) {
    char16_t name[kRingNameUnits];
    RingName(thread, slot, name);
    const HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, security.Attributes(), PAGE_READWRITE, 0,
                                                static_cast<DWORD>(RingBytes(kRingCapacity)),
                                                reinterpret_cast<LPCWSTR>(name));
    if (!mapping) return WatchError{WatchFailure::RingFailed, ::GetLastError()};
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
      log->mapping_.reset(mapping);
      break;
    }
    ::CloseHandle(mapping);
  }
  if (slot == kHookSlots) return WatchError{WatchFailure::NoFreeSlot};
  log->view_ = ::MapViewOfFile(log->mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
  if (!log->view_) return WatchError{WatchFailure::RingFailed, ::GetLastError()};
  log->reader_ =
      std::make_unique<RingReader>(log->view_, kRingCapacity, HandleOf(target), options.children ? kRingChildren : 0);
  LARGE_INTEGER now{}, frequency{};
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  log->clock_ = {static_cast<std::uint64_t>(now.QuadPart), static_cast<std::uint64_t>(frequency.QuadPart)};

  const std::optional<WatchError> refused =
      host.empty() ? log->HookOwn(dll, slot) : log->HookThroughHelper(host, dll, slot);
  if (refused) return *refused;
  log->running_ = true;
  return log;
}

std::optional<WatchError> MessageLog::HookOwn(const std::wstring& dll, int slot) {
  const HMODULE module = LoadedDll(dll);
  if (!module) return HookRefusal(::GetLastError(), SystemWords(::GetLastError()));
  const auto get = reinterpret_cast<GetProcedures>(
      reinterpret_cast<void*>(::GetProcAddress(module, kHookProceduresExport)));
  HOOKPROC procedures[3] = {};
  if (!get || !get(slot, procedures)) return HookRefusal(ERROR_PROC_NOT_FOUND, SystemWords(ERROR_PROC_NOT_FOUND));
  for (int i = 0; i < 3; ++i) {
    hooks_[i] = ::SetWindowsHookExW(kHookKinds[i], procedures[i], module, thread_);
    if (!hooks_[i]) {
      const DWORD error = ::GetLastError();
      Unhook();
      return HookRefusal(error, SystemWords(error));
    }
  }
  return std::nullopt;
}

std::optional<WatchError> MessageLog::HookThroughHelper(const std::wstring& host, const std::wstring& dll,
                                                        int slot) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE input_read = nullptr, input_write = nullptr, output_read = nullptr, output_write = nullptr;
  if (!::CreatePipe(&input_read, &input_write, &inherited, 0)) return WatchError{WatchFailure::HelperFailed, ::GetLastError()};
  UniqueKernelHandle child_input(input_read);
  helper_input_.reset(input_write);
  if (!::CreatePipe(&output_read, &output_write, &inherited, 0)) return WatchError{WatchFailure::HelperFailed, ::GetLastError()};
  UniqueKernelHandle answer(output_read), child_output(output_write);
  // Only the helper's ends go to the helper.
  ::SetHandleInformation(helper_input_.get(), HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(answer.get(), HANDLE_FLAG_INHERIT, 0);

  std::wstring command = L"\"" + host + L"\" " + std::to_wstring(::GetCurrentProcessId()) + L" " +
                         std::to_wstring(thread_) + L" " + std::to_wstring(slot) + L" \"" + dll + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_input.get();
  startup.hStdOutput = startup.hStdError = child_output.get();
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(host.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
    return WatchError{WatchFailure::HelperFailed, ::GetLastError()};
  }
  ::CloseHandle(process.hThread);
  helper_.reset(process.hProcess);
  child_input.reset();
  child_output.reset();

  // One line: "ok" or "error N", within the time the helper has.
  std::string line;
  const ULONGLONG deadline = ::GetTickCount64() + kHelperAnswerMs;
  while (line.find('\n') == std::string::npos && ::GetTickCount64() < deadline) {
    DWORD waiting = 0;
    if (!::PeekNamedPipe(answer.get(), nullptr, 0, nullptr, &waiting, nullptr)) break;  // it ended
    if (waiting == 0) {
      ::WaitForSingleObject(helper_.get(), 20);
      continue;
    }
    char buffer[64];
    DWORD got = 0;
    if (!::ReadFile(answer.get(), buffer, sizeof buffer, &got, nullptr) || !got) break;
    line.append(buffer, got);
  }
  if (line.rfind("ok\n", 0) == 0) return std::nullopt;
  if (line.rfind("error ", 0) == 0) {
    Unhook();
    const auto error = static_cast<DWORD>(std::strtoul(line.c_str() + 6, nullptr, 10));
    return HookRefusal(error, SystemWords(error));
  }
  // It ended without a word (its exit code tells how), or it said nothing in time.
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(helper_.get(), &code);
  Unhook();
  return WatchError{WatchFailure::HelperFailed, code == STILL_ACTIVE ? static_cast<DWORD>(ERROR_TIMEOUT) : code};
}

void MessageLog::Unhook() {
  for (HHOOK& hook : hooks_) {
    if (hook) ::UnhookWindowsHookEx(hook);
    hook = nullptr;
  }
  if (helper_) {
    helper_input_.reset();  // the helper reads the end of its input and ends
    if (::WaitForSingleObject(helper_.get(), kHelperEndMs) != WAIT_OBJECT_0) ::TerminateProcess(helper_.get(), 1);
    helper_.reset();
  }
}

std::size_t MessageLog::Drain(std::vector<MessageRecord>& out) { return running_ ? reader_->Drain(out) : 0; }

void MessageLog::SetChildren(bool on) {
  if (reader_) reader_->SetFlags(on ? kRingChildren : 0);
}

void MessageLog::Stop(std::vector<MessageRecord>& out) {
  if (!running_) return;
  Unhook();
  reader_->Drain(out);
  reader_->Close();
  running_ = false;
  files_.clear();
}

ControlClass SystemLogNamer::ClassOf(std::uint32_t hwnd) {
  wchar_t name[256] = {};
  const HWND window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(hwnd)));
  const int length = ::GetClassNameW(window, name, 256);
  return ControlClassOf(Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(name), length)));
}

std::string SystemLogNamer::RegisteredName(std::uint32_t msg) {
  // Registered messages and clipboard formats share one atom table.
  wchar_t name[256] = {};
  const int length = ::GetClipboardFormatNameW(msg, name, 256);
  return length > 0 ? Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(name), length)) : "";
}

MessageLog::~MessageLog() {
  Unhook();
  if (reader_) reader_->Close();
  if (view_) ::UnmapViewOfFile(view_);
}

}  // namespace vexlan
