#include "platform/rtl/MessageWindow.h"

namespace {
HWND Make(const char* className, HINSTANCE inst) {
  return CreateWindowExA(0, className, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
}
}  // namespace

HWND CreateMessageWindow(const char* className, WNDPROC proc) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  if (HWND h = Make(className, inst)) return h;
  // Most likely the class is not registered yet (systems differ in the error they give).
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.lpszClassName = className;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  return Make(className, inst);
}
