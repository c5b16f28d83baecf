#include "skin/SkinMetrics.h"

#include <algorithm>

namespace skinmetrics {

int PushButtonFrame(const ButtonState& s) {
  int f = 1;
  if (s.focused) f = 4;
  if (s.isDefault) f = 5;
  if (s.pressed) f = 2;
  else if (s.hover) f = 4;
  if (!s.enabled) f = 3;
  return f;
}

int BitButtonFrame(const ButtonState& s) {
  int f = 1;
  if (s.isDefault) f = 5;
  if (s.focused) f = 4;
  if (s.pressed) f = 2;
  else if (s.hover) f = 4;
  if (!s.enabled) f = 3;
  return f;
}

int SpeedButtonFrame(const ButtonState& s, bool down) {
  int f = 1;
  if (s.pressed) f = 2;
  else if (s.hover) f = 4;
  if (!s.enabled) f = 3;
  if (down) f = 2;
  return f;
}

int GlyphForFrame(int frame) { return frame == 2 ? 3 : frame == 3 ? 2 : 1; }

int CheckBoxFrame(int state, bool disabled, bool indeterminate, int frameCount) {
  // A grayed state is the indeterminate look, whichever way it was learnt.
  indeterminate = indeterminate || state == 4;
  int f = state == 2 ? 2 : 1;
  if (disabled) f += 2;
  if (indeterminate) f = 4;
  if (frameCount == 12) {
    static const int map[5] = {0, 1, 5, 4, 8};
    f = indeterminate ? (disabled ? 12 : 9) : map[f];
  }
  return std::clamp(f, 1, std::max(frameCount, 1));
}

int RadioButtonFrame(bool checked, bool disabled, int frameCount) {
  int f = checked ? 2 : 1;
  if (disabled) f += 2;
  if (frameCount == 8) {
    static const int map[5] = {0, 1, 5, 4, 8};
    f = map[f];
  }
  return std::clamp(f, 1, std::max(frameCount, 1));
}

namespace {
constexpr int kBox = 15;  // the width the skin claims beside the caption

GlyphPlace Place(const RECT& r, int fw, int fh, int left, int right, bool leftText) {
  GlyphPlace p;
  const int top = r.top + (r.bottom - r.top - fh) / 2;
  if (leftText) {
    p.glyph = RECT{right - fw, top, right, top + fh};
    p.fill = RECT{r.right - (kBox + 3), r.top, r.right, r.bottom};
  } else {
    p.glyph = RECT{left, top, left + fw, top + fh};
    p.fill = RECT{r.left, r.top, r.left + kBox + 1, r.bottom};
  }
  return p;
}
}  // namespace

GlyphPlace CheckGlyphPlace(const RECT& r, int fw, int fh, bool leftText) {
  const int left = fw < 15 ? r.left + (14 - fw) / 2 + 1 : r.left + 2;
  const int right = fw < 16 ? r.right - (15 - fw) / 2 : r.right - 1;
  return Place(r, fw, fh, left, right, leftText);
}

GlyphPlace RadioGlyphPlace(const RECT& r, int fw, int fh, bool leftText) {
  const int left = fw < 15 ? r.left + (14 - fw) / 2 : r.left;
  const int right = fw < 15 ? r.right - (14 - fw) / 2 : r.right - 1;
  return Place(r, fw, fh, left, right, leftText);
}

int ProgressFill(int length, int position, int min, int max) {
  if (max <= min || length <= 0) return 0;
  const int p = std::clamp(position, min, max) - min;
  return MulDiv(length, p, max - min);
}

int ScrollHitTest(const ScrollGeometry& g, int p) {
  if (p < g.arrow) return SB_LINEUP;
  if (p < g.thumbStart) return SB_PAGEUP;
  if (p < g.thumbEnd) return SB_THUMBTRACK;
  if (p < g.length - g.arrow) return SB_PAGEDOWN;
  return SB_LINEDOWN;
}

void ControlThumb(ScrollGeometry& g, int position, int min, int max, int page) {
  const int a = g.arrow, L = g.length;
  const int track = std::max(L - 2 * a, 0);
  if (max <= min) {
    g.thumbStart = a;
    g.thumbEnd = a + (page > 0 ? track : a);
    return;
  }
  const int range = max - min, p = std::clamp(position, min, max) - min;
  int len, start;
  if (page > 0) {
    len = MulDiv(track, std::max(page - 1, 0), range);
    start = a + (p == 0 ? 0 : MulDiv(track, p, range));
  } else {
    len = a;
    start = a + (p == 0 ? 0 : MulDiv(std::max(L - 3 * a, 0), p, range));
  }
  len = std::min(len, track);
  start = std::max(a, std::min(start, L - a - len));
  g.thumbStart = start;
  g.thumbEnd = start + len;
}

void TrackThumb(ScrollGeometry& g, int startAtPress, int delta) {
  const int len = g.thumbEnd - g.thumbStart;
  const int start = std::max(g.arrow, std::min(startAtPress + delta, g.length - g.arrow - len));
  g.thumbStart = start;
  g.thumbEnd = start + len;
}

int ArrowLength(const ScrollGeometry& g) { return 2 * g.arrow > g.length ? g.length / 2 : g.arrow; }

int TabPosition(DWORD style) {
  const bool bottom = (style & TCS_BOTTOM) != 0, vertical = (style & TCS_VERTICAL) != 0;
  if (bottom && vertical) return 3;
  if (bottom) return 1;
  if (vertical) return 2;
  return 0;
}

RECT MapTabRect(const RECT& t, int position, int bufferWidth, int pageBottom, int controlRight) {
  switch (position) {
    case 1: return RECT{t.left, t.top - (pageBottom + 1), t.right, t.bottom - (pageBottom + 1)};
    case 2: return RECT{bufferWidth - t.bottom, t.left, bufferWidth - t.top, t.right};
    case 3: return RECT{t.top - 1, controlRight - t.right, t.bottom - 1, controlRight - t.left};
    default: return RECT{t.left, t.top + 1, t.right, t.bottom + 1};
  }
}

UpDownFrames UpDownButtonFrames(int size, int cursor, bool cursorInside, bool pressed, bool enabled) {
  UpDownFrames f;
  const int half = size / 2;
  const int hot = pressed ? 2 : 4;
  if (cursorInside) (cursor < half ? f.first : f.second) = hot;
  if (!enabled) f.first = f.second = 3;
  return f;
}

int ComboFrame(bool enabled, bool focused, bool pressed, bool hover) {
  int f = 1;
  if (!enabled) f = 3;
  if (focused) f = 4;
  if (pressed) f = 2;
  else if (hover) f = 4;
  return f;
}

ButtonLayout LayoutGlyphButton(int cw, int ch, int gw, int gh, int tw, int th, int layout, int margin,
                               int spacing, bool centred) {
  const bool horizontal = layout == 0 || layout == 1;
  const int client = horizontal ? cw : ch;
  const int glyph = horizontal ? gw : gh, text = horizontal ? tw : th;
  if (gw == 0 || tw == 0) spacing = 0;
  if (margin != -1 && !centred) {
    if (spacing == -1) spacing = (client - (margin + glyph) - text) / 2;
  } else if (spacing != -1) {
    margin = (client - (glyph + spacing + text)) / 2;
  } else {
    margin = (client - (glyph + text)) / 3;
    spacing = margin;
  }
  ButtonLayout out;
  // Across the layout axis both are centred.
  const int gCross = horizontal ? (ch - gh + 1) / 2 : (cw - gw + 1) / 2;
  const int tCross = horizontal ? (ch - th + 1) / 2 : (cw - tw + 1) / 2;
  int gPos = 0, tPos = 0;
  switch (layout) {
    case 1:
      gPos = client - margin - glyph;
      tPos = gPos - spacing - text;
      out.textFlags = DT_RIGHT;
      break;
    case 2:
      gPos = margin;
      tPos = margin + glyph + spacing;
      out.textFlags = DT_CENTER;
      break;
    case 3:
      gPos = client - margin - glyph;
      tPos = gPos - spacing - text;
      out.textFlags = DT_CENTER;
      break;
    default:
      gPos = margin;
      tPos = margin + glyph + spacing;
      break;
  }
  if (horizontal) {
    out.glyph = POINT{gPos, gCross};
    out.text = RECT{tPos, tCross, tPos + tw, tCross + th};
  } else {
    out.glyph = POINT{gCross, gPos};
    out.text = RECT{tCross, tPos, tCross + tw, tPos + th};
  }
  return out;
}

}  // namespace skinmetrics
