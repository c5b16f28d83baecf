// Nine-part painting, frames, transparent copies and regions on DIB sections, with the coded
// skin; the image operations; bitmap files of other depths.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>

#include "skin/SkinBitmaps.h"
#include "skin/SkinObjects.h"
#include "skin/SkinPaint.h"
#include "tests/skin/SkinFixtures.h"
#include "tools/skinpack/CodedColours.h"

using codedskin::Colour;
using skintest::Fill;
using skintest::Rgb;

namespace {

struct CodedPaint : testing::Test {
  void SetUp() override { ASSERT_TRUE(LoadSkinModel(m, skintest::BuildSkin("coded.skin"))); }
  TSkinModel m;
};

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), (size_t)a.Width() * 3)) return false;
  return true;
}

// A one-frame strip 10 x 10 with 2-pixel margins whose centre pixels tell their column.
TBitmap& GradientStrip() {
  static TBitmap b;
  if (b.Empty()) {
    EXPECT_TRUE(b.LoadFromBytes(skintest::Bmp(10, 10, [](int x, int y) {
      bool centre = x >= 2 && x < 8 && y >= 2 && y < 8;
      return centre ? 0x102030u + (uint32_t)(x - 2) * 0x10 : 0x0000FFu;
    })));
  }
  return b;
}

}  // namespace

namespace {
void Put16(std::string& s, uint16_t v) { s += (char)v, s += (char)(v >> 8); }
void Put32(std::string& s, uint32_t v) { Put16(s, (uint16_t)v), Put16(s, (uint16_t)(v >> 16)); }
// A 3 x 2 bitmap file: pixels (x, y) of 0xRRGGBB rows[y][x], rows padded to four bytes.
std::string BmpFile(int bits, bool topDown, const uint32_t rows[2][3]) {
  const uint32_t palette[4] = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
  std::string pixels;
  for (int r = 0; r < 2; ++r) {
    const int y = topDown ? r : 1 - r;
    std::string row;
    for (int x = 0; x < 3; ++x) {
      if (bits == 24) row += (char)rows[y][x], row += (char)(rows[y][x] >> 8), row += (char)(rows[y][x] >> 16);
      else row += (char)(std::find(palette, palette + 4, rows[y][x]) - palette);
    }
    while (row.size() % 4) row += '\0';
    pixels += row;
  }
  const uint32_t paletteBytes = bits == 8 ? 4 * 4 : 0, offBits = 14 + 40 + paletteBytes;
  std::string f = "BM";
  Put32(f, offBits + (uint32_t)pixels.size()), Put32(f, 0), Put32(f, offBits);
  Put32(f, 40), Put32(f, 3), Put32(f, topDown ? (uint32_t)-2 : 2u), Put16(f, 1), Put16(f, (uint16_t)bits);
  Put32(f, 0), Put32(f, (uint32_t)pixels.size()), Put32(f, 2835), Put32(f, 2835);
  Put32(f, bits == 8 ? 4 : 0), Put32(f, 0);
  for (uint32_t i = 0; i < paletteBytes / 4; ++i) Put32(f, palette[i]);
  return f + pixels;
}
}  // namespace

TEST(BitmapFiles, BottomUpTopDownAndPalettedFilesGiveTheSamePixels) {
  const uint32_t rows[2][3] = {{0x102030, 0x405060, 0x708090}, {0xA0B0C0, 0x102030, 0x708090}};
  for (auto [bits, topDown] : {std::pair{24, false}, std::pair{24, true}, std::pair{8, false}}) {
    TBitmap b;
    ASSERT_TRUE(b.LoadFromBytes(BmpFile(bits, topDown, rows))) << bits << topDown;
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(skintest::Rgb(b, x, y), rows[y][x]) << bits << topDown << " at " << x << "," << y;
  }
}

TEST_F(CodedPaint, EachPartLandsWhereItShould) {
  TBitmap& strip = m.Buttons->Bitmap;  // 5 frames of 24 x 22, margins 3
  auto b = BuildNinePart(RECT{0, 0, 60, 40}, strip, m.Buttons->Margins(), false, false, 5, 2);
  ASSERT_TRUE(b);
  ASSERT_EQ(b->Width(), 60);
  struct Probe {
    int x, y, part;
  } probes[] = {{0, 0, 0}, {2, 2, 0}, {3, 0, 1}, {56, 2, 1}, {57, 0, 2}, {59, 2, 2}, {0, 3, 3}, {2, 36, 3},
                {3, 3, 4}, {30, 20, 4}, {56, 36, 4}, {57, 3, 5}, {59, 36, 5}, {0, 37, 6}, {3, 39, 7},
                {56, 37, 7}, {57, 37, 8}, {59, 39, 8}};
  for (const Probe& p : probes)
    EXPECT_EQ(Rgb(*b, p.x, p.y), Colour(codedskin::kButton, 2, p.part)) << p.x << "," << p.y;
}

TEST_F(CodedPaint, FramesAreClampedAndStackedStripsCutByRows) {
  TBitmap& strip = m.Buttons->Bitmap;
  const RECT r{0, 0, 30, 30};
  struct Case {
    int count, index, frame;
  } cases[] = {{5, 9, 5}, {5, 0, 1}, {5, -4, 1}, {1, 3, 1}};
  for (const Case& c : cases) {
    auto b = BuildNinePart(r, strip, m.Buttons->Margins(), false, false, c.count, c.index);
    ASSERT_TRUE(b);
    EXPECT_EQ(Rgb(*b, 0, 0), Colour(codedskin::kButton, c.count == 1 ? 1 : c.frame, 0)) << c.count << "/" << c.index;
  }
  auto whole = BuildNinePart(r, strip, TSkinMargins{}, false, false, 0, 1);  // count 0: the whole strip
  ASSERT_TRUE(whole);
  EXPECT_EQ(Rgb(*whole, 29, 15), Colour(codedskin::kButton, 5, 5));

  TDataSkinBorder& top = *m.Top;  // title: two frames stacked
  auto t = BuildNinePart(RECT{0, 0, 200, 30}, top.Bitmap, top.Margins(), true, top.Tile != 1, 2, 2);
  ASSERT_TRUE(t);
  EXPECT_EQ(Rgb(*t, 0, 10), Colour(codedskin::kTop, 2, 3));
  EXPECT_EQ(Rgb(*t, 100, 10), Colour(codedskin::kTop, 2, 4));
  EXPECT_EQ(Rgb(*t, 199, 29), Colour(codedskin::kTop, 2, 5));
  EXPECT_FALSE(BuildNinePart(RECT{5, 5, 5, 9}, strip, m.Buttons->Margins(), false, false, 5, 1));
}

TEST_F(CodedPaint, MarginsCollapseWhenTheTargetIsTooSmall) {
  TBitmap& strip = m.Buttons->Bitmap;  // frame 24 x 22, margins 3 + 3
  // 5 wide: without side margins the whole frame width is squeezed in, so the columns
  // inside show the frame's centre rather than its 3-pixel edges.
  auto narrow = BuildNinePart(RECT{0, 0, 5, 40}, strip, m.Buttons->Margins(), false, false, 5, 1);
  ASSERT_TRUE(narrow);
  EXPECT_EQ(Rgb(*narrow, 1, 20), Colour(codedskin::kButton, 1, 4));
  EXPECT_EQ(Rgb(*narrow, 3, 20), Colour(codedskin::kButton, 1, 4));
  EXPECT_EQ(Rgb(*narrow, 2, 1), Colour(codedskin::kButton, 1, 1));  // the top margin stays
  auto flat = BuildNinePart(RECT{0, 0, 60, 5}, strip, m.Buttons->Margins(), false, false, 5, 1);
  ASSERT_TRUE(flat);
  EXPECT_EQ(Rgb(*flat, 30, 1), Colour(codedskin::kButton, 1, 4));
  EXPECT_EQ(Rgb(*flat, 30, 3), Colour(codedskin::kButton, 1, 4));
  EXPECT_EQ(Rgb(*flat, 1, 2), Colour(codedskin::kButton, 1, 3));  // the left margin stays
}

TEST(SkinPaint, TileRepeatsTheCentreWhereStretchScalesIt) {
  TBitmap& strip = GradientStrip();
  const TSkinMargins m{2, 2, 2, 2};
  auto tiled = BuildNinePart(RECT{0, 0, 22, 10}, strip, m, false, true, 1, 1);
  auto stretched = BuildNinePart(RECT{0, 0, 22, 10}, strip, m, false, false, 1, 1);
  ASSERT_TRUE(tiled && stretched);
  for (int dx : {0, 5, 6, 7, 13, 17}) {  // the centre is 18 wide: three tiles of 6
    EXPECT_EQ(Rgb(*tiled, 2 + dx, 5), 0x102030u + (uint32_t)(dx % 6) * 0x10) << dx;
    EXPECT_EQ(Rgb(*stretched, 2 + dx, 5), 0x102030u + (uint32_t)(dx / 3) * 0x10) << dx;
  }
}

TEST_F(CodedPaint, ThreeDrawingVariantsGiveIdenticalPixels) {
  struct Case {
    TDataSkinObject* element;
    RECT r;
    bool tile;
  } cases[] = {{m.Buttons.get(), {3, 4, 70, 31}, false}, {m.Buttons.get(), {0, 0, 4, 4}, true},
               {m.Tabs.get(), {10, 2, 90, 40}, true},    {m.Scrollbar.get(), {0, 0, 17, 60}, false},
               {m.HorzScrollThumb.get(), {5, 5, 100, 22}, true}, {m.StatusBarEdges.get(), {1, 1, 3, 50}, false}};
  for (const Case& c : cases) {
    TBitmap viaBitmap, onCanvas, direct;
    for (TBitmap* b : {&viaBitmap, &onCanvas, &direct}) Fill(*b, 100, 64, 0x00FF00);
    const int frames = c.element->FrameCount;
    DrawNinePart(viaBitmap.Canvas().Handle(), c.r, c.element->Bitmap, false, c.tile, false, frames, 2, c.element->Margins());
    DrawNinePartOnCanvas(onCanvas.Canvas(), c.r, c.element->Bitmap, false, c.tile, frames, 2, c.element->Margins());
    DrawNinePartDirect(direct.Canvas().Handle(), c.r, c.element->Bitmap, false, c.tile, frames, 2, c.element->Margins());
    EXPECT_TRUE(SamePixels(viaBitmap, onCanvas)) << c.element->Name;
    EXPECT_TRUE(SamePixels(viaBitmap, direct)) << c.element->Name;
    EXPECT_NE(Rgb(viaBitmap, c.r.left, c.r.top), 0x00FF00u) << c.element->Name;
    EXPECT_EQ(Rgb(viaBitmap, 99, 63), 0x00FF00u) << "outside the rectangle nothing changes";
  }
}

TEST_F(CodedPaint, WholeFramesStretchedAndCentred) {
  TBitmap target;
  Fill(target, 60, 50, 0x00FF00);
  DrawFrame(target.Canvas().Handle(), RECT{0, 0, 48, 44}, m.Buttons->Bitmap, false, 5, 3);
  EXPECT_EQ(Rgb(target, 0, 0), Colour(codedskin::kButton, 3, 0));
  EXPECT_EQ(Rgb(target, 47, 43), Colour(codedskin::kButton, 3, 8));
  EXPECT_EQ(Rgb(target, 48, 44), 0x00FF00u);

  Fill(target, 60, 50, 0x00FF00);
  DrawFrameCentred(target.Canvas().Handle(), RECT{10, 10, 30, 29}, m.ExtraImages->Bitmap, true, 5, 2);
  // 13 x 13 in 20 x 19: offsets 3 and 3 (halved toward zero).
  EXPECT_EQ(Rgb(target, 13, 13), Colour(codedskin::kExtraImages, 2, 4));
  EXPECT_EQ(Rgb(target, 25, 25), Colour(codedskin::kExtraImages, 2, 4));
  EXPECT_EQ(Rgb(target, 12, 13), 0x00FF00u);
  EXPECT_EQ(Rgb(target, 26, 25), 0x00FF00u);
}

TEST(SkinPaint, TransparentCopyKeepsTheDestinationUnderMagenta) {
  TBitmap source;
  ASSERT_TRUE(source.LoadFromBytes(skintest::Bmp(8, 6, [](int x, int y) { return (x + y) % 2 ? 0xFF00FFu : 0x3366CCu; })));
  TBitmap target;
  Fill(target, 20, 20, 0x00FF00);
  TransparentCopy(target.Canvas().Handle(), RECT{4, 4, 30, 30}, source);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(Rgb(target, 4 + x, 4 + y), (x + y) % 2 ? 0x00FF00u : 0x3366CCu) << x << "," << y;
  EXPECT_EQ(Rgb(target, 12, 4), 0x00FF00u);

  // The nine-part copy with the transparent flag uses the same key.
  Fill(target, 20, 20, 0x00FF00);
  DrawNinePart(target.Canvas().Handle(), RECT{0, 0, 16, 12}, source, false, false, true, 1, 1, TSkinMargins{});
  EXPECT_EQ(Rgb(target, 0, 0), 0x3366CCu);
  EXPECT_EQ(Rgb(target, 2, 0), 0x00FF00u);  // stretched 2x: source column 1 is magenta
}

TEST(SkinPaint, RegionsFromBitmaps) {
  TBitmap b;
  Fill(b, 30, 20, 0xFF00FF);
  HRGN empty = RegionFromBitmap(b, 0, 0, 0, 0, 0);
  RECT box;
  EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
  DeleteObject(empty);

  // A block of 3 x 2 pixels at (5, 4), and one pixel close to magenta at (0, 0).
  for (int y = 4; y < 6; ++y)
    for (int x = 5; x < 8; ++x) std::memcpy(b.ScanLine(y) + x * 3, "\x10\x20\x30", 3);
  std::memcpy(b.ScanLine(0), "\xFF\x05\xFF", 3);  // blue, green, red
  HRGN tolerant = RegionFromBitmap(b, 10, 20, 0, 10, 0);
  EXPECT_EQ(GetRgnBox(tolerant, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 15);
  EXPECT_EQ(box.top, 24);
  EXPECT_EQ(box.right, 18);
  EXPECT_EQ(box.bottom, 26);
  DeleteObject(tolerant);
  HRGN strict = RegionFromBitmap(b, 0, 0, 0, 0, 0);
  EXPECT_TRUE(PtInRegion(strict, 0, 0));
  EXPECT_TRUE(PtInRegion(strict, 7, 5));
  EXPECT_FALSE(PtInRegion(strict, 8, 5));
  DeleteObject(strict);

  // More runs than one block of rectangles holds.
  TBitmap checker;
  ASSERT_TRUE(checker.LoadFromBytes(skintest::Bmp(64, 64, [](int x, int y) { return (x + y) % 2 ? 0xFF00FFu : 0u; })));
  HRGN many = RegionFromBitmap(checker, 0, 0, 0, 0, 0);
  int inside = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      bool in = PtInRegion(many, x, y);
      inside += in;
      EXPECT_EQ(in, (x + y) % 2 == 0);
    }
  EXPECT_EQ(inside, 64 * 32);
  DeleteObject(many);
}

TEST(SkinBitmaps, GreyMirrorFlipAndTurns) {
  TBitmap b;
  Fill(b, 2, 1, 0x0A141E);  // red 10, green 20, blue 30
  SkinGrayBitmap(b);
  EXPECT_EQ(Rgb(b, 1, 0), 0x141414u);

  auto pattern = [](int x, int y) { return (uint32_t)(x * 16 + y); };
  TBitmap strip;
  ASSERT_TRUE(strip.LoadFromBytes(skintest::Bmp(12, 2, pattern)));  // 3 frames of 4
  SkinMirrorBitmap(strip, 3);
  for (int f = 0; f < 3; ++f)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Rgb(strip, f * 4 + x, 1), pattern(f * 4 + 3 - x, 1)) << f << "," << x;
  SkinMirrorBitmap(strip);  // one frame: the whole width
  EXPECT_EQ(Rgb(strip, 0, 0), pattern(8, 0));

  TBitmap thin;
  ASSERT_TRUE(thin.LoadFromBytes(skintest::Bmp(1, 3, pattern)));
  SkinMirrorBitmap(thin);
  EXPECT_EQ(Rgb(thin, 0, 2), pattern(0, 2));
  TBitmap flat;
  ASSERT_TRUE(flat.LoadFromBytes(skintest::Bmp(3, 1, pattern)));
  SkinFlipBitmap(flat);
  EXPECT_EQ(Rgb(flat, 2, 0), pattern(2, 0));
  TBitmap tall;
  ASSERT_TRUE(tall.LoadFromBytes(skintest::Bmp(2, 3, pattern)));
  SkinFlipBitmap(tall);
  EXPECT_EQ(Rgb(tall, 1, 0), pattern(1, 2));

  for (bool left : {true, false}) {
    TBitmap r;
    ASSERT_TRUE(r.LoadFromBytes(skintest::Bmp(3, 2, pattern)));
    left ? SkinRotateLeft(r) : SkinRotateRight(r);
    ASSERT_EQ(r.Width(), 2);
    ASSERT_EQ(r.Height(), 3);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        if (left) EXPECT_EQ(Rgb(r, y, 2 - x), pattern(x, y));
        else EXPECT_EQ(Rgb(r, 1 - y, x), pattern(x, y));
      }
  }
}

TEST(Bitmaps, PaletteFilesAndDamagedFiles) {
  // A 1-bit file (black and a magenta palette entry) and an 8-bit one, written by hand.
  auto file = [](int bpp, int w, int h, const std::vector<uint32_t>& palette, const std::string& rows) {
    std::string s = "BM";
    auto u16 = [&](uint32_t v) { s.push_back((char)v); s.push_back((char)(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    const uint32_t off = 14 + 40 + 4 * (uint32_t)palette.size();
    u32(off + (uint32_t)rows.size()); u32(0); u32(off);
    u32(40); u32((uint32_t)w); u32((uint32_t)h); u16(1); u16((uint32_t)bpp); u32(0); u32((uint32_t)rows.size());
    u32(0); u32(0); u32((uint32_t)palette.size()); u32(0);
    for (uint32_t c : palette) u32(c);  // blue, green, red, 0
    return s + rows;
  };
  TBitmap b;
  // Bottom row first; each row padded to 4 bytes. Bits: 10 then 01.
  ASSERT_TRUE(b.LoadFromBytes(file(1, 2, 2, {0x000000, 0xFF00FF}, std::string("\x40\0\0\0\x80\0\0\0", 8))));
  EXPECT_EQ(Rgb(b, 0, 0), 0xFF00FFu);
  EXPECT_EQ(Rgb(b, 1, 0), 0u);
  EXPECT_EQ(Rgb(b, 1, 1), 0xFF00FFu);
  ASSERT_TRUE(b.LoadFromBytes(file(8, 3, 1, {0x112233, 0x445566, 0x778899}, std::string("\x02\x00\x01\0", 4))));
  EXPECT_EQ(Rgb(b, 0, 0), 0x778899u);
  EXPECT_EQ(Rgb(b, 2, 0), 0x445566u);

  const std::string good = skintest::Bmp(4, 4, 0x123456);
  struct Case {
    const char* what;
    std::string bytes;
  } bad[] = {{"empty", ""},
             {"bits cut short", good.substr(0, good.size() - 1)},
             {"not a bitmap", "PK" + good.substr(2)},
             {"bits offset past the end", good.substr(0, 10) + std::string("\xFF\xFF\0\0", 4) + good.substr(14)},
             {"huge size", good.substr(0, 18) + std::string("\xFF\xFF\xFF\x7F", 4) + good.substr(22)}};
  for (const Case& c : bad) {
    EXPECT_FALSE(b.LoadFromBytes(c.bytes)) << c.what;
    EXPECT_EQ(b.Width(), 3) << c.what << ": the old image stays";
  }
  TBitmap copy;
  ASSERT_TRUE(copy.LoadFromBytes(good));
  TBitmap again;
  ASSERT_TRUE(again.LoadFromBytes(copy.SaveToBytes()));
  EXPECT_TRUE(SamePixels(copy, again));
}
