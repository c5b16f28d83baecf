// Fonts, brushes and pens: attribute holders that make their GDI handle when it is asked
// for and remake it after a change. One that a canvas owns tells the canvas first, so a
// handle is never deleted while it is selected into a device context.
#pragma once
#include <windows.h>

#include <string>

#include "platform/graphics/Colors.h"

class TCanvas;

class TGraphicsObject {
 public:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;
  virtual ~TGraphicsObject();
  void SetOwnerCanvas(TCanvas* c) { canvas_ = c; }

 protected:
  // Called before the handle is dropped: the owning canvas lets go of it.
  void Changing();
  void ReleaseHandle();
  HGDIOBJ handle_ = nullptr;

 private:
  TCanvas* canvas_ = nullptr;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TGraphicsObject {
 public:
  TFont();
  HFONT Handle();
  // Takes name, height, style, colour and character set.
  void Assign(const TFont& other);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  // Character height in pixels (negative: cell height without internal leading, as GDI).
  int Height() const { return height_; }
  void SetHeight(int h);
  // Size in points at the screen's resolution.
  int Size() const;
  void SetSize(int points);
  unsigned Style() const { return style_; }
  void SetStyle(unsigned s);
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; }  // the colour is not part of the handle
  int Charset() const { return charset_; }
  void SetCharset(int cs);
  // Takes the attributes of a GDI font (name, height, style, character set).
  void SetHandle(HFONT font);

 private:
  std::string name_;
  int height_;
  unsigned style_ = 0;
  TColor color_ = clWindowText;
  int charset_ = DEFAULT_CHARSET;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
 public:
  HBRUSH Handle();
  void Assign(const TBrush& other);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle s);

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
};

enum class TPenStyle { psSolid, psClear };

class TPen : public TGraphicsObject {
 public:
  HPEN Handle();
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  int Width() const { return width_; }
  void SetWidth(int w);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle s);

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
};

// Screen pixels per logical inch (vertical).
int ScreenPixelsPerInch();
