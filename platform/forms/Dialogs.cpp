// The colour dialog over ChooseColor, owned by the active window so it stays modal to it.
#include "platform/forms/Dialogs.h"

#include <commdlg.h>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/LateBound.h"

TColorDialog::TColorDialog(TComponent* owner) : TComponent(owner) {
  RegisterDialogs();
  for (auto& c : custom_) c = RGB(255, 255, 255);
}

bool TColorDialog::Execute() {
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = GetActiveWindow();
  cc.rgbResult = ColorToRGB(color_);
  cc.lpCustColors = custom_;
  cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
  static const auto choose = LateBound<decltype(&ChooseColorA)>("comdlg32.dll", "ChooseColorA");
  if (!choose || !choose(&cc)) return false;
  color_ = (TColor)cc.rgbResult;
  return true;
}

void RegisterDialogs() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterProperties(TColorDialog::StaticClass(), {
      OrdProperty("Color", &TColorDialog::Color, &TColorDialog::SetColor),
  });
  RegisterComponentClass<TColorDialog>();
}
