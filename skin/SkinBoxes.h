// Skinned containers: panels take the skin's face colour, dialogs inside a form get a face
// background, size grips are blanked, group boxes get a rounded skin frame and status bars
// are drawn with their panels and grip from "StatusBarEdges" and "ExtraImages".
// GUI thread; owned by the control, or by the form skinner for a bare window.
#pragma once
#include "skin/SkinCtlUtil.h"
#include "skin/SkinSubclass.h"

// Recolours a panel; hooks no message. A property the skinner set on the panel
// ("Transparent", "Flat") is given back when it detaches.
class TSkinBox : public TSkinControl {
  KARV_CLASS(TSkinBox, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinBox() override;
  void Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) override;
  void Restore() override;
  void AfterDefault(TMessage&) override {}
  // Sets a published property of the panel for as long as it is skinned.
  void LendProperty(const std::string& name, const std::string& value);

 private:
  skinctl::PropertyLoan loan_;
};

class TSkinBoxH : public TSkinControl {
  KARV_CLASS(TSkinBoxH, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& m) override;
};

class TSkinSizer : public TSkinControl {
  KARV_CLASS(TSkinSizer, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void Paint(HDC dc, const RECT& r) override;
};

class TSkinGroupBox : public TSkinControl {
  KARV_CLASS(TSkinGroupBox, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  // Gives the colour back when the skin is taken off a living control.
  ~TSkinGroupBox() override;
  void Paint(HDC dc, const RECT& r) override;
};

// Switches the bar's own size grip off while skinned (the skin draws its own) and gives it
// back when it detaches.
class TSkinStatusBar : public TSkinControl {
  KARV_CLASS(TSkinStatusBar, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinStatusBar() override;
  void Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) override;
  void Restore() override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  skinctl::PropertyLoan sizeGrip_;
};

// True while the skinned control and its window are alive (not being destroyed).
bool SkinnedControlAlive(const TSkinControl& s);

// Ends a loan: given back while the control lives, dropped once its window is gone.
void EndPropertyLoan(skinctl::PropertyLoan& loan, const TSkinControl& owner);
