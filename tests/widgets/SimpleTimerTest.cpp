// The light timer under the real message loop: start and stop, interval and handler
// changes while running, and the one shared hidden window.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/TestSupport.h"
#include "widgets/SimpleTimer.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {
struct TickCounter {
  int ticks = 0;
  TObject* sender = nullptr;
  void Tick(TObject* s) {
    ++ticks;
    sender = s;
  }
  TNotifyEvent Handler() { return TNotifyEvent(this, &TickCounter::Tick); }
};
}  // namespace

TEST(SimpleTimer, StartsOnlyWithAnIntervalAndCountsRunningTimers) {
  TSimpleTimer t;
  EXPECT_EQ(t.Interval(), 1000u);
  EXPECT_FALSE(t.Active());
  t.SetInterval(0);
  EXPECT_FALSE(t.Start());
  EXPECT_FALSE(t.Active());
  EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 0);

  t.SetInterval(1000);
  EXPECT_TRUE(t.Start());
  EXPECT_TRUE(t.Start());  // a running timer starts over, still counted once
  EXPECT_TRUE(t.Active());
  EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 1);
  EXPECT_TRUE(t.Stop(true));
  EXPECT_FALSE(t.Active());
  EXPECT_FALSE(t.Stop(true));  // nothing left to kill: the count stays at 0
  EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 0);
}

TEST(SimpleTimer, TicksReachTheHandlerAndANewIntervalRestartsARunningTimer) {
  TickCounter c;
  TSimpleTimer t(1000, c.Handler());
  ASSERT_TRUE(t.Start());
  t.SetInterval(30);  // a 1000 ms timer could not tick three times within the wait below
  EXPECT_TRUE(PumpUntil([&] { return c.ticks >= 3; }, 900));
  EXPECT_EQ(c.sender, &t);

  t.SetActive(false);
  int before = c.ticks;
  t.SetInterval(20);  // stopped: only stored
  PumpFor(150);
  EXPECT_EQ(c.ticks, before);
  EXPECT_EQ(t.Interval(), 20u);
  EXPECT_FALSE(t.Active());
}

TEST(SimpleTimer, ZeroIntervalOrEmptyHandlerSilenceARunningTimerThatStaysMarkedRunning) {
  TickCounter c;
  TSimpleTimer t(25, c.Handler());
  ASSERT_TRUE(t.Start());
  t.SetInterval(0);
  EXPECT_TRUE(t.Active());
  EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 0);
  PumpFor(120);
  EXPECT_EQ(c.ticks, 0);
  t.SetInterval(25);  // running and non-zero again: restarted
  EXPECT_TRUE(PumpUntil([&] { return c.ticks >= 1; }, 1000));

  t.SetOnTimer(TNotifyEvent());
  EXPECT_TRUE(t.Active());
  EXPECT_EQ(TSimpleTimerHandler::Instance()->RunningCount(), 0);
  int before = c.ticks;
  PumpFor(120);
  EXPECT_EQ(c.ticks, before);
}

TEST(SimpleTimer, AllTimersShareOneWindowThatGoesWithTheLastTimer) {
  ASSERT_EQ(TSimpleTimerHandler::Instance(), nullptr);
  std::vector<std::unique_ptr<TSimpleTimer>> timers;
  std::vector<TickCounter> counters(3);
  for (auto& c : counters) {
    timers.push_back(std::make_unique<TSimpleTimer>(20, c.Handler()));
    ASSERT_TRUE(timers.back()->Start());
  }
  TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
  HWND window = handler->Window();
  EXPECT_EQ(handler->RefCount(), 3);
  EXPECT_EQ(handler->RunningCount(), 3);
  // One message-only window, and no top-level one.
  int windows = 0;
  for (HWND h = nullptr; (h = FindWindowExA(HWND_MESSAGE, h, "KarvSimpleTimerWindow", nullptr)) != nullptr;) ++windows;
  EXPECT_EQ(windows, 1);
  for (HWND h : testing_support::ThreadWindows()) {
    char cls[64];
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_NE(lstrcmpA(cls, "KarvSimpleTimerWindow"), 0);
  }
  EXPECT_TRUE(PumpUntil([&] { return counters[0].ticks && counters[1].ticks && counters[2].ticks; }, 1000));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(counters[i].sender, timers[i].get());

  // A tick naming no live timer is dropped.
  PostMessageA(window, WM_TIMER, (WPARAM)0x1234, 0);
  TSimpleTimer* gone = timers[2].get();
  timers.pop_back();
  PostMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(gone), 0);
  PumpFor(50);
  EXPECT_EQ(handler->RefCount(), 2);

  timers.clear();
  EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
  EXPECT_FALSE(IsWindow(window));
  TSimpleTimer again;
  ASSERT_NE(TSimpleTimerHandler::Instance(), nullptr);
  EXPECT_TRUE(IsWindow(TSimpleTimerHandler::Instance()->Window()));
}
