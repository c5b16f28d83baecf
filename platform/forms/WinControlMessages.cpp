// The message table of TWinControl: one small handler per message. A handler that answers
// true has dealt with the message; otherwise the default path runs (the mouse events of
// TControl, then the system's own procedure for system messages).
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "platform/forms/Controls.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Screen.h"

namespace {
// The window of the child a notification comes from.
HWND NotificationSource(const TMessage& m, const std::vector<TControl*>& children) {
  switch (m.Msg) {
    case WM_NOTIFY: return reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
    case WM_DRAWITEM: return reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
    case WM_MEASUREITEM: {
      // Only the control id: the item is measured before its window is known.
      HWND from = nullptr;
      for (TControl* c : children)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated() && GetDlgCtrlID(w->HandleIfAllocated()) == (int)m.WParam)
          from = w->HandleIfAllocated();
      return from;
    }
    default: return (HWND)m.LParam;  // WM_COMMAND and WM_CTLCOLOR*
  }
}

bool IsCtlColor(UINT msg) { return msg >= WM_CTLCOLOREDIT && msg <= WM_CTLCOLORSTATIC; }
}  // namespace

TWinControl::TMessageHandler TWinControl::HandlerFor(UINT msg) {
  using T = TWinControl;
  static const std::pair<UINT, TMessageHandler> table[] = {
      {WM_COMMAND, &T::ReflectNotification},
      {WM_NOTIFY, &T::ReflectNotification},
      {WM_DRAWITEM, &T::ReflectNotification},
      {WM_MEASUREITEM, &T::ReflectNotification},
      {WM_CTLCOLOREDIT, &T::ReflectNotification},
      {WM_CTLCOLORSTATIC, &T::ReflectNotification},
      {WM_CTLCOLORLISTBOX, &T::ReflectNotification},
      {WM_CTLCOLORBTN, &T::ReflectNotification},
      {CN_CTLCOLOREDIT, &T::CNCtlColor},
      {CN_CTLCOLORSTATIC, &T::CNCtlColor},
      {CN_CTLCOLORLISTBOX, &T::CNCtlColor},
      {CN_CTLCOLORBTN, &T::CNCtlColor},
      {WM_ERASEBKGND, &T::WMEraseBkgnd},
      {WM_PAINT, &T::WMPaint},
      {WM_SIZE, &T::WMSize},
      {WM_MOVE, &T::WMMove},
      {WM_MOUSEMOVE, &T::WMMouseMove},
      {WM_MOUSELEAVE, &T::WMMouseLeave},
      {WM_LBUTTONDOWN, &T::WMMouseButton},
      {WM_LBUTTONUP, &T::WMMouseButton},
      {WM_LBUTTONDBLCLK, &T::WMMouseButton},
      {WM_RBUTTONDOWN, &T::WMMouseButton},
      {WM_RBUTTONUP, &T::WMMouseButton},
      {WM_KEYDOWN, &T::WMKeyDown},
      {WM_SYSKEYDOWN, &T::WMKeyDown},
      {WM_CHAR, &T::WMChar},
      {WM_KEYUP, &T::WMKeyUp},
      {WM_SETFOCUS, &T::WMSetFocus},
      {WM_KILLFOCUS, &T::WMKillFocus},
      {WM_SETCURSOR, &T::WMSetCursor},
      {WM_CONTEXTMENU, &T::WMContextMenu},
      {WM_SYSCHAR, &T::WMSysChar},
  };
  for (const auto& [m, handler] : table)
    if (m == msg) return handler;
  return nullptr;
}

void TWinControl::WndProc(TMessage& m) {
  if (TMessageHandler handler = HandlerFor(m.Msg); handler && (this->*handler)(m)) return;
  TControl::WndProc(m);
  if (m.Msg < CM_BASE) DefaultHandler(m);
}

// Hands a notification to the control that sent it, as the matching CN_* message.
bool TWinControl::ReflectNotification(TMessage& m) {
  TWinControl* child = FromHandle(NotificationSource(m, controls_));
  if (!child || child == this) return false;
  m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  if (IsCtlColor(m.Msg) && m.Result == 0) DefaultHandler(m);
  return true;
}

bool TWinControl::CNCtlColor(TMessage& m) {
  HDC dc = (HDC)m.WParam;
  if (!brush_) RefreshBrush();
  SetTextColor(dc, ColorToRGB(font_->Color()));
  SetBkColor(dc, ColorToRGB(color_));
  m.Result = (LRESULT)brush_;
  return true;
}

// Windows of our own classes have no system background: we fill it with Color.
bool TWinControl::WMEraseBkgnd(TMessage& m) {
  if (defWndProc_) return false;
  if (!brush_) RefreshBrush();
  RECT r;
  GetClientRect(handle_, &r);
  FillRect((HDC)m.WParam, &r, brush_);
  m.Result = 1;
  return true;
}

bool TWinControl::WMPaint(TMessage& m) {
  if (!defWndProc_) {
    PAINTSTRUCT ps;
    HDC dc = m.WParam ? (HDC)m.WParam : BeginPaint(handle_, &ps);
    SelectObject(dc, font_->Handle());
    PaintWindow(dc);
    PaintControls(dc);
    if (!m.WParam) EndPaint(handle_, &ps);
    return true;
  }
  if (controls_.empty()) return false;
  // A system control paints itself first; graphic children go on top.
  DefaultHandler(m);
  HDC dc = GetDC(handle_);
  PaintControls(dc);
  ReleaseDC(handle_, dc);
  return true;
}

RECT TWinControl::WindowRectInParent() const {
  RECT wr;
  GetWindowRect(handle_, &wr);
  if (HWND p = GetParent(handle_); p && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&wr), 2);
  return wr;
}

// The user (or the system) moved or sized the window: the object follows.
bool TWinControl::WMSize(TMessage& m) {
  if (m.WParam == SIZE_MINIMIZED) return false;
  RECT wr = WindowRectInParent();
  bool sized = width_ != wr.right - wr.left || height_ != wr.bottom - wr.top;
  left_ = wr.left;
  top_ = wr.top;
  width_ = wr.right - wr.left;
  height_ = wr.bottom - wr.top;
  if (sized) Resize();
  Realign();
  return false;
}

bool TWinControl::WMMove(TMessage&) {
  RECT wr = WindowRectInParent();
  left_ = wr.left;
  top_ = wr.top;
  return false;
}

TControl* TWinControl::MouseTarget(POINT p) const {
  return GetCapture() == handle_ && mouseControl_ ? mouseControl_ : ControlAtPos(p);
}

// Tracks enter and leave for this window and for the graphic child under the pointer, which
// gets the move in its own coordinates.
bool TWinControl::WMMouseMove(TMessage& m) {
  if (!tracking_) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
    tracking_ = TrackMouseEvent(&t) != FALSE;
    if (!mouseInside_) Perform(CM_MOUSEENTER);
  }
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* under = MouseTarget(p);
  if (under && !dynamic_cast<TGraphicControl*>(under)) under = nullptr;
  if (under != mouseControl_) {
    if (mouseControl_) mouseControl_->Perform(CM_MOUSELEAVE);
    mouseControl_ = under;
    if (under) under->Perform(CM_MOUSEENTER);
  }
  if (!under) return false;
  under->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - under->left_, p.y - under->top_));
  return true;
}

bool TWinControl::WMMouseLeave(TMessage&) {
  tracking_ = false;
  if (mouseControl_) {
    mouseControl_->Perform(CM_MOUSELEAVE);
    mouseControl_ = nullptr;
  }
  Perform(CM_MOUSELEAVE);
  return false;
}

// A click on a graphic child is its own; the capture keeps the button-up with it.
bool TWinControl::WMMouseButton(TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  auto* g = dynamic_cast<TGraphicControl*>(MouseTarget(p));
  if (!g) return false;
  if (m.Msg == WM_LBUTTONDOWN) SetCapture(handle_);
  if (m.Msg == WM_LBUTTONUP && GetCapture() == handle_) ReleaseCapture();
  g->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - g->left_, p.y - g->top_));
  if (m.Msg == WM_RBUTTONUP && g->popupMenu_) Perform(WM_CONTEXTMENU, (WPARAM)handle_, -1);
  return true;
}

bool TWinControl::WMKeyDown(TMessage& m) {
  WORD key = (WORD)m.WParam;
  if (KeyDownHandled(key, KeyboardShiftState())) return true;
  if (m.Msg == WM_KEYDOWN && PassDialogKey(key)) return true;
  m.WParam = key;
  return false;
}

bool TWinControl::WMChar(TMessage& m) {
  // The Enter or Esc a dialog key consumed leaves no character behind (no beep).
  if ((m.WParam == '\r' || m.WParam == 27 || m.WParam == '\t') && dialogKeyUsed_) {
    dialogKeyUsed_ = false;
    return true;
  }
  char key = (char)m.WParam;
  if (KeyPressHandled(key)) return true;
  m.WParam = (unsigned char)key;
  return false;
}

bool TWinControl::WMKeyUp(TMessage& m) {
  WORD key = (WORD)m.WParam;
  if (OnKeyUp) OnKeyUp(this, key, KeyboardShiftState());
  return key == 0;
}

bool TWinControl::WMSetFocus(TMessage&) {
  if (OnEnter) OnEnter(this);
  return false;
}

bool TWinControl::WMKillFocus(TMessage&) {
  if (OnExit) OnExit(this);
  return false;
}

// The screen's cursor wins; then the graphic child under the pointer; then our own.
bool TWinControl::WMSetCursor(TMessage& m) {
  int id = Screen().Cursor();
  if (id == crDefault && (HWND)m.WParam == handle_ && LOWORD(m.LParam) == HTCLIENT) {
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TControl* under = ControlAtPos(p);
    id = under && dynamic_cast<TGraphicControl*>(under) ? under->Cursor() : crDefault;
    if (id == crDefault) id = cursor_;
  }
  if (id == crDefault) return false;
  ::SetCursor(Screen().Cursors(id));
  m.Result = TRUE;
  return true;
}

// The popup menu of the graphic child under the pointer, else our own.
bool TWinControl::WMContextMenu(TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (m.LParam == -1) GetCursorPos(&p);
  POINT c = p;
  ::ScreenToClient(handle_, &c);
  TControl* target = this;
  if (TControl* g = ControlAtPos(c); g && dynamic_cast<TGraphicControl*>(g) && g->PopupMenu()) target = g;
  TPopupMenu* menu = target->PopupMenu();
  if (!menu || !menu->AutoPopup()) return false;
  menu->SetPopupComponent(target);
  menu->Popup(p.x, p.y);
  m.Result = 1;
  return true;
}

// Alt and a character: the form hears it as CM_DIALOGCHAR first (its menu's accelerators);
// only a key it leaves goes on to the system's menu-bar mode.
bool TWinControl::WMSysChar(TMessage& m) {
  auto* form = dynamic_cast<TWinControl*>(IsForm() ? this : ParentForm());
  if (!form) return false;
  TMessage d{CM_DIALOGCHAR, m.WParam, m.LParam, 0};
  form->WindowProc(d);
  if (!d.Result) return false;
  m.Result = 0;
  return true;
}
