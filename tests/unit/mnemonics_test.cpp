#include "platform/toolkit/mnemonics.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexlan {
namespace {

TEST(MnemonicOf, LetterAfterSingleAmpersandFolded) {
  struct Case {
    const char* caption;
    char32_t expected;
  };
  const Case cases[] = {
      {"&Refresh", U'R'},   {"E&xit", U'X'},         {"&Show Handle", U'S'}, {"No mark", 0},
      {"Fish && &Chips", U'C'}, {"A && B", 0},       {"Trailing &", 0},      {"&&&b", U'B'},
      {"&\xc3\xa9t\xc3\xa9", 0xC9},  // é folds to É
      {"&\xe2\x82\xac", 0x20AC},     // € has no case
      {"&\xc3", 0},                  // cut multibyte sequence
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(MnemonicOf(c.caption), c.expected);
  }
}

TEST(ChooseMnemonicTarget, UniqueActivatesSharedCyclesFocus) {
  // The main form's bar in tab order: Refresh, Exit, Find, Search, the handle
  // box (no mark) and Show Handle.
  const std::vector<char32_t> bar = {U'R', U'X', U'F', U'S', 0, U'S'};
  struct Case {
    const char* what;
    char32_t typed;
    std::optional<std::size_t> focused;
    std::optional<std::size_t> index;
    bool activate;
  };
  const Case cases[] = {
      {"unique letter, any case", U'x', std::nullopt, 1, true},
      {"unique letter from elsewhere", U'R', 3, 0, true},
      {"shared letter from outside", U's', std::nullopt, 3, false},
      {"shared letter before both", U'S', 0, 3, false},
      {"shared letter on the first", U'S', 3, 5, false},
      {"shared letter between them", U'S', 4, 5, false},
      {"shared letter on the last wraps", U'S', 5, 3, false},
      {"unknown letter", U'Q', 0, std::nullopt, false},
      {"no character", 0, 0, std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto target = ChooseMnemonicTarget(bar, c.typed, c.focused);
    ASSERT_EQ(target.has_value(), c.index.has_value());
    if (!target) continue;
    EXPECT_EQ(target->index, *c.index);
    EXPECT_EQ(target->activate, c.activate);
  }
}

}  // namespace
}  // namespace vexlan
