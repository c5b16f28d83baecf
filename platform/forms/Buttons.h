// The bitmap button: a push button that paints a glyph beside its caption. The glyph's
// lower-left pixel gives its transparent colour. While the pointer is over the button it
// is drawn hot; that happens before the control's mouse-enter and mouse-leave events.
// The button owns its glyph. GUI thread only.
#pragma once
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

void RegisterButtons();
