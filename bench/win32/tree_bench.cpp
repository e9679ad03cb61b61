// How the main form's tree keeps up with a crowded desktop: the rebuild
// against the floor no rebuild can go under (the bare Z-order walk reading
// caption and class), one step of the live tree (walk, compare, apply)
// against a rebuild, and the live tree left running: its share of one core
// and how soon it shows a change.
//
// Fixture processes fill the desktop with 1,000, 10,000 or 30,000 windows,
// flat or in nested chains (several processes, 2,500 windows each; Wine's
// handle table holds 32,744 for the whole prefix). Timings alternate the
// things compared, because Wine's calls drift with the machine's load, and
// print medians. Figures only.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
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
using vexlan::NodeList;
using vexlan::testing::FixtureProcess;

constexpr int kWindowsPerProcess = 2500;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
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

// Processor time in ms: this process's, and, under Wine, the server's (read
// from Linux's /proc through Wine's Z: drive; -1 where it cannot be read).
double ProcessCpuMs() {
  FILETIME created{}, exited{}, kernel{}, user{};
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ms = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

double ServerCpuMs() {
  static std::string stat;
  if (stat.empty()) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    do {
      if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
      const std::string dir = std::string("Z:\\proc\\") + found.cFileName;
      if (FILE* f = std::fopen((dir + "\\comm").c_str(), "rb")) {
        char name[32] = {};
        std::fread(name, 1, sizeof name - 1, f);
        std::fclose(f);
        if (std::strncmp(name, "wineserver", 10) == 0) stat = dir + "\\stat";
      }
    } while (stat.empty() && ::FindNextFileA(search, &found));
    ::FindClose(search);
    if (stat.empty()) return -1;
  }
  FILE* f = std::fopen(stat.c_str(), "rb");
  if (!f) return -1;
  char line[1024] = {};
  std::fread(line, 1, sizeof line - 1, f);
  std::fclose(f);
  // Fields 14 and 15, user and system time in clock ticks, after the name.
  const char* p = std::strrchr(line, ')');
  unsigned long long user = 0, system = 0;
  if (!p || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user, &system) != 2) {
    return -1;
  }
  return static_cast<double>(user + system) * 10.0;
}

struct Case {
  const char* name;
  int windows;
  int depth;
};

class Bench {
 public:
  Bench(vexlan::TApplication& app, vexlan::TForm1& form, int pairs) : app_(app), form_(form), pairs_(pairs) {}

  void Measure(const Case& c) {
    std::vector<std::unique_ptr<FixtureProcess>> fixtures;
    const auto made_start = Clock::now();
    for (int made = 0, i = 0; made < c.windows; ++i) {
      const int here = std::min(kWindowsPerProcess, c.windows - made);
      fixtures.push_back(std::make_unique<FixtureProcess>());
      fixtures.back()->RunBulk("b" + std::to_string(i), here, c.depth, std::chrono::minutes(10));
      made += here;
    }
    // Named windows to change, at the top of the desktop.
    FixtureProcess changer;
    for (int i = 0; i < 10; ++i) changer.Command("top|K" + std::to_string(i) + "|VexlanBenchChange|Change " + std::to_string(i));
    const double made_ms = Ms(Clock::now() - made_start);
    // Let the new windows' first paints and X events settle before timing.
    ::Sleep(2000);
    app_.ProcessMessages();
    BareWalk();
    form_.RefreshBtnClick(nullptr);

    Rebuilds(c, made_ms);
    Breakdown();
    LiveSteps(changer);
    if (c.windows <= 10000) LiveRunning(changer, c.windows <= 1000 ? 20 : 60);
    std::fflush(stdout);
  }

 private:
  void Rebuilds(const Case& c, double made_ms) {
    std::vector<double> walks, rebuilds, ratios, own_walks;
    int walked = 0;
    for (int i = 0; i < pairs_; ++i) {
      auto t0 = Clock::now();
      walked = BareWalk();
      auto t1 = Clock::now();
      form_.RefreshBtnClick(nullptr);
      ::UpdateWindow(form_.TreeView1->Handle());  // the one repaint, done now
      auto t2 = Clock::now();
      walks.push_back(Ms(t1 - t0));
      rebuilds.push_back(Ms(t2 - t1));
      ratios.push_back(rebuilds.back() / walks.back());
      const auto t3 = Clock::now();
      vexlan::WalkWindows(vexlan::SystemWindowServices(), vexlan::SystemWindowServices().TopWindow(), false);
      own_walks.push_back(Ms(Clock::now() - t3));
    }
    rebuild_ms_ = Median(rebuilds);
    std::printf("%-22s windows %6d  listed %6d  bare walk %8.1f ms  rebuild %8.1f ms  ratio %5.2f"
                "  (the rebuild's own walk %.1f ms; %d pairs; made in %.0f s)\n",
                c.name, walked, vexlan::NodeCount, Median(walks), rebuild_ms_, Median(ratios), Median(own_walks),
                pairs_, made_ms / 1000);
  }

  // Where a rebuild's time goes: emptying the tree, walking and filling, painting.
  void Breakdown() {
    auto& nodes = form_.TreeView1->Items();
    const auto t0 = Clock::now();
    nodes.BeginUpdate();
    nodes.Clear();
    const auto t1 = Clock::now();
    form_.AddWindows(vexlan::SystemWindowServices().TopWindow(), nullptr);
    const auto t2 = Clock::now();
    nodes.EndUpdate();
    ::UpdateWindow(form_.TreeView1->Handle());
    const auto t3 = Clock::now();
    std::printf("    one rebuild: clear %.1f ms, walk and fill %.1f ms, paint %.1f ms; %d items in the control\n",
                Ms(t1 - t0), Ms(t2 - t1), Ms(t3 - t2),
                static_cast<int>(::SendMessageW(form_.TreeView1->Handle(), TVM_GETCOUNT, 0, 0)));
    const auto t4 = Clock::now();
    const bool found = form_.Findnodebyname("no window has this caption") || form_.Findnodebyclass("NoSuchClass");
    std::printf("    two lookups that miss (the whole register read twice): %.2f ms%s\n", Ms(Clock::now() - t4),
                found ? " (one found something)" : "");
  }

  // One live step as the periodic walk makes it, timed whole: the walk
  // (the tree's windows taken as they are), the comparison with the model,
  // and the changes shown in the tree; with 0, 1 and 10 changes made by
  // another program just before.
  void LiveSteps(FixtureProcess& changer) {
    for (const int changes : {0, 1, 10}) {
      std::vector<double> steps;
      std::size_t made = 0;
      for (int i = 0; i < pairs_; ++i) {
        for (int k = 0; k < changes; ++k) {
          changer.Command("caption|K" + std::to_string(k) + "|Change " + std::to_string(k) + (i % 2 ? " a" : " b"));
        }
        const auto t0 = Clock::now();
        vexlan::WalkOptions options;
        options.identity = vexlan::WalkOptions::Identity::kNew;
        options.known = [](vexlan::WindowHandle w) {
          const auto* node = NodeList.Model().Find(w);
          return node ? &node->identity : nullptr;
        };
        vexlan::WindowWalk walk = vexlan::WindowWalk::Under(vexlan::SystemWindowServices(), 0, options);
        walk.Continue();
        const std::vector<vexlan::TreeChange> shown = NodeList.Model().Update(0, walk.TakeRows());
        NodeList.Show(shown);
        ::UpdateWindow(form_.TreeView1->Handle());
        steps.push_back(Ms(Clock::now() - t0));
        made += shown.size();
      }
      std::printf("    live step with %2d changes: %8.1f ms, %.2f of a rebuild (%zu changes shown in %d steps)\n",
                  changes, Median(steps), Median(steps) / rebuild_ms_, made, pairs_);
    }
  }

  void Pump(double ms) {
    const auto end = Clock::now() + std::chrono::duration<double, std::milli>(ms);
    while (Clock::now() < end) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      app_.ProcessMessages();
    }
  }

  // The live tree left to itself: what it costs, and how soon a change
  // another program makes shows (a caption, which Wine does not report and
  // the periodic walk finds, and a new window, which it reports).
  void LiveRunning(FixtureProcess& changer, int seconds) {
    form_.Livetree1->Click();
    Pump(3000);  // the first walk, which reads every identity
    const vexlan::LiveTreeFigures before = form_.Live()->Figures();
    const double cpu0 = ProcessCpuMs(), server0 = ServerCpuMs();
    const auto t0 = Clock::now();
    Pump(seconds * 1000.0);
    const double wall = Ms(Clock::now() - t0);
    const double cpu = ProcessCpuMs() - cpu0, server = ServerCpuMs() - server0;
    const vexlan::LiveTreeFigures& after = form_.Live()->Figures();
    std::printf("    live tree for %d s: Vexlan %.2f%% of one core (budgeted work %.2f%%), Wine's server %s;"
                " %d walks, %d steps, longest step %lld ms\n",
                seconds, 100 * cpu / wall, 100 * (after.spent_us - before.spent_us) / 1000.0 / wall,
                server0 < 0 ? "not read" : (std::to_string(100 * server / wall).substr(0, 4) + "%").c_str(),
                after.walks - before.walks, after.steps - before.steps,
                static_cast<long long>(after.longest_step_ms));

    std::vector<double> renamed, created;
    for (int i = 0; i < 6; ++i) {
      const std::string caption = "Shown " + std::to_string(i);
      changer.Command("caption|K0|" + caption);
      const auto t1 = Clock::now();
      while (NodeList.NodeOf(changer.Id("K0"))->Text().find(caption) == std::string::npos &&
             Ms(Clock::now() - t1) < 60000) {
        Pump(5);
      }
      renamed.push_back(Ms(Clock::now() - t1));
      const std::string name = "New" + std::to_string(i) + "x" + std::to_string(seconds);
      changer.Command("top|" + name + "|VexlanBenchChange|" + name);
      const auto t2 = Clock::now();
      while (!NodeList.NodeOf(changer.Id(name)) && Ms(Clock::now() - t2) < 60000) Pump(5);
      created.push_back(Ms(Clock::now() - t2));
      Pump(300);
    }
    std::printf("    a change shown after: renamed (found by the walk) median %.0f ms, at most %.0f ms;"
                " created (reported) median %.0f ms, at most %.0f ms\n",
                Median(renamed), *std::max_element(renamed.begin(), renamed.end()), Median(created),
                *std::max_element(created.begin(), created.end()));
    form_.Livetree1->Click();
  }

  vexlan::TApplication& app_;
  vexlan::TForm1& form_;
  int pairs_;
  double rebuild_ms_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const Case cases[] = {
      {"1,000 flat", 1000, 1},   {"1,000 nested 10 deep", 1000, 10},   {"10,000 flat", 10000, 1},
      {"10,000 nested 10 deep", 10000, 10}, {"30,000 flat", 30000, 1}, {"30,000 nested 10 deep", 30000, 10},
  };
  try {
    const vexlan::ScopedPlatform platform(vexlan::SystemPlatform());
    vexlan::TApplication app;
    app.Initialize();
    vexlan::TForm1* form = nullptr;
    app.CreateForm(form);
    form->Show();
    app.ProcessMessages();
    std::printf("The main form's tree on a crowded desktop (medians; a shared 2-core machine)\n");
    Bench bench(app, *form, pairs);
    for (const Case& c : cases) {
      if (argc > 2 && std::strstr(c.name, argv[2]) == nullptr) continue;
      bench.Measure(c);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
