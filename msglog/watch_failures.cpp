#include "msglog/watch_failures.h"

#include "msglog/message_ring.h"
#include "platform/toolkit/sysutils.h"

namespace vexlan {

HookRoute ChooseHookRoute(int vexlan_bits, int target_bits) {
  if (vexlan_bits == target_bits) return HookRoute::Own;
  return vexlan_bits == 64 ? HookRoute::Helper32 : HookRoute::None;
}

std::string WatchFailureText(const WatchError& error) {
  const std::string code = "error " + IntToStr(error.code);
  switch (error.failure) {
    case WatchFailure::WindowGone:
      return "The window no longer exists.";
    case WatchFailure::HigherRights:
      return "Windows refused: the window belongs to a program running with higher rights. Run Vexlan as "
             "administrator to watch it.";
    case WatchFailure::Refused:
      if (error.detail.empty()) return "Windows refused to let Vexlan watch the window (" + code + ").";
      return "Windows refused to let Vexlan watch the window: " + error.detail + " (" + code + ")";
    case WatchFailure::HookFileDiffers:
      return "The file \"" + error.detail +
             "\" is not the message hook Vexlan carries, and Vexlan could not replace it. Nothing was loaded "
             "into the program.";
    case WatchFailure::HookFileUnwritable:
      return "Vexlan could not write its message hook to \"" + error.detail + "\" (" + code + ").";
    case WatchFailure::NoHelper32:
      return "The window belongs to a 32-bit program, and this Vexlan does not carry the 32-bit helper that "
             "watching it needs.";
    case WatchFailure::Target64:
      return "The window belongs to a 64-bit program: use the 64-bit Vexlan to watch it.";
    case WatchFailure::NoFreeSlot:
      return "The window's thread is watched by " + IntToStr(kHookSlots) +
             " logs already. Close one of them to watch it.";
    case WatchFailure::HelperFailed:
      return "The 32-bit helper that watches 32-bit programs did not start (" + code + ").";
    case WatchFailure::RingFailed:
      return "Vexlan could not make the memory its log is written to (" + code + ").";
  }
  return "The log could not start.";
}

WatchError HookRefusal(std::uint32_t code, std::string system_words) {
  if (code == kErrorAccessDenied) return {WatchFailure::HigherRights, code, {}};
  // The window's thread ended between the look and the hook.
  if (code == kErrorInvalidWindowHandle || code == kErrorInvalidThreadId) return {WatchFailure::WindowGone, code, {}};
  return {WatchFailure::Refused, code, std::move(system_words)};
}

}  // namespace vexlan
