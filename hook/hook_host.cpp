// vexlanhost32.exe: sets a message log's hooks for Vexlan from a process of
// the watched program's bitness (a hook with a DLL is set from a process
// that can load the DLL). A 64-bit Vexlan carries the 32-bit one; the
// 64-bit build of it exists for the tests.
//
//   vexlanhostNN.exe PARENT_PID THREAD_ID SLOT DLL_PATH
//
// Vexlan starts it with pipes for its standard input and output. It loads
// the DLL (which Vexlan has checked and keeps open against writing), sets
// the three hooks of SLOT on the thread THREAD_ID and writes one line:
// "ok", or "error N" with the system's error number. Then it waits until
// Vexlan closes its standard input (the log stops) or Vexlan's process
// ends, however it ends, and ends too: the system removes the hooks of a
// thread that ends.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "msglog/message_ring.h"

namespace {

// Writes "ok", or "error N" for an `error`, as one line.
void Say(DWORD error) {
  char line[32] = "ok\n";
  DWORD length = 3;
  if (error) {
    char digits[12];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + error % 10);
      error /= 10;
    } while (error);
    length = 0;
    for (const char* word = "error "; *word; ++word) line[length++] = *word;
    while (n) line[length++] = digits[--n];
    line[length++] = '\n';
  }
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, length, &written, nullptr);
}

int Fail(DWORD error) {
  Say(error ? error : ERROR_GEN_FAILURE);
  return 3;
}

bool Number(const wchar_t* text, unsigned long& out) {
  wchar_t* end = nullptr;
  out = std::wcstoul(text, &end, 10);
  return *text && !*end;
}

DWORD WINAPI EndWithParent(void* parent) {
  ::WaitForSingleObject(static_cast<HANDLE>(parent), INFINITE);
  ::ExitProcess(0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  unsigned long parent_id = 0, thread_id = 0, slot = 0;
  if (!argv || argc != 5 || !Number(argv[1], parent_id) || !Number(argv[2], thread_id) || !Number(argv[3], slot) ||
      slot >= static_cast<unsigned long>(vexlan::kHookSlots)) {
    Say(ERROR_INVALID_PARAMETER);
    return 2;
  }
  const HANDLE parent = ::OpenProcess(SYNCHRONIZE, FALSE, parent_id);
  if (!parent) return Fail(::GetLastError());
  const HMODULE dll = ::LoadLibraryExW(argv[4], nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!dll) return Fail(::GetLastError());
  using GetProcedures = BOOL (*)(int, HOOKPROC*);
  const auto get = reinterpret_cast<GetProcedures>(
      reinterpret_cast<void*>(::GetProcAddress(dll, vexlan::kHookProceduresExport)));
  HOOKPROC procedures[3] = {};
  if (!get || !get(static_cast<int>(slot), procedures)) return Fail(ERROR_PROC_NOT_FOUND);
  const int kinds[3] = {WH_CALLWNDPROC, WH_CALLWNDPROCRET, WH_GETMESSAGE};
  HHOOK hooks[3] = {};
  for (int i = 0; i < 3; ++i) {
    hooks[i] = ::SetWindowsHookExW(kinds[i], procedures[i], dll, thread_id);
    if (!hooks[i]) {
      const DWORD error = ::GetLastError();
      for (int j = 0; j < i; ++j) ::UnhookWindowsHookEx(hooks[j]);
      return Fail(error);
    }
  }
  if (const HANDLE watcher = ::CreateThread(nullptr, 0, &EndWithParent, parent, 0, nullptr)) ::CloseHandle(watcher);
  Say(0);
  char buffer[64];
  DWORD got = 0;
  while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got) {
  }
  for (HHOOK hook : hooks) ::UnhookWindowsHookEx(hook);
  return 0;
}
