// How much of a window's text the Show/Edit Text dialog shows.
//
// The dialog's memo wraps its lines, and a word-wrapping edit control takes
// long to take a long text. Wine's, measured on our build machine
// (bench/win32/text_show_bench.cpp), needs about 2 microseconds a unit for
// text in short lines, 4 to 8 for paragraphs (runs without CR LF) of a few
// hundred to a few thousand units, and for a longer paragraph time that
// grows with the square of its length, 0.6 to 0.9 nanoseconds times that
// square: 64 Ki units in one paragraph take 2.7 to 3.8 s, 256 Ki units
// 54 s. No action may hold the user interface longer than
// kRoutineCeilingMs, showing included, so a text whose showing is not
// estimated to fit in what the read left of that time is shown shortened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexlan {

// The estimate: each unit kShowUsPerUnit microseconds, and a paragraph of n
// units n * n / kShowUnitPairsPerUs more: at least twice what the memo
// took in any shape measured, for a loaded or slower machine.
inline constexpr std::int64_t kShowUsPerUnit = 16;
inline constexpr std::int64_t kShowUnitPairsPerUs = 400;
// Shown whole however little time is left: tens of milliseconds at most.
inline constexpr std::size_t kAlwaysShownUnits = 4096;

// The estimated time, in microseconds, the memo takes to show `text`.
std::int64_t ShowCostUs(std::u16string_view text);

struct TextToShow {
  std::string text;             // what the memo gets
  std::size_t total_units = 0;  // the whole text's length, in UTF-16 units
  bool shortened = false;       // `text` is less than the whole
};

// `text` whole when it is estimated to show within `left_ms` (or is no
// longer than kAlwaysShownUnits), else its longest beginning that is, never
// shorter than kAlwaysShownUnits, never cut inside a surrogate pair.
TextToShow ShortenToShow(std::string_view text, unsigned left_ms);

}  // namespace vexlan
