#include <gtest/gtest.h>

#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "tests/client/ClientProcess.h"
#include "tests/support/TestSupport.h"

using testing_support::TempDir;

static std::vector<std::string> Items(const TStringList& l) {
  std::vector<std::string> v;
  for (const auto& it : l) v.push_back(it.text);
  return v;
}

TEST(TextHelpers, SplitString) {
  struct { std::string text, delim; std::vector<std::string> out; } cases[] = {
      {"", ",", {""}},
      {"a", ",", {"a"}},
      {"a,b", ",", {"a", "b"}},
      {"a,b,", ",", {"a", "b", ""}},
      {"a$$b$$c", "$$", {"a", "b", "c"}},
      {"好友,客户", ",", {"好友", "客户"}},
      {"abc", "", {"abc"}},  // an empty delimiter must not loop
  };
  TStringList l;
  for (const auto& c : cases) {
    EXPECT_TRUE(SplitString(c.text, c.delim, l));
    EXPECT_EQ(Items(l), c.out) << c.text;
  }
}

TEST(TextHelpers, SplitLines) {
  struct { std::string text, sep; std::vector<std::string> out; } cases[] = {
      {"a\r\nb", "\r\n", {"a", "b"}},
      {"a\r\nb", "\r", {"a", "\nb"}},
      {"a\r\n", "\r\n", {"a", ""}},
      {"", "\r\n", {""}},
      {"x\ry", "", {"x", "y"}},  // no separator length: the carriage return alone
  };
  TStringList l;
  for (const auto& c : cases) {
    EXPECT_TRUE(SplitLines(c.text, c.sep, l));
    EXPECT_EQ(Items(l), c.out);
  }
}

TEST(TextHelpers, SmallHelpers) {
  EXPECT_EQ(TextBeforeParen("张三(10001)"), "张三");
  EXPECT_EQ(TextBeforeParen("no paren"), "");
  EXPECT_TRUE(IsFlagChar(2, "010"));
  EXPECT_FALSE(IsFlagChar(1, "010"));
  EXPECT_FALSE(IsFlagChar(1, ""));
  EXPECT_FALSE(IsFlagChar(4, "010"));
  EXPECT_FALSE(IsFlagChar(0, "1"));
}

TEST(TextHelpers, DomainOfTheSite) {
  struct { const char* url; const char* domain; } cases[] = {
      {"http://www.example.com", "example.com"},
      {"http://example.com/shop", "example.com/shop"},
      {"https://www.example.com", "example.com"},
      {"http://shop.www-example.com", "shop.www-example.com"},
      {"http://cdn.example.com/www.html", "cdn.example.com/www.html"},
      {"www.example.com", "example.com"},
  };
  for (const auto& c : cases) {
    SiteUrl = c.url;
    EXPECT_EQ(GetDomainName(), c.domain) << c.url;
  }
  SiteUrl.clear();
}

TEST(TextHelpers, VersionOfAProgram) {
  uint16_t a = 7, b = 7, c = 7, d = 7;
  GetFileVersionOf(sys::ExtractFilePath(sys::ParamStr(0)) + "Client.exe", a, b, c, d);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(d, 8);
  a = b = c = d = 7;
  GetExeVersion(a, b, c, d);  // the test program has no version resource
  EXPECT_EQ(a + b + c + d, 28);
}

namespace {
struct FixedAdapter : seams::IAdapter {
  bool ok = true;
  bool NodeAddress(unsigned char node[6]) override {
    const unsigned char n[6] = {0x00, 0x1A, 0x2b, 0x3C, 0x4d, 0xFE};
    memcpy(node, n, 6);
    return ok;
  }
};
}  // namespace

TEST(TextHelpers, AdapterAddress) {
  FixedAdapter adapter;
  seams::ScopedSeam<seams::IAdapter> use(&adapter);
  EXPECT_EQ(GetMacAddress(), "00-1A-2B-3C-4D-FE");
  adapter.ok = false;
  EXPECT_EQ(GetMacAddress(), "");
}

TEST(TextHelpers, MessageBoxCaption) {
  testing_support::ScriptedDialogs dialogs;
  seams::ScopedSeam<seams::IDialogs> use(&dialogs);
  ShowMsg("", "文本");
  ShowMsg("标题", "x");
  ASSERT_EQ(dialogs.calls.size(), 2u);
  EXPECT_EQ(dialogs.calls[0].caption, "系统提示");
  EXPECT_EQ(dialogs.calls[0].text, "文本");
  EXPECT_EQ(dialogs.calls[0].flags, (unsigned)(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(dialogs.calls[1].caption, "标题");
}

TEST(ErrorLog, LinesAreTimeStampedAndAppendedInOrder) {
  TempDir dir;
  testing_support::FixedClock clock;
  clock.now = dt::Encode({2026, 12, 10, 9, 5, 7, 0});
  seams::ScopedSeam<seams::IClock> use(&clock);
  SetErrorLogPath(dir.File("Client.log"));
  WriteErrorLog("TData.SaveChatMsg出错");
  WriteErrorLog("第二行");
  EXPECT_EQ(sys::ReadFileBytes(dir.File("Client.log")),
            "2026-12-10 09:05:07 【TData.SaveChatMsg出错】\r\n2026-12-10 09:05:07 【第二行】\r\n");
  SetErrorLogPath(dir.File("missing\\folder\\Client.log"));
  EXPECT_NO_THROW(WriteErrorLog("swallowed"));  // no folder: nothing, and no error
  EXPECT_FALSE(sys::DirectoryExists(dir.File("missing")));

  // A log held open by another program without sharing: the line is lost, quietly.
  SetErrorLogPath(dir.File("Client.log"));
  HANDLE locked = CreateFileA(dir.File("Client.log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_NO_THROW(WriteErrorLog("locked out"));
  CloseHandle(locked);
  EXPECT_EQ(sys::ReadFileBytes(dir.File("Client.log")).find("locked out"), std::string::npos);
  SetErrorLogPath("");
}

// Mend: line breaks inside a text (a sender number from the server) used to start lines of
// their own that looked like the program's.
TEST(ErrorLog, MendOneCallIsOneLine) {
  TempDir dir;
  testing_support::FixedClock clock;
  clock.now = dt::Encode({2026, 12, 10, 9, 5, 7, 0});
  seams::ScopedSeam<seams::IClock> use(&clock);
  SetErrorLogPath(dir.File("Client.log"));
  WriteErrorLog("10001】\r\n2026-01-01 00:00:00 【forged\n\rx");
  SetErrorLogPath("");
  EXPECT_EQ(sys::ReadFileBytes(dir.File("Client.log")),
            "2026-12-10 09:05:07 【10001】  2026-01-01 00:00:00 【forged  x】\r\n");
}

// Mend: the picture library was loaded as a library, so a file planted under its name ran
// its code inside the program. It is loaded as pictures only; its bitmaps still load by name.
TEST(Settings, MendThePictureLibraryIsLoadedAsPicturesOnly) {
  SetEnvironmentVariableA("KARV_PLANTED_CODE_RAN", nullptr);
  ASSERT_TRUE(LoadPictureLibrary(client_test::BinFolder() + "planted_vandrel.dll"));
  char mark[8];
  EXPECT_EQ(GetEnvironmentVariableA("KARV_PLANTED_CODE_RAN", mark, sizeof mark), 0u);

  ASSERT_TRUE(LoadPictureLibrary(client_test::BinFolder() + "Vandrel.dll"));
  HRSRC picture = FindResourceA(PictureLib, "HENG", (LPCSTR)RT_BITMAP);
  ASSERT_NE(picture, nullptr);
  const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(PictureLib, picture)));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_GT(info->biWidth, 0);
  EXPECT_FALSE(LoadPictureLibrary(client_test::BinFolder() + "NoSuch.dll"));
  FreeLibrary(PictureLib);
  PictureLib = nullptr;
}

TEST(Settings, DefaultsOnlyForAMissingFileAndSectionsWithoutCase) {
  TempDir dir;
  InitializeSettingsUnit(dir.File("a.ini"));
  EXPECT_EQ(ReadIniString("LOGININFO", "port", ""), "8014");
  EXPECT_EQ(ReadIniString("Font", "FontName", "宋体"), "宋体");
  SaveFontConfig("黑体", "12", "255");
  EXPECT_EQ(ReadIniString("font", "fontsize", ""), "12");
  FinalizeSettingsUnit();
  InitializeSettingsUnit(dir.File("a.ini"));
  EXPECT_EQ(ReadIniString("Font", "FontName", ""), "黑体");
  FinalizeSettingsUnit();
}
