// The tray icon: the shell calls it makes (seen through the notification-area seam), the
// notifications it is sent by the shell (sent here to its handler window), animation,
// minimising the main form into the tray and getting the icon back after the shell restarts.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetsSupport.h"
#include "widgets/TrayNotifyIcon.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;
using namespace widgets_testing;

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

class TrayNotifyIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    owner_ = std::make_unique<TComponent>(nullptr);
  }
  void TearDown() override { owner_.reset(); }

  TTrayNotifyIcon* NewIcon() { return New<TTrayNotifyIcon>(owner_.get()); }
  TImageList* NewList(const std::vector<COLORREF>& colours) {
    auto* list = New<TImageList>(owner_.get());
    for (COLORREF c : colours) {
      HICON icon = SolidIcon(c);
      list->AddIcon(icon);
      DestroyIcon(icon);
    }
    return list;
  }
  static void Send(TTrayNotifyIcon* icon, UINT mouseMessage) {
    SendMessageA(TTrayNotifyIcon::HandlerWindow(), TTrayNotifyIcon::kCallbackMessage, icon->Id(), mouseMessage);
  }

  RecordingNotifyArea shell_;
  seams::ScopedNotifyArea seam_{&shell_};
  std::unique_ptr<TComponent> owner_;
};

struct Counter {
  int n = 0;
  void Hit(TObject*) { ++n; }
  TNotifyEvent Handler() { return TNotifyEvent(this, &Counter::Hit); }
};

}  // namespace

TEST_F(TrayNotifyIconTest, AddModifyDeleteSendTheRecordOfThePlatform) {
  TTrayNotifyIcon* tray = NewIcon();
  HICON red = SolidIcon(kRed);
  tray->Icon().SetHandle(red);  // a change of the picture updates the shell's icon
  ASSERT_NE(shell_.Last(NIM_MODIFY), nullptr);
  EXPECT_EQ(shell_.Last(NIM_MODIFY)->iconColour, kRed);
  tray->SetHint("系统提示");
  tray->SetIconVisible(true);
  ASSERT_EQ(shell_.Count(NIM_ADD), 1);
  const TNotifyIconData& add = shell_.Last(NIM_ADD)->data;
  EXPECT_EQ(add.Size(), sizeof(void*) == 8 ? 504u : 488u);
  EXPECT_EQ(add.Wnd(), TTrayNotifyIcon::HandlerWindow());
  EXPECT_EQ(add.Id(), tray->Id());
  EXPECT_EQ(add.Flags(), 7u);
  EXPECT_EQ(add.CallbackMessage(), 2048u);
  EXPECT_EQ(add.Icon(), red);
  EXPECT_EQ(add.Tip(), "系统提示");
  EXPECT_TRUE(tray->IconVisible());

  tray->SetIconVisible(false);
  EXPECT_EQ(shell_.Count(NIM_DELETE), 1);
  EXPECT_EQ(shell_.Last(NIM_DELETE)->data.Id(), tray->Id());
  TComponent::Free(tray);
  EXPECT_EQ(shell_.Count(NIM_DELETE), 2);  // taken out again when freed
}

TEST_F(TrayNotifyIconTest, TipIsCutOnACharacterBoundaryAndEmptyWithoutShowHint) {
  TTrayNotifyIcon* tray = NewIcon();
  struct Case {
    std::string hint;
    bool showHint;
    std::string tip;
  } cases[] = {
      {std::string(200, 'a'), true, std::string(127, 'a')},
      {"a" + std::string(200, 'x'), true, "a" + std::string(126, 'x')},
      // 100 two-byte characters after one byte: the 64th character would end at byte 129.
      {[] { std::string s = "a"; for (int i = 0; i < 100; ++i) s += "汉"; return s; }(), true,
       [] { std::string s = "a"; for (int i = 0; i < 63; ++i) s += "汉"; return s; }()},
      {"hint", false, ""},
      {"", true, ""},
  };
  for (const auto& c : cases) {
    tray->SetShowHint(c.showHint);
    tray->SetHint(c.hint);
    EXPECT_EQ(shell_.Last(NIM_MODIFY)->data.Tip(), c.tip) << c.hint.size();
  }
}

TEST_F(TrayNotifyIconTest, BalloonRemovesTheOldOneAndSendsCutTexts) {
  TTrayNotifyIcon* tray = NewIcon();
  std::string text;
  for (int i = 0; i < 150; ++i) text += "字";  // 300 bytes
  shell_.calls.clear();
  EXPECT_TRUE(tray->ShowBalloonHint(std::string(100, 't'), text, TBalloonIconKind::bikInfo, 10));
  ASSERT_EQ(shell_.calls.size(), 2u);
  const TNotifyIconData& clear = shell_.calls[0].data;
  EXPECT_EQ(clear.Flags(), 7u | NIF_INFO);
  EXPECT_EQ(clear.Info(), "");
  const TNotifyIconData& shown = shell_.calls[1].data;
  EXPECT_EQ(shown.Flags(), 7u | NIF_INFO);
  EXPECT_EQ(shown.Info(), text.substr(0, 254));  // 127 whole characters fit in 255 bytes
  EXPECT_EQ(shown.InfoTitle(), std::string(63, 't'));
  EXPECT_EQ(shown.Timeout(), 10000u);
  EXPECT_EQ(shown.InfoFlags(), (uint32_t)NIIF_INFO);

  tray->ModifyIcon();  // the balloon flag is gone afterwards
  EXPECT_EQ(shell_.Last(NIM_MODIFY)->data.Flags(), 7u);
  shell_.answer = false;
  EXPECT_FALSE(tray->ShowBalloonHint("系统提示", "x", TBalloonIconKind::bikError, 10));
  EXPECT_EQ(shell_.Last(NIM_MODIFY)->data.InfoFlags(), 3u);
}

TEST_F(TrayNotifyIconTest, IconIndexIsLimitedToTheList) {
  TTrayNotifyIcon* tray = NewIcon();
  tray->SetIconIndex(5);
  EXPECT_EQ(tray->IconIndex(), 0);  // no list
  tray->SetIconList(NewList({kRed, kGreen, kBlue}));
  EXPECT_EQ(shell_.Last(NIM_MODIFY)->iconColour, kRed);
  shell_.calls.clear();
  tray->SetIconIndex(7);
  EXPECT_EQ(tray->IconIndex(), 2);
  ASSERT_EQ(shell_.ModifiedColours(), std::vector<COLORREF>{kBlue});
  tray->SetIconIndex(-3);
  EXPECT_EQ(tray->IconIndex(), 0);
}

TEST_F(TrayNotifyIconTest, CyclingShowsEachPictureInTurnAndReportsTheNextIndex) {
  TTrayNotifyIcon* tray = NewIcon();
  tray->SetIconList(NewList({kRed, kGreen, kBlue}));
  std::vector<int> reported;
  tray->OnCycle = TCycleEvent([&](TObject* s, int next) {
    EXPECT_EQ(s, tray);
    reported.push_back(next);
  });
  tray->SetCycleInterval(30);
  tray->SetCycleIcons(true);
  shell_.calls.clear();
  ASSERT_TRUE(PumpUntil([&] { return reported.size() >= 4; }, 3000));
  tray->SetCycleIcons(false);
  std::vector<COLORREF> shown = shell_.ModifiedColours();
  shown.resize(4);
  EXPECT_EQ(shown, (std::vector<COLORREF>{kRed, kGreen, kBlue, kRed}));
  reported.resize(4);
  EXPECT_EQ(reported, (std::vector<int>{1, 2, 0, 1}));
  size_t calls = shell_.calls.size();
  PumpFor(100);
  EXPECT_EQ(shell_.calls.size(), calls);  // stopped
}

TEST_F(TrayNotifyIconTest, SingleClickWaitsForTheDoubleClickTimeOnlyWhenDoubleClicksAreWanted) {
  TTrayNotifyIcon* tray = NewIcon();
  Counter clicks, doubles;
  std::vector<TMouseButton> downs;
  tray->OnClick = clicks.Handler();
  tray->OnMouseDown = TMouseEvent([&](TObject*, TMouseButton b, TShiftState s, int, int) {
    downs.push_back(b);
    EXPECT_TRUE(s & (b == TMouseButton::mbLeft ? ssLeft : ssMiddle));
  });
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  EXPECT_EQ(clicks.n, 1);  // no double-click handler: at once

  tray->OnDblClick = doubles.Handler();
  DWORD start = GetTickCount();
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  EXPECT_EQ(clicks.n, 1);
  ASSERT_TRUE(PumpUntil([&] { return clicks.n == 2; }, 3000));
  EXPECT_GE(GetTickCount() - start + 20, GetDoubleClickTime());

  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  Send(tray, WM_LBUTTONDBLCLK);
  Send(tray, WM_LBUTTONUP);
  EXPECT_EQ(doubles.n, 1);
  PumpFor((int)GetDoubleClickTime() + 150);
  EXPECT_EQ(clicks.n, 2);  // the double click swallowed its first click

  Send(tray, WM_MBUTTONDOWN);
  EXPECT_EQ(downs.size(), 4u);
  EXPECT_EQ(downs.back(), TMouseButton::mbMiddle);
  tray->SetEnabled(false);
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  PumpFor((int)GetDoubleClickTime() + 150);
  EXPECT_EQ(downs.size(), 4u);
  EXPECT_EQ(clicks.n, 2);
}

TEST_F(TrayNotifyIconTest, NotificationsForAnIconThatIsGoneAreDropped) {
  TTrayNotifyIcon* keep = NewIcon();
  TTrayNotifyIcon* gone = NewIcon();
  Counter clicks, balloons;
  keep->OnClick = clicks.Handler();
  keep->OnBalloonHintClick = balloons.Handler();
  uint32_t goneId = gone->Id();
  TComponent::Free(gone);
  HWND w = TTrayNotifyIcon::HandlerWindow();
  SendMessageA(w, TTrayNotifyIcon::kCallbackMessage, goneId, WM_LBUTTONDOWN);
  SendMessageA(w, TTrayNotifyIcon::kCallbackMessage, goneId, WM_LBUTTONUP);
  SendMessageA(w, TTrayNotifyIcon::kCallbackMessage, 0xFFFFFF, WM_LBUTTONUP);
  EXPECT_EQ(clicks.n, 0);
  SendMessageA(w, TTrayNotifyIcon::kCallbackMessage, keep->Id(), NIN_BALLOONUSERCLICK);
  EXPECT_EQ(balloons.n, 1);
  // The handler window cannot be closed from outside.
  EXPECT_EQ(SendMessageA(w, WM_CLOSE, 0, 0), 1);
  EXPECT_TRUE(IsWindow(w));
}

// Mend: after a handler that frees the icon, the icon went on with its own members (the
// button-up event, the double click's default menu item, the click timer).
TEST_F(TrayNotifyIconTest, MendAHandlerMayFreeTheIcon) {
  auto* menu = New<TPopupMenu>(owner_.get());
  auto* item = New<TMenuItem>(owner_.get());
  menu->Items()->Add(item);
  item->SetDefault(true);
  Counter defaults;
  item->OnClick = defaults.Handler();

  int ups = 0;
  auto freeing = [&](TTrayNotifyIcon*& tray) {
    return TNotifyEvent([&tray](TObject*) {
      TComponent::Free(tray);
      tray = nullptr;
    });
  };
  TTrayNotifyIcon* tray = NewIcon();
  tray->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
  tray->OnClick = freeing(tray);  // no double-click handler: the click comes with the button up
  Send(tray, WM_LBUTTONDOWN);
  uint32_t id = tray->Id();
  SendMessageA(TTrayNotifyIcon::HandlerWindow(), TTrayNotifyIcon::kCallbackMessage, id, WM_LBUTTONUP);
  EXPECT_EQ(tray, nullptr);
  EXPECT_EQ(ups, 0);

  tray = NewIcon();
  tray->SetPopupMenu(menu);
  tray->OnDblClick = freeing(tray);
  Send(tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(tray, nullptr);
  EXPECT_EQ(defaults.n, 0);

  tray = NewIcon();
  tray->OnDblClick = [](TObject*) {};
  tray->OnClick = freeing(tray);  // from the click timer, which goes with the icon
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  ASSERT_TRUE(PumpUntil([&] { return tray == nullptr; }, 3000));
  PumpFor(100);
}

TEST_F(TrayNotifyIconTest, EnterAndExitFollowTheCursor) {
  TTrayNotifyIcon* tray = NewIcon();
  Counter enters, exits;
  tray->OnMouseEnter = enters.Handler();
  tray->OnMouseExit = exits.Handler();
  tray->SetWantEnterExitEvents(true);
  ASSERT_TRUE(MoveCursorTo(POINT{200, 200}));
  Send(tray, WM_MOUSEMOVE);
  Send(tray, WM_MOUSEMOVE);
  EXPECT_EQ(enters.n, 1);
  PumpFor(60);
  EXPECT_EQ(exits.n, 0);  // still where it was
  ASSERT_TRUE(MoveCursorTo(POINT{400, 300}));
  // The exit timer's ticks come late on a loaded machine.
  ASSERT_TRUE(PumpUntil([&] { return exits.n == 1; }, 5000));
  Send(tray, WM_MOUSEMOVE);
  EXPECT_EQ(enters.n, 2);
}

TEST_F(TrayNotifyIconTest, RightButtonOpensTheMenuAndDoubleClickChoosesItsDefaultItem) {
  TTrayNotifyIcon* tray = NewIcon();
  auto* menu = New<TPopupMenu>(owner_.get());
  auto* restore = New<TMenuItem>(owner_.get());
  auto* quit = New<TMenuItem>(owner_.get());
  restore->SetCaption("还原");
  quit->SetCaption("退出");
  menu->Items()->Add(quit);
  menu->Items()->Add(restore);
  restore->SetDefault(true);
  Counter restored, quitted, popups;
  restore->OnClick = restored.Handler();
  quit->OnClick = quitted.Handler();
  menu->OnPopup = popups.Handler();
  tray->SetPopupMenu(menu);

  CloseMenuSoon(100);
  Send(tray, WM_RBUTTONDOWN);  // returns once the menu has closed
  EXPECT_EQ(popups.n, 1);
  EXPECT_EQ(menu->PopupComponent(), tray);

  Send(tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(restored.n, 1);
  EXPECT_EQ(quitted.n, 0);
  tray->SetLeftPopup(true);  // then the left button opens the menu instead
  Send(tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(restored.n, 1);
  tray->SetLeftPopup(false);

  // A menu without automatic pop-up stays shut; the button still reaches the icon.
  int downs = 0;
  tray->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  menu->SetAutoPopup(false);
  Send(tray, WM_RBUTTONDOWN);
  EXPECT_EQ(popups.n, 1);
  EXPECT_EQ(downs, 1);
  TComponent::Free(menu);
  EXPECT_EQ(tray->PopupMenu(), nullptr);
  Send(tray, WM_RBUTTONDOWN);  // no menu, nothing to open
  EXPECT_EQ(downs, 2);
}

TEST_F(TrayNotifyIconTest, MinimisingTheMainFormHidesItInTheTrayAndShowMainFormBringsItBack) {
  TOwned<TForm> form(New<TForm>(nullptr));
  form->SetCaption("main");
  Application->SetMainForm(form.get());
  auto* tray = New<TTrayNotifyIcon>(form.get());
  tray->SetMinimizeToTray(true);
  form->Show();
  ASSERT_TRUE(IsWindowVisible(form->Handle()));

  SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_EQ(shell_.Count(NIM_ADD), 1);

  tray->ShowMainForm();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(IsIconic(form->Handle()));
  EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);

  // With a handler the minimise command itself is taken over: the form never goes iconic.
  Counter minimised;
  tray->OnMinimizeToTray = minimised.Handler();
  EXPECT_EQ(SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
  EXPECT_EQ(minimised.n, 1);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(IsIconic(form->Handle()));
  tray->ShowMainForm();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));

  tray->SetMinimizeToTray(false);
  SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(form->Handle()));  // a plain minimise
  EXPECT_EQ(minimised.n, 1);
  Application->SetMainForm(nullptr);
}

TEST_F(TrayNotifyIconTest, TheIconComesBackWhenTheTaskBarIsRecreated) {
  TTrayNotifyIcon* tray = NewIcon();
  UINT recreated = TTrayNotifyIcon::TaskbarCreatedMessage();
  ASSERT_NE(recreated, 0u);
  SendMessageA(Application->Handle(), recreated, 0, 0);
  EXPECT_EQ(shell_.Count(NIM_ADD), 0);  // not shown: nothing to add
  tray->SetIconVisible(true);
  SendMessageA(Application->Handle(), recreated, 0, 0);
  EXPECT_EQ(shell_.Count(NIM_ADD), 2);
  TComponent::Free(tray);
  SendMessageA(Application->Handle(), recreated, 0, 0);  // its hook is gone with it
  EXPECT_EQ(shell_.Count(NIM_ADD), 2);
}
