// Skinned progress bars, track-bar thumbs, up-down buttons and header controls. The up-down
// and header skinners are also made by the edit, tab and list-view skinners for their
// children. GUI thread; owned by the control, or by the form skinner or the skinner that
// made them for a bare window.
#pragma once
#include "platform/graphics/Bitmap.h"
#include "skin/SkinCtlUtil.h"
#include "skin/SkinSubclass.h"

class TSkinProgress : public TSkinControl {
  KARV_CLASS(TSkinProgress, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void PaintChunks(HDC dc, const RECT& r);
  TBitmap buffer_;
};

// Only the thumb is replaced, through the control's custom-draw notifications; channel and
// ticks stay the control's own.
class TSkinTrackBar : public TSkinControl {
  KARV_CLASS(TSkinTrackBar, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& m) override;
  ~TSkinTrackBar() override;
  // Repaints; never takes the focus.
  void UpdateSkin() override;
  void Restore() override;
  // Sets a published property of the track bar for as long as it is skinned.
  void LendProperty(const std::string& name, const std::string& value);

 private:
  void DrawThumb(HDC dc);
  skinctl::PropertyLoan loan_;
};

class TSkinUpDown : public TSkinControl {
  KARV_CLASS(TSkinUpDown, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  bool Inset = false;       // buttons 1 pixel inside the client area (spin of an edit)
  bool Horizontal = false;  // buttons side by side whatever the style (tab sets)

  bool BeforeDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void DrawButton(HDC dc, TCanvas& canvas, const RECT& r, bool horizontal, bool second, int state);
  TBitmap buffer_;
};

class TSkinHeader : public TSkinControl {
  KARV_CLASS(TSkinHeader, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  TBitmap buffer_;
};
