#include "platform/forms/WinControl.h"

#include <algorithm>

#include "platform/forms/Controls.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

namespace {
const char kObjectProp[] = "KarvControl";
// The dispatch reads the object from the window's user data instead: under Wine every
// property read is a round trip to the server, and it would be one per message. Only
// MainWndProc reads it, on windows it was installed on, so no foreign value is ever taken
// for an object; FromHandle, which may be handed any window, keeps to the property.
TWinControl* DispatchObject(HWND h) { return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(h, GWLP_USERDATA)); }
void Attach(HWND h, TWinControl* obj) {
  SetPropA(h, kObjectProp, obj);
  SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(obj));
}
void Detach(HWND h) {
  RemovePropA(h, kObjectProp);
  SetWindowLongPtrA(h, GWLP_USERDATA, 0);
}
// The system procedure below ours, for messages that arrive after the object let go.
const char kDefProcProp[] = "KarvDefProc";
}  // namespace

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
    // The parent's window comes first. Making it makes its windowed children, this one among
    // them; a second window of ours would be left behind it, never painted, and its endless
    // paint requests would starve the thread's timers.
    ParentHandleForCreate();
    if (handle_) return handle_;
    CreateWnd();
    if (!handle_) throw Exception("Error creating window of " + Name() + " (" + ClassName() + ")");
    CreateHandleDone();
    for (TControl* c : controls_)
      if (auto* w = dynamic_cast<TWinControl*>(c)) w->MakeWindowUnlessWaiting();
    Realign();
    if (WindowWaitsForShow())
      if (TControl* form = ParentForm(); form && form != this)
        if (HWND h = static_cast<TWinControl*>(form)->handle_) SendMessageA(h, CM_WINDOWMADE, 0, (LPARAM)handle_);
  }
  return handle_;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  HWND parentWnd = ParentHandleForCreate();
  if ((p.Style & WS_CHILD) && !parentWnd) return;  // no parent yet: made when it gets one
  HINSTANCE inst = GetModuleHandleA(nullptr);
  if (p.OwnClass) {
    RegisterOwnClass(p);
    defWndProc_ = nullptr;
    handle_ = CreateWindowExA(p.ExStyle, p.ClassName.c_str(), caption_.c_str(), p.Style, left_, top_, width_,
                              height_, parentWnd, nullptr, inst, this);
  } else {
    handle_ = CreateWindowExA(p.ExStyle, p.ClassName.c_str(), caption_.c_str(), p.Style, left_, top_, width_,
                              height_, parentWnd, nullptr, inst, nullptr);
    if (handle_) {
      Attach(handle_, this);
      defWndProc_ = (WNDPROC)SetWindowLongPtrA(handle_, GWLP_WNDPROC, (LONG_PTR)MainWndProc);
      SetPropA(handle_, kDefProcProp, (HANDLE)defWndProc_);
    }
  }
  if (handle_) SendMessageA(handle_, WM_SETFONT, (WPARAM)font_->Handle(), FALSE);
}

void TWinControl::RegisterOwnClass(const TCreateParams& p) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{sizeof wc};
  if (GetClassInfoExA(inst, p.ClassName.c_str(), &wc)) return;
  wc = WNDCLASSEXA{sizeof wc};
  wc.style = p.ClassStyle;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = p.Background;
  wc.lpszClassName = p.ClassName.c_str();
  RegisterClassExA(&wc);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Detach first: a half-destroyed object must not see the window's last messages.
  HWND h = handle_;
  Detach(h);
  // Only our own procedure is taken out: a later subclass (a skinner) stays on top and
  // still sees the window's last messages, which MainWndProc then hands to the system.
  if (GetWindowLongPtrA(h, GWLP_WNDPROC) == (LONG_PTR)MainWndProc)
    SetWindowLongPtrA(h, GWLP_WNDPROC, defWndProc_ ? (LONG_PTR)defWndProc_ : (LONG_PTR)DefWindowProcA);
  handle_ = nullptr;
  // An MDI child leaves through its MDI client, which keeps the list of children.
  if (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_MDICHILD) SendMessageA(GetParent(h), WM_MDIDESTROY, (WPARAM)h, 0);
  else DestroyWindow(h);
}

LRESULT CALLBACK TWinControl::MainWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  TWinControl* obj = DispatchObject(h);
  if (!obj && msg == WM_NCCREATE) {
    // Windows of our own classes carry their object in the creation parameters (an MDI
    // child in those of its MDI client's record).
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    if (cs->dwExStyle & WS_EX_MDICHILD)
      obj = cs->lpCreateParams ? reinterpret_cast<TWinControl*>(static_cast<MDICREATESTRUCTA*>(cs->lpCreateParams)->lParam)
                               : nullptr;
    else
      obj = static_cast<TWinControl*>(cs->lpCreateParams);
    if (obj) Attach(h, obj);
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
  } catch (...) {
    // Nothing unwinds through the system's dispatch code.
    // The object may be gone by now: only the message is named.
    ReportCallbackException("TWinControl.MainWndProc(" + sys::IntToStr(msg) + ")");
  }
  if (msg == WM_NCDESTROY) {
    Detach(h);
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
    if (handle_) w->MakeWindowUnlessWaiting();
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

POINT TWinControl::ClientToScreen(POINT p) const {
  if (!handle_) return TControl::ClientToScreen(p);
  ::ClientToScreen(handle_, &p);
  return p;
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
  if (v && !handle_ && parent_ && parent_->handle_) MakeWindowUnlessWaiting();
  if (v) SettleSizes();
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

void TWinControl::MakeWindowUnlessWaiting() {
  if (!WindowWaitsForShow() || !HiddenOnItsForm()) Handle();
}

void TWinControl::SettleSizes() {
  for (TControl* c : controls_) {
    if (!c->visible_) continue;
    c->SettleIfShown();
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (!w->handle_ && handle_) w->MakeWindowUnlessWaiting();
      w->SettleSizes();
    }
  }
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g || !g->visible_) continue;
    g->SettleSize();
    int saved = SaveDC(dc);
    POINT old;
    SetViewportOrgEx(dc, g->left_, g->top_, &old);
    IntersectClipRect(dc, 0, 0, g->width_, g->height_);
    SelectObject(dc, g->font_->Handle());
    // Through WindowProc, so whoever replaced it (a skin) may paint instead.
    g->Perform(WM_PAINT, (WPARAM)dc, 0);
    RestoreDC(dc, saved);
  }
}

bool TWinControl::KeyDownHandled(WORD& key, TShiftState shift) {
  if (TControl* f = ParentForm(); f && f != this) {
    auto* form = static_cast<TWinControl*>(f);
    if (form->KeyPreview() && form->OnKeyDown) {
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
    if (form->KeyPreview() && form->OnKeyPress) {
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
  if (key == VK_RETURN && WantReturns()) return false;
  HWND focus = GetFocus();
  if (focus != handle_ && GetParent(focus) != handle_) return false;  // the key moved the focus
  TControl* form = ParentForm();
  if (!form || form == this) return false;
  dialogKeyUsed_ = static_cast<TWinControl*>(form)->DialogKey(key, this);
  return dialogKeyUsed_;
}
