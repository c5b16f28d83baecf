// The picture button of the program's windows: the class library's bitmap button whose
// mouse-enter and mouse-leave events are published, so a window can swap the glyph for a
// hover effect. Each event runs once per crossing, after the button's own hover handling.
#pragma once
#include <windows.h>

#include <string>

#include "platform/forms/Buttons.h"

class TBitBtnExtend : public TBitBtn {
  KARV_CLASS(TBitBtnExtend, TBitBtn)
 public:
  explicit TBitBtnExtend(TComponent* owner);
  // OnMouseEnter and OnMouseLeave are the control's own events (Controls.h).
};

void RegisterBitBtnEx();

// Gives the button the picture library's bitmap `name` (looked up in upper case) as its glyph
// and repaints it; the glyph stays as it was without a library or such a bitmap. The library
// stays the caller's.
void LoadGlyphResource(TBitBtnExtend* button, HMODULE library, const std::string& name);
