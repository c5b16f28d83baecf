#include "platform/forms/Messages.h"

TShiftState ShiftStateFromKeys(WPARAM mk) {
  TShiftState s = 0;
  if (mk & MK_SHIFT) s |= ssShift;
  if (mk & MK_CONTROL) s |= ssCtrl;
  if (mk & MK_LBUTTON) s |= ssLeft;
  if (mk & MK_RBUTTON) s |= ssRight;
  if (mk & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}
