// Pixel loops over the bitmaps' scan lines (3 bytes per pixel: blue, green, red).
#include "skin/SkinBitmaps.h"

#include <cstring>
#include <string>
#include <utility>

#include "platform/graphics/Bitmap.h"

void SkinGrayBitmap(TBitmap& b) {
  b.SetPixelFormat(TPixelFormat::pf24bit);
  for (int y = 0; y < b.Height(); ++y) {
    uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < b.Width(); ++x, p += 3) {
      uint8_t g = (uint8_t)((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = g;
    }
  }
}

void SkinMirrorBitmap(TBitmap& b, int frameCount) {
  if (b.Empty()) return;
  if (frameCount < 1) frameCount = 1;
  const int fw = b.Width() / frameCount;
  if (fw <= 1) return;
  for (int y = 0; y < b.Height(); ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int f = 0; f < frameCount; ++f) {
      uint8_t* l = row + (size_t)f * fw * 3;
      uint8_t* r = l + (size_t)(fw - 1) * 3;
      for (; l < r; l += 3, r -= 3)
        for (int c = 0; c < 3; ++c) std::swap(l[c], r[c]);
    }
  }
}

void SkinFlipBitmap(TBitmap& b) {
  const int h = b.Height();
  const size_t bytes = (size_t)b.Width() * 3;
  std::string tmp(bytes, '\0');
  for (int y = 0; y < h / 2; ++y) {
    uint8_t* top = b.ScanLine(y);
    uint8_t* bottom = b.ScanLine(h - 1 - y);
    std::memcpy(tmp.data(), top, bytes);
    std::memcpy(top, bottom, bytes);
    std::memcpy(bottom, tmp.data(), bytes);
  }
}

namespace {
// A turned copy: the source pixel (x, y) goes to to(x, y, w, h) in a height x width image.
template <class To>
void Rotate(TBitmap& b, To to) {
  if (b.Empty()) return;
  const int w = b.Width(), h = b.Height();
  TBitmap r(h, w);
  if (r.Empty()) return;
  uint8_t* dest = r.ScanLine(0);
  const size_t stride = (size_t)r.Stride();
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = b.ScanLine(y);
    for (int x = 0; x < w; ++x, s += 3) {
      auto [dx, dy] = to(x, y, w, h);
      std::memcpy(dest + dy * stride + dx * 3, s, 3);
    }
  }
  b.Swap(r);
}
}  // namespace

void SkinRotateLeft(TBitmap& b) {
  Rotate(b, [](int x, int y, int w, int) { return std::pair<int, int>(y, w - 1 - x); });
}

void SkinRotateRight(TBitmap& b) {
  Rotate(b, [](int x, int y, int, int h) { return std::pair<int, int>(h - 1 - y, x); });
}
