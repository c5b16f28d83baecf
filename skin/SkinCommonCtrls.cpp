#include "skin/SkinCommonCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/SkinBitmaps.h"
#include "skin/SkinBoxes.h"
#include "skin/SkinCtlUtil.h"
#include "skin/SkinData.h"
#include "skin/SkinMetrics.h"
#include "skin/SkinPaint.h"

using namespace skinctl;

// ------------------------------------------------------------------ TSkinProgress

bool TSkinProgress::BeforeDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!WithImage(skinData_->Model().Progress)) return true;
      PaintMessage(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeDefault(m);
  }
}

namespace {
int ProgressFillOf(HWND h, int length) {
  PBRANGE range{};
  SendMessageA(h, PBM_GETRANGE, FALSE, (LPARAM)&range);
  return skinmetrics::ProgressFill(length, (int)SendMessageA(h, PBM_GETPOS, 0, 0), range.iLow, range.iHigh);
}
}  // namespace

void TSkinProgress::Paint(HDC dc, const RECT& r) {
  TDataSkinBorder* e = WithImage(skinData_->Model().Progress);
  if (!e) return;
  if (e->Style == 1) {
    PaintChunks(dc, r);
    return;
  }
  const bool vertical = (GetWindowLongA(handle_, GWL_STYLE) & PBS_VERTICAL) != 0;
  const int w = vertical ? Height(r) : Width(r), h = vertical ? Width(r) : Height(r);
  PrepareBuffer(buffer_, w, h, skinData_->Model().ButtonFace);
  HDC bdc = buffer_.Canvas().Handle();
  DrawNinePart(bdc, RECT{0, 0, w, h}, e->Bitmap, false, e->Tile != 0, true, 2, 1, e->Margins());
  if (const int f = ProgressFillOf(handle_, w); f > 0)
    DrawNinePart(bdc, RECT{0, 0, f, h}, e->Bitmap, false, e->Tile != 0, true, 2, 2, e->Margins());
  if (vertical) SkinRotateLeft(buffer_);
  BitBlt(dc, r.left, r.top, Width(r), Height(r) - 1, buffer_.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TSkinProgress::PaintChunks(HDC dc, const RECT& r) {
  TDataSkinBorder* e = skinData_->Model().Progress.get();
  if (e->Bitmap2.Empty()) return;
  TBitmap& work = SkinWorkBitmap();
  PrepareBuffer(work, Width(r), Height(r), skinData_->Model().ButtonFace);
  HDC wdc = work.Canvas().Handle();
  DrawNinePart(wdc, AtOrigin(r), e->Bitmap, false, e->Tile != 0, e->Trans != 0, 1, 1, e->Margins());
  const int f = ProgressFillOf(handle_, Width(r));
  const int cw = e->Bitmap2.Width(), ch = e->Bitmap2.Height();
  if (f > 0 && cw > 0) {
    TBitmap chunks(f, ch);
    for (int i = 0; i <= f / cw; ++i)
      BitBlt(chunks.Canvas().Handle(), i * cw, 0, cw, ch, e->Bitmap2.Canvas().Handle(), 0, 0, SRCCOPY);
    BitBlt(wdc, e->LeftWidth, (Height(r) - ch) / 2, f, ch, chunks.Canvas().Handle(), 0, 0, SRCCOPY);
  }
  BitBlt(dc, r.left, r.top, Width(r), Height(r), wdc, 0, 0, SRCCOPY);
}

// ------------------------------------------------------------------ TSkinTrackBar

bool TSkinTrackBar::BeforeDefault(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return false;
  }
  if ((m.Msg == WM_NOTIFY || m.Msg == CN_NOTIFY) && m.LParam) {
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
    if (cd->hdr.code != (UINT)NM_CUSTOMDRAW) return TSkinControl::BeforeDefault(m);
    if (cd->dwDrawStage == CDDS_PREPAINT) {
      m.Result = CDRF_NOTIFYITEMDRAW;
    } else if (cd->dwDrawStage == CDDS_ITEMPREPAINT && cd->dwItemSpec == TBCD_THUMB) {
      DrawThumb(cd->hdc);
      m.Result = CDRF_SKIPDEFAULT;
    } else {
      m.Result = CDRF_DODEFAULT;
    }
    return false;
  }
  return TSkinControl::BeforeDefault(m);
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (!IsWindow(handle_)) return;
  RECT t{};
  SendMessageA(handle_, TBM_GETTHUMBRECT, 0, (LPARAM)&t);
  const TSkinModel& model = skinData_->Model();
  TDataSkinObject* e = WithImage(model.TrackbarThumbHorz);
  if (GetWindowLongA(handle_, GWL_STYLE) & TBS_VERT)
    if (TDataSkinObject* v = WithImage(model.TrackbarThumbVert)) e = v;
  if (e) {
    DrawFrameStretched(dc, t, 5, 2, e->Bitmap);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(model.ButtonShadow));
  if (!pen) return;
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, t.left, t.top, t.right, t.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void TSkinTrackBar::UpdateSkin() { InvalidateControl(); }

TSkinTrackBar::~TSkinTrackBar() { EndPropertyLoan(loan_, *this); }

void TSkinTrackBar::Restore() {
  TSkinControl::Restore();
  EndPropertyLoan(loan_, *this);
}

void TSkinTrackBar::LendProperty(const std::string& name, const std::string& value) { loan_.Lend(control_, name, value); }

// ------------------------------------------------------------------ TSkinUpDown

bool TSkinUpDown::BeforeDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallDefault(m);
      mouseState_ |= kPressed;
      PaintWindow(nullptr);
      return false;
    case WM_LBUTTONUP:
      mouseState_ &= (uint8_t)~kPressed;
      CallDefault(m);
      PaintWindow(nullptr);
      return false;
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      if (!control_ && m.WParam) {
        RECT c{};
        GetClientRect(handle_, &c);
        FillSolid((HDC)m.WParam, c, clWhite);
      }
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeDefault(m);
  }
}

void TSkinUpDown::DrawButton(HDC dc, TCanvas& canvas, const RECT& r, bool horizontal, bool second, int state) {
  const TSkinModel& model = skinData_->Model();
  TDataSkinBorder* e = WithImage(horizontal ? model.UpDownHorz : model.UpDownVert);
  if (e) {
    const int frame = (second ? 4 : 0) + state;
    DrawFrame(dc, r, e->Bitmap, true, 8, frame);
    if (!e->Bitmap2.Empty()) DrawFrameCentred(dc, r, e->Bitmap2, true, 8, frame);
    return;
  }
  canvas.Brush().SetColor(state == 1 || state == 3 ? model.ButtonFace : model.ButtonShadow);
  canvas.Pen().SetColor(model.ButtonDkShadow);
  canvas.Rectangle(r.left, r.top, r.right, r.bottom);
  const int direction = horizontal ? (second ? 3 : 2) : (second ? 1 : 0);
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2 - (horizontal ? 0 : 2);
  DrawArrow(canvas, cx, cy, direction);
}

void TSkinUpDown::Paint(HDC dc, const RECT& r) {
  RECT client{};
  if (!GetClientRect(handle_, &client)) return;
  PrepareBuffer(buffer_, Width(client), Height(client), skinData_->Model().ButtonFace);
  TCanvas& canvas = buffer_.Canvas();
  HDC bdc = canvas.Handle();
  RECT area = client;
  if (Inset) InflateRect(&area, -1, -1);
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  const bool horizontal = Horizontal || (style & UDS_HORZ);
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(handle_, &cursor);
  const bool inside = PtInRect(&client, cursor) != 0;
  const int size = horizontal ? Width(area) : Height(area);
  const int along = (horizontal ? cursor.x : cursor.y) - (horizontal ? area.left : area.top);
  const skinmetrics::UpDownFrames f =
      skinmetrics::UpDownButtonFrames(size, along, inside, (mouseState_ & kPressed) != 0, !(style & WS_DISABLED));
  const int half = size / 2;
  RECT first = area, second = area;
  if (horizontal) {
    first.right = area.left + half;
    second.left = first.right;
  } else {
    first.bottom = area.top + half;
    second.top = first.bottom;
  }
  DrawButton(bdc, canvas, first, horizontal, false, f.first);
  DrawButton(bdc, canvas, second, horizontal, true, f.second);
  BitBlt(dc, r.left, r.top, Width(client), Height(client), bdc, 0, 0, SRCCOPY);
}

// ------------------------------------------------------------------ TSkinHeader

bool TSkinHeader::BeforeDefault(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND && WithImage(skinData_->Model().Headerbar)) {
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeDefault(m);
}

void TSkinHeader::Paint(HDC dc, const RECT& r) {
  TDataSkinObject* e = WithImage(skinData_->Model().Headerbar);
  if (!e) return;
  PrepareBuffer(buffer_, Width(r), Height(r), skinData_->Model().ButtonFace);
  HDC bdc = buffer_.Canvas().Handle();
  SelectedFont font(bdc, (HFONT)SendMessageA(handle_, WM_GETFONT, 0, 0));
  SetBkMode(bdc, TRANSPARENT);
  SetTextColor(bdc, ColorToRGB(e->NormalColour2));
  auto images = (HIMAGELIST)SendMessageA(handle_, HDM_GETIMAGELIST, 0, 0);
  const int count = (int)SendMessageA(handle_, HDM_GETITEMCOUNT, 0, 0);
  int right = 0;
  for (int i = 0; i < count; ++i) {
    RECT ir{};
    if (!SendMessageA(handle_, HDM_GETITEMRECT, (WPARAM)i, (LPARAM)&ir)) continue;
    wchar_t buf[202] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = buf;
    item.cchTextMax = 201;
    SendMessageW(handle_, HDM_GETITEMW, (WPARAM)i, (LPARAM)&item);
    DrawElement(bdc, ir, e->FrameCount, 1, e);
    right = std::max(right, (int)ir.right);
    std::string text;
    SkinWideToAnsi(buf, text);
    if (text.empty()) continue;
    const int align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? 2 : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? 1 : 0;
    const bool icon = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) != 0;
    DrawIconTextList(bdc, ir, align, text, icon ? item.iImage : -1, images);
  }
  if (right < Width(r)) DrawElement(bdc, RECT{right, 0, Width(r), Height(r)}, e->FrameCount, 1, e);
  BitBlt(dc, r.left, r.top, Width(r), Height(r), bdc, 0, 0, SRCCOPY);
}
