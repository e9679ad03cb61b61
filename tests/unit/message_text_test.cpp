#include "msglog/message_text.h"

#include <gtest/gtest.h>

#include <map>

#include "msglog/message_store.h"

namespace vexlan {
namespace {

constexpr std::uint64_t Pair(int low, int high) {
  return (static_cast<std::uint64_t>(static_cast<std::uint16_t>(high)) << 16) | static_cast<std::uint16_t>(low);
}

MessageExtra Details(std::array<std::int32_t, kRecordDetailCount> details) {
  MessageExtra e;
  e.details = details;
  e.has_details = true;
  return e;
}

MessageExtra Text(std::u16string text, bool cut = false) {
  MessageExtra e;
  e.text = std::move(text);
  e.has_text = true;
  e.text_cut = cut;
  return e;
}

TEST(DescribeParameters, DecodesTheCommonMessages) {
  struct Case {
    std::uint32_t msg;
    std::uint64_t w, l;
    const char* expected;
    std::optional<MessageExtra> extra = {};
    char kind = 'S';
    std::uint64_t result = 0;
  };
  const Case cases[] = {
      {0x0201, 0x5, Pair(10, 20), "x=10 y=20 MK_LBUTTON|MK_SHIFT"},
      {0x0200, 0x0, Pair(-1, 300), "x=-1 y=300"},
      {0x020A, (120u << 16) | 0x8, Pair(500, 400), "delta=120 x=500 y=400 MK_CONTROL"},
      {0x020B, (2u << 16) | 0x40, Pair(1, 2), "x=1 y=2 MK_XBUTTON2 button=2"},
      {0x00A1, 2, Pair(5, 6), "HTCAPTION x=5 y=6"},
      {0x0084, 0, Pair(7, 8), "x=7 y=8 -> HTCLIENT", {}, 'R', 1},
      {0x0020, 4660, Pair(1, 0x0200), "window=4660 hit=HTCLIENT mouse=WM_MOUSEMOVE"},
      {0x0100, 0x0D, 0x001C0001, "VK_RETURN repeat=1 scan=0x1C"},
      {0x0101, 'A', 0xC11E0001, "A repeat=1 scan=0x1E extended was-down up"},
      {0x0104, 0x73, 0x203E0001, "VK_F4 repeat=1 scan=0x3E alt"},
      {0x0102, 'a', 1, "\"a\" U+0061 repeat=1"},
      {0x0102, 0x0D, 1, "U+000D repeat=1"},
      {0x0109, 0x1F600, 0, "\"\U0001F600\" U+1F600"},
      {0x0005, 2, Pair(800, 600), "SIZE_MAXIMIZED 800x600"},
      {0x0003, 0, Pair(-8, -30), "x=-8 y=-30"},
      {0x0111, Pair(1001, 0), 4660, "id=1001 code=0 control=4660"},
      {0x0111, Pair(40001, 1), 0, "id=40001 accelerator"},
      {0x0111, Pair(40002, 0), 0, "id=40002 menu"},
      {0x004E, 5, 0x12345678, "id=5"},
      {0x004E, 5, 0x12345678, "code=NM_CLICK id=5 from=4660", Details({4660, 5, -2})},
      {0x0047, 0, 0, "x=1 y=-2 cx=300 cy=200 after=0 SWP_NOSIZE|SWP_NOZORDER|0x1000",
       Details({0, 1, -2, 300, 200, 0x1005})},
      {0x0001, 0, 0, "x=10 y=20 cx=200 cy=100 style=14CF0000 exstyle=00000100",
       Details({10, 20, 200, 100, 0x14CF0000, 0x100})},
      {0x007D, static_cast<std::uint32_t>(-16), 0, "GWL_STYLE old=10000000 new=10010000",
       Details({0x10000000, 0x10010000})},
      {0x000C, 0, 0, "text=\"Gr\u00FC\u00DFe\\t\\\"x\\\"\\r\\n\\\\\\x01\"", Text(u"Grüße\t\"x\"\r\n\\\x01")},
      {0x00C2, 1, 0, "text=\"abc\"\u2026", Text(u"abc", true)},
      {0x0018, 1, 0, "shown=1 status=0"},
      {0x0006, Pair(1, 0), 77, "WA_ACTIVE minimized=0 other=77"},
      {0x001C, 1, 5678, "active=1 thread=5678"},
      {0x0008, 4294967295u, 0, "other=-1"},
      {0x0113, 42, 0, "id=42"},
      {0x0112, 0xF061, 0, "SC_CLOSE"},
      {0x0115, Pair(5, 40), 0, "SB_THUMBTRACK pos=40"},
      {0x0210, 0x0001, 4660, "WM_CREATE child=4660"},
      {0x0210, 0x0201, Pair(3, 4), "WM_LBUTTONDOWN x=3 y=4"},
      {0x02E0, Pair(144, 144), 0, "dpi=144x144"},
      {0x0401, 1, 2, ""},
      {0x000F, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    LoggedMessage m;
    m.message = c.msg;
    m.wparam = c.w;
    m.lparam = c.l;
    m.kind = c.kind;
    m.result = c.result;
    EXPECT_EQ(DescribeParameters(m, c.extra ? &*c.extra : nullptr), c.expected);
  }
}

// A namer that knows two windows and one registered message, and counts
// how often it is asked.
struct FakeNamer : LogNamer {
  ControlClass ClassOf(std::uint32_t hwnd) override {
    ++class_questions;
    return hwnd == 200 ? ControlClass::Edit : ControlClass::None;
  }
  std::string RegisteredName(std::uint32_t msg) override {
    ++name_questions;
    return msg == 0xC100 ? "VexlanPing" : "";
  }
  int class_questions = 0;
  int name_questions = 0;
};

MessageRecord Raw(std::uint8_t kind, std::uint32_t hwnd, std::uint32_t msg, std::uint64_t w, std::uint64_t l,
                  std::uint64_t time) {
  MessageRecord r{};
  r.kind = kind;
  r.hwnd = hwnd;
  r.message = msg;
  r.wparam = w;
  r.lparam = l;
  r.time = time;
  return r;
}

TEST(LogText, LinesOfTabbedFieldsThenWhatWasLost) {
  std::vector<MessageRecord> records = {
      Raw(kRecordSent, 100, 0x000C, 0, 0x1234, 1000), Raw(kRecordReturned, 100, 0x000C, 0, 0x1234, 1500),
      Raw(kRecordPosted, 200, 0x0201, 1, Pair(3, 4), 12500), Raw(kRecordPosted, 100, 0xC100, 0x100000000, 0, 13000),
      Raw(kRecordSent, 200, 0x00C2, 0, 0, 13000)};
  records[0].flags = kRecordText;
  records[0].text_units = 2;
  records[0].text[0] = u'h';
  records[0].text[1] = u'i';
  records[1].result = 1;
  FakeNamer namer;
  MessageStore store;
  // 10,000 counts a second; the log started at 1000.
  ASSERT_EQ(store.Append(records, LogClock{1000, 10000}, namer), 5u);
  EXPECT_EQ(namer.class_questions, 2) << "each window is asked once";
  EXPECT_EQ(namer.name_questions, 1);
  EXPECT_EQ(LogText(store, 0),
            "1\t0\tS\t100\tWM_SETTEXT\t00000000\t00001234\t\ttext=\"hi\"\r\n"
            "2\t50\tR\t100\tWM_SETTEXT\t00000000\t00001234\t00000001\t\r\n"
            "3\t1150\tP\t200\tWM_LBUTTONDOWN\t00000001\t00040003\t\tx=3 y=4 MK_LBUTTON\r\n"
            "4\t1200\tP\t100\tVexlanPing\t0000000100000000\t00000000\t\t\r\n"
            "5\t1200\tS\t200\tEM_REPLACESEL\t00000000\t00000000\t\t");

  // The filters choose the lines; numbers and the lost line stay.
  store.SetShown(MessageGroup::Other, false);
  EXPECT_EQ(store.ShownCount(), 1u);
  EXPECT_EQ(LogText(store, 7), "3\t1150\tP\t200\tWM_LBUTTONDOWN\t00000001\t00040003\t\tx=3 y=4 MK_LBUTTON\r\nlost\t7");
  store.SetShown(MessageGroup::Mouse, false);
  EXPECT_EQ(LogText(store, 7), "lost\t7");
  store.SetShown(MessageGroup::Other, true);
  store.Append(records, LogClock{1000, 10000}, namer);
  EXPECT_EQ(store.ShownCount(), 8u) << "new records are filtered as they come";
  EXPECT_EQ(namer.class_questions, 2);

  store.Clear();
  EXPECT_EQ(LogText(store, 0), "");
  store.SetShown(MessageGroup::Mouse, true);
  store.Append(std::span(records).first(1), LogClock{1000, 10000}, namer);
  EXPECT_EQ(FieldText(store, 0, LogField::Number), "11") << "numbers go on after Clear";
}

TEST(LogClock, MillisecondsSinceTheStartWithoutOverflow) {
  const LogClock clock{1'000'000, 10'000'000};
  EXPECT_EQ(clock.Milliseconds(500), 0u) << "before the start";
  EXPECT_EQ(clock.Milliseconds(1'000'000 + 15'000'000), 1500u);
  EXPECT_EQ(clock.Milliseconds(~0ull), 0xFFFFFFFFu);
  EXPECT_EQ((LogClock{0, 0}).Milliseconds(5), 0u);
}

}  // namespace
}  // namespace vexlan
