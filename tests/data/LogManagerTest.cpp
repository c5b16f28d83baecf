// Chat-history files: the folder, one file per day named by its date, appending.
#include <gtest/gtest.h>

#include "core/LogManager.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "tests/data/DataFixtures.h"

namespace {

TStringList Lines(std::initializer_list<const char*> items) {
  TStringList l;
  for (const char* s : items) l.Add(s);
  return l;
}

}  // namespace

TEST(HistoryFiles, TheFolderIsMadeWithItsParentsOnFirstUse) {
  testing_support::TempDir dir;
  TLog log(dir.File("a\\b\\HistoryLog"));
  EXPECT_EQ(log.Path(), dir.File("a\\b\\HistoryLog\\"));
  EXPECT_TRUE(sys::DirectoryExists(log.Path()));

  TLog& one = TLog::GetInstance();
  EXPECT_EQ(&one, &TLog::GetInstance());
  EXPECT_EQ(one.Path(), sys::ExtractFilePath(sys::ExeName()) + "HistoryLog\\");
}

TEST(HistoryFiles, CreateAppendAndASecondDay) {
  testing_support::TempDir dir;
  TLog log(dir.File("HistoryLog"));
  std::string day1 = TLog::DayFileName(dt::Encode({2026, 1, 5, 23, 59, 0}));
  std::string day2 = TLog::DayFileName(dt::EncodeDate(2026, 1, 6));
  EXPECT_EQ(day1, "2026-01-05.txt");
  EXPECT_EQ(day2, "2026-01-06.txt");

  EXPECT_FALSE(log.HisFileExists(day1));
  log.SaveHis(Lines({"1001 10:00 你好", ""}), day1);
  EXPECT_TRUE(log.HisFileExists(day1));
  log.SaveHis(Lines({"second 中文"}), day1);
  log.SaveHis(Lines({}), day1);  // nothing to add leaves the file as it is
  log.SaveHis(Lines({"next day"}), day2);
  EXPECT_EQ(datatest::ReadBytes(log.Path() + day1), "1001 10:00 你好\r\n\r\nsecond 中文\r\n");
  EXPECT_EQ(datatest::ReadBytes(log.Path() + day2), "next day\r\n");

  std::string day3 = TLog::DayFileName(dt::EncodeDate(2026, 1, 7));
  log.SaveHis(Lines({}), day3);
  EXPECT_TRUE(log.HisFileExists(day3));
  EXPECT_EQ(datatest::ReadBytes(log.Path() + day3), "");
}

TEST(HistoryFiles, AFolderThatCannotBeMadeFailsAtTheFirstSave) {
  testing_support::TempDir dir;
  datatest::WriteBytes(dir.File("blocked"), "a file, not a folder");
  TLog log(dir.File("blocked\\HistoryLog"));
  EXPECT_THROW(log.SaveHis(Lines({"x"}), "2026-01-05.txt"), EFileError);
}

// Mend: a history folder whose name ends in a character whose second byte is a backslash
// (淺 is 0x9C 0x5C) lost that byte when its trailing separator was cut, and was not made.
TEST(HistoryFiles, MendAFolderEndingInABackslashTrailByteIsMade) {
  testing_support::TempDir dir;
  if (!datatest::ChineseFileNamesWork(dir.Path()))
    GTEST_SKIP() << "this Wine cannot make Chinese file names (no zh_CN.UTF-8 locale on the host)";
  TLog log(dir.File("记录淺\\禱"));
  EXPECT_EQ(log.Path(), dir.File("记录淺\\禱\\"));
  EXPECT_TRUE(sys::DirectoryExists(log.Path()));
  log.SaveHis(Lines({"你好"}), "2026-01-05.txt");
  EXPECT_EQ(datatest::ReadBytes(dir.File("记录淺\\禱\\2026-01-05.txt")), "你好\r\n");
}
