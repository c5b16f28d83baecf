#include "widgets/SimpleTimer.h"

#include "platform/rtl/MessageWindow.h"
#include "platform/rtl/WndProcGuard.h"

namespace {
const char kWindowClass[] = "KarvSimpleTimerWindow";
}  // namespace

TSimpleTimerHandler::TSimpleTimerHandler() = default;

HWND TSimpleTimerHandler::Window() {
  // Made with the first start: the program's timers mostly wait for an event, and a window
  // made before the first paint delays it.
  if (window_) return window_;
  // A message-only window: it needs nothing but its timer messages, and a top-level one
  // would also get a window of the display server.
  window_ = CreateMessageWindow(kWindowClass, GuardedWndProc<&TSimpleTimerHandler::WndProc>);
  return window_;
}

TSimpleTimerHandler::~TSimpleTimerHandler() {
  if (window_) DestroyWindow(window_);
}

std::unique_ptr<TSimpleTimerHandler>& TSimpleTimerHandler::Holder() {
  static std::unique_ptr<TSimpleTimerHandler> holder;
  return holder;
}

TSimpleTimerHandler& TSimpleTimerHandler::Acquire(TSimpleTimer* timer) {
  auto& holder = Holder();
  if (!holder) holder.reset(new TSimpleTimerHandler());
  holder->timers_.insert(timer);
  return *holder;
}

void TSimpleTimerHandler::Release(TSimpleTimer* timer) {
  auto& holder = Holder();
  if (!holder) return;
  holder->timers_.erase(timer);
  if (holder->timers_.empty()) holder.reset();
}

LRESULT CALLBACK TSimpleTimerHandler::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    TSimpleTimerHandler* self = Instance();
    auto* timer = reinterpret_cast<TSimpleTimer*>(wp);
    if (self && self->window_ == h && self->timers_.count(timer) && timer->onTimer_) timer->onTimer_(timer);
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

// ---------------------------------------------------------------- TSimpleTimer

TSimpleTimer::TSimpleTimer() : handler_(TSimpleTimerHandler::Acquire(this)) {}

TSimpleTimer::TSimpleTimer(uint32_t interval, TNotifyEvent onTimer)
    : handler_(TSimpleTimerHandler::Acquire(this)), interval_(interval), onTimer_(std::move(onTimer)) {}

TSimpleTimer::~TSimpleTimer() {
  if (running_) Stop(true);
  TSimpleTimerHandler::Release(this);
}

bool TSimpleTimer::Start() {
  if (interval_ == 0) return false;
  if (running_) Stop(true);
  HWND window = handler_.Window();
  if (!window || !SetTimer(window, Id(), interval_, nullptr)) return false;
  running_ = true;
  ++handler_.running_;
  return true;
}

bool TSimpleTimer::Stop(bool markStopped) {
  if (markStopped) running_ = false;
  if (!handler_.window_ || !KillTimer(handler_.window_, Id())) return false;
  if (handler_.running_ > 0) --handler_.running_;
  return true;
}

void TSimpleTimer::SetActive(bool on) {
  if (on) Start();
  else Stop(true);
}

void TSimpleTimer::SetInterval(uint32_t value) {
  if (value == interval_) return;
  interval_ = value;
  if (!running_) return;
  if (value != 0) Start();
  else Stop(false);
}

void TSimpleTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  if (!onTimer_ && running_) Stop(false);
}
