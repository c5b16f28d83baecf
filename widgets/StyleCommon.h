// What the style labels share: the one list of blinking controls driven by one timer,
// drawing routines for frame sides, bevels and frame styles, the rotated-font factory, the
// TrueType test, and the reader of an older form property.
// GUI thread only: the blinking list and its timer are shared by every label of the process.
// Fonts made by the factory are the caller's to delete.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/Properties.h"

enum class TFrameStyle {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold
};
enum TSide : unsigned { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
using TSides = unsigned;
constexpr TSides kAllSides = sdLeft | sdTop | sdRight | sdBottom;

const std::vector<std::string>& FrameStyleNames();
const std::vector<std::string>& SideNames();
// Set element names to sides; unknown names are ignored.
TSides SidesFromNames(const std::vector<std::string>& names);
std::vector<std::string> SidesToNames(TSides sides);

// Control messages of the blinking list: the question "do you blink?" (answer 1) and the
// new phase (first parameter 1 or 0).
constexpr UINT CM_BLINKQUERY = 0xB3E8;
constexpr UINT CM_BLINKPHASE = 0xB3E9;

// One list for the whole program; it exists while at least one control is registered, and
// its timer runs all that time.
class TBlinkingControlsList : public TObject {
  KARV_CLASS(TBlinkingControlsList, TObject)
 public:
  ~TBlinkingControlsList() override;
  // The list while any control is registered, else nullptr.
  static TBlinkingControlsList* Instance();
  // Adds a control, making the list for the first one.
  static void Register(TControl* control);
  // Removes a control and frees the list when it becomes empty.
  static void Unregister(TControl* control);

  void Add(TControl* control);
  void Remove(TControl* control);
  virtual int Count() const { return (int)controls_.size(); }
  bool BlinkState() const { return blinkState_; }
  uint16_t IntervalOn() const { return intervalOn_; }
  void SetIntervalOn(uint16_t ms) { intervalOn_ = ms; }
  uint16_t IntervalOff() const { return intervalOff_; }
  void SetIntervalOff(uint16_t ms) { intervalOff_ = ms; }
  TTimer& Timer() { return *timer_; }
  // One tick: flip the phase, take the phase's interval, tell every blinking control.
  void TimerTick(TObject* sender);

 private:
  TBlinkingControlsList();
  static std::unique_ptr<TBlinkingControlsList>& Holder();
  bool blinkState_ = true;
  std::vector<TControl*> controls_;
  TOwned<TTimer> timer_;
  uint16_t intervalOn_ = 500, intervalOff_ = 500;
};

// Draws the chosen sides of `r` one pixel wide: left and top in `upperLeft`, right and
// bottom (one pixel inside the edge) in `lowerRight`. Returns `r` shrunk on those sides.
RECT DrawSides(HDC dc, RECT r, TColor upperLeft, TColor lowerRight, TSides sides);
// `width` rings of DrawSides, each inside the last.
RECT DrawBevel(HDC dc, RECT r, TColor upperLeft, TColor lowerRight, int width, TSides sides);

// The colours of frame styles; the defaults are the system's 3D colours.
struct TFrameColors {
  TColor Light = SysColor(COLOR_3DLIGHT);
  TColor Dark = SysColor(COLOR_3DDKSHADOW);
  TColor Highlight = clBtnHighlight;
  TColor Shadow = clBtnShadow;
  TColor Text = clBtnText;
  TColor Flat = SysColor(COLOR_3DDKSHADOW);  // both edges of fsFlat
};
// Draws a frame of `style` on `sides`; bevel styles use rings `bevelWidth` wide. Returns
// the area inside the frame.
RECT DrawBorderSides(HDC dc, RECT r, TFrameStyle style, TSides sides, int bevelWidth = 1,
                     const TFrameColors& colors = TFrameColors());
// Pixels a frame of `style` takes from each side it is drawn on.
int FrameThickness(TFrameStyle style, int bevelWidth = 1);

// A GDI font like `font`, its text turned by `angle` degrees counter-clockwise. The caller
// deletes it.
HFONT CreateRotatedFont(const TFont& font, int angle);
bool IsTrueTypeFont(const TFont& font);

// Older form descriptions named a label's frame sides "FrameSides"; this reads that value.
class TOldPropReader {
 public:
  static TSides ReadFrameSides(const TPropValue& value);
};
