#include "tests/data/DataFixtures.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/uDatabase.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

namespace datatest {

ProgramFolder::ProgramFolder() : previousLog_(ErrorLogPath()) { SetErrorLogPath(File("Client.log")); }

ProgramFolder::~ProgramFolder() { SetErrorLogPath(previousLog_); }

std::vector<std::string> ProgramFolder::LogTexts() const {
  std::vector<std::string> texts;
  if (!sys::FileExists(File("Client.log"))) return texts;
  TStringList lines;
  lines.SetText(sys::ReadFileBytes(File("Client.log")));
  for (const auto& item : lines) {
    const std::string& l = item.text;
    // "yyyy-mm-dd hh:nn:ss 【text】"
    size_t open = l.find("【"), close = l.rfind("】");
    if (open != std::string::npos && close != std::string::npos && close > open)
      texts.push_back(l.substr(open + 2, close - open - 2));
  }
  return texts;
}

StartedProgram::StartedProgram() {
  SystemDb = PersonalDb = TDatabaseInfo{};
  SeoQueryUrl = DomainQueryUrl = DomainName = "";
  HintDateNumber = 0;
  ShortWords = std::make_unique<TStringList>();
}

StartedProgram::~StartedProgram() {
  data.reset();
  ShortWords.reset();
}

void StartedProgram::Run() {
  data.reset(CreateForm<TData>(nullptr));
  Data = data.get();
  StartLocalDatabases(folder.Path());
}

static sqlite3* RawOpen(const std::string& path) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(sys::AnsiToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  EXPECT_EQ(rc, SQLITE_OK) << path;
  return db;
}

std::vector<std::string> RawRows(const std::string& path, const std::string& sql) {
  std::vector<std::string> rows;
  sqlite3* db = RawOpen(path);
  sqlite3_stmt* st = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sys::AnsiToUtf8(sql).c_str(), -1, &st, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db) << " in " << sql;
  while (st && sqlite3_step(st) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      const unsigned char* t = sqlite3_column_text(st, i);
      row += (i ? "|" : "") + sys::Utf8ToAnsi(t ? reinterpret_cast<const char*>(t) : "");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows;
}

void RawExec(const std::string& path, const std::string& sql) {
  sqlite3* db = RawOpen(path);
  char* err = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sys::AnsiToUtf8(sql).c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
  sqlite3_free(err);
  sqlite3_close(db);
}

void WriteBytes(const std::string& path, const std::string& bytes) { sys::WriteFileBytes(path, bytes); }
std::string ReadBytes(const std::string& path) { return sys::ReadFileBytes(path); }

bool ChineseFileNamesWork(const std::string& folder) {
  std::string probe = sys::IncludeTrailingBackslash(folder) + "中文名";
  if (!CreateDirectoryA(probe.c_str(), nullptr)) return false;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(probe.c_str(), &fd);
  bool same = h != INVALID_HANDLE_VALUE && std::string(fd.cFileName) == "中文名";
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  RemoveDirectoryA(probe.c_str());
  return same;
}

}  // namespace datatest
