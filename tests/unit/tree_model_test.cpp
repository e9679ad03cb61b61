#include "winutil/tree_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

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
  WindowHandle Named(const std::string& name, WindowHandle wnd) {
    names[wnd] = name;
    return wnd;
  }
  // A walk of every window under `parent` that reads every identity.
  std::vector<WindowRow> Walk(bool only_shown, WindowHandle parent = 0, bool keep_known = false) {
    WalkOptions options;
    options.only_shown = only_shown;
    options.identity = WalkOptions::Identity::kEvery;
    if (keep_known) {
      options.known = [this](WindowHandle wnd) { return model.Find(wnd) ? &model.Find(wnd)->identity : nullptr; };
      options.keep_known_subtrees = true;
    }
    WindowWalk walk = WindowWalk::Under(d, parent, options);
    walk.Continue();
    return walk.TakeRows();
  }
  // A change as one line: "+N under P after S (N N1)", "-N", "~N caption",
  // "^N after S", ">N under P after S".
  std::string Line(const TreeChange& change) {
    const auto name = [this](WindowHandle wnd) { return names.count(wnd) ? names[wnd] : std::to_string(wnd); };
    switch (change.kind) {
      case TreeChange::Kind::kAdded: {
        std::string rows;
        for (const WindowRow& row : change.rows) rows += (rows.empty() ? "" : " ") + name(row.wnd);
        return "+" + name(change.wnd) + " under " + name(change.parent) + " after " + name(change.after) + " (" +
               rows + ")";
      }
      case TreeChange::Kind::kRemoved:
        return "-" + name(change.wnd);
      case TreeChange::Kind::kRenamed:
        return "~" + name(change.wnd) + " " + change.caption;
      case TreeChange::Kind::kRestacked:
        return "^" + name(change.wnd) + " after " + name(change.after);
      case TreeChange::Kind::kMoved:
        return ">" + name(change.wnd) + " under " + name(change.parent) + " after " + name(change.after);
    }
    return "?";
  }
  std::vector<std::string> Lines(const std::vector<TreeChange>& changes) {
    std::vector<std::string> lines;
    for (const TreeChange& change : changes) lines.push_back(Line(change));
    return lines;
  }
  // The changes made, made again on the model as it was, give the same
  // model as a build from the new walk: the same listing and lookups.
  void ExpectSameAsFreshBuild(const WindowTreeModel& before, const WindowTreeModel& updated,
                              const std::vector<TreeChange>& changes, const std::vector<WindowRow>& walk) {
    WindowTreeModel replayed = before;
    replayed.Apply(changes);
    WindowTreeModel fresh;
    fresh.Build(walk);
    EXPECT_TRUE(updated.SameListing(fresh)) << updated.TreeText() << "\nagainst\n" << fresh.TreeText();
    EXPECT_TRUE(replayed.SameListing(fresh)) << replayed.TreeText() << "\nagainst\n" << fresh.TreeText();
    for (const char* text : {"a", "T", "e", "\"", "button"}) {
      EXPECT_EQ(replayed.FindByName(text), fresh.FindByName(text)) << text;
      EXPECT_EQ(replayed.FindByClass(text), fresh.FindByClass(text)) << text;
    }
    for (const auto& [wnd, name] : names) {
      EXPECT_EQ(replayed.FindByHandle(wnd), fresh.FindByHandle(wnd)) << name;
      EXPECT_EQ(replayed.PathString(wnd), fresh.PathString(wnd)) << name;
    }
  }

  FakeDesktop d;
  WindowTreeModel model;
  std::map<WindowHandle, std::string> names;
  WindowHandle a, a1, a2, a2a, a3, b, b1, c;
};

TEST_F(TreeModelTest, BuildListsTheWalkInRegisterOrderWithNumbersPerRun) {
  model.Build(Walk(false));
  ASSERT_EQ(model.Count(), 8);
  const WindowHandle order[] = {a, a1, a2, a2a, a3, b, b1, c};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(model.At(i), order[i]) << i;
  EXPECT_EQ(model.Find(a2a)->parent, a2);
  EXPECT_EQ(model.Children(0), (std::vector<WindowHandle>{a, b, c}));
  EXPECT_EQ(model.NodeText(c), "3: \"Gamma\" [Frame] (" + std::to_string(c) + ")");
  EXPECT_EQ(model.NodeText(a3), "3: \"Three\" [Button] (" + std::to_string(a3) + ")");
  EXPECT_EQ(model.NodeText(12345), "");
  EXPECT_EQ(model.PathString(a2a), "n2n1");
  EXPECT_EQ(model.PathString(c), "");
  const std::string tree = model.TreeText();
  EXPECT_EQ(tree.substr(0, tree.find("\r\n\t\t")),
            model.NodeText(a) + "\r\n\t" + model.NodeText(a1) + "\r\n\t" + model.NodeText(a2));
  EXPECT_EQ(std::count(tree.begin(), tree.end(), '\n'), 7);

  model.Build(Walk(true));
  EXPECT_EQ(model.Count(), 6) << "the filter leaves B out with B1";
  EXPECT_EQ(model.NodeText(c), "2: \"Gamma\" [Frame] (" + std::to_string(c) + ")");
  model.Clear();
  EXPECT_EQ(model.Count(), 0);
  EXPECT_EQ(model.FindByHandle(a), std::nullopt);
  EXPECT_EQ(model.TreeText(), "");
}

// The lookups compare the window's own caption and class, whatever quotes
// and brackets they hold; the first match in register order wins.
TEST_F(TreeModelTest, LookupsFindTheFirstMatchInRegisterOrder) {
  d.Add(0, "Alpha twin", "Frame");
  model.Build(Walk(false));
  struct Case {
    const char* what;
    std::optional<int> row;
  };
  const Case by_name[] = {{"alpha", 0}, {"ALPHA T", 8}, {"\"quoted\" [", 3}, {"Inner", 6}, {"", std::nullopt},
                          {"Button", std::nullopt}};
  for (const Case& k : by_name) {
    SCOPED_TRACE(std::string("name ") + k.what);
    EXPECT_EQ(model.FindByName(k.what), k.row);
  }
  const Case by_class[] = {{"frame", 0}, {"EDIT", 2}, {"word", std::nullopt}, {"", std::nullopt}};
  for (const Case& k : by_class) {
    SCOPED_TRACE(std::string("class ") + k.what);
    EXPECT_EQ(model.FindByClass(k.what), k.row);
  }
  EXPECT_EQ(model.FindByHandle(b1), 6);
  EXPECT_EQ(model.FindByHandle(12345), std::nullopt);
  const auto frames = [](const WindowTreeModel::Node& n) { return n.identity.class_name == "Frame"; };
  EXPECT_EQ(model.FindFrom(1, frames), 5) << "a lookup from a position";
  EXPECT_EQ(model.FindFrom(9, frames), std::nullopt);
}

TEST_F(TreeModelTest, AWalkLaterGivesTheChangesThatMakeTheModelAFreshBuild) {
  WindowHandle reused = 0;
  struct Case {
    const char* name;
    bool only_shown;
    std::function<void()> change;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"a window appears", false, [&] { Named("N", d.Add(c, "New", "Button")); }, {"+N under C after - (N)"}},
      {"a whole subtree appears",
       false,
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
      {"a window moves to another parent with its subtree", false, [&] { d.Reparent(a2, c); },
       {">A2 under C after -"}},
      {"a hidden window is shown under the filter", true, [&] { d.SetVisible(b, true); },
       {"+B under - after A (B B1)"}},
      {"a window is hidden under the filter", true, [&] { d.SetVisible(a2, false); }, {"-A2"}},
      {"hiding changes nothing without the filter", false, [&] { d.SetVisible(a1, false); }, {}},
      {"a handle comes back for a window of another class",
       false,
       [&] {
         reused = a1;
         d.Destroy(a1);
         d.Add(a, "One", "Edit", true, reused);
       },
       {"-A1", "+A1 under A after A3 (A1)"}},
      {"a handle comes back for a window of another thread",
       false,
       [&] {
         d.Destroy(a1);
         d.Add(a, "One", "Button", true, a1);
         d.At(a1).thread = 2;
       },
       {"-A1", "+A1 under A after A3 (A1)"}},
      {"several at once",
       false,
       [&] {
         d.Rename(c, "Gamma 2");
         d.Restack(c, 0);
         d.Destroy(a1);
         d.Reparent(a2a, a3);
       },
       {"~C Gamma 2", "^C after -", ">A2a under A3 after -", "-A1"}},
      {"a handle comes back while a child of the old window lives on elsewhere",
       false,
       [&] {
         d.Reparent(a2a, c);
         d.Destroy(a2);
         d.Add(a, "Two", "Button", true, a2);
       },
       {">A2a under A after A3", "-A2", "+A2 under A after A3 (A2)", ">A2a under C after -"}},
      {"a window moves under a new window", false,
       [&] { d.Reparent(a3, Named("N", d.Add(0, "New", "Frame"))); },
       {"+N under - after C (N)", ">A3 under N after -"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    d = FakeDesktop();
    SetUp();
    model.Build(Walk(k.only_shown));
    const WindowTreeModel before = model;
    k.change();
    const std::vector<WindowRow> walk = Walk(k.only_shown);
    const std::vector<TreeChange> changes = model.Update(0, walk);
    EXPECT_EQ(Lines(changes), k.expected);
    ExpectSameAsFreshBuild(before, model, changes, walk);
  }
}

// A run read again alone, the windows the model knows taken without their
// children: only that run changes.
TEST_F(TreeModelTest, APartOfTheDesktopWalkedAgainChangesOnlyThatPart) {
  struct Case {
    const char* name;
    std::function<WindowHandle()> change;  // returns the scope walked again
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"a new child", [&] { return Named("N", d.Add(a, "New", "Button")), a; }, {"+N under A after A3 (N)"}},
      {"a child closes", [&] { return d.Destroy(a1), a; }, {"-A1"}},
      {"a window moves in from elsewhere", [&] { return d.Reparent(a1, c), c; }, {">A1 under C after -"}},
      {"a run loops back to an ancestor of the scope",
       [&] { return d.At(a2a).next_override = a, a2; }, {}},
      {"the top-level run", [&] { return d.Restack(c, 0), 0; }, {"^C after -"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    d = FakeDesktop();
    SetUp();
    model.Build(Walk(false));
    const WindowHandle scope = k.change();
    const std::vector<TreeChange> changes = model.Update(scope, Walk(false, scope, true));
    EXPECT_EQ(Lines(changes), k.expected);
    d.At(a2a).next_override.reset();
    WindowTreeModel fresh;
    fresh.Build(Walk(false));
    EXPECT_TRUE(model.SameListing(fresh)) << model.TreeText();
  }
}

TEST_F(TreeModelTest, ChangesThatDoNotFitTheModelAreRefused) {
  model.Build(Walk(false));
  const WindowTreeModel before = model;
  const std::pair<const char*, TreeChange> cases[] = {
      {"removing a window not listed", TreeChange::Removed(12345)},
      {"renaming a window not listed", TreeChange::Renamed(12345, "x")},
      {"adding a window listed already", TreeChange::Added(0, 0, {WindowRow{a1, -1, 0, "x", {"C"}}})},
      {"adding after a window of another run", TreeChange::Added(a, c, {WindowRow{999, -1, 0, "x", {"C"}}})},
      {"adding under a window not listed", TreeChange::Added(12345, 0, {WindowRow{999, -1, 0, "x", {"C"}}})},
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
}

TEST(PathString, OneGroupPerLevelBelowTheTopLevelWindow) {
  std::vector<WindowRow> rows;
  // Top (with 3 children, the last with 12 children, the last with one).
  rows.push_back({1, -1, 0, "Top", {"Frame"}});
  for (WindowHandle w = 2; w <= 4; ++w) rows.push_back({w, 0, 0, "", {"C"}});
  for (WindowHandle w = 5; w <= 16; ++w) rows.push_back({w, 3, 0, "x y: z", {"C"}});
  rows.push_back({17, 15, 0, "", {"C"}});
  WindowTreeModel model;
  model.Build(rows);
  const std::pair<WindowHandle, std::string> cases[] = {{1, ""}, {2, "n1"}, {4, "n3"}, {16, "n3n12"},
                                                         {17, "n3n12n1"}, {99, ""}};
  for (const auto& [wnd, path] : cases) {
    SCOPED_TRACE(wnd);
    EXPECT_EQ(model.PathString(wnd), path);
  }
  EXPECT_EQ(SiblingNumberText("12: \"a b\" [C] (1)"), "12");
  EXPECT_EQ(SiblingNumberText(""), "");
  EXPECT_EQ(SiblingNumberText("7:"), "7");
}

}  // namespace
}  // namespace vexlan
