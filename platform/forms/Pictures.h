// Picture holders of the class library: a bitmap glyph for buttons and an icon for the
// tray and image lists. Each owns its GDI handle, can be read from a form description
// ("Glyph.Data", "Icon.Data": the bytes of a bitmap or icon file) and reports changes.
// GUI thread only.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/rtl/Event.h"
#include "platform/rtl/Object.h"

// A device bitmap from the bytes of a bitmap file (optionally preceded by a 4-byte length),
// after checking that every part the header names lies inside the bytes; nullptr when they
// are not such a file. The caller deletes it.
HBITMAP BitmapFromFileBytes(std::string_view bytes);

class TGlyph : public TObject {
  KARV_CLASS(TGlyph, TObject)
 public:
  TGlyph();
  ~TGlyph() override;

  HBITMAP Handle() const { return handle_; }
  // Takes ownership of `h` (nullptr empties the glyph).
  void SetHandle(HBITMAP h);
  bool Empty() const { return handle_ == nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // A bitmap resource of `module`, looked up by name without regard to case. False, and
  // the glyph left as it was, when there is no such bitmap.
  bool LoadFromResourceName(HINSTANCE module, const std::string& name);
  // The bytes of a bitmap file, optionally preceded by a 4-byte length. False on bytes
  // that are not a whole bitmap file.
  bool LoadFromBytes(std::string_view bytes);
  void Assign(const TGlyph& other);
  // The colour of one pixel, or CLR_INVALID outside the picture.
  COLORREF Pixel(int x, int y) const;

  TNotifyEvent OnChange;

 private:
  void Changed();
  HBITMAP handle_ = nullptr;
  int width_ = 0, height_ = 0;
};

class TIconImage : public TObject {
  KARV_CLASS(TIconImage, TObject)
 public:
  TIconImage();
  ~TIconImage() override;

  HICON Handle() const { return handle_; }
  // Takes ownership of `h` (nullptr empties the icon).
  void SetHandle(HICON h);
  bool Empty() const { return handle_ == nullptr; }
  // The bytes of an icon file; its first picture is used. False on anything else.
  bool LoadFromBytes(std::string_view bytes);
  void Assign(const TIconImage& other);

  TNotifyEvent OnChange;

 private:
  void Changed();
  HICON handle_ = nullptr;
};
