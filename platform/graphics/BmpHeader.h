// The 54-byte head of a 24-bit bottom-up bitmap file (file header and info header), in
// plain C++ so that the build machine's skin tools write the same files as the program.
// Pure functions over bytes; safe on any thread.
#pragma once
#include <cstdint>
#include <string>

inline std::string BmpFileHeader24(int width, int height) {
  const uint32_t stride = ((uint32_t)width * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * (uint32_t)height;
  std::string s = "BM";
  auto u16 = [&](uint32_t v) { s.push_back((char)v); s.push_back((char)(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  u32(14 + 40 + dataSize);
  u32(0);
  u32(14 + 40);
  u32(40);
  u32((uint32_t)width);
  u32((uint32_t)height);
  u16(1);
  u16(24);
  u32(0);  // uncompressed
  u32(dataSize);
  u32(2835);  // 72 dots per inch
  u32(2835);
  u32(0);
  u32(0);
  return s;
}
