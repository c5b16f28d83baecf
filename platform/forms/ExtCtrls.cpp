#include "platform/forms/ExtCtrls.h"

#include <windows.h>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/WndProcGuard.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  RegisterExtCtrls();
  WNDCLASSA wc{};
  wc.lpfnWndProc = GuardedWndProc<&TTimer::TimerWndProc>;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KarvTimerWindow";
  RegisterClassA(&wc);
  window_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    DestroyWindow(window_);
  }
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
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0 && OnTimer) SetTimer(window_, 1, interval_, nullptr);
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
