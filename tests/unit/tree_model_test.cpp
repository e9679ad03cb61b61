#include "winutil/tree_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include "tests/support/fake_desktop.h"

namespace vexlan {
namespace {

using testing::FakeDesktop;

TEST(TreeModelMatching, ContiguousAndFoldingOnlyAsciiLetters) {
  struct Case {
    std::string_view candidate, text;
    bool found;
  };
  const Case cases[] = {
      {"Untitled - Editor", "EDIT", true},
      {"Untitled - Editor", "tled - ed", true},
      {"Untitled - Editor", "Untitled Editor", false},
      {"Grüße", "GRÜSSE", false},
      {"Grüße", "grü", true},
      {"ÄRGER", "ärger", false},
      {"École", "éCOLE", false},
      {"abc", "abcd", false},
      {"", "a", false},
      {"anything", "", false},
      {"[]\"()", "\"(", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.candidate) + " / " + std::string(c.text));
    EXPECT_EQ(ContainsIgnoringAsciiCase(c.candidate, c.text), c.found);
  }
}

// Z order from the top: A (with A1, A2 (with A2a), A3), B hidden (with B1), C.
class TreeModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    names = {{0, "-"}};
    a = Named("A", d.Add(0, "Alpha", "Frame"));
    a1 = Named("A1", d.Add(a, "One", "Button"));
    a2 = Named("A2", d.Add(a, "Two", "Edit"));
    a2a = Named("A2a", d.Add(a2, R"(a "quoted" [word])", "Static"));
    a3 = Named("A3", d.Add(a, "Three", "Button"));
    b = Named("B", d.Add(0, "Beta", "Frame", false));
    b1 = Named("B1", d.Add(b, "Inner", "Button"));
    c = Named("C", d.Add(0, "Gamma", "Frame"));
  }
  WindowHandle Named(const std::string& name, WindowHandle wnd) { return names[wnd] = name, wnd; }
  // Every window under `parent`, every identity read; with `keep_known`,
  // those the model lists taken with the children it has.
  std::vector<WindowRow> Walk(bool only_shown, WindowHandle parent = 0, bool keep_known = false) {
    WalkOptions options{only_shown, WalkOptions::Identity::kEvery, nullptr, keep_known, nullptr};
    if (keep_known) options.known = [this](WindowHandle w) { return model.Find(w) ? &model.Find(w)->identity : nullptr; };
    WindowWalk walk = WindowWalk::Under(d, parent, options);
    walk.Continue();
    return walk.TakeRows();
  }
  // The changes as lines: "+N under P after S (N N1)", "-N", "~N caption",
  // "^N after S", ">N under P after S".
  std::vector<std::string> Lines(const std::vector<TreeChange>& changes) {
    const auto name = [this](WindowHandle w) { return names.count(w) ? names[w] : std::to_string(w); };
    std::vector<std::string> lines;
    for (const TreeChange& ch : changes) {
      const std::string place = " after " + name(ch.after);
      std::string rows;
      for (const WindowRow& row : ch.rows) rows += (rows.empty() ? "" : " ") + name(row.wnd);
      using K = TreeChange::Kind;
      lines.push_back(ch.kind == K::kAdded     ? "+" + name(ch.wnd) + " under " + name(ch.parent) + place + " (" + rows + ")"
                      : ch.kind == K::kRemoved ? "-" + name(ch.wnd)
                      : ch.kind == K::kRenamed ? "~" + name(ch.wnd) + " " + ch.caption
                      : ch.kind == K::kMoved   ? ">" + name(ch.wnd) + " under " + name(ch.parent) + place
                                               : "^" + name(ch.wnd) + place);
    }
    return lines;
  }
  // The changes made again on the model as it was give the same model as a
  // build from the new walk: the same captions in the same register order,
  // from which the lookups and PathStrings follow.
  void ExpectFreshBuild(const WindowTreeModel& before, const std::vector<TreeChange>& changes) {
    WindowTreeModel replayed = before, fresh;
    replayed.Apply(changes);
    fresh.Build(WalkWindows(d, d.TopWindow(), only_shown));
    EXPECT_TRUE(model.SameListing(fresh)) << model.TreeText() << "\nagainst\n" << fresh.TreeText();
    EXPECT_TRUE(replayed.SameListing(fresh)) << replayed.TreeText();
    EXPECT_EQ(replayed.FindByName("T"), fresh.FindByName("T"));
  }

  FakeDesktop d;
  WindowTreeModel model;
  bool only_shown = false;
  std::map<WindowHandle, std::string> names;
  WindowHandle a, a1, a2, a2a, a3, b, b1, c;
};

// Register order, numbers per run, captions, PathString and the lookups,
// which compare the window's own caption and class whatever quotes and
// brackets they hold, the first match in register order winning.
TEST_F(TreeModelTest, BuiltFromAWalkWithItsRegisterAndLookups) {
  d.Add(0, "Alpha twin", "Frame");
  model.Build(Walk(false));
  const WindowHandle order[] = {a, a1, a2, a2a, a3, b, b1, c};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(model.At(i), order[i]) << i;
  EXPECT_EQ(model.Children(a), (std::vector<WindowHandle>{a1, a2, a3}));
  EXPECT_EQ(model.NodeText(a3), "3: \"Three\" [Button] (" + std::to_string(a3) + ")");
  EXPECT_EQ(model.NodeText(12345), "");
  const std::string tree = model.TreeText();
  EXPECT_EQ(tree.substr(0, tree.find("\r\n\t\t")), model.NodeText(a) + "\r\n\t" + model.NodeText(a1) + "\r\n\t" + model.NodeText(a2));
  EXPECT_EQ(std::count(tree.begin(), tree.end(), '\n'), 8);
  const std::tuple<const char*, std::optional<int>, std::optional<int>> lookups[] = {
      {"alpha", 0, std::nullopt}, {"ALPHA T", 8, std::nullopt}, {"\"quoted\" [", 3, std::nullopt},
      {"frame", std::nullopt, 0}, {"EDIT", std::nullopt, 2},    {"", std::nullopt, std::nullopt}};
  for (const auto& [text, by_name, by_class] : lookups) {
    SCOPED_TRACE(text);
    EXPECT_EQ(model.FindByName(text), by_name);
    EXPECT_EQ(model.FindByClass(text), by_class);
  }
  EXPECT_EQ(model.FindByHandle(b1), 6);
  EXPECT_EQ(model.FindByHandle(12345), std::nullopt);
  const auto frames = [](const WindowTreeModel::Node& n) { return n.identity.class_name == "Frame"; };
  EXPECT_EQ(model.FindFrom(1, frames), 5) << "a lookup from a position";
  EXPECT_EQ(model.FindFrom(9, frames), std::nullopt);
  const std::pair<WindowHandle, std::string> paths[] = {{a, ""}, {a3, "n3"}, {a2a, "n2n1"}, {12345, ""}};
  for (const auto& [wnd, path] : paths) EXPECT_EQ(model.PathString(wnd), path) << wnd;

  model.Build(Walk(true));
  EXPECT_EQ(model.NodeText(c), "2: \"Gamma\" [Frame] (" + std::to_string(c) + ")") << "B and B1 left out";
  model.Clear();
  EXPECT_EQ(model.Count(), 0);
  EXPECT_EQ(model.FindByHandle(a), std::nullopt);
}

// Find Next: the next entry after the selected one that matches every field
// given, wrapping around, never the selected one itself; Vexlan's own
// windows (here A2 and A2a) passed over unless a handle is typed. The name
// and class lookups pass over them too.
TEST_F(TreeModelTest, FindNextMatchesEveryFieldAfterTheSelectionAndWraps) {
  d.Add(0, "Alpha twin", "Frame");
  model.Build(Walk(false));  // A A1 A2 A2a A3 B B1 C "Alpha twin": entries 0 to 8
  const std::tuple<const char*, WindowQuery, std::optional<int>, std::optional<int>> cases[] = {
      {"nothing selected: the first match not own", {std::nullopt, "t", ""}, std::nullopt, 4},
      {"over entries that do not match", {std::nullopt, "t", ""}, 5, 8},
      {"from the last match, wrapping", {std::nullopt, "t", ""}, 8, 4},
      {"caption and class together, wrapping", {std::nullopt, "E", "button"}, 6, 1},
      {"fields that never match together", {std::nullopt, "alpha", "Button"}, std::nullopt, std::nullopt},
      {"the selection is the only match", {std::nullopt, "gamma", ""}, 7, std::nullopt},
      {"a blank is a text", {std::nullopt, " ", ""}, 0, 8},
      {"a place outside the register: from the first", {std::nullopt, "", "frame"}, 42, 0},
      {"every match own", {std::nullopt, "two", ""}, std::nullopt, std::nullopt},
      {"a typed handle finds an own window", {a2, "", "EDIT"}, 0, 2},
      {"a handle with a class it has not", {b1, "", "Frame"}, std::nullopt, std::nullopt},
      {"a handle already selected", {b1, "", ""}, 6, std::nullopt},
      {"no field given", {}, std::nullopt, std::nullopt},
  };
  const SkipWindow own = [&](WindowHandle w) { return w == a2 || w == a2a; };
  for (const auto& [what, query, from, found] : cases) EXPECT_EQ(model.FindNext(from, query, own), found) << what;
  EXPECT_EQ(model.FindByName("t", own), 4);
  EXPECT_EQ(model.FindByClass("edit", own), std::nullopt);
}

// A walk of everything, or a run read again alone (`part`) with the windows
// the model knows taken with their children, where only that run changes.
TEST_F(TreeModelTest, AWalkLaterGivesTheChangesThatMakeTheModelAFreshBuild) {
  struct Case {
    const char* name;
    bool only_shown;
    std::function<void()> change;
    std::vector<std::string> expected;
    std::optional<WindowHandle> part = std::nullopt;  // the run read again alone
  };
  const auto reuse = [&](WindowHandle w, const char* cls, std::uint32_t thread) {
    d.Destroy(w);
    d.Add(a, "One", cls, true, w);
    d.At(w).thread = thread;
  };
  const Case cases[] = {
      {"a window appears", false, [&] { Named("N", d.Add(c, "New", "Button")); }, {"+N under C after - (N)"}},
      {"a whole subtree appears", false,
       [&] {
         const WindowHandle t = Named("T", d.Add(0, "Top", "Frame"));
         Named("T1a", d.Add(Named("T1", d.Add(t, "Mid", "Panel")), "Leaf", "Button"));
         Named("T2", d.Add(t, "Mid 2", "Panel"));
       },
       {"+T under - after C (T T1 T1a T2)"}},
      {"a window closes with its subtree", false, [&] { d.Destroy(a2); }, {"-A2"}},
      {"a window is renamed", false, [&] { d.Rename(a1, "Uno"); }, {"~A1 Uno"}},
      {"a child goes to the top", false, [&] { d.Restack(a3, 0); }, {"^A3 after -"}},
      {"a top-level window goes to the top", false, [&] { d.Restack(c, 0); }, {"^C after -"}},
      {"a window moves to another parent", false, [&] { d.Reparent(a2, c); }, {">A2 under C after -"}},
      {"a hidden window is shown under the filter", true, [&] { d.SetVisible(b, true); }, {"+B under - after A (B B1)"}},
      {"a window is hidden under the filter", true, [&] { d.SetVisible(a2, false); }, {"-A2"}},
      {"hiding changes nothing without the filter", false, [&] { d.SetVisible(a1, false); }, {}},
      {"a handle comes back for another class", false, [&] { reuse(a1, "Edit", 1); }, {"-A1", "+A1 under A after A3 (A1)"}},
      {"a handle comes back for another thread", false, [&] { reuse(a1, "Button", 2); },
       {"-A1", "+A1 under A after A3 (A1)"}},
      {"a handle comes back while a child of the old window lives on elsewhere", false,
       [&] { d.Reparent(a2a, c), reuse(a2, "Button", 1); },
       {">A2a under A after A3", "-A2", "+A2 under A after A3 (A2)", ">A2a under C after -"}},
      {"several at once", false,
       [&] { d.Rename(c, "Gamma 2"), d.Restack(c, 0), d.Destroy(a1), d.Reparent(a2a, a3); },
       {"~C Gamma 2", "^C after -", ">A2a under A3 after -", "-A1"}},
      {"a window moves under a new window", false, [&] { d.Reparent(a3, Named("N", d.Add(0, "New", "Frame"))); },
       {"+N under - after C (N)", ">A3 under N after -"}},
      {"a new child, its run alone", false, [&] { Named("N", d.Add(a, "New", "Button")); }, {"+N under A after A3 (N)"}, a},
      {"a child closes, its run alone", false, [&] { d.Destroy(a1); }, {"-A1"}, a},
      {"a window moves in from elsewhere, that run alone", false, [&] { d.Reparent(a1, c); }, {">A1 under C after -"}, c},
      {"a run loops back to an ancestor of the part", false, [&] { d.At(a2a).next_override = a; }, {}, a2},
      {"the top-level run alone", false, [&] { d.Restack(c, 0); }, {"^C after -"}, WindowHandle{0}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    d = FakeDesktop();
    SetUp();
    only_shown = k.only_shown;
    model.Build(Walk(only_shown));
    const WindowTreeModel before = model;
    k.change();
    const WindowHandle scope = k.part.value_or(0);
    const std::vector<TreeChange> changes = model.Update(scope, Walk(only_shown, scope, k.part.has_value()));
    EXPECT_EQ(Lines(changes), k.expected);
    if (k.part) d.At(a2a).next_override.reset();  // the loop is a part case's; elsewhere A2a may be gone
    ExpectFreshBuild(before, changes);
  }
}

TEST_F(TreeModelTest, ChangesThatDoNotFitTheModelAreRefused) {
  model.Build(Walk(false));
  const WindowTreeModel before = model;
  const auto row = [](WindowHandle w) { return std::vector<WindowRow>{WindowRow{w, -1, 0, "x", {"C"}}}; };
  const std::pair<const char*, TreeChange> cases[] = {
      {"removing a window not listed", TreeChange::Removed(12345)},
      {"renaming a window not listed", TreeChange::Renamed(12345, "x")},
      {"adding a window listed already", TreeChange::Added(0, 0, row(a1))},
      {"adding after a window of another run", TreeChange::Added(a, c, row(999))},
      {"adding under a window not listed", TreeChange::Added(12345, 0, row(999))},
      {"moving a window under its own child", TreeChange::Moved(a2, a2a, 0)},
      {"moving a window after itself", TreeChange::Moved(a1, c, a1)},
      {"restacking under another parent", TreeChange::Restacked(a1, c, 0)},
      {"moving within the same parent", TreeChange::Moved(a1, a, a3)},
  };
  for (const auto& [name, change] : cases) {
    SCOPED_TRACE(name);
    EXPECT_THROW(model.Apply(change), std::logic_error);
    EXPECT_TRUE(model.SameListing(before));
  }
  EXPECT_EQ(SiblingNumberText("12: \"a b\" [C] (1)"), "12");
  EXPECT_EQ(SiblingNumberText(""), "");
}

}  // namespace
}  // namespace vexlan
