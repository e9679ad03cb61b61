#include "platform/toolkit/classes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vexlan {
namespace {

// Records its own destruction, to see who destroys whom and in which order.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::string tag, std::vector<std::string>& log) : TComponent(owner), log_(log) {
    SetName(std::move(tag));
  }
  ~Probe() override { log_.push_back(Name()); }

 private:
  std::vector<std::string>& log_;
};

TEST(TComponentOwnership, OwnerDestroysWhatItOwnsLastCreatedFirst) {
  std::vector<std::string> log;
  {
    auto form = std::make_unique<Probe>(nullptr, "form", log);
    auto* panel = new Probe(form.get(), "panel", log);
    new Probe(panel, "button", log);
    new Probe(form.get(), "tree", log);
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->FindComponent("panel"), panel);
    EXPECT_EQ(panel->ComponentCount(), 1);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"form", "tree", "panel", "button"}));
}

TEST(TComponentOwnership, ComponentDestroyedEarlyLeavesItsOwner) {
  std::vector<std::string> log;
  auto form = std::make_unique<Probe>(nullptr, "form", log);
  auto* a = new Probe(form.get(), "a", log);
  new Probe(form.get(), "b", log);
  delete a;
  ASSERT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(form->Components(0)->Name(), "b");
  form.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "form", "b"}));
}

TEST(TComponentOwnership, DestroyComponentsEmptiesTheOwnerAndLeavesItUsable) {
  std::vector<std::string> log;
  Probe form(nullptr, "form", log);
  new Probe(&form, "a", log);
  new Probe(&form, "b", log);
  form.DestroyComponents();
  EXPECT_EQ(log, (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(form.ComponentCount(), 0);
  new Probe(&form, "c", log);
  EXPECT_EQ(form.ComponentCount(), 1);
}

// Everything an owner destroys, and everything that owns in turn, is in the
// destroying state before the first of them goes.
TEST(TComponentOwnership, DestroyingStateReachesAllOwnedBeforeAnyGoes) {
  struct Watcher : TComponent {
    Watcher(TComponent* owner, std::vector<const TComponent*> watched, std::vector<bool>& seen)
        : TComponent(owner), watched_(std::move(watched)), seen_(seen) {}
    ~Watcher() override {
      for (const TComponent* c : watched_) seen_.push_back(c->Destroying());
    }
    std::vector<const TComponent*> watched_;
    std::vector<bool>& seen_;
  };
  std::vector<bool> seen;
  TComponent form(nullptr);
  auto* panel = new TComponent(&form);
  auto* button = new TComponent(panel);
  new Watcher(&form, {panel, button, &form}, seen);
  EXPECT_FALSE(panel->Destroying());
  form.DestroyComponents();
  EXPECT_EQ(seen, (std::vector<bool>{true, true, false}));
}

TEST(TComponentState, LoadingStateEndsWithLoaded) {
  TComponent c(nullptr);
  EXPECT_FALSE(c.Loading());
  c.BeginLoading();
  EXPECT_TRUE(c.Loading());
  c.SetDesigning(true);
  c.Loaded();
  EXPECT_FALSE(c.Loading());
  EXPECT_TRUE(c.Designing());
  c.SetDesigning(false);
  EXPECT_FALSE(c.Designing());
}

// A small class chain: the base handles 1 and 2, the derived class handles 2
// (passing it on to the base afterwards) and 3.
class Base : public TObject {
 public:
  std::vector<std::string> log;
  void DefaultHandler(TMessage& m) override {
    log.push_back("default " + std::to_string(m.Msg));
    m.Result = -1;
  }

 protected:
  bool DispatchByNumber(TMessage& m) override {
    static const MessageHandler<Base> table[] = {{1, &Base::One}, {2, &Base::Two}};
    return DispatchTable(*this, table, m) || TObject::DispatchByNumber(m);
  }
  void One(TMessage& m) { log.push_back("base one"), m.Result = 1; }
  void Two(TMessage&) { log.push_back("base two"); }
};

class Derived : public Base {
 protected:
  bool DispatchByNumber(TMessage& m) override {
    static const MessageHandler<Derived> table[] = {{2, &Derived::Two}, {3, &Derived::Three}};
    return DispatchTable(*this, table, m) || Base::DispatchByNumber(m);
  }
  void Two(TMessage& m) {
    log.push_back("derived two");
    Base::DispatchByNumber(m);  // the inherited handling
  }
  void Three(TMessage& m) { log.push_back("derived three"), m.Result = 3; }
};

TEST(TObjectDispatch, ByNumberUpTheClassChainElseDefault) {
  struct Case {
    std::uint32_t msg;
    std::vector<std::string> log;
    std::intptr_t result;
  };
  const Case cases[] = {
      {1, {"base one"}, 1},
      {2, {"derived two", "base two"}, 0},
      {3, {"derived three"}, 3},
      {4, {"default 4"}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.msg);
    Derived d;
    TMessage m{c.msg, 0, 0, 0};
    d.Dispatch(m);
    EXPECT_EQ(d.log, c.log);
    EXPECT_EQ(m.Result, c.result);
  }
  Base b;
  TMessage m{3, 0, 0, 0};
  b.Dispatch(m);
  EXPECT_EQ(b.log, (std::vector<std::string>{"default 3"}));
}

TEST(TPersistentAssign, UnsupportedSourceRaises) {
  TComponent a(nullptr), b(nullptr);
  EXPECT_THROW(a.Assign(b), EConvertError);
}

}  // namespace
}  // namespace vexlan
