#include "winutil/handle_text.h"

#include <gtest/gtest.h>

#include "platform/toolkit/sysutils.h"

namespace vexlan {
namespace {

TEST(HandleFromText, DecimalOnlyAndTheMessageSaysWhatWasTyped) {
  struct Case {
    std::string text;
    std::optional<WindowHandle> handle;  // nothing: rejected
    std::string quoted;                  // what the message quotes
  };
  const Case cases[] = {
      {"65552", 65552, ""},
      {"-2147478988", -2147478988, ""},
      {"+7", 7, ""},
      {"4D2", std::nullopt, "'4D2'"},
      {"0x10", std::nullopt, "'0x10'"},
      {" 12", 12, ""},
      {"\t-5  ", -5, ""},
      {"1 2", std::nullopt, "'1 2'"},
      {"12 (C)", std::nullopt, "'12 (C)'"},
      {"", std::nullopt, "''"},
      {"  ", std::nullopt, "'  '"},
      {"2147483648", std::nullopt, "'2147483648'"},
      {std::string(50, '9'), std::nullopt, "'" + std::string(40, '9') + "...'"},
      {std::string(39, 'x') + "東京", std::nullopt, "'" + std::string(39, 'x') + "東...'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.handle) {
      EXPECT_EQ(HandleFromText(c.text), *c.handle);
      continue;
    }
    try {
      HandleFromText(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const EConvertError& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind(c.quoted + " is not a window handle", 0), 0u) << message;
      EXPECT_NE(message.find("decimal"), std::string::npos) << message;
    }
  }
}

TEST(HandleDisplayText, DecimalThenHexadecimalAndBackToTheDecimal) {
  struct Case {
    WindowHandle wnd;
    const char* shown;
  };
  const Case cases[] = {
      {1234, "1234 (4D2)"}, {0, "0 (0)"}, {65552, "65552 (10010)"},
      {-2147478988, "-2147478988 (80001234)"}, {-1, "-1 (FFFFFFFF)"}, {2147483647, "2147483647 (7FFFFFFF)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(HandleDisplayText(c.wnd), c.shown);
    EXPECT_EQ(HandleFromDisplayText(c.shown), c.wnd);
  }
  // What the user may have typed instead.
  EXPECT_EQ(HandleFromDisplayText("777"), 777);
  EXPECT_EQ(HandleFromDisplayText("12 anything"), 12);
  EXPECT_THROW(HandleFromDisplayText("4D2 (1234)"), EConvertError);
  EXPECT_EQ(HandleFromDisplayText("  12  "), 12);
  EXPECT_THROW(HandleFromDisplayText(" "), EConvertError);
}

}  // namespace
}  // namespace vexlan
