#include "platform/forms/DataModule.h"

#include "platform/forms/Form.h"
#include "platform/forms/FormReader.h"

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) { RegisterFormProperties(); }
TDataModule::~TDataModule() = default;
void TDataModule::LoadDescription(const std::string& text) { ReadComponentDescription(this, text, Published()); }
void TDataModule::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TDataModule::BeforeDestruction() {
  TNotifyEvent destroy = OnDestroy;
  OnDestroy = nullptr;  // once
  if (destroy) destroy(this);
  TComponent::BeforeDestruction();
}
