#include "winutil/win32/thread_work_meter.h"

#include <windows.h>

namespace vexlan {

namespace {

std::int64_t Microseconds(const FILETIME& t) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10;
}

}  // namespace

ThreadWorkMeter::ThreadWorkMeter() {
  // Wine's ntdll names itself; Windows' has no such export.
  if (const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
    if (::GetProcAddress(ntdll, "wine_get_version")) factor_ = 2;
  }
}

std::int64_t ThreadWorkMeter::SpentUs() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  return factor_ * (Microseconds(kernel) + Microseconds(user));
}

}  // namespace vexlan
