// Helpers of the skin tests: the packed skins of the build, small skins packed on the spot
// and pixel access in 0x00RRGGBB form.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "tools/skinpack/SkinArt.h"

namespace skintest {

// The bytes of BUILD/skins/<name> (the packed form without a byte count).
std::string BuildSkin(const std::string& name);

// A packed skin from an ini text and members (name, bytes), the ini first.
std::string Pack(const std::string& ini, const std::vector<std::pair<std::string, std::string>>& members = {});

// A bitmap file w x h whose pixel colours (0x00RRGGBB) come from `colour`.
std::string Bmp(int w, int h, const std::function<uint32_t(int x, int y)>& colour);
inline std::string Bmp(int w, int h, uint32_t colour) {
  return Bmp(w, h, [colour](int, int) { return colour; });
}

// 0x00RRGGBB of a bitmap pixel.
uint32_t Rgb(const TBitmap& b, int x, int y);
// A bitmap filled with one colour (0x00RRGGBB).
void Fill(TBitmap& b, int w, int h, uint32_t rgb);

}  // namespace skintest
