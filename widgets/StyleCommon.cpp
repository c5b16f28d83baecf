#include "widgets/StyleCommon.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "platform/graphics/MeasureDC.h"

const std::vector<std::string>& FrameStyleNames() {
  static const std::vector<std::string> names = {"fsNone",   "fsFlat",     "fsGroove",  "fsBump",
                                                 "fsLowered", "fsButtonDown", "fsRaised", "fsButtonUp",
                                                 "fsStatus",  "fsPopup",    "fsFlatBold"};
  return names;
}

const std::vector<std::string>& SideNames() {
  static const std::vector<std::string> names = {"sdLeft", "sdTop", "sdRight", "sdBottom"};
  return names;
}

TSides SidesFromNames(const std::vector<std::string>& names) {
  TSides sides = 0;
  for (const auto& n : names)
    for (size_t i = 0; i < SideNames().size(); ++i)
      if (sys::SameText(n, SideNames()[i])) sides |= 1u << i;
  return sides;
}

std::vector<std::string> SidesToNames(TSides sides) {
  std::vector<std::string> out;
  for (size_t i = 0; i < SideNames().size(); ++i)
    if (sides & (1u << i)) out.push_back(SideNames()[i]);
  return out;
}

// ---------------------------------------------------------------- TBlinkingControlsList

TBlinkingControlsList::TBlinkingControlsList() : timer_(New<TTimer>(nullptr)) {
  timer_->OnTimer = TNotifyEvent(this, &TBlinkingControlsList::TimerTick);
  timer_->SetInterval(500);
  timer_->SetEnabled(true);
}

TBlinkingControlsList::~TBlinkingControlsList() = default;

std::unique_ptr<TBlinkingControlsList>& TBlinkingControlsList::Holder() {
  static std::unique_ptr<TBlinkingControlsList> holder;
  return holder;
}

TBlinkingControlsList* TBlinkingControlsList::Instance() { return Holder().get(); }

void TBlinkingControlsList::Register(TControl* control) {
  auto& holder = Holder();
  if (!holder) holder.reset(new TBlinkingControlsList());
  holder->Add(control);
}

void TBlinkingControlsList::Unregister(TControl* control) {
  auto& holder = Holder();
  if (!holder) return;
  holder->Remove(control);
  if (holder->Count() == 0) holder.reset();
}

void TBlinkingControlsList::Add(TControl* control) { controls_.push_back(control); }

void TBlinkingControlsList::Remove(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

void TBlinkingControlsList::TimerTick(TObject*) {
  blinkState_ = !blinkState_;
  timer_->SetInterval(blinkState_ ? intervalOff_ : intervalOn_);
  // A control may leave the list (or free the last label) while it is told.
  std::vector<TControl*> snapshot = controls_;
  for (TControl* c : snapshot) {
    if (Instance() != this) return;
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    if (c->Perform(CM_BLINKQUERY) == 1) c->Perform(CM_BLINKPHASE, blinkState_ ? 1 : 0);
  }
}

// ---------------------------------------------------------------- drawing

namespace {
void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}
}  // namespace

RECT DrawSides(HDC dc, RECT r, TColor upperLeft, TColor lowerRight, TSides sides) {
  HPEN light = CreatePen(PS_SOLID, 1, ColorToRGB(upperLeft));
  HPEN dark = CreatePen(PS_SOLID, 1, ColorToRGB(lowerRight));
  HGDIOBJ old = SelectObject(dc, light);
  if (sides & sdLeft) Line(dc, r.left, r.top, r.left, r.bottom);
  if (sides & sdTop) Line(dc, r.left, r.top, r.right, r.top);
  SelectObject(dc, dark);
  if (sides & sdRight) Line(dc, r.right - 1, r.top, r.right - 1, r.bottom);
  if (sides & sdBottom) Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(light);
  DeleteObject(dark);
  if (sides & sdLeft) ++r.left;
  if (sides & sdTop) ++r.top;
  if (sides & sdRight) --r.right;
  if (sides & sdBottom) --r.bottom;
  return r;
}

RECT DrawBevel(HDC dc, RECT r, TColor upperLeft, TColor lowerRight, int width, TSides sides) {
  for (int i = 0; i < width; ++i) r = DrawSides(dc, r, upperLeft, lowerRight, sides);
  return r;
}

RECT DrawBorderSides(HDC dc, RECT r, TFrameStyle style, TSides sides, int bevelWidth, const TFrameColors& c) {
  int w = std::max(1, bevelWidth);
  switch (style) {
    case TFrameStyle::fsNone: return r;
    case TFrameStyle::fsFlat: return DrawSides(dc, r, c.Flat, c.Flat, sides);
    case TFrameStyle::fsStatus: return DrawSides(dc, r, c.Shadow, c.Highlight, sides);
    case TFrameStyle::fsPopup: return DrawSides(dc, r, c.Highlight, c.Shadow, sides);
    case TFrameStyle::fsFlatBold: return DrawBevel(dc, r, c.Shadow, c.Shadow, 2, sides);
    case TFrameStyle::fsRaised:
      return DrawBevel(dc, DrawBevel(dc, r, c.Light, c.Dark, w, sides), c.Highlight, c.Shadow, w, sides);
    case TFrameStyle::fsLowered:
      return DrawBevel(dc, DrawBevel(dc, r, c.Shadow, c.Highlight, w, sides), c.Dark, c.Light, w, sides);
    case TFrameStyle::fsButtonUp:
      return DrawBevel(dc, DrawBevel(dc, r, c.Highlight, c.Dark, w, sides), c.Light, c.Shadow, w, sides);
    case TFrameStyle::fsButtonDown:
      return DrawBevel(dc, DrawBevel(dc, r, c.Text, c.Text, w, sides), c.Shadow, c.Shadow, w, sides);
    case TFrameStyle::fsGroove:
      return DrawSides(dc, DrawSides(dc, r, c.Shadow, c.Highlight, sides), c.Highlight, c.Shadow, sides);
    case TFrameStyle::fsBump:
      return DrawSides(dc, DrawSides(dc, r, c.Highlight, c.Shadow, sides), c.Shadow, c.Highlight, sides);
  }
  return r;
}

int FrameThickness(TFrameStyle style, int bevelWidth) {
  switch (style) {
    case TFrameStyle::fsNone: return 0;
    case TFrameStyle::fsFlat:
    case TFrameStyle::fsStatus:
    case TFrameStyle::fsPopup: return 1;
    case TFrameStyle::fsFlatBold:
    case TFrameStyle::fsGroove:
    case TFrameStyle::fsBump: return 2;
    default: return 2 * std::max(1, bevelWidth);
  }
}

// ---------------------------------------------------------------- fonts

HFONT CreateRotatedFont(const TFont& font, int angle) {
  LOGFONTA lf{};
  lf.lfHeight = font.Height();
  lf.lfWidth = 0;
  lf.lfEscapement = angle * 10;
  lf.lfOrientation = 0;
  lf.lfWeight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.Style() & fsItalic) != 0;
  lf.lfUnderline = (font.Style() & fsUnderline) != 0;
  lf.lfStrikeOut = (font.Style() & fsStrikeOut) != 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;  // the class library's fonts carry no pitch
  strncpy(lf.lfFaceName, font.Name().c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

bool IsTrueTypeFont(const TFont& font) {
  TMeasureDC measure;
  HDC dc = measure.Handle();
  HGDIOBJ old = SelectObject(dc, font.Handle());
  TEXTMETRICA tm{};
  bool ok = GetTextMetricsA(dc, &tm) != FALSE;
  SelectObject(dc, old);
  return ok && (tm.tmPitchAndFamily & TMPF_TRUETYPE);
}

TSides TOldPropReader::ReadFrameSides(const TPropValue& value) {
  if (auto* names = std::get_if<std::vector<std::string>>(&value)) return SidesFromNames(*names);
  return 0;
}
