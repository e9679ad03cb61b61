#include "winutil/text_to_show.h"

#include <gtest/gtest.h>

#include "platform/utf.h"

namespace vexlan {
namespace {

std::string Lines(std::size_t units) {
  std::string text;
  while (text.size() < units) text += "a line of some words\r\n";
  return text.substr(0, units);
}

// Shown whole when it fits in what is left of the ceiling, else its longest
// beginning that does; one long paragraph costs far more than lines.
TEST(ShortenToShow, ShowsWhatFitsInTheTimeLeft) {
  const std::string paragraph(100000, 'w'), emoji_tail = std::string(4095, 'a') + "🙂🙂";
  struct Case {
    const char* name;
    std::string text;
    unsigned left_ms;
    std::size_t shown;  // UTF-16 units; 0: as many as are estimated to fit
  };
  const Case cases[] = {
      {"a short text when no time is left", Lines(4096), 0, 4096},
      {"lines that fit", Lines(250000), 4900, 250000},
      {"lines that do not", Lines(4000000), 4900, 0},
      {"one paragraph", paragraph, 4900, 0},
      {"never half a pair", emoji_tail, 0, 4095},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::u16string whole = Utf8ToUtf16(c.text);
    const TextToShow shown = ShortenToShow(c.text, c.left_ms);
    const std::size_t units = Utf8ToUtf16(shown.text).size();
    EXPECT_EQ(shown.total_units, whole.size());
    EXPECT_EQ(shown.shortened, units < whole.size());
    EXPECT_EQ(c.text.rfind(shown.text, 0), 0u) << "a beginning of the text";
    if (c.shown != 0) {
      EXPECT_EQ(units, c.shown);
    } else {
      ASSERT_TRUE(shown.shortened);
      const std::int64_t budget = std::int64_t{c.left_ms} * 1000;
      EXPECT_LE(ShowCostUs(whole.substr(0, units)), budget);
      EXPECT_GT(ShowCostUs(whole.substr(0, units + 1)), budget);
    }
  }
  EXPECT_LT(ShortenToShow(paragraph, 4900).text.size() * 5, ShortenToShow(Lines(4000000), 4900).text.size());
}

}  // namespace
}  // namespace vexlan
