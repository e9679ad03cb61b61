// How a message log reaches the watched program, and what the user is told
// when it cannot start. Every failure is told in words, and a log that
// cannot start hooks nothing.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace vexlan {

// Where the hook procedures are set from.
enum class HookRoute {
  Own,       // from Vexlan itself: the target has Vexlan's bitness
  Helper32,  // from the 32-bit helper Vexlan carries: a 64-bit Vexlan, a 32-bit target
  None,      // a 32-bit Vexlan cannot hook a 64-bit program
};

// A DLL is loaded only into a program of its own bitness, and a hook with a
// DLL is set from a process of that bitness too.
HookRoute ChooseHookRoute(int vexlan_bits, int target_bits);

enum class WatchFailure {
  WindowGone,
  HigherRights,        // the system refused: a program of higher rights
  Refused,             // the system refused otherwise; `code` says how
  HookFileDiffers,     // the file on disk is not the one Vexlan carries
  HookFileUnwritable,  // Vexlan could not write its file
  NoHelper32,          // a 32-bit target, and this Vexlan carries no 32-bit helper
  Target64,            // a 64-bit target of a 32-bit Vexlan
  NoFreeSlot,          // the thread carries as many logs as it can
  HelperFailed,        // the 32-bit helper did not start or set its hooks
  RingFailed,          // the shared memory could not be made
};

struct WatchError {
  WatchError(WatchFailure f = WatchFailure::Refused, std::uint32_t c = 0, std::string d = {})
      : failure(f), code(c), detail(std::move(d)) {}
  WatchFailure failure = WatchFailure::Refused;
  std::uint32_t code = 0;  // the system's error number, where there is one
  std::string detail;      // a file's path, or the system's words for `code`
};

// What the user reads.
std::string WatchFailureText(const WatchError& error);

// The failure SetWindowsHookEx's error `code` means.
WatchError HookRefusal(std::uint32_t code, std::string system_words = {});

// The Windows error numbers the words above depend on.
inline constexpr std::uint32_t kErrorAccessDenied = 5;            // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;  // ERROR_INVALID_WINDOW_HANDLE
inline constexpr std::uint32_t kErrorInvalidThreadId = 1444;      // ERROR_INVALID_THREAD_ID

}  // namespace vexlan
