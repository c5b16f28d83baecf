#include "platform/forms/HintWindow.h"

#include <algorithm>

#include "platform/forms/Application.h"

namespace {
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
// Room between the border and the text, as the class library's hint windows leave it.
constexpr int kTextLeft = 2, kTextTop = 2, kExtraWidth = 6, kExtraHeight = 2;
constexpr UINT kTextFormat = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
}  // namespace

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  visible_ = false;
  color_ = clInfoBk;
  // The system's own face for small notes: the status font.
  NONCLIENTMETRICSA m{sizeof m};
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) {
    font_->SetName(m.lfStatusFont.lfFaceName);
    font_->SetHeight(m.lfStatusFont.lfHeight);
    font_->SetCharset(m.lfStatusFont.lfCharSet);
  }
  font_->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  p.ClassStyle |= CS_SAVEBITS;
}

// Owned by the application's window, like every form, so it goes with the application.
HWND THintWindow::ParentHandleForCreate() { return Application ? Application->Handle() : nullptr; }

SIZE THintWindow::CalcHintSize(const std::string& text, int maxWidth) {
  RECT r{0, 0, maxWidth, 0};
  HDC dc = GetDC(Handle());
  if (dc) {
    HGDIOBJ old = SelectObject(dc, font_->Handle());
    DrawTextA(dc, text.c_str(), (int)text.size(), &r, kTextFormat | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
  }
  return SIZE{r.right + kExtraWidth, r.bottom + kExtraHeight};
}

void THintWindow::ActivateHint(POINT at, int pointerTop, const std::string& text) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetCaption(text);
  // The border adds one pixel on each side.
  SIZE s = CalcHintSize(text, std::max<int>(work.right - work.left - kExtraWidth - 2, 1));
  int w = s.cx + 2, h = s.cy + 2;
  int x = std::max<int>(work.left, std::min<int>(at.x, work.right - w));
  int y = at.y;
  if (y + h > work.bottom) y = std::max<int>(work.top, pointerTop - h);
  SetBounds(x, y, w, h);
  Invalidate();
  // Shown on top without taking the activation from the window the pointer is over.
  SetWindowPos(Handle(), HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  visible_ = true;
}

void THintWindow::ReleaseHint() {
  if (!visible_) return;
  visible_ = false;
  if (handle_) ShowWindow(handle_, SW_HIDE);
}

void THintWindow::Paint(HDC dc) {
  RECT r{};
  GetClientRect(handle_, &r);
  r.left += kTextLeft;
  r.top += kTextTop;
  std::string text = Caption();
  SelectObject(dc, font_->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(font_->Color()));
  DrawTextA(dc, text.c_str(), (int)text.size(), &r, kTextFormat);
}

void THintWindow::WndProc(TMessage& m) {
  // The pointer goes through to the window below: the hint never becomes what it is over.
  if (m.Msg == WM_NCHITTEST) {
    m.Result = HTTRANSPARENT;
    return;
  }
  if (m.Msg == WM_MOUSEACTIVATE) {
    m.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::WndProc(m);
}
