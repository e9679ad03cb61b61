#include "platform/toolkit/layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/core/Vexlan_unit1_layout.h"
#include "forms/core/layout_kinds.h"

namespace vexlan {
namespace {

// A component that records, into a shared log, when its Loaded runs and
// whether it was still loading then.
class LoggedComponent : public TComponent {
 public:
  LoggedComponent(TComponent* owner, std::vector<std::string>& log) : TComponent(owner), log_(log) {}
  void Loaded() override {
    log_.push_back("Loaded " + (Name().empty() ? std::string("form") : Name()) + (Loading() ? "" : " twice?"));
    TComponent::Loaded();
  }

 private:
  std::vector<std::string>& log_;
};

// Builds LoggedComponents and checks, at every property write, that the
// whole form is in the loading state and that references resolve.
class RecordingBuilder {
 public:
  explicit RecordingBuilder(std::vector<std::string>& log) : log(log) {}
  std::vector<std::string>& log;
  std::vector<TComponent*> created;

  TComponent& Create(TComponent& form, const ComponentLayout&) {
    created.push_back(new LoggedComponent(&form, log));
    return *created.back();
  }
  void WriteForm(TComponent& form, const FormSettings& settings) {
    log.push_back("write form " + std::string(settings.Caption));
    ExpectAllLoading(form);
  }
  void Write(TComponent& form, TComponent& c, const ComponentLayout& row) {
    log.push_back("write " + c.Name());
    ExpectAllLoading(form);
    if (const auto* tree = std::get_if<TreeViewSettings>(&row.Settings); tree && !tree->PopupMenu.empty()) {
      EXPECT_NO_THROW(LayoutComponent<LoggedComponent>(form, tree->PopupMenu)) << "forward reference";
    }
  }

 private:
  void ExpectAllLoading(TComponent& form) {
    EXPECT_TRUE(form.Loading());
    for (TComponent* c : created) EXPECT_TRUE(c->Loading()) << c->Name();
  }
};

constexpr ComponentLayout kSmallRows[] = {
    {.Name = "Tree", .TabOrder = 0, .Settings = TreeViewSettings{.PopupMenu = "Menu"}},
    {.Name = "Bar", .TabOrder = 1, .Settings = PanelSettings{}},
    {.Name = "Ok", .Parent = "Bar", .TabOrder = 0, .Settings = ButtonSettings{.Caption = "&Ok"}},
    {.Name = "Menu", .Settings = PopupMenuSettings{}},
    {.Name = "Item", .Parent = "Menu", .Settings = MenuItemSettings{.Caption = "&Item"}},
};
constexpr FormLayout kSmallLayout{.Form = {.Caption = "Small"}, .Components = kSmallRows};

TEST(ReadLayout, CreatesAllThenWritesWhileLoadingThenLoadsFormFirst) {
  std::vector<std::string> log;
  LoggedComponent form(nullptr, log);
  RecordingBuilder builder(log);
  ReadLayout(form, kSmallLayout, builder);

  const std::vector<std::string> expected = {
      "write form Small", "write Tree",  "write Bar", "write Ok",  "write Menu",  "write Item",
      "Loaded form",      "Loaded Tree", "Loaded Bar", "Loaded Ok", "Loaded Menu", "Loaded Item",
  };
  EXPECT_EQ(log, expected);
  ASSERT_EQ(form.ComponentCount(), 5);
  for (int i = 0; i < form.ComponentCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(form.Components(i)->Name(), kSmallRows[i].Name);
    EXPECT_FALSE(form.Components(i)->Loading());
  }
  EXPECT_FALSE(form.Loading());
}

TEST(ReadLayout, FaultyLayoutCreatesNothing) {
  constexpr ComponentLayout rows[] = {
      {.Name = "Ok", .Parent = "Bar", .Settings = ButtonSettings{}},
      {.Name = "Bar", .Settings = PanelSettings{}},
  };
  std::vector<std::string> log;
  LoggedComponent form(nullptr, log);
  RecordingBuilder builder(log);
  EXPECT_THROW(ReadLayout(form, FormLayout{.Components = rows}, builder), ELayoutError);
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_FALSE(form.Loading());
}

TEST(LayoutFaults, EachFaultIsNamed) {
  struct Case {
    const char* what;
    std::vector<ComponentLayout> rows;
    std::string fault;  // a piece of the one expected fault line
  };
  const Case cases[] = {
      {"unnamed", {{.Settings = PanelSettings{}}}, "no name"},
      {"twice", {{.Name = "A", .Settings = PanelSettings{}}, {.Name = "A", .Settings = PanelSettings{}}},
       "'A' is used twice"},
      {"parent later",
       {{.Name = "B", .Parent = "P", .Settings = ButtonSettings{}}, {.Name = "P", .Settings = PanelSettings{}}},
       "not declared before it"},
      {"item without menu", {{.Name = "I", .Settings = MenuItemSettings{}}}, "has no menu"},
      {"item in a panel",
       {{.Name = "P", .Settings = PanelSettings{}}, {.Name = "I", .Parent = "P", .Settings = MenuItemSettings{}}},
       "cannot be placed"},
      {"button in a menu",
       {{.Name = "M", .Settings = PopupMenuSettings{}}, {.Name = "B", .Parent = "M", .Settings = ButtonSettings{}}},
       "cannot be placed"},
      {"menu in a panel",
       {{.Name = "P", .Settings = PanelSettings{}}, {.Name = "M", .Parent = "P", .Settings = PopupMenuSettings{}}},
       "cannot be placed"},
      {"timer in a panel",
       {{.Name = "P", .Settings = PanelSettings{}}, {.Name = "T", .Parent = "P", .Settings = TimerSettings{}}},
       "cannot be placed"},
      {"button in a timer",
       {{.Name = "T", .Settings = TimerSettings{}}, {.Name = "B", .Parent = "T", .Settings = ButtonSettings{}}},
       "cannot be placed"},
      {"tab order repeated",
       {{.Name = "A", .TabOrder = 1, .Settings = PanelSettings{}},
        {.Name = "B", .TabOrder = 1, .Settings = PanelSettings{}}},
       "repeats tab order 1 in the form"},
      {"pop-up menu missing", {{.Name = "T", .Settings = TreeViewSettings{.PopupMenu = "M"}}}, "no pop-up menu"},
      {"pop-up menu of wrong kind",
       {{.Name = "T", .Settings = TreeViewSettings{.PopupMenu = "M"}}, {.Name = "M", .Settings = PanelSettings{}}},
       "no pop-up menu"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto faults = LayoutFaults(FormLayout{.Components = c.rows});
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find(c.fault), std::string::npos) << faults[0];
  }
}

TEST(LayoutFaults, SameTabOrderUnderDifferentParentsIsFine) {
  const ComponentLayout rows[] = {
      {.Name = "P", .TabOrder = 0, .Settings = PanelSettings{}},
      {.Name = "B", .Parent = "P", .TabOrder = 0, .Settings = ButtonSettings{}},
      {.Name = "M", .Settings = PopupMenuSettings{}},
      {.Name = "I", .Parent = "M", .Settings = MenuItemSettings{}},
      {.Name = "J", .Parent = "I", .Settings = MenuItemSettings{}},
  };
  EXPECT_TRUE(LayoutFaults(FormLayout{.Components = rows}).empty());
}

TEST(MainFormLayout, ReadsWithoutFaults) {
  const auto faults = LayoutFaults(Form1Layout());
  EXPECT_TRUE(faults.empty()) << (faults.empty() ? "" : faults.front());
}

// The bar's controls stand left to right without overlapping and inside the
// bar, which the tree's area ends at.
TEST(MainFormLayout, BarControlsFitSideBySideInTheBar) {
  const FormLayout& layout = Form1Layout();
  const ComponentLayout* bar = nullptr;
  const ComponentLayout* tree = nullptr;
  std::vector<const ComponentLayout*> in_bar;
  for (const auto& row : layout.Components) {
    if (row.Name == "AdvancedPanel1") bar = &row;
    if (row.Name == "TreeView1") tree = &row;
    if (row.Parent == "AdvancedPanel1") in_bar.push_back(&row);
  }
  ASSERT_TRUE(bar && tree);
  ASSERT_EQ(in_bar.size(), 6u);
  EXPECT_EQ(tree->Bounds.Top + tree->Bounds.Height, bar->Bounds.Top);
  int right = 0;
  for (const auto* row : in_bar) {
    SCOPED_TRACE(row->Name);
    EXPECT_GE(row->Bounds.Left, right);
    right = row->Bounds.Left + row->Bounds.Width;
    EXPECT_LE(right, bar->Bounds.Width);
    EXPECT_LE(row->Bounds.Top + row->Bounds.Height, bar->Bounds.Height);
  }
  // The client area the form's outer size leaves inside the classic frame is
  // as wide as the bar, and so is the least the form can be made, at every
  // DPI, its controls scaled as the form scales them.
  EXPECT_EQ(DesignPlacement(layout.Form), (TBounds{192, 109, 495, 462}));
  for (int dpi : {96, 144, 192}) {
    std::vector<TBounds> scaled;
    for (const auto* row : in_bar) scaled.push_back(ScaleBounds(row->Bounds, dpi, 96));
    EXPECT_EQ(MinimumClientSize(scaled, 0, 0).Width, ScaleValue(bar->Bounds.Width, dpi, 96)) << dpi;
  }
}

struct Target {
  std::vector<std::string> calls;
  void First(TObject*) { calls.push_back("first"); }
  void Second(TObject*) { calls.push_back("second"); }
  void Indexed(TObject*, int index) { calls.push_back("indexed " + std::to_string(index)); }
};

TEST(FindPublishedMethod, BindsByNameAndRejectsUnknownNames) {
  static constexpr PublishedMethod<Target> table[] = {
      {"First", &Target::First}, {"Second", &Target::Second}, {"Indexed", &Target::Indexed}};
  Target t;
  std::get<TNotifyEvent>(FindPublishedMethod(t, table, "Second"))(nullptr);
  std::get<TNotifyEvent>(FindPublishedMethod(t, table, "First"))(nullptr);
  std::get<THotKeyEvent>(FindPublishedMethod(t, table, "Indexed"))(nullptr, 7);
  EXPECT_EQ(t.calls, (std::vector<std::string>{"second", "first", "indexed 7"}));
  EXPECT_THROW(FindPublishedMethod(t, table, "Third"), ELayoutError);
}

}  // namespace
}  // namespace vexlan
