// The messages controls exchange: a window message as a value (TMessage), the notifications a
// parent reflects to the child that caused them (CN_*), the class library's own messages
// (CM_*), and the shift state decoded from message parameters. Values only: nothing here owns
// anything; use on the GUI thread, where the messages are sent.
#pragma once
#include <windows.h>

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// Notifications reflected from a parent to the child control that caused them, so each
// control handles its own WM_COMMAND/WM_NOTIFY/WM_CTLCOLOR* in its own WndProc.
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
// Class-library messages; they never reach the system's procedure.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 9;
constexpr UINT CM_FONTCHANGED = CM_BASE + 3;
constexpr UINT CM_COLORCHANGED = CM_BASE + 2;
// Alt and a character (wParam), sent to the form before the system's menu-bar mode; a
// handler that answers non-zero keeps the key.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
// A form's main menu changed.
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_RELEASE = CM_BASE + 33;  // the control lets go of what hooked its WindowProc
// Sent to the form's window when a control's window that waited for its showing was made
// (lParam): whatever went over the form's controls before (a skin) can take it now.
constexpr UINT CM_WINDOWMADE = CM_BASE + 34;

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;

// From the MK_* flags of a mouse message (Alt is read from the keyboard).
TShiftState ShiftStateFromKeys(WPARAM mk);
// Shift, Ctrl and Alt as the keyboard holds them now.
TShiftState KeyboardShiftState();
