#include "platform/forms/Buttons.h"

#include <commctrl.h>

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

void RegisterButtons() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStdCtrls();
  using B = TBitBtn;
  RegisterProperties(B::StaticClass(), {
      MakeProp<B>("Glyph", TPropType::Object, [](const B* b) { return (TObject*)&const_cast<B*>(b)->Glyph(); },
                  [](B* b, const TPropValue& v) {
                    if (auto* o = std::get_if<TObject*>(&v))
                      if (auto* g = dynamic_cast<TGlyph*>(*o)) b->SetGlyph(*g);
                  }),
      IntProperty("Spacing", &B::Spacing, &B::SetSpacing),
      IntProperty("Margin", &B::Margin, &B::SetMargin),
  });
  RegisterComponentClass<TBitBtn>();
}
