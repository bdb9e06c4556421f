#include "common/Classes.h"

#include <algorithm>

#include "common/SysUtils.h"

TComponent::TComponent(TComponent* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  // Lifetime is C++'s (members, smart pointers); the owner only keeps the list for look-ups.
  for (TComponent* child : components_) child->owner_ = nullptr;
  if (owner_) owner_->Remove(this);
}

void TComponent::Remove(TComponent* child) {
  components_.erase(std::remove(components_.begin(), components_.end(), child), components_.end());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  const std::string wanted = UpperCase(name);
  for (TComponent* c : components_)
    if (UpperCase(c->Name()) == wanted) return c;
  return nullptr;
}
