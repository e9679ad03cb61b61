// GetControlText and the clicks against windows that lie and stall: a text
// length that is negative, huge, longer or shorter than the text; a
// WM_GETTEXT that copies fewer or more units than asked, without its zero,
// and miscounts them; answers that come late or never. The text is what
// was really copied, cut at the length asked for and never inside a
// surrogate pair; the buffer stays bounded; the routine's one deadline
// holds on the fake clock under the ceiling; a time-out is told, not read as
// a text; a click is posted whole, press then release, and whatever the
// window takes of it is a beginning of that pair, never a release alone.
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/utf.h"
#include "tests/support/fake_desktop.h"
#include "winutil/ExtCntrlsUtils.h"

using namespace vexlan;
using vexlan::testing::FakeDesktop;

namespace {

constexpr char16_t kUnits[] = {u'a', u'Z', u' ', u'\0', u'\u00e9', 0xD83D, 0xDE00, 0xD800, 0xDC00};

std::intptr_t AnyLength(FuzzedDataProvider& in, std::size_t true_length) {
  const auto near = [&] { return static_cast<std::intptr_t>(true_length) + in.ConsumeIntegralInRange(-3, 3); };
  switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0: return -1;
    case 1: return std::numeric_limits<std::intptr_t>::min();
    case 2: return 0;
    case 3: return near();
    case 4: return in.ConsumeIntegral<std::int16_t>();
    // Huge lies cost a buffer of kControlTextLimit units each: not too often
    // (and not when the input has run out, which reads as zeros).
    case 5: return in.ConsumeIntegral<std::uint8_t>() >= 252 ? std::intptr_t{INT32_MAX} : near();
    case 6: return in.ConsumeIntegral<std::uint8_t>() >= 252 ? std::numeric_limits<std::intptr_t>::max() : near();
    default: return static_cast<std::intptr_t>(true_length);
  }
}

// Taken late (withdrawn), or handled past the time-out (runs to completion).
void AnswerTimes(FuzzedDataProvider& in, FakeDesktop::Window& w) {
  for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) {
    w.answer_ms.push_back(in.ConsumeBool() ? FakeDesktop::kNeverAnswers : in.ConsumeIntegralInRange(0u, 1500u));
  }
  for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) w.handle_ms.push_back(in.ConsumeIntegralInRange(0u, 6000u));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  std::u16string text;
  for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 40); n > 0; --n) {
    text += kUnits[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kUnits) - 1)];
  }
  // Long enough now and then to earn more time.
  text = std::u16string(in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange(0, 1500), u'L') + text;

  FakeDesktop d;
  const WindowHandle wnd = d.Add(0, "", "Edit");
  FakeDesktop::Window& w = d.At(wnd);
  w.text = text;
  const bool honest = in.ConsumeBool();
  if (!honest) {
    w.reported_length = AnyLength(in, text.size());
    if (in.ConsumeBool()) w.copies = in.ConsumeIntegralInRange<std::size_t>(0, text.size() + 8);
    if (in.ConsumeBool()) w.reported_copied = in.ConsumeIntegral<std::intptr_t>();
    AnswerTimes(in, w);
  }

  const ControlText read = ReadControlText(d, wnd, d.clock);
  const std::string& result = read.text;
  FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(result)) == result);  // well-formed UTF-8
  FUZZ_CHECK(std::all_of(w.timeouts_ms.begin(), w.timeouts_ms.end(), [](unsigned t) { return t > 0; }));
  FUZZ_CHECK(d.clock.now_ms <= kRoutineCeilingMs && read.outcome != Outcome::kNoWindow);
  if (w.received.empty()) {
    FUZZ_CHECK(result.empty() && d.clock.now_ms <= kSendTimeoutMs);
  } else {
    const std::intptr_t reported = w.reported_length.value_or(static_cast<std::intptr_t>(text.size()));
    const std::size_t asked = reported <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(reported), kControlTextLimit);
    FUZZ_CHECK(d.clock.now_ms <= TextSendTimeoutMs(asked));
    if (read.outcome != Outcome::kDone) {
      FUZZ_CHECK(result.empty());
    } else {
      FUZZ_CHECK(w.received[1].wparam == asked + 1);
      // What WM_GETTEXT put in the buffer, up to its first zero, within the
      // length asked for.
      std::u16string copied = w.copies ? text.substr(0, std::min(*w.copies, asked + 1)) : text.substr(0, asked);
      if (w.copies && *w.copies > text.size()) copied.append(std::min(*w.copies, asked + 1) - copied.size(), u'x');
      copied = copied.substr(0, std::min(copied.find(u'\0'), asked));
      // Cut at a pair's first half only when the length cut it off.
      const std::string whole = Utf16ToUtf8(copied);
      const bool cut_pair = copied.size() == asked && !copied.empty() && copied.back() >= 0xD800 && copied.back() <= 0xDBFF;
      FUZZ_CHECK(result == (cut_pair ? Utf16ToUtf8(std::u16string_view(copied).substr(0, copied.size() - 1)) : whole));
    }
  }
  // An honest window is read whole (its text's last unit, if a lone first
  // half, goes as if cut: the buffer cannot tell the two apart).
  if (honest) FUZZ_CHECK(read.outcome == Outcome::kDone && w.received[1].wparam == text.size() + 1);

  // A click on a window that stalls the same way, or one of our own thread.
  FakeDesktop c;
  const WindowHandle target = c.Add(0, "", "Button");
  AnswerTimes(in, c.At(target));
  c.At(target).own_thread = in.ConsumeIntegral<std::uint8_t>() < 32;
  SendLeftClick(c, c, target);
  const FakeDesktop::Window& t = c.At(target);
  FUZZ_CHECK(c.clock.now_ms <= kSendTimeoutMs);
  const testing::LoggedMessage down{msg::kLButtonDown, kMkLButton, 0}, up{msg::kLButtonUp, kMkLButton, 0};
  FUZZ_CHECK((t.posted == std::vector<testing::LoggedMessage>{down, up}));
  std::vector<testing::LoggedMessage> taken;
  for (const auto& m : c.Handled(target)) {
    if (m.message != msg::kNull) taken.push_back(m);
  }
  FUZZ_CHECK(taken.size() <= 2 && std::equal(taken.begin(), taken.end(), t.posted.begin()));
  if (t.own_thread) FUZZ_CHECK(taken.empty() && t.attempted.empty());
  return 0;
}
