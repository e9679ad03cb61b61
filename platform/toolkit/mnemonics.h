// Keyboard accelerators marked in captions ("E&xit": Alt+X) and the rule for
// which control an accelerator press reaches.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace vexlan {

// The character after the first single '&' of a UTF-8 caption, folded to
// upper case; "&&" stands for a literal ampersand. 0 when the caption marks
// none. Folding covers ASCII and Latin-1 letters, which is what captions use.
char32_t MnemonicOf(std::string_view caption);

// The same folding, for the character the user typed.
char32_t FoldMnemonic(char32_t c);

struct MnemonicTarget {
  std::size_t index = 0;  // into the candidates
  bool activate = false;  // true: press it; false: only give it the focus
};

// The platform's rule for an accelerator press. `mnemonics` holds the marked
// character of every control that could take it, in tab order; `focused` is
// the focused control's position there, if it is one of them. A letter that
// exactly one control marks activates that control. A letter that several
// share activates none of them: focus moves to the next one after the
// focused control, wrapping around, so repeated presses cycle through them.
std::optional<MnemonicTarget> ChooseMnemonicTarget(std::span<const char32_t> mnemonics, char32_t typed,
                                                   std::optional<std::size_t> focused);

}  // namespace vexlan
