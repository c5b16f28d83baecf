// TControl: what every control has, windowed or not: a parent, bounds, Visible, Enabled,
// Caption, Color, Font, Align, mouse events and the replaceable WindowProc that every message
// goes through. A control belongs to its owner (TComponent); its parent only shows it and drops
// it from its list when either goes. GUI thread only.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/forms/Graphics.h"
#include "platform/forms/Messages.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TWndMethod = TEvent<void(TMessage&)>;
using TMouseEvent = TEvent<void(TObject*, TMouseButton, TShiftState, int, int)>;
using TMouseMoveEvent = TEvent<void(TObject*, TShiftState, int, int)>;
using TKeyEvent = TEvent<void(TObject*, WORD&, TShiftState)>;
using TKeyPressEvent = TEvent<void(TObject*, char&)>;

class TWinControl;
class TPopupMenu;

class TControl : public TComponent {
  KARV_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { SettleSize(); return width_; }
  int Height() const { SettleSize(); return height_; }
  void SetLeft(int v) { SetBounds(v, top_, Width(), Height()); }
  void SetTop(int v) { SetBounds(left_, v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(left_, top_, v, Height()); }
  void SetHeight(int v) { SetBounds(left_, top_, Width(), v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { SettleSize(); return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { SettleSize(); return width_; }
  virtual int ClientHeight() const { SettleSize(); return height_; }
  virtual void SetClientSize(int width, int height) { SetBounds(left_, top_, width, height); }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to the form.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  virtual std::string Caption() const { return caption_; }
  virtual void SetCaption(const std::string& text);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& t) { SetCaption(t); }
  TColor Color() const { return color_; }
  virtual void SetColor(TColor c);
  TFont& Font() { return *font_; }
  const TFont& Font() const { return *font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  std::string Hint() const { return hint_; }
  void SetHint(const std::string& h) { hint_ = h; }
  // Whether the control shows its Hint when the pointer rests on it: while ParentShowHint
  // holds, whatever its parent answers; setting ShowHint makes it the control's own.
  bool ShowHint() const { return parentShowHint_ && parent_ ? ParentShowsHint() : showHint_; }
  void SetShowHint(bool v) { showHint_ = v; parentShowHint_ = false; }
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v) { parentShowHint_ = v; }
  int Cursor() const { return cursor_; }  // a cursor id of the screen object (crDefault = 0)
  void SetCursor(int c) { cursor_ = c; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* m) { popupMenu_ = m; }

  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
  // Repaints the control (its window, or its rectangle of the parent).
  virtual void Invalidate();
  void Repaint();
  virtual void BringToFront();
  virtual POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  // The form this control sits on, or nullptr.
  TControl* ParentForm() const;
  // True for forms: the top of a chain of parents that ParentForm answers.
  virtual bool IsForm() const { return false; }

  TWndMethod WindowProc;  // replaceable; defaults to WndProc
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

  // The default message handling of this class; derived classes extend it.
  virtual void WndProc(TMessage& m);
  bool MouseInside() const { return mouseInside_; }

 protected:
  virtual void Click();
  virtual void DblClick();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void FontChanged();
  virtual void Resize();
  // The parent's font or colour changed.
  virtual void ParentFontChanged();
  bool ParentShowsHint() const;
  // A size taken from measured text (an auto-sized label's) is measured when the control is
  // shown (itself and its parents up to the form visible) or its bounds are read, not while
  // hidden: measuring loads the glyph of every character, and most hidden texts (forms made
  // at start, pages not chosen) are never seen.
  bool WaitsForShow() const;
  // This control or a parent up to the form is hidden.
  bool HiddenOnItsForm() const;
  void SettleSize() const {
    if (sizePending_) const_cast<TControl*>(this)->ApplyPendingSize();
  }
  // Settles a waiting size once nothing hides the control any more.
  void SettleIfShown() {
    if (sizePending_ && !WaitsForShow()) SettleSize();
  }
  virtual void ApplyPendingSize() { sizePending_ = false; }

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true;
  std::string caption_;
  TColor color_ = clBtnFace;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true, parentColor_ = false;
  TAlign align_ = TAlign::alNone;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  int cursor_ = 0;
  TPopupMenu* popupMenu_ = nullptr;
  bool mouseInside_ = false;
  bool inFontChange_ = false;
  bool sizePending_ = false;
  friend class TWinControl;
};
