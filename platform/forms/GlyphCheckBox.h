// A check box of the kind other component libraries offer for data forms: it draws itself and,
// when UseCustomGlyphs is set, takes its box pictures from a strip of nine glyphs (unchecked,
// checked, grayed; the same pressed; the same disabled) with TransparentColor as the key.
// Without them it draws the system's box. It is not a TCustomCheckBox: a skin serves it only
// through those properties. The box owns its glyph strip. GUI thread only.
#pragma once
#include "platform/forms/Controls.h"
#include "platform/forms/Pictures.h"

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TDBGlyphCheckBox : public TCustomControl {
  KARV_CLASS(TDBGlyphCheckBox, TCustomControl)
 public:
  explicit TDBGlyphCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState s);
  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  TGlyph& CustomGlyphs() { return glyphs_; }
  void SetCustomGlyphs(const TGlyph& g);
  int TransparentColor() const { return transparentColor_; }  // a COLORREF
  void SetTransparentColor(int c);
  bool UseCustomGlyphs() const { return useCustom_; }
  void SetUseCustomGlyphs(bool v);
  // The glyph (0-based) the box shows now: state, +3 pressed, +6 disabled.
  int GlyphIndex() const;
  static constexpr int kBoxSize = 13;

  void WndProc(TMessage& m) override;

 protected:
  void Paint(HDC dc) override;

 private:
  TGlyph glyphs_;
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  int transparentColor_ = 0xFF00FF;
  bool useCustom_ = false, pressing_ = false;
};

void RegisterGlyphCheckBox();
