#include "platform/rtl/DataModule.h"

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {}
TDataModule::~TDataModule() = default;
void TDataModule::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TDataModule::BeforeDestruction() {
  TNotifyEvent destroy = OnDestroy;
  OnDestroy = nullptr;  // once
  if (destroy) destroy(this);
  TComponent::BeforeDestruction();
}
