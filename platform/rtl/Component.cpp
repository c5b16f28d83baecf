#include "platform/rtl/Component.h"

#include "platform/rtl/SysUtils.h"

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  while (!components_.empty()) {
    Free(components_.back());  // its destructor removes it from this list
  }
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* c) {
  components_.push_back(c);
  for (TComponent* other : components_)
    if (other != c) other->Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  for (size_t i = 0; i < components_.size(); ++i)
    if (components_[i] == c) {
      components_.erase(components_.begin() + i);
      break;
    }
  Notification(c, TOperation::opRemove);
  for (TComponent* other : components_) other->Notification(c, TOperation::opRemove);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* c : components_)
    if (sys::SameText(c->Name(), name)) return c;
  return nullptr;
}

void TComponent::Free(TComponent* c) {
  if (!c) return;
  c->BeforeDestruction();
  delete c;
}
