// Subclassing of any window, also windows this library did not make (menus, system dialogs,
// the edit inside a combo box): a small executable thunk bound to one object becomes the
// window's procedure and routes every message to that object's handler.
//
// Restoring is chain-safe: when the window's procedure is still our thunk, the previous one
// is put back; when someone subclassed the window after us, the thunk stays installed as a
// plain pass-through and frees itself with the window's WM_NCDESTROY. A window that is
// already destroyed is never written to. A thunk is never freed while a message runs
// through it: releasing it inside its own handler defers the free to the handler's return.
//
// A Unicode window (IsWindowUnicode) stays Unicode: its procedure is read, replaced, called
// and given back through the wide functions, so its messages carry wide text.
//
// GUI thread only. The subclass object owns its thunk; moving or copying is not allowed.
#pragma once
#include <windows.h>

#include "platform/rtl/Event.h"

class TWindowSubclass {
 public:
  // The handler gets the window and the message; it answers the message's result and calls
  // CallPrevious for what it does not handle itself.
  using THandler = TEvent<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

  TWindowSubclass() = default;
  ~TWindowSubclass() { Restore(); }
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Makes the thunk and installs it as the window's procedure. False when already installed,
  // when the window does not exist, or when the procedure cannot be set.
  bool Install(HWND window, THandler handler);
  // Gives the window its previous procedure back (see above); nothing when not installed.
  void Restore();
  bool Installed() const { return block_ != nullptr; }
  // The window was Unicode when installed: text messages carry wide characters.
  bool Wide() const { return wide_; }
  HWND Window() const;
  // The previous procedure with this message (DefWindowProc when there is none). Still works
  // after Restore, so a handler can give the window back and then pass its message on.
  LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const;
  // The thunk's address, the value GWLP_WNDPROC holds while it is on top.
  WNDPROC Thunk() const;

  struct Block;

 private:
  Block* block_ = nullptr;
  HWND window_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool wide_ = false;
};
