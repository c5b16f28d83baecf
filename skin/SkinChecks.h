// Skinned check boxes and radio buttons: the control paints itself (box, caption, focus
// rectangle) and the skin's check or radio glyph is painted over the box. TSkinObjImage
// serves check boxes of other kinds that take a custom glyph strip through properties.
// GUI thread; owned by the control (or the form skinner for a bare dialog button).
#pragma once
#include "platform/forms/Pictures.h"
#include "platform/graphics/Bitmap.h"
#include "skin/SkinSubclass.h"

class TSkinCheckBox : public TSkinControl {
  KARV_CLASS(TSkinCheckBox, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void AfterDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;
};

class TSkinRadioButton : public TSkinCheckBox {
  KARV_CLASS(TSkinRadioButton, TSkinCheckBox)
 public:
  using TSkinCheckBox::TSkinCheckBox;
  void Paint(HDC dc, const RECT& r) override;
};

// Hands a glyph strip built from the skin to a control's "CustomGlyphs" property; hooks no
// messages.
class TSkinObjImage : public TSkinControl {
  KARV_CLASS(TSkinObjImage, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinObjImage() override;
  // 1: check-box glyphs; no other kind has behaviour.
  void SetKind(int kind) override { kind_ = kind; }
  int Kind() const { return kind_; }

  void Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) override;
  void Restore() override;
  void UpdateSkin() override;

 private:
  void BuildGlyphs();
  TBitmap glyphs_;
  TGlyph strip_;  // what the control's "CustomGlyphs" is given
  int kind_ = 0;
};

// The check-box repaint triggers shared with the radio button.
constexpr UINT kCheckRepaintMessage = 0xB0D0;
