// The application's hints: after the pointer rests for HintPause milliseconds on a control
// whose ShowHint holds (its own, or its parent's through ParentShowHint), the one hint window
// of the application shows that control's Hint just below the pointer. It goes when the
// pointer leaves the control, on a click and on a key; it comes back only after the pointer
// has been on another control. Moving straight from one shown hint to another control's
// takes only a short pause.
//
// The application makes one TApplicationHints on its GUI thread; it watches the thread's
// input through a message hook (so modal loops and message boxes are covered too) and owns
// the hint window and its timer. While the pointer is over the thread's windows or a hint
// shows, a timer reads where the pointer is and finds the control under it afresh each time,
// so a control freed meanwhile is never touched.
#pragma once
#include <windows.h>

#include <string>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/HintWindow.h"

class TApplicationHints {
 public:
  TApplicationHints();
  ~TApplicationHints();
  TApplicationHints(const TApplicationHints&) = delete;
  TApplicationHints& operator=(const TApplicationHints&) = delete;

  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  int HintPause = 500;       // ms of rest before a hint shows
  int HintShortPause = 50;   // ms when another hint showed just before
  // Hides a shown or coming hint; it stays away until the pointer is on another control.
  void CancelHint();
  // The hint window, or nullptr before the first hint showed.
  THintWindow* HintWindow() const { return window_.get(); }

  // The control whose hint applies at a screen point: the control of this thread under the
  // point, or the nearest of its parents, whose ShowHint holds; nullptr when there is none
  // or there is no hint text.
  static TControl* HintControlAt(POINT screen);
  // The text a control's hint shows: its own Hint, else the nearest parent's that has one.
  static std::string HintOf(const TControl* c);

 private:
  static LRESULT CALLBACK InputHook(int code, WPARAM wp, LPARAM lp);
  void Input(const MSG& m);
  // Looks where the pointer is: a new control starts its pause; a pause run out shows the hint.
  void Poll(TObject*);
  void HideHint();

  HHOOK hook_ = nullptr;
  bool showHint_ = true;
  // Identities only (never dereferenced): the control the pointer was last seen on, and the
  // one whose hint shows.
  const void* under_ = nullptr;
  const void* shown_ = nullptr;
  DWORD since_ = 0;         // tick count when the pointer came onto under_
  int pause_ = 500;         // ms it must rest there
  bool cancelled_ = false;  // a click or key took the hint away until the control changes
  TOwned<TTimer> timer_;
  TOwned<THintWindow> window_;
};
