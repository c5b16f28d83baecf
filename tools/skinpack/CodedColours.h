// The colour code of the "coded" test skin: every frame of every element, and each of the
// nine parts of that frame, is one flat colour, so a test can tell from one pixel which
// element, frame and part was drawn. Shared by the art generator and the tests.
// Constants and pure functions.
#pragma once
#include <cstdint>

namespace codedskin {

// part: row * 3 + column of the nine-part cut (0 top-left ... 8 bottom-right).
// Returns 0x00RRGGBB; never magenta, never black or white.
constexpr uint32_t Colour(int element, int frame, int part) {
  uint32_t r = 8 + (uint32_t)element * 6;  // element 0..40
  uint32_t g = 10 + (uint32_t)frame * 9;   // frame 1..24
  uint32_t b = 16 + (uint32_t)part * 24;   // part 0..8
  return r << 16 | g << 8 | b;
}

struct Decoded {
  int element, frame, part;
};
constexpr Decoded Decode(uint32_t rgb) {
  return {(int)(((rgb >> 16) & 0xFF) - 8) / 6, (int)(((rgb >> 8) & 0xFF) - 10) / 9,
          (int)((rgb & 0xFF) - 16) / 24};
}

}  // namespace codedskin

namespace codedskin {

// Element numbers of the colour code, in the generator's order.
enum Element {
  kTop, kBottom, kLeft, kRight, kMenuBar, kClose, kMaximize, kRestore, kMinimize, kMdiControls,
  kButton, kCheck, kRadio, kScrollbar, kHorzScroll, kVertScroll, kHorzThumb, kVertThumb,
  kComboButton, kSunkEdge, kExtraImages, kTabs, kTabBorder, kStatusBar, kProgress, kChunk,
  kHeader, kMenuItem, kMenuBackground, kGroupBox, kGroupBoxEdge, kToolbar, kTrackHorz,
  kTrackVert, kUpDownHorz, kUpDownHorzGlyph, kUpDownVert, kUpDownVertGlyph, kElementCount
};

}  // namespace codedskin
