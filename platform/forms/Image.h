// A picture on a form (no window of its own): a bitmap from a file, a resource, raw
// bitmap-file bytes of the form description, or handed over by code.
// The image owns its bitmap: a new one frees the last. GUI thread only.
#pragma once
#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Pictures.h"  // BitmapFromFileBytes

class TImage : public TGraphicControl {
  KARV_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  // Takes ownership of the bitmap (nullptr clears the picture).
  void SetBitmap(HBITMAP bmp);
  HBITMAP Bitmap() const { return bitmap_; }
  // A bitmap resource of a module (names without regard to case).
  bool LoadFromResource(HMODULE module, const std::string& name);
  // The bytes of a .bmp file.
  bool LoadFromBytes(const std::string& bytes);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v) { stretch_ = v; Invalidate(); }
  bool Center() const { return center_; }
  void SetCenter(bool v) { center_ = v; Invalidate(); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; Invalidate(); }
  SIZE PictureSize() const;
  void Paint(HDC dc) override;

 private:
  HBITMAP bitmap_ = nullptr;
  bool stretch_ = false, center_ = false, transparent_ = false;
};


void RegisterImage();
