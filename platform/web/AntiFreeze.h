// Keeps the GUI thread answering window messages while an HTTP request blocks it: while at
// least one active TAntiFreeze exists, THttpClient calls made on the GUI thread dispatch the
// message queue until their reply is in.
#pragma once
#include "platform/rtl/Component.h"

class TAntiFreeze : public TComponent {
  KARV_CLASS(TAntiFreeze, TComponent)
 public:
  explicit TAntiFreeze(TComponent* owner);
  ~TAntiFreeze() override;

  bool Active() const { return active_; }
  void SetActive(bool active);

  // True while some active TAntiFreeze exists.
  static bool AnyActive();

 private:
  bool active_ = false;
};
