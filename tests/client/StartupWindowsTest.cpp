// The windows of the start-up order, end to end on the real Client.exe: the login window's
// "注册" and "系统设置" open the registration and settings windows, and once the login has
// returned the services and news panes ask for their pages.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/rtl/SysUtils.h"
#include "tests/client/ClientProcess.h"
#include "tools/serviceserver/ServiceServer.h"
#include "tools/webstub/WebStub.h"

using namespace client_test;

TEST(StartupWindows, PanesLoadTheirPagesAndTheLoginButtonsOpenTheirWindows) {
  AppFolder app;
  stub::TServiceServer server;
  ASSERT_EQ(server.Start("127.0.0.12", 8014), 8014);
  TWebStub web{"127.0.0.1", 0};
  web.Start();
  PointAtStandIns(app, "127.0.0.12", web.Port());
  Process client(app.Exe());
  HWND login = WaitForWindow(client.Id(), "TLoginFrm");
  ASSERT_NE(login, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(login); }));

  // "注册" connects without logging in and opens the registration window.
  PostClick(FindChildByText(login, "Button", "注册"));
  HWND registration = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (registration = FindVisibleWindow(client.Id(), "TRegisterFrm")) != nullptr; }));
  EXPECT_EQ(TextOf(registration), "注册窗口");
  EXPECT_TRUE(WaitFor([&] { return server.Connections() == 1; }));
  testing_support::PumpFor(300);
  EXPECT_EQ(server.CountOf(27), 0u);
  PostClick(FindChildByText(registration, "Button", "退出"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(registration); }));

  // "系统设置" opens the settings window.
  PostClick(FindChildByText(login, "Button", "系统设置"));
  HWND settings = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (settings = FindVisibleWindow(client.Id(), "TfrmServerHost")) != nullptr; }));
  EXPECT_EQ(TextOf(settings), "系统设置");
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
}
