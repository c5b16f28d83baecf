// Image operations on skin bitmaps (24-bit, changed in place): grey, mirror, flip and the
// two quarter turns.
// Each operation changes only the bitmap it is handed; GUI thread, like every GDI object here.
#pragma once

class TBitmap;

// Every pixel becomes (blue + green + red) div 3 in all three components.
void SkinGrayBitmap(TBitmap& b);
// Mirrors left to right. With a frame count, each of that many equal side-by-side frames is
// mirrored in its own place, so frame k stays frame k; columns past the last whole frame
// stay as they are.
void SkinMirrorBitmap(TBitmap& b, int frameCount = 1);
// Row y becomes row height - 1 - y.
void SkinFlipBitmap(TBitmap& b);
// A quarter turn anticlockwise: (x, y) goes to (y, width - 1 - x).
void SkinRotateLeft(TBitmap& b);
// A quarter turn clockwise: (x, y) goes to (height - 1 - y, x).
void SkinRotateRight(TBitmap& b);
