// The window walk over desktops that change under it: Z-order cycles, and
// windows that close or are restacked while the walk runs. The walk ends,
// lists every window at most once, in pre-order under its real parent,
// numbers each sibling run from 1 without gaps, writes captions that read
// back, and loses no window that is there from start to end (unless a
// Z-order cycle hides it, which no walk can see past).
//
// Changes happen at any query but the next-sibling ones: a sibling run is
// read in one go, and a window restacked or closed in the middle of that
// read can take the rest of the run with it whatever the walk does (the
// platform itself warns so). What the walk promises is that changes while
// a run's windows are being walked lose nothing of that run.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/utf.h"
#include "tests/support/fake_desktop.h"
#include "winutil/tree_model.h"
#include "winutil/window_tree.h"

using namespace vexlan;
using vexlan::testing::FakeDesktop;

namespace {

// Units that matter to node captions and to UTF-16: quotes, brackets,
// parentheses, blanks, digits, a pair and lone halves.
constexpr char16_t kUnits[] = {u'a', u'Z', u'"', u'[', u']', u'(', u')', u' ', u':', u'1',
                               u'-', u'\u00e9', 0xD83D, 0xDE00, 0xD800, 0xDC00};

std::u16string AnyText(FuzzedDataProvider& in, std::size_t max) {
  std::u16string text;
  for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, max); n > 0; --n) {
    text += kUnits[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kUnits) - 1)];
  }
  return text;
}

struct Change {
  std::size_t at_query;
  bool destroy;  // else restack: to the bottom of its siblings
  WindowHandle wnd;
};

// Forwards to the fake desktop and makes the scheduled changes at the
// queries they are due, never while a run is read.
class ChangingDesktop : public WindowServices {
 public:
  ChangingDesktop(FakeDesktop& desktop, std::vector<Change> changes, std::set<WindowHandle> frozen_parents)
      : d_(desktop), changes_(std::move(changes)), frozen_(std::move(frozen_parents)) {}

  WindowHandle TopWindow() override { return Tick(), d_.TopWindow(); }
  WindowHandle NextSibling(WindowHandle wnd) override { return d_.NextSibling(wnd); }
  WindowHandle FirstChild(WindowHandle wnd) override { return Tick(), d_.FirstChild(wnd); }
  std::u16string WindowText(WindowHandle wnd, int max_count) override { return Tick(), d_.WindowText(wnd, max_count); }
  std::u16string ClassName(WindowHandle wnd, int max_count) override { return Tick(), d_.ClassName(wnd, max_count); }
  bool IsVisible(WindowHandle wnd) override { return Tick(), d_.IsVisible(wnd); }
  std::uint32_t ClassAtom(WindowHandle wnd) override { return Tick(), d_.ClassAtom(wnd); }
  std::uint32_t ThreadOf(WindowHandle wnd) override { return Tick(), d_.ThreadOf(wnd); }
  WindowHandle ParentOf(WindowHandle wnd) override { return d_.ParentOf(wnd); }
  WindowHandle PreviousSibling(WindowHandle wnd) override { return d_.PreviousSibling(wnd); }
  bool Exists(WindowHandle wnd) override { return d_.Exists(wnd); }
  bool OnCallerThread(WindowHandle wnd) override { return d_.OnCallerThread(wnd); }
  bool InCallerProcess(WindowHandle wnd) override { return d_.InCallerProcess(wnd); }
  ProcessRights RightsOf(WindowHandle wnd) override { return d_.RightsOf(wnd); }
  ProcessRights OwnRights() override { return d_.OwnRights(); }
  SendResult SendWithTimeout(WindowHandle wnd, unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                             unsigned timeout_ms) override {
    return d_.SendWithTimeout(wnd, message, wparam, lparam, timeout_ms);
  }

 private:
  void Tick() {
    for (const Change& c : changes_) {
      if (c.at_query != queries_ || !d_.Exists(c.wnd)) continue;
      if (c.destroy) {
        d_.Destroy(c.wnd);
      } else if (!frozen_.count(d_.At(c.wnd).parent)) {
        d_.MoveToBottom(c.wnd);
      }
    }
    ++queries_;
  }

  FakeDesktop& d_;
  std::vector<Change> changes_;
  std::set<WindowHandle> frozen_;  // parents whose runs hold a cycle: never restacked
  std::size_t queries_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool only_shown = in.ConsumeBool();
  FakeDesktop d;
  std::vector<WindowHandle> made;  // in creation order, which is Z order among siblings
  std::map<WindowHandle, WindowHandle> parent_of;
  const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(1, 64);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t parent_index = in.ConsumeIntegralInRange<std::size_t>(0, made.size());
    const WindowHandle parent = parent_index == 0 ? 0 : made[parent_index - 1];
    const WindowHandle wnd = d.Add(parent, "", "C", in.ConsumeIntegral<std::uint8_t>() % 8 != 0);
    d.At(wnd).caption = AnyText(in, 8);
    const std::u16string class_name = AnyText(in, 4);
    if (!class_name.empty()) d.At(wnd).class_name = class_name;
    made.push_back(wnd);
    parent_of[wnd] = parent;
  }
  const auto siblings_before = [&](WindowHandle wnd) {
    std::vector<WindowHandle> earlier;
    for (WindowHandle w : made) {
      if (w == wnd) break;
      if (parent_of[w] == parent_of[wnd]) earlier.push_back(w);
    }
    return earlier;
  };

  // Cycles: a next-sibling link back to the window itself, an earlier
  // sibling or an ancestor, all met before the link is followed.
  std::set<WindowHandle> cycle_carriers, frozen_parents;
  for (std::size_t n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) {
    const WindowHandle carrier = made[in.ConsumeIntegralInRange<std::size_t>(0, made.size() - 1)];
    std::vector<WindowHandle> targets = siblings_before(carrier);
    targets.push_back(carrier);
    for (WindowHandle a = parent_of[carrier]; a != 0; a = parent_of[a]) targets.push_back(a);
    d.At(carrier).next_override = targets[in.ConsumeIntegralInRange<std::size_t>(0, targets.size() - 1)];
    cycle_carriers.insert(carrier);
    frozen_parents.insert(parent_of[carrier]);
  }
  std::vector<Change> changes;
  for (std::size_t n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) {
    changes.push_back({in.ConsumeIntegralInRange<std::size_t>(0, 4 * count), in.ConsumeBool(),
                       made[in.ConsumeIntegralInRange<std::size_t>(0, made.size() - 1)]});
  }

  ChangingDesktop changing(d, changes, frozen_parents);
  const std::vector<WindowRow> rows = WalkWindows(changing, changing.TopWindow(), only_shown);

  std::set<WindowHandle> listed;
  std::vector<int> ancestors;      // rows from the root down to the last row
  std::map<int, int> last_number;  // per parent row: the last sibling number given
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const WindowRow& row = rows[i];
    FUZZ_CHECK(parent_of.count(row.wnd) && listed.insert(row.wnd).second);
    FUZZ_CHECK(row.parent < 0 ? parent_of[row.wnd] == 0 : rows[static_cast<std::size_t>(row.parent)].wnd == parent_of[row.wnd]);
    while (!ancestors.empty() && ancestors.back() != row.parent) ancestors.pop_back();
    FUZZ_CHECK(row.parent < 0 || !ancestors.empty());
    ancestors.push_back(static_cast<int>(i));
    FUZZ_CHECK(row.number == ++last_number[row.parent]);
    FUZZ_CHECK(HandleFromNodeCaption(row.NodeText()) == row.wnd);
    FUZZ_CHECK(SiblingNumberText(row.NodeText()) == std::to_string(row.number));
    if (only_shown && d.Exists(row.wnd)) FUZZ_CHECK(d.IsVisible(row.wnd));
  }

  // A window there at the end, with all its ancestors, that no cycle
  // hides (no earlier sibling of it or of an ancestor carries one) and that
  // the filter keeps, is listed.
  // Parents are made before their children, so one pass in creation order
  // settles each window from its parent.
  std::set<WindowHandle> runs_with_cycles;
  std::map<WindowHandle, bool> expected = {{0, true}};
  for (WindowHandle wnd : made) {
    const bool hidden = runs_with_cycles.count(parent_of[wnd]) != 0;
    if (cycle_carriers.count(wnd)) runs_with_cycles.insert(parent_of[wnd]);
    expected[wnd] = expected[parent_of[wnd]] && !hidden && d.Exists(wnd) && (!only_shown || d.At(wnd).visible);
    if (expected[wnd]) FUZZ_CHECK(listed.count(wnd));
  }
  return 0;
}
