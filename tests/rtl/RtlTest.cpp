#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <cmath>
#include <memory>
#include <thread>

#include "platform/rtl/Base64.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/LateBound.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Thread.h"
#include "platform/rtl/ThreadStack.h"
#include "tests/support/TestSupport.h"

using testing_support::TempDir;

TEST(CodePage, LiteralsAreGbkAndRoundTripThroughUtf8) {
  std::string text = "系统提示";
  ASSERT_EQ(text.size(), 8u);
  EXPECT_EQ((unsigned char)text[0], 0xCF);  // GBK of 系
  EXPECT_EQ(sys::Utf8ToAnsi(sys::AnsiToUtf8(text)), text);
  EXPECT_EQ(sys::AnsiToUtf8(text), "\xE7\xB3\xBB\xE7\xBB\x9F\xE6\x8F\x90\xE7\xA4\xBA");
}

TEST(CodePage, CutKeepsWholeCharacters) {
  struct { std::string in; size_t max; std::string out; } cases[] = {
      {"abc", 5, "abc"}, {"abc", 2, "ab"}, {"a系统", 2, "a"}, {"a系统", 3, "a系"}, {"系统", 1, ""}, {"", 0, ""}};
  for (auto& c : cases) EXPECT_EQ(sys::CutAnsi(c.in, c.max), c.out) << c.in << " " << c.max;
}

TEST(CodePage, CaseMappingLeavesTrailBytesAlone) {
  // The second byte of 撒 (0xC8 0x F6) and of many others falls in 'A'..'Z' or 'a'..'z'.
  std::string s = "C:\\数据Ab";  // 数 = 0xCA 0xFD, 据 = 0xBE 0xDD
  std::string dbcs = "\xB0\x41";   // a GBK character whose trail byte is 'A'
  EXPECT_EQ(sys::LowerCase(dbcs + "AB"), dbcs + "ab");
  EXPECT_EQ(sys::UpperCase(s), "C:\\数据AB");
  EXPECT_TRUE(sys::SameText("LoginInfo", "LOGININFO"));
}

TEST(Paths, SeparatorsInsideDoubleByteCharacters) {
  std::string dir = "C:\\\xB1\x5C\\";  // 臷-like character whose trail byte is '\'
  EXPECT_EQ(sys::ExtractFilePath(dir + "a.txt"), dir);
  EXPECT_EQ(sys::ExtractFileName("C:\\x\\Client.exe"), "Client.exe");
  EXPECT_EQ(sys::ChangeFileExt("C:\\x.y\\Client.exe", ".ini"), "C:\\x.y\\Client.ini");
  EXPECT_EQ(sys::ChangeFileExt("C:\\x.y\\Client", ".log"), "C:\\x.y\\Client.log");
}

TEST(Files, ForceDirectoriesAndBytes) {
  TempDir tmp;
  std::string deep = tmp.File("a\\b\\c");
  EXPECT_TRUE(sys::ForceDirectories(deep));
  EXPECT_TRUE(sys::DirectoryExists(deep));
  sys::WriteFileBytes(deep + "\\f.bin", std::string("\0\1\2", 3));
  EXPECT_EQ(sys::ReadFileBytes(deep + "\\f.bin"), std::string("\0\1\2", 3));
  EXPECT_TRUE(sys::RemoveFile(deep + "\\f.bin"));
  EXPECT_TRUE(sys::RemoveFile(deep + "\\f.bin"));  // already gone counts as removed
  EXPECT_THROW(sys::ReadFileBytes(deep + "\\none"), Exception);
}

TEST(Numbers, Parsing) {
  EXPECT_EQ(sys::StrToIntDef("8014", 0), 8014);
  EXPECT_EQ(sys::StrToIntDef(" -5 ", 0), -5);
  EXPECT_EQ(sys::StrToIntDef("0x1F", 0), 31);
  EXPECT_EQ(sys::StrToIntDef("$FF", 0), 255);
  EXPECT_EQ(sys::StrToIntDef("12a", 7), 7);
  EXPECT_EQ(sys::StrToIntDef("", 7), 7);
  EXPECT_EQ(sys::StrToIntDef("99999999999", 7), 7);
  EXPECT_THROW(sys::StrToInt("x"), EConvertError);
  EXPECT_EQ(sys::IntToHex(0xAB, 2), "AB");
}

TEST(Base64, RoundTripsAndRfcVectors) {
  struct { std::string plain, coded; } cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {"密码", "w9zC6w=="}};
  for (auto& c : cases) {
    EXPECT_EQ(base64::Encode(c.plain), c.coded);
    EXPECT_EQ(base64::Decode(c.coded), c.plain);
  }
  EXPECT_EQ(base64::Decode("Zm9v\r\nYmFy"), "foobar");
}

TEST(DateTime, EpochRoundTripAndText) {
  EXPECT_EQ(dt::EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(dt::EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(dt::EncodeDate(2000, 1, 1), 36526.0);
  dt::Parts p{2026, 12, 10, 9, 5, 7, 0};
  TDateTime t = dt::Encode(p);
  EXPECT_EQ(dt::DateTimeToStr(t), "2026-12-10 09:05:07");
  EXPECT_EQ(dt::FormatDateTime("yyyy-mm-dd", t), "2026-12-10");
  TDateTime back;
  ASSERT_TRUE(dt::TryStrToDateTime("2026-12-10 09:05:07", back));
  EXPECT_EQ(dt::DateTimeToStr(back), "2026-12-10 09:05:07");
  ASSERT_TRUE(dt::TryStrToDateTime("2024/02/29", back));
  EXPECT_EQ(dt::DateToStr(back), "2024-02-29");
  for (const char* bad : {"2023-02-29", "2026-13-01", "abc", "2026-12-10 25:00", "2026-12-10 10:00x"})
    EXPECT_FALSE(dt::TryStrToDateTime(bad, back)) << bad;
  EXPECT_EQ(dt::DaysBetween(dt::EncodeDate(2026, 12, 10), dt::EncodeDate(2026, 12, 1)), 9);
}

TEST(DateTime, AValueOutsideTheCalendarShowsTheZeroDate) {
  // A received body or message block may hold any eight bytes as its time.
  const double cases[] = {std::nan(""), INFINITY, -INFINITY, 1e300, -1e300, 2958466.0, -693594.5, 4e9};
  for (double t : cases) {
    dt::Parts p = dt::Decode(t);
    EXPECT_EQ(p.year, 1899) << t;
    EXPECT_EQ(dt::DateTimeToStr(t), "1899-12-30 00:00:00") << t;
  }
  EXPECT_EQ(dt::DateTimeToStr(2958465.5), "9999-12-31 12:00:00");
  EXPECT_EQ(dt::DateToStr(-693593.0), "0001-01-01");
}

// Mend: a time within half a millisecond of midnight showed 00:00:00 of the day before.
TEST(DateTime, MendATimeThatRoundsUpToMidnightIsTheNextDaysStart) {
  const double almost = 1.0 - 0.4 / 86400000.0;
  EXPECT_EQ(dt::DateTimeToStr(dt::EncodeDate(2026, 12, 31) + almost), "2027-01-01 00:00:00");
  // Before the epoch the time counts forward from the start of the day too.
  EXPECT_EQ(dt::DateTimeToStr(-1.0 - almost), "1899-12-30 00:00:00");
  EXPECT_EQ(dt::DateTimeToStr(dt::EncodeDate(9999, 12, 31) + almost), "9999-12-31 23:59:59");
}

TEST(IniFile, SectionsMatchWithoutCase) {
  TempDir tmp;
  TIniFile ini(tmp.File("a.ini"));
  ini.WriteString("LoginInfo", "host", "127.0.0.1");
  EXPECT_EQ(ini.ReadString("LOGININFO", "HOST", ""), "127.0.0.1");
  EXPECT_EQ(ini.ReadString("Logininfo", "missing", "def"), "def");
  EXPECT_TRUE(ini.ValueExists("logininfo", "host"));
  EXPECT_FALSE(ini.ValueExists("logininfo", "nope"));
  ini.WriteString("Font", "FontName", "宋体");
  EXPECT_EQ(ini.ReadString("Font", "FontName", ""), "宋体");
}

TEST(StringList, TextAndValues) {
  TStringList l;
  l.SetText("a\r\nb\nc");
  ASSERT_EQ(l.Count(), 3);
  EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\n");
  l.SetValue("Key", "1");
  EXPECT_EQ(l.Values("key"), "1");
  EXPECT_EQ(l.IndexOf("b"), 1);
  l.Delete(0);
  EXPECT_EQ(l[0], "b");
}

namespace {
struct Listener : TObject {
  int hits = 0;
  void OnEvent(TObject*) { ++hits; }
};
struct Worker : TThread {
  int* counter;
  explicit Worker(int* c) : counter(c) {}
  ~Worker() override {
    Terminate();
    WaitFor();
  }
  void Execute() override {
    for (int i = 0; i < 50; ++i) Synchronize([this] { ++*counter; });
  }
};
}  // namespace

TEST(Event, ReplaceAndTakeBack) {
  Listener a, b;
  TNotifyEvent e(&a, &Listener::OnEvent);
  e(nullptr);
  e = TNotifyEvent(&b, &Listener::OnEvent);
  e(nullptr);
  EXPECT_EQ(a.hits, 1);
  EXPECT_EQ(b.hits, 1);
  e.ClearIfOwner(&a);
  EXPECT_TRUE(e);
  e.ClearIfOwner(&b);
  EXPECT_FALSE(e);
}

// Mend: an event was called through the stored callable itself, so a handler that replaced
// or cleared its own event destroyed the handler that was running.
TEST(Event, MendAHandlerMayReplaceItsOwnEvent) {
  // Kept outside the handler: its captures are what may be gone.
  static bool destroyed, destroyedWhileRunning;
  static TNotifyEvent e;
  struct Sentinel {
    ~Sentinel() { destroyed = true; }
  };
  e = [sentinel = std::make_shared<Sentinel>()](TObject*) {
    e = nullptr;  // the handler takes itself off
    destroyedWhileRunning = destroyed;
  };
  destroyed = false;
  destroyedWhileRunning = true;
  e(nullptr);
  EXPECT_FALSE(destroyedWhileRunning);
  EXPECT_TRUE(destroyed);  // released once the call returned
  EXPECT_FALSE(e);
}

TEST(Thread, SynchronizeRunsOnGuiThreadWhileWaiting) {
  int counter = 0;
  {
    Worker w(&counter);
    w.Start();
    w.WaitFor();
  }
  EXPECT_EQ(counter, 50);
}

namespace {
// Fills a buffer on the stack and gives back where it lay.
__attribute__((noinline)) std::pair<char*, size_t> FillStack() {
  volatile char buffer[256 * 1024];
  for (size_t i = 0; i < sizeof buffer; i += 512) buffer[i] = 1;
  return {const_cast<char*>(&buffer[0]), sizeof buffer};
}

int ResidentPages(char* from, size_t bytes) {
  std::vector<PSAPI_WORKING_SET_EX_INFORMATION> pages(bytes / 4096);
  for (size_t i = 0; i < pages.size(); ++i) pages[i].VirtualAddress = from + i * 4096;
  if (!QueryWorkingSetEx(GetCurrentProcess(), pages.data(), (DWORD)(pages.size() * sizeof pages[0]))) return -1;
  int n = 0;
  for (auto& p : pages) n += p.VirtualAttributes.Valid;
  return n;
}
}  // namespace

// A thread that has done its work keeps none of the stack it used below its frame.
TEST(ThreadStack, AnEndingThreadGivesBackTheStackBelowItsFrame) {
  int before = -1, after = -1, again = -1;
  std::thread([&] {
    auto [buffer, size] = FillStack();
    // The lower half lies well below the margin the exit path keeps.
    before = ResidentPages(buffer, size / 2);
    sys::ReleaseUnusedStack();
    after = ResidentPages(buffer, size / 2);
    FillStack();  // still usable
    again = ResidentPages(buffer, size / 2);
  }).join();
  EXPECT_EQ(before, 32);
  EXPECT_EQ(after, 0);
  EXPECT_EQ(again, 32);
}

// The dialogs and the sound reach their libraries only when first used.
TEST(LateBound, CallsTheLibraryFunctionAndGivesNullWhenMissing) {
  auto length = LateBound<decltype(&lstrlenA)>("kernel32.dll", "lstrlenA");
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length("abcd"), 4);
  EXPECT_NE((LateBound<decltype(&lstrlenA)>("winmm.dll", "PlaySoundA")), nullptr);
  EXPECT_EQ((LateBound<decltype(&lstrlenA)>("kernel32.dll", "NoSuchFunction")), nullptr);
  EXPECT_EQ((LateBound<decltype(&lstrlenA)>("no-such-library.dll", "lstrlenA")), nullptr);
}

// Mend: a trailing separator is looked for by characters, so the trail byte 0x5C of 淺 is
// not one; a drive alone gets its separator.
TEST(Paths, MendTrailingSeparatorsByCharacters) {
  EXPECT_EQ(sys::IncludeTrailingBackslash("C:\\淺"), "C:\\淺\\");
  EXPECT_EQ(sys::IncludeTrailingBackslash("C:\\淺\\"), "C:\\淺\\");
  EXPECT_EQ(sys::IncludeTrailingBackslash("C:"), "C:\\");
  EXPECT_EQ(sys::ExtractFilePath("C:\\禱\\a.txt"), "C:\\禱\\");
  EXPECT_EQ(sys::ExtractFileName("C:\\禱"), "禱");
}
