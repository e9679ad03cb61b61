// The toolkit's non-visual base: the root object with dispatch of window
// messages by number, persistent objects with Assign, and components with an
// owner, a name, the loading and designing states and Loaded.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/toolkit/sysutils.h"
#include "platform/window_message.h"

namespace vexlan {

// A window message as handlers receive it: the seam's own record, so a
// message window's messages reach a component's handlers as they are.
using TMessage = WindowMessage;

class TObject {
 public:
  virtual ~TObject() = default;
  // Routes the message to the handler that the object's class, or its nearest
  // ancestor, declares for its number; when none does, to DefaultHandler.
  void Dispatch(TMessage& message);
  // What happens to a message no class handles: nothing, here.
  virtual void DefaultHandler(TMessage& message);
  virtual std::string ClassName() const;

 protected:
  // A class that handles messages overrides this with a table lookup (see
  // DispatchTable) and falls back to its base class's override; true when a
  // handler took the message.
  virtual bool DispatchByNumber(TMessage& message);
};

// One row of a class's message table.
template <class T>
struct MessageHandler {
  std::uint32_t msg;
  void (T::*handler)(TMessage&);
};

// Runs the row of `table` for the message's number, if there is one.
template <class T, std::size_t N>
bool DispatchTable(T& self, const MessageHandler<T> (&table)[N], TMessage& message) {
  for (const auto& row : table) {
    if (row.msg == message.Msg) {
      (self.*row.handler)(message);
      return true;
    }
  }
  return false;
}

// Objects whose state copies from one to another of a kind that supports it.
class TPersistent : public TObject {
 public:
  // Copies `source` into this object. The base asks the source to AssignTo
  // this object, which fails with EConvertError when neither side knows how.
  virtual void Assign(const TPersistent& source);

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

enum class TComponentState : unsigned { csLoading = 1, csDesigning = 2, csDestroying = 4 };

// A component belongs to its owner, which destroys it. Components are created
// on the heap with their owner (`new TButton(form)`); the owner deletes them
// in its destructor, last created first. An unowned component is held by its
// creator (std::unique_ptr).
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  std::intptr_t Tag = 0;

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
  TComponent* FindComponent(const std::string& name) const;
  // Destroys every owned component now, last created first. All of them
  // are in the destroying state before the first one goes.
  void DestroyComponents();

  bool HasState(TComponentState s) const { return (state_ & static_cast<unsigned>(s)) != 0; }
  bool Loading() const { return HasState(TComponentState::csLoading); }
  bool Designing() const { return HasState(TComponentState::csDesigning); }
  void SetDesigning(bool on);
  // Destruction has begun: the component and everything it owns are on
  // their way out, and act on nothing (a control neither paints nor lays
  // out). Set by the owner before it destroys what it owns, and by classes
  // whose own destructors must not act, first thing in them; never cleared.
  bool Destroying() const { return HasState(TComponentState::csDestroying); }
  void BeginDestroying();

  // Enters the loading state: property writers then store without acting.
  void BeginLoading();
  // Runs once after a layout has been applied: leaves the loading state.
  // Overrides call the base first, then act on the loaded properties.
  virtual void Loaded();

 private:
  TComponent* owner_;
  std::string name_;
  unsigned state_ = 0;
  std::vector<TComponent*> components_;
};

}  // namespace vexlan
