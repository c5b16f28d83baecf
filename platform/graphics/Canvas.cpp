// Canvas operations over GDI.
#include "platform/graphics/Canvas.h"

#include "platform/graphics/Bitmap.h"

TCanvas::TCanvas() {
  font_.OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
  brush_.SetOwnerCanvas(this);
  pen_.SetOwnerCanvas(this);
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  if (fontCopy_) DeleteObject(fontCopy_);
}

void TCanvas::FontChanged(TObject*) {
  DeselectObjects();
  if (fontCopy_) DeleteObject(fontCopy_);
  fontCopy_ = nullptr;
}

HDC TCanvas::Handle() {
  if (!dc_) CreateHandle();
  if (dc_ && !selected_) {
    if (!fontCopy_) {
      LOGFONTA lf{};
      GetObjectA(font_.Handle(), sizeof lf, &lf);
      fontCopy_ = CreateFontIndirectA(&lf);
    }
    oldFont_ = SelectObject(dc_, fontCopy_);
    oldBrush_ = SelectObject(dc_, brush_.Handle());
    oldPen_ = SelectObject(dc_, pen_.Handle());
    selected_ = true;
  }
  return dc_;
}

void TCanvas::DeselectObjects() {
  if (dc_ && selected_) {
    SelectObject(dc_, oldFont_);
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldPen_);
  }
  selected_ = false;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  DeselectObjects();
  dc_ = dc;
}

HDC TCanvas::ReleaseContext() {
  DeselectObjects();
  HDC dc = dc_;
  dc_ = nullptr;
  return dc;
}

void TCanvas::FillRect(const RECT& r) { ::FillRect(Handle(), &r, brush_.Handle()); }

void TCanvas::FrameRect(const RECT& r) { ::FrameRect(Handle(), &r, brush_.Handle()); }

void TCanvas::Rectangle(int left, int top, int right, int bottom) { ::Rectangle(Handle(), left, top, right, bottom); }

void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) { ::LineTo(Handle(), x, y); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
  HDC dc = Handle();
  SetTextColor(dc, ColorToRGB(font_.Color()));
  if (brush_.Style() == TBrushStyle::bsClear) {
    SetBkMode(dc, TRANSPARENT);
  } else {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(brush_.Color()));
  }
  ::TextOutA(dc, x, y, text.data(), (int)text.size());
}

SIZE TCanvas::TextExtent(const std::string& text) {
  SIZE s{0, 0};
  GetTextExtentPoint32A(Handle(), text.data(), (int)text.size(), &s);
  return s;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  BitBlt(Handle(), x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, copyMode_);
}

void TCanvas::StretchDraw(const RECT& r, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  HDC dc = Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bitmap.Canvas().Handle(), 0, 0,
             bitmap.Width(), bitmap.Height(), copyMode_);
}

void TCanvas::CopyRect(const RECT& d, TCanvas& source, const RECT& s) {
  HDC dc = Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, source.Handle(), s.left, s.top,
             s.right - s.left, s.bottom - s.top, copyMode_);
}

COLORREF TCanvas::Pixel(int x, int y) { return GetPixel(Handle(), x, y); }

void TCanvas::SetPixel(int x, int y, TColor c) { ::SetPixel(Handle(), x, y, ColorToRGB(c)); }
