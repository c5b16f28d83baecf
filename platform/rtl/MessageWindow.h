// A hidden message-only window of one of this program's window classes, for objects that
// only need messages (timers, replies from other threads or processes). The class is
// registered the first time a window of it is asked for, so a class that is never used costs
// nothing. The caller owns the window and destroys it on the thread that made it.
#pragma once
#include <windows.h>

// Null when the system makes no window.
HWND CreateMessageWindow(const char* className, WNDPROC proc);
