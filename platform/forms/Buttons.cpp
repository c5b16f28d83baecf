#include "platform/forms/Buttons.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
  RegisterButtons();
  glyph_.OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~(DWORD)BS_TYPEMASK) | BS_OWNERDRAW;
}

void TBitBtn::SetSpacing(int v) {
  if (v == spacing_) return;
  spacing_ = v;
  Invalidate();
}

void TBitBtn::SetMargin(int v) {
  if (v == margin_) return;
  margin_ = v;
  Invalidate();
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      PaintButton(d->hDC, d->rcItem, d->itemState);
      m.Result = TRUE;
      return;
    }
    case CM_MOUSEENTER:
      hot_ = true;
      Invalidate();
      break;
    case CM_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      break;
    case WM_LBUTTONDBLCLK:
      m.Msg = WM_LBUTTONDOWN;  // a quick second click is one more click, not a double click
      break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
  TButton::WndProc(m);
}

void TBitBtn::PaintButton(HDC dc, const RECT& r, UINT state) {
  bool pressed = state & ODS_SELECTED, disabled = (state & ODS_DISABLED) || !enabled_;
  RECT face = r;
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0) | (hot_ ? DFCS_HOT : 0));
  int shift = pressed ? 1 : 0;
  std::string text = Caption();
  HGDIOBJ oldFont = SelectObject(dc, font_->Handle());
  RECT tr{0, 0, 0, 0};
  if (!text.empty()) DrawTextA(dc, text.c_str(), (int)text.size(), &tr, DT_CALCRECT | DT_SINGLELINE);
  int gw = glyph_.Width(), gh = glyph_.Height(), tw = tr.right;
  int gap = gw && tw ? spacing_ : 0;
  int x = r.left + (margin_ < 0 ? (r.right - r.left - (gw + gap + tw)) / 2 : margin_) + shift;
  if (!glyph_.Empty()) {
    int y = r.top + (r.bottom - r.top - gh) / 2 + shift;
    // The system's image list gives the masked drawing and the disabled look.
    HIMAGELIST list = ImageList_Create(gw, gh, ILC_COLOR32 | ILC_MASK, 1, 0);
    auto copy = static_cast<HBITMAP>(CopyImage(glyph_.Handle(), IMAGE_BITMAP, 0, 0, 0));
    ImageList_AddMasked(list, copy, glyph_.Pixel(0, gh - 1));
    if (disabled) {
      HICON icon = ImageList_GetIcon(list, 0, ILD_NORMAL);
      DrawStateA(dc, nullptr, nullptr, (LPARAM)icon, 0, x, y, 0, 0, DST_ICON | DSS_DISABLED);
      DestroyIcon(icon);
    } else {
      ImageList_Draw(list, 0, dc, x, y, ILD_TRANSPARENT);
    }
    DeleteObject(copy);
    ImageList_Destroy(list);
  }
  if (!text.empty()) {
    RECT place{x + gw + gap, r.top + shift, r.right, r.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(disabled ? clGrayText : font_->Color()));
    DrawTextA(dc, text.c_str(), (int)text.size(), &place, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }
  SelectObject(dc, oldFont);
  if (state & ODS_FOCUS) {
    RECT focus = r;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  RegisterButtons();
  width_ = 23;
  height_ = 22;
  glyph_.OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
}

template <class T>
void TSpeedButton::Change(T& field, T value) {
  if (field == value) return;
  field = value;
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int v) { Change(numGlyphs_, std::clamp(v, 1, 4)); }

void TSpeedButton::SetFlat(bool v) { Change(flat_, v); }

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;  // only a button of a group stays down
  if (v == down_) return;
  down_ = v;
  if (v && parent_)
    for (int i = 0; i < parent_->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
          other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
        other->down_ = false;
        other->Invalidate();
      }
  Invalidate();
}

void TSpeedButton::SetMargin(int v) { Change(margin_, v); }

void TSpeedButton::SetSpacing(int v) { Change(spacing_, v); }

void TSpeedButton::SetLayout(TButtonLayout v) { Change(layout_, v); }

void TSpeedButton::Click() {
  if (groupIndex_ != 0) SetDown(!down_ || !allowAllUp_);
  TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (enabled_) {
        pressing_ = true;
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
      if (pressing_) {
        pressing_ = false;
        Invalidate();
      }
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint(HDC dc) {
  RECT r{0, 0, width_, height_};
  const bool sunken = down_ || (pressing_ && mouseInside_);
  HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
  FillRect(dc, &r, face);
  DeleteObject(face);
  if (sunken) DrawEdge(dc, &r, flat_ ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!flat_) DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  else if (mouseInside_ && enabled_) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);

  // Up, disabled, pressed, down: a strip without that picture uses the first.
  int index = !enabled_ ? 1 : (pressing_ && mouseInside_) ? 2 : down_ ? 3 : 0;
  if (index >= numGlyphs_) index = 0;
  const int gw = glyph_.Empty() ? 0 : glyph_.Width() / numGlyphs_, gh = glyph_.Empty() ? 0 : glyph_.Height();
  const std::string text = Caption();
  HGDIOBJ oldFont = SelectObject(dc, font_->Handle());
  RECT tr{0, 0, 0, 0};
  if (!text.empty()) DrawTextA(dc, text.c_str(), (int)text.size(), &tr, DT_CALCRECT | DT_SINGLELINE);
  const int tw = tr.right, th = tr.bottom;
  const bool across = layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphRight;
  const int gap = gw && tw ? spacing_ : 0;
  const int extent = across ? width_ : height_, length = across ? gw + gap + tw : gh + gap + th;
  const int start = margin_ < 0 ? (extent - length) / 2 : margin_;
  const int shift = sunken ? 1 : 0;
  POINT g{}, t{};
  switch (layout_) {
    case TButtonLayout::blGlyphLeft: g = {start, (height_ - gh) / 2}; t = {start + gw + gap, (height_ - th) / 2}; break;
    case TButtonLayout::blGlyphRight: t = {width_ - start - length, (height_ - th) / 2}; g = {t.x + tw + gap, (height_ - gh) / 2}; break;
    case TButtonLayout::blGlyphTop: g = {(width_ - gw) / 2, start}; t = {(width_ - tw) / 2, start + gh + gap}; break;
    case TButtonLayout::blGlyphBottom: t = {(width_ - tw) / 2, height_ - start - length}; g = {(width_ - gw) / 2, t.y + th + gap}; break;
  }
  if (gw > 0 && gh > 0) {
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(src, glyph_.Handle());
    TransparentBlt(dc, g.x + shift, g.y + shift, gw, gh, src, index * gw, 0, gw, gh, glyph_.Pixel(0, gh - 1));
    SelectObject(src, old);
    DeleteDC(src);
  }
  if (!text.empty()) {
    RECT place{t.x + shift, t.y + shift, t.x + shift + tw, t.y + shift + th};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(enabled_ ? font_->Color() : clGrayText));
    DrawTextA(dc, text.c_str(), (int)text.size(), &place, DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
}

void RegisterButtons() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStdCtrls();
  using B = TBitBtn;
  RegisterProperties(B::StaticClass(), {
      ObjectProperty<B, TGlyph>("Glyph", &B::Glyph, &B::SetGlyph),
      IntProperty("Spacing", &B::Spacing, &B::SetSpacing),
      IntProperty("Margin", &B::Margin, &B::SetMargin),
  });
  RegisterComponentClass<TBitBtn>();
  using S = TSpeedButton;
  RegisterProperties(S::StaticClass(), {
      ObjectProperty<S, TGlyph>("Glyph", &S::Glyph, &S::SetGlyph),
      IntProperty("NumGlyphs", &S::NumGlyphs, &S::SetNumGlyphs),
      BoolProperty("Flat", &S::Flat, &S::SetFlat),
      BoolProperty("Down", &S::Down, &S::SetDown),
      IntProperty("GroupIndex", &S::GroupIndex, &S::SetGroupIndex),
      BoolProperty("AllowAllUp", &S::AllowAllUp, &S::SetAllowAllUp),
      IntProperty("Spacing", &S::Spacing, &S::SetSpacing),
      IntProperty("Margin", &S::Margin, &S::SetMargin),
      EnumProperty("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, &S::Layout, &S::SetLayout),
  });
  RegisterComponentClass<TSpeedButton>();
}
