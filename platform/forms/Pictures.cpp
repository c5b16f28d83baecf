#include "platform/forms/Pictures.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/forms/Properties.h"
#include "platform/rtl/Exception.h"

namespace {

uint32_t Read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
uint16_t Read16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }

}  // namespace

HBITMAP BitmapFromFileBytes(std::string_view b) {
  if (b.size() >= 6 && b.substr(0, 2) != "BM" && b.substr(4, 2) == "BM") b.remove_prefix(4);
  const size_t kFileHeader = 14;
  if (b.size() < kFileHeader + sizeof(BITMAPINFOHEADER) || b.substr(0, 2) != "BM") return nullptr;
  auto* p = reinterpret_cast<const uint8_t*>(b.data());
  uint32_t bitsOffset = Read32(p + 10);
  uint32_t headerSize = Read32(p + 14);
  if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > 124 || bitsOffset > b.size()) return nullptr;
  BITMAPINFOHEADER bih;
  memcpy(&bih, p + 14, sizeof bih);
  int height = bih.biHeight < 0 ? -bih.biHeight : bih.biHeight;
  if (bih.biWidth <= 0 || bih.biWidth > 16384 || height == 0 || height > 16384 || bih.biPlanes != 1) return nullptr;
  int bpp = bih.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
  if (bih.biClrUsed > 256) return nullptr;
  size_t colours = bih.biClrUsed ? bih.biClrUsed : (bpp <= 8 ? (size_t)1 << bpp : 0);
  size_t masks = (bih.biCompression == BI_BITFIELDS && headerSize == sizeof bih) ? 12 : 0;
  size_t infoBytes = headerSize + masks + colours * 4;
  if (kFileHeader + infoBytes > bitsOffset) return nullptr;
  size_t available = b.size() - bitsOffset;
  size_t stride = ((size_t)bih.biWidth * bpp + 31) / 32 * 4;
  switch (bih.biCompression) {
    case BI_RGB:
    case BI_BITFIELDS:
      if (stride * height > available) return nullptr;
      break;
    case BI_RLE8:
    case BI_RLE4:
      if (bih.biHeight < 0 || bih.biSizeImage == 0 || bih.biSizeImage > available) return nullptr;
      break;
    default:
      return nullptr;
  }
  // BITMAPINFO must be aligned; the file's copy need not be.
  std::vector<uint32_t> info((infoBytes + 3) / 4);
  memcpy(info.data(), p + kFileHeader, infoBytes);
  auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
  HDC screen = GetDC(nullptr);
  HBITMAP h = CreateDIBitmap(screen, &bmi->bmiHeader, CBM_INIT, p + bitsOffset, bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return h;
}

namespace {
HICON IconFromFile(std::string_view b) {
  if (b.size() < 6 + 16) return nullptr;
  auto* p = reinterpret_cast<const uint8_t*>(b.data());
  if (Read16(p) != 0 || Read16(p + 2) != 1 || Read16(p + 4) == 0) return nullptr;
  uint32_t size = Read32(p + 6 + 8), offset = Read32(p + 6 + 12);
  if (size < sizeof(BITMAPINFOHEADER) || offset > b.size() || size > b.size() - offset) return nullptr;
  std::vector<uint32_t> image((size + 3) / 4);
  memcpy(image.data(), p + offset, size);
  return CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()), size, TRUE, 0x00030000, 0, 0,
                                  LR_DEFAULTCOLOR);
}

// "Data": the bytes of a picture file in a form description; bad bytes are a load error.
template <class P>
void RegisterDataProperty(const char* error) {
  static bool registered = [error] {
    RegisterProperties(P::StaticClass(), {MakeProp<P>(
                                             "Data", TPropType::Binary, [](const P*) { return std::string(); },
                                             [error](P* picture, const TPropValue& v) {
                                               auto* bytes = std::get_if<std::string>(&v);
                                               if (!bytes || !picture->LoadFromBytes(*bytes)) throw Exception(error);
                                             })});
    return true;
  }();
  (void)registered;
}

}  // namespace

// ---------------------------------------------------------------- TGlyph

TGlyph::TGlyph() { RegisterDataProperty<TGlyph>("invalid bitmap data"); }

TGlyph::~TGlyph() {
  if (handle_) DeleteObject(handle_);
}

void TGlyph::SetHandle(HBITMAP h) {
  if (h == handle_) return;
  if (handle_) DeleteObject(handle_);
  handle_ = h;
  width_ = height_ = 0;
  BITMAP bm;
  if (h && GetObjectA(h, sizeof bm, &bm)) {
    width_ = bm.bmWidth;
    height_ = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  }
  Changed();
}

bool TGlyph::LoadFromResourceName(HINSTANCE module, const std::string& name) {
  auto h = static_cast<HBITMAP>(LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!h) return false;
  SetHandle(h);
  return true;
}

bool TGlyph::LoadFromBytes(std::string_view bytes) {
  HBITMAP h = BitmapFromFileBytes(bytes);
  if (!h) return false;
  SetHandle(h);
  return true;
}

void TGlyph::Assign(const TGlyph& other) {
  if (&other == this) return;
  SetHandle(other.handle_ ? static_cast<HBITMAP>(CopyImage(other.handle_, IMAGE_BITMAP, 0, 0, 0)) : nullptr);
}

COLORREF TGlyph::Pixel(int x, int y) const {
  if (!handle_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, handle_);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

void TGlyph::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TIconImage

TIconImage::TIconImage() { RegisterDataProperty<TIconImage>("invalid icon data"); }

TIconImage::~TIconImage() {
  if (handle_) DestroyIcon(handle_);
}

void TIconImage::SetHandle(HICON h) {
  if (h == handle_) return;
  if (handle_) DestroyIcon(handle_);
  handle_ = h;
  Changed();
}

bool TIconImage::LoadFromBytes(std::string_view bytes) {
  HICON h = IconFromFile(bytes);
  if (!h) return false;
  SetHandle(h);
  return true;
}

void TIconImage::Assign(const TIconImage& other) {
  if (&other == this) return;
  SetHandle(other.handle_ ? CopyIcon(other.handle_) : nullptr);
}

void TIconImage::Changed() {
  if (OnChange) OnChange(this);
}
