// Bounds checks of bitmap files and packed DIBs.
#include "platform/graphics/DibFormat.h"

namespace dib {

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

uint32_t U32(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24; }
uint16_t U16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }

// The fields of BITMAPINFOHEADER that the checks read.
struct Header {
  uint32_t size, compression, sizeImage, clrUsed;
  int32_t width, height;
  uint16_t planes, bitCount;
  explicit Header(const uint8_t* p)
      : size(U32(p)), compression(U32(p + 16)), sizeImage(U32(p + 20)), clrUsed(U32(p + 32)),
        width((int32_t)U32(p + 4)), height((int32_t)U32(p + 8)), planes(U16(p + 12)), bitCount(U16(p + 14)) {}
  uint64_t Colours() const { return bitCount <= 8 ? (clrUsed ? clrUsed : (1u << bitCount)) : clrUsed; }
};

}  // namespace

bool CheckInfo(const uint8_t* info, size_t infoBytes, size_t bitsBytes, Layout& layout) {
  if (!info || infoBytes < kInfoHeaderSize) return false;
  const Header h(info);
  if (h.size < kInfoHeaderSize || h.size > infoBytes) return false;
  const int64_t width = h.width, height = h.height < 0 ? -(int64_t)h.height : h.height;
  if (width <= 0 || height <= 0 || width * height > kMaxPixels || h.planes != 1) return false;
  const int bpp = h.bitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  // Palette and bit masks must lie inside the header bytes.
  const uint64_t colours = h.Colours();
  if (colours > 256) return false;
  const uint64_t masks = (h.compression == kBitFields && h.size == kInfoHeaderSize) ? 12 : 0;
  if (h.size + masks + colours * 4 > infoBytes) return false;
  switch (h.compression) {
    case kRgb:
    case kBitFields: {
      if (h.compression == kBitFields && bpp != 16 && bpp != 32) return false;
      const uint64_t stride = (((uint64_t)width * bpp + 31) / 32) * 4;
      if (stride * height > bitsBytes) return false;
      break;
    }
    case kRle8:
    case kRle4:
      if ((h.compression == kRle8 && bpp != 8) || (h.compression == kRle4 && bpp != 4)) return false;
      if (h.height < 0 || h.sizeImage == 0 || h.sizeImage > bitsBytes) return false;
      break;
    default:
      return false;
  }
  layout.width = (int)width;
  layout.height = (int)height;
  return true;
}

bool FileBitsOffset(std::string_view file, size_t& offBits) {
  const uint8_t* p = (const uint8_t*)file.data();
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || p[0] != 'B' || p[1] != 'M') return false;
  const size_t at = U32(p + 10);
  if (at < kFileHeaderSize + kInfoHeaderSize || at > file.size()) return false;
  offBits = at;
  return true;
}

bool PackedInfoBytes(const uint8_t* data, size_t size, size_t& infoBytes) {
  if (!data || size < kInfoHeaderSize) return false;
  const Header h(data);
  const uint64_t masks = h.compression == kBitFields ? 12 : 0;
  const uint64_t bytes = h.size + masks + h.Colours() * 4;
  if (h.size < kInfoHeaderSize || bytes > size) return false;
  infoBytes = (size_t)bytes;
  return true;
}

}  // namespace dib
