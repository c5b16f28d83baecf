// The bitmap button: a push button that paints a glyph beside its caption, and the speed
// button: a windowless button with a glyph strip, a caption, a flat look and a down state.
// A glyph's lower-left pixel gives its transparent colour. While the pointer is over a
// button it is drawn hot; that happens before the control's mouse-enter and mouse-leave
// events. Each button owns its glyph. GUI thread only.
#pragma once
#include "platform/forms/Controls.h"
#include "platform/forms/Pictures.h"
#include "platform/forms/StdCtrls.h"

class TBitBtn : public TButton {
  KARV_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner);

  TGlyph& Glyph() { return glyph_; }
  const TGlyph& Glyph() const { return glyph_; }
  void SetGlyph(const TGlyph& g) { glyph_.Assign(g); }
  // Pixels between glyph and caption.
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  // Pixels from the left edge to the glyph; -1 centres glyph and caption together.
  int Margin() const { return margin_; }
  void SetMargin(int v);
  bool Hot() const { return hot_; }

  void WndProc(TMessage& m) override;
  // Paints the button as its window would be painted (the owner-draw routine).
  void PaintButton(HDC dc, const RECT& r, UINT state);

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  TGlyph glyph_;
  int spacing_ = 4, margin_ = -1;
  bool hot_ = false;
};

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A windowless button painted by its parent. The glyph strip holds NumGlyphs pictures side by
// side: up, disabled, pressed, down. A button of a group (GroupIndex not 0) stays down when
// clicked and lets the other buttons of its group up; AllowAllUp lets a click raise it again.
class TSpeedButton : public TGraphicControl {
  KARV_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);

  TGlyph& Glyph() { return glyph_; }
  const TGlyph& Glyph() const { return glyph_; }
  void SetGlyph(const TGlyph& g) { glyph_.Assign(g); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);  // 1 to 4
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  int Margin() const { return margin_; }  // -1 centres glyph and caption together
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  // Pressed by the mouse and not yet released.
  bool Pressing() const { return pressing_; }

  void WndProc(TMessage& m) override;
  void Paint(HDC dc) override;

 protected:
  void Click() override;

 private:
  // Stores a new value and repaints; nothing for the value held already.
  template <class T>
  void Change(T& field, T value);

  TGlyph glyph_;
  int numGlyphs_ = 1;
  bool flat_ = false, down_ = false, allowAllUp_ = false, pressing_ = false;
  int groupIndex_ = 0, margin_ = -1, spacing_ = 4;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
};

void RegisterButtons();
