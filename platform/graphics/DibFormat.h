// The checks a bitmap file or a packed DIB passes before its bits go to the system: the
// info header, the palette and masks after it and the bits must all be held, of a kind the
// loader knows and of a sane size. Plain C++ over bytes (fields read little-endian, no
// alignment needed), without Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dib {

constexpr size_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr size_t kFileHeaderSize = 14;  // BITMAPFILEHEADER
// Far larger than any skin picture; keeps a damaged header from asking for gigabytes.
constexpr int64_t kMaxPixels = 64LL << 20;

struct Layout {
  int width = 0;
  int height = 0;  // rows, whichever way they run
};

// The DIB whose info header starts at `info` (`infoBytes` held: header, masks, palette) and
// whose bits are `bitsBytes` long: 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed,
// run-length or bit-field coded. False when anything it describes is not held.
bool CheckInfo(const uint8_t* info, size_t infoBytes, size_t bitsBytes, Layout& layout);
// Where the bits of a bitmap file start; false when the bytes are no bitmap file.
bool FileBitsOffset(std::string_view file, size_t& offBits);
// The bytes of header, masks and palette at the start of a packed DIB (a bitmap resource).
bool PackedInfoBytes(const uint8_t* data, size_t size, size_t& infoBytes);

}  // namespace dib
