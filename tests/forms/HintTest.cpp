// Hints: ShowHint through the parents, and the one hint window that shows a control's hint
// after the pointer rests on it and goes on leave, click and key. The real pointer is moved.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Properties.h"
#include "platform/forms/StdCtrls.h"
#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;

TEST(Hints, ShowHintFollowsTheParentUntilTheControlSetsItsOwn) {
  testing_support::TestApplication();
  TOwned<TForm> form(new TForm(nullptr));
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  auto* label = new TLabel(form.get());
  label->SetParent(panel);
  EXPECT_FALSE(label->ShowHint());  // a form shows no hints unless told to
  form->SetShowHint(true);
  EXPECT_TRUE(panel->ShowHint());
  EXPECT_TRUE(label->ShowHint());
  panel->SetShowHint(false);
  EXPECT_FALSE(panel->ParentShowHint());
  EXPECT_FALSE(label->ShowHint());
  // Through the published properties, as a form description sets them.
  SetPropValue(panel, "ParentShowHint", true);
  EXPECT_TRUE(label->ShowHint());
  SetPropValue(label, "ShowHint", false);
  EXPECT_FALSE(label->ShowHint());
  EXPECT_FALSE(label->ParentShowHint());
}

namespace {

class HintBehaviour : public ::testing::Test {
 protected:
  void SetUp() override {
    hints_ = testing_support::TestApplication().Hints();
    ASSERT_NE(hints_, nullptr);
    form_.reset(new TForm(nullptr));
    form_->SetBounds(100, 100, 400, 200);
    first_ = Button("查找好友", 10, true);
    second_ = Button("贸易", 110, true);
    silent_ = Button("不显示", 210, false);
    // A windowless control takes its hint from the panel it sits on.
    panel_ = new TPanel(form_.get());
    panel_->SetParent(form_.get());
    panel_->SetBounds(300, 10, 80, 80);
    panel_->SetHint("面板");
    panel_->SetShowHint(true);
    label_ = new TLabel(form_.get());
    label_->SetParent(panel_);
    label_->SetBounds(10, 10, 50, 20);
    label_->SetCaption("标签");
    form_->Show();
    PumpFor(100);
    Rest(Centre(form_.get(), 380, 150));  // on the form, which shows no hint
  }
  void TearDown() override {
    hints_->CancelHint();
    form_.reset();
  }

  TButton* Button(const char* hint, int left, bool show) {
    auto* b = new TButton(form_.get());
    b->SetParent(form_.get());
    b->SetBounds(left, 10, 80, 30);
    b->SetHint(hint);
    b->SetShowHint(show);
    return b;
  }
  // A screen point of a control's client area.
  static POINT Centre(TControl* c, int x, int y) { return c->ClientToScreen(POINT{x, y}); }
  static POINT Centre(TControl* c) { return Centre(c, c->Width() / 2, c->Height() / 2); }
  // Moves the real pointer there, as a person's mouse would.
  static void Rest(POINT p) {
    testing_support::MovePointer(p);
    PumpFor(30);
  }
  HWND Shown() const {
    THintWindow* w = hints_->HintWindow();
    return w && w->HandleAllocated() && IsWindowVisible(w->HandleIfAllocated()) ? w->HandleIfAllocated() : nullptr;
  }
  std::string ShownText() const {
    char text[256] = {};
    if (HWND h = Shown()) GetWindowTextA(h, text, sizeof text);
    return text;
  }
  bool WaitShown(const std::string& text) {
    return PumpUntil([&] { return ShownText() == text; }, 3000);
  }
  // Nothing shows for a while longer than the pause.
  bool StaysHidden() {
    PumpFor(hints_->HintPause + 300);
    return Shown() == nullptr;
  }

  TApplicationHints* hints_ = nullptr;
  TOwned<TForm> form_;
  TButton *first_ = nullptr, *second_ = nullptr, *silent_ = nullptr;
  TPanel* panel_ = nullptr;
  TLabel* label_ = nullptr;
};

}  // namespace

TEST_F(HintBehaviour, AfterAPauseTheHintShowsBelowThePointerAndGoesWhenItLeaves) {
  POINT at = Centre(first_);
  Rest(at);
  EXPECT_EQ(Shown(), nullptr) << "no hint before the pause";
  ASSERT_TRUE(WaitShown("查找好友")) << ShownText();
  RECT r{};
  GetWindowRect(Shown(), &r);
  EXPECT_GT(r.top, at.y);
  EXPECT_LT(r.top, at.y + 40);
  EXPECT_LE(std::abs(r.left - at.x), 2);
  EXPECT_NE(GetForegroundWindow(), Shown()) << "the hint takes no activation";

  // Straight on to the next control: its hint replaces the first in the same window.
  HWND window = Shown();
  Rest(Centre(second_));
  ASSERT_TRUE(WaitShown("贸易")) << ShownText();
  EXPECT_EQ(Shown(), window);

  // Leaving for a control without ShowHint, and for the form, takes the hint away.
  Rest(Centre(silent_));
  EXPECT_TRUE(PumpUntil([&] { return Shown() == nullptr; }, 2000));
  EXPECT_TRUE(StaysHidden());
  Rest(Centre(first_));
  ASSERT_TRUE(WaitShown("查找好友"));
  Rest(Centre(form_.get(), 380, 150));
  EXPECT_TRUE(PumpUntil([&] { return Shown() == nullptr; }, 2000));

  // A windowless control without a hint of its own shows its panel's.
  Rest(Centre(label_));
  EXPECT_TRUE(WaitShown("面板")) << ShownText();
  int windows = 0;
  for (HWND h : testing_support::ThreadWindows()) {
    char cls[32] = {};
    GetClassNameA(h, cls, sizeof cls);
    windows += std::string(cls) == "THintWindow";
  }
  EXPECT_EQ(windows, 1) << "one hint window for the application";
}

TEST_F(HintBehaviour, AClickOrAKeyTakesTheHintAwayUntilThePointerMovesOn) {
  Rest(Centre(first_));
  ASSERT_TRUE(WaitShown("查找好友"));
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof click[0]);
  EXPECT_TRUE(PumpUntil([&] { return Shown() == nullptr; }, 2000));
  Rest(POINT{Centre(first_).x + 3, Centre(first_).y + 2});  // still on the same button
  EXPECT_TRUE(StaysHidden());

  Rest(Centre(second_));
  ASSERT_TRUE(WaitShown("贸易"));
  PostMessageA(second_->Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_TRUE(PumpUntil([&] { return Shown() == nullptr; }, 2000));
  EXPECT_TRUE(StaysHidden());

  // Switched off for the application: none at all.
  Rest(Centre(form_.get(), 380, 150));
  hints_->SetShowHint(false);
  Rest(Centre(first_));
  EXPECT_TRUE(StaysHidden());
  hints_->SetShowHint(true);
}

TEST_F(HintBehaviour, AFreedControlUnderThePointerShowsNothingAndBreaksNothing) {
  Rest(Centre(first_));
  TComponent::Free(first_);
  EXPECT_TRUE(StaysHidden());
  Rest(Centre(second_));
  EXPECT_TRUE(WaitShown("贸易"));
  TComponent::Free(second_);
  EXPECT_TRUE(PumpUntil([&] { return Shown() == nullptr; }, 2000));
}
