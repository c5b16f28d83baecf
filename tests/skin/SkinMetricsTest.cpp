// The arithmetic of the control skinners: state frames, glyph places, progress and thumb
// lengths with ranges that do not start at 0 or are empty, tab mapping and button layout.
#include <gtest/gtest.h>

#include "skin/SkinMetrics.h"

using namespace skinmetrics;

TEST(SkinMetrics, ButtonFramesLaterRulesWin) {
  struct Case {
    bool enabled, focused, isDefault, pressed, hover;
    int push, bit;
  } cases[] = {
      {true, false, false, false, false, 1, 1},
      {true, true, false, false, false, 4, 4},
      {true, false, true, false, false, 5, 5},
      {true, true, true, false, false, 5, 4},  // a focused default button: push 5, bitmap 4
      {true, true, true, false, true, 4, 4},   // hovering wins over default
      {true, false, false, true, true, 2, 2},  // pressed wins over hover
      {false, true, true, true, true, 3, 3},   // disabled wins over everything
  };
  for (const Case& c : cases) {
    ButtonState s{c.enabled, c.focused, c.isDefault, c.pressed, c.hover};
    EXPECT_EQ(PushButtonFrame(s), c.push) << c.enabled << c.focused << c.isDefault << c.pressed << c.hover;
    EXPECT_EQ(BitButtonFrame(s), c.bit) << c.enabled << c.focused << c.isDefault << c.pressed << c.hover;
  }
  EXPECT_EQ(SpeedButtonFrame(ButtonState{true, false, false, false, true}, false), 4);
  EXPECT_EQ(SpeedButtonFrame(ButtonState{false, false, false, false, false}, true), 2) << "down wins";
  EXPECT_EQ(GlyphForFrame(2), 3);
  EXPECT_EQ(GlyphForFrame(3), 2);
  EXPECT_EQ(GlyphForFrame(5), 1);
}

TEST(SkinMetrics, CheckAndRadioFramesForBothStripLayouts) {
  struct Case {
    int state;
    bool disabled, indeterminate;
    int frames, expect;
  } checks[] = {
      {1, false, false, 4, 1}, {2, false, false, 4, 2}, {1, true, false, 4, 3}, {2, true, false, 4, 4},
      {1, false, true, 4, 4},  {4, false, false, 4, 4}, {4, true, false, 4, 4},  // grayed never runs past the strip
      {1, false, false, 12, 1}, {2, false, false, 12, 5}, {1, true, false, 12, 4}, {2, true, false, 12, 8},
      {1, false, true, 12, 9}, {2, true, true, 12, 12},
  };
  for (const Case& c : checks)
    EXPECT_EQ(CheckBoxFrame(c.state, c.disabled, c.indeterminate, c.frames), c.expect)
        << c.state << c.disabled << c.indeterminate << c.frames;
  EXPECT_EQ(RadioButtonFrame(true, false, 4), 2);
  EXPECT_EQ(RadioButtonFrame(true, true, 4), 4);
  EXPECT_EQ(RadioButtonFrame(false, true, 8), 4);
  EXPECT_EQ(RadioButtonFrame(true, true, 8), 8);
  EXPECT_EQ(RadioButtonFrame(true, false, 8), 5);
}

TEST(SkinMetrics, GlyphPlacesOnEitherSide) {
  const RECT r{0, 0, 100, 21};
  GlyphPlace left = CheckGlyphPlace(r, 13, 13, false);
  EXPECT_EQ(left.glyph.left, 1);
  EXPECT_EQ(left.glyph.top, 4);
  EXPECT_EQ(left.fill.right, 16);
  GlyphPlace right = RadioGlyphPlace(r, 13, 13, true);
  EXPECT_EQ(right.glyph.right, 100);
  EXPECT_GE(right.glyph.left, 100 - 18) << "inside the right 18 pixels";
  EXPECT_EQ(right.fill.left, 82);
  EXPECT_EQ(CheckGlyphPlace(r, 16, 16, false).glyph.left, 2) << "a wide frame keeps 2 pixels";
}

TEST(SkinMetrics, ProgressFillUsesTheRangeAndGuardsEmptyOnes) {
  EXPECT_EQ(ProgressFill(200, 0, 0, 100), 0);
  EXPECT_EQ(ProgressFill(200, 100, 0, 100), 200);
  EXPECT_EQ(ProgressFill(200, 50, 0, 100), 100);
  EXPECT_EQ(ProgressFill(200, 150, 100, 200), 100) << "(position - min) / (max - min)";
  EXPECT_EQ(ProgressFill(200, 100, 100, 200), 0);
  EXPECT_EQ(ProgressFill(200, 5, 0, 0), 0) << "maximum 0: empty bar";
  EXPECT_EQ(ProgressFill(200, 5, 10, 3), 0) << "inverted range";
  EXPECT_EQ(ProgressFill(200, 500, 0, 100), 200) << "clamped";
  EXPECT_EQ(ProgressFill(200, -5, 0, 100), 0);
}

TEST(SkinMetrics, ScrollHitTestAndThumbs) {
  ScrollGeometry g{200, 17, 60, 90};
  EXPECT_EQ(ScrollHitTest(g, 0), SB_LINEUP);
  EXPECT_EQ(ScrollHitTest(g, 30), SB_PAGEUP);
  EXPECT_EQ(ScrollHitTest(g, 60), SB_THUMBTRACK);
  EXPECT_EQ(ScrollHitTest(g, 100), SB_PAGEDOWN);
  EXPECT_EQ(ScrollHitTest(g, 190), SB_LINEDOWN);

  TrackThumb(g, 60, 500);
  EXPECT_EQ(g.thumbEnd, 200 - 17) << "kept before the second arrow";
  EXPECT_EQ(g.thumbEnd - g.thumbStart, 30);
  TrackThumb(g, 60, -500);
  EXPECT_EQ(g.thumbStart, 17);

  ScrollGeometry c{200, 20, 0, 0};
  ControlThumb(c, 50, 50, 150, 0);
  EXPECT_EQ(c.thumbStart, 20) << "at the minimum the thumb starts after the arrow";
  ControlThumb(c, 150, 50, 150, 0);
  EXPECT_EQ(c.thumbEnd, 180) << "at the maximum it ends before the second arrow";
  ControlThumb(c, 100, 50, 150, 11);
  EXPECT_EQ(c.thumbEnd - c.thumbStart, 16);
  ControlThumb(c, 7, 7, 7, 0);
  EXPECT_EQ(c.thumbStart, 20) << "empty range";
  EXPECT_EQ(c.thumbEnd, 40);

  EXPECT_EQ(ArrowLength(ScrollGeometry{30, 17}), 15) << "two arrows that do not fit share the bar";
  EXPECT_EQ(ArrowLength(ScrollGeometry{40, 17}), 17);
}

TEST(SkinMetrics, TabPositionsAndMapping) {
  EXPECT_EQ(TabPosition(0), 0);
  EXPECT_EQ(TabPosition(TCS_BOTTOM), 1);
  EXPECT_EQ(TabPosition(TCS_VERTICAL), 2);
  EXPECT_EQ(TabPosition(TCS_VERTICAL | TCS_RIGHT), 3);
  const RECT t{10, 2, 60, 22};
  EXPECT_EQ(MapTabRect(t, 0, 0, 0, 0).top, 3);
  EXPECT_EQ(MapTabRect(t, 1, 0, 1, 0).top, 0);
  RECT left = MapTabRect(RECT{2, 10, 22, 60}, 2, 24, 0, 0);
  EXPECT_EQ(left.left, 24 - 60);
  EXPECT_EQ(left.top, 2);
}

TEST(SkinMetrics, UpDownFramesFollowTheCursor) {
  UpDownFrames f = UpDownButtonFrames(20, 3, true, true, true);
  EXPECT_EQ(f.first, 2);
  EXPECT_EQ(f.second, 1);
  f = UpDownButtonFrames(20, 15, true, false, true);
  EXPECT_EQ(f.first, 1);
  EXPECT_EQ(f.second, 4);
  f = UpDownButtonFrames(20, 15, false, false, false);
  EXPECT_EQ(f.first, 3);
  EXPECT_EQ(f.second, 3);
}

TEST(SkinMetrics, GlyphButtonLayout) {
  // Margin -1 and spacing -1: a third of the free room each.
  ButtonLayout l = LayoutGlyphButton(100, 30, 16, 16, 40, 14, 0, -1, -1, false);
  EXPECT_EQ(l.glyph.x, 14);
  EXPECT_EQ(l.glyph.y, 7);
  EXPECT_EQ(l.text.left, 14 + 16 + 14);
  EXPECT_EQ(l.text.top, 8);
  // A fixed margin: the spacing takes half of what is left.
  l = LayoutGlyphButton(100, 30, 16, 16, 40, 14, 0, 4, -1, false);
  EXPECT_EQ(l.glyph.x, 4);
  EXPECT_EQ(l.text.left, 4 + 16 + 20);
  // Glyph right: text right-aligned before it.
  l = LayoutGlyphButton(100, 30, 16, 16, 40, 14, 1, 4, 2, false);
  EXPECT_EQ(l.glyph.x, 80);
  EXPECT_EQ(l.text.right, 78);
  EXPECT_EQ(l.textFlags, (UINT)DT_RIGHT);
  // Top: stacked, centred across.
  l = LayoutGlyphButton(60, 60, 16, 16, 40, 14, 2, -1, 4, false);
  EXPECT_EQ(l.glyph.x, 22);
  EXPECT_EQ(l.glyph.y, 13);
  EXPECT_EQ(l.text.top, 13 + 16 + 4);
  // No caption: no spacing.
  l = LayoutGlyphButton(100, 30, 16, 16, 0, 0, 0, -1, 10, false);
  EXPECT_EQ(l.glyph.x, 42);
}
