#include "core/LogManager.h"

#include <windows.h>

#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

TLog& TLog::GetInstance() {
  static TLog instance(sys::ExtractFilePath(sys::ExeName()) + "HistoryLog");
  return instance;
}

TLog::TLog(const std::string& folder) : path_(sys::IncludeTrailingBackslash(folder)) {
  if (!sys::DirectoryExists(path_)) sys::ForceDirectories(path_);
}

bool TLog::HisFileExists(const std::string& fileName) const { return sys::FileExists(path_ + fileName); }

std::string TLog::DayFileName(TDateTime day) { return dt::DateToStr(day) + ".txt"; }

void TLog::SaveHis(const TStringList& lines, const std::string& fileName) {
  std::string full = path_ + fileName;
  HANDLE h = CreateFileA(full.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EFileError("Cannot open file \"" + full + "\"");
  struct Closer {
    HANDLE h;
    ~Closer() { CloseHandle(h); }
  } closer{h};
  for (const auto& item : lines) {
    std::string line = item.text + "\r\n";
    DWORD written = 0;
    if (!WriteFile(h, line.data(), (DWORD)line.size(), &written, nullptr) || written != line.size())
      throw EFileError("Cannot write file \"" + full + "\"");
  }
}
