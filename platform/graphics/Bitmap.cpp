// 24-bit DIB sections, their canvas, and bitmap files.
#include "platform/graphics/Bitmap.h"

#include <cstring>

#include "platform/graphics/BmpHeader.h"

namespace {

HBITMAP MakeDib(int width, int height, uint8_t** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down: row 0 first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* p = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
  *bits = h ? (uint8_t*)p : nullptr;
  return h;
}

uint32_t U32(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24; }

// Far larger than any skin picture; keeps a damaged header from asking for gigabytes.
constexpr int64_t kMaxPixels = 64LL << 20;

}  // namespace

class TBitmap::BitmapCanvas : public TCanvas {
 public:
  explicit BitmapCanvas(TBitmap& b) : bitmap_(b) {}
  ~BitmapCanvas() override { Free(); }
  // Lets go of the memory context (before the bitmap's handle changes).
  void Free() {
    if (HDC dc = ReleaseContext()) {
      SelectObject(dc, oldBitmap_);
      DeleteDC(dc);
    }
  }

 protected:
  void CreateHandle() override {
    if (!bitmap_.handle_) return;
    HDC dc = CreateCompatibleDC(nullptr);
    oldBitmap_ = SelectObject(dc, bitmap_.handle_);
    SetStretchBltMode(dc, COLORONCOLOR);
    AdoptContext(dc);
  }

 private:
  TBitmap& bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
};

TBitmap::TBitmap() : canvas_(std::make_unique<BitmapCanvas>(*this)) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() {
  canvas_.reset();
  if (handle_) DeleteObject(handle_);
}

void TBitmap::Replace(HBITMAP handle, uint8_t* bits, int width, int height) {
  canvas_->Free();
  if (handle_) DeleteObject(handle_);
  handle_ = handle;
  bits_ = bits;
  width_ = handle ? width : 0;
  height_ = handle ? height : 0;
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == width_ && height == height_) return;
  if (width == 0 || height == 0 || (int64_t)width * height > kMaxPixels) {
    Replace(nullptr, nullptr, 0, 0);
    return;
  }
  uint8_t* bits = nullptr;
  HBITMAP h = MakeDib(width, height, &bits);
  if (!h) {
    Replace(nullptr, nullptr, 0, 0);
    return;
  }
  if (handle_) {
    GdiFlush();
    const int newStride = (width * 3 + 3) & ~3;
    const int rows = height < height_ ? height : height_;
    const int bytes = (width < width_ ? width : width_) * 3;
    for (int y = 0; y < rows; ++y) std::memcpy(bits + (size_t)y * newStride, ScanLine(y), (size_t)bytes);
  }
  Replace(h, bits, width, height);
}

void TBitmap::Clear() { Replace(nullptr, nullptr, 0, 0); }

uint8_t* TBitmap::ScanLine(int y) {
  GdiFlush();
  return bits_ + (size_t)y * Stride();
}

const uint8_t* TBitmap::ScanLine(int y) const {
  GdiFlush();
  return bits_ + (size_t)y * Stride();
}

COLORREF TBitmap::PixelAt(int x, int y) const {
  const uint8_t* p = ScanLine(y) + x * 3;
  return RGB(p[2], p[1], p[0]);
}

TCanvas& TBitmap::Canvas() { return *canvas_; }

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  if (other.Empty()) {
    Clear();
    return;
  }
  Replace(nullptr, nullptr, 0, 0);
  SetSize(other.width_, other.height_);
  if (Empty()) return;
  GdiFlush();
  std::memcpy(bits_, other.bits_, (size_t)Stride() * height_);
}

void TBitmap::Swap(TBitmap& other) {
  canvas_->Free();
  other.canvas_->Free();
  std::swap(handle_, other.handle_);
  std::swap(bits_, other.bits_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
}

bool TBitmap::LoadDib(const BITMAPINFO* info, size_t infoBytes, const void* bits, size_t bitsBytes) {
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (infoBytes < sizeof(BITMAPINFOHEADER) || h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > infoBytes) return false;
  const int64_t width = h.biWidth, height = h.biHeight < 0 ? -(int64_t)h.biHeight : h.biHeight;
  if (width <= 0 || height <= 0 || width * height > kMaxPixels || h.biPlanes != 1) return false;
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  // Palette and bit masks must lie inside the header bytes.
  size_t colours = bpp <= 8 ? (h.biClrUsed ? h.biClrUsed : (1u << bpp)) : h.biClrUsed;
  if (colours > 256) return false;
  size_t masks = (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) ? 12 : 0;
  if (h.biSize + masks + colours * 4 > infoBytes) return false;
  switch (h.biCompression) {
    case BI_RGB:
    case BI_BITFIELDS: {
      if (h.biCompression == BI_BITFIELDS && bpp != 16 && bpp != 32) return false;
      const uint64_t stride = (((uint64_t)width * bpp + 31) / 32) * 4;
      if (stride * height > bitsBytes) return false;
      break;
    }
    case BI_RLE8:
    case BI_RLE4:
      if ((h.biCompression == BI_RLE8 && bpp != 8) || (h.biCompression == BI_RLE4 && bpp != 4)) return false;
      if (h.biHeight < 0 || h.biSizeImage == 0 || h.biSizeImage > bitsBytes) return false;
      break;
    default:
      return false;
  }
  uint8_t* dest = nullptr;
  HBITMAP dib = MakeDib((int)width, (int)height, &dest);
  if (!dib) return false;
  HDC dc = GetDC(nullptr);
  int rows = SetDIBits(dc, dib, 0, (UINT)height, bits, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (rows <= 0) {
    DeleteObject(dib);
    return false;
  }
  Replace(dib, dest, (int)width, (int)height);
  return true;
}

bool TBitmap::LoadFromBytes(std::string_view file) {
  const uint8_t* p = (const uint8_t*)file.data();
  const size_t n = file.size();
  if (n < 14 + sizeof(BITMAPINFOHEADER) || p[0] != 'B' || p[1] != 'M') return false;
  const size_t offBits = U32(p + 10);
  if (offBits < 14 + sizeof(BITMAPINFOHEADER) || offBits > n) return false;
  // The header may be read with more alignment than a byte string has.
  std::string info(file.substr(14, offBits - 14));
  return LoadDib((const BITMAPINFO*)info.data(), info.size(), p + offBits, n - offBits);
}

bool TBitmap::LoadFromResourceName(HINSTANCE module, const char* name) {
  HRSRC res = FindResourceA(module, name, (LPCSTR)RT_BITMAP);
  if (!res) return false;
  HGLOBAL g = LoadResource(module, res);
  const void* data = g ? LockResource(g) : nullptr;
  const DWORD size = SizeofResource(module, res);
  if (!data || size < sizeof(BITMAPINFOHEADER)) return false;
  const BITMAPINFOHEADER* h = (const BITMAPINFOHEADER*)data;
  const int bpp = h->biBitCount;
  size_t colours = bpp <= 8 ? (h->biClrUsed ? h->biClrUsed : (1u << bpp)) : h->biClrUsed;
  size_t masks = h->biCompression == BI_BITFIELDS ? 12 : 0;
  size_t infoBytes = h->biSize + masks + colours * 4;
  if (h->biSize < sizeof(BITMAPINFOHEADER) || infoBytes > size) return false;
  return LoadDib((const BITMAPINFO*)data, infoBytes, (const uint8_t*)data + infoBytes, size - infoBytes);
}

std::string TBitmap::SaveToBytes() const {
  if (Empty()) return {};
  std::string s = BmpFileHeader24(width_, height_);
  for (int y = height_ - 1; y >= 0; --y) s.append((const char*)ScanLine(y), (size_t)Stride());
  return s;
}
