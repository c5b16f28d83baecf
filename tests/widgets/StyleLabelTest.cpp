// The style and URL labels: what a click opens through the shell seam, the visited state,
// the hand cursor, angles, fly-by colours and blinking driven by the shared list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetsSupport.h"
#include "widgets/StyleLabel.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;
using testing_support::RecordingShell;
using namespace widgets_testing;

namespace {

class StyleLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form_.reset(New<TForm>(nullptr));
    form_->SetBounds(50, 50, 300, 200);
  }
  TUrlLabel* NewUrlLabel(const std::string& caption, const std::string& url) {
    auto* l = New<TUrlLabel>(form_.get());
    l->SetParent(form_.get());
    l->SetBounds(10, 10, 100, 20);
    l->SetCaption(caption);
    l->SetURL(url);
    return l;
  }
  // A real click: the parent's mouse messages at the label's place.
  void ClickOn(TControl* l) {
    HWND w = form_->Handle();
    LPARAM at = MAKELPARAM(l->Left() + 2, l->Top() + 2);
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(w, WM_LBUTTONUP, 0, at);
  }

  TOwned<TForm> form_;
};

struct FailingShell : RecordingShell {
  bool Open(const std::string& target, const std::string& params) override {
    RecordingShell::Open(target, params);
    return false;
  }
};

}  // namespace

TEST_F(StyleLabelTest, ClickRunsTheHandlerThenOpensTheWebAddressAndMarksItVisited) {
  RecordingShell shell;
  seams::ScopedSeam<seams::IShell> seam(&shell);
  TUrlLabel* l = NewUrlLabel("单位网址", "http://127.0.0.1/index.htm");
  EXPECT_EQ(l->Font().Color(), clHighlight);
  EXPECT_TRUE(l->Font().Style() & fsUnderline);
  size_t openedBeforeHandler = 99;
  l->OnClick = TNotifyEvent([&](TObject*) { openedBeforeHandler = shell.opened.size(); });
  ClickOn(l);
  EXPECT_EQ(openedBeforeHandler, 0u);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0].first, "http://127.0.0.1/index.htm");
  EXPECT_EQ(shell.opened[0].second, "");
  EXPECT_TRUE(l->Visited());
  EXPECT_EQ(l->Font().Color(), clPurple);
  l->SetVisitedColor(clRed);
  EXPECT_EQ(l->Font().Color(), clRed);
  l->SetVisited(false);
  EXPECT_EQ(l->Font().Color(), clHighlight);
}

TEST_F(StyleLabelTest, OnlyWebAddressesReachTheShell) {
  struct Case {
    std::string caption, url, opened;
  } cases[] = {
      {"https://127.0.0.1/a", "   ", "https://127.0.0.1/a"},  // a blank URL opens the caption
      {"x", "  HTTP://127.0.0.1/b  ", "HTTP://127.0.0.1/b"},
      {"100000", "", ""},  // a requester's number is no address
      {"x", "cmd.exe /c calc", ""},
      {"x", "file:///c:/windows/notepad.exe", ""},
      {"x", "http://127.0.0.1/\" -x", ""},
      {"x", "http://", ""},
  };
  for (const auto& c : cases) {
    RecordingShell shell;
    seams::ScopedSeam<seams::IShell> seam(&shell);
    TUrlLabel* l = NewUrlLabel(c.caption, c.url);
    int handled = 0;
    l->OnClick = TNotifyEvent([&](TObject*) { ++handled; });
    ClickOn(l);
    EXPECT_EQ(handled, 1) << c.url;
    EXPECT_TRUE(shell.started.empty()) << c.url;
    if (c.opened.empty()) {
      EXPECT_TRUE(shell.opened.empty()) << c.url;
      EXPECT_FALSE(l->Visited()) << c.url;
    } else {
      ASSERT_EQ(shell.opened.size(), 1u) << c.url;
      EXPECT_EQ(shell.opened[0].first, c.opened);
      EXPECT_TRUE(l->Visited());
    }
    TComponent::Free(l);
  }
}

TEST_F(StyleLabelTest, AFailedOpenOfAnHtmPageOffersOpenWithAndStaysUnvisited) {
  FailingShell shell;
  seams::ScopedSeam<seams::IShell> seam(&shell);
  TUrlLabel* l = NewUrlLabel("x", "http://127.0.0.1/page.HTM");
  ClickOn(l);
  EXPECT_FALSE(l->Visited());
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_NE(sys::LowerCase(shell.started[0].first).find("\\rundll32.exe"), std::string::npos);
  EXPECT_EQ(shell.started[0].second, "Shell32.dll,OpenAs_RunDLL *.htm");
  l->SetURL("http://127.0.0.1/page.html");
  ClickOn(l);
  EXPECT_EQ(shell.opened.size(), 2u);
  EXPECT_EQ(shell.started.size(), 1u);
}

TEST_F(StyleLabelTest, TheLinkShowsTheRegisteredHandCursor) {
  TUrlLabel* l = NewUrlLabel("link", "");
  EXPECT_EQ(l->Cursor(), TUrlLabel::kHandCursor);
  HCURSOR hand = Screen().Cursors(TUrlLabel::kHandCursor);
  ASSERT_NE(hand, nullptr);
  form_->Show();
  PumpFor(100);  // the window may still be placed after it is shown
  POINT at = form_->ClientToScreen(POINT{l->Left() + 3, l->Top() + 3});
  ASSERT_TRUE(MoveCursorTo(at));
  SendMessageA(form_->Handle(), WM_SETCURSOR, (WPARAM)form_->Handle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), hand);
}

TEST_F(StyleLabelTest, WithItsDefaultsItPaintsLikeThePlainLabel) {
  auto* plain = New<TLabel>(form_.get());
  auto* styled = New<TStyleLabel>(form_.get());
  for (TLabel* l : {plain, static_cast<TLabel*>(styled)}) {
    l->SetCaption("Karv号码 8014");
    l->Font().SetSize(12);
    l->SetAlignment(TAlignment::taCenter);
  }
  ASSERT_EQ(plain->Width(), styled->Width());
  ASSERT_EQ(plain->Height(), styled->Height());
  MemoryCanvas a(plain->Width(), plain->Height()), b(plain->Width(), plain->Height());
  // As the parent paints them: with the label's font selected.
  SelectObject(a.Dc(), plain->Font().Handle());
  SelectObject(b.Dc(), styled->Font().Handle());
  plain->Paint(a.Dc());
  styled->Paint(b.Dc());
  int differ = 0, ink = 0;
  for (int y = 0; y < plain->Height(); ++y)
    for (int x = 0; x < plain->Width(); ++x) {
      differ += a.Pixel(x, y) != b.Pixel(x, y);
      ink += a.Pixel(x, y) != ColorToRGB(clBtnFace);
    }
  EXPECT_GT(ink, 20);  // the text was drawn
  EXPECT_EQ(differ, 0);
}

TEST_F(StyleLabelTest, AngleIsKeptWithinAFullTurnAndTurnsTheText) {
  auto* l = New<TStyleLabel>(form_.get());
  EXPECT_EQ(l->Rotation(), TRotation::roNone);
  struct Case {
    int set, stored;
  } cases[] = {{-30, 330}, {400, 40}, {-400, 320}, {720, 0}, {90, 90}};
  for (const auto& c : cases) {
    l->SetAngle(c.set);
    EXPECT_EQ(l->Angle(), c.stored) << c.set;
  }
  EXPECT_EQ(l->Rotation(), TRotation::roFlat);  // a turned text needs a rotation
  l->SetCaption("turned");
  EXPECT_GT(l->Height(), l->Width());  // auto size follows the 90 degree turn
}

TEST_F(StyleLabelTest, FlyByColourHoldsWhileTheMouseIsOver) {
  auto* l = New<TStyleLabel>(form_.get());
  l->Font().SetColor(clBlack);
  l->SetFlyByEnabled(true);
  l->SetFlyByColor(clRed);
  TColor inHandler = clNone;
  l->OnMouseEnter = TNotifyEvent([&](TObject*) { inHandler = l->Font().Color(); });
  l->Perform(CM_MOUSEENTER);
  EXPECT_EQ(inHandler, clRed);
  l->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(l->Font().Color(), clBlack);
}

TEST_F(StyleLabelTest, BlinkingLabelsAlternateColoursThroughTheSharedList) {
  auto* blinking = New<TStyleLabel>(form_.get());
  auto* steady = New<TStyleLabel>(form_.get());
  for (TStyleLabel* l : {blinking, steady}) {
    l->SetCaption("■■■■");
    l->Font().SetSize(20);
    l->Font().SetColor(clBlack);
    l->SetBlinkColor(clRed);
  }
  blinking->SetBlinking(true);
  TBlinkingControlsList* list = TBlinkingControlsList::Instance();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Count(), 2);
  blinking->SetBlinkIntervalOn(30);  // shared by every label
  EXPECT_EQ(steady->BlinkIntervalOn(), 30);
  steady->SetBlinkIntervalOff(40);

  auto redPixels = [](TStyleLabel* l) {
    MemoryCanvas c(l->Width(), l->Height());
    l->Paint(c.Dc());
    return c.CountOf(RGB(255, 0, 0));
  };
  bool sawRed = false, sawBlack = false;
  PumpUntil([&] {
    bool red = redPixels(blinking) > 0;
    (red ? sawRed : sawBlack) = true;
    EXPECT_EQ(redPixels(steady), 0);
    return sawRed && sawBlack;
  }, 3000);
  EXPECT_TRUE(sawRed);
  EXPECT_TRUE(sawBlack);

  blinking->SetBlinking(false);
  EXPECT_EQ(redPixels(blinking), 0);  // back to its own colour at once
  TComponent::Free(blinking);
  EXPECT_EQ(list->Count(), 1);
  form_.reset();
  EXPECT_EQ(TBlinkingControlsList::Instance(), nullptr);  // gone with the last label
}

namespace {
// A control that answers the blinking question as told and records what the list sends.
struct BlinkProbe : TControl {
  using TControl::TControl;
  bool blinks = false;
  std::vector<std::pair<UINT, WPARAM>> seen;
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_BLINKQUERY || m.Msg == CM_BLINKPHASE) {
      seen.emplace_back(m.Msg, m.WParam);
      m.Result = m.Msg == CM_BLINKQUERY && blinks;
      return;
    }
    TControl::WndProc(m);
  }
};
}  // namespace

TEST(BlinkingControlsList, ATickFlipsPhaseAndIntervalAndTellsOnlyBlinkingControls) {
  TOwned<BlinkProbe> quiet(New<BlinkProbe>(nullptr)), blinker(New<BlinkProbe>(nullptr));
  blinker->blinks = true;
  TBlinkingControlsList::Register(quiet.get());
  TBlinkingControlsList* list = TBlinkingControlsList::Instance();
  ASSERT_NE(list, nullptr);
  list->Timer().SetEnabled(false);  // ticks driven here
  list->SetIntervalOn(111);
  list->SetIntervalOff(222);
  EXPECT_TRUE(list->BlinkState());
  list->TimerTick(nullptr);
  EXPECT_FALSE(list->BlinkState());
  EXPECT_EQ(list->Timer().Interval(), 111);
  EXPECT_EQ(quiet->seen.size(), 1u);  // asked, never told a phase

  TBlinkingControlsList::Register(blinker.get());
  list->TimerTick(nullptr);
  EXPECT_TRUE(list->BlinkState());
  EXPECT_EQ(list->Timer().Interval(), 222);
  using Seen = std::vector<std::pair<UINT, WPARAM>>;
  EXPECT_EQ(quiet->seen, (Seen{{CM_BLINKQUERY, 0}, {CM_BLINKQUERY, 0}}));
  EXPECT_EQ(blinker->seen, (Seen{{CM_BLINKQUERY, 0}, {CM_BLINKPHASE, 1}}));
  list->TimerTick(nullptr);
  EXPECT_EQ(blinker->seen.back(), (std::pair<UINT, WPARAM>{CM_BLINKPHASE, 0}));

  TBlinkingControlsList::Unregister(quiet.get());
  EXPECT_EQ(TBlinkingControlsList::Instance(), list);
  TBlinkingControlsList::Unregister(blinker.get());
  EXPECT_EQ(TBlinkingControlsList::Instance(), nullptr);
}
