#include "skin/SkinScrollbars.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>

#include "platform/forms/Properties.h"
#include "skin/SkinCommonCtrls.h"
#include "skin/SkinCtlUtil.h"
#include "skin/SkinData.h"
#include "skin/SkinPaint.h"

using namespace skinctl;

// ------------------------------------------------------------------ TOverlayScrollbar

TOverlayScrollbar::TOverlayScrollbar(TComponent* owner)
    : TCustomControl(owner), skin_(dynamic_cast<TSkinControl*>(owner)) {
  barVisible_ = false;
  TControl::visible_ = false;
  arrow_ = GetSystemMetrics(SM_CXVSCROLL);
}

HWND TOverlayScrollbar::ParentHandleForCreate() { return target_ ? GetParent(target_) : nullptr; }

void TOverlayScrollbar::AttachControlBar(TWinControl* control, TControlBarMode mode) {
  targetControl_ = control;
  target_ = control ? control->Handle() : nullptr;
  mode_ = mode;
  vertical_ = mode == TControlBarMode::BuiltInVertical ||
              (mode == TControlBarMode::Control && TSkinControl::GetEnumPropName(control, "Kind") != "sbhorizontal");
  UpdateBar();
}

void TOverlayScrollbar::AttachWindowBar(HWND target, TControlBarMode mode) {
  target_ = target;
  mode_ = mode;
  vertical_ = mode == TControlBarMode::BuiltInVertical;
  UpdateBar();
}

bool TOverlayScrollbar::GetControlBarInfo(SCROLLBARINFO& info) {
  if (!targetControl_ || !IsWindow(target_)) return false;
  RECT c{};
  GetClientRect(target_, &c);
  MapWindowPoints(target_, nullptr, reinterpret_cast<POINT*>(&c), 2);
  info.rcScrollBar = c;
  geometry_.length = vertical_ ? skinctl::Height(c) : skinctl::Width(c);
  geometry_.arrow = arrow_;
  skinmetrics::ControlThumb(geometry_, TSkinControl::GetOrdPropByName(targetControl_, "Position"),
                            TSkinControl::GetOrdPropByName(targetControl_, "Min"),
                            TSkinControl::GetOrdPropByName(targetControl_, "Max"),
                            TSkinControl::GetOrdPropByName(targetControl_, "PageSize"));
  info.xyThumbTop = geometry_.thumbStart;
  info.xyThumbBottom = geometry_.thumbEnd;
  const LONG style = GetWindowLongA(target_, GWL_STYLE);
  info.rgstate[0] = (style & WS_VISIBLE) ? 0 : STATE_SYSTEM_INVISIBLE;
  if (style & WS_DISABLED) info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  return true;
}

bool TOverlayScrollbar::ReadInfo(SCROLLBARINFO& info) {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  switch (mode_) {
    case TControlBarMode::BuiltInVertical: return IsWindow(target_) && GetScrollBarInfo(target_, OBJID_VSCROLL, &info);
    case TControlBarMode::BuiltInHorizontal: return IsWindow(target_) && GetScrollBarInfo(target_, OBJID_HSCROLL, &info);
    default: return GetControlBarInfo(info);
  }
}

void TOverlayScrollbar::HideBar() {
  if (HWND h = HandleIfAllocated()) ShowWindow(h, SW_HIDE);
  barVisible_ = false;
}

void TOverlayScrollbar::UpdateBar() {
  SCROLLBARINFO info;
  if (!ReadInfo(info)) {
    barVisible_ = false;
    return;
  }
  if (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) {
    HideBar();
    return;
  }
  const RECT& s = info.rcScrollBar;
  if (skinctl::Width(s) <= 0 || skinctl::Height(s) <= 0) {
    HideBar();
    return;
  }
  barRect_ = s;
  MapWindowPoints(nullptr, target_, reinterpret_cast<POINT*>(&barRect_), 2);
  barOffset_ = POINT{s.left, s.top};
  geometry_.thumbStart = info.xyThumbTop;
  geometry_.thumbEnd = info.xyThumbBottom;
  geometry_.length = vertical_ ? skinctl::Height(s) : skinctl::Width(s);
  geometry_.arrow = arrow_;
  HWND parent = GetParent(target_);
  POINT at{s.left, s.top};
  if (parent) ::ScreenToClient(parent, &at);
  HWND h = Handle();
  barVisible_ = true;
  HWND after = HWND_TOP;
  if (mode_ != TControlBarMode::Control)
    if (HWND prev = GetWindow(target_, GW_HWNDPREV); prev && prev != h) after = prev;
  SetWindowPos(h, after, at.x, at.y, skinctl::Width(s), skinctl::Height(s), SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  MoveWindow(h, at.x, at.y, skinctl::Width(s), skinctl::Height(s), TRUE);
}

void TOverlayScrollbar::RepaintBar() {
  if (HWND h = HandleIfAllocated(); h && barVisible_) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

int TOverlayScrollbar::HitTest(POINT p) const { return skinmetrics::ScrollHitTest(geometry_, vertical_ ? p.y : p.x); }

void TOverlayScrollbar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      TCustomControl::WndProc(m);
      Press(m);
      return;
    case WM_LBUTTONUP:
      TCustomControl::WndProc(m);
      Release(m);
      return;
    default:
      TCustomControl::WndProc(m);
  }
}

void TOverlayScrollbar::Press(TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  // Where the press is on screen now: the form may have moved since the bar was placed.
  POINT screen = p;
  ::ClientToScreen(HandleIfAllocated(), &screen);
  cursorAtPress_ = screen;
  SCROLLBARINFO info;
  if (ReadInfo(info)) thumbAtPress_ = info.xyThumbTop;
  if (mode_ == TControlBarMode::Control) pressedPart_ = HitTest(p);
  tracking_ = true;
  if (mode_ == TControlBarMode::Control) RepaintBar();
  ReleaseCapture();
  HWND target = target_;
  switch (mode_) {
    case TControlBarMode::BuiltInVertical:
      SendMessageA(target, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
      break;
    case TControlBarMode::BuiltInHorizontal:
      SendMessageA(target, WM_NCLBUTTONDOWN, HTHSCROLL, MAKELPARAM(screen.x, screen.y));
      break;
    case TControlBarMode::Control:
      SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
      break;
  }
  // The system's scroll loop has ended.
  tracking_ = false;
  ReleaseCapture();
  RepaintBar();
}

void TOverlayScrollbar::Release(TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  POINT screen = p;
  ::ClientToScreen(HandleIfAllocated(), &screen);
  tracking_ = false;
  ReleaseCapture();
  switch (mode_) {
    case TControlBarMode::BuiltInVertical:
      PostMessageA(target_, WM_NCLBUTTONUP, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
      break;
    case TControlBarMode::BuiltInHorizontal:
      PostMessageA(target_, WM_NCLBUTTONUP, HTHSCROLL, MAKELPARAM(screen.x, screen.y));
      break;
    case TControlBarMode::Control:
      PostMessageA(target_, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.x, p.y));
      RepaintBar();
      break;
  }
}

void TOverlayScrollbar::Paint(HDC dc) {
  TSkinData* data = skin_ ? skin_->SkinData() : nullptr;
  if (!data) return;
  const TSkinModel& model = data->Model();
  TDataSkinObject* arrows = WithImage(model.Scrollbar);
  if (!arrows) return;
  SCROLLBARINFO info;
  if (!ReadInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
  const bool enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  const RECT bar = AtOrigin(info.rcScrollBar);
  const int a = arrow_;
  geometry_.length = vertical_ ? skinctl::Height(bar) : skinctl::Width(bar);
  geometry_.arrow = a;
  const int L = geometry_.length;
  int thickness = arrows->Bitmap.Height();
  if (thickness + 3 < a) thickness = a;

  PrepareBuffer(buffer_, skinctl::Width(bar), skinctl::Height(bar), model.ButtonFace);
  HDC b = buffer_.Canvas().Handle();
  SetStretchBltMode(b, COLORONCOLOR);
  RECT work = bar;
  if (vertical_) work.right = std::min<LONG>(work.right, thickness);
  else work.bottom = std::min<LONG>(work.bottom, thickness);

  // Track.
  if (L > 2 * a) {
    TDataSkinObject* track = WithImage(vertical_ ? model.VertScroll : model.HorzScroll);
    RECT t = work;
    if (vertical_) {
      t.top += a;
      t.bottom -= a;
    } else {
      t.left += a;
      t.right -= a;
    }
    if (track)
      DrawNinePart(b, t, track->Bitmap, false, track->Tile != 0, track->Trans != 0, std::max(track->FrameCount, 1),
                   enabled ? 1 : 3, track->Margins());
  }
  // Arrows.
  const int al = skinmetrics::ArrowLength(geometry_);
  int first = vertical_ ? 9 : 1, second = vertical_ ? 13 : 5;
  if (tracking_ && pressedPart_ == SB_LINEUP) ++first;
  if (tracking_ && pressedPart_ == SB_LINEDOWN) ++second;
  RECT a1 = work, a2 = work;
  if (vertical_) {
    a1.bottom = a1.top + al;
    a2.top = a2.bottom - al;
  } else {
    a1.right = a1.left + al;
    a2.left = a2.right - al;
  }
  TSkinControl::DrawFrameStretched(b, a1, 23, first, arrows->Bitmap);
  TSkinControl::DrawFrameStretched(b, a2, 23, second, arrows->Bitmap);
  // Thumb.
  if (mode_ != TControlBarMode::Control && pressedPart_ == SB_THUMBTRACK && tracking_) {
    geometry_.thumbStart = info.xyThumbTop;
    geometry_.thumbEnd = info.xyThumbBottom;
    POINT now{};
    GetCursorPos(&now);
    skinmetrics::TrackThumb(geometry_, thumbAtPress_, vertical_ ? now.y - cursorAtPress_.y : now.x - cursorAtPress_.x);
  } else {
    geometry_.thumbStart = info.xyThumbTop;
    geometry_.thumbEnd = info.xyThumbBottom;
  }
  TDataSkinObject* thumb = WithImage(vertical_ ? model.VertScrollThumb : model.HorzScrollThumb);
  if (enabled && thumb && L > 2 * a && geometry_.thumbEnd > geometry_.thumbStart) {
    const int frame = tracking_ && pressedPart_ == SB_THUMBTRACK ? 2 : 1;
    const RECT t = vertical_ ? RECT{0, geometry_.thumbStart, thickness, geometry_.thumbEnd}
                             : RECT{geometry_.thumbStart, 0, geometry_.thumbEnd, thickness};
    DrawNinePart(b, t, thumb->Bitmap, false, false, thumb->Trans != 0, std::max(thumb->FrameCount, 1), frame,
                 thumb->Margins());
  }
  BitBlt(dc, 0, 0, skinctl::Width(bar), skinctl::Height(bar), b, 0, 0, SRCCOPY);
}

// ------------------------------------------------------------------ owners

namespace {

void RepaintBars(TOverlayScrollbar* h, TOverlayScrollbar* v) {
  if (h && h->BarVisible()) h->RepaintBar();
  if (v && v->BarVisible()) v->RepaintBar();
}

// The corner between two visible bars, in the window's own coordinates.
void FillCorner(HWND window, TOverlayScrollbar* h, TOverlayScrollbar* v, HDC dc, TSkinControl& skin) {
  if (!h || !v || !h->BarVisible() || !v->BarVisible()) return;
  RECT w{}, hr{}, vr{};
  if (!GetWindowRect(window, &w) || !GetWindowRect(h->HandleIfAllocated(), &hr) || !GetWindowRect(v->HandleIfAllocated(), &vr))
    return;
  RECT corner{vr.left - w.left, hr.top - w.top, vr.right - w.left, hr.bottom - w.top};
  skin.FillFace(dc, corner);
}

// A scroll message remembers what is pressed and repaints that bar.
bool ScrollMessage(TMessage& m, TOverlayScrollbar* h, TOverlayScrollbar* v) {
  TOverlayScrollbar* bar = m.Msg == WM_VSCROLL ? v : m.Msg == WM_HSCROLL ? h : nullptr;
  if (!bar) return false;
  bar->SetPressedPart(LOWORD(m.WParam));
  bar->RepaintBar();
  return true;
}

void HideBars(TOverlayScrollbar* h, TOverlayScrollbar* v) {
  if (h) h->HideBar();
  if (v) v->HideBar();
}

void UpdateBars(TOverlayScrollbar* h, TOverlayScrollbar* v) {
  if (h) h->UpdateBar();
  if (v) v->UpdateBar();
}

// Both owners of a bar pair paint the same: the visible bars, then the corner between them.
void PaintBars(HWND window, TOverlayScrollbar* h, TOverlayScrollbar* v, HDC dc, TSkinControl& skin) {
  RepaintBars(h, v);
  FillCorner(window, h, v, dc, skin);
}

void FreeBar(TOverlayScrollbar*& bar) {
  if (bar) TComponent::Free(bar);
  bar = nullptr;
}

void FreeBars(TOverlayScrollbar*& h, TOverlayScrollbar*& v) {
  FreeBar(h);
  FreeBar(v);
}

}  // namespace

void TSkinScrollbar::AttachScrollbars(TControl* c, TSkinData* skinData, TSkinForm* formSkinner) {
  auto* control = dynamic_cast<TWinControl*>(c);
  if (attached_ || !control || c != Owner()) return;
  Attach(formSkinner, skinData, false, nullptr);
  horz_ = New<TOverlayScrollbar>(this);
  horz_->AttachControlBar(control, TControlBarMode::BuiltInHorizontal);
  vert_ = New<TOverlayScrollbar>(this);
  vert_->AttachControlBar(control, TControlBarMode::BuiltInVertical);
  if (!control->Visible()) HideBars(horz_, vert_);
}

void TSkinScrollbar::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEWHEEL:
      RepaintBars(horz_, vert_);
      return;
    case CM_VISIBLECHANGED:
      if (m.WParam == 0) HideBars(horz_, vert_);
      return;
    case WM_SIZE:
      InvalidateControl();
      return;
    case WM_NCPAINT:
      if (auto* w = dynamic_cast<TWinControl*>(control_)) handle_ = w->HandleIfAllocated();
      UpdateBars(horz_, vert_);
      return;
    default:
      if (ScrollMessage(m, horz_, vert_)) return;
      TSkinControl::AfterDefault(m);
  }
}

void TSkinScrollbar::Paint(HDC dc, const RECT&) { PaintBars(handle_, horz_, vert_, dc, *this); }

void TSkinScrollbar::Restore() {
  TSkinControl::Restore();
  if (lifeState_ != kSkinDead) FreeBars(horz_, vert_);
}

void TSkinListView::AttachScrollbars(TControl* control, TSkinData* skinData, TSkinForm* formSkinner) {
  if (attached_) return;
  TSkinScrollbar::AttachScrollbars(control, skinData, formSkinner);
  if (HWND header = (HWND)SendMessageA(handle_, LVM_GETHEADER, 0, 0)) {
    header_ = New<TSkinHeader>(this);
    header_->AttachHandle(header, skinData_, formSkinner_, canvas_);
  }
}

void TSkinScrollbarH::AttachHandle(HWND handle, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas) {
  if (attached_) return;
  TSkinControl::AttachHandle(handle, skinData, formSkinner, canvas);
  horz_ = New<TOverlayScrollbar>(this);
  horz_->AttachWindowBar(handle, TControlBarMode::BuiltInHorizontal);
  vert_ = New<TOverlayScrollbar>(this);
  vert_->AttachWindowBar(handle, TControlBarMode::BuiltInVertical);
}

void TSkinScrollbarH::AfterDefault(TMessage& m) {
  // Both bars follow their window out of sight.
  if (!IsWindowVisible(handle_)) HideBars(horz_, vert_);
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
      UpdateBars(horz_, vert_);
      InvalidateControl();
      return;
    default:
      if (ScrollMessage(m, horz_, vert_)) return;
      TSkinControl::AfterDefault(m);
  }
}

void TSkinScrollbarH::Paint(HDC dc, const RECT&) { PaintBars(handle_, horz_, vert_, dc, *this); }

void TSkinScrollbarH::Restore() {
  TSkinControl::Restore();
  if (lifeState_ != kSkinDead) FreeBars(horz_, vert_);
}

void TSkinScControl::AttachOverlayControl(TControl* c, TSkinData* skinData, TSkinForm* formSkinner) {
  auto* control = dynamic_cast<TWinControl*>(c);
  if (attached_ || !control || c != Owner()) return;
  Attach(formSkinner, skinData, false, nullptr);
  bar_ = New<TOverlayScrollbar>(this);
  bar_->AttachControlBar(control, TControlBarMode::Control);
  if (!control->Visible()) bar_->HideBar();
}

void TSkinScControl::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      if (auto* w = dynamic_cast<TWinControl*>(control_)) handle_ = w->HandleIfAllocated();
      if (bar_) bar_->UpdateBar();
      return;
    case SBM_SETSCROLLINFO:
      if (bar_) bar_->RepaintBar();
      return;
    case CM_VISIBLECHANGED:
      if (m.WParam == 0 && bar_) bar_->HideBar();
      return;
    default:
      TSkinControl::AfterDefault(m);
  }
}

void TSkinScControl::Paint(HDC, const RECT&) {
  if (bar_) bar_->RepaintBar();
}

void TSkinScControl::Restore() {
  TSkinControl::Restore();
  if (lifeState_ != kSkinDead) FreeBar(bar_);
}
