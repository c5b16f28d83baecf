// GDI handles of brushes and pens, made on demand.
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
