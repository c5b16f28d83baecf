// The light timer: a timer object that is not a component and has no window of its own.
// All timers of the process share one hidden message window of the process-wide handler; each
// running timer is a system timer on that window whose identifier is the timer object, so
// ticks reach the right timer directly through the message loop.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <set>

#include "platform/rtl/Event.h"
#include "platform/rtl/Object.h"

class TSimpleTimer;

// Made with the first timer object and freed with the last one.
class TSimpleTimerHandler {
 public:
  // The handler while any timer object exists, else nullptr.
  static TSimpleTimerHandler* Instance() { return Holder().get(); }
  ~TSimpleTimerHandler();
  // The shared message window, made when first asked for (a timer's first start).
  HWND Window();
  int RefCount() const { return (int)timers_.size(); }
  int RunningCount() const { return running_; }

 private:
  friend class TSimpleTimer;
  TSimpleTimerHandler();
  // Owns the handler; also frees it when the program ends.
  static std::unique_ptr<TSimpleTimerHandler>& Holder();
  static TSimpleTimerHandler& Acquire(TSimpleTimer* timer);
  static void Release(TSimpleTimer* timer);
  static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

  HWND window_ = nullptr;
  std::set<TSimpleTimer*> timers_;  // a tick naming anything else is ignored
  int running_ = 0;
};

class TSimpleTimer : public TObject {
  KARV_CLASS(TSimpleTimer, TObject)
 public:
  // Interval 1000 ms, no handler, not running.
  TSimpleTimer();
  TSimpleTimer(uint32_t interval, TNotifyEvent onTimer);
  // Stops the timer when it runs; the last timer frees the handler.
  ~TSimpleTimer() override;

  // False, and nothing happens, for an interval of 0. A running timer starts over.
  bool Start();
  // Kills the system timer; with `markStopped` the timer also counts as stopped.
  bool Stop(bool markStopped);
  bool Active() const { return running_; }
  void SetActive(bool on);
  uint32_t Interval() const { return interval_; }
  // A running timer restarts with a new non-zero interval; 0 kills the system timer but
  // leaves the timer marked as running.
  void SetInterval(uint32_t value);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  // An empty handler on a running timer kills the system timer (it stays marked running).
  void SetOnTimer(TNotifyEvent handler);
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }

 private:
  friend class TSimpleTimerHandler;
  TSimpleTimerHandler& handler_;
  bool running_ = false;
  uint32_t interval_ = 1000;
  TNotifyEvent onTimer_;
};
