// Common dialogs the program's windows use: the colour dialog.
// Modal over the active window; GUI thread only.
#pragma once
#include "platform/rtl/Component.h"
#include "platform/forms/Graphics.h"

class TColorDialog : public TComponent {
  KARV_CLASS(TColorDialog, TComponent)
 public:
  explicit TColorDialog(TComponent* owner);
  // The colour shown first, and the one chosen after Execute returned true.
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; }
  // Shows the system's colour dialog modally; true when the user chose OK.
  bool Execute();

 private:
  TColor color_ = clBlack;
  COLORREF custom_[16] = {};
};

void RegisterDialogs();
