#include "platform/forms/Controls.h"

#include <windowsx.h>

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
  // The parent paints its graphic children with WM_PAINT and the DC in the first parameter.
  if (m.Msg == WM_PAINT) {
    if (m.WParam) Paint((HDC)m.WParam);
    m.Result = 0;
    return;
  }
  TControl::WndProc(m);
  if (!enabled_) return;
  if (m.Msg == WM_LBUTTONUP) {
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    if (x >= 0 && y >= 0 && x < width_ && y < height_) Click();
  } else if (m.Msg == WM_LBUTTONDBLCLK) {
    DblClick();
  }
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = ClassName();
  p.OwnClass = true;
  p.Style |= WS_CLIPCHILDREN;
}

void TCustomControl::PaintWindow(HDC dc) { Paint(dc); }

void TCustomControl::Paint(HDC dc) {
  if (OnPaint) OnPaint(this, dc);
}

