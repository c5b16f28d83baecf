#include "platform/forms/SkinReadProperties.h"

#include <windows.h>
#include <commctrl.h>

#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Properties.h"
#include "platform/forms/StdCtrls.h"

namespace {
// The size grip is a style bit of the status bar's window; without a window it reads as
// the style the bar is made with.
bool HasSizeGrip(const TStatusBar* s) {
  HWND h = s->HandleIfAllocated();
  return !h || (GetWindowLongPtrA(h, GWL_STYLE) & SBARS_SIZEGRIP) != 0;
}

void SetSizeGrip(TStatusBar* s, bool on) {
  HWND h = s->HandleIfAllocated();
  if (!h) return;
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  SetWindowLongPtrA(h, GWL_STYLE, on ? (style | SBARS_SIZEGRIP) : (style & ~(LONG_PTR)SBARS_SIZEGRIP));
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
}  // namespace

void RegisterSkinReadProperties() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterButtons();
  const std::vector<std::string> states = {"cbUnchecked", "cbChecked", "cbGrayed"};
  RegisterProperties(TCheckBox::StaticClass(), {
      MakeProp<TCheckBox>("State", TPropType::Enum, [states](const TCheckBox* c) { return states[c->Checked() ? 1 : 0]; },
                          [states](TCheckBox* c, const TPropValue& v) { c->SetChecked(std::get<std::string>(v) == states[1]); },
                          states),
  });
  // Our bitmap button holds one picture, drawn left of its caption.
  const std::vector<std::string> layouts = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
  RegisterProperties(TBitBtn::StaticClass(), {
      MakeProp<TBitBtn>("NumGlyphs", TPropType::Integer, [](const TBitBtn*) { return (int64_t)1; }, nullptr),
      MakeProp<TBitBtn>("Layout", TPropType::Enum, [layouts](const TBitBtn*) { return layouts[0]; }, nullptr, layouts),
  });
  RegisterProperties(TStatusBar::StaticClass(), {
      MakeProp<TStatusBar>("SizeGrip", TPropType::Boolean, [](const TStatusBar* s) { return HasSizeGrip(s); },
                           [](TStatusBar* s, const TPropValue& v) { SetSizeGrip(s, std::get<bool>(v)); }),
  });
}
