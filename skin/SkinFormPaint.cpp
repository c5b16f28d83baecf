// Frame painting of the form skinner: borders, the title with its caption text and the
// caption buttons (their visibility and layout), all from the skin's strips.
#include "skin/SkinForm.h"

#include <algorithm>

#include "skin/SkinData.h"
#include "skin/SkinObjects.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSubclass.h"

namespace {
int FrameOf(const TDataSkinObject& o, bool active) { return (!active && o.FrameCount > 1) ? 2 : 1; }
}  // namespace

HDC TSkinForm::WindowDC() { return GetWindowDC(window_); }

void TSkinForm::PaintFrame(HDC given) {
  if ((skinState_ != kFormRunning && skinState_ != kFormRefreshing) || borderKind_ == kBorderNone || !skinData_ ||
      skinData_->NoSkin() || !frameEnabled_ || windowState_ == kWindowMinimized || MDIChildNotNormal())
    return;
  RECT wr{};
  if (!GetWindowRect(window_, &wr)) return;
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  HDC dc = given ? given : GetWindowDC(window_);
  if (!dc) return;
  TSkinModel& m = skinData_->Model();
  auto part = [&](TDataSkinBorder& o, const RECT& r, bool stacked) {
    if (o.Bitmap.Empty()) return;
    DrawNinePart(dc, r, o.Bitmap, stacked, o.Tile != 1, false, std::max(o.FrameCount, 1), FrameOf(o, active_),
                 o.Margins());
  };
  part(*m.Left, RECT{0, 0, left_, h}, false);
  part(*m.Right, RECT{w - right_, 0, w, h}, false);
  part(*m.Bottom, RECT{left_, h - bottom_, w - right_, h}, true);
  PaintTitle(dc, w);
  if (menuBar_ && menuBarHeight_ > 0) menuBar_->Paint(dc, RECT{left_, top_, w - right_, top_ + menuBarHeight_});
  if (!given) ReleaseDC(window_, dc);
  hotObject_ = nullptr;
}

void TSkinForm::PaintTitle(HDC dc, int w) {
  if (top_ <= 0 || w <= 0) return;
  TSkinModel& m = skinData_->Model();
  titleBitmap_.SetSize(w, top_);
  HDC tdc = titleBitmap_.Canvas().Handle();
  BitBlt(tdc, 0, 0, w, top_, dc, 0, 0, SRCCOPY);
  TDataSkinBorder& t = *m.Top;
  if (!t.Bitmap.Empty())
    DrawNinePart(tdc, RECT{left_, 0, w - right_, top_}, t.Bitmap, true, t.Tile != 1, false,
                 std::max(t.FrameCount, 1), FrameOf(t, active_), t.Margins());

  // The caption text.
  const TDataSkinTitle& ti = *m.Title;
  std::wstring text = CaptionTextWide();
  SkinWideToAnsi(text, captionText_);
  text = captionPrefix_ + text + captionSuffix_;
  HGDIOBJ oldFont = SelectObject(tdc, captionFont_ ? (HGDIOBJ)captionFont_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(tdc, TRANSPARENT);
  TColor colour = active_ ? (ti.ActiveText != clNone ? ti.ActiveText : m.TitleTextActive)
                          : (ti.InActiveText != clNone ? ti.InActiveText : m.TitleTextNoActive);
  SetTextColor(tdc, ColorToRGB(colour));
  UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | (rtl_ ? DT_RIGHT : 0);
  RECT calc{0, 0, w, top_};
  SkinDrawText(tdc, text, calc, flags | DT_CALCRECT | DT_NOCLIP);
  int tw = (calc.right - calc.left) + ti.TXTBackleft + ti.TXTBackRight;
  int th = calc.bottom - calc.top;
  int x = ti.LeftWidth;
  if (rtl_ || ti.TextAlignment == 2) x = w - ti.RightWidth - tw;
  else if (ti.TextAlignment == 1) x = (w - tw) / 2;
  if (borderKind_ == kBorderDialog && ti.TextAlignment == 0 && !rtl_) x -= 16;
  int y = (top_ - th) / 2 + ti.TopHeight / 2;
  RECT tr{x, y, x + tw, y + th};
  LayoutCaptionButtons(w);
  int limit = w - ti.RightWidth;
  if ((savedStyle_ & WS_POPUP) && buttonLayoutPos_ >= 6) limit = buttonLayoutPos_ - 5;
  tr.right = std::min<LONG>(tr.right, limit);
  captionRect_ = tr;
  if (!ti.Bitmap.Empty() && tr.right > tr.left)
    DrawNinePart(tdc, tr, const_cast<TBitmap&>(ti.Bitmap), true, true, false, 2, active_ ? 1 : 2,
                 TSkinMargins{ti.TXTBackleft, 0, ti.TXTBackRight, 0});
  RECT inner{tr.left + ti.TXTBackleft, tr.top, tr.right - ti.TXTBackRight, tr.bottom};
  if (inner.right > inner.left) SkinDrawText(tdc, text, inner, flags);
  SelectObject(tdc, oldFont);
  // Caption buttons placed against the caption (alignments 2 and 3) follow the text.
  LayoutCaptionButtons(w);
  for (auto& b : captionButtons_) {
    if (!b->Visible || IsRectEmpty(&b->Rect) || b->Data->Visibility == 100) continue;
    int frames = std::max(b->Data->FrameCount, 1);
    int frame = active_ ? 1 : (frames >= 4 ? 4 : 1);
    if (b->ShowsIcon) TransparentCopy(tdc, b->Rect, b->Icon);
    else b->PaintFrame(tdc, frame);
  }
  BitBlt(dc, 0, 0, w, top_, tdc, 0, 0, SRCCOPY);
}

bool TSkinForm::CaptionButtonVisible(const TSkinSysButton& b, int index) const {
  const TDataSkinSysButton& d = *b.Data;
  bool maximized = windowState_ == kWindowMaximized;
  auto cond = [&](int code, bool first) -> bool {
    switch (code) {
      case 0: return !first || !(d.Action == 0 && !HasSystemMenu());
      case 1: return maximized;
      case 2: return !maximized;
      case 3: return active_;
      case 4: return !active_;
      case 6: return HasMaximizeBox() && (!first || HasSystemMenu());
      case 7: return !HasMaximizeBox();
      case 8: return HasMinimizeBox() && (!first || HasSystemMenu());
      case 9: return !HasMinimizeBox();
      default: break;
    }
    return false;
  };
  bool a;
  int v = d.Visibility;
  if (v == 100) a = ActiveChildMaximized() && menuBarHeight_ > 0;
  else if (v == 200) a = borderKind_ == kBorderDialog && !dialogClass_;
  else if (v >= 201 && v <= 999) a = true;
  else if (v >= 1000 && v <= 2000) a = SendMessageA(window_, SKIN_CAPTIONVISIBLE, (WPARAM)index, 0) >= 1;
  else a = cond(v, true);
  int v1 = d.Visibility1;
  bool bcond = v1 == 100 ? a : (v1 == 0 ? true : cond(v1, false));
  bool visible = a && bcond;
  if (d.Action == 1 && !HasMaximizeBox()) visible = false;
  if (d.Action == 2 && !HasMinimizeBox()) visible = false;
  if ((d.Action == 3 || d.Action == 11 || d.Action == 12) && borderKind_ == kBorderDialog) visible = false;
  return visible;
}

void TSkinForm::LayoutCaptionButtons(int width) {
  buttonLayoutPos_ = 0;
  for (size_t i = 0; i < captionButtons_.size(); ++i) {
    TSkinSysButton& b = *captionButtons_[i];
    b.Visible = CaptionButtonVisible(b, (int)i);
    const TDataSkinSysButton& d = *b.Data;
    // The icon button shows the window's icon in place of its (empty) image.
    if (!b.Visible || (b.ShowsIcon ? b.Icon.Empty() : d.Bitmap.Empty())) {
      b.Rect = RECT{};
      continue;
    }
    int bw = d.Bitmap.Width() / std::max(d.FrameCount, 1), bh = d.Bitmap.Height();
    if (b.ShowsIcon) bw = b.Icon.Width(), bh = b.Icon.Height();
    int x = d.Xcoord, y = d.Ycoord;
    switch (d.Align) {
      case 1:
        x = width - d.Xcoord;
        buttonLayoutPos_ = buttonLayoutPos_ ? std::min(buttonLayoutPos_, x) : x;
        break;
      case 2:
      case 8:
        x = captionRect_.left - bw - d.Xcoord;
        break;
      case 3:
      case 9:
        x = captionRect_.right + d.Xcoord;
        break;
      case 100: {
        // In the menu bar, centred under the title; from the left in a right-to-left window.
        const TDataSkinObject* bar = skinData_->Model().MenuBar.get();
        int margin = bar && !bar->Bitmap.Empty() ? bar->LeftWidth : 0;
        x = rtl_ ? d.Xcoord + left_ + margin : width - d.Xcoord - right_ - margin;
        y = top_ + (menuBarHeight_ - bh) / 2;
        break;
      }
      default:
        break;
    }
    b.Rect = RECT{x, y, x + bw, y + bh};
  }
}

