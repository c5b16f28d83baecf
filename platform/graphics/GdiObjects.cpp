// GDI handles of fonts, brushes and pens, made on demand.
#include "platform/graphics/GdiObjects.h"

#include "platform/graphics/Canvas.h"

TGraphicsObject::~TGraphicsObject() { ReleaseHandle(); }

void TGraphicsObject::Changing() {
  if (handle_ && canvas_) canvas_->DeselectObjects();
  ReleaseHandle();
}

void TGraphicsObject::ReleaseHandle() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
}

int ScreenPixelsPerInch() {
  static const int ppi = [] {
    HDC dc = GetDC(nullptr);
    int v = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return v > 0 ? v : 96;
  }();
  return ppi;
}

TFont::TFont() : name_("宋体"), height_(-MulDiv(9, ScreenPixelsPerInch(), 72)) {}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = (BYTE)charset_;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_ = CreateFontIndirectA(&lf);
  }
  return (HFONT)handle_;
}

void TFont::Assign(const TFont& o) {
  Changing();
  name_ = o.name_;
  height_ = o.height_;
  style_ = o.style_;
  color_ = o.color_;
  charset_ = o.charset_;
}

void TFont::SetName(const std::string& n) {
  if (n == name_) return;
  Changing();
  name_ = n;
}
void TFont::SetHeight(int h) {
  if (h == height_) return;
  Changing();
  height_ = h;
}
int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }
void TFont::SetStyle(unsigned s) {
  if (s == style_) return;
  Changing();
  style_ = s;
}
void TFont::SetCharset(int cs) {
  if (cs == charset_) return;
  Changing();
  charset_ = cs;
}

void TFont::SetHandle(HFONT font) {
  LOGFONTA lf{};
  if (!font || !GetObjectA(font, sizeof lf, &lf)) return;
  Changing();
  name_ = lf.lfFaceName;
  height_ = lf.lfHeight;
  style_ = (lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
           (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0);
  charset_ = lf.lfCharSet;
}

HBRUSH TBrush::Handle() {
  if (!handle_) {
    if (style_ == TBrushStyle::bsClear) {
      LOGBRUSH lb{BS_HOLLOW, 0, 0};
      handle_ = CreateBrushIndirect(&lb);
    } else {
      handle_ = CreateSolidBrush(ColorToRGB(color_));
    }
  }
  return (HBRUSH)handle_;
}
void TBrush::Assign(const TBrush& o) {
  Changing();
  color_ = o.color_;
  style_ = o.style_;
}
void TBrush::SetColor(TColor c) {
  if (c == color_ && style_ == TBrushStyle::bsSolid) return;
  Changing();
  color_ = c;
  style_ = TBrushStyle::bsSolid;
}
void TBrush::SetStyle(TBrushStyle s) {
  if (s == style_) return;
  Changing();
  style_ = s;
}

HPEN TPen::Handle() {
  if (!handle_)
    handle_ = CreatePen(style_ == TPenStyle::psClear ? PS_NULL : PS_SOLID, width_, ColorToRGB(color_));
  return (HPEN)handle_;
}
void TPen::SetColor(TColor c) {
  if (c == color_) return;
  Changing();
  color_ = c;
}
void TPen::SetWidth(int w) {
  if (w == width_) return;
  Changing();
  width_ = w;
}
void TPen::SetStyle(TPenStyle s) {
  if (s == style_) return;
  Changing();
  style_ = s;
}
