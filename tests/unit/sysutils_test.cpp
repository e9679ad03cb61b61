#include "platform/toolkit/sysutils.h"

#include <gtest/gtest.h>

#include <optional>

namespace vexlan {
namespace {

TEST(StrToInt, AcceptsOnlySignedDecimalWithin32Bits) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"65552", 65552},
      {"-65552", -65552},
      {"+7", 7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {" 12", std::nullopt},
      {"12 ", std::nullopt},
      {"1 2", std::nullopt},
      {"0x1F", std::nullopt},
      {"$1F", std::nullopt},
      {"1F", std::nullopt},
      {"--1", std::nullopt},
      {"1.0", std::nullopt},
      {"Handle", std::nullopt},
      {"\xd9\xa3", std::nullopt},  // an Arabic-Indic digit is not a decimal digit here
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.value) {
      EXPECT_EQ(StrToInt(c.text), *c.value);
    } else {
      EXPECT_THROW(StrToInt(c.text), EConvertError);
    }
  }
}

TEST(StrToInt, ErrorMessageQuotesTheText) {
  try {
    StrToInt("12ab");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12ab' is not a valid integer value");
  }
}

TEST(IntToHex, UpperCaseWithMinimumDigits) {
  EXPECT_EQ(IntToHex(std::int32_t{0x1A2B}, 8), "00001A2B");
  EXPECT_EQ(IntToHex(std::int32_t{255}, 1), "FF");
  EXPECT_EQ(IntToHex(std::int32_t{0}, 0), "0");
  EXPECT_EQ(IntToHex(std::int32_t{-2}, 8), "FFFFFFFE");
  EXPECT_EQ(IntToHex(std::int64_t{-2}, 8), "FFFFFFFFFFFFFFFE");
  EXPECT_EQ(IntToHex(std::int32_t{0xABC}, 2), "ABC");
}

TEST(IntToStr, SignedDecimal) {
  EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntToStr(65552), "65552");
  EXPECT_EQ(IntToStr(0), "0");
}

TEST(StrLower, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(StrLower("Untitled - EDITOR [X]"), "untitled - editor [x]");
  EXPECT_EQ(StrLower("ÄÖÜ Élan"), "ÄÖÜ Élan");
  EXPECT_EQ(StrLower("@[`{"), "@[`{");
}

}  // namespace
}  // namespace vexlan
