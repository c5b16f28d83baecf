// The built-in flat theme and the colour-coded test skin. Every element is a strip of equal
// frames; transparent pixels are magenta.
#include "tools/skinpack/SkinArt.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <tuple>

#include "platform/graphics/BmpHeader.h"
#include "tools/skinpack/CodedColours.h"

namespace skinart {

Image::Image(int width, int height, uint32_t fill) : w(width), h(height), px((size_t)width * height, fill) {}

std::string WriteBmp(const Image& img) {
  const int stride = (img.w * 3 + 3) & ~3;
  std::string s = BmpFileHeader24(img.w, img.h);
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      uint32_t c = img.At(x, y);
      s.push_back((char)(c & 0xFF));
      s.push_back((char)((c >> 8) & 0xFF));
      s.push_back((char)((c >> 16) & 0xFF));
    }
    s.append((size_t)(stride - img.w * 3), '\0');
  }
  return s;
}

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

// The flat palette.
constexpr uint32_t kFace = 0xF0F0F0, kWhite = 0xFFFFFF, kText = 0x1E1E1E;
constexpr uint32_t kAccent = 0x2B6CD9, kAccentDark = 0x1B4FA8, kAccentLight = 0x4A86E8;
constexpr uint32_t kFocus = 0x0078D7, kHoverFill = 0xE5F1FB, kPressFill = 0xCCE4F7, kPressLine = 0x005499;
constexpr uint32_t kInactive = 0xE9E9E9, kInactiveLine = 0xB4B4B4, kInactiveText = 0x8A8A8A;
constexpr uint32_t kLine = 0xADADAD, kSoftLine = 0xD5D5D5, kDisabledFill = 0xF4F4F4, kDisabledLine = 0xCFCFCF;
constexpr uint32_t kGlyph = 0x505050, kDisabledGlyph = 0xB0B0B0, kCloseHot = 0xE81123, kClosePress = 0xF1707A;

uint32_t Mix(uint32_t a, uint32_t b, double t) {  // t = share of b
  auto ch = [&](int s) {
    double v = ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
    return (uint32_t)std::lround(v) << s;
  };
  return ch(16) | ch(8) | ch(0);
}

// Drawing inside one frame of a strip.
struct Pen {
  Image& im;
  int ox, oy, w, h;
  void Dot(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < w && y < h) im.At(ox + x, oy + y) = c;
  }
  uint32_t Get(int x, int y) const { return im.At(ox + x, oy + y); }
  void Fill(int x, int y, int fw, int fh, uint32_t c) {
    for (int j = y; j < y + fh; ++j)
      for (int i = x; i < x + fw; ++i) Dot(i, j, c);
  }
  void All(uint32_t c) { Fill(0, 0, w, h, c); }
  void Box(int x, int y, int fw, int fh, uint32_t c) {
    Fill(x, y, fw, 1, c);
    Fill(x, y + fh - 1, fw, 1, c);
    Fill(x, y, 1, fh, c);
    Fill(x + fw - 1, y, 1, fh, c);
  }
  // A filled box with a 1-pixel border whose corner pixels are cut (transparent).
  void Rounded(int x, int y, int fw, int fh, uint32_t fill, uint32_t line, uint32_t outside = kMagenta) {
    Fill(x, y, fw, fh, fill);
    Box(x, y, fw, fh, line);
    for (int cx : {x, x + fw - 1})
      for (int cy : {y, y + fh - 1}) Dot(cx, cy, outside);
  }
  // A disc (or ring) with a soft edge blended toward `edgeBg`; outside stays as it is.
  void Disc(double cx, double cy, double r, uint32_t c, uint32_t edgeBg) {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        double d = std::hypot(i + 0.5 - cx, j + 0.5 - cy);
        if (d <= r - 0.5) Dot(i, j, c);
        else if (d < r + 0.5) Dot(i, j, Mix(Get(i, j) == kMagenta ? edgeBg : Get(i, j), c, r + 0.5 - d));
      }
  }
  // A solid triangle pointing in `dir` (0 up, 1 down, 2 left, 3 right), centred.
  void Arrow(int dir, int size, uint32_t c) {
    int cx = w / 2, cy = h / 2;
    for (int k = 0; k < size; ++k) {
      int len = 2 * k + 1;
      switch (dir) {
        case 0: Fill(cx - k, cy - size / 2 + k, len, 1, c); break;
        case 1: Fill(cx - k, cy + size / 2 - k, len, 1, c); break;
        case 2: Fill(cx - size / 2 + k, cy - k, 1, len, c); break;
        default: Fill(cx + size / 2 - k, cy - k, 1, len, c); break;
      }
    }
  }
  // A two-pixel chevron pointing down, centred.
  void Chevron(uint32_t c) {
    int cx = w / 2, cy = h / 2 - 1;
    for (int k = 0; k < 4; ++k) {
      Fill(cx - 3 + k, cy + k, 1, 2, c);
      Fill(cx + 3 - k, cy + k, 1, 2, c);
    }
  }
  void Check(uint32_t c) {  // a tick inside a 13 x 13 box
    const int pts[][2] = {{3, 6}, {4, 7}, {5, 8}, {6, 7}, {7, 6}, {8, 5}, {9, 4}};
    for (auto& p : pts) {
      Dot(p[0], p[1], c);
      Dot(p[0], p[1] + 1, c);
    }
  }
};

using Painter = std::function<void(Pen&, int frame)>;

struct Element {
  int id;
  std::string file;
  int frames, fw, fh;
  bool stacked;
  int l, t, r, b;  // the nine-part margins the ini gives this element
  Painter paint;
};

// ---- the flat theme's painters ----

void TitleTop(Pen& p, int f) {
  bool active = f == 1;
  p.All(active ? kAccent : kInactive);
  p.Fill(0, 0, p.w, 1, active ? kAccentDark : kInactiveLine);
}
void SideBorder(Pen& p, int f, bool left) {
  bool active = f == 1;
  uint32_t line = active ? kAccentDark : kInactiveLine;
  p.All(kFace);
  p.Fill(0, 0, p.w, 30, active ? kAccent : kInactive);
  p.Fill(left ? 0 : p.w - 1, 0, 1, p.h, line);
  p.Fill(0, 0, p.w, 1, line);
  p.Fill(0, p.h - 1, p.w, 1, line);
}
void BottomBorder(Pen& p, int f) {
  p.All(kFace);
  p.Fill(0, p.h - 1, p.w, 1, f == 1 ? kAccentDark : kInactiveLine);
}

// Caption buttons: 1 normal, 2 pressed, 3 hot, 4 inactive.
void CaptionButton(Pen& p, int f, int glyph) {
  bool close = glyph == 0;
  uint32_t bg = f == 1 ? kAccent : f == 2 ? (close ? kClosePress : kAccentDark)
              : f == 3 ? (close ? kCloseHot : kAccentLight) : kInactive;
  uint32_t fg = f == 4 ? kInactiveText : kWhite;
  p.All(bg);
  int cx = p.w / 2, cy = p.h / 2;
  switch (glyph) {
    case 0:  // close: an X
      for (int k = -4; k <= 4; ++k) {
        p.Dot(cx + k, cy + k, fg);
        p.Dot(cx + k, cy - k, fg);
      }
      break;
    case 1:  // maximise: a square
      p.Box(cx - 4, cy - 4, 9, 9, fg);
      break;
    case 2:  // restore: two squares
      p.Box(cx - 4, cy - 2, 7, 7, fg);
      p.Fill(cx - 2, cy - 4, 7, 1, fg);
      p.Fill(cx + 4, cy - 4, 1, 7, fg);
      break;
    default:  // minimise: a bar
      p.Fill(cx - 4, cy, 9, 1, fg);
      break;
  }
}

// The window controls of a maximised child in the menu bar: minimise, restore, close,
// four frames each (normal, pressed, unused, hot).
void MdiControls(Pen& p, int f) {
  int kind = (f - 1) / 4, state = (f - 1) % 4 + 1;
  p.All(state == 2 ? 0xCCCCCC : state == 4 ? 0xE0E0E0 : kFace);
  int cx = p.w / 2, cy = p.h / 2;
  if (kind == 0) p.Fill(cx - 3, cy + 2, 7, 1, kText);
  else if (kind == 1) {
    p.Box(cx - 3, cy - 1, 5, 5, kText);
    p.Fill(cx - 1, cy - 3, 5, 1, kText);
    p.Fill(cx + 3, cy - 3, 1, 5, kText);
  } else
    for (int k = -3; k <= 3; ++k) {
      p.Dot(cx + k, cy + k, kText);
      p.Dot(cx + k, cy - k, kText);
    }
}

void MenuBar(Pen& p, int) {
  p.All(kFace);
  p.Fill(0, p.h - 1, p.w, 1, 0xDADADA);
}

// Push buttons: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
void PushButton(Pen& p, int f) {
  switch (f) {
    case 1: p.Rounded(0, 0, p.w, p.h, 0xFDFDFD, kLine); break;
    case 2: p.Rounded(0, 0, p.w, p.h, kPressFill, kPressLine); break;
    case 3: p.Rounded(0, 0, p.w, p.h, kDisabledFill, kDisabledLine); break;
    case 4: p.Rounded(0, 0, p.w, p.h, kHoverFill, kFocus); break;
    default:
      p.Rounded(0, 0, p.w, p.h, 0xFDFDFD, kFocus);
      p.Box(1, 1, p.w - 2, p.h - 2, kFocus);
      break;
  }
}

// Check and radio boxes: 1 off, 2 on, 3 off disabled, 4 on disabled.
void CheckBox(Pen& p, int f) {
  bool on = f == 2 || f == 4, disabled = f >= 3;
  if (on) {
    p.All(disabled ? kDisabledLine : kFocus);
    p.Check(kWhite);
  } else {
    p.All(disabled ? kDisabledFill : kWhite);
    p.Box(0, 0, p.w, p.h, disabled ? kDisabledLine : 0x333333);
  }
}
void RadioBox(Pen& p, int f) {
  bool on = f == 2 || f == 4, disabled = f >= 3;
  p.All(kMagenta);
  uint32_t ring = disabled ? kDisabledLine : on ? kFocus : 0x333333;
  p.Disc(6.5, 6.5, 6.5, ring, kFace);
  p.Disc(6.5, 6.5, 5.5, disabled ? kDisabledFill : kWhite, ring);
  if (on) p.Disc(6.5, 6.5, 3.0, disabled ? kDisabledLine : kFocus, kWhite);
}

// Scroll-bar arrows: groups of four (normal, pressed, disabled, hot) for left, right, up and
// down; the frames after them are plain track.
void ScrollArrows(Pen& p, int f) {
  if (f > 16) {
    p.All(kFace);
    return;
  }
  const int dirs[] = {2, 3, 0, 1};
  int dir = dirs[(f - 1) / 4], state = (f - 1) % 4 + 1;
  p.All(state == 2 ? 0x7A7A7A : state == 4 ? 0xDADADA : kFace);
  p.Arrow(dir, 4, state == 2 ? kWhite : state == 3 ? kDisabledGlyph : kGlyph);
}
void ScrollTrack(Pen& p, int f) { p.All(f == 3 ? 0xF7F7F7 : kFace); }
// Thumbs: 1 normal, 2 dragged, 3 hot; a bar with a margin along its cross axis.
void ScrollThumb(Pen& p, int f, bool horizontal) {
  p.All(kFace);
  uint32_t c = f == 2 ? 0x7A7A7A : f == 3 ? 0xA6A6A6 : 0xC8C8C8;
  if (horizontal) p.Fill(1, 4, p.w - 2, p.h - 8, c);
  else p.Fill(4, 1, p.w - 8, p.h - 2, c);
}

// The combo box: edge 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
void SunkEdge(Pen& p, int f) {
  uint32_t line = f == 2 ? kPressLine : f == 3 ? kDisabledLine : f == 4 ? kFocus : 0x7A7A7A;
  p.All(f == 3 ? kDisabledFill : kWhite);
  p.Box(0, 0, p.w, p.h, line);
}
void ComboButton(Pen& p, int f) {
  p.All(kMagenta);  // the edge below shows through
  if (f == 2) p.Fill(0, 1, p.w - 1, p.h - 2, kPressFill);
  if (f == 4) p.Fill(0, 1, p.w - 1, p.h - 2, kHoverFill);
}
// Glyphs: 1-4 the combo arrow by state, 5 the status bar's size grip.
void ExtraImages(Pen& p, int f) {
  p.All(kMagenta);
  if (f == 5) {
    for (int row = 0; row < 4; ++row)
      for (int col = 3 - row; col < 4; ++col) p.Fill(1 + col * 3, 1 + row * 3, 2, 2, 0xA0A0A0);
    return;
  }
  p.Chevron(f == 2 ? 0x000000 : f == 3 ? kDisabledGlyph : f == 4 ? kFocus : 0x404040);
}

// Tabs: 1 normal, 2 selected, 3 disabled, 4 hot, 5 as 1.
void Tab(Pen& p, int f) {
  bool selected = f == 2;
  uint32_t fill = selected ? kWhite : f == 4 ? 0xF4F9FD : f == 3 ? kDisabledFill : 0xE8E8E8;
  p.All(fill);
  p.Fill(0, 0, 1, p.h, kSoftLine);
  p.Fill(p.w - 1, 0, 1, p.h, kSoftLine);
  p.Fill(0, 0, p.w, 1, kSoftLine);
  p.Dot(0, 0, kMagenta);
  p.Dot(p.w - 1, 0, kMagenta);
  if (selected) p.Fill(1, 0, p.w - 2, 2, kFocus);
  else p.Fill(0, p.h - 1, p.w, 1, kSoftLine);
}
void TabBorder(Pen& p, int) {
  p.All(kFace);
  p.Box(0, 0, p.w, p.h, kSoftLine);
}

// Status-bar panels: 1 lowered, 2 raised, 3 without bevel.
void StatusPanel(Pen& p, int f) {
  p.All(kFace);
  p.Fill(0, 0, p.w, 1, 0xDADADA);
  if (f != 3) p.Fill(p.w - 1, 3, 1, p.h - 6, f == 1 ? kSoftLine : kWhite);
}

// Progress: 1 empty bar, 2 filled bar; the chunk of the chunk style.
void Progress(Pen& p, int f) {
  p.All(f == 1 ? 0xE6E6E6 : kFocus);
  p.Box(0, 0, p.w, p.h, 0xBCBCBC);
}
void Chunk(Pen& p, int) {
  p.All(kFocus);
  p.Fill(p.w - 2, 0, 2, p.h, 0xE6E6E6);
}

// Header items: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 as 1.
void HeaderItem(Pen& p, int f) {
  p.All(f == 2 ? 0xCCE8FF : f == 4 ? 0xD9EBF9 : kWhite);
  p.Fill(p.w - 1, 2, 1, p.h - 4, 0xE5E5E5);
  p.Fill(0, p.h - 1, p.w, 1, kSoftLine);
}

// Menu items: 1 normal, 2 separator (a line near the bottom), 3 disabled, 4 selected, 5 as 1.
void MenuItem(Pen& p, int f) {
  p.All(kMagenta);
  if (f == 2) p.Fill(2, p.h - 5, p.w - 4, 1, kSoftLine);
  if (f == 4) p.Rounded(0, 0, p.w, p.h, 0xCCE8FF, 0x99D1FF);
}
void MenuBackground(Pen& p, int) {
  p.All(kWhite);
  p.Box(0, 0, p.w, p.h, 0xCCCCCC);
}

void GroupLabel(Pen& p, int) { p.Rounded(0, 0, p.w, p.h, kFace, kFace); }
void GroupEdge(Pen& p, int f) {
  p.All(kMagenta);
  p.Box(1, 1, p.w - 2, p.h - 2, f == 1 ? kSoftLine : kDisabledLine);
}
// Tool-bar buttons: 1 normal (flat), 2 pressed, 3 disabled, 4 hot, 5 checked.
void ToolButton(Pen& p, int f) {
  p.All(kMagenta);
  if (f == 2 || f == 5) p.Rounded(0, 0, p.w, p.h, 0xCCE8FF, 0x99D1FF);
  if (f == 4) p.Rounded(0, 0, p.w, p.h, 0xE5F3FF, 0xCCE8FF);
}
// Track-bar thumbs: five frames, the second is the one drawn.
void TrackThumb(Pen& p, int f) {
  p.All(kMagenta);
  uint32_t c = f == 3 ? kDisabledLine : f == 4 ? 0x1A86E0 : f == 2 ? kFocus : 0x3C8FDB;
  p.Rounded(0, 0, p.w, p.h, c, c);
}
// Up-down buttons: frames 1-4 the first button, 5-8 the second (normal, pressed, disabled,
// hot); the glyph strips hold the matching arrows.
void UpDownFace(Pen& p, int f) {
  int state = (f - 1) % 4 + 1;
  switch (state) {
    case 1: p.Rounded(0, 0, p.w, p.h, 0xE8E8E8, kLine, kFace); break;
    case 2: p.Rounded(0, 0, p.w, p.h, kPressFill, kPressLine, kFace); break;
    case 3: p.Rounded(0, 0, p.w, p.h, kDisabledFill, kDisabledLine, kFace); break;
    default: p.Rounded(0, 0, p.w, p.h, kHoverFill, kFocus, kFace); break;
  }
}
void UpDownGlyph(Pen& p, int f, bool horizontal) {
  p.All(kMagenta);
  int state = (f - 1) % 4 + 1;
  bool second = f > 4;
  int dir = horizontal ? (second ? 3 : 2) : (second ? 1 : 0);
  p.Arrow(dir, horizontal ? 4 : 3, state == 2 ? 0x000000 : state == 3 ? kDisabledGlyph : state == 4 ? kFocus : kGlyph);
}

std::vector<Element> Elements() {
  using namespace codedskin;
  auto side = [](bool left) { return [left](Pen& p, int f) { SideBorder(p, f, left); }; };
  auto caption = [](int g) { return [g](Pen& p, int f) { CaptionButton(p, f, g); }; };
  return {
      {kTop, "top.bmp", 2, 60, 30, true, 8, 0, 8, 0, TitleTop},
      {kBottom, "bottom.bmp", 2, 60, 4, true, 4, 0, 4, 0, BottomBorder},
      {kLeft, "left.bmp", 2, 4, 60, false, 0, 30, 0, 4, side(true)},
      {kRight, "right.bmp", 2, 4, 60, false, 0, 30, 0, 4, side(false)},
      {kMenuBar, "menubar.bmp", 2, 40, 20, true, 2, 0, 2, 0, MenuBar},
      {kClose, "close.bmp", 4, 28, 22, false, 0, 0, 0, 0, caption(0)},
      {kMaximize, "maximize.bmp", 4, 28, 22, false, 0, 0, 0, 0, caption(1)},
      {kRestore, "restore.bmp", 4, 28, 22, false, 0, 0, 0, 0, caption(2)},
      {kMinimize, "minimize.bmp", 4, 28, 22, false, 0, 0, 0, 0, caption(3)},
      {kMdiControls, "mdicontrols.bmp", 12, 16, 14, false, 0, 0, 0, 0, MdiControls},
      {kButton, "button.bmp", 5, 24, 22, false, 3, 3, 3, 3, PushButton},
      {kCheck, "check.bmp", 4, 13, 13, false, 0, 0, 0, 0, CheckBox},
      {kRadio, "radio.bmp", 4, 13, 13, false, 0, 0, 0, 0, RadioBox},
      {kScrollbar, "scrollbar.bmp", 23, 17, 17, false, 0, 0, 0, 0, ScrollArrows},
      {kHorzScroll, "hscroll.bmp", 4, 32, 17, false, 2, 0, 2, 0, ScrollTrack},
      {kVertScroll, "vscroll.bmp", 4, 17, 32, false, 0, 2, 0, 2, ScrollTrack},
      {kHorzThumb, "hthumb.bmp", 3, 24, 17, false, 4, 0, 4, 0, [](Pen& p, int f) { ScrollThumb(p, f, true); }},
      {kVertThumb, "vthumb.bmp", 3, 17, 24, false, 0, 4, 0, 4, [](Pen& p, int f) { ScrollThumb(p, f, false); }},
      {kComboButton, "combobutton.bmp", 4, 17, 21, false, 0, 0, 0, 0, ComboButton},
      {kSunkEdge, "sunkedge.bmp", 4, 30, 21, false, 2, 2, 2, 2, SunkEdge},
      {kExtraImages, "extra.bmp", 5, 13, 13, false, 0, 0, 0, 0, ExtraImages},
      {kTabs, "tabs.bmp", 5, 40, 24, false, 4, 4, 4, 2, Tab},
      {kTabBorder, "tabborder.bmp", 1, 24, 24, false, 4, 5, 4, 4, TabBorder},
      {kStatusBar, "statusbar.bmp", 3, 20, 20, false, 2, 2, 2, 2, StatusPanel},
      {kProgress, "progress.bmp", 2, 24, 16, false, 3, 3, 3, 3, Progress},
      {kChunk, "chunk.bmp", 1, 8, 12, false, 0, 0, 0, 0, Chunk},
      {kHeader, "header.bmp", 5, 30, 22, false, 2, 2, 2, 2, HeaderItem},
      {kMenuItem, "menuitem.bmp", 5, 32, 22, false, 4, 2, 4, 2, MenuItem},
      {kMenuBackground, "menubg.bmp", 1, 32, 32, false, 3, 3, 3, 3, MenuBackground},
      {kGroupBox, "grouplabel.bmp", 1, 32, 18, false, 4, 4, 4, 4, GroupLabel},
      {kGroupBoxEdge, "groupedge.bmp", 2, 32, 32, false, 4, 4, 4, 4, GroupEdge},
      {kToolbar, "toolbar.bmp", 5, 24, 24, false, 3, 3, 3, 3, ToolButton},
      {kTrackHorz, "trackh.bmp", 5, 11, 20, false, 0, 0, 0, 0, TrackThumb},
      {kTrackVert, "trackv.bmp", 5, 20, 11, false, 0, 0, 0, 0, TrackThumb},
      {kUpDownHorz, "updownh.bmp", 8, 16, 17, false, 0, 0, 0, 0, UpDownFace},
      {kUpDownHorzGlyph, "updownhg.bmp", 8, 7, 7, false, 0, 0, 0, 0, [](Pen& p, int f) { UpDownGlyph(p, f, true); }},
      {kUpDownVert, "updownv.bmp", 8, 17, 11, false, 0, 0, 0, 0, UpDownFace},
      {kUpDownVertGlyph, "updownvg.bmp", 8, 7, 5, false, 0, 0, 0, 0, [](Pen& p, int f) { UpDownGlyph(p, f, false); }},
  };
}

void PaintCoded(const Element& e, Pen& p, int frame) {
  const int cols[4] = {0, e.l, p.w - e.r, p.w};
  const int rows[4] = {0, e.t, p.h - e.b, p.h};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      p.Fill(cols[col], rows[row], cols[col + 1] - cols[col], rows[row + 1] - rows[row],
             codedskin::Colour(e.id, frame, row * 3 + col));
}

Image Draw(const Element& e, Theme theme) {
  Image img(e.stacked ? e.fw : e.fw * e.frames, e.stacked ? e.fh * e.frames : e.fh, kMagenta);
  for (int f = 1; f <= e.frames; ++f) {
    Pen p{img, e.stacked ? 0 : (f - 1) * e.fw, e.stacked ? (f - 1) * e.fh : 0, e.fw, e.fh};
    if (theme == Theme::Coded) PaintCoded(e, p, f);
    else e.paint(p, f);
  }
  return img;
}

// TColor text: red in the low byte.
std::string ColourValue(uint32_t rgb) {
  uint32_t bgr = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16);
  return std::to_string(bgr);
}
std::string Rgb(uint32_t rgb) {
  return std::to_string(rgb >> 16) + "," + std::to_string((rgb >> 8) & 0xFF) + "," + std::to_string(rgb & 0xFF);
}

std::string MakeIni(const std::vector<Element>& el, Theme theme) {
  auto find = [&](int id) -> const Element& { return el[(size_t)id]; };
  std::string s;
  auto line = [&](const std::string& t) { s += t + "\r\n"; };
  auto kv = [&](const std::string& k, const std::string& v) { line(k + "=" + v); };
  auto kvi = [&](const std::string& k, int v) { kv(k, std::to_string(v)); };
  auto margins = [&](const Element& e) {
    kvi("LeftWidth", e.l);
    kvi("TopHeight", e.t);
    kvi("RightWidth", e.r);
    kvi("BottomHeight", e.b);
  };
  auto element = [&](const std::string& section, int id, int trans, int tile) {
    const Element& e = find(id);
    line("");
    line("[" + section + "]");
    kv("Image", e.file);
    margins(e);
    kvi("Trans", trans);
    kvi("Tile", tile);
  };
  using namespace codedskin;
  bool coded = theme == Theme::Coded;
  line(coded ? "; Colour-coded test skin: every frame and part is its own colour." : "; Karvell flat: the built-in skin.");
  line("[TitlebarSkin]");
  kv("SkinName", coded ? "Coded" : "Karvell Flat");

  line("");
  line("[Personality]");
  struct Side { const char* name; int id; };
  for (Side sd : {Side{"Left", kLeft}, Side{"Right", kRight}, Side{"Top", kTop}, Side{"Bottom", kBottom}}) {
    const Element& e = find(sd.id);
    bool vertical = sd.id == kLeft || sd.id == kRight;
    kv(sd.name, e.file);
    kvi(std::string(sd.name) + "TopHeight", vertical ? e.t : e.l);
    kvi(std::string(sd.name) + "BotHeight", vertical ? e.b : e.r);
    kvi(std::string(sd.name) + "Frame", e.frames);
    kvi(std::string(sd.name) + "Stretch", 1);
    kvi(std::string(sd.name) + "Trans", 0);
  }
  kvi("TextShift", 30);
  kvi("TextShiftVert", 0);
  kvi("TextRightClip", 100);
  kvi("TextAlignment", 0);
  kvi("Textbackground", 0);
  kvi("TXTBackleft", 0);
  kvi("TXTBackRight", 0);
  for (const char* k : {"ActiveTextR", "ActiveTextG", "ActiveTextB"}) kvi(k, 255);
  for (const char* k : {"InActiveTextR", "InActiveTextG", "InActiveTextB"}) kvi(k, 128);
  kv("menuBar", find(kMenuBar).file);
  kvi("TileMenu", 0);
  kvi("TileLeftMenu", find(kMenuBar).l);
  kvi("TileRightMenu", find(kMenuBar).r);

  line("");
  line("[Fonts]");
  kvi("FontHeight", 14);

  line("");
  line("[Colours]");
  struct Named { const char* key; uint32_t rgb; };
  const Named colours[] = {
      {"WindowText", kText}, {"ButtonText", kText}, {"ButtonFace", kFace}, {"ButtonHilight", kWhite},
      {"Scrollbar", kFace}, {"Buttonlight", 0xE3E3E3}, {"HilightText", kWhite}, {"ButtonShadow", 0xA0A0A0},
      {"Hilight", kFocus}, {"ButtonDkShadow", 0x696969}, {"Menubar", kFace}, {"MenuBarText", kText},
      {"Menu", kWhite}, {"TitleTextActive", kWhite}, {"MenuText", kText}, {"TitleTextNoActive", 0x808080}};
  for (const Named& c : colours) kv(c.key, ColourValue(c.rgb));
  const uint32_t table[] = {kAccent, kFocus, 0x1FAA3C, 0xE81123};
  for (size_t i = 0; i < sizeof table / sizeof table[0]; ++i) {
    line("");
    line("[Colour" + std::to_string(i) + "]");
    kv("color", ColourValue(table[i]));
  }
  line("");
  line("[Customcolors]");
  for (int i = 0; i < 4; ++i) kv("Color" + std::to_string(i), ColourValue(table[i]));

  line("");
  line("[Buttons]");
  kv("Bitmap", find(kButton).file);
  kv("CheckButton", find(kCheck).file);
  kv("RadioButton", find(kRadio).file);
  margins(find(kButton));
  kvi("Trans", 1);
  kvi("Tile", 0);
  kvi("CheckButtonFrame", find(kCheck).frames);
  kvi("RadioButtonFrame", find(kRadio).frames);
  kv("NormalColour2", Rgb(kText));
  kv("MouseOverColour2", Rgb(kText));
  kv("PressedColour2", Rgb(kText));

  // Caption buttons: close, maximise (not maximised), restore (maximised), minimise, icon.
  struct Caption { int id, action, x, vis, vis1; };
  const Caption captions[] = {{kClose, 0, 32, 0, 0}, {kMaximize, 1, 60, 6, 2}, {kRestore, 1, 60, 6, 1},
                              {kMinimize, 2, 88, 8, 0}};
  int n = 1;
  for (const Caption& c : captions) {
    line("");
    line("[BUTTON" + std::to_string(n++) + "]");
    kv("ButtonImage", find(c.id).file);
    kvi("Action", c.action);
    kvi("Align", 1);
    kvi("Xcoord", c.x);
    kvi("Ycoord", 4);
    kvi("Visibility", c.vis);
    kvi("Visibility1", c.vis1);
    kvi("frame", find(c.id).frames);
  }
  line("");
  line("[BUTTON" + std::to_string(n) + "]");
  kvi("Action", 3);
  kvi("Align", 0);
  kvi("Xcoord", 8);
  kvi("Ycoord", 7);
  kvi("Visibility", 0);
  line("");
  line("[MDICONTROLS]");
  kv("Image", find(kMdiControls).file);

  line("");
  line("[Progress]");
  kv("Bitmap", find(kProgress).file);
  kv("Chunk", find(kChunk).file);
  kvi("Style", 0);
  margins(find(kProgress));
  kvi("Trans", 0);
  kvi("Tile", 0);

  element("GroupBoxEdge", kGroupBoxEdge, 1, 0);
  element("GroupBox", kGroupBox, 1, 0);
  kvi("BackgroundAlignment", 0);
  kvi("BackgroundLeftShift", 4);
  kvi("BackgroundRightShift", 4);
  element("Toolbars", kToolbar, 1, 0);
  element("Tabs", kTabs, 1, 0);
  kv("Border", find(kTabBorder).file);
  kv("NormalColour2", Rgb(kText));
  kv("MouseOverColour2", Rgb(kText));
  element("StatusBarEdges", kStatusBar, 0, 0);
  kv("NormalColour2", Rgb(kText));
  // Sections of their image alone; the thumbs add their frame count, the up-down pairs their glyphs.
  struct Plain { const char* section; int id, trans; };
  const Plain plain[] = {{"ComboButton", kComboButton, 1}, {"SunkEdge", kSunkEdge, 0},
                         {"ExtraImages", kExtraImages, 1}, {"Headerbar", kHeader, 0},
                         {"MenuItem", kMenuItem, 1},       {"MenuBackground", kMenuBackground, 0},
                         {"Scrollbar", kScrollbar, 0},     {"HorzScroll", kHorzScroll, 0},
                         {"VertScroll", kVertScroll, 0}};
  for (const Plain& p : plain) element(p.section, p.id, p.trans, 0);
  for (const Plain& p : {Plain{"HorzScrollThumb", kHorzThumb, 0}, Plain{"VertScrollThumb", kVertThumb, 0}}) {
    element(p.section, p.id, p.trans, 0);
    kvi("FrameCount", find(p.id).frames);
  }
  const Plain trackbars[] = {{"Trackbar.ThumbHorz", kTrackHorz, 1}, {"Trackbar.ThumbVert", kTrackVert, 1},
                             {"Trackbar.ThumbLeft", kTrackVert, 1}, {"Trackbar.ThumbRight", kTrackVert, 1},
                             {"Trackbar.ThumbUp", kTrackHorz, 1},   {"Trackbar.ThumbDown", kTrackHorz, 1}};
  for (const Plain& p : trackbars) element(p.section, p.id, p.trans, 0);
  for (auto [section, id, glyph] : {std::tuple{"UpDown.Horz", kUpDownHorz, kUpDownHorzGlyph},
                                    std::tuple{"UpDown.Vert", kUpDownVert, kUpDownVertGlyph}}) {
    element(section, id, 1, 0);
    kv("GlyphImage", find(glyph).file);
  }
  return s;
}

}  // namespace

std::vector<File> MakeSkin(Theme theme) {
  std::vector<Element> el = Elements();
  for (size_t i = 0; i < el.size(); ++i)
    if (el[i].id != (int)i) std::abort();  // the table is indexed by element number
  std::vector<File> files;
  files.push_back({theme == Theme::Coded ? "coded.ini" : "karvell.ini", MakeIni(el, theme)});
  for (const Element& e : el) files.push_back({e.file, WriteBmp(Draw(e, theme))});
  return files;
}

}  // namespace skinart
