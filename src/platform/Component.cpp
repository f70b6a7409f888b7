#include "platform/Component.h"

#include <algorithm>

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  // Take the list first: a Notification may call RemoveFreeNotification.
  std::vector<TComponent*> others;
  others.swap(FFreeNotifies);
  for (TComponent* c : others) {
    auto& theirs = c->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, opRemove);
  }
}

void TComponent::EndLoading() {
  if (!IsLoading()) return;
  FComponentState &= ~static_cast<unsigned>(csLoading);
  Loaded();
}

void TComponent::SetDesigning(bool on) {
  if (on)
    FComponentState |= csDesigning;
  else
    FComponentState &= ~static_cast<unsigned>(csDesigning);
}

void TComponent::FreeNotification(TComponent* c) {
  if (c == nullptr || c == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c) == FFreeNotifies.end())
    FFreeNotifies.push_back(c);
  auto& theirs = c->FFreeNotifies;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  if (c == nullptr) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), c),
                      FFreeNotifies.end());
  auto& theirs = c->FFreeNotifies;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}
