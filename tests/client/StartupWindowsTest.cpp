// The windows of the start-up order, end to end on the real Client.exe: the login window's
// "注册" and "系统设置" open the registration and settings windows, and once the login has
// returned the services and news panes ask for their pages.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "tests/client/ClientProcess.h"
#include "tests/client/StandIns.h"
#include "tests/support/TestSupport.h"

using namespace client_test;

namespace {

// A visible child of `parent` of that class whose top edge lies `top` pixels below the
// parent's client area (the main window's left-hand buttons carry no text).
HWND ChildAt(HWND parent, const std::string& cls, int left, int top) {
  return FindChild(parent, [&](HWND h) {
    if (ClassOf(h) != cls || !IsWindowVisible(h)) return false;
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return (left < 0 || r.left == left) && r.top == top;
  });
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  int n = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (int i = 0; i < n; ++i) {
    // Another process's list answers in UTF-16 whatever we ask.
    wchar_t wide[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, (LPARAM)wide);
    char text[512] = {};
    WideCharToMultiByte(936, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

// Chooses an item as the user does: the list tells its parent that the choice changed.
void ChooseItem(HWND combo, int index) {
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  PostMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), (LPARAM)combo);
}

}  // namespace

TEST(StartupWindows, PanesLoadTheirPagesAndTheLoginButtonsOpenTheirWindows) {
  AppFolder app;
  StandIns standIns;
  ASSERT_TRUE(standIns.Start(app, "127.0.0.12"));
  stub::TServiceServer& server = standIns.server;
  TWebStub& web = standIns.web;
  Process client(app.Exe());
  HWND login = WaitForWindow(client.Id(), "TLoginFrm");
  ASSERT_NE(login, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(login); }));

  // "注册" connects without logging in and opens the registration window.
  PostClick(FindChildByText(login, "Button", "注册"));
  HWND registration = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (registration = FindVisibleWindow(client.Id(), "TRegisterFrm")) != nullptr; }));
  EXPECT_EQ(TextOf(registration), "注册窗口");
  testing_support::PumpFor(500);  // skinned and painted
  SaveWindowShot(registration, Screenshots() + "registration-skinned.png");
  EXPECT_TRUE(WaitFor([&] { return server.Connections() == 1; }));
  testing_support::PumpFor(300);
  EXPECT_EQ(server.CountOf(proto::Login), 0u);
  PostClick(FindChildByText(registration, "Button", "退出"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(registration); }));

  // "系统设置" opens the settings window.
  PostClick(FindChildByText(login, "Button", "系统设置"));
  HWND settings = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (settings = FindVisibleWindow(client.Id(), "TfrmServerHost")) != nullptr; }));
  EXPECT_EQ(TextOf(settings), "系统设置");
  testing_support::PumpFor(500);
  SaveWindowShot(settings, Screenshots() + "settings-skinned.png");
  PostClick(FindChildByText(settings, "Button", "取消"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(settings); }));

  // The windows after the main window are made once the login has returned.
  DWORD loggedIn = GetTickCount();
  TypeLogin(login, "10001", "demo");
  ASSERT_TRUE(WaitFor([&] { return FindVisibleWindow(client.Id(), "TMainFrm") != nullptr; }, 15000));
  // The services pane loads its page when it is made; the news pane once, five seconds
  // later, though nobody shows it.
  EXPECT_TRUE(WaitFor([&] { return web.RequestCount("/UserService.html") == 1; }));
  ASSERT_TRUE(WaitFor([&] { return web.RequestCount("/fabu.asp") == 1; }, 15000));
  EXPECT_GE(GetTickCount() - loggedIn, 4500u);

  testing_support::PumpFor(1000);
  EXPECT_EQ(web.RequestCount("/fabu.asp"), 1);

  // "贸易" opens the trade window with the region and industry tables the server sent.
  HWND main = FindVisibleWindow(client.Id(), "TMainFrm");
  HWND tradeButton = ChildAt(main, "Button", -1, 115);
  ASSERT_NE(tradeButton, nullptr);
  PostClick(tradeButton);
  HWND trade = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (trade = FindVisibleWindow(client.Id(), "TTradeFrm")) != nullptr; }));
  HWND province = ChildAt(trade, "ComboBox", 110, 156), city = ChildAt(trade, "ComboBox", 236, 156);
  HWND industry = ChildAt(trade, "ComboBox", 110, 188), sub = ChildAt(trade, "ComboBox", 266, 188);
  ASSERT_TRUE(province && city && industry && sub);
  EXPECT_EQ(ComboItems(province), (std::vector<std::string>{"北京", "广东"}));
  EXPECT_EQ(ComboItems(industry), (std::vector<std::string>{"机械", "电子"}));
  ChooseItem(province, 1);
  EXPECT_TRUE(WaitFor([&] { return ComboItems(city) == std::vector<std::string>{"广州市", "深圳市"}; }));
  ChooseItem(industry, 1);
  EXPECT_TRUE(WaitFor([&] { return ComboItems(sub) == std::vector<std::string>{"元器件"}; }));
  testing_support::PumpFor(800);  // every control painted
  SaveWindowShot(trade, Screenshots() + "trade-skinned.png");
  PostMessageA(trade, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(trade); }));
}
