#include "winutil/ExtCntrlsUtils.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/utf.h"

namespace vexlan {
namespace {

// A buffer cut at `n` units may end in the first half of a surrogate pair;
// that half alone is no character, so it goes.
std::u16string_view DropTrailingHighSurrogate(std::u16string_view text) {
  if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.remove_suffix(1);
  return text;
}

// A caption that fills the buffer may have been cut by the system in the
// middle of a pair; a shorter one ends where the window's text ends.
std::string FixedBufferText(std::u16string text) {
  const std::u16string_view cut = CutUtf16(text, kCaptionLimit);
  return Utf16ToUtf8(cut.size() == kCaptionLimit ? DropTrailingHighSurrogate(cut) : cut);
}

}  // namespace

unsigned TextSendTimeoutMs(std::size_t units) {
  const std::size_t extra = std::min<std::size_t>(units, kControlTextLimit) / kTextUnitsPerExtraMs;
  return static_cast<unsigned>(std::min<std::size_t>(kSendTimeoutMs + extra, kRoutineCeilingMs));
}

namespace {

// A send that was not answered: the window went, or did not answer in time.
SendOutcome Unanswered(WindowServices& ws, WindowHandle wnd) {
  return ws.Exists(wnd) ? SendOutcome::kNotAnswered : SendOutcome::kNoWindow;
}

}  // namespace

ControlText ReadControlText(WindowServices& ws, WindowHandle wnd, Clock& clock) {
  Deadline deadline(clock, kSendTimeoutMs);
  const auto reported = ws.SendWithTimeout(wnd, msg::kGetTextLength, 0, 0, deadline.LeftMs());
  if (!reported) return {{}, Unanswered(ws, wnd)};
  // The length is the other program's word: a negative one means nothing, a
  // huge one is bounded so that a lying window cannot make us allocate gigabytes.
  const std::size_t length =
      *reported <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(*reported), kControlTextLimit);

  // A long text earns the routine more time, counted from its start.
  deadline.SetBudget(TextSendTimeoutMs(length));
  const unsigned left_ms = deadline.LeftMs();
  if (left_ms == 0) return {{}, SendOutcome::kNotAnswered};

  // Zeroed by the allocator: a lying length costs address space, not memory,
  // since pages the window does not write are never touched. When even that
  // cannot be had, the text is empty, as for a window that does not answer.
  const std::unique_ptr<char16_t[], decltype(&std::free)> buffer(
      static_cast<char16_t*>(std::calloc(length + 1, sizeof(char16_t))), &std::free);
  if (!buffer) return {{}, SendOutcome::kNotAnswered};
  const auto copied =
      ws.SendWithTimeout(wnd, msg::kGetText, length + 1, reinterpret_cast<std::intptr_t>(buffer.get()), left_ms);
  if (!copied) return {{}, Unanswered(ws, wnd)};
  // What was really copied ends at the first zero; the reported length may have
  // been larger than the text, and the count WM_GETTEXT returns is not trusted.
  const std::u16string_view text(buffer.get(), std::find(buffer.get(), buffer.get() + length, u'\0') - buffer.get());
  return {Utf16ToUtf8(text.size() == length ? DropTrailingHighSurrogate(text) : text), SendOutcome::kAnswered};
}

std::string GetControlText(WindowServices& ws, WindowHandle wnd, Clock& clock) {
  return ReadControlText(ws, wnd, clock).text;
}

SendOutcome SetControlText(WindowServices& ws, WindowHandle wnd, std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  if (ws.SendWithTimeout(wnd, msg::kSetText, 0, reinterpret_cast<std::intptr_t>(wide.c_str()),
                         TextSendTimeoutMs(wide.size()))) {
    return SendOutcome::kAnswered;
  }
  return Unanswered(ws, wnd);
}

WindowHandle GetNextSibling(WindowServices& ws, WindowHandle wnd) { return ws.NextSibling(wnd); }

WindowHandle GetFirstChild(WindowServices& ws, WindowHandle wnd) { return ws.FirstChild(wnd); }

std::string GetWindowCaption(WindowServices& ws, WindowHandle wnd) {
  return FixedBufferText(ws.WindowText(wnd, kCaptionLimit + 1));
}

std::string GetWindowClass(WindowServices& ws, WindowHandle wnd) {
  return FixedBufferText(ws.ClassName(wnd, kCaptionLimit + 1));
}

namespace {

void SendClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd, unsigned down, unsigned up,
               std::uintptr_t button) {
  if (ws.OnCallerThread(wnd)) {
    posting.Post(wnd, down, button, 0);
    posting.Post(wnd, up, button, 0);
    return;
  }
  if (ws.SendWithTimeout(wnd, down, button, 0, kSendTimeoutMs)) {
    posting.SendNotify(wnd, up, button, 0);
  } else {
    posting.Post(wnd, up, button, 0);
  }
}

}  // namespace

void SendLeftClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd) {
  SendClick(ws, posting, wnd, msg::kLButtonDown, msg::kLButtonUp, kMkLButton);
}

void SendRightClick(WindowServices& ws, MessagePosting& posting, WindowHandle wnd) {
  SendClick(ws, posting, wnd, msg::kRButtonDown, msg::kRButtonUp, kMkRButton);
}

void ShowOrHideWindow(WindowServices& ws, ShowHideServices& show_hide, WindowHandle wnd, bool show) {
  unsigned flags = kSwpNoSize | kSwpNoMove | (show ? kSwpShowWindow : kSwpHideWindow);
  if (!ws.OnCallerThread(wnd)) flags |= kSwpAsyncWindowPos;
  show_hide.SetWindowPos(wnd, kHwndNoTopMost, flags);
}

}  // namespace vexlan
