#include "platform/toolkit/classes.h"

#include <algorithm>

namespace vexlan {

void TObject::Dispatch(TMessage& message) {
  if (!DispatchByNumber(message)) DefaultHandler(message);
}

void TObject::DefaultHandler(TMessage&) {}

bool TObject::DispatchByNumber(TMessage&) { return false; }

std::string TObject::ClassName() const {
  // Itanium and MinGW mangled names are not for users; classes that show up in
  // messages override this.
  return "TObject";
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) {
    auto& siblings = owner_->components_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void TComponent::DestroyComponents() {
  for (TComponent* child : components_) child->BeginDestroying();
  // Last created first, so that a component never outlives what it was built on.
  while (!components_.empty()) {
    TComponent* child = components_.back();
    components_.pop_back();
    child->owner_ = nullptr;
    delete child;
  }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* c : components_) {
    if (c->name_ == name) return c;
  }
  return nullptr;
}

void TComponent::SetDesigning(bool on) {
  const auto bit = static_cast<unsigned>(TComponentState::csDesigning);
  state_ = on ? (state_ | bit) : (state_ & ~bit);
}

void TComponent::BeginDestroying() {
  state_ |= static_cast<unsigned>(TComponentState::csDestroying);
  for (TComponent* child : components_) child->BeginDestroying();
}

void TComponent::BeginLoading() { state_ |= static_cast<unsigned>(TComponentState::csLoading); }

void TComponent::Loaded() { state_ &= ~static_cast<unsigned>(TComponentState::csLoading); }

}  // namespace vexlan
