// The updater stand-in records each start's parameters, started the way the login window
// starts it (the shell's "open" verb).
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(Ostrel, RecordsItsParametersOneLineEachStart) {
  testing_support::TempDir dir;
  std::string exe = dir.File("Ostrel.exe");
  ASSERT_TRUE(CopyFileA((sys::ExtractFilePath(sys::ExeName()) + "Ostrel.exe").c_str(), exe.c_str(), FALSE));
  std::string log = dir.File("Ostrel.log");
  auto lines = [&] { return sys::FileExists(log) ? sys::ReadFileBytes(log) : std::string(); };

  ASSERT_TRUE(seams::Shell().Open(exe, "1.0.0.2$$升级服务器1$$升级服务器2"));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return !lines().empty(); }, 10000));
  ASSERT_TRUE(seams::Shell().StartProcess(exe, "2.0.0.0$$a$$b"));
  std::string expected = "1.0.0.2$$升级服务器1$$升级服务器2\r\n2.0.0.0$$a$$b\r\n";
  EXPECT_TRUE(testing_support::PumpUntil([&] { return lines() == expected; }, 10000)) << lines();
}

}  // namespace
