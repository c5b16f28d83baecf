// Our own skin artwork, drawn by program: the geometry of every element bitmap that the skin
// ini names, the two ways of painting them (the flat built-in theme and the colour-coded test
// skin) and the ini text that describes them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace skinart {

// A 24-bit picture held as 0x00RRGGBB values, top row first.
struct Image {
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  Image(int width, int height, uint32_t fill);
  uint32_t& At(int x, int y) { return px[(size_t)y * w + x]; }
  uint32_t At(int x, int y) const { return px[(size_t)y * w + x]; }
};

// A device-independent bitmap file, 24 bits per pixel, bottom-up.
std::string WriteBmp(const Image& img);

enum class Theme { Builtin, Coded };

struct File {
  std::string name;
  std::string bytes;
};

// The ini member first, then every bitmap it names.
std::vector<File> MakeSkin(Theme theme);

}  // namespace skinart
