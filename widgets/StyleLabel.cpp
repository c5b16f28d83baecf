#include "widgets/StyleLabel.h"

#include <algorithm>
#include <cmath>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/graphics/MeasureDC.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

POINT Turn(double x, double y, double degrees) {
  // Counter-clockwise on the screen, where y grows downwards.
  double a = degrees * kPi / 180.0, c = std::cos(a), s = std::sin(a);
  return POINT{(LONG)std::lround(x * c + y * s), (LONG)std::lround(-x * s + y * c)};
}

// The box of a w x h text turned by `degrees` about its top-left corner, relative to that corner.
RECT TurnedBox(int w, int h, double degrees) {
  POINT corners[4] = {{0, 0}, Turn(w, 0, degrees), Turn(0, h, degrees), Turn(w, h, degrees)};
  RECT b{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (const POINT& p : corners) {
    b.left = std::min(b.left, p.x);
    b.top = std::min(b.top, p.y);
    b.right = std::max(b.right, p.x);
    b.bottom = std::max(b.bottom, p.y);
  }
  return b;
}

// The point of `r` that a centre-point value names.
POINT AnchorOf(const RECT& r, TCenterPoint cp) {
  int col = (int)cp % 3, row = (int)cp / 3;
  return POINT{col == 0 ? r.left : col == 1 ? (r.left + r.right) / 2 : r.right,
               row == 0 ? r.top : row == 1 ? (r.top + r.bottom) / 2 : r.bottom};
}

// Only web addresses are handed to the shell: text that reached a label from elsewhere (a
// server's friend record) must never start a program.
bool IsWebAddress(const std::string& target) {
  std::string lower = sys::LowerCase(target);
  size_t scheme = lower.rfind("http://", 0) == 0 ? 7 : lower.rfind("https://", 0) == 0 ? 8 : 0;
  if (scheme == 0 || target.size() == scheme) return false;
  return std::none_of(target.begin(), target.end(), [](char c) { return (unsigned char)c <= ' ' || c == '"'; });
}

void FillArea(HDC dc, const RECT& r, TColor color) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(color));
  FillRect(dc, &r, b);
  DeleteObject(b);
}
}  // namespace

// ---------------------------------------------------------------- TStyleLabel

TStyleLabel::TStyleLabel(TComponent* owner) : TLabel(owner) {
  RegisterStyleLabel();
  ownColor_ = drawColor_ = font_->Color();
  TBlinkingControlsList::Register(this);
}

TStyleLabel::~TStyleLabel() { TBlinkingControlsList::Unregister(this); }

void TStyleLabel::Loaded() {
  TLabel::Loaded();
  ApplyAngleRules();
}

void TStyleLabel::SetAngle(int degrees) {
  int a = ((degrees % 360) + 360) % 360;
  if (a == angle_) return;
  angle_ = a;
  ApplyAngleRules();
  AdjustSize();
  Invalidate();
}

void TStyleLabel::ApplyAngleRules() {
  if (angle_ == 0) return;
  if (!IsTrueTypeFont(*font_)) font_->SetName("Verdana");
  if (rotation_ == TRotation::roNone) SetRotation(TRotation::roFlat);
}

void TStyleLabel::SetRotation(TRotation v) { ChangeFrame(rotation_, v); }

void TStyleLabel::SetBlinking(bool v) {
  if (v == blinking_) return;
  blinking_ = v;
  if (!v) drawColor_ = ownColor_;
  Invalidate();
}

uint16_t TStyleLabel::BlinkIntervalOn() const { return TBlinkingControlsList::Instance()->IntervalOn(); }
void TStyleLabel::SetBlinkIntervalOn(uint16_t ms) { TBlinkingControlsList::Instance()->SetIntervalOn(ms); }
uint16_t TStyleLabel::BlinkIntervalOff() const { return TBlinkingControlsList::Instance()->IntervalOff(); }
void TStyleLabel::SetBlinkIntervalOff(uint16_t ms) { TBlinkingControlsList::Instance()->SetIntervalOff(ms); }

void TStyleLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_BLINKQUERY) {
    m.Result = blinking_ ? 1 : 0;
    return;
  }
  if (m.Msg == CM_BLINKPHASE) {
    drawColor_ = m.WParam ? blinkColor_ : ownColor_;
    Invalidate();
    return;
  }
  TLabel::WndProc(m);
}

void TStyleLabel::FontChanged() {
  if (!blinking_) ownColor_ = drawColor_ = font_->Color();
  TLabel::FontChanged();
}

void TStyleLabel::MouseEnter() {
  if (flyByEnabled_ && !flying_) {
    flying_ = true;
    savedFlyColor_ = font_->Color();
    font_->SetColor(flyByColor_);
  }
  TLabel::MouseEnter();
}

void TStyleLabel::MouseLeave() {
  if (flying_) {
    flying_ = false;
    font_->SetColor(savedFlyColor_);
  }
  TLabel::MouseLeave();
}

RECT TStyleLabel::FrameInsets() const {
  int t = FrameThickness(borderOuter_, bevelWidth_) + std::max(0, borderWidth_) + FrameThickness(borderInner_, bevelWidth_);
  auto on = [&](TSides s) { return (LONG)((borderSides_ & s) ? t : 0); };
  return RECT{on(sdLeft), on(sdTop), on(sdRight), on(sdBottom)};
}

SIZE TStyleLabel::TextExtent(HDC dc) const {
  std::string text = caption_.empty() ? " " : caption_;
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), (int)text.size(), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  return SIZE{r.right, r.bottom};
}

void TStyleLabel::MeasureSize() {
  if (!autoSize_ || rotation_ == TRotation::roCurve || (wordWrap_ && rotation_ == TRotation::roNone)) return;
  TMeasureDC measure;
  HDC dc = measure.Handle();
  HGDIOBJ old = SelectObject(dc, font_->Handle());
  SIZE text = TextExtent(dc);
  SelectObject(dc, old);
  if (rotation_ == TRotation::roFlat) {
    RECT box = TurnedBox(text.cx, text.cy, angle_);
    text = SIZE{box.right - box.left, box.bottom - box.top};
  }
  RECT in = FrameInsets();
  int w = text.cx + in.left + in.right, h = text.cy + in.top + in.bottom;
  if (w != width_ || h != height_) SetBounds(left_, top_, w, h);
}

void TStyleLabel::Paint(HDC dc) {
  RECT r{0, 0, width_, height_};
  TFrameColors colors;
  colors.Highlight = borderHighlight_;
  colors.Shadow = borderShadow_;
  colors.Flat = flatColor_;
  r = DrawBorderSides(dc, r, borderOuter_, borderSides_, bevelWidth_, colors);
  if (borderWidth_ > 0) {
    if (!transparent_) FillArea(dc, r, borderColor_);
    int g = borderWidth_;
    r = RECT{r.left + ((borderSides_ & sdLeft) ? g : 0), r.top + ((borderSides_ & sdTop) ? g : 0),
             r.right - ((borderSides_ & sdRight) ? g : 0), r.bottom - ((borderSides_ & sdBottom) ? g : 0)};
  }
  r = DrawBorderSides(dc, r, borderInner_, borderSides_, bevelWidth_, colors);
  if (!transparent_) FillArea(dc, r, color_);
  HGDIOBJ oldFont = SelectObject(dc, font_->Handle());
  SetBkMode(dc, TRANSPARENT);
  TColor color = enabled_ ? drawColor_ : clGrayText;
  switch (rotation_) {
    case TRotation::roNone: DrawPlainText(dc, r, color); break;
    case TRotation::roFlat: DrawFlatText(dc, r, color); break;
    case TRotation::roCurve: DrawCurvedText(dc, r, color); break;
  }
  SelectObject(dc, oldFont);
}

void TStyleLabel::DrawPlainText(HDC dc, RECT r, TColor color) {
  UINT fmt = DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
  if (alignment_ == TAlignment::taCenter) fmt |= DT_CENTER;
  if (alignment_ == TAlignment::taRightJustify) fmt |= DT_RIGHT;
  if (layout_ != TTextLayout::tlTop) {
    RECT need = r;
    DrawTextA(dc, caption_.c_str(), (int)caption_.size(), &need, fmt | DT_CALCRECT);
    int room = (r.bottom - r.top) - (need.bottom - need.top);
    r.top += layout_ == TTextLayout::tlCenter ? room / 2 : room;
  }
  auto draw = [&](int dx, int dy, TColor c) {
    RECT t = r;
    OffsetRect(&t, dx, dy);
    SetTextColor(dc, ColorToRGB(c));
    DrawTextA(dc, caption_.c_str(), (int)caption_.size(), &t, fmt);
  };
  switch (textStyle_) {
    case TTextStyle::tsRaised:
      draw(-1, -1, highlightColor_);
      if (!lightTextStyle_) draw(1, 1, shadowColor_);
      break;
    case TTextStyle::tsRecessed:
      draw(1, 1, highlightColor_);
      if (!lightTextStyle_) draw(-1, -1, shadowColor_);
      break;
    case TTextStyle::tsShadow: draw(shadowDepth_, shadowDepth_, shadowColor_); break;
    case TTextStyle::tsNormal: break;
  }
  draw(0, 0, color);
}

void TStyleLabel::DrawFlatText(HDC dc, RECT r, TColor color) {
  SIZE text = TextExtent(dc);
  RECT box = TurnedBox(text.cx, text.cy, angle_);
  POINT anchor = AnchorOf(r, centerPoint_);
  int col = (int)centerPoint_ % 3, row = (int)centerPoint_ / 3;
  int bw = box.right - box.left, bh = box.bottom - box.top;
  int left = col == 0 ? anchor.x : col == 1 ? anchor.x - bw / 2 : anchor.x - bw;
  int top = row == 0 ? anchor.y : row == 1 ? anchor.y - bh / 2 : anchor.y - bh;
  int x = left - box.left, y = top - box.top;  // where the text's own top-left corner lands
  HFONT turned = CreateRotatedFont(*font_, angle_);
  HGDIOBJ old = SelectObject(dc, turned);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  auto draw = [&](int dx, int dy, TColor c) {
    SetTextColor(dc, ColorToRGB(c));
    TextOutA(dc, x + dx, y + dy, caption_.c_str(), (int)caption_.size());
  };
  if (textStyle_ == TTextStyle::tsRaised || textStyle_ == TTextStyle::tsRecessed) {
    int d = textStyle_ == TTextStyle::tsRaised ? -1 : 1;
    draw(d, d, highlightColor_);
    if (!lightTextStyle_) draw(-d, -d, shadowColor_);
  } else if (textStyle_ == TTextStyle::tsShadow) {
    draw(shadowDepth_, shadowDepth_, shadowColor_);
  }
  draw(0, 0, color);
  SelectObject(dc, old);
  DeleteObject(turned);
}

void TStyleLabel::DrawCurvedText(HDC dc, RECT r, TColor color) {
  // The characters stand on a circle about the centre point, the middle of the text in the
  // direction of Angle.
  SIZE text = TextExtent(dc);
  POINT centre = AnchorOf(r, centerPoint_);
  double radius = std::max<double>(text.cy, std::min(r.right - r.left, r.bottom - r.top) / 2.0 - text.cy);
  double along = 0, start = angle_ * kPi / 180.0 + text.cx / radius / 2.0;
  SetTextColor(dc, ColorToRGB(color));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  for (size_t i = 0; i < caption_.size();) {
    size_t n = sys::IsLeadByte((unsigned char)caption_[i]) && i + 1 < caption_.size() ? 2 : 1;
    SIZE ch;
    GetTextExtentPoint32A(dc, caption_.c_str() + i, (int)n, &ch);
    double theta = start - (along + ch.cx / 2.0) / radius;
    double turn = theta * 180.0 / kPi - 90.0;
    POINT foot{centre.x + (LONG)std::lround(radius * std::cos(theta)), centre.y - (LONG)std::lround(radius * std::sin(theta))};
    POINT half = Turn(ch.cx / 2.0, ch.cy, turn);
    HFONT f = CreateRotatedFont(*font_, (int)std::lround(turn));
    HGDIOBJ old = SelectObject(dc, f);
    TextOutA(dc, foot.x - half.x, foot.y - half.y, caption_.c_str() + i, (int)n);
    SelectObject(dc, old);
    DeleteObject(f);
    along += ch.cx;
    i += n;
  }
}

// ---------------------------------------------------------------- TUrlLabel

TUrlLabel::TUrlLabel(TComponent* owner) : TStyleLabel(owner) {
  RegisterStyleLabel();
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "STYLECOMMON_HANDCURSOR");
  Screen().SetCursors(kHandCursor, hand ? hand : LoadCursor(nullptr, IDC_HAND));
  SetCursor(kHandCursor);
  SetTextStyle(TTextStyle::tsNormal);
  font_->SetColor(unvisitedColor_);
  font_->SetStyle(font_->Style() | fsUnderline);
}

void TUrlLabel::UpdateColor() {
  font_->SetColor(visited_ ? visitedColor_ : unvisitedColor_);
  Invalidate();
}

void TUrlLabel::SetVisited(bool v) {
  if (v == visited_) return;
  visited_ = v;
  UpdateColor();
}

void TUrlLabel::SetUnvisitedColor(TColor c) {
  if (c == unvisitedColor_) return;
  unvisitedColor_ = c;
  UpdateColor();
}

void TUrlLabel::SetVisitedColor(TColor c) {
  if (c == visitedColor_) return;
  visitedColor_ = c;
  UpdateColor();
}

void TUrlLabel::Click() {
  TStyleLabel::Click();
  std::string target = sys::Trim(url_).empty() ? caption_ : url_;
  target = sys::Trim(target);
  if (!IsWebAddress(target)) return;
  if (seams::Shell().Open(target, "")) {
    SetVisited(true);
  } else if (sys::UpperCase(sys::ExtractFileExt(target)) == ".HTM") {
    char dir[MAX_PATH] = "";
    GetSystemDirectoryA(dir, MAX_PATH);
    seams::Shell().StartProcess(std::string(dir) + "\\RunDLL32.exe", "Shell32.dll,OpenAs_RunDLL *.htm");
  }
}

// ---------------------------------------------------------------- registration

void RegisterStyleLabel() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStdCtrls();
  using S = TStyleLabel;
  auto sidesProp = [](const char* name) {
    return MakeProp<S>(name, TPropType::Set, [](const S* s) { return SidesToNames(s->BorderSides()); },
                       [](S* s, const TPropValue& v) { s->SetBorderSides(TOldPropReader::ReadFrameSides(v)); },
                       SideNames());
  };
  RegisterProperties(S::StaticClass(), {
      OrdProperty<S>("Angle", &S::Angle, &S::SetAngle),
      EnumProperty<S>("Rotation", {"roNone", "roFlat", "roCurve"}, &S::Rotation, &S::SetRotation),
      EnumProperty<S>("CenterPoint",
                  {"cpUpperLeft", "cpUpperCenter", "cpUpperRight", "cpLeftCenter", "cpCenter", "cpRightCenter",
                   "cpLowerLeft", "cpLowerCenter", "cpLowerRight"},
                  &S::CenterPoint, &S::SetCenterPoint),
      EnumProperty<S>("TextStyle", {"tsNormal", "tsRaised", "tsRecessed", "tsShadow"}, &S::TextStyle, &S::SetTextStyle),
      BoolProperty<S>("LightTextStyle", &S::LightTextStyle, &S::SetLightTextStyle),
      OrdProperty<S>("HighlightColor", &S::HighlightColor, &S::SetHighlightColor),
      OrdProperty<S>("ShadowColor", &S::ShadowColor, &S::SetShadowColor),
      OrdProperty<S>("ShadowDepth", &S::ShadowDepth, &S::SetShadowDepth),
      BoolProperty<S>("Blinking", &S::Blinking, &S::SetBlinking),
      OrdProperty<S>("BlinkColor", &S::BlinkColor, &S::SetBlinkColor),
      OrdProperty<S>("BlinkIntervalOn", &S::BlinkIntervalOn, &S::SetBlinkIntervalOn),
      OrdProperty<S>("BlinkIntervalOff", &S::BlinkIntervalOff, &S::SetBlinkIntervalOff),
      BoolProperty<S>("FlyByEnabled", &S::FlyByEnabled, &S::SetFlyByEnabled),
      OrdProperty<S>("FlyByColor", &S::FlyByColor, &S::SetFlyByColor),
      EnumProperty<S>("BorderOuter", FrameStyleNames(), &S::BorderOuter, &S::SetBorderOuter),
      EnumProperty<S>("BorderInner", FrameStyleNames(), &S::BorderInner, &S::SetBorderInner),
      sidesProp("BorderSides"),
      sidesProp("FrameSides"),  // the older name of BorderSides
      OrdProperty<S>("BorderWidth", &S::BorderWidth, &S::SetBorderWidth),
      OrdProperty<S>("BevelWidth", &S::BevelWidth, &S::SetBevelWidth),
      OrdProperty<S>("BorderColor", &S::BorderColor, &S::SetBorderColor),
      OrdProperty<S>("BorderHighlight", &S::BorderHighlight, &S::SetBorderHighlight),
      OrdProperty<S>("BorderShadow", &S::BorderShadow, &S::SetBorderShadow),
      OrdProperty<S>("FlatColor", &S::FlatColor, &S::SetFlatColor),
      EnumProperty<S>("Layout", {"tlTop", "tlCenter", "tlBottom"}, &S::Layout, &S::SetLayout),
  });
  using U = TUrlLabel;
  RegisterProperties(U::StaticClass(), {
      StringProperty<U>("URL", &U::URL, &U::SetURL),
      BoolProperty<U>("Visited", &U::Visited, &U::SetVisited),
      OrdProperty<U>("UnvisitedColor", &U::UnvisitedColor, &U::SetUnvisitedColor),
      OrdProperty<U>("VisitedColor", &U::VisitedColor, &U::SetVisitedColor),
  });
  RegisterComponentClass<TStyleLabel>();
  RegisterComponentClass<TUrlLabel>();
}
