#include "platform/utf.h"

#include <gtest/gtest.h>

namespace vexlan {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
  const std::string samples[] = {"", "plain", "é", "Grüße", "東京", "🙂", "a😀b", "\x7f\xc2\x80\xef\xbf\xbf\xf4\x8f\xbf\xbf"};
  for (const std::string& s : samples) {
    SCOPED_TRACE(s);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s);
  }
  EXPECT_EQ(Utf8ToUtf16("🙂"), u"\xD83D\xDE42");
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    std::string in;
    std::u16string out;
  };
  const Case cases[] = {
      {"\xff", u"\xFFFD"},
      {"a\xc3", u"a\xFFFD"},                // truncated two-byte sequence
      {"\xc3(", u"\xFFFD("},                // bad continuation keeps the next byte
      {"\xc0\xafz", u"\xFFFDz"},           // overlong form
      {"\xed\xa0\x80", u"\xFFFD"},          // encoded surrogate
      {"\xf4\x90\x80\x80", u"\xFFFD"},      // beyond U+10FFFF
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Utf8ToUtf16(c.in), c.out);
  }
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf16ToUtf8(u"x\xDC00"), "x\xEF\xBF\xBD");
}

TEST(Utf, CutNeverSplitsASurrogatePair) {
  const std::u16string s = u"ab\xD83D\xDE42";
  EXPECT_EQ(CutUtf16(s, 10), s);
  EXPECT_EQ(CutUtf16(s, 4), s);
  EXPECT_EQ(CutUtf16(s, 3), u"ab");
  EXPECT_EQ(CutUtf16(s, 2), u"ab");
  EXPECT_EQ(CutUtf16(s, 0), u"");
}

}  // namespace
}  // namespace vexlan
