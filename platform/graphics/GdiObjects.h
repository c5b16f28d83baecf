// Brushes and pens: attribute holders that make their GDI handle when it is asked for and
// remake it after a change. One that a canvas owns tells the canvas first, so a handle is
// never deleted while it is selected into a device context. (Fonts and colours are the
// class library's, platform/forms/Graphics.h.)
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

