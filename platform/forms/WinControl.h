// TWinControl: a control with a window of its own, made on first Handle() (parents first) and
// destroyed with the object. Every message of the window goes through WindowProc, whose
// default is the virtual WndProc: a table of small handlers, one per message
// (WinControlMessages.cpp), then the control's mouse events and the system's own procedure
// (DefaultHandler). Derived classes override WndProc and call this one for what they leave.
// The object owns its window and its brush; children are not owned (their owner frees them).
// GUI thread only.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/forms/Control.h"

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
  // A window made only when the control is shown or its window is asked for, not with its
  // parent's: a hidden page's rich edit would load its libraries for nothing.
  virtual bool WindowWaitsForShow() const { return false; }

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
  // Through the window once it exists; before that, from the bounds like a windowless control.
  POINT ClientToScreen(POINT p) const override;
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
  virtual void DefaultHandler(TMessage& m);

 protected:
  virtual void CreateParams(TCreateParams& p);
  virtual void CreateWnd();
  // Registers the library's own window class of `p` once.
  static void RegisterOwnClass(const TCreateParams& p);
  // Called once the window exists: apply stored state to it.
  virtual void CreateHandleDone() {}
  // Paints the window's own content (custom controls); the DC is the paint DC.
  virtual void PaintWindow(HDC dc);
  // Measures what waited for the form's showing and makes the windows that waited for it,
  // in every shown control below this one.
  void SettleSizes();
  // Makes the window unless it waits for the control's showing.
  void MakeWindowUnlessWaiting();
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
  // A form that sees its controls' keys before they do.
  virtual bool KeyPreview() const { return false; }
  // A control that takes Enter itself (a memo's line break) instead of giving it to the form.
  virtual bool WantReturns() const { return false; }

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
  // The window's rectangle as its parent's client coordinates (the screen's for a top window).
  RECT WindowRectInParent() const;
  // The control under a client point for mouse input: the one holding the capture first.
  TControl* MouseTarget(POINT p) const;

  // The message table (WinControlMessages.cpp). A handler answers true when it has dealt
  // with the message fully; false lets the default path (mouse events, system procedure) run.
  using TMessageHandler = bool (TWinControl::*)(TMessage&);
  static TMessageHandler HandlerFor(UINT msg);
  bool ReflectNotification(TMessage& m);
  bool CNCtlColor(TMessage& m);
  bool WMEraseBkgnd(TMessage& m);
  bool WMPaint(TMessage& m);
  bool WMSize(TMessage& m);
  bool WMMove(TMessage& m);
  bool WMMouseMove(TMessage& m);
  bool WMMouseLeave(TMessage& m);
  bool WMMouseButton(TMessage& m);
  bool WMKeyDown(TMessage& m);
  bool WMChar(TMessage& m);
  bool WMKeyUp(TMessage& m);
  bool WMSetFocus(TMessage& m);
  bool WMKillFocus(TMessage& m);
  bool WMSetCursor(TMessage& m);
  bool WMContextMenu(TMessage& m);
  bool WMSysChar(TMessage& m);

  friend class TControl;
};
