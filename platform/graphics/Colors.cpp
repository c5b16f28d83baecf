// Resolution of system colours.
#include "platform/graphics/Colors.h"

#include <windows.h>

uint32_t ColorToRGB(TColor c) {
  if (c < 0) return GetSysColor(c & 0xFF);
  return (uint32_t)c & 0xFFFFFF;
}
