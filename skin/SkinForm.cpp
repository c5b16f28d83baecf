#include "skin/SkinForm.h"

#include <algorithm>

#include "skin/SkinSubclass.h"

TSkinForm::TSkinForm(TComponent* owner) : TComponent(owner) {}

TSkinForm::~TSkinForm() { FreeSkinObjects(); }

bool TSkinForm::AddSkinObject(TSkinControl* s) {
  if (std::find(skinObjects_.begin(), skinObjects_.end(), s) != skinObjects_.end()) return true;
  skinObjects_.push_back(s);
  return false;
}

void TSkinForm::RemoveSkinObject(TSkinControl* s) {
  skinObjects_.erase(std::remove(skinObjects_.begin(), skinObjects_.end(), s), skinObjects_.end());
  if (hotControl_ == s) hotControl_ = nullptr;
}

TSkinControl* TSkinForm::FindSkinObject(HWND h) const {
  for (TSkinControl* s : skinObjects_)
    if (s->WindowHandle() == h) return s;
  return nullptr;
}

void TSkinForm::PurgeDeadSkinObjects() {
  for (size_t i = skinObjects_.size(); i-- > 0;)
    if (i < skinObjects_.size() && skinObjects_[i]->LifeState() == kSkinDead) TComponent::Free(skinObjects_[i]);
}

void TSkinForm::FreeSkinObjects() {
  // Each object leaves the list in its destructor.
  while (!skinObjects_.empty()) TComponent::Free(skinObjects_.back());
  hotControl_ = nullptr;
}
