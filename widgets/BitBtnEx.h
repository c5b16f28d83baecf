// The picture button of the program's windows: the class library's bitmap button whose
// mouse-enter and mouse-leave events are published, so a window can swap the glyph for a
// hover effect. Each event runs once per crossing, after the button's own hover handling.
#pragma once
#include "platform/forms/Buttons.h"

class TBitBtnExtend : public TBitBtn {
  KARV_CLASS(TBitBtnExtend, TBitBtn)
 public:
  explicit TBitBtnExtend(TComponent* owner);
  // OnMouseEnter and OnMouseLeave are the control's own events (Controls.h).
};

void RegisterBitBtnEx();
