#include "platform/forms/Screen.h"

#include <algorithm>
#include <new>

namespace {
LPCSTR StockCursor(int id) {
  switch (id) {
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass: return IDC_WAIT;
    case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    default: return IDC_ARROW;
  }
}
}  // namespace

HCURSOR TScreen::Cursors(int id) const {
  if (id == crNone) return nullptr;
  if (auto it = cursors_.find(id); it != cursors_.end() && it->second) return it->second;
  return LoadCursor(nullptr, StockCursor(id));
}

void TScreen::SetCursors(int id, HCURSOR cursor) {
  if (cursor) cursors_[id] = cursor;
  else cursors_.erase(id);
}

void TScreen::SetCursor(int id) {
  if (id == cursor_) return;
  cursor_ = id;
  if (id != crDefault) {
    ::SetCursor(Cursors(id));
    return;
  }
  // Let the window of ours under the pointer choose its cursor again.
  POINT p;
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) {
    LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(under, WM_SETCURSOR, (WPARAM)under, MAKELPARAM(hit, WM_MOUSEMOVE));
  }
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) { forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end()); }

TScreen& Screen() {
  // Built in place and never destroyed: see the header.
  alignas(TScreen) static unsigned char storage[sizeof(TScreen)];
  static TScreen* screen = new (storage) TScreen();
  return *screen;
}
