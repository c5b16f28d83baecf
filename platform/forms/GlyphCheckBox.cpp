#include "platform/forms/GlyphCheckBox.h"

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"

TDBGlyphCheckBox::TDBGlyphCheckBox(TComponent* owner) : TCustomControl(owner) {
  RegisterGlyphCheckBox();
  width_ = 97;
  height_ = 17;
  tabStop_ = true;
  glyphs_.OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
}

void TDBGlyphCheckBox::SetState(TCheckBoxState s) {
  if (s == state_) return;
  state_ = s;
  Invalidate();
}

void TDBGlyphCheckBox::SetCustomGlyphs(const TGlyph& g) { glyphs_.Assign(g); }

void TDBGlyphCheckBox::SetTransparentColor(int c) {
  transparentColor_ = c;
  Invalidate();
}

// Switching the glyphs on makes the box read them again; every change repaints.
void TDBGlyphCheckBox::SetUseCustomGlyphs(bool v) {
  useCustom_ = v;
  Invalidate();
}

int TDBGlyphCheckBox::GlyphIndex() const {
  return (int)state_ + (!enabled_ ? 6 : pressing_ ? 3 : 0);
}

void TDBGlyphCheckBox::Paint(HDC dc) {
  RECT all{0, 0, width_, height_};
  HBRUSH face = CreateSolidBrush(ColorToRGB(color_));
  FillRect(dc, &all, face);
  DeleteObject(face);
  const int gw = glyphs_.Empty() ? 0 : glyphs_.Width() / 9, gh = glyphs_.Height();
  int boxW = kBoxSize;
  if (useCustom_ && gw > 0 && gh > 0) {
    boxW = gw;
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(src, glyphs_.Handle());
    TransparentBlt(dc, 0, (height_ - gh) / 2, gw, gh, src, GlyphIndex() * gw, 0, gw, gh, (UINT)transparentColor_);
    SelectObject(src, old);
    DeleteDC(src);
  } else {
    RECT box{0, (height_ - kBoxSize) / 2, kBoxSize, (height_ - kBoxSize) / 2 + kBoxSize};
    UINT flags = DFCS_BUTTONCHECK | (state_ != TCheckBoxState::cbUnchecked ? DFCS_CHECKED : 0) |
                 (!enabled_ || state_ == TCheckBoxState::cbGrayed ? DFCS_INACTIVE : 0) | (pressing_ ? DFCS_PUSHED : 0);
    DrawFrameControl(dc, &box, DFC_BUTTON, flags);
  }
  const std::string text = Caption();
  if (text.empty()) return;
  HGDIOBJ oldFont = SelectObject(dc, font_->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(enabled_ ? font_->Color() : clGrayText));
  RECT t{boxW + 4, 0, width_, height_};
  DrawTextA(dc, text.c_str(), (int)text.size(), &t, DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, oldFont);
}

void TDBGlyphCheckBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (enabled_) {
        pressing_ = true;
        SetCapture(handle_);
        if (CanFocus()) SetFocus();
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
      if (pressing_) {
        pressing_ = false;
        if (GetCapture() == handle_) ReleaseCapture();
        SetChecked(!Checked());
        Invalidate();
      }
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE && enabled_) SetChecked(!Checked());
      break;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void RegisterGlyphCheckBox() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  using C = TDBGlyphCheckBox;
  RegisterProperties(C::StaticClass(), {
      EnumProperty("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, &C::State, &C::SetState),
      BoolProperty("Checked", &C::Checked, &C::SetChecked),
      ObjectProperty<C, TGlyph>("CustomGlyphs", &C::CustomGlyphs, &C::SetCustomGlyphs),
      IntProperty("TransparentColor", &C::TransparentColor, &C::SetTransparentColor),
      BoolProperty("UseCustomGlyphs", &C::UseCustomGlyphs, &C::SetUseCustomGlyphs),
  });
  RegisterComponentClass<TDBGlyphCheckBox>();
}
