// Client.exe itself, started in an empty folder: what a first start leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/rtl/IniFile.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "tests/client/ClientProcess.h"
#include "tests/support/TestSupport.h"

using testing_support::TempDir;

using namespace client_test;

namespace {
std::string CopyClient(const TempDir& dir, bool withPictures) {
  std::string exe = dir.File("Client.exe");
  EXPECT_TRUE(CopyFileA((BinFolder() + "Client.exe").c_str(), exe.c_str(), FALSE));
  if (withPictures) {
    EXPECT_TRUE(CopyFileA((BinFolder() + "Vandrel.dll").c_str(), dir.File("Vandrel.dll").c_str(), FALSE));
  }
  return exe;
}
}  // namespace

TEST(ClientStartup, FirstStartWritesDefaultsRemovesStaleUpdateAndRuns) {
  TempDir dir;
  std::string exe = CopyClient(dir, true);
  CreateDirectoryA(dir.File("Update").c_str(), nullptr);
  sys::WriteFileBytes(dir.File("Update\\Client.exe"), "stale");
  Process p(exe);
  HWND app = WaitForWindow(p.Id(), "TApplication");
  ASSERT_NE(app, nullptr);
  // The window is made before its style is changed: give it a moment.
  EXPECT_TRUE(WaitFor([&] { return (GetWindowLongPtrA(app, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0; }));
  // The window appears before the start routine runs: give it a moment.
  for (int i = 0; i < 100 && sys::FileExists(dir.File("Update\\Client.exe")); ++i) Sleep(50);
  EXPECT_FALSE(sys::FileExists(dir.File("Update\\Client.exe")));

  TIniFile ini(dir.File("Client.ini"));
  struct { const char* section; const char* key; std::string value; } defaults[] = {
      {"LoginInfo", "loginname", ""},   {"Logininfo", "jsscript", ""}, {"Logininfo", "isSave", "0"},
      {"Logininfo", "pass", ""},        {"LoginInfo", "username", ""}, {"Logininfo", "port", "8014"}};
  for (const auto& d : defaults) {
    EXPECT_TRUE(ini.ValueExists(d.section, d.key)) << d.key;
    EXPECT_EQ(ini.ReadString(d.section, d.key, "?"), d.value) << d.key;
  }
  std::string host = ini.ReadString("LoginInfo", "host", "");
  EXPECT_FALSE(host.empty());
  EXPECT_EQ(ini.ReadString("LoginInfo", "url", ""), "http://" + host + "/chaxun.asp?domain=");
  EXPECT_EQ(ini.ReadString("LoginInfo", "DomainUrl", ""), "http://" + host + "/whois.asp?domain=");
  // Exactly the nine keys, in the order they were written.
  std::string text = sys::ReadFileBytes(dir.File("Client.ini"));
  std::vector<std::string> order = {"loginname", "jsscript", "isSave", "pass", "host", "username", "port", "url", "DomainUrl"};
  size_t at = 0;
  for (const auto& k : order) {
    size_t p2 = text.find("\n" + k + "=", at);
    ASSERT_NE(p2, std::string::npos) << k;
    at = p2;
  }
  TStringList lines;
  lines.SetText(text);
  int keys = 0;
  for (const auto& line : lines) keys += line.text.find('=') != std::string::npos;
  EXPECT_EQ(keys, 9);

  PostMessageA(app, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.Ended(10000));
}

TEST(ClientStartup, AnExistingIniIsNeverCompleted) {
  TempDir dir;
  std::string exe = CopyClient(dir, true);
  sys::WriteFileBytes(dir.File("Client.ini"), "[LOGININFO]\r\nhost=127.0.0.9\r\n");
  Process p(exe);
  HWND app = WaitForWindow(p.Id(), "TApplication");
  ASSERT_NE(app, nullptr);
  PostMessageA(app, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.Ended(10000));
  EXPECT_EQ(sys::ReadFileBytes(dir.File("Client.ini")), "[LOGININFO]\r\nhost=127.0.0.9\r\n");
}

TEST(ClientStartup, WithoutThePictureLibraryItSaysSoAndEnds) {
  TempDir dir;
  std::string exe = CopyClient(dir, false);
  Process p(exe);
  std::string text;
  HWND box = WaitForMessageBox(p.Id(), text);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(box), "系统提示");
  EXPECT_NE(text.find("加载Vandrel.dll文件出错,请重新下载文件"), std::string::npos) << text;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(p.Ended(10000));
  EXPECT_EQ(p.ExitCode(), 0u);
}
