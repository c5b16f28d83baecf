// "系统还原" end to end: Client backs up its personal database from its settings window,
// changes it, then ends and starts Dunmere, which puts the backup back; the next Client
// start has the backed-up data again and logs in.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "platform/rtl/SysUtils.h"
#include "tests/client/ClientProcess.h"
#include "tests/client/StandIns.h"

using namespace client_test;

namespace {

// The settings window's tree entries, in their order.
enum Entry { kOptions, kNet, kDomain, kBackup, kRestore, kShortcut };

HWND VisibleWindowOf(DWORD pid, const std::string& cls, int ms = 15000) {
  HWND h = nullptr;
  WaitFor([&] { return (h = FindVisibleWindow(pid, cls)) != nullptr; }, ms);
  return h;
}

// A press and release on a top-level entry of a tree of another process, as the mouse gives
// them (the tree shows no buttons or lines, so each entry is one row from the top).
void ClickEntry(HWND settings, Entry entry) {
  HWND tree = FindChild(settings, [](HWND h) { return ClassOf(h) == "SysTreeView32"; });
  ASSERT_NE(tree, nullptr);
  int row = (int)SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0);
  LPARAM at = MAKELPARAM(20, row * entry + row / 2);
  PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(tree, WM_LBUTTONUP, 0, at);
}

HWND PhraseList(HWND settings) {
  return FindChild(settings, [](HWND h) { return ClassOf(h) == "ListBox"; });
}

int PhraseCount(HWND settings) { return (int)SendMessageA(PhraseList(settings), LB_GETCOUNT, 0, 0); }

// Adds a quick phrase on the settings window's first page.
void AddPhrase(HWND settings, const std::string& phrase) {
  HWND edit = FindChild(settings, [](HWND h) {
    return sys::SameText(ClassOf(h), "Edit") && IsWindowVisible(h) && !(GetWindowLongA(h, GWL_STYLE) & ES_READONLY);
  });
  ASSERT_NE(edit, nullptr);
  int before = PhraseCount(settings);
  SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)phrase.c_str());
  PostClick(FindChildByText(settings, "Button", "添加"));
  EXPECT_TRUE(WaitFor([&] { return PhraseCount(settings) == before + 1; })) << phrase;
}

bool ListHolds(HWND list, const std::string& text) {
  return SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text.c_str()) != LB_ERR;
}

// The settings window that the login window's "系统设置" opens; `login` gets the login window.
HWND OpenSettings(const Process& client, HWND& login) {
  login = VisibleWindowOf(client.Id(), "TLoginFrm");
  if (!login) return nullptr;
  PostClick(FindChildByText(login, "Button", "系统设置"));
  return VisibleWindowOf(client.Id(), "TfrmServerHost");
}

struct DunmereWindow {
  DWORD pid = 0;
  HWND window = nullptr;
};

BOOL CALLBACK FindDunmere(HWND h, LPARAM lp) {
  auto* found = reinterpret_cast<DunmereWindow*>(lp);
  if (!IsWindowVisible(h) || ClassOf(h) != "TDataBackFrm" || TextOf(h) != "还原个人配置信息") return TRUE;
  found->window = h;
  GetWindowThreadProcessId(h, &found->pid);
  return FALSE;
}

}  // namespace

TEST(ClientRestore, SystemRestoreEndsClientAndDunmereBringsBackTheBackedUpData) {
  AppFolder app{true};
  ASSERT_TRUE(CopyFileA((BinFolder() + "Dunmere.exe").c_str(), app.File("Dunmere.exe").c_str(), FALSE));
  StandIns standIns;
  ASSERT_TRUE(standIns.Start(app, "127.0.0.31"));

  // First run: a phrase, the backup, a second phrase, then "系统还原".
  {
    Process client(app.Exe());
    HWND login = nullptr;
    HWND settings = OpenSettings(client, login);
    ASSERT_NE(settings, nullptr);
    AddPhrase(settings, "备份前保存的短语");

    ClickEntry(settings, kBackup);
    HWND backup = VisibleWindowOf(client.Id(), "TDataBackFrm");
    ASSERT_NE(backup, nullptr);
    PostClick(FindChildByText(backup, "Button", "确定"));
    ASSERT_TRUE(WaitFor([&] { return sys::FileExists(app.File("Bak\\LocalConfig.mdb")); }));
    HWND bar = FindChild(backup, [](HWND h) { return ClassOf(h) == "msctls_progress32"; });
    // The bar goes back to 0 when the backup is complete.
    testing_support::PumpFor(500);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) == 0; }));
    PostClick(FindChildByText(backup, "Button", "取消"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(backup); }));

    AddPhrase(settings, "备份后才加的短语");
    ClickEntry(settings, kRestore);
    ASSERT_TRUE(client.Ended(20000)) << "Client ends for the restore";
  }

  DunmereWindow tool;
  WaitFor([&] {
    EnumWindows(FindDunmere, reinterpret_cast<LPARAM>(&tool));
    return tool.window != nullptr;
  }, 20000);
  ASSERT_NE(tool.window, nullptr) << "Client started Dunmere";
  HANDLE toolProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, tool.pid);
  ASSERT_NE(toolProcess, nullptr);
  PostClick(FindChildByText(tool.window, "Button", "确定"));
  std::string question;
  HWND box = WaitForMessageBox(tool.pid, question);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(question.find("确认要执行还原操作吗?"), std::string::npos) << question;
  PostMessageA(box, WM_COMMAND, IDYES, 0);
  bool ended = WaitFor([&] { return WaitForSingleObject(toolProcess, 0) == WAIT_OBJECT_0; }, 20000);
  if (!ended) TerminateProcess(toolProcess, 1);
  CloseHandle(toolProcess);
  ASSERT_TRUE(ended) << "Dunmere ends after the restore";

  // Next run: the phrase from before the backup is there, the later one is gone, and the
  // user logs in.
  Process client(app.Exe());
  HWND login = nullptr;
  HWND settings = OpenSettings(client, login);
  ASSERT_NE(settings, nullptr);
  EXPECT_TRUE(ListHolds(PhraseList(settings), "备份前保存的短语"));
  EXPECT_FALSE(ListHolds(PhraseList(settings), "备份后才加的短语"));
  PostClick(FindChildByText(settings, "Button", "取消"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); }));
  TypeLogin(login, "10001", "demo");
  HWND main = VisibleWindowOf(client.Id(), "TMainFrm");
  ASSERT_NE(main, nullptr) << "logged in with the restored data";
  EXPECT_TRUE(standIns.server.IsOnline(10001));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(client.Ended(20000));
}
