// The chat-history files: one plain-text file per day in the folder HistoryLog beside the
// program, appended to when the main window closes.
// Contract: GetInstance's log lives until the process ends; the caller's lists are only read.
// GUI thread only: appends are not locked.
#pragma once
#include <string>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Object.h"

class TStringList;

class TLog : public TObject {
  KARV_CLASS(TLog, TObject)
 public:
  // The one instance over the program's HistoryLog folder, made on first use.
  static TLog& GetInstance();
  // A log over another folder (with or without a trailing backslash); the folder is made
  // with its parents when missing, and a failure shows only at the first SaveHis.
  explicit TLog(const std::string& folder);

  const std::string& Path() const { return path_; }  // with trailing backslash
  bool HisFileExists(const std::string& fileName) const;
  // Appends every line, each ended by CR LF, creating the file when missing. Raises
  // EFileError when the file cannot be opened or written.
  void SaveHis(const TStringList& lines, const std::string& fileName);
  // The name of a day's file: "yyyy-mm-dd.txt" (a locale's date format may hold "/").
  static std::string DayFileName(TDateTime day);

 private:
  std::string path_;
};
