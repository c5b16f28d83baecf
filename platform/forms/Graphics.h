// Colours and fonts of the class library. A TColor is an RGB value (0x00BBGGRR) or a
// system colour (0x80000000 | COLOR_xxx).
// A font owns its GDI handle, made on first use and remade after a change. GUI thread only.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/rtl/Event.h"
#include "platform/rtl/Object.h"

using TColor = int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clNone = 0x1FFFFFFF;
constexpr TColor SysColor(int index) { return (TColor)(0x80000000u | (unsigned)index); }
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE), clWindow = SysColor(COLOR_WINDOW),
                 clWindowText = SysColor(COLOR_WINDOWTEXT), clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT), clBtnText = SysColor(COLOR_BTNTEXT),
                 clBtnShadow = SysColor(COLOR_BTNSHADOW), clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT),
                 clInfoBk = SysColor(COLOR_INFOBK), clGrayText = SysColor(COLOR_GRAYTEXT);

COLORREF ColorToRGB(TColor c);
// "clRed", "clBtnFace", "$00FF00" or a decimal number; false when not a colour.
bool IdentToColor(const std::string& text, TColor& out);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description and the GDI font made from it on demand.
class TFont : public TObject {
  KARV_CLASS(TFont, TObject)
 public:
  TFont();
  ~TFont() override;
  TFont(const TFont&) = delete;

  std::string Name() const { return name_; }
  void SetName(const std::string& n) { name_ = n; Changed(); }
  int Size() const { return size_; }  // points
  void SetSize(int s) { size_ = s; Changed(); }
  int Height() const;  // pixels, negative as in LOGFONT
  void SetHeight(int h);
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; Changed(); }
  unsigned Style() const { return style_; }
  void SetStyle(unsigned s) { style_ = s; Changed(); }
  int Charset() const { return charset_; }
  void SetCharset(int c) { charset_ = c; Changed(); }
  void Assign(const TFont& other);

  HFONT Handle() const;  // made on first use, kept until the font changes
  TNotifyEvent OnChange;

 private:
  void Changed();
  std::string name_ = "宋体";
  int size_ = 9;
  TColor color_ = clWindowText;
  unsigned style_ = 0;
  int charset_ = DEFAULT_CHARSET;
  mutable HFONT handle_ = nullptr;
};

// Pixels per logical inch of the screen.
int ScreenPixelsPerInch();
