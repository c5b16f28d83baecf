#include "platform/forms/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/forms/Menus.h"
#include "platform/forms/Properties.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

namespace {
const char kObjectProp[] = "KarvControl";
// The system procedure below ours, for messages that arrive after the object let go.
const char kDefProcProp[] = "KarvDefProc";

std::vector<std::string> AlignNames() { return {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}; }
}  // namespace

TShiftState ShiftStateFromKeys(WPARAM mk) {
  TShiftState s = 0;
  if (mk & MK_SHIFT) s |= ssShift;
  if (mk & MK_CONTROL) s |= ssCtrl;
  if (mk & MK_LBUTTON) s |= ssLeft;
  if (mk & MK_RBUTTON) s |= ssRight;
  if (mk & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  RegisterControlProperties();
  WindowProc = TWndMethod(this, &TControl::WndProc);
  font_->OnChange = TNotifyEvent([this](TObject*) {
    if (!inFontChange_) parentFont_ = false;
    FontChanged();
  });
}

TControl::~TControl() {
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* p) {
  if (p == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
  if (p) p->InsertControl(this);
}

void TControl::SetBounds(int l, int t, int w, int h) {
  bool sized = w != width_ || h != height_;
  if (parent_ && !dynamic_cast<TWinControl*>(this)) Invalidate();
  left_ = l;
  top_ = t;
  width_ = w;
  height_ = h;
  if (parent_ && !dynamic_cast<TWinControl*>(this)) Invalidate();
  if (sized) Resize();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Invalidate();
  if (parent_) parent_->Realign();
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetCaption(const std::string& t) {
  if (t == caption_) return;
  caption_ = t;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetColor(TColor c) {
  color_ = c;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v && parent_) ParentFontChanged();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v && parent_) {
    color_ = parent_->Color();
    Invalidate();
  }
}

void TControl::SetAlign(TAlign a) {
  align_ = a;
  if (parent_) parent_->Realign();
}

void TControl::ParentFontChanged() {
  if (parentFont_ && parent_) {
    inFontChange_ = true;
    font_->Assign(parent_->Font());
    inFontChange_ = false;
  }
  if (parentColor_ && parent_) color_ = parent_->Color();
}

void TControl::FontChanged() {
  Perform(CM_FONTCHANGED);
  Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wp, LPARAM lp) {
  TMessage m{msg, wp, lp, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->HandleIfAllocated(), &r, TRUE);
  }
}

void TControl::Repaint() {
  Invalidate();
  if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->HandleIfAllocated());
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  Invalidate();
}

POINT TControl::ClientToScreen(POINT p) const {
  POINT origin{left_, top_};
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->HandleAllocated()) {
    ::ClientToScreen(w->HandleIfAllocated(), &p);
    return p;
  }
  p.x += origin.x;
  p.y += origin.y;
  return parent_ ? parent_->ClientToScreen(p) : p;
}

POINT TControl::ScreenToClient(POINT p) const {
  POINT zero = ClientToScreen(POINT{0, 0});
  return POINT{p.x - zero.x, p.y - zero.y};
}

TControl* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return c->InheritsFrom("TCustomForm") ? const_cast<TControl*>(c) : nullptr;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::WndProc(TMessage& m) {
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  TShiftState s = ShiftStateFromKeys(m.WParam);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (OnMouseDown)
        OnMouseDown(this, m.Msg == WM_RBUTTONDOWN ? TMouseButton::mbRight : m.Msg == WM_MBUTTONDOWN ? TMouseButton::mbMiddle : TMouseButton::mbLeft,
                    s | (m.Msg == WM_LBUTTONDBLCLK ? ssDouble : 0), x, y);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (OnMouseUp)
        OnMouseUp(this, m.Msg == WM_RBUTTONUP ? TMouseButton::mbRight : m.Msg == WM_MBUTTONUP ? TMouseButton::mbMiddle : TMouseButton::mbLeft, s, x, y);
      break;
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, s, x, y);
      break;
    case CM_MOUSEENTER:
      mouseInside_ = true;
      MouseEnter();
      break;
    case CM_MOUSELEAVE:
      mouseInside_ = false;
      MouseLeave();
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
  TControl::WndProc(m);
  if (!enabled_) return;
  if (m.Msg == WM_LBUTTONUP) {
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    if (x >= 0 && y >= 0 && x < width_ && y < height_) Click();
  } else if (m.Msg == WM_LBUTTONDBLCLK) {
    DblClick();
  }
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyHandle();
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
  if (brush_) DeleteObject(brush_);
}

TWinControl* TWinControl::FromHandle(HWND h) {
  return h ? static_cast<TWinControl*>(GetPropA(h, kObjectProp)) : nullptr;
}

HWND TWinControl::ParentHandleForCreate() { return parent_ ? parent_->Handle() : nullptr; }

void TWinControl::CreateParams(TCreateParams& p) {
  p.Style = WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED) |
            (tabStop_ ? WS_TABSTOP : 0);
}

HWND TWinControl::Handle() {
  if (!handle_) {
    CreateWnd();
    if (!handle_) throw Exception("Error creating window of " + Name() + " (" + ClassName() + ")");
    CreateHandleDone();
    for (TControl* c : controls_)
      if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
    Realign();
  }
  return handle_;
}

void TWinControl::CreateAllHandles() { Handle(); }

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  HWND parentWnd = ParentHandleForCreate();
  if ((p.Style & WS_CHILD) && !parentWnd) return;  // no parent yet: made when it gets one
  HINSTANCE inst = GetModuleHandleA(nullptr);
  if (p.OwnClass) {
    WNDCLASSEXA wc{sizeof wc};
    if (!GetClassInfoExA(inst, p.ClassName.c_str(), &wc)) {
      wc = WNDCLASSEXA{sizeof wc};
      wc.style = p.ClassStyle;
      wc.lpfnWndProc = MainWndProc;
      wc.hInstance = inst;
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.hbrBackground = p.Background;
      wc.lpszClassName = p.ClassName.c_str();
      RegisterClassExA(&wc);
    }
    defWndProc_ = nullptr;
    handle_ = CreateWindowExA(p.ExStyle, p.ClassName.c_str(), caption_.c_str(), p.Style, left_, top_, width_,
                              height_, parentWnd, nullptr, inst, this);
  } else {
    handle_ = CreateWindowExA(p.ExStyle, p.ClassName.c_str(), caption_.c_str(), p.Style, left_, top_, width_,
                              height_, parentWnd, nullptr, inst, nullptr);
    if (handle_) {
      SetPropA(handle_, kObjectProp, this);
      defWndProc_ = (WNDPROC)SetWindowLongPtrA(handle_, GWLP_WNDPROC, (LONG_PTR)MainWndProc);
      SetPropA(handle_, kDefProcProp, (HANDLE)defWndProc_);
    }
  }
  if (handle_) SendMessageA(handle_, WM_SETFONT, (WPARAM)font_->Handle(), FALSE);
}

void TWinControl::DestroyWnd() {
  HWND h = handle_;
  if (!h) return;
  DestroyWindow(h);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Detach first: a half-destroyed object must not see the window's last messages.
  HWND h = handle_;
  RemovePropA(h, kObjectProp);
  // Only our own procedure is taken out: a later subclass (a skinner) stays on top and
  // still sees the window's last messages, which MainWndProc then hands to the system.
  if (GetWindowLongPtrA(h, GWLP_WNDPROC) == (LONG_PTR)MainWndProc)
    SetWindowLongPtrA(h, GWLP_WNDPROC, defWndProc_ ? (LONG_PTR)defWndProc_ : (LONG_PTR)DefWindowProcA);
  handle_ = nullptr;
  DestroyWindow(h);
}

LRESULT CALLBACK TWinControl::MainWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  TWinControl* obj = FromHandle(h);
  if (!obj && msg == WM_NCCREATE) {
    // Windows of our own classes carry their object in the creation parameters.
    obj = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    if (obj) SetPropA(h, kObjectProp, obj);
  }
  if (!obj) {
    auto def = (WNDPROC)GetPropA(h, kDefProcProp);
    if (msg == WM_NCDESTROY) RemovePropA(h, kDefProcProp);
    return def ? CallWindowProcA(def, h, msg, wp, lp) : DefWindowProcA(h, msg, wp, lp);
  }
  if (!obj->handle_) obj->handle_ = h;  // messages sent while CreateWindowEx runs
  TMessage m{msg, wp, lp, 0};
  try {
    obj->WindowProc(m);
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
  }
  if (msg == WM_NCDESTROY) {
    RemovePropA(h, kObjectProp);
    RemovePropA(h, kDefProcProp);
    if (obj->handle_ == h) obj->handle_ = nullptr;
  }
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  m.Result = defWndProc_ ? CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam)
                         : DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  c->ParentFontChanged();
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    if (handle_) w->Handle();
  } else {
    c->Invalidate();
  }
  if (c->align_ != TAlign::alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
  if (mouseControl_ == c) mouseControl_ = nullptr;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (c->parent_ == this) {
    c->Invalidate();
    c->parent_ = nullptr;
  }
  if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->visible_ || (!allowDisabled && !c->enabled_)) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

void TWinControl::SetBounds(int l, int t, int w, int h) {
  bool sized = w != width_ || h != height_;
  left_ = l;
  top_ = t;
  width_ = w;
  height_ = h;
  if (handle_) SetWindowPos(handle_, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  if (sized) {
    Resize();
    Realign();
  }
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

int TWinControl::ClientWidth() const { return ClientRect().right; }
int TWinControl::ClientHeight() const { return ClientRect().bottom; }

void TWinControl::SetClientSize(int w, int h) {
  RECT c = ClientRect();
  SetBounds(left_, top_, width_ + (w - c.right), height_ + (h - c.bottom));
}

void TWinControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
  Perform(CM_VISIBLECHANGED, v);
  if (parent_) parent_->Realign();
}

void TWinControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (handle_) EnableWindow(handle_, v);
  Perform(CM_ENABLEDCHANGED);
}

std::string TWinControl::Caption() const {
  if (!handle_) return caption_;
  int n = GetWindowTextLengthA(handle_);
  std::string s(n + 1, '\0');
  n = GetWindowTextA(handle_, s.data(), n + 1);
  s.resize(n > 0 ? n : 0);
  return s;
}

void TWinControl::SetCaption(const std::string& t) {
  caption_ = t;
  if (handle_) SetWindowTextA(handle_, t.c_str());
  Perform(CM_TEXTCHANGED);
}

void TWinControl::SetColor(TColor c) {
  color_ = c;
  parentColor_ = false;
  RefreshBrush();
  for (TControl* child : controls_)
    if (child->parentColor_) child->ParentFontChanged();
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TWinControl::RefreshBrush() {
  if (brush_) DeleteObject(brush_);
  brush_ = CreateSolidBrush(ColorToRGB(color_));
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::BringToFront() {
  TControl::BringToFront();
  if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (CanFocus()) ::SetFocus(Handle());
}

void TWinControl::Realign() {
  if (controls_.empty()) return;
  RECT r = ClientRect();
  auto place = [&](TAlign which) {
    for (TControl* c : controls_) {
      if (c->align_ != which || !c->visible_) continue;
      int l = r.left, t = r.top, w = c->width_, h = c->height_;
      switch (which) {
        case TAlign::alTop: w = r.right - r.left; r.top += h; break;
        case TAlign::alBottom: w = r.right - r.left; t = r.bottom - h; r.bottom -= h; break;
        case TAlign::alLeft: h = r.bottom - r.top; r.left += w; break;
        case TAlign::alRight: h = r.bottom - r.top; l = r.right - w; r.right -= w; break;
        case TAlign::alClient: w = r.right - r.left; h = r.bottom - r.top; break;
        default: break;
      }
      TAlign keep = c->align_;
      c->align_ = TAlign::alNone;  // no recursion back into this layout
      c->SetBounds(l, t, std::max(0, w), std::max(0, h));
      c->align_ = keep;
    }
  };
  place(TAlign::alTop);
  place(TAlign::alBottom);
  place(TAlign::alLeft);
  place(TAlign::alRight);
  place(TAlign::alClient);
}

void TWinControl::ParentFontChanged() {
  TControl::ParentFontChanged();
  if (parentColor_) RefreshBrush();
}

void TWinControl::FontChanged() {
  if (handle_) SendMessageA(handle_, WM_SETFONT, (WPARAM)font_->Handle(), TRUE);
  for (TControl* c : controls_)
    if (c->parentFont_) c->ParentFontChanged();
  TControl::FontChanged();
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g || !g->visible_) continue;
    int saved = SaveDC(dc);
    POINT old;
    SetViewportOrgEx(dc, g->left_, g->top_, &old);
    IntersectClipRect(dc, 0, 0, g->width_, g->height_);
    SelectObject(dc, g->font_->Handle());
    g->Paint(dc);
    RestoreDC(dc, saved);
  }
}

bool TWinControl::KeyDownHandled(WORD& key, TShiftState shift) {
  if (TControl* f = ParentForm(); f && f != this) {
    auto* form = static_cast<TWinControl*>(f);
    if (GetOrdProp(form, "KeyPreview") && form->OnKeyDown) {
      form->OnKeyDown(form, key, shift);
      if (key == 0) return true;
    }
  }
  if (OnKeyDown) OnKeyDown(this, key, shift);
  return key == 0;
}

bool TWinControl::KeyPressHandled(char& key) {
  if (TControl* f = ParentForm(); f && f != this) {
    auto* form = static_cast<TWinControl*>(f);
    if (GetOrdProp(form, "KeyPreview") && form->OnKeyPress) {
      form->OnKeyPress(form, key);
      if (key == 0) return true;
    }
  }
  if (OnKeyPress) OnKeyPress(this, key);
  return key == 0;
}

bool TWinControl::PassDialogKey(WORD key) {
  dialogKeyUsed_ = false;
  if (key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB) return false;
  if (key == VK_RETURN && InheritsFrom("TCustomMemo")) return false;  // a memo takes its line breaks
  HWND focus = GetFocus();
  if (focus != handle_ && GetParent(focus) != handle_) return false;  // the key moved the focus
  TControl* form = ParentForm();
  if (!form || form == this) return false;
  dialogKeyUsed_ = static_cast<TWinControl*>(form)->DialogKey(key, this);
  return dialogKeyUsed_;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      // Hand the notification to the control that sent it.
      HWND from = nullptr;
      if (m.Msg == WM_COMMAND) from = (HWND)m.LParam;
      else if (m.Msg == WM_NOTIFY) from = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      else if (m.Msg == WM_DRAWITEM) from = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
      else if (m.Msg == WM_MEASUREITEM) {
        for (TControl* c : controls_)
          if (auto* w = dynamic_cast<TWinControl*>(c); w && w->handle_ && GetDlgCtrlID(w->handle_) == (int)m.WParam)
            from = w->handle_;
      } else from = (HWND)m.LParam;
      if (TWinControl* child = FromHandle(from); child && child != this) {
        m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        if (m.Msg >= WM_CTLCOLOREDIT && m.Msg <= WM_CTLCOLORSTATIC && m.Result == 0) DefaultHandler(m);
        return;
      }
      break;
    }
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN: {
      HDC dc = (HDC)m.WParam;
      if (!brush_) RefreshBrush();
      SetTextColor(dc, ColorToRGB(font_->Color()));
      SetBkColor(dc, ColorToRGB(color_));
      m.Result = (LRESULT)brush_;
      return;
    }
    case WM_ERASEBKGND:
      if (!defWndProc_) {
        if (!brush_) RefreshBrush();
        RECT r;
        GetClientRect(handle_, &r);
        FillRect((HDC)m.WParam, &r, brush_);
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (!defWndProc_) {
        PAINTSTRUCT ps;
        HDC dc = m.WParam ? (HDC)m.WParam : BeginPaint(handle_, &ps);
        SelectObject(dc, font_->Handle());
        PaintWindow(dc);
        PaintControls(dc);
        if (!m.WParam) EndPaint(handle_, &ps);
        return;
      }
      if (!controls_.empty()) {
        DefaultHandler(m);
        HDC dc = GetDC(handle_);
        PaintControls(dc);
        ReleaseDC(handle_, dc);
        return;
      }
      break;
    case WM_SIZE:
      if (m.WParam != SIZE_MINIMIZED) {
        RECT wr;
        GetWindowRect(handle_, &wr);
        if (HWND p = GetParent(handle_); p && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD)) {
          MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&wr), 2);
        }
        bool sized = width_ != wr.right - wr.left || height_ != wr.bottom - wr.top;
        left_ = wr.left;
        top_ = wr.top;
        width_ = wr.right - wr.left;
        height_ = wr.bottom - wr.top;
        if (sized) Resize();
        Realign();
      }
      break;
    case WM_MOVE: {
      RECT wr;
      GetWindowRect(handle_, &wr);
      if (HWND p = GetParent(handle_); p && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&wr), 2);
      left_ = wr.left;
      top_ = wr.top;
      break;
    }
    case WM_MOUSEMOVE: {
      if (!tracking_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        tracking_ = TrackMouseEvent(&t) != FALSE;
        if (!mouseInside_) Perform(CM_MOUSEENTER);
      }
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      TControl* under = GetCapture() == handle_ && mouseControl_ ? mouseControl_ : ControlAtPos(p);
      if (under && !dynamic_cast<TGraphicControl*>(under)) under = nullptr;
      if (under != mouseControl_) {
        if (mouseControl_) mouseControl_->Perform(CM_MOUSELEAVE);
        mouseControl_ = under;
        if (under) under->Perform(CM_MOUSEENTER);
      }
      if (under) {
        under->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - under->left_, p.y - under->top_));
        return;
      }
      break;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (mouseControl_) {
        mouseControl_->Perform(CM_MOUSELEAVE);
        mouseControl_ = nullptr;
      }
      Perform(CM_MOUSELEAVE);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      TControl* under = GetCapture() == handle_ && mouseControl_ ? mouseControl_ : ControlAtPos(p);
      if (auto* g = dynamic_cast<TGraphicControl*>(under)) {
        if (m.Msg == WM_LBUTTONDOWN) SetCapture(handle_);
        if (m.Msg == WM_LBUTTONUP && GetCapture() == handle_) ReleaseCapture();
        g->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - g->left_, p.y - g->top_));
        if (m.Msg == WM_RBUTTONUP && g->popupMenu_) Perform(WM_CONTEXTMENU, (WPARAM)handle_, -1);
        return;
      }
      break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = (WORD)m.WParam;
      if (KeyDownHandled(key, KeyboardShiftState())) return;
      if (m.Msg == WM_KEYDOWN && PassDialogKey(key)) return;
      m.WParam = key;
      break;
    }
    case WM_CHAR:
      // The Enter or Esc a dialog key consumed leaves no character behind (no beep).
      if ((m.WParam == '\r' || m.WParam == 27 || m.WParam == '\t') && dialogKeyUsed_) {
        dialogKeyUsed_ = false;
        return;
      }
      {
        char key = (char)m.WParam;
        if (KeyPressHandled(key)) return;
        m.WParam = (unsigned char)key;
      }
      break;
    case WM_KEYUP: {
      WORD key = (WORD)m.WParam;
      if (OnKeyUp) OnKeyUp(this, key, KeyboardShiftState());
      if (key == 0) return;
      break;
    }
    case WM_SETFOCUS:
      if (OnEnter) OnEnter(this);
      break;
    case WM_KILLFOCUS:
      if (OnExit) OnExit(this);
      break;
    case WM_SETCURSOR: {
      // The screen's cursor wins; then the graphic child under the pointer; then our own.
      int id = Screen().Cursor();
      if (id == crDefault && (HWND)m.WParam == handle_ && LOWORD(m.LParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        TControl* under = ControlAtPos(p);
        id = under && dynamic_cast<TGraphicControl*>(under) ? under->Cursor() : crDefault;
        if (id == crDefault) id = cursor_;
      }
      if (id != crDefault) {
        ::SetCursor(Screen().Cursors(id));
        m.Result = TRUE;
        return;
      }
      break;
    }
    case WM_CONTEXTMENU: {
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (m.LParam == -1) GetCursorPos(&p);
      POINT c = p;
      ::ScreenToClient(handle_, &c);
      TControl* target = this;
      if (TControl* g = ControlAtPos(c); g && dynamic_cast<TGraphicControl*>(g) && g->PopupMenu()) target = g;
      if (TPopupMenu* menu = target->PopupMenu(); menu && menu->AutoPopup()) {
        menu->SetPopupComponent(target);
        menu->Popup(p.x, p.y);
        m.Result = 1;
        return;
      }
      break;
    }
    default:
      break;
  }
  TControl::WndProc(m);
  if (m.Msg < CM_BASE) DefaultHandler(m);
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = ClassName();
  p.OwnClass = true;
  p.Style |= WS_CLIPCHILDREN;
}

void TCustomControl::PaintWindow(HDC dc) { Paint(dc); }

void TCustomControl::Paint(HDC dc) {
  if (OnPaint) OnPaint(this, dc);
}

// ---------------------------------------------------------------- properties

void RegisterControlProperties() {
  static bool done = false;
  if (done) return;
  done = true;
  using C = TControl;
  auto intProp = [](const char* name, int (C::*get)() const, void (C::*set)(int)) {
    return MakeProp<C>(name, TPropType::Integer, [get](const C* c) { return (int64_t)(c->*get)(); },
                       [set](C* c, const TPropValue& v) { (c->*set)((int)std::get<int64_t>(v)); });
  };
  auto boolProp = [](const char* name, bool (C::*get)() const, auto set) {
    return MakeProp<C>(name, TPropType::Boolean, [get](const C* c) { return (c->*get)(); },
                       [set](C* c, const TPropValue& v) { (c->*set)(std::get<bool>(v)); });
  };
  RegisterProperties(C::StaticClass(), {
      MakeProp<C>("Name", TPropType::String, [](const C* c) { return c->Name(); },
                  [](C* c, const TPropValue& v) { c->SetName(std::get<std::string>(v)); }),
      MakeProp<C>("Tag", TPropType::Integer, [](const C* c) { return (int64_t)c->Tag(); },
                  [](C* c, const TPropValue& v) { c->SetTag((intptr_t)std::get<int64_t>(v)); }),
      intProp("Left", &C::Left, &C::SetLeft),
      intProp("Top", &C::Top, &C::SetTop),
      intProp("Width", &C::Width, &C::SetWidth),
      intProp("Height", &C::Height, &C::SetHeight),
      MakeProp<C>("ClientWidth", TPropType::Integer, [](const C* c) { return (int64_t)c->ClientWidth(); },
                  [](C* c, const TPropValue& v) { c->SetClientSize((int)std::get<int64_t>(v), c->ClientHeight()); }),
      MakeProp<C>("ClientHeight", TPropType::Integer, [](const C* c) { return (int64_t)c->ClientHeight(); },
                  [](C* c, const TPropValue& v) { c->SetClientSize(c->ClientWidth(), (int)std::get<int64_t>(v)); }),
      boolProp("Visible", &C::Visible, &C::SetVisible),
      boolProp("Enabled", &C::Enabled, &C::SetEnabled),
      boolProp("ParentFont", &C::ParentFont, &C::SetParentFont),
      boolProp("ParentColor", &C::ParentColor, &C::SetParentColor),
      boolProp("ShowHint", &C::ShowHint, &C::SetShowHint),
      MakeProp<C>("Caption", TPropType::String, [](const C* c) { return c->Caption(); },
                  [](C* c, const TPropValue& v) { c->SetCaption(std::get<std::string>(v)); }),
      MakeProp<C>("Text", TPropType::String, [](const C* c) { return c->Caption(); },
                  [](C* c, const TPropValue& v) { c->SetCaption(std::get<std::string>(v)); }),
      MakeProp<C>("Hint", TPropType::String, [](const C* c) { return c->Hint(); },
                  [](C* c, const TPropValue& v) { c->SetHint(std::get<std::string>(v)); }),
      MakeProp<C>("Color", TPropType::Integer, [](const C* c) { return (int64_t)c->Color(); },
                  [](C* c, const TPropValue& v) { c->SetColor((TColor)std::get<int64_t>(v)); }),
      MakeProp<C>("Cursor", TPropType::Integer, [](const C* c) { return (int64_t)c->Cursor(); },
                  [](C* c, const TPropValue& v) { c->SetCursor((int)std::get<int64_t>(v)); }),
      MakeProp<C>("Font", TPropType::Object, [](const C* c) { return (TObject*)&const_cast<C*>(c)->Font(); }, nullptr),
      MakeProp<C>("Align", TPropType::Enum, [](const C* c) { return AlignNames()[(int)c->Align()]; },
                  [](C* c, const TPropValue& v) {
                    auto names = AlignNames();
                    for (size_t i = 0; i < names.size(); ++i)
                      if (names[i] == std::get<std::string>(v)) c->SetAlign((TAlign)i);
                  },
                  AlignNames()),
      EventProp("OnClick", &C::OnClick),
      EventProp("OnDblClick", &C::OnDblClick),
      EventProp("OnMouseDown", &C::OnMouseDown),
      EventProp("OnMouseUp", &C::OnMouseUp),
      EventProp("OnMouseMove", &C::OnMouseMove),
      EventProp("OnMouseEnter", &C::OnMouseEnter),
      EventProp("OnMouseLeave", &C::OnMouseLeave),
      EventProp("OnResize", &C::OnResize),
  });
  using W = TWinControl;
  RegisterProperties(W::StaticClass(), {
      MakeProp<W>("TabStop", TPropType::Boolean, [](const W* c) { return c->TabStop(); },
                  [](W* c, const TPropValue& v) { c->SetTabStop(std::get<bool>(v)); }),
      MakeProp<W>("TabOrder", TPropType::Integer, [](const W* c) { return (int64_t)c->TabOrder(); },
                  [](W* c, const TPropValue& v) { c->SetTabOrder((int)std::get<int64_t>(v)); }),
      EventProp("OnKeyDown", &W::OnKeyDown),
      EventProp("OnKeyUp", &W::OnKeyUp),
      EventProp("OnKeyPress", &W::OnKeyPress),
      EventProp("OnEnter", &W::OnEnter),
      EventProp("OnExit", &W::OnExit),
  });
  RegisterProperties(TCustomControl::StaticClass(), {EventProp("OnPaint", &TCustomControl::OnPaint)});
}
