// The domain-expiry reminder pop-up under Wine: where it starts and stops, sliding in on
// its own thread, closed at once by its button, sliding away after a click on its
// surface, two of them in a row, and a work area that does not start at the screen's corner.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"
#include "tests/webtools/WebToolsWorld.h"
#include "webtools/DomainHint.h"
#include "webtools/SeoInfo.h"

namespace {

using testing_support::PumpFor;
using testing_support::PumpUntil;

RECT WorkArea() {
  RECT r;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

RECT WindowRect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

class DomainHintTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::TestApplication();
    RegisterWebTools();
  }
  // Where the slide ends: the first 15-pixel step at or above the fully visible place.
  static int FinalTop(const RECT& work, int height) {
    int top = work.bottom;
    while (top > work.bottom - height) top -= 15;
    return top;
  }
  static bool Gone(HWND h) {
    return PumpUntil([&] { return !IsWindow(h); }, 3000);
  }
};

TEST_F(DomainHintTest, SlidesUpAtTheRightEdgeAndStaysUntilClosed) {
  RECT work = WorkArea();
  TDomainHintFrm* hint = TDomainHintFrm::ShowHint("example.cn", "2027-03-05");
  HWND h = hint->Handle();
  RECT r = WindowRect(h);
  int height = r.bottom - r.top;
  EXPECT_EQ(r.right, work.right);
  EXPECT_GE(r.top, FinalTop(work, height)) << "it starts below its place";
  EXPECT_EQ(hint->yDomainName->Caption(), "example.cn");
  EXPECT_EQ(hint->yDomainDate->Caption(), "2027-03-05");
  EXPECT_EQ(hint->Font().Charset(), GB2312_CHARSET);
  LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 255);
  EXPECT_EQ(client.bottom, 100);
  // Half-way it is between its start and its place.
  ASSERT_TRUE(PumpUntil([&] { return WindowRect(h).top < work.bottom - 30; }, 3000));
  ASSERT_TRUE(PumpUntil([&] { return hint->SlideState() == 1; }, 5000));
  PumpFor(100);
  EXPECT_EQ(WindowRect(h).top, FinalTop(work, height));
  EXPECT_EQ(WindowRect(h).right, work.right);
  EXPECT_TRUE(IsWindowVisible(h));
  WebToolsWorld::Screenshot(nullptr, "domain-hint.bmp");
  hint->BitBtn1->Click();
  EXPECT_TRUE(Gone(h)) << "closing frees the pop-up";
}

TEST(DomainHintSlide, StepsOfFifteenPixelsUntilInView) {
  struct Case {
    int workHeight, popUpHeight;
    size_t steps;
    int stopTop;
  } cases[] = {
      {1040, 127, 9, 905},
      {1040, 120, 8, 920},  // in view exactly at a step
      {1040, 1, 1, 1025},
  };
  for (const Case& c : cases) {
    std::vector<int> tops = TDomainHintFrm::SlideSteps(c.workHeight, c.workHeight - c.popUpHeight);
    ASSERT_EQ(tops.size(), c.steps) << c.popUpHeight;
    EXPECT_EQ(tops.front(), c.workHeight - 15) << c.popUpHeight;
    EXPECT_EQ(tops.back(), c.stopTop) << c.popUpHeight;
  }
}

TEST_F(DomainHintTest, CloseButtonWhileSlidingClosesAtOnce) {
  TDomainHintFrm* hint = TDomainHintFrm::ShowHint("example.cn", "2027-03-05");
  HWND h = hint->Handle();
  PumpFor(60);
  ASSERT_EQ(hint->SlideState(), 0);
  hint->BitBtn1->Click();
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(Gone(h));
}

TEST_F(DomainHintTest, ClickOnTheSurfaceSlidesItAwayThenCloses) {
  RECT work = WorkArea();
  TDomainHintFrm* hint = TDomainHintFrm::ShowHint("example.cn", "2027-03-05");
  HWND h = hint->Handle();
  ASSERT_TRUE(PumpUntil([&] { return hint->SlideState() == 1; }, 5000));
  PumpFor(50);
  hint->FormClick(hint);
  EXPECT_GE(hint->CurrentTop(), work.bottom) << "it left through the bottom of the work area";
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(Gone(h));
}

TEST_F(DomainHintTest, TwoRemindersGiveTwoPopUpsAtOnePlaceTheSecondOnTop) {
  TDomainHintFrm* a = TDomainHintFrm::ShowHint("a.cn", "2027-03-05");
  TDomainHintFrm* b = TDomainHintFrm::ShowHint("b.cn", "2027-03-06");
  HWND ha = a->Handle(), hb = b->Handle();
  ASSERT_TRUE(PumpUntil([&] { return a->SlideState() == 1 && b->SlideState() == 1; }, 5000));
  PumpFor(100);
  RECT ra = WindowRect(ha), rb = WindowRect(hb);
  EXPECT_TRUE(EqualRect(&ra, &rb));
  bool bAbove = false;
  for (HWND w = GetWindow(ha, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
    if (w == hb) bAbove = true;
  EXPECT_TRUE(bAbove);
  a->Close();
  b->Close();
  EXPECT_TRUE(Gone(ha));
  EXPECT_TRUE(Gone(hb));
}

TEST_F(DomainHintTest, WorkAreaAwayFromTheScreensCorner) {
  RECT saved = WorkArea();
  RECT moved{120, 80, 900, 700};
  SystemParametersInfoA(SPI_SETWORKAREA, 0, &moved, 0);
  RECT now = WorkArea();
  if (!EqualRect(&now, &moved)) {
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved, 0);
    GTEST_SKIP() << "this system keeps its work area";
  }
  TDomainHintFrm* hint = TDomainHintFrm::ShowHint("example.cn", "2027-03-05");
  HWND h = hint->Handle();
  ASSERT_TRUE(PumpUntil([&] { return hint->SlideState() == 1; }, 5000));
  PumpFor(100);
  RECT r = WindowRect(h);
  EXPECT_EQ(r.right, moved.right);
  EXPECT_EQ(r.top, FinalTop(moved, r.bottom - r.top));
  hint->Close();
  SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved, 0);
  EXPECT_TRUE(Gone(h));
}

}  // namespace
