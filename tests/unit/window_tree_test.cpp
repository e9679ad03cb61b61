#include "winutil/window_tree.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/fake_desktop.h"

namespace vexlan {
namespace {

using testing::FakeDesktop;

// The rows as "depth caption" lines, which shows shape, order and numbering at once.
std::vector<std::string> Outline(const std::vector<WindowRow>& rows) {
  std::vector<std::string> out;
  std::vector<int> depth;
  for (const WindowRow& r : rows) {
    depth.push_back(r.parent < 0 ? 0 : depth[static_cast<std::size_t>(r.parent)] + 1);
    const std::string text = r.NodeText();
    out.push_back(std::string(static_cast<std::size_t>(depth.back()) * 2, ' ') + text.substr(0, text.find(" (")));
  }
  return out;
}

TEST(NodeCaption, EightPiecesVerbatim) {
  struct Case {
    int number;
    std::string caption, class_name;
    WindowHandle wnd;
    std::string expected;
  };
  const Case cases[] = {
      {1, "", "Button", 65552, R"(1: "" [Button] (65552))"},
      {3, "Start", "Button", 65552, R"(3: "Start" [Button] (65552))"},
      {12, R"x(say "hi" [now] (really))x", "Cls", 7, R"x(12: "say "hi" [now] (really)" [Cls] (7))x"},
      {1, "x", "C", static_cast<WindowHandle>(0x80001234u), R"(1: "x" [C] (-2147478988))"},
      {1, "Grüße 🙂", "Klasse", 1, "1: \"Grüße 🙂\" [Klasse] (1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(NodeCaption(c.number, c.caption, c.class_name, c.wnd), c.expected);
  }
}

TEST(NodeCaption, HandleReadsBackFromTheLastParenthesisedGroup) {
  struct Case {
    std::string text;
    std::optional<WindowHandle> handle;
  };
  const Case cases[] = {
      {NodeCaption(1, "Totals (old)", "X", 65552), 65552},
      {NodeCaption(1, "(1) (2) (3", "(4)", 131074), 131074},
      {NodeCaption(2, "", "C", -2147478988), -2147478988},
      {NodeCaption(1, "x", "C", 0), 0},
      {"", std::nullopt},
      {"no handle", std::nullopt},
      {"1: \"x\" [C] (12", std::nullopt},
      {"1: \"x\" [C] ()", std::nullopt},
      {"1: \"x\" [C] (0x10)", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(HandleFromNodeCaption(c.text), c.handle);
  }
}

class WindowWalkTest : public ::testing::Test {
 protected:
  // Z order from top: A (with children A1, A2 hidden (with A2a), A3), B hidden (with B1), C.
  void SetUp() override {
    a = d.Add(0, "A", "Frame");
    a1 = d.Add(a, "A1", "Button");
    a2 = d.Add(a, "A2", "Edit", false);
    a2a = d.Add(a2, "A2a", "Static");
    a3 = d.Add(a, "A3", "Button");
    b = d.Add(0, "B", "Frame", false);
    b1 = d.Add(b, "B1", "Button");
    c = d.Add(0, "C", "Frame");
  }
  std::vector<WindowRow> Walk(bool only_shown) { return WalkWindows(d, d.TopWindow(), only_shown); }

  FakeDesktop d;
  WindowHandle a, a1, a2, a2a, a3, b, b1, c;
};

TEST_F(WindowWalkTest, FilterOffListsEveryWindowNumberedPerRunWithoutAskingVisibility) {
  const auto rows = Walk(false);
  const std::vector<std::string> expected = {
      R"(1: "A" [Frame])",  R"(  1: "A1" [Button])", R"(  2: "A2" [Edit])", R"(    1: "A2a" [Static])",
      R"(  3: "A3" [Button])", R"(2: "B" [Frame])",  R"(  1: "B1" [Button])", R"(3: "C" [Frame])"};
  EXPECT_EQ(Outline(rows), expected);
  EXPECT_EQ(d.visibility_queries, 0);
  const std::vector<WindowHandle> order = {a, a1, a2, a2a, a3, b, b1, c};
  ASSERT_EQ(rows.size(), order.size());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].wnd, order[i]) << i;
}

TEST_F(WindowWalkTest, FilterOnDropsHiddenSubtreesAndNumbersWithoutGaps) {
  const std::vector<std::string> expected = {R"(1: "A" [Frame])", R"(  1: "A1" [Button])",
                                             R"(  2: "A3" [Button])", R"(2: "C" [Frame])"};
  EXPECT_EQ(Outline(Walk(true)), expected);
}

TEST_F(WindowWalkTest, ParentsPointBackwardsAtTheRightRows) {
  const auto rows = Walk(false);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].caption);
    if (rows[i].parent < 0) {
      EXPECT_EQ(d.At(rows[i].wnd).parent, 0);
    } else {
      ASSERT_LT(static_cast<std::size_t>(rows[i].parent), i);
      EXPECT_EQ(rows[static_cast<std::size_t>(rows[i].parent)].wnd, d.At(rows[i].wnd).parent);
    }
  }
}

TEST_F(WindowWalkTest, WalkFromAnyWindowCoversItsFollowingSiblings) {
  EXPECT_EQ(Outline(WalkWindows(d, a2, false)),
            (std::vector<std::string>{R"(1: "A2" [Edit])", R"(  1: "A2a" [Static])", R"(2: "A3" [Button])"}));
  EXPECT_TRUE(WalkWindows(d, 0, false).empty());
}

TEST_F(WindowWalkTest, LongCaptionIsCutTo200) {
  FakeDesktop one;
  const WindowHandle w = one.Add(0, std::string(250, 'x'), "C", true, 65552);
  const auto rows = WalkWindows(one, w, false);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].NodeText(), "1: \"" + std::string(200, 'x') + "\" [C] (65552)");
}

// Other programs change the desktop while we walk it; the walk must end and
// list each window at most once.
TEST_F(WindowWalkTest, ZOrderCyclesEndTheRun) {
  struct Case {
    const char* name;
    WindowHandle from, to;
  };
  const Case cases[] = {
      {"last top-level back to first", c, a},
      {"self loop", b, b},
      {"child back to its parent", a3, a},
      {"child into another run", a3, b1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    d.At(k.from).next_override = k.to;
    const auto rows = Walk(false);
    std::set<WindowHandle> seen;
    for (const auto& r : rows) EXPECT_TRUE(seen.insert(r.wnd).second) << r.caption;
    d.At(k.from).next_override.reset();
  }
  d.At(c).next_override = a;
  EXPECT_EQ(Walk(false).size(), 8u);
  d.At(b).next_override = b;
  const auto rows = Walk(false);
  ASSERT_EQ(rows.size(), 7u);  // A's subtree, B, B1; C is cut off behind the loop
  EXPECT_EQ(rows.back().wnd, b1);
}

// Other programs close and restack windows while a long walk runs; what is
// still there when its turn comes is listed, numbered without gaps.
TEST_F(WindowWalkTest, WindowsThatCloseOrMoveDuringTheWalkLoseNothingElse) {
  struct Case {
    const char* name;
    std::function<void()> change;  // made when A2a is first asked about
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"A, whose subtree is being walked, closes",
       [this] { d.Destroy(a); },
       {R"(1: "A" [Frame])", R"(  1: "A1" [Button])", R"(  2: "A2" [Edit])", R"(2: "B" [Frame])",
        R"(  1: "B1" [Button])", R"(3: "C" [Frame])"}},
      {"A, whose subtree is being walked, goes to the bottom of the Z order",
       [this] { d.MoveToBottom(a); },
       {R"(1: "A" [Frame])", R"(  1: "A1" [Button])", R"(  2: "A2" [Edit])", R"(    1: "A2a" [Static])",
        R"(  3: "A3" [Button])", R"(2: "B" [Frame])", R"(  1: "B1" [Button])", R"(3: "C" [Frame])"}},
      {"B closes before its turn",
       [this] { d.Destroy(b); },
       {R"(1: "A" [Frame])", R"(  1: "A1" [Button])", R"(  2: "A2" [Edit])", R"(    1: "A2a" [Static])",
        R"(  3: "A3" [Button])", R"(2: "C" [Frame])"}},
      {"A3 closes before its turn",
       [this] { d.Destroy(a3); },
       {R"(1: "A" [Frame])", R"(  1: "A1" [Button])", R"(  2: "A2" [Edit])", R"(    1: "A2a" [Static])",
        R"(2: "B" [Frame])", R"(  1: "B1" [Button])", R"(3: "C" [Frame])"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    d = FakeDesktop();
    SetUp();
    bool done = false;
    d.on_query = [&](WindowHandle w) {
      if (w == a2a && !done) {
        done = true;
        k.change();
      }
    };
    EXPECT_EQ(Outline(Walk(false)), k.expected);
  }
}

// A window that vanishes while its own run is being read leaves nothing to
// follow: the run ends there, and the walk still ends.
TEST_F(WindowWalkTest, WindowThatVanishesWhileItsRunIsReadEndsTheRun) {
  d.on_query = [&](WindowHandle w) {
    if (w == b && d.Exists(b)) d.Destroy(b);
  };
  const std::vector<std::string> expected = {R"(1: "A" [Frame])", R"(  1: "A1" [Button])", R"(  2: "A2" [Edit])",
                                             R"(    1: "A2a" [Static])", R"(  3: "A3" [Button])"};
  EXPECT_EQ(Outline(Walk(false)), expected);
}

// Counts what the walk asks for: class names cost more than atoms.
class CountingDesktop : public FakeDesktop {
 public:
  std::u16string ClassName(WindowHandle wnd, int max_count) override {
    return ++class_names, FakeDesktop::ClassName(wnd, max_count);
  }
  std::uint32_t ThreadOf(WindowHandle wnd) override { return ++threads, FakeDesktop::ThreadOf(wnd); }
  int class_names = 0, threads = 0;
};

// A window the caller knows (A) is taken for what it says it is, its
// children kept if asked, unless every identity is read again.
TEST(WindowWalkIdentity, ClassNamesOncePerClassThreadsAndKnownWindowsAsAsked) {
  CountingDesktop d;
  const WindowHandle a = d.Add(0, "A", "Frame");
  const WindowHandle a1 = d.Add(a, "A1", "Button");
  const WindowHandle b = d.Add(0, "B", "Frame");
  const WindowHandle b1 = d.Add(b, "B1", "Button");
  d.At(a1).thread = 7;
  const WindowIdentity frame{"Frame", d.ClassAtom(a), 1}, button{"Button", 0, 3};
  using I = WalkOptions::Identity;
  struct Case {
    const char* name;
    I identity;
    const WindowIdentity* known_a;
    bool keep;
    std::vector<WindowHandle> listed;
    int threads;
    std::uint32_t thread_of_a;
  };
  const Case cases[] = {
      {"classes only", I::kClass, nullptr, false, {a, a1, b, b1}, 0, 0},
      {"every identity", I::kEvery, nullptr, false, {a, a1, b, b1}, 4, 1},
      {"new windows only", I::kNew, &frame, false, {a, a1, b, b1}, 3, 1},
      {"A known, its children kept", I::kNew, &frame, true, {a, b, b1}, 2, 1},
      {"A known, whatever it is", I::kNew, &button, true, {a, b, b1}, 2, 3},
      {"A read again and the same", I::kEvery, &frame, true, {a, b, b1}, 3, 1},
      {"A read again and another window", I::kEvery, &button, true, {a, a1, b, b1}, 4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    d.class_names = d.threads = 0;
    WalkOptions options{false, c.identity, nullptr, c.keep, nullptr};
    if (c.known_a) options.known = [&](WindowHandle w) { return w == a ? c.known_a : nullptr; };
    WindowWalk walk = WindowWalk::Under(d, 0, options);
    ASSERT_TRUE(walk.Continue());
    std::vector<WindowHandle> listed;
    for (const WindowRow& row : walk.Rows()) listed.push_back(row.wnd);
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(d.class_names, 2) << "once per class and walk";
    EXPECT_EQ(d.threads, c.threads);
    EXPECT_EQ(walk.Rows()[0].identity.thread, c.thread_of_a);
    EXPECT_EQ(walk.Rows()[0].children_read, listed[1] == a1);
  }
  WindowWalk sub = WindowWalk::Subtree(d, b);
  EXPECT_TRUE(sub.Rows().empty()) << "nothing walked yet";
  sub.Continue();
  EXPECT_EQ(sub.Rows().size(), 2u) << "B and B1, not A";
}

TEST(WindowWalkSize, TwentyThousandWindowsAreAllListed) {
  FakeDesktop d;
  for (int i = 0; i < 10000; ++i) d.Add(0, "w", "Flat");
  WindowHandle parent = d.Add(0, "deep", "Deep");
  for (int i = 1; i < 10000; ++i) parent = d.Add(parent, "deep", "Deep");
  const auto rows = WalkWindows(d, d.TopWindow(), false);
  ASSERT_EQ(rows.size(), 20000u);
  EXPECT_EQ(rows[9999].number, 10000);
  EXPECT_EQ(rows[10000].number, 10001);
  EXPECT_EQ(rows.back().parent, 19998);
  EXPECT_EQ(rows.back().number, 1);
}

}  // namespace
}  // namespace vexlan
