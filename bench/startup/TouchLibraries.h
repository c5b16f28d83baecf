/* The start-up baselines' touch of the system libraries Client.exe imports: one call into
   each, so none is dropped at link time and each is loaded and initialised as it is for the
   client. Non-zero when all calls succeeded. */
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <wininet.h>

static int TouchLibraries(HWND window) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  char path[MAX_PATH];
  DWORD handle = 0, state = 0;
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, 0};
  HDC screen = GetDC(window), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
  HGDIOBJ old = SelectObject(memory, bitmap);
  int ok = InitCommonControlsEx(&icc);                                          /* comctl32 */
  ok &= AlphaBlend(memory, 0, 0, 1, 1, screen, 0, 0, 1, 1, blend);              /* msimg32 */
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  ok &= GetModuleFileNameA(NULL, path, sizeof path) > 0;
  GetFileVersionInfoSizeA(path, &handle);                                       /* version */
  DragAcceptFiles(window, FALSE);                                               /* shell32 */
  InternetGetConnectedState(&state, 0);                                         /* wininet */
  return ok;
}
