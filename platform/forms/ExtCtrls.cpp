#include "platform/forms/ExtCtrls.h"

#include <windows.h>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/MessageWindow.h"
#include "platform/rtl/WndProcGuard.h"

namespace {
const char kTimerWindowClass[] = "KarvTimerWindow";
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) { RegisterExtCtrls(); }

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    DestroyWindow(window_);
  }
}

bool TTimer::MakeWindow() {
  window_ = CreateMessageWindow(kTimerWindowClass, GuardedWndProc<&TTimer::TimerWndProc>);
  if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return window_ != nullptr;
}

void TTimer::SetEnabled(bool v) {
  enabled_ = v;
  Update();
}

void TTimer::SetInterval(int ms) {
  interval_ = ms;
  Update();
}

void TTimer::Update() {
  // A description sets Enabled, Interval and OnTimer one by one; Loaded starts the timer once.
  if (Loading()) return;
  if (window_) KillTimer(window_, 1);
  // The window comes with the first start: a timer that never runs needs none.
  if (enabled_ && interval_ > 0 && OnTimer && (window_ || MakeWindow())) SetTimer(window_, 1, interval_, nullptr);
}

void TTimer::Fire() {
  if (OnTimer) OnTimer(this);
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    if (auto* t = reinterpret_cast<TTimer*>(GetWindowLongPtrA(h, GWLP_USERDATA)); t && t->enabled_) t->Fire();
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

void RegisterExtCtrls() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterProperties(TTimer::StaticClass(), {
      ComponentNameProperty(),
      BoolProperty("Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
      IntProperty("Interval", &TTimer::Interval, &TTimer::SetInterval),
      EventProp("OnTimer", &TTimer::OnTimer),
  });
  RegisterComponentClass<TTimer>();
}
