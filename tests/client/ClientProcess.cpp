#include "tests/client/ClientProcess.h"

#include <gtest/gtest.h>

#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/SysUtils.h"
#include "tests/client/LocalDbQuery.h"
#include "tests/support/ScreenShot.h"
#include "tests/support/TestSupport.h"

namespace client_test {

std::string BinFolder() { return sys::ExtractFilePath(sys::ParamStr(0)); }

static void CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) CopyTree(from + "\\" + name, to + "\\" + name);
    else CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

std::string Screenshots() {
  std::string dir = BinFolder() + "..\\screenshots\\";
  sys::ForceDirectories(dir);
  return dir;
}

AppFolder::AppFolder(bool withPictures, bool withUpdater) {
  EXPECT_TRUE(CopyFileA((BinFolder() + "Client.exe").c_str(), Exe().c_str(), FALSE));
  if (withPictures) {
    EXPECT_TRUE(CopyFileA((BinFolder() + "Vandrel.dll").c_str(), File("Vandrel.dll").c_str(), FALSE));
    CopyTree(BinFolder() + "icon", File("icon"));
  }
  if (withUpdater) {
    EXPECT_TRUE(CopyFileA((BinFolder() + "Ostrel.exe").c_str(), File("Ostrel.exe").c_str(), FALSE));
  }
}

Process::Process(const std::string& exe) {
  STARTUPINFOA si{sizeof si};
  std::string cmd = "\"" + exe + "\"";
  EXPECT_TRUE(CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             sys::ExtractFilePath(exe).c_str(), &si, &pi));
}

Process::~Process() {
  if (!pi.hProcess) return;
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

bool Process::Ended(DWORD ms) {
  return WaitFor([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, (int)ms);
}

DWORD Process::ExitCode() {
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  return code;
}

namespace {
// The window of class `cls` and process `pid` among the children of `parent` (nullptr: the
// top-level windows, HWND_MESSAGE: the message-only ones). By class first: walking every
// top-level window asks the shared server about each, and a caller polling every millisecond
// would slow the program it watches.
HWND FindProcessWindow(HWND parent, DWORD pid, const std::string& cls, bool visibleOnly) {
  for (HWND h = nullptr; (h = FindWindowExA(parent, h, cls.c_str(), nullptr)) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid && (!visibleOnly || IsWindowVisible(h))) return h;
  }
  return nullptr;
}

HWND WaitForProcessWindow(HWND parent, DWORD pid, const std::string& cls, int ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindProcessWindow(parent, pid, cls, false)) != nullptr; }, ms);
  return found;
}
}  // namespace

HWND FindVisibleWindow(DWORD pid, const std::string& cls) { return FindProcessWindow(nullptr, pid, cls, true); }

HWND WaitForWindow(DWORD pid, const std::string& cls, int ms) { return WaitForProcessWindow(nullptr, pid, cls, ms); }

HWND WaitForMessageWindow(DWORD pid, const std::string& cls, int ms) {
  return WaitForProcessWindow(HWND_MESSAGE, pid, cls, ms);
}

HWND FindChild(HWND parent, const std::function<bool(HWND)>& match) {
  for (HWND h : testing_support::ChildWindows(parent))
    if (match(h)) return h;
  return nullptr;
}

HWND FindChildByText(HWND parent, const std::string& cls, const std::string& text) {
  return FindChild(parent, [&](HWND h) { return sys::SameText(ClassOf(h), cls) && TextOf(h) == text; });
}

std::string ClassOf(HWND h) {
  char cls[128] = {};
  GetClassNameA(h, cls, sizeof cls);
  return cls;
}

std::string TextOf(HWND h) {
  char text[1024] = {};
  // A loaded machine can keep the other program busy for a while; it is not hung.
  SendMessageTimeoutA(h, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_NORMAL, 10000, nullptr);
  return text;
}

std::string ChildTexts(HWND h) {
  std::string all;
  FindChild(h, [&](HWND c) {
    all += TextOf(c) + "|";
    return false;
  });
  return all;
}

bool WaitFor(const std::function<bool()>& done, int ms) { return testing_support::PumpUntil(done, ms); }

}  // namespace client_test

namespace client_test {

void PointAtStandIns(const AppFolder& app, const std::string& address, int webPort) {
  sys::ForceDirectories(app.File("DataConfig"));
  std::string path = app.File("DataConfig\\LocalDb.mdb");
  CreateLocalDatabase(true, path, kDatabasePassword);
  {
    LocalDbQuery db(path, "update HostList set HostName=:Host where HostDescription=:Line");
    db.query.SetParam("Host", address);
    db.query.SetParam("Line", "网通线路");
    db.query.ExecSQL();
  }
  TIniFile ini(app.File("Client.ini"));
  ini.WriteString("Logininfo", "isSave", "0");
  ini.WriteString("Logininfo", "host", "127.0.0.1:" + std::to_string(webPort));
  ini.WriteString("Logininfo", "port", "8014");
}

HWND LoginAccountEdit(HWND login) {
  HWND combo = FindChild(login, [](HWND h) {
    return ClassOf(h) == "ComboBox" && (GetWindowLongA(h, GWL_STYLE) & 3) == CBS_DROPDOWN;
  });
  return combo ? FindChild(combo, [](HWND h) { return sys::SameText(ClassOf(h), "Edit"); }) : nullptr;
}

HWND LoginPasswordEdit(HWND login) {
  return FindChild(login, [](HWND h) {
    return sys::SameText(ClassOf(h), "Edit") && (GetWindowLongA(h, GWL_STYLE) & ES_PASSWORD);
  });
}

void TypeLogin(HWND login, const std::string& account, const std::string& password, bool remember) {
  SendMessageA(LoginAccountEdit(login), WM_SETTEXT, 0, (LPARAM)account.c_str());
  SendMessageA(LoginPasswordEdit(login), WM_SETTEXT, 0, (LPARAM)password.c_str());
  SendMessageA(FindChildByText(login, "Button", "记住密码"), BM_SETCHECK, remember ? BST_CHECKED : BST_UNCHECKED, 0);
  PostClick(FindChildByText(login, "Button", "登陆"));
}

void PostClick(HWND button) {
  PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), (LPARAM)button);
}

HWND WaitForMessageBox(DWORD pid, std::string& text, int ms) {
  // A visible box that has filled in its caption and text (it does so after it appears;
  // the process may also own hidden dialog-class windows of its own).
  HWND box = nullptr;
  auto ready = [&](HWND h) {
    return IsWindowVisible(h) && !TextOf(h).empty() &&
           FindChild(h, [](HWND c) { return sys::SameText(ClassOf(c), "Static") && !TextOf(c).empty(); }) != nullptr;
  };
  WaitFor([&] {
    box = FindVisibleWindow(pid, "#32770");
    return box && ready(box);
  }, ms);
  if (!box || !ready(box)) return nullptr;
  text = TextOf(box) + "|" + ChildTexts(box);
  return box;
}

bool SaveWindowShot(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) return false;
  return testing_support::SaveScreenRect(r, path);
}

}  // namespace client_test
