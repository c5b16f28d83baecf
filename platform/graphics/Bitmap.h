// A bitmap of the class library: always a 24-bit top-down DIB section, so scan lines are
// plain rows of blue, green, red bytes. It has a canvas (a memory context with the bitmap
// selected) made when first used, and reads and writes bitmap files.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/graphics/Canvas.h"

enum class TPixelFormat { pf24bit };

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  // New size; the part that both sizes share keeps its pixels, new pixels are black.
  void SetSize(int width, int height);
  void SetWidth(int w) { SetSize(w, height_); }
  void SetHeight(int h) { SetSize(width_, h); }
  // Releases the image: width and height 0.
  void Clear();

  TPixelFormat PixelFormat() const { return TPixelFormat::pf24bit; }
  // Every bitmap here is 24-bit already; kept so callers can state what they rely on.
  void SetPixelFormat(TPixelFormat) {}

  // Row y, top row 0: Width() pixels of blue, green, red. Finishes pending GDI drawing first.
  uint8_t* ScanLine(int y);
  const uint8_t* ScanLine(int y) const;
  int Stride() const { return (width_ * 3 + 3) & ~3; }
  // 0x00BBGGRR (a COLORREF) of one pixel, straight from the bits.
  COLORREF PixelAt(int x, int y) const;

  HBITMAP Handle() const { return handle_; }
  TCanvas& Canvas();
  // A copy of another bitmap's size and pixels.
  void Assign(const TBitmap& other);
  // Takes over another bitmap's image, leaving it empty.
  void Swap(TBitmap& other);

  // A bitmap file (BITMAPFILEHEADER + info header + bits) of 1, 4, 8, 16, 24 or 32 bits
  // per pixel, uncompressed, run-length or bit-field coded. False (and the bitmap left
  // as it was) when the bytes are not such a file.
  bool LoadFromBytes(std::string_view file);
  // A bitmap resource (RT_BITMAP) of a module.
  bool LoadFromResourceName(HINSTANCE module, const char* name);
  // A 24-bit bitmap file.
  std::string SaveToBytes() const;

 private:
  class BitmapCanvas;
  bool LoadDib(const BITMAPINFO* info, size_t infoBytes, const void* bits, size_t bitsBytes);
  void Replace(HBITMAP handle, uint8_t* bits, int width, int height);

  HBITMAP handle_ = nullptr;
  uint8_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
  std::unique_ptr<BitmapCanvas> canvas_;
};
