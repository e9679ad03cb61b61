#include "winutil/change_input.h"

#include <gtest/gtest.h>

namespace vexlan {
namespace {

// Every number the change dialogs read, read or refused in words that name
// the field; a refusal carries no value.
TEST(ChangeInput, ReadsNumbersOrSaysWhyNot) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> coordinate, size;
    const char* coordinate_error;
  };
  const Case cases[] = {
      {"120", 120, 120, ""},
      {" -32 ", -32, std::nullopt, ""},
      {"+7", 7, 7, ""},
      {"0", 0, 0, ""},
      {"-2147483648", -2147483647 - 1, std::nullopt, ""},
      {"2147483647", 2147483647, 2147483647, ""},
      {"2147483648", std::nullopt, std::nullopt, "Left: \"2147483648\" is beyond 32 bits: from -2147483648 to 2147483647."},
      {"-99999999999999999999", std::nullopt, std::nullopt,
       "Left: \"-99999999999999999999\" is beyond 32 bits: from -2147483648 to 2147483647."},
      {"12a", std::nullopt, std::nullopt, "Left: \"12a\" is not a whole number."},
      {"1.5", std::nullopt, std::nullopt, "Left: \"1.5\" is not a whole number."},
      {"+-3", std::nullopt, std::nullopt, "Left: \"+-3\" is not a whole number."},
      {"-", std::nullopt, std::nullopt, "Left: \"-\" is not a whole number."},
      {"", std::nullopt, std::nullopt, "Left is empty: enter a whole number."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const FieldValue<std::int32_t> coordinate = ReadCoordinate("Left", c.text), size = ReadSize("Width", c.text);
    EXPECT_EQ(coordinate.value, c.coordinate);
    EXPECT_EQ(coordinate.error, c.coordinate_error);
    EXPECT_EQ(size.value, c.size);
    if (c.coordinate && *c.coordinate < 0) {
      EXPECT_EQ(size.error, "Width cannot be below zero.");
    }
  }
}

TEST(ChangeInput, ReadsHexadecimalValuesOrSaysWhyNot) {
  struct Case {
    const char* text;
    std::optional<std::uint32_t> value;
    const char* error;
  };
  const Case cases[] = {
      {"0x10CF0000", 0x10CF0000, ""},
      {"  10cf0000", 0x10CF0000, ""},
      {"0XFFFFFFFF", 0xFFFFFFFF, ""},
      {"0", 0, ""},
      {"0x100000000", std::nullopt, "Style: \"0x100000000\" is beyond 32 bits: at most 0xFFFFFFFF."},
      {"0x", std::nullopt, "Style: \"0x\" is not a hexadecimal number."},
      {"-1", std::nullopt, "Style: \"-1\" is not a hexadecimal number."},
      {"0x12G", std::nullopt, "Style: \"0x12G\" is not a hexadecimal number."},
      {"", std::nullopt, "Style is empty: enter a hexadecimal number."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const FieldValue<std::uint32_t> read = ReadHexValue("Style", c.text);
    EXPECT_EQ(read.value, c.value);
    EXPECT_EQ(read.error, c.error);
  }
  EXPECT_EQ(HexValueText(0x00CF0000), "0x00CF0000");
}

// The first field in tab order that does not read is the one told.
TEST(ChangeInput, APlaceReadsWholeOrNotAtAll) {
  EXPECT_EQ(ReadPlace("-5", "10", "300", "0").value, (WindowPlace{-5, 10, 300, 0}));
  const FieldValue<WindowPlace> bad = ReadPlace("1", "x", "-3", "");
  EXPECT_FALSE(bad.value);
  EXPECT_EQ(bad.error, "Top: \"x\" is not a whole number.");
  EXPECT_EQ(ReadPlace("1", "2", "3", "-4").error, "Height cannot be below zero.");
}

}  // namespace
}  // namespace vexlan
