// The controls of the class library: TControl (Control.h), TWinControl (WinControl.h), and
// here the two kinds a new control starts from: TGraphicControl (no window; its parent paints
// it and forwards its mouse input) and TCustomControl (a window of our own class that paints
// itself). Callers include this header for all of them. GUI thread only.
#pragma once
#include <windows.h>

#include "platform/forms/Control.h"
#include "platform/forms/WinControl.h"

// A windowless control painted by its parent.
class TGraphicControl : public TControl {
  KARV_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  void WndProc(TMessage& m) override;
  // Paints into the parent's DC, whose origin has been moved to this control's corner.
  virtual void Paint(HDC dc) {}
};

// A windowed control of our own class that paints itself.
class TCustomControl : public TWinControl {
  KARV_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* owner);
  TEvent<void(TObject*, HDC)> OnPaint;

 protected:
  void CreateParams(TCreateParams& p) override;
  void PaintWindow(HDC dc) override;
  virtual void Paint(HDC dc);
};

// Registers the published properties of TControl, TWinControl and TCustomControl (done once,
// on first use).
void RegisterControlProperties();
