// Non-visual helpers of forms: the timer component.
// The timer owns a hidden window whose WM_TIMER runs OnTimer on the GUI thread; it is made
// and freed on that thread.
#pragma once
#include <windows.h>

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

// WM_TIMER on a hidden window of its own; OnTimer runs on the GUI thread.
class TTimer : public TComponent {
  KARV_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  TNotifyEvent OnTimer;
  // Runs OnTimer as if the interval had passed (tests drive timers this way).
  void Fire();
  // A description may name OnTimer after Enabled and Interval: start once all are read.
  void Loaded() override { Update(); }

 private:
  void Update();
  bool MakeWindow();
  static LRESULT CALLBACK TimerWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_ = nullptr;  // message-only, made with the first start
  bool enabled_ = true;
  int interval_ = 1000;
};

void RegisterExtCtrls();
