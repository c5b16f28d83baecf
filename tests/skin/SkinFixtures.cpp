// Skin test helpers.
#include "tests/skin/SkinFixtures.h"

#include "platform/rtl/SysUtils.h"
#include "tools/skinpack/SkinPacker.h"

namespace skintest {

std::string BuildSkin(const std::string& name) { return sys::ReadFileBytes(std::string(KARV_SKINS_DIR) + "/" + name); }

std::string Pack(const std::string& ini, const std::vector<std::pair<std::string, std::string>>& members) {
  std::vector<skinpack::Member> all{{"test.ini", ini}};
  for (const auto& [name, bytes] : members) all.push_back({name, bytes});
  return skinpack::Encode(skinpack::BuildArchive(all));
}

std::string Bmp(int w, int h, const std::function<uint32_t(int, int)>& colour) {
  skinart::Image img(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.At(x, y) = colour(x, y);
  return skinart::WriteBmp(img);
}

uint32_t Rgb(const TBitmap& b, int x, int y) {
  COLORREF c = b.PixelAt(x, y);
  return (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
}

void Fill(TBitmap& b, int w, int h, uint32_t rgb) {
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      p[0] = (uint8_t)rgb;
      p[1] = (uint8_t)(rgb >> 8);
      p[2] = (uint8_t)(rgb >> 16);
    }
  }
}

}  // namespace skintest
