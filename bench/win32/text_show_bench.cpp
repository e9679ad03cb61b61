// How long the Show/Edit Text dialog's memo takes to show a long text: the
// time its word-wrapping edit control needs to take the text, by length and
// by shape (short lines, or one paragraph of words), beside the estimate
// the dialog shortens a text by (winutil/text_to_show.h), which should stay
// above it. Prints figures only.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit2.h"
#include "platform/toolkit/win32/application.h"
#include "platform/utf.h"
#include "platform/win32/win32_platform.h"
#include "winutil/text_to_show.h"

namespace {

using Clock = std::chrono::steady_clock;

// Words, a line break after every `words` of them (none when 0).
std::string Text(std::size_t units, int words) {
  std::string text;
  text.reserve(units + 64);
  for (int i = 0; text.size() < units; ++i) {
    text += "word" + std::to_string(i % 1000) + (words && i % words == words - 1 ? "\r\n" : " ");
  }
  text.resize(units);
  return text;
}

double MedianMs(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  try {
    const vexlan::ScopedPlatform platform(vexlan::SystemPlatform());
    vexlan::TApplication app;
    app.Initialize();
    app.CreateForm(vexlan::Form1);
    app.CreateForm(vexlan::Form2);
    vexlan::Form2->Show();
    struct Case {
      int words;  // a paragraph's
      std::size_t units;
    };
    for (const Case c : {Case{8, 1 << 16}, Case{8, 1 << 18}, Case{8, 1 << 20}, Case{32, 1 << 20}, Case{128, 1 << 20},
                         Case{512, 1 << 20}, Case{0, 1 << 13}, Case{0, 1 << 14}, Case{0, 1 << 15}, Case{0, 1 << 16}}) {
      {
        const std::size_t units = c.units;
        const std::string text = Text(units, c.words);
        std::vector<double> ms;
        for (int run = 0; run < runs; ++run) {
          vexlan::Form2->Edit1->SetText("");
          app.ProcessMessages();
          const auto start = Clock::now();
          vexlan::Form2->Edit1->SetText(text);
          ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
          app.ProcessMessages();
        }
        const double median = MedianMs(ms);
        const double estimate = static_cast<double>(vexlan::ShowCostUs(vexlan::Utf8ToUtf16(text))) / 1000;
        const std::string shape = c.words ? "paragraphs of " + std::to_string(c.words) + " words" : "one paragraph";
        std::printf("Memo takes %7zu units (%s): %8.1f ms (median of %d), estimated %8.1f ms (%.1f times)\n", units,
                    shape.c_str(), median, runs, estimate, estimate / median);
        std::fflush(stdout);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
