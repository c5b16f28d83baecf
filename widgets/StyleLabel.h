// Style labels. TStyleLabel is a label with optional 3D text, rotated text, frames,
// blinking (driven by the shared blinking list) and a colour change while the mouse is over
// it; with its defaults it looks and behaves like the plain label. TUrlLabel is a link:
// underlined, in the highlight colour, with a hand cursor; a click opens its web address
// through the shell and marks it visited.
// GUI thread only; each label is owned by its owner component.
#pragma once
#include <cstdint>
#include <string>

#include "platform/forms/StdCtrls.h"
#include "widgets/StyleCommon.h"

enum class TRotation { roNone, roFlat, roCurve };
enum class TCenterPoint {
  cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter, cpLowerLeft, cpLowerCenter, cpLowerRight
};
enum class TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TStyleLabel : public TLabel {
  KARV_CLASS(TStyleLabel, TLabel)
 public:
  explicit TStyleLabel(TComponent* owner);
  ~TStyleLabel() override;
  void Loaded() override;

  int Angle() const { return angle_; }
  // Stored in 0..359; a turned text needs a TrueType font and a rotation.
  void SetAngle(int degrees);
  TRotation Rotation() const { return rotation_; }
  void SetRotation(TRotation v);
  TCenterPoint CenterPoint() const { return centerPoint_; }
  void SetCenterPoint(TCenterPoint v) { Change(centerPoint_, v); }
  TTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TTextStyle v) { Change(textStyle_, v); }
  bool LightTextStyle() const { return lightTextStyle_; }
  void SetLightTextStyle(bool v) { Change(lightTextStyle_, v); }
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor v) { Change(highlightColor_, v); }
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor v) { Change(shadowColor_, v); }
  int ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(int v) { Change(shadowDepth_, v); }
  bool Blinking() const { return blinking_; }
  void SetBlinking(bool v);
  TColor BlinkColor() const { return blinkColor_; }
  void SetBlinkColor(TColor v) { Change(blinkColor_, v); }
  // The intervals of the shared blinking list, so they are the same for every label.
  uint16_t BlinkIntervalOn() const;
  void SetBlinkIntervalOn(uint16_t ms);
  uint16_t BlinkIntervalOff() const;
  void SetBlinkIntervalOff(uint16_t ms);
  bool FlyByEnabled() const { return flyByEnabled_; }
  void SetFlyByEnabled(bool v) { Change(flyByEnabled_, v); }
  TColor FlyByColor() const { return flyByColor_; }
  void SetFlyByColor(TColor v) { Change(flyByColor_, v); }
  TFrameStyle BorderOuter() const { return borderOuter_; }
  void SetBorderOuter(TFrameStyle v) { ChangeFrame(borderOuter_, v); }
  TFrameStyle BorderInner() const { return borderInner_; }
  void SetBorderInner(TFrameStyle v) { ChangeFrame(borderInner_, v); }
  TSides BorderSides() const { return borderSides_; }
  void SetBorderSides(TSides v) { ChangeFrame(borderSides_, v); }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v) { ChangeFrame(borderWidth_, v); }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v) { ChangeFrame(bevelWidth_, v); }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v) { Change(borderColor_, v); }
  TColor BorderHighlight() const { return borderHighlight_; }
  void SetBorderHighlight(TColor v) { Change(borderHighlight_, v); }
  TColor BorderShadow() const { return borderShadow_; }
  void SetBorderShadow(TColor v) { Change(borderShadow_, v); }
  TColor FlatColor() const { return flatColor_; }
  void SetFlatColor(TColor v) { Change(flatColor_, v); }
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v) { Change(layout_, v); }

  void Paint(HDC dc) override;
  void WndProc(TMessage& m) override;

 protected:
  void FontChanged() override;
  void MeasureSize() override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  template <class T>
  void ChangeFrame(T& field, T value) {
    if (field == value) return;
    field = value;
    AdjustSize();
    Invalidate();
  }
  void ApplyAngleRules();
  // What the frames take from each side: left, top, right, bottom.
  RECT FrameInsets() const;
  SIZE TextExtent(HDC dc) const;
  void DrawPlainText(HDC dc, RECT r, TColor color);
  void DrawFlatText(HDC dc, RECT r, TColor color);
  void DrawCurvedText(HDC dc, RECT r, TColor color);

  int angle_ = 0;
  TRotation rotation_ = TRotation::roNone;
  TCenterPoint centerPoint_ = TCenterPoint::cpCenter;
  TTextStyle textStyle_ = TTextStyle::tsNormal;
  bool lightTextStyle_ = false;
  TColor highlightColor_ = clBtnHighlight, shadowColor_ = clBtnShadow;
  int shadowDepth_ = 2;
  bool blinking_ = false;
  TColor blinkColor_ = clHighlight;
  bool flyByEnabled_ = false;
  TColor flyByColor_ = clHighlight;
  TFrameStyle borderOuter_ = TFrameStyle::fsNone, borderInner_ = TFrameStyle::fsNone;
  TSides borderSides_ = kAllSides;
  int borderWidth_ = 0, bevelWidth_ = 1;
  TColor borderColor_ = clBtnFace, borderHighlight_ = clBtnHighlight, borderShadow_ = clBtnShadow;
  TColor flatColor_ = clBtnShadow;
  TTextLayout layout_ = TTextLayout::tlTop;

  TColor ownColor_;   // the font colour, taken when the font changes while not blinking
  TColor drawColor_;  // what the text is drawn in now
  bool flying_ = false;
  TColor savedFlyColor_ = clNone;
};

class TUrlLabel : public TStyleLabel {
  KARV_CLASS(TUrlLabel, TStyleLabel)
 public:
  // The screen's cursor number of the link's hand cursor.
  static constexpr int kHandCursor = 26000;

  explicit TUrlLabel(TComponent* owner);

  // The address to open; when blank the caption is opened.
  std::string URL() const { return url_; }
  void SetURL(const std::string& url) { url_ = url; }
  bool Visited() const { return visited_; }
  virtual void SetVisited(bool v);
  TColor UnvisitedColor() const { return unvisitedColor_; }
  virtual void SetUnvisitedColor(TColor c);
  TColor VisitedColor() const { return visitedColor_; }
  virtual void SetVisitedColor(TColor c);

 protected:
  virtual void UpdateColor();
  // Runs OnClick, then opens the address when it is a web address (http or https).
  void Click() override;

 private:
  std::string url_;
  bool visited_ = false;
  TColor unvisitedColor_ = clHighlight, visitedColor_ = clPurple;
};

void RegisterStyleLabel();
