#include "skin/SkinEdits.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/SkinCommonCtrls.h"
#include "skin/SkinCtlUtil.h"
#include "skin/SkinData.h"
#include "skin/SkinMetrics.h"
#include "skin/SkinPaint.h"
#include "skin/SkinScrollbars.h"

using namespace skinctl;

// ------------------------------------------------------------------ TSkinComBox

TSkinComBox::~TSkinComBox() { editSubclass_.Restore(); }

void TSkinComBox::Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) {
  if (attached_) return;
  TSkinControl::Attach(formSkinner, skinData, recolour, canvas);
  if (!handle_) return;
  style_ = (DWORD)GetWindowLongA(handle_, GWL_STYLE);
  if ((style_ & 3) == CBS_SIMPLE) {
    info_.cbSize = sizeof info_;
    if (GetComboBoxInfo(handle_, &info_)) list_ = info_.hwndList;
    if (list_ && !IsPopupWindow(list_) && (GetWindowLongA(list_, GWL_STYLE) & WS_CHILD)) {
      listBars_ = New<TSkinScrollbarH>(this);
      listBars_->AttachHandle(list_, skinData_, formSkinner_, nullptr);
    }
    return;
  }
  edit_ = GetTopWindow(handle_);
  if (edit_) editSubclass_.Install(edit_, TWindowSubclass::THandler(this, &TSkinComBox::EditWndProc));
}

LRESULT TSkinComBox::EditWndProc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = editSubclass_.CallPrevious(msg, wp, lp);
  if (!active_) return result;
  if (msg == WM_PAINT) PaintWindow(nullptr);  // the frame is drawn again whenever the edit paints
  else TrackLeftButton(msg);
  return result;
}

void TSkinComBox::Restore() {
  TSkinControl::Restore();
  editSubclass_.Restore();
}

void TSkinComBox::AfterDefault(TMessage& m) {
  if (TrackLeftButton(m.Msg)) return;
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (enabled_) SetBit(mouseState_, kHover, m.Msg == CM_MOUSEENTER);
      return;
    case WM_DRAWITEM:
    case WM_NCPAINT:
      InvalidateControl();
      return;
    default:
      TSkinControl::AfterDefault(m);
  }
}

bool TSkinComBox::Focused() const {
  HWND f = GetFocus();
  return f && (f == handle_ || IsChild(handle_, f));
}

void TSkinComBox::Paint(HDC dc, const RECT& r) {
  const TSkinModel& model = skinData_->Model();
  TDataSkinBorder* button = WithImage(model.ComboButton);
  if (!button) return;
  style_ = (DWORD)GetWindowLongA(handle_, GWL_STYLE);
  exStyle_ = (DWORD)GetWindowLongA(handle_, GWL_EXSTYLE);
  info_ = COMBOBOXINFO{};
  info_.cbSize = sizeof info_;
  if (!GetComboBoxInfo(handle_, &info_) || (info_.stateButton & STATE_SYSTEM_INVISIBLE)) return;
  if (button->Style == 1) {
    PaintClassic(dc, r, button);
    return;
  }
  const bool enabled = !(style_ & WS_DISABLED);
  const int frame = skinmetrics::ComboFrame(enabled, Focused(), (mouseState_ & kPressed) != 0, (mouseState_ & kHover) != 0);
  const RECT a = AtOrigin(r);
  const bool left = (exStyle_ & WS_EX_LEFTSCROLLBAR) != 0;
  const int w = GetSystemMetrics(SM_CXVSCROLL);
  const int count = std::max(button->FrameCount, 1);
  if (button->Style == 2) {
    TDataSkinObject* whole = button;
    if (left) whole = WithImage(model.SunkEdge);
    if (whole)
      DrawNinePart(dc, a, whole->Bitmap, false, false, true, std::max(whole->FrameCount, 1), frame, whole->Margins());
    return;
  }
  const int saved = SaveDC(dc);
  RECT glyphBox;
  if (!left) {
    ExcludeClipRect(dc, a.left + 2, a.top + 2, a.right - w - 4, a.bottom - 2);
    if (TDataSkinObject* sunk = WithImage(model.SunkEdge)) DrawElement(dc, a, sunk->FrameCount, frame, sunk);
    DrawFrameStretched(dc, RECT{a.right - w - 2, a.top, a.right, a.bottom}, count, frame, button->Bitmap);
    glyphBox = RECT{a.right - w - 2, a.top, a.right - 2, a.bottom};
  } else {
    ExcludeClipRect(dc, a.left + w + 4, a.top + 2, a.right - 2, a.bottom - 2);
    if (TDataSkinObject* sunk = WithImage(model.SunkEdge)) DrawElement(dc, a, sunk->FrameCount, frame, sunk);
    TBitmap& mirrored = button->Bitmap2.Empty() ? button->Bitmap : button->Bitmap2;
    DrawFrameStretched(dc, RECT{a.left, a.top, a.left + w + 2, a.bottom}, count, frame, mirrored);
    glyphBox = RECT{2, a.top, w + 2, a.bottom};
  }
  if (TDataSkinObject* extra = WithImage(model.ExtraImages)) {
    const int n = std::max(extra->FrameCount, 1);
    const int fw = extra->Bitmap.Width() / n, fh = extra->Bitmap.Height();
    const int x = glyphBox.left + (Width(glyphBox) - fw) / 2, y = glyphBox.top + (Height(glyphBox) - fh) / 2;
    DrawFrameStretched(dc, RECT{x, y, x + fw, y + fh}, n, frame, extra->Bitmap);
  }
  RestoreDC(dc, saved);
}

void TSkinComBox::PaintClassic(HDC dc, const RECT& r, TDataSkinObject* button) {
  int frame = Focused() ? 4 : !(style_ & WS_DISABLED) ? 1 : 3;
  if (mouseState_ & kPressed) frame = 2;
  else if (mouseState_ & kHover) frame = 4;
  const RECT a = AtOrigin(r);
  auto brush = (HBRUSH)GetCurrentObject(dc, OBJ_BRUSH);
  RECT inner = a;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, brush);
  InflateRect(&inner, -1, -1);
  RECT b{inner.right - GetSystemMetrics(SM_CXHTHUMB), inner.top, inner.right, inner.bottom};
  FillRect(dc, &b, brush);
  DrawFrameStretchedCopy(dc, b, std::max(button->FrameCount, 1), frame, button->Bitmap);
  FrameSolid(dc, a, skinData_->Model().ButtonShadow);
}

// ------------------------------------------------------------------ TSkinEdit

void TSkinEdit::AfterDefault(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    if (!m.WParam) PaintWindow(nullptr);
    return;
  }
  if (m.Msg == WM_PRINT) {
    PrintBorder((HDC)m.WParam);
    return;
  }
  TSkinControl::AfterDefault(m);
}

void TSkinEdit::Paint(HDC dc, const RECT& r) {
  for (HWND child = spin_ ? nullptr : GetTopWindow(handle_); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string name = LowerClassName(child);
    if (name == "msctls_updown32" || name.find("spin") != std::string::npos || name.find("updown") != std::string::npos) {
      spin_ = New<TSkinUpDown>(this);
      spin_->Inset = true;
      spin_->AttachHandle(child, skinData_, formSkinner_, canvas_);
      break;
    }
  }
  RECT client{};
  GetClientRect(handle_, &client);
  if (Width(client) == Width(r) || Height(client) == Height(r)) return;  // no border
  FrameSolid(dc, r, skinData_->Model().ButtonShadow);
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameSolid(dc, inner, clWhite);
}

void TSkinEdit::PrintBorder(HDC given) {
  RECT w{}, client{};
  if (!GetWindowRect(handle_, &w) || !GetClientRect(handle_, &client)) return;
  const RECT a = AtOrigin(w);
  if (!(Width(client) + 2 < Width(a) && Height(client) + 2 < Height(a))) return;
  HDC dc = given ? given : GetWindowDC(handle_);
  if (!dc) return;
  RECT inner = a;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, (HBRUSH)GetCurrentObject(dc, OBJ_BRUSH));
  FrameSolid(dc, a, skinData_->Model().ButtonShadow);
  if (!given) ReleaseDC(handle_, dc);
}
