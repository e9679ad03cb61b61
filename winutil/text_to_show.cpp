#include "winutil/text_to_show.h"

#include <algorithm>
#include <limits>

#include "platform/utf.h"

namespace vexlan {

namespace {

std::int64_t ParagraphCostUs(std::int64_t units) { return units * kShowUsPerUnit + units * units / kShowUnitPairsPerUs; }

// How many units of `text`, from its start, are estimated to show within
// `budget_us`, and what they cost. A paragraph ends after its CR LF (a lone
// LF breaks no line in an edit control).
std::size_t UnitsWithin(std::u16string_view text, std::int64_t budget_us, std::int64_t& cost_us) {
  std::int64_t spent = 0, paragraph = 0;
  std::size_t i = 0;
  for (; i < text.size() && spent + ParagraphCostUs(paragraph + 1) <= budget_us; ++i) {
    ++paragraph;
    if (text[i] == u'\n' && i > 0 && text[i - 1] == u'\r') {
      spent += ParagraphCostUs(paragraph);
      paragraph = 0;
    }
  }
  cost_us = spent + ParagraphCostUs(paragraph);
  return i;
}

}  // namespace

std::int64_t ShowCostUs(std::u16string_view text) {
  std::int64_t cost_us = 0;
  UnitsWithin(text, std::numeric_limits<std::int64_t>::max(), cost_us);
  return cost_us;
}

TextToShow ShortenToShow(std::string_view text, unsigned left_ms) {
  const std::u16string wide = Utf8ToUtf16(text);
  std::int64_t cost_us = 0;
  const std::size_t fits = std::max(kAlwaysShownUnits, UnitsWithin(wide, std::int64_t{left_ms} * 1000, cost_us));
  if (wide.size() <= fits) return {std::string(text), wide.size(), false};
  return {Utf16ToUtf8(CutUtf16(wide, fits)), wide.size(), true};
}

}  // namespace vexlan
