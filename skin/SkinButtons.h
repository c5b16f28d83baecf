// Skinned push buttons, bitmap buttons and windowless speed buttons, drawn from the skin's
// "Buttons" element. They take the button's painting over completely and track hover and
// press themselves; the click still reaches the button's owner. GUI thread; each object is
// owned by its control (or by the form skinner for a bare dialog button).
#pragma once
#include "platform/graphics/Bitmap.h"
#include "skin/SkinSubclass.h"

class TSkinButton : public TSkinControl {
  KARV_CLASS(TSkinButton, TSkinControl)
 public:
  explicit TSkinButton(TComponent* owner);

  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 protected:
  // The owner's click: a control object's own click, a bare button's WM_COMMAND.
  void Click();
  // Text colour for a frame of the "Buttons" element.
  TColor CaptionColour(int frame, TColor fontColour) const;
  TBitmap buffer_;  // each paint is composed here and copied once
};

class TSkinBitButton : public TSkinButton {
  KARV_CLASS(TSkinBitButton, TSkinButton)
 public:
  using TSkinButton::TSkinButton;
  void Paint(HDC dc, const RECT& r) override;
};

// Serves a windowless control through the graphic-control field; attach with AttachGraphic.
class TSkinSpeedButton : public TSkinBitButton {
  KARV_CLASS(TSkinSpeedButton, TSkinBitButton)
 public:
  using TSkinBitButton::TSkinBitButton;
  ~TSkinSpeedButton() override;

  void AttachGraphic(TControl* control, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas) override;
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void PaintWindow(HDC dc) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void GiveBackWindowProc();
  bool hooked_ = false;
};
