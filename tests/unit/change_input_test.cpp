#include "winutil/change_input.h"

#include <gtest/gtest.h>

#include <functional>

namespace vexlan {
namespace {

// Every number the change dialogs read, read or refused in words that name
// the field; a refusal carries no value.
TEST(ChangeInput, ReadsNumbersOrSaysWhyNot) {
  using Read = std::function<FieldValue<std::int64_t>(const char*)>;
  const auto widen = [](auto read) {
    return FieldValue<std::int64_t>{read.value ? std::optional<std::int64_t>(*read.value) : std::nullopt, read.error};
  };
  const Read left = [&](const char* t) { return widen(ReadCoordinate("Left", t)); };
  const Read width = [&](const char* t) { return widen(ReadSize("Width", t)); };
  const Read style = [&](const char* t) { return widen(ReadHexValue("Style", t)); };
  struct Case {
    const Read* read;
    const char* text;
    std::optional<std::int64_t> value;
    const char* error;
  };
  const Case cases[] = {
      {&left, " -32 ", -32, ""},
      {&left, "+7", 7, ""},
      {&left, "-2147483648", -2147483648LL, ""},
      {&left, "2147483648", {}, "Left: \"2147483648\" is beyond 32 bits: from -2147483648 to 2147483647."},
      {&left, "12a", {}, "Left: \"12a\" is not a whole number."},
      {&left, "+-3", {}, "Left: \"+-3\" is not a whole number."},
      {&left, "", {}, "Left is empty: enter a whole number."},
      {&width, "0", 0, ""},
      {&width, "-1", {}, "Width cannot be below zero."},
      {&style, " 0XffffFFFF", 0xFFFFFFFF, ""},
      {&style, "0x100000000", {}, "Style: \"0x100000000\" is beyond 32 bits: at most 0xFFFFFFFF."},
      {&style, "0x", {}, "Style: \"0x\" is not a hexadecimal number."},
      {&style, "-1", {}, "Style: \"-1\" is not a hexadecimal number."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const FieldValue<std::int64_t> read = (*c.read)(c.text);
    EXPECT_EQ(read.value, c.value);
    EXPECT_EQ(read.error, c.error);
  }
  EXPECT_EQ(HexValueText(0x00CF0000), "0x00CF0000");
  // A place reads whole, or the first field in tab order that does not is told.
  EXPECT_EQ(ReadPlace("-5", "10", "300", "0").value, (WindowPlace{-5, 10, 300, 0}));
  EXPECT_EQ(ReadPlace("1", "x", "-3", "").error, "Top: \"x\" is not a whole number.");
}

}  // namespace
}  // namespace vexlan
