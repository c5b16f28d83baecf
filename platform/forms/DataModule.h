// TDataModule: a non-visual container of components built from its own description, with
// OnCreate and OnDestroy. Its owner frees it, and it frees its components. GUI thread only.
#pragma once
#include <string>

#include "platform/forms/Published.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

// A non-visual container of components built from its own description (no window).
class TDataModule : public TComponent {
  KARV_CLASS(TDataModule, TComponent)
 public:
  explicit TDataModule(TComponent* owner);
  ~TDataModule() override;
  virtual TPublishedTable Published() { return {}; }
  void LoadDescription(const std::string& text);
  virtual void DoCreate();
  // Runs OnDestroy once, while the whole module still exists.
  void BeforeDestruction() override;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
};
