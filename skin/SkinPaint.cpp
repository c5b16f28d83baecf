// Nine-part painting, transparent copies and regions. One routine lays out the nine parts;
// the three drawing variants differ only in where the parts land, so their pictures agree.
#include "skin/SkinPaint.h"

#include <algorithm>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Repeats the source piece over the rectangle, cutting the last row and column short.
void TileDC(HDC dst, const RECT& r, HDC src, const RECT& s) {
  const int pw = Width(s), ph = Height(s);
  if (pw <= 0 || ph <= 0) return;
  for (int y = r.top; y < r.bottom; y += ph)
    for (int x = r.left; x < r.right; x += pw)
      BitBlt(dst, x, y, std::min(pw, (int)r.right - x), std::min(ph, (int)r.bottom - y), src, s.left, s.top, SRCCOPY);
}

// Paints the nine parts of `frame` (a rectangle of the strip) into `target` on `dst`.
void PaintParts(HDC dst, const RECT& target, TBitmap& strip, const RECT& frame, TSkinMargins m, bool tile) {
  const int tw = Width(target), th = Height(target);
  if (tw <= 0 || th <= 0 || Width(frame) <= 0 || Height(frame) <= 0) return;
  if (m.left + m.right > tw) m.left = m.right = 0;
  if (m.top + m.bottom > th) m.top = m.bottom = 0;
  HDC src = strip.Canvas().Handle();
  SetStretchBltMode(dst, COLORONCOLOR);
  const int sx[4] = {frame.left, frame.left + m.left, frame.right - m.right, frame.right};
  const int sy[4] = {frame.top, frame.top + m.top, frame.bottom - m.bottom, frame.bottom};
  const int dx[4] = {target.left, target.left + m.left, target.right - m.right, target.right};
  const int dy[4] = {target.top, target.top + m.top, target.bottom - m.bottom, target.bottom};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) {
      RECT s{sx[col], sy[row], sx[col + 1], sy[row + 1]};
      RECT d{dx[col], dy[row], dx[col + 1], dy[row + 1]};
      if (Width(s) <= 0 || Height(s) <= 0 || Width(d) <= 0 || Height(d) <= 0) continue;
      if (row == 1 && col == 1 && tile) TileDC(dst, d, src, s);
      else StretchBlt(dst, d.left, d.top, Width(d), Height(d), src, s.left, s.top, Width(s), Height(s), SRCCOPY);
    }
}

// Copies w x h pixels from src to dst; pixels of the key colour keep the destination.
void MaskedCopy(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, COLORREF key) {
  if (w <= 0 || h <= 0) return;
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HDC maskDC = CreateCompatibleDC(nullptr);
  HGDIOBJ oldMask = SelectObject(maskDC, mask);
  // Colour to monochrome: pixels of the source's background colour become 1.
  COLORREF oldBk = SetBkColor(src, key);
  BitBlt(maskDC, 0, 0, w, h, src, sx, sy, SRCCOPY);
  SetBkColor(src, oldBk);
  // Mask 1 (key colour): keep the destination; mask 0: copy the source.
  MaskBlt(dst, x, y, w, h, src, sx, sy, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
  SelectObject(maskDC, oldMask);
  DeleteDC(maskDC);
  DeleteObject(mask);
}

}  // namespace

RECT SkinFrameRect(const TBitmap& strip, bool stacked, int count, int index) {
  if (strip.Empty()) return RECT{0, 0, 0, 0};
  count = std::max(count, 1);
  index = std::clamp(index, 1, count);
  if (stacked) {
    const int fh = strip.Height() / count;
    if (fh <= 0) return RECT{0, 0, 0, 0};
    return RECT{0, (index - 1) * fh, strip.Width(), index * fh};
  }
  const int fw = strip.Width() / count;
  if (fw <= 0) return RECT{0, 0, 0, 0};
  return RECT{(index - 1) * fw, 0, index * fw, strip.Height()};
}

std::unique_ptr<TBitmap> BuildNinePart(const RECT& target, TBitmap& strip, const TSkinMargins& m, bool stacked,
                                       bool tile, int frameCount, int frameIndex) {
  const RECT frame = SkinFrameRect(strip, stacked, frameCount, frameIndex);
  if (Width(target) <= 0 || Height(target) <= 0 || Width(frame) <= 0) return nullptr;
  auto b = std::make_unique<TBitmap>(Width(target), Height(target));
  if (b->Empty()) return nullptr;
  PaintParts(b->Canvas().Handle(), RECT{0, 0, Width(target), Height(target)}, strip, frame, m, tile);
  return b;
}

void DrawNinePart(HDC dc, const RECT& r, TBitmap& strip, bool stacked, bool tile, bool transparent, int frameCount,
                  int frameIndex, const TSkinMargins& m) {
  std::unique_ptr<TBitmap> b = BuildNinePart(r, strip, m, stacked, tile, frameCount, frameIndex);
  if (!b) return;
  if (transparent) TransparentCopy(dc, r, *b);
  else BitBlt(dc, r.left, r.top, b->Width(), b->Height(), b->Canvas().Handle(), 0, 0, SRCCOPY);
}

void DrawNinePartOnCanvas(TCanvas& canvas, const RECT& r, TBitmap& strip, bool stacked, bool tile, int frameCount,
                          int frameIndex, const TSkinMargins& m) {
  DrawNinePartDirect(canvas.Handle(), r, strip, stacked, tile, frameCount, frameIndex, m);
}

void DrawNinePartDirect(HDC dc, const RECT& r, TBitmap& strip, bool stacked, bool tile, int frameCount,
                        int frameIndex, const TSkinMargins& m) {
  PaintParts(dc, r, strip, SkinFrameRect(strip, stacked, frameCount, frameIndex), m, tile);
}

void DrawFrame(HDC dc, const RECT& r, TBitmap& strip, bool transparent, int frameCount, int frameIndex) {
  const RECT f = SkinFrameRect(strip, false, frameCount, frameIndex);
  if (Width(r) <= 0 || Height(r) <= 0 || Width(f) <= 0) return;
  if (!transparent) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, Width(r), Height(r), strip.Canvas().Handle(), f.left, f.top, Width(f), Height(f),
               SRCCOPY);
    return;
  }
  TBitmap b(Width(r), Height(r));
  if (b.Empty()) return;
  HDC bdc = b.Canvas().Handle();
  SetStretchBltMode(bdc, COLORONCOLOR);
  StretchBlt(bdc, 0, 0, Width(r), Height(r), strip.Canvas().Handle(), f.left, f.top, Width(f), Height(f), SRCCOPY);
  TransparentCopy(dc, r, b);
}

void DrawFrameCentred(HDC dc, const RECT& r, TBitmap& strip, bool transparent, int frameCount, int frameIndex) {
  const RECT f = SkinFrameRect(strip, false, frameCount, frameIndex);
  if (Width(f) <= 0) return;
  const int x = r.left + (Width(r) - Width(f)) / 2;
  const int y = r.top + (Height(r) - Height(f)) / 2;
  HDC src = strip.Canvas().Handle();
  if (transparent) MaskedCopy(dc, x, y, Width(f), Height(f), src, f.left, f.top, kSkinKeyColour);
  else BitBlt(dc, x, y, Width(f), Height(f), src, f.left, f.top, SRCCOPY);
}

void TransparentCopy(HDC dc, const RECT& r, TBitmap& bitmap, COLORREF key) {
  if (bitmap.Empty()) return;
  MaskedCopy(dc, r.left, r.top, std::min(Width(r), bitmap.Width()), std::min(Height(r), bitmap.Height()),
             bitmap.Canvas().Handle(), 0, 0, key);
}

void TileBitmap(TCanvas& canvas, const RECT& r, TCanvas& source, const RECT& sourceRect) {
  TileDC(canvas.Handle(), r, source.Handle(), sourceRect);
}

HRGN RegionFromBitmap(TBitmap& bitmap, int x, int y, int redTol, int greenTol, int blueTol, COLORREF key) {
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  if (bitmap.Empty()) return result;
  const int lo[3] = {GetBValue(key), GetGValue(key), GetRValue(key)};  // scan-line order
  const int tol[3] = {blueTol, greenTol, redTol};
  int hi[3];
  for (int c = 0; c < 3; ++c) hi[c] = std::min(255, lo[c] + std::max(0, tol[c]));
  auto transparent = [&](const uint8_t* p) {
    for (int c = 0; c < 3; ++c)
      if (p[c] < lo[c] || p[c] > hi[c]) return false;
    return true;
  };

  constexpr size_t kBlock = 500;
  std::vector<RECT> rects;
  rects.reserve(kBlock);
  auto flush = [&] {
    if (rects.empty()) return;
    std::vector<char> buf(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATA* data = (RGNDATA*)buf.data();
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = (DWORD)rects.size();
    data->rdh.nRgnSize = (DWORD)(rects.size() * sizeof(RECT));
    data->rdh.rcBound = RECT{0, 0, bitmap.Width(), bitmap.Height()};
    std::copy(rects.begin(), rects.end(), (RECT*)data->Buffer);
    if (HRGN part = ExtCreateRegion(nullptr, (DWORD)buf.size(), data)) {
      CombineRgn(result, result, part, RGN_OR);
      DeleteObject(part);
    }
    rects.clear();
  };
  for (int row = 0; row < bitmap.Height(); ++row) {
    const uint8_t* line = bitmap.ScanLine(row);
    int col = 0;
    while (col < bitmap.Width()) {
      while (col < bitmap.Width() && transparent(line + col * 3)) ++col;
      const int start = col;
      while (col < bitmap.Width() && !transparent(line + col * 3)) ++col;
      if (col > start) {
        rects.push_back(RECT{start, row, col, row + 1});
        if (rects.size() == kBlock) flush();
      }
    }
  }
  flush();
  OffsetRgn(result, x, y);
  return result;
}

TBitmap& SkinWorkBitmap() {
  static TBitmap work;
  return work;
}
