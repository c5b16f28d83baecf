#include "platform/forms/Image.h"

#include <cstring>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/Exception.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  RegisterImage();
  width_ = 105;
  height_ = 105;
}

TImage::~TImage() {
  if (bitmap_) DeleteObject(bitmap_);
}

void TImage::SetBitmap(HBITMAP bmp) {
  if (bitmap_ && bitmap_ != bmp) DeleteObject(bitmap_);
  bitmap_ = bmp;
  Invalidate();
}

bool TImage::LoadFromResource(HMODULE module, const std::string& name) {
  auto bmp = (HBITMAP)LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (!bmp) return false;
  SetBitmap(bmp);
  return true;
}

bool TImage::LoadFromBytes(const std::string& bytes) {
  HBITMAP bmp = BitmapFromFileBytes(bytes);
  if (!bmp) return false;
  SetBitmap(bmp);
  return true;
}

SIZE TImage::PictureSize() const {
  BITMAP b{};
  if (bitmap_) GetObjectA(bitmap_, sizeof b, &b);
  return SIZE{b.bmWidth, b.bmHeight};
}

void TImage::Paint(HDC dc) {
  if (!bitmap_) return;
  SIZE s = PictureSize();
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap_);
  int x = 0, y = 0, w = s.cx, h = s.cy;
  if (stretch_) {
    w = width_;
    h = height_;
  } else if (center_) {
    x = (width_ - s.cx) / 2;
    y = (height_ - s.cy) / 2;
  }
  if (transparent_) {
    // The colour of the bottom-left pixel is see-through, as in the class library.
    COLORREF key = GetPixel(mem, 0, s.cy - 1);
    TransparentBlt(dc, x, y, w, h, mem, 0, 0, s.cx, s.cy, key);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, x, y, w, h, mem, 0, 0, s.cx, s.cy, SRCCOPY);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
}

void RegisterImage() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  RegisterProperties(TImage::StaticClass(), {
      BoolProperty("Stretch", &TImage::Stretch, &TImage::SetStretch),
      BoolProperty("Center", &TImage::Center, &TImage::SetCenter),
      BoolProperty("Transparent", &TImage::Transparent, &TImage::SetTransparent),
      // The bytes of a .bmp file.
      MakeProp<TImage>("Picture", TPropType::Binary, [](const TImage*) { return std::string(); },
                       [](TImage* i, const TPropValue& v) {
                         if (!i->LoadFromBytes(std::get<std::string>(v))) throw Exception("invalid picture data");
                       }),
  });
  RegisterComponentClass<TImage>();
}
