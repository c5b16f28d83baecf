#include "platform/forms/Graphics.h"

#include <cstring>

#include "platform/forms/Properties.h"
#include "platform/graphics/MeasureDC.h"
#include "platform/rtl/SysUtils.h"

COLORREF ColorToRGB(TColor c) {
  if ((uint32_t)c & 0x80000000u) return GetSysColor((int)((uint32_t)c & 0xFF));
  return (COLORREF)(c & 0xFFFFFF);
}

namespace {
struct ColorName {
  const char* name;
  TColor value;
};
const ColorName kColors[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clNone", clNone}, {"clBtnFace", clBtnFace}, {"clWindow", clWindow}, {"clWindowText", clWindowText},
    {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText}, {"clBtnText", clBtnText},
    {"clBtnShadow", clBtnShadow}, {"clBtnHighlight", clBtnHighlight}, {"clInfoBk", clInfoBk},
    {"clGrayText", clGrayText}};
}  // namespace

bool IdentToColor(const std::string& text, TColor& out) {
  for (const auto& c : kColors)
    if (sys::SameText(c.name, text)) {
      out = c.value;
      return true;
    }
  std::string t = sys::Trim(text);
  if (t.empty()) return false;
  int v = sys::StrToIntDef(t, 0x7FFFFFFF);
  if (v == 0x7FFFFFFF && t != "2147483647") return false;
  out = v;
  return true;
}

int ScreenPixelsPerInch() {
  TMeasureDC dc;
  int ppi = GetDeviceCaps(dc.Handle(), LOGPIXELSY);
  return ppi > 0 ? ppi : 96;
}

TFont::TFont() {
  static bool registered = [] {
    RegisterProperties(StaticClass(), {
        StringProperty("Name", &TFont::Name, &TFont::SetName),
        IntProperty("Size", &TFont::Size, &TFont::SetSize),
        IntProperty("Height", &TFont::Height, &TFont::SetHeight),
        OrdProperty("Color", &TFont::Color, &TFont::SetColor),
        IntProperty("Charset", &TFont::Charset, &TFont::SetCharset),
        FlagsProperty("Style", {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}},
                      &TFont::Style, &TFont::SetStyle),
    });
    return true;
  }();
  (void)registered;
}

TFont::~TFont() {
  if (handle_) DeleteObject(handle_);
}

int TFont::Height() const { return -MulDiv(size_, ScreenPixelsPerInch(), 72); }
void TFont::SetHeight(int h) { SetSize(MulDiv(h < 0 ? -h : h, 72, ScreenPixelsPerInch())); }

void TFont::Assign(const TFont& o) {
  name_ = o.name_;
  size_ = o.size_;
  color_ = o.color_;
  style_ = o.style_;
  charset_ = o.charset_;
  Changed();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = Height();
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = (BYTE)charset_;
    lf.lfQuality = DEFAULT_QUALITY;
    strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_ = CreateFontIndirectA(&lf);
  }
  return handle_;
}

void TFont::Changed() {
  if (handle_) {
    DeleteObject(handle_);
    handle_ = nullptr;
  }
  if (OnChange) OnChange(this);
}
