// The painting routines every skin painter shares: a frame of a strip laid into a rectangle
// in nine parts (corners at their size, edges stretched along their length, the centre
// stretched or tiled), single frames stretched or centred, copies with magenta as the
// transparent colour, and window regions from bitmaps.
// The routines own nothing they are handed; BuildNinePart's bitmap is the caller's. GUI thread
// only: the work bitmap is shared.
#pragma once
#include <windows.h>

#include <memory>

class TBitmap;
class TCanvas;

constexpr COLORREF kSkinKeyColour = 0xFF00FF;  // magenta (same in RGB and BGR order)

struct TSkinMargins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The rectangle of frame `index` (1-based) of a strip of `count` equal frames, side by side or
// stacked. A count below 1 counts as 1 and the index is clamped into 1..count. Empty when
// the strip is empty or narrower than its frame count.
RECT SkinFrameRect(const TBitmap& strip, bool stacked, int count, int index);

// A new bitmap of the target's size holding the nine-part image of that frame; null when the
// target or the frame is empty.
std::unique_ptr<TBitmap> BuildNinePart(const RECT& target, TBitmap& strip, const TSkinMargins& m,
                                       bool stacked, bool tile, int frameCount, int frameIndex);
// The nine-part image built once and copied to the DC in one transfer, with the key colour
// transparent when asked; nothing for an empty or inverted rectangle.
void DrawNinePart(HDC dc, const RECT& r, TBitmap& strip, bool stacked, bool tile, bool transparent,
                  int frameCount, int frameIndex, const TSkinMargins& m);
// The same picture drawn part by part on a canvas.
void DrawNinePartOnCanvas(TCanvas& canvas, const RECT& r, TBitmap& strip, bool stacked, bool tile,
                          int frameCount, int frameIndex, const TSkinMargins& m);
// The same picture, each part stretched straight onto the DC.
void DrawNinePartDirect(HDC dc, const RECT& r, TBitmap& strip, bool stacked, bool tile, int frameCount,
                        int frameIndex, const TSkinMargins& m);

// A whole frame (side by side strip) stretched to the rectangle.
void DrawFrame(HDC dc, const RECT& r, TBitmap& strip, bool transparent, int frameCount, int frameIndex);
// A frame at its own size centred in the rectangle (offsets halved toward zero).
void DrawFrameCentred(HDC dc, const RECT& r, TBitmap& strip, bool transparent, int frameCount, int frameIndex);

// Copies the bitmap to the rectangle's top-left corner (at most the rectangle's size);
// pixels of the key colour leave the DC as it was.
void TransparentCopy(HDC dc, const RECT& r, TBitmap& bitmap, COLORREF key = kSkinKeyColour);
// Fills the rectangle by repeating the source piece at its own size from the top-left.
void TileBitmap(TCanvas& canvas, const RECT& r, TCanvas& source, const RECT& sourceRect);

// A region of every pixel whose colour lies outside key .. key + tolerance (per component,
// capped at 255), moved to (x, y). The caller owns it; an all-key bitmap gives an empty one.
HRGN RegionFromBitmap(TBitmap& bitmap, int x, int y, int redTol, int greenTol, int blueTol,
                      COLORREF key = kSkinKeyColour);

// The engine's shared work bitmap (stretch mode COLORONCOLOR), the drawing surface of the
// title and the menu bar.
TBitmap& SkinWorkBitmap();
