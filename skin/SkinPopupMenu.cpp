#include "skin/SkinPopupMenu.h"

#include <algorithm>

#include "skin/SkinData.h"
#include "skin/SkinManager.h"
#include "skin/SkinObjects.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSubclass.h"

namespace {
constexpr int kEdge = 3;  // width of the frame strips

TSkinPopupMenu*& Current() {
  static TSkinPopupMenu* current = nullptr;
  return current;
}
}  // namespace

TSkinPopupMenu* CurrentPopupSkinner() { return Current(); }

void TSkinPopupMenu::Attach(HWND window, TSkinData* data, int tag) {
  if (subclass_.Installed()) return;
  window_ = window;
  data_ = data;
  tag_ = tag;
  Mark = false;
  subclass_.Install(window, TWindowSubclass::THandler(this, &TSkinPopupMenu::Proc));
}

void TSkinPopupMenu::Detach() {
  if (!subclass_.Installed()) return;
  subclass_.Restore();
  image_.Clear();
  if (Current() == this) Current() = nullptr;
}

bool TSkinPopupMenu::Compose() {
  if (!data_ || data_->NoSkin()) return false;
  TDataSkinObject* back = data_->Model().MenuBackground.get();
  if (!back || back->Bitmap.Empty()) return false;
  RECT wr{};
  if (!GetWindowRect(window_, &wr)) return false;
  RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  auto picture = BuildNinePart(r, back->Bitmap, back->Margins(), false, back->Tile == 1, 1, 1);
  if (!picture) return false;
  image_.Swap(*picture);
  if (tag_ == 0) Current() = this;
  return true;
}

void TSkinPopupMenu::PaintFrame() {
  HDC dc = GetWindowDC(window_);
  if (!dc) return;
  int w = image_.Width(), h = image_.Height();
  HDC src = image_.Canvas().Handle();
  BitBlt(dc, 0, 0, w, kEdge, src, 0, 0, SRCCOPY);
  BitBlt(dc, 0, h - kEdge, w, kEdge, src, 0, h - kEdge, SRCCOPY);
  BitBlt(dc, 0, kEdge, kEdge, h - kEdge, src, 0, kEdge, SRCCOPY);
  BitBlt(dc, w - kEdge, kEdge, kEdge, h - kEdge, src, w - kEdge, kEdge, SRCCOPY);
  ReleaseDC(window_, dc);
}

LRESULT TSkinPopupMenu::Print(HDC dc, WPARAM wp, LPARAM lp) {
  int w = image_.Width(), h = image_.Height();
  BitBlt(dc, 0, 0, w, h, image_.Canvas().Handle(), 0, 0, SRCCOPY);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  HRGN clip = CreateRectRgn(kEdge, kEdge, w - kEdge, h - kEdge);
  SelectClipRgn(dc, clip);
  LRESULT r = subclass_.CallPrevious(WM_PRINT, wp, lp);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  SetBkMode(dc, oldMode);
  return r;
}

LRESULT TSkinPopupMenu::Proc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == SKIN_QUERY) return 1;
  TSkinManage* m = SkinManager();
  if (!m || !m->Active()) return subclass_.CallPrevious(msg, wp, lp);
  switch (msg) {
    case WM_DESTROY:
      Detach();
      return subclass_.CallPrevious(msg, wp, lp);
    case WM_NCPAINT:
      if (!Compose()) return subclass_.CallPrevious(msg, wp, lp);
      PaintFrame();
      return 0;
    case WM_PRINT:
      if (!Compose()) return subclass_.CallPrevious(msg, wp, lp);
      return Print((HDC)wp, wp, lp);
    case WM_PAINT:
      // Wine sends menus neither WM_NCPAINT nor WM_PRINT: the items still get the picture.
      // The items about to be drawn are this menu's, so it is the current one again.
      if (image_.Empty()) Compose();
      else if (tag_ == 0) Current() = this;
      return subclass_.CallPrevious(msg, wp, lp);
    default:
      return subclass_.CallPrevious(msg, wp, lp);
  }
}
