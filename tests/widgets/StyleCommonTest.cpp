// The shared drawing helpers on a memory canvas, the rotated-font factory and the
// TrueType test.
#include <gtest/gtest.h>

#include <string>

#include "tests/widgets/WidgetsSupport.h"
#include "widgets/StyleCommon.h"

using namespace widgets_testing;

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
// Distinct colours, so each edge shows which colour drew it.
TFrameColors DistinctColors() {
  TFrameColors c;
  c.Light = RGB(1, 1, 1);
  c.Dark = RGB(2, 2, 2);
  c.Highlight = RGB(3, 3, 3);
  c.Shadow = RGB(4, 4, 4);
  c.Text = RGB(5, 5, 5);
  c.Flat = RGB(6, 6, 6);
  return c;
}
bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace

TEST(StyleCommon, DrawSidesDrawsRightAndBottomOnePixelInside) {
  MemoryCanvas c(12, 12);
  const COLORREF ul = RGB(10, 20, 30), lr = RGB(40, 50, 60);
  RECT inner = DrawSides(c.Dc(), RECT{0, 0, 10, 10}, ul, lr, kAllSides);
  EXPECT_TRUE(SameRect(inner, RECT{1, 1, 9, 9}));
  EXPECT_EQ(c.Pixel(0, 5), ul);
  EXPECT_EQ(c.Pixel(5, 0), ul);
  EXPECT_EQ(c.Pixel(9, 5), lr);
  EXPECT_EQ(c.Pixel(5, 9), lr);
  EXPECT_EQ(c.Pixel(10, 5), kWhite);
  EXPECT_EQ(c.Pixel(5, 10), kWhite);
  EXPECT_EQ(c.Pixel(5, 5), kWhite);

  MemoryCanvas part(12, 12);
  inner = DrawSides(part.Dc(), RECT{0, 0, 10, 10}, ul, lr, sdLeft | sdBottom);
  EXPECT_TRUE(SameRect(inner, RECT{1, 0, 10, 9}));
  EXPECT_EQ(part.Pixel(5, 0), kWhite);
  EXPECT_EQ(part.Pixel(9, 5), kWhite);
  EXPECT_EQ(part.Pixel(5, 9), lr);

  MemoryCanvas bevel(12, 12);
  inner = DrawBevel(bevel.Dc(), RECT{0, 0, 10, 10}, ul, lr, 3, kAllSides);
  EXPECT_TRUE(SameRect(inner, RECT{3, 3, 7, 7}));
  EXPECT_EQ(bevel.Pixel(2, 5), ul);
  EXPECT_EQ(bevel.Pixel(7, 5), lr);
  EXPECT_EQ(bevel.Pixel(3, 5), kWhite);
}

TEST(StyleCommon, FrameStylesUseTheirColoursFromOutsideIn) {
  TFrameColors k = DistinctColors();
  // For each style: the left edge's colours from the outside in, and the inner rectangle.
  struct Case {
    TFrameStyle style;
    std::vector<TColor> left, right;
    int inset;
  } cases[] = {
      {TFrameStyle::fsNone, {}, {}, 0},
      {TFrameStyle::fsFlat, {k.Flat}, {k.Flat}, 1},
      {TFrameStyle::fsStatus, {k.Shadow}, {k.Highlight}, 1},
      {TFrameStyle::fsPopup, {k.Highlight}, {k.Shadow}, 1},
      {TFrameStyle::fsFlatBold, {k.Shadow, k.Shadow}, {k.Shadow, k.Shadow}, 2},
      {TFrameStyle::fsRaised, {k.Light, k.Highlight}, {k.Dark, k.Shadow}, 2},
      {TFrameStyle::fsLowered, {k.Shadow, k.Dark}, {k.Highlight, k.Light}, 2},
      {TFrameStyle::fsButtonUp, {k.Highlight, k.Light}, {k.Dark, k.Shadow}, 2},
      {TFrameStyle::fsButtonDown, {k.Text, k.Shadow}, {k.Text, k.Shadow}, 2},
      {TFrameStyle::fsGroove, {k.Shadow, k.Highlight}, {k.Highlight, k.Shadow}, 2},
      {TFrameStyle::fsBump, {k.Highlight, k.Shadow}, {k.Shadow, k.Highlight}, 2},
  };
  for (const auto& t : cases) {
    MemoryCanvas c(20, 20);
    RECT inner = DrawBorderSides(c.Dc(), RECT{0, 0, 20, 20}, t.style, kAllSides, 1, k);
    int n = FrameThickness(t.style);
    EXPECT_EQ(n, t.inset) << (int)t.style;
    EXPECT_TRUE(SameRect(inner, RECT{n, n, 20 - n, 20 - n})) << (int)t.style;
    for (size_t i = 0; i < t.left.size(); ++i) {
      EXPECT_EQ(c.Pixel((int)i, 10), (COLORREF)t.left[i]) << (int)t.style << " left " << i;
      EXPECT_EQ(c.Pixel(19 - (int)i, 10), (COLORREF)t.right[i]) << (int)t.style << " right " << i;
    }
    EXPECT_EQ(c.Pixel(n, 10), kWhite) << (int)t.style;
  }
  // Bevel styles take their ring width from the caller.
  MemoryCanvas wide(20, 20);
  RECT inner = DrawBorderSides(wide.Dc(), RECT{0, 0, 20, 20}, TFrameStyle::fsRaised, sdTop, 3, k);
  EXPECT_TRUE(SameRect(inner, RECT{0, 6, 20, 20}));
  EXPECT_EQ(wide.Pixel(10, 2), (COLORREF)k.Light);
  EXPECT_EQ(wide.Pixel(10, 3), (COLORREF)k.Highlight);
}

TEST(StyleCommon, RotatedFontCarriesTheAngleAndStyle) {
  TFont f;
  f.SetName("宋体");
  f.SetSize(12);
  f.SetStyle(fsBold | fsUnderline);
  HFONT h = CreateRotatedFont(f, 90);
  ASSERT_NE(h, nullptr);
  LOGFONTA lf{};
  GetObjectA(h, sizeof lf, &lf);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfOrientation, 0);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_FALSE(lf.lfItalic);
  EXPECT_EQ(lf.lfCharSet, 1);
  EXPECT_EQ(lf.lfHeight, f.Height());
  EXPECT_EQ(std::string(lf.lfFaceName), "宋体");
  DeleteObject(h);
  EXPECT_TRUE(IsTrueTypeFont(f));  // the CJK font of this machine is an outline font
}
