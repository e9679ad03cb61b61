// How the main form's tree keeps up with a crowded desktop: the rebuild
// against the floor no rebuild can go under (the bare Z-order walk reading
// caption and class), one step of the live tree (walk, compare, apply)
// against a rebuild, and the live tree left running: its share of one core
// and how soon it shows a change.
//
// Fixture processes fill the desktop with 1,000, 10,000 or 30,000 windows,
// flat (top-level windows), in long runs of children (2,500 under each of a
// few top-level windows) or in nested chains (several processes, 2,500
// windows each). Wine's server has 32,744 handles for the whole prefix, a
// top-level window takes three of them and a child one, and running out
// brings the server down: 30,000 windows stand in runs or deep chains. Timings alternate the
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

// This process's processor time in ms.
double ProcessCpuMs() {
  FILETIME created{}, exited{}, kernel{}, user{};
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ms = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
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
    // Small desktops are quick to time and noisier: three times the pairs.
    const int pairs = pairs_;
    if (c.windows <= 1000) pairs_ *= 3;
    MeasureCase(c);
    pairs_ = pairs;
  }

 private:
  void MeasureCase(const Case& c) {
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
    KeptPlace();
    LiveSteps(changer);
    if (c.windows <= 10000) LiveRunning(changer, c.windows <= 1000 ? 20 : 60);
    std::fflush(stdout);
  }

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

  // The rebuild that keeps the user's place, beside the plain one, both from
  // the same place: the deepest node selected (its ancestors expanded) and
  // the first 20 nodes with children expanded.
  void KeptPlace() {
    int level = 0, expanded = 0;
    const auto take_place = [&] {
      const vexlan::WindowTreeModel& model = NodeList.Model();
      int deepest = 0, deepest_level = -1;
      expanded = 0;
      for (int i = 0; i < model.Count(); ++i) {
        const vexlan::WindowHandle wnd = model.At(i);
        int depth = 0;
        for (auto* n = model.Find(wnd); n->parent; n = model.Find(n->parent)) ++depth;
        if (depth > deepest_level) deepest_level = depth, deepest = i;
        if (expanded < 20 && !model.Find(wnd)->children.empty()) {
          NodeList[static_cast<std::size_t>(i)].Node->Expand();
          ++expanded;
        }
      }
      form_.Findnodebyhandle(model.At(deepest));
      level = form_.TreeView1->Selected()->Level();
    };
    std::vector<double> plain, kept, ratios;
    for (int i = 0; i < pairs_; ++i) {
      double times[2];
      for (bool keep : {false, true}) {
        form_.Keepplaceonrefresh1->SetChecked(keep);
        take_place();
        const auto t0 = Clock::now();
        form_.RefreshBtnClick(nullptr);
        ::UpdateWindow(form_.TreeView1->Handle());
        times[keep] = Ms(Clock::now() - t0);
      }
      plain.push_back(times[0]);
      kept.push_back(times[1]);
      ratios.push_back(times[1] / times[0]);
    }
    form_.Keepplaceonrefresh1->SetChecked(false);
    std::printf("    place kept (selected node at level %d, %d nodes expanded): plain rebuild %.1f ms, kept %.1f ms,"
                " median kept/plain ratio %.3f\n",
                level, expanded, Median(plain), Median(kept), Median(ratios));
  }

  // One live step as the periodic walk makes it, timed whole: the walk
  // (the tree's windows taken as they are), the comparison with the model,
  // and the changes shown in the tree; with 0, 1 and 10 changes made by
  // another program just before. Each round times a rebuild too, and the
  // ratios are taken round by round.
  double LiveStep(FixtureProcess& changer, int changes, int round, std::size_t& shown_count) {
    for (int k = 0; k < changes; ++k) {
      changer.Command("caption|K" + std::to_string(k) + "|Change " + std::to_string(k) + (round % 2 ? " a" : " b"));
    }
    const auto t0 = Clock::now();
    vexlan::WalkOptions options;
    options.identity = vexlan::WalkOptions::Identity::kNew;
    options.known = [](vexlan::WindowHandle w) {
      const auto* node = NodeList.Model().Find(w);
      return node ? &node->identity : nullptr;
    };
    options.known_has_children = [](vexlan::WindowHandle w) {
      const auto* node = NodeList.Model().Find(w);
      return node && !node->children.empty();
    };
    vexlan::WindowWalk walk = vexlan::WindowWalk::Under(vexlan::SystemWindowServices(), 0, options);
    walk.Continue();
    const std::vector<vexlan::TreeChange> shown = NodeList.Model().Update(0, walk.TakeRows());
    NodeList.Show(shown);
    ::UpdateWindow(form_.TreeView1->Handle());
    shown_count += shown.size();
    return Ms(Clock::now() - t0);
  }

  void LiveSteps(FixtureProcess& changer) {
    const int kChanges[] = {0, 1, 10};
    std::vector<double> steps[3], ratios[3];
    std::size_t shown[3] = {};
    for (int round = 0; round < pairs_; ++round) {
      const auto t0 = Clock::now();
      form_.RefreshBtnClick(nullptr);
      ::UpdateWindow(form_.TreeView1->Handle());
      const double rebuild = Ms(Clock::now() - t0);
      for (int i = 0; i < 3; ++i) {
        steps[i].push_back(LiveStep(changer, kChanges[i], round, shown[i]));
        ratios[i].push_back(steps[i].back() / rebuild);
      }
    }
    for (int i = 0; i < 3; ++i) {
      std::printf("    live step with %2d changes: %8.1f ms, median ratio to a rebuild %.2f (%zu changes shown in %d steps)\n",
                  kChanges[i], Median(steps[i]), Median(ratios[i]), shown[i], pairs_);
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
    const double cpu0 = ProcessCpuMs();
    const auto t0 = Clock::now();
    Pump(seconds * 1000.0);
    const double wall = Ms(Clock::now() - t0);
    const double cpu = ProcessCpuMs() - cpu0;
    const vexlan::LiveTreeFigures& after = form_.Live()->Figures();
    // The budget counts the thread's time twice under Wine, for the server.
    std::printf("    live tree for %d s: Vexlan's process %.2f%% of one core, its work as budgeted %.2f%%;"
                " %d walks, %d steps, longest step %lld ms\n",
                seconds, 100 * cpu / wall, 100 * (after.spent_us - before.spent_us) / 1000.0 / wall,
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
      {"1,000 flat", 1000, 1},          {"1,000 nested 10 deep", 1000, 10},
      {"10,000 flat", 10000, 1},        {"10,000 nested 10 deep", 10000, 10},
      {"30,000 in runs of 2,500", 30000, 0}, {"30,000 nested 50 deep", 30000, 50},
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
