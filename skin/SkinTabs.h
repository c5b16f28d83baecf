// Skinned tab controls: TSkinTab draws the tabs of tab and page controls on any side from
// the skin's "Tabs" element and frames the page with its "Border" image; TSkinTab31 draws
// old-style tab sets (tabs along the bottom). Both skin the up-down buttons that scroll
// their tabs. GUI thread; owned by the control (or the form skinner for a bare window).
#pragma once
#include "platform/graphics/Bitmap.h"
#include "skin/SkinSubclass.h"

class TSkinUpDown;

class TSkinTab : public TSkinControl {
  KARV_CLASS(TSkinTab, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void AttachHandle(HWND handle, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas) override;
  void Paint(HDC dc, const RECT& r) override;
  void UpdateSkin() override;
  int TabPosition() const { return position_; }

 private:
  void PrepareTabImages();
  // Skins the up-down child that scrolls the tabs; true when it is visible.
  bool AttachUpDownChild();

  int position_ = 0;  // 0 top, 1 bottom, 2 left, 3 right
  TBitmap tabImage_, borderImage_, strip_;
  TSkinUpDown* upDown_ = nullptr;  // owned
};

// Tab sets publish "Tabs" (string list), "TabIndex", "FirstIndex", "StartMargin",
// "EndMargin" and "Font"; their first owned component is the scroller.
class TSkinTab31 : public TSkinControl {
  KARV_CLASS(TSkinTab31, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) override;
  bool BeforeDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  TBitmap tabImage_, buffer_;
  TSkinUpDown* upDown_ = nullptr;  // owned
  TWinControl* scroller_ = nullptr;
};
