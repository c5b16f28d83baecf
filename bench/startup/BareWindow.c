/* The baselines of the start-up benchmark: a bare Win32 program that opens one window with
   one button and waits in its message loop. Built with BARE_LINKED it also links the system
   libraries that Client.exe imports and makes one call into each before its window, so
   that what the two starts share is loaded in both. */
#include <windows.h>
#ifdef BARE_LINKED
#include "TouchLibraries.h"
#endif

static LRESULT CALLBACK BareProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show) {
  WNDCLASSA wc = {0};
  HWND window;
  MSG msg;
  (void)prev;
  (void)cmd;
  wc.lpfnWndProc = BareProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(NULL, IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  wc.lpszClassName = "BareWindow";
  if (!RegisterClassA(&wc)) return 1;
  window = CreateWindowA("BareWindow", "Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, NULL,
                         NULL, inst, NULL);
  if (!window) return 1;
#ifdef BARE_LINKED
  if (!TouchLibraries(window)) return 1;
#endif
  if (!CreateWindowA("BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 110, 60, 90, 28, window, (HMENU)1, inst,
                     NULL))
    return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
