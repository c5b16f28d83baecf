// The window procedure that the system calls, around one of ours: whatever ours throws is
// reported (ReportCallbackException) and ends there, never unwinding through the system's
// dispatch code. Register GuardedWndProc<&Proc> where Proc itself would be registered.
// Runs on the thread that owns the window.
#pragma once
#include <windows.h>

#include <cstdio>

#include "platform/rtl/Exception.h"

template <LRESULT(CALLBACK* Proc)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK GuardedWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    return Proc(h, msg, wp, lp);
  } catch (...) {
    char where[48];
    snprintf(where, sizeof where, "WndProc(0x%04X)", msg);
    ReportCallbackException(where);
    return 0;
  }
}
