// Group boxes and radio buttons.
// Controls belong to their owner, as every control does. GUI thread only.
#pragma once
#include "platform/forms/Controls.h"

// A framed container with a caption in its top edge; painted by us so its children are
// clipped and it can carry graphic controls.
// Ancestor the skin engine's class tests name.
class TCustomGroupBox : public TCustomControl {
  KARV_CLASS(TCustomGroupBox, TCustomControl)
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint(HDC dc) override;
};

// Ancestor of radio groups: a group box whose children are radio buttons.
class TCustomRadioGroup : public TCustomGroupBox {
  KARV_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TGroupBox : public TCustomGroupBox {
  KARV_CLASS(TGroupBox, TCustomGroupBox)
 public:
  explicit TGroupBox(TComponent* owner);
};

class TRadioButton : public TWinControl {
  KARV_CLASS(TRadioButton, TWinControl)
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const;
  void SetChecked(bool v);
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  bool checked_ = false;
};

void RegisterGroupControls();
