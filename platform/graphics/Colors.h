// Colours of the class library: a TColor is an RGB value with red in the low byte, or a
// system colour (0xFF000000 + the platform's colour index) resolved when it is used.
#pragma once
#include <cstdint>

using TColor = int32_t;

constexpr TColor clSystemColor = (TColor)0xFF000000;
constexpr TColor SysColor(int index) { return clSystemColor | index; }

constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clFuchsia = 0xFF00FF, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clBlue = 0xFF0000;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

constexpr TColor clScrollBar = SysColor(0), clMenu = SysColor(4), clWindow = SysColor(5),
                 clMenuText = SysColor(7), clWindowText = SysColor(8), clCaptionText = SysColor(9),
                 clHighlight = SysColor(13), clHighlightText = SysColor(14), clBtnFace = SysColor(15),
                 clBtnShadow = SysColor(16), clGrayText = SysColor(17), clBtnText = SysColor(18),
                 clInactiveCaptionText = SysColor(19), clBtnHighlight = SysColor(20),
                 cl3DDkShadow = SysColor(21), cl3DLight = SysColor(22), clMenuHighlight = SysColor(29),
                 clMenuBar = SysColor(30);

// The RGB value (a COLORREF), looking system colours up.
uint32_t ColorToRGB(TColor c);
constexpr TColor RGBColor(int r, int g, int b) { return (TColor)((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16); }
