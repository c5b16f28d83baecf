// THintWindow: the small plain window that shows a control's hint near the pointer. It never
// takes the activation or the mouse: the window under it keeps both. Its text is the hint
// shown, so a person's tools (and the tests) read it as the window text. GUI thread only;
// the application's hints (Hints.h) own the one instance.
#pragma once
#include <string>

#include "platform/forms/Controls.h"

class THintWindow : public TCustomControl {
  KARV_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* owner);
  // The size the text needs, wrapped at `maxWidth` pixels.
  SIZE CalcHintSize(const std::string& text, int maxWidth);
  // Shows `text` with its top-left corner at the screen point, moved as far as needed to stay
  // on the work area (above `pointerTop` when there is no room below).
  void ActivateHint(POINT at, int pointerTop, const std::string& text);
  void ReleaseHint();

 protected:
  void CreateParams(TCreateParams& p) override;
  HWND ParentHandleForCreate() override;
  void Paint(HDC dc) override;
  void WndProc(TMessage& m) override;
};
