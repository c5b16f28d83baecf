// The system colours that the skin engine's defaults name beyond those of the class
// library's colour header (same encoding: 0x80000000 | the platform's colour index).
// Constants only.
#pragma once
#include "platform/forms/Graphics.h"

constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clMenu = SysColor(COLOR_MENU),
                 clMenuText = SysColor(COLOR_MENUTEXT), clCaptionText = SysColor(COLOR_CAPTIONTEXT),
                 clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT),
                 cl3DDkShadow = SysColor(COLOR_3DDKSHADOW), cl3DLight = SysColor(COLOR_3DLIGHT);

constexpr TColor RGBColor(int r, int g, int b) { return (TColor)((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16); }
