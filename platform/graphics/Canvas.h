// A drawing surface over a device context, with its own font, brush and pen. A canvas is
// either bound to a context that someone else owns (SetHandle) or makes its own (a bitmap's
// canvas). The context handed out by Handle() has the canvas's objects selected, so GDI
// calls made on it directly see them too.
#pragma once
#include <windows.h>

#include <string>

#include "platform/forms/Graphics.h"
#include "platform/graphics/GdiObjects.h"

class TBitmap;

class TCanvas {
 public:
  TCanvas();
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle();
  // Binds to a context owned by the caller; 0 unbinds (the context gets its objects back).
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }
  // Raster operation of Draw, StretchDraw and CopyRect (SRCCOPY at first).
  DWORD CopyMode() const { return copyMode_; }
  void SetCopyMode(DWORD rop) { copyMode_ = rop; }

  void FillRect(const RECT& r);   // with the brush
  void FrameRect(const RECT& r);  // one pixel, with the brush
  void Rectangle(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Text in the font's colour; transparent when the brush is clear.
  void TextOut(int x, int y, const std::string& text);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TBitmap& bitmap);
  void StretchDraw(const RECT& r, TBitmap& bitmap);
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);
  COLORREF Pixel(int x, int y);
  void SetPixel(int x, int y, TColor c);

  // Puts the context's own objects back (before a selected handle is deleted).
  void DeselectObjects();

 protected:
  // A canvas that makes its own context does it here, calling AdoptContext.
  virtual void CreateHandle() {}
  void AdoptContext(HDC dc) { dc_ = dc; }
  // Lets go of the context without deleting it; returns it.
  HDC ReleaseContext();

 private:
  void FontChanged(TObject*);
  HDC dc_ = nullptr;
  bool selected_ = false;
  HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
  // The canvas selects its own copy of the font's handle, so the font may drop its handle
  // at any change without it being selected anywhere.
  HFONT fontCopy_ = nullptr;
  DWORD copyMode_ = SRCCOPY;
  TFont font_;
  TBrush brush_;
  TPen pen_;
};
