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

std::string Text(std::size_t units, bool lines) {
  std::string text;
  text.reserve(units + 64);
  for (int i = 0; text.size() < units; ++i) text += "word" + std::to_string(i % 1000) + (lines && i % 8 == 7 ? "\r\n" : " ");
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
      bool lines;
      std::size_t units;
    };
    for (const Case c : {Case{true, 1 << 16}, Case{true, 1 << 18}, Case{true, 1 << 20}, Case{false, 1 << 13},
                         Case{false, 1 << 14}, Case{false, 1 << 15}, Case{false, 1 << 16}}) {
      {
        const bool lines = c.lines;
        const std::size_t units = c.units;
        const std::string text = Text(units, lines);
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
        std::printf("Memo takes %7zu units (%s): %8.1f ms (median of %d), estimated %8.1f ms (%.1f times)\n", units,
                    lines ? "lines of 8 words" : "one paragraph", median, runs, estimate, estimate / median);
        std::fflush(stdout);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
