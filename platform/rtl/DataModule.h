// TDataModule: a non-visual container of components with OnCreate and OnDestroy. Its owner
// frees it, and it frees its components. GUI thread only. It lives below the window library
// so that data layers can be modules without windows; the window library reads a module's
// description when one exists (CreateForm).
#pragma once
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class TDataModule : public TComponent {
  KARV_CLASS(TDataModule, TComponent)
 public:
  explicit TDataModule(TComponent* owner);
  ~TDataModule() override;
  virtual void DoCreate();
  // Runs OnDestroy once, while the whole module still exists.
  void BeforeDestruction() override;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
};
