// Login and the main window, end to end: the real Client.exe against the stand-in service
// server and web server on loopback, driven through its windows from outside.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "core/MD5.h"
#include "platform/rtl/Base64.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/SysUtils.h"
#include "tests/client/ClientProcess.h"
#include "tests/client/StandIns.h"

using namespace client_test;

namespace {

// One program folder pointed at the stand-ins at `address`.
struct LoginWorld : StandIns {
  AppFolder app{true, true};
  std::unique_ptr<Process> client;

  explicit LoginWorld(const std::string& address) { EXPECT_TRUE(StandIns::Start(app, address)) << address; }

  void Start() { client = std::make_unique<Process>(app.Exe()); }

  HWND LoginWindow() {
    HWND h = WaitForWindow(client->Id(), "TLoginFrm");
    WaitFor([&] { return h && IsWindowVisible(h); });
    return h;
  }

  HWND MainWindow() {
    HWND main = nullptr;
    WaitFor([&] { return (main = FindVisibleWindow(client->Id(), "TMainFrm")) != nullptr; }, 15000);
    return main;
  }

  // Runs every timer of the program once, as if its interval had passed.
  void FireTimers() {
    for (HWND h = nullptr; (h = FindWindowExA(HWND_MESSAGE, h, "KarvTimerWindow", nullptr));) {
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      if (pid == client->Id()) PostMessageA(h, WM_TIMER, 1, 0);
    }
  }
};

// Watches, while the program runs, which of its top-level windows exist and which show, so
// a test can say afterwards what was never made or shown.
class WindowWatch {
 public:
  explicit WindowWatch(DWORD pid) : pid_(pid), thread_([this] { Run(); }) {}
  ~WindowWatch() {
    stop_ = true;
    thread_.join();
  }
  bool EverShown(const std::string& cls) {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_.count(cls) > 0;
  }
  bool EverMade(const std::string& cls) {
    std::lock_guard<std::mutex> lock(mutex_);
    return made_.count(cls) > 0;
  }

 private:
  void Run() {
    while (!stop_) {
      for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, nullptr, nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid != pid_) continue;
        std::string cls = ClassOf(h);
        std::lock_guard<std::mutex> lock(mutex_);
        made_.insert(cls);
        if (IsWindowVisible(h)) shown_.insert(cls);
      }
      Sleep(2);
    }
  }
  DWORD pid_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::set<std::string> made_, shown_;
  std::thread thread_;
};

// The arguments of a command line as a program splits them.
std::vector<std::string> SplitArguments(const std::string& line) {
  std::wstring wide(line.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(936, 0, line.data(), (int)line.size(), wide.data(), (int)wide.size()));
  std::vector<std::string> out;
  if (wide.empty()) return out;
  // The first entry is taken as a program name: put one before the arguments.
  int n = 0;
  LPWSTR* argv = CommandLineToArgvW((L"Ostrel.exe " + wide).c_str(), &n);
  for (int i = 1; argv && i < n; ++i) {
    char text[1024] = {};
    WideCharToMultiByte(936, 0, argv[i], -1, text, sizeof text, nullptr, nullptr);
    out.push_back(text);
  }
  LocalFree(argv);
  return out;
}

HWND WaitForBox(DWORD pid, std::string& text) { return WaitForMessageBox(pid, text); }

void Dismiss(HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }

}  // namespace

TEST(Login, SuccessOpensTheMainWindowKeepsAliveAndClosingLogsOut) {
  LoginWorld w("127.0.0.11");
  w.Start();
  HWND login = w.LoginWindow();
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(TextOf(login), "Karvell登陆");
  testing_support::PumpFor(500);  // the skinned frame and the controls have painted
  SaveWindowShot(login, Screenshots() + "login.png");
  TypeLogin(login, "10001", "demo");
  HWND main = w.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(TextOf(main), "Karvell");
  ASSERT_EQ(w.server.CountOf(proto::Login), 1u);
  std::string body = w.server.RequestsOf(proto::Login)[0].Frame.Body;
  EXPECT_NE(body.find("10001"), std::string::npos);
  EXPECT_NE(body.find(MD5Print(MD5String("demo"))), std::string::npos);
  EXPECT_TRUE(w.server.IsOnline(10001));
  // The name is remembered in the ini file; the advertising page was asked for.
  WaitFor([&] { return w.web.RequestCount("/pc_ad.asp") > 0; });
  EXPECT_EQ(w.web.RequestCount("/pc_ad.asp"), 1);
  EXPECT_EQ(TIniFile(w.app.File("Client.ini")).ReadString("Logininfo", "username", ""), "10001");
  testing_support::PumpFor(500);
  SaveWindowShot(main, Screenshots() + "main.png");

  // The keep-alive goes out each time the network timer runs.
  for (int tick = 1; tick <= 2; ++tick) {
    w.FireTimers();
    EXPECT_TRUE(WaitFor([&] { return w.server.CountOf(proto::KeepAlive) >= (size_t)tick; })) << tick;
  }
  EXPECT_EQ(w.server.RequestsOf(proto::KeepAlive)[0].Frame.Body, "");

  // The window can never be maximised.
  RECT before, after;
  GetWindowRect(main, &before);
  SendMessageA(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  GetWindowRect(main, &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(w.client->Ended(20000));
  EXPECT_EQ(w.web.RequestCount("/loginout1.asp"), 1);
  EXPECT_TRUE(sys::FileExists(w.app.File("HistoryLog\\" + dt::DateToStr(dt::Now()) + ".txt")));
}

TEST(Login, RefusedLoginsSayWhyAndLeaveTheWindowUsable) {
  LoginWorld w("127.0.0.12");
  w.Start();
  HWND login = w.LoginWindow();
  ASSERT_NE(login, nullptr);

  // An empty account is refused before anything is sent.
  TypeLogin(login, "", "x");
  std::string text;
  HWND box = WaitForBox(w.client->Id(), text);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(text.find("Karv号码不能为空"), std::string::npos) << text;
  Dismiss(box);
  WaitFor([&] { return !IsWindow(box); });
  EXPECT_EQ(w.server.CountOf(proto::Login), 0u);

  struct Case {
    std::string account, password;
    int forcedResult;  // -1: the server's own answer
    const char* expect;
  } cases[] = {
      {"99999", "demo", -1, "用户名错误"},
      {"10001", "wrong", -1, "密码错误"},
      {"10001", "demo", 7, "其它错误"},
  };
  size_t sent = 0;
  for (const auto& c : cases) {
    if (c.forcedResult >= 0) {
      TLoginReply r;
      r.Result = (uint8_t)c.forcedResult;
      w.server.QueueReply(proto::Login, stub::Frame(proto::Login, stub::LoginReplyBody(r)));
    }
    TypeLogin(login, c.account, c.password);
    box = WaitForBox(w.client->Id(), text);
    ASSERT_NE(box, nullptr) << c.expect;
    EXPECT_NE(text.find("Tovrin客服"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("登陆失败!")), std::string::npos) << text;
    EXPECT_NE(text.find(c.expect), std::string::npos) << text;
    Dismiss(box);
    WaitFor([&] { return !IsWindow(box); });
    EXPECT_EQ(w.server.CountOf(proto::Login), ++sent);
    HWND button = FindChildByText(login, "Button", "登陆");
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(button) != FALSE; })) << c.expect;
  }
  // One connection served every attempt.
  EXPECT_EQ(w.server.Connections(), 1);

  // The server goes away while a reply is awaited: the button comes back and the next
  // attempt connects again.
  w.server.QueueReply(proto::Login, "");
  TypeLogin(login, "10001", "demo");
  HWND button = FindChildByText(login, "Button", "登陆");
  WaitFor([&] { return w.server.CountOf(proto::Login) == sent + 1; });
  w.server.Disconnect(1);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(button) != FALSE; }));
  TypeLogin(login, "10001", "wrong");
  box = WaitForBox(w.client->Id(), text);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(text.find("密码错误"), std::string::npos) << text;
  Dismiss(box);
  EXPECT_EQ(w.server.Connections(), 2);
  EXPECT_EQ(FindVisibleWindow(w.client->Id(), "TMainFrm"), nullptr);
  std::string log = sys::ReadFileBytes(w.app.File("Client.log"));
  EXPECT_NE(log.find("登陆失败,密码错误"), std::string::npos);
}

TEST(Login, ARememberedPasswordComesBackAtTheNextStart) {
  LoginWorld w("127.0.0.13");
  w.Start();
  HWND login = w.LoginWindow();
  ASSERT_NE(login, nullptr);
  TypeLogin(login, "10002", "demo", true);
  HWND main = w.MainWindow();
  ASSERT_NE(main, nullptr);
  TIniFile ini(w.app.File("Client.ini"));
  EXPECT_EQ(ini.ReadString("Logininfo", "isSave", ""), "1");
  EXPECT_EQ(ini.ReadString("Logininfo", "pass", ""), base64::Encode("demo"));
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(w.client->Ended(20000));

  w.Start();
  login = w.LoginWindow();
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(TextOf(LoginAccountEdit(login)), "10002");
  EXPECT_EQ(TextOf(LoginPasswordEdit(login)), "demo");
  EXPECT_EQ(SendMessageA(FindChildByText(login, "Button", "记住密码"), BM_GETCHECK, 0, 0), BST_CHECKED);
  // Letters typed into the account box are dropped.
  HWND edit = LoginAccountEdit(login);
  SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)"");
  for (char ch : std::string("1a2b"))
    SendMessageA(edit, WM_CHAR, (unsigned char)ch, 0);
  EXPECT_EQ(TextOf(edit), "12");
}

// Whichever way the first login window ends the program, start-up stops there: no further
// window is made, the main window never shows, no page is fetched, and the process is gone
// within a second.
TEST(Login, EndingTheProgramFromTheFirstLoginEndsStartUp) {
  enum Way { Quit, UpdateChosen, UpdateRefused };
  for (Way way : {Quit, UpdateChosen, UpdateRefused}) {
    SCOPED_TRACE(way);
    LoginWorld w(way == Quit ? "127.0.0.14" : way == UpdateChosen ? "127.0.0.15" : "127.0.0.17");
    // The server's version text is data: quotes and blanks in it make no further arguments.
    const std::string newest = "9.9 \" /x \\\"y";
    if (way != Quit) {
      TLoginReply r;
      r.UpdateFlag = 1;
      r.NewestVersion = newest;
      w.server.QueueReply(proto::Login, stub::Frame(proto::Login, stub::LoginReplyBody(r)));
    }
    w.Start();
    WindowWatch watch(w.client->Id());
    HWND login = w.LoginWindow();
    ASSERT_NE(login, nullptr);
    HWND button = FindChildByText(login, "Button", "退出");
    if (way != Quit) {
      TypeLogin(login, "10001", "demo");
      HWND prompt = nullptr;
      WaitFor([&] { return (prompt = FindVisibleWindow(w.client->Id(), "TUpdateFrm")) != nullptr; }, 15000);
      ASSERT_NE(prompt, nullptr);
      EXPECT_EQ(TextOf(prompt), "Karvell系统升级提示");
      button = FindChildByText(prompt, "Button", way == UpdateChosen ? "升级" : "退出");
    }
    DWORD clicked = GetTickCount();
    PostClick(button);
    ASSERT_TRUE(w.client->Ended(20000));
    EXPECT_LE(GetTickCount() - clicked, 1000u);
    for (const char* later : {"TTradeRequestFrm", "TSoftWareFrm", "TZiXunFrm", "TfrmServerHost", "TWaitFrm",
                              "TDomainHintFrm", "TSaveNetFrm", "TDataBackFrm", "TTradeFrm"})
      EXPECT_FALSE(watch.EverMade(later)) << later;
    EXPECT_TRUE(watch.EverShown("TLoginFrm"));
    EXPECT_FALSE(watch.EverShown("TMainFrm"));
    for (const char* page : {"/pc_ad.asp", "/UserService.html", "/loginout1.asp"})
      EXPECT_EQ(w.web.RequestCount(page), 0) << page;
    std::string log = w.app.File("Ostrel.log");
    if (way == UpdateChosen) {
      ASSERT_TRUE(WaitFor([&] { return sys::FileExists(log); }, 15000));
      std::string line = sys::ReadFileBytes(log);
      line = line.substr(0, line.find("\r\n"));
      EXPECT_EQ(SplitArguments(line), std::vector<std::string>{newest + "$$升级服务器1$$升级服务器2"}) << line;
    } else {
      testing_support::PumpFor(way == Quit ? 0 : 1000);
      EXPECT_FALSE(sys::FileExists(log));
    }
  }
}

TEST(Login, TheHotKeyAndTheTrayIconBringTheWindowBack) {
  LoginWorld w("127.0.0.16");
  w.Start();
  HWND login = w.LoginWindow();
  ASSERT_NE(login, nullptr);
  TypeLogin(login, "10001", "demo");
  HWND main = w.MainWindow();
  ASSERT_NE(main, nullptr);
  HWND tray = WaitForMessageWindow(w.client->Id(), "KarvTrayNotifyWindow");
  ASSERT_NE(tray, nullptr);
  for (int way = 0; way < 2; ++way) {
    // Minimising hides the window in the tray.
    SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main) || IsIconic(main); })) << way;
    if (way == 0) {
      PostMessageA(main, WM_HOTKEY, 0, 0);
    } else {
      // The icon's callback: its id (the program's first and only icon) and the mouse message.
      PostMessageA(tray, 2048, 1, WM_LBUTTONDOWN);
      PostMessageA(tray, 2048, 1, WM_LBUTTONUP);
    }
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) && !IsIconic(main); }, 5000)) << way;
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(w.client->Ended(20000));
}

// A connection opened by "注册" sends no login; once it is lost, "登陆" logs in as usual.
TEST(Login, ALoginAfterALostRegistrationConnectionLogsIn) {
  LoginWorld w("127.0.0.14");
  w.Start();
  HWND login = w.LoginWindow();
  ASSERT_NE(login, nullptr);
  PostClick(FindChildByText(login, "Button", "注册"));
  ASSERT_TRUE(WaitFor([&] { return w.server.Connections() == 1; }));
  // A registration window, where the build has one, is not what this is about.
  WaitFor([&] { return FindVisibleWindow(w.client->Id(), "TRegisterFrm") != nullptr; }, 1000);
  if (HWND reg = FindVisibleWindow(w.client->Id(), "TRegisterFrm")) PostMessageA(reg, WM_CLOSE, 0, 0);
  testing_support::PumpFor(300);
  EXPECT_EQ(w.server.CountOf(proto::Login), 0u);
  w.server.Disconnect(1);
  ASSERT_TRUE(WaitFor([&] { return ChildTexts(login).find("无法连接服务器") != std::string::npos; }));
  TypeLogin(login, "10001", "demo");
  EXPECT_NE(w.MainWindow(), nullptr);
  EXPECT_EQ(w.server.CountOf(proto::Login), 1u);
  PostMessageA(w.MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(w.client->Ended(20000));
}

// At exit the program waits for the log-out page, but not for ever.
TEST(Login, ClosingWaitsForTheLogOutPageForAWhile) {
  struct Case {
    int delayMs;
    DWORD atLeastMs, atMostMs;
  } cases[] = {{1500, 1400, 10000}, {60000, 4000, 15000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delayMs);
    LoginWorld w("127.0.0.15");
    w.web.SetDelay("/loginout1.asp", c.delayMs);
    w.Start();
    HWND login = w.LoginWindow();
    ASSERT_NE(login, nullptr);
    TypeLogin(login, "10001", "demo");
    HWND main = w.MainWindow();
    ASSERT_NE(main, nullptr);
    DWORD start = GetTickCount();
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(w.client->Ended(30000));
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, c.atLeastMs);
    EXPECT_LE(took, c.atMostMs);
    EXPECT_EQ(w.web.RequestCount("/loginout1.asp"), 1);
    w.web.Stop();
  }
}
