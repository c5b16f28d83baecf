// The boundaries between the system and our code: the application object checks that its
// window class and window were made, and whatever a handler throws ends at the window
// procedure, reported, never unwinding through the system.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Exception.h"
#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<std::string> g_reported;
void Record(const std::string& line) { g_reported.push_back(line); }

struct ScopedReporter {
  ScopedReporter() {
    g_reported.clear();
    SetExceptionReporter(&Record);
  }
  ~ScopedReporter() { SetExceptionReporter(nullptr); }
};

// Refuses every window of the application's class while it is installed.
LRESULT CALLBACK RefuseApplicationWindow(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    char cls[64] = {};
    GetClassNameA((HWND)wp, cls, sizeof cls);
    if (std::string(cls) == "TApplication") return 1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

TEST(Boundaries, AnApplicationWithoutItsWindowSaysSo) {
  testing_support::TestApplication();
  HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseApplicationWindow, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  {
    TApplication second;
    EXPECT_THROW(second.Initialize(), Exception);
    EXPECT_EQ(second.Handle(), nullptr);
  }
  UnhookWindowsHookEx(hook);
  // With the class already made by the first application, a further one gets its window.
  TApplication third;
  third.Initialize();
  EXPECT_NE(third.Handle(), nullptr);
}

TEST(Boundaries, WhatAHandlerThrowsEndsAtTheWindowProcedureAndIsReported) {
  testing_support::TestApplication();
  ScopedReporter reporter;
  TForm* form = CreateForm<TForm>(nullptr);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->OnClick = TNotifyEvent([](TObject*) { throw 42; });
  form->Show();
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(g_reported.size(), 1u);
  EXPECT_NE(g_reported[0].find("unknown exception"), std::string::npos) << g_reported[0];

  TTimer timer(nullptr);
  timer.SetInterval(10);
  timer.OnTimer = TNotifyEvent([](TObject*) { throw Exception("定时出错"); });
  timer.SetEnabled(true);
  EXPECT_TRUE(testing_support::PumpUntil([] { return g_reported.size() >= 2; }));
  timer.SetEnabled(false);
  ASSERT_GE(g_reported.size(), 2u);
  EXPECT_EQ(g_reported[1].find("定时出错"), 0u) << g_reported[1];
  TComponent::Free(form);
}
