#include "platform/forms/Control.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/forms/Controls.h"

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
  SettleIfShown();
}

bool TControl::WaitsForShow() const {
  return align_ == TAlign::alNone && HiddenOnItsForm();  // an aligned one places its siblings
}

bool TControl::HiddenOnItsForm() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return true;
    if (c->IsForm()) break;
  }
  return false;
}

// Windowless controls only (TWinControl moves its window instead): the parent repaints the
// old and the new place.
void TControl::SetBounds(int l, int t, int w, int h) {
  SettleSize();  // a size set now overrides the measured one, as it would have without waiting
  bool sized = w != width_ || h != height_;
  if (parent_) Invalidate();
  left_ = l;
  top_ = t;
  width_ = w;
  height_ = h;
  if (parent_) Invalidate();
  if (sized) Resize();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

bool TControl::ParentShowsHint() const { return static_cast<const TControl*>(parent_)->ShowHint(); }

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (v) SettleIfShown();
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
  p.x += left_;
  p.y += top_;
  return parent_ ? parent_->ClientToScreen(p) : p;
}

POINT TControl::ScreenToClient(POINT p) const {
  POINT zero = ClientToScreen(POINT{0, 0});
  return POINT{p.x - zero.x, p.y - zero.y};
}

TControl* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return c->IsForm() ? const_cast<TControl*>(c) : nullptr;
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
  const bool mouse = m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST;
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  // Only a mouse message carries key flags; the Alt key's state costs a server call.
  TShiftState s = mouse ? ShiftStateFromKeys(m.WParam) : 0;
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
