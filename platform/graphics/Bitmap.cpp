// 24-bit DIB sections, their canvas, and bitmap files.
#include "platform/graphics/Bitmap.h"

#include <cstring>

#include "platform/graphics/BmpHeader.h"
#include "platform/graphics/DibFormat.h"
#include "platform/graphics/MeasureDC.h"

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
  if (width == 0 || height == 0 || (int64_t)width * height > dib::kMaxPixels) {
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
  dib::Layout layout;
  if (!dib::CheckInfo((const uint8_t*)info, infoBytes, bitsBytes, layout)) return false;
  const int width = layout.width, height = layout.height;
  uint8_t* dest = nullptr;
  HBITMAP dib = MakeDib(width, height, &dest);
  if (!dib) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize >= sizeof(BITMAPINFOHEADER) && h.biBitCount == 24 && h.biCompression == BI_RGB) {
    // Already this bitmap's pixel format (most skin and picture files): the rows are copied,
    // turned top-down, without the system's conversion.
    const size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    const auto* src = static_cast<const uint8_t*>(bits);
    for (int row = 0; row < height; ++row)
      memcpy(dest + row * stride, src + (size_t)(h.biHeight > 0 ? height - 1 - row : row) * stride, stride);
  } else {
    TMeasureDC dc;
    if (SetDIBits(dc.Handle(), dib, 0, (UINT)height, bits, info, DIB_RGB_COLORS) <= 0) {
      DeleteObject(dib);
      return false;
    }
  }
  Replace(dib, dest, width, height);
  return true;
}

bool TBitmap::LoadFromBytes(std::string_view file) {
  size_t offBits = 0;
  if (!dib::FileBitsOffset(file, offBits)) return false;
  // The header may be read with more alignment than a byte string has.
  std::string info(file.substr(dib::kFileHeaderSize, offBits - dib::kFileHeaderSize));
  return LoadDib((const BITMAPINFO*)info.data(), info.size(), file.data() + offBits, file.size() - offBits);
}

bool TBitmap::LoadFromResourceName(HINSTANCE module, const char* name) {
  HRSRC res = FindResourceA(module, name, (LPCSTR)RT_BITMAP);
  if (!res) return false;
  HGLOBAL g = LoadResource(module, res);
  const void* data = g ? LockResource(g) : nullptr;
  const DWORD size = SizeofResource(module, res);
  size_t infoBytes = 0;
  if (!data || !dib::PackedInfoBytes((const uint8_t*)data, size, infoBytes)) return false;
  return LoadDib((const BITMAPINFO*)data, infoBytes, (const uint8_t*)data + infoBytes, size - infoBytes);
}

std::string TBitmap::SaveToBytes() const {
  if (Empty()) return {};
  std::string s = BmpFileHeader24(width_, height_);
  for (int y = height_ - 1; y >= 0; --y) s.append((const char*)ScanLine(y), (size_t)Stride());
  return s;
}
