// Bitmap bytes as the bitmap loader takes them: as a bitmap file, and as a packed DIB (a
// bitmap resource). Headers are handed over in buffers of exactly their size, so a check
// that reads past what it was given is caught. What a check lets through must hold the
// bits that the system will read for it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/graphics/DibFormat.h"

namespace {

uint32_t U32(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24; }

void Check(const uint8_t* info, size_t infoBytes, const uint8_t* bits, size_t bitsBytes) {
  std::vector<uint8_t> header(info, info + infoBytes);
  std::vector<uint8_t> data(bits, bits + bitsBytes);
  dib::Layout layout;
  if (!dib::CheckInfo(header.data(), header.size(), data.size(), layout)) return;
  if (layout.width <= 0 || layout.height <= 0 || int64_t(layout.width) * layout.height > dib::kMaxPixels) std::abort();
  const uint32_t compression = U32(header.data() + 16);
  const unsigned bpp = header[14] | header[15] << 8;
  uint64_t need = compression == 1 || compression == 2
                      ? U32(header.data() + 20)
                      : ((uint64_t(layout.width) * bpp + 31) / 32) * 4 * uint64_t(layout.height);
  if (need > data.size()) std::abort();
  volatile uint8_t last = data[need - 1];
  (void)last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view file(reinterpret_cast<const char*>(data), size);
  size_t offBits = 0;
  if (dib::FileBitsOffset(file, offBits)) {
    if (offBits > size || offBits < dib::kFileHeaderSize + dib::kInfoHeaderSize) std::abort();
    Check(data + dib::kFileHeaderSize, offBits - dib::kFileHeaderSize, data + offBits, size - offBits);
  }
  size_t infoBytes = 0;
  if (dib::PackedInfoBytes(data, size, infoBytes)) {
    if (infoBytes > size) std::abort();
    Check(data, infoBytes, data + infoBytes, size - infoBytes);
  }
  return 0;
}
