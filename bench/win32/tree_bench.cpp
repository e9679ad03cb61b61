// How long the main form takes to list a crowded desktop, against the floor
// no rebuild can go under: the bare Z-order walk reading caption and class.
//
// Fixture processes fill the desktop with 1,000 or 10,000 windows, flat or in
// nested chains (several processes, since Windows allows a process 10,000
// user objects). For each case the benchmark measures interleaved pairs of
// (bare walk, full rebuild), because Wine's walk time drifts, and prints the
// medians and the median of the per-pair ratios. It prints figures only.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "platform/toolkit/win32/application.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_services.h"
#include "tests/win32/support/fixture_process.h"
#include "winutil/window_tree.h"

namespace {

using Clock = std::chrono::steady_clock;
using vexlan::testing::FixtureProcess;

constexpr int kWindowsPerProcess = 2500;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The floor: every window in Z order with its caption and class read into a
// buffer of 201 units, and nothing else.
int BareWalk() {
  int count = 0;
  std::vector<HWND> runs{::GetTopWindow(nullptr)};
  wchar_t text[201];
  while (!runs.empty()) {
    HWND w = runs.back();
    runs.pop_back();
    for (; w; w = ::GetWindow(w, GW_HWNDNEXT)) {
      ::GetWindowTextW(w, text, 201);
      ::GetClassNameW(w, text, 201);
      ++count;
      if (HWND child = ::GetWindow(w, GW_CHILD)) runs.push_back(child);
    }
  }
  return count;
}

struct Case {
  const char* name;
  int windows;
  int depth;
};

void Measure(const Case& c, vexlan::TForm1& form, int pairs) {
  std::vector<std::unique_ptr<FixtureProcess>> fixtures;
  const auto made_start = Clock::now();
  for (int made = 0, i = 0; made < c.windows; ++i) {
    const int here = std::min(kWindowsPerProcess, c.windows - made);
    fixtures.push_back(std::make_unique<FixtureProcess>());
    fixtures.back()->RunBulk("b" + std::to_string(i), here, c.depth, std::chrono::minutes(10));
    made += here;
  }
  const double made_ms = Ms(Clock::now() - made_start);

  // Let the new windows' first paints and X events settle before timing.
  ::Sleep(2000);
  BareWalk();
  form.RefreshBtnClick(nullptr);

  std::vector<double> walks, rebuilds, ratios, core_walks;
  int walked = 0;
  for (int i = 0; i < pairs; ++i) {
    auto t0 = Clock::now();
    walked = BareWalk();
    auto t1 = Clock::now();
    form.RefreshBtnClick(nullptr);
    ::UpdateWindow(form.TreeView1->Handle());  // the one repaint, done now
    auto t2 = Clock::now();
    walks.push_back(Ms(t1 - t0));
    rebuilds.push_back(Ms(t2 - t1));
    ratios.push_back(rebuilds.back() / walks.back());
    // For the breakdown: the rebuild's own walk, without the tree.
    auto t3 = Clock::now();
    vexlan::WalkWindows(vexlan::SystemWindowServices(), vexlan::SystemWindowServices().TopWindow(), false);
    core_walks.push_back(Ms(Clock::now() - t3));
  }
  // Where a rebuild's time goes: emptying the tree, walking and filling, painting.
  {
    auto& nodes = form.TreeView1->Items();
    const auto t0 = Clock::now();
    nodes.BeginUpdate();
    nodes.Clear();
    const auto t1 = Clock::now();
    form.AddWindows(vexlan::SystemWindowServices().TopWindow(), nullptr);
    const auto t2 = Clock::now();
    nodes.EndUpdate();
    ::UpdateWindow(form.TreeView1->Handle());
    const auto t3 = Clock::now();
    std::printf("    one rebuild: clear %.1f ms, walk and fill %.1f ms, paint %.1f ms\n", Ms(t1 - t0), Ms(t2 - t1),
                Ms(t3 - t2));
  }
  // The worst case of a lookup by text: a miss, which scans the whole register.
  {
    std::vector<double> by_name, by_class;
    for (int i = 0; i < pairs; ++i) {
      auto t0 = Clock::now();
      const bool name_found = form.Findnodebyname("no window has this caption");
      auto t1 = Clock::now();
      const bool class_found = form.Findnodebyclass("NoWindowHasThisClass");
      auto t2 = Clock::now();
      if (name_found || class_found) std::printf("    (a lookup meant to miss found something)\n");
      by_name.push_back(Ms(t1 - t0));
      by_class.push_back(Ms(t2 - t1));
    }
    const double rebuild = Median(rebuilds);
    std::printf("    missed lookup over %d entries: by caption %.2f ms (%.2f%% of a rebuild), by class %.2f ms (%.2f%%)\n",
                vexlan::NodeCount, Median(by_name), 100 * Median(by_name) / rebuild, Median(by_class),
                100 * Median(by_class) / rebuild);
  }
  // The rebuild that keeps the user's place, beside the plain one, both from
  // the same place: the deepest node selected (its ancestors expanded) and
  // the first 20 nodes with children expanded. More pairs than above: the
  // difference is small beside the walk's drift.
  {
    int level = 0, expanded = 0;
    const auto take_place = [&] {
      const vexlan::WindowTreeModel& model = vexlan::NodeList.Model();
      std::size_t deepest = 0;
      int deepest_level = -1;
      expanded = 0;
      for (int i = 0; i < model.Count(); ++i) {
        const vexlan::WindowHandle wnd = model.At(i);
        int level = 0;
        for (auto* n = model.Find(wnd); n->parent; n = model.Find(n->parent)) ++level;
        if (level > deepest_level) deepest_level = level, deepest = static_cast<std::size_t>(i);
        if (expanded < 20 && !model.Find(wnd)->children.empty()) {
          vexlan::NodeList[static_cast<std::size_t>(i)].Node->Expand();
          ++expanded;
        }
      }
      form.Findnodebyhandle(model.At(static_cast<int>(deepest)));
      level = form.TreeView1->Selected()->Level();
    };
    std::vector<double> plain, kept, kept_ratios;
    for (int i = 0; i < 3 * pairs; ++i) {
      double times[2];
      for (bool keep : {false, true}) {
        form.Keepplaceonrefresh1->SetChecked(keep);
        take_place();
        const auto t0 = Clock::now();
        form.RefreshBtnClick(nullptr);
        ::UpdateWindow(form.TreeView1->Handle());
        times[keep] = Ms(Clock::now() - t0);
      }
      plain.push_back(times[0]);
      kept.push_back(times[1]);
      kept_ratios.push_back(times[1] / times[0]);
    }
    form.Keepplaceonrefresh1->SetChecked(false);
    std::printf("    place kept (selected node at level %d, %d nodes expanded): plain rebuild %.1f ms, kept %.1f ms,"
                " median kept/plain ratio %.3f\n",
                level, expanded, Median(plain), Median(kept), Median(kept_ratios));
  }
  std::printf("%-22s windows %6d  listed %6d  walk %8.1f ms  rebuild %8.1f ms  ratio %5.2f"
              "  (rebuild's walk alone %.1f ms; %d pairs; made in %.0f ms)\n",
              c.name, walked, vexlan::NodeCount, Median(walks), Median(rebuilds), Median(ratios),
              Median(core_walks), pairs, made_ms);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const Case cases[] = {
      {"1,000 flat", 1000, 1},
      {"1,000 nested 10 deep", 1000, 10},
      {"10,000 flat", 10000, 1},
      {"10,000 nested 10 deep", 10000, 10},
  };
  try {
    const vexlan::ScopedPlatform platform(vexlan::SystemPlatform());
    vexlan::TApplication app;
    app.Initialize();
    vexlan::TForm1* form = nullptr;
    app.CreateForm(form);
    form->Show();
    app.ProcessMessages();
    std::printf("Rebuild of the main form's tree against the bare Z-order walk (medians)\n");
    for (const Case& c : cases) Measure(c, *form, pairs);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
