// Controls over real Win32 windows. A TControl has a parent, bounds, Visible, Enabled,
// Caption, Color and Font; TWinControl owns a window whose messages go through the
// replaceable WindowProc (the skin engine attaches there and calls the one it replaced);
// TGraphicControl has no window and is painted and fed mouse input by its parent.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/forms/Graphics.h"
#include "platform/rtl/Event.h"

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// Notifications reflected from a parent to the child control that caused them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
// Class-library messages.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 9;
constexpr UINT CM_FONTCHANGED = CM_BASE + 3;
constexpr UINT CM_COLORCHANGED = CM_BASE + 2;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;

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
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
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
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
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
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  // The form this control sits on, or nullptr.
  TControl* ParentForm() const;

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
  int cursor_ = 0;
  TPopupMenu* popupMenu_ = nullptr;
  bool mouseInside_ = false;
  bool inFontChange_ = false;
  friend class TWinControl;
};

// The parameters a windowed control is created with.
struct TCreateParams {
  std::string ClassName;      // a system class ("BUTTON") or one of our own
  bool OwnClass = false;      // registered by the library, DefWindowProc below it
  DWORD Style = 0;
  DWORD ExStyle = 0;
  UINT ClassStyle = CS_DBLCLKS;
  HBRUSH Background = nullptr;
};

class TWinControl : public TControl {
  KARV_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window; made (with its parents') on first use.
  HWND Handle();
  HWND HandleIfAllocated() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  // Makes the windows of this control and of all its children.
  void CreateAllHandles();

  int ControlCount() const { return (int)controls_.size(); }
  TControl* Controls(int i) const { return controls_.at(i); }
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  // The child at a client point (graphic controls included), or nullptr.
  TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;

  void SetBounds(int left, int top, int width, int height) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientSize(int width, int height) override;
  RECT ClientRect() const;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  std::string Caption() const override;
  void SetCaption(const std::string& text) override;
  void SetColor(TColor c) override;
  void Invalidate() override;
  void BringToFront() override;
  bool Focused() const;
  void SetFocus();
  bool CanFocus() const;
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int v) { tabOrder_ = v; }
  // Lays out the aligned children inside the client area.
  void Realign();

  // The object behind a window of this library, or nullptr.
  static TWinControl* FromHandle(HWND h);

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  void WndProc(TMessage& m) override;
  // What the window would do without us: the replaced system procedure or DefWindowProc.
  void DefaultHandler(TMessage& m);

 protected:
  virtual void CreateParams(TCreateParams& p);
  virtual void CreateWnd();
  // Called once the window exists: apply stored state to it.
  virtual void CreateHandleDone() {}
  virtual void DestroyWnd();
  // Paints the window's own content (custom controls); the DC is the paint DC.
  virtual void PaintWindow(HDC dc);
  // Paints the graphic children onto this window's DC.
  void PaintControls(HDC dc);
  void ParentFontChanged() override;
  void FontChanged() override;
  virtual HWND ParentHandleForCreate();
  bool KeyDownHandled(WORD& key, TShiftState shift);
  bool KeyPressHandled(char& key);
  // Enter and Esc that the focused control left alone go to its form (default and cancel
  // buttons); true when the form used the key.
  bool PassDialogKey(WORD key);

 public:
  // A form's answer to Enter or Esc; `focused` is the control that had the key.
  virtual bool DialogKey(WORD key, TWinControl* focused) { return false; }

 protected:

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl*> controls_;
  bool tabStop_ = false;
  int tabOrder_ = -1;
  HBRUSH brush_ = nullptr;
  TControl* mouseControl_ = nullptr;  // graphic child under the mouse
  bool tracking_ = false;
  bool dialogKeyUsed_ = false;

 private:
  static LRESULT CALLBACK MainWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void RefreshBrush();
  friend class TControl;
};

// A windowless control painted by its parent.
class TGraphicControl : public TControl {
  KARV_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  void WndProc(TMessage& m) override;
  // Paints into the parent's DC, whose origin has been moved to this control's corner.
  virtual void Paint(HDC dc) {}
};

// A windowed control of our own class that paints itself.
class TCustomControl : public TWinControl {
  KARV_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* owner);
  TEvent<void(TObject*, HDC)> OnPaint;

 protected:
  void CreateParams(TCreateParams& p) override;
  void PaintWindow(HDC dc) override;
  virtual void Paint(HDC dc);
};

TShiftState ShiftStateFromKeys(WPARAM mk);
TShiftState KeyboardShiftState();

// Registers the published properties of the classes above (done once, on first use).
void RegisterControlProperties();
