// The arithmetic of the control skinners, kept apart from any window so it can be checked
// alone: which frame of a strip a control state shows, where a check glyph sits, how long a
// progress fill or a scroll thumb is, how a bitmap button lays out glyph and caption.
// Frames are 1-based as in the skin strips. Pure functions; any thread.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace skinmetrics {

// The state a button painter reads.
struct ButtonState {
  bool enabled = true, focused = false, isDefault = false, pressed = false, hover = false;
};

// Push buttons: 1; focused 4; default 5; pressed 2, else hover 4; disabled 3 (later wins).
int PushButtonFrame(const ButtonState& s);
// Bitmap buttons: 1; default 5; focused 4; pressed 2, else hover 4; disabled 3.
int BitButtonFrame(const ButtonState& s);
// Speed buttons: 1; pressed 2, else hover 4; disabled 3; down 2.
int SpeedButtonFrame(const ButtonState& s, bool down);
// The glyph of a button frame: pressed shows glyph 3, disabled glyph 2, others glyph 1.
int GlyphForFrame(int frame);

// Check boxes. `state` is 1 unchecked, 2 checked, 4 grayed (from the control's properties
// or the window's check state). The result is a frame of a strip of `frameCount` frames
// (12 and 4 frames have their own layouts), never past the strip's end.
int CheckBoxFrame(int state, bool disabled, bool indeterminate, int frameCount);
// Radio buttons: `checked`, disabled; 8 frames have their own layout.
int RadioButtonFrame(bool checked, bool disabled, int frameCount);

// Where a check or radio glyph of fw x fh goes inside the control's rectangle, and the
// strip that is filled with the parent's colour first.
struct GlyphPlace {
  RECT glyph, fill;
};
GlyphPlace CheckGlyphPlace(const RECT& r, int fw, int fh, bool leftText);
GlyphPlace RadioGlyphPlace(const RECT& r, int fw, int fh, bool leftText);

// Filled length of a progress bar `length` pixels long: (position - min) / (max - min) of
// it, 0 for an empty or inverted range, never outside 0 .. length.
int ProgressFill(int length, int position, int min, int max);

// A scroll bar along one axis: length L, arrow size a, thumb from start to end.
struct ScrollGeometry {
  int length = 0, arrow = 0, thumbStart = 0, thumbEnd = 0;
};
// The scroll code of a point along the axis: 0 first arrow, 2 page before the thumb,
// 5 thumb, 3 page after it, 1 second arrow.
int ScrollHitTest(const ScrollGeometry& g, int p);
// The thumb of a stand-alone scroll-bar control with its position in min .. max and a page
// size (0: an arrow-sized thumb). An empty range puts the thumb at the start.
void ControlThumb(ScrollGeometry& g, int position, int min, int max, int page);
// The thumb moved by `delta` pixels from where it was at the press, kept between the arrows.
void TrackThumb(ScrollGeometry& g, int startAtPress, int delta);
// The two arrows' length: a each, or half the bar when two arrows do not fit.
int ArrowLength(const ScrollGeometry& g);

// Tab position from a tab control's style: 0 top, 1 bottom, 2 left, 3 right.
int TabPosition(DWORD style);
// A tab's rectangle mapped into the horizontal strip buffer (width `bufferWidth`) that is
// composed before it is turned for left and right tabs. `pageBottom` is the page area's
// bottom (bottom tabs), `controlRight` the control's right edge (right tabs).
RECT MapTabRect(const RECT& tab, int position, int bufferWidth, int pageBottom, int controlRight);

// Up-down buttons: the frame (1 normal, 2 pressed, 3 disabled, 4 hover) of the first and the
// second button for a cursor at `cursor` along the axis of a control `size` long.
struct UpDownFrames {
  int first = 1, second = 1;
};
UpDownFrames UpDownButtonFrames(int size, int cursor, bool cursorInside, bool pressed, bool enabled);

// Combo boxes: 1; disabled 3; focused 4; pressed 2, else hover 4.
int ComboFrame(bool enabled, bool focused, bool pressed, bool hover);

// Bitmap-button layout on a client area of cw x ch: glyph of gw x gh, text of tw x th.
// layout: 0 glyph left, 1 right, 2 top, 3 bottom. margin and spacing as the button holds
// them (-1: computed); centred: the alignment is "tacenter".
struct ButtonLayout {
  POINT glyph{};
  RECT text{};
  UINT textFlags = 0;
};
ButtonLayout LayoutGlyphButton(int cw, int ch, int gw, int gh, int tw, int th, int layout, int margin,
                               int spacing, bool centred);

}  // namespace skinmetrics
