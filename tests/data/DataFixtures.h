// Shared pieces of the data tests: a program folder in a temporary directory with the error
// log pointed into it, raw SQLite access to look at files from outside the layer, and
// helpers that make and read files.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/uDataOperate.h"
#include "tests/support/TestSupport.h"

namespace datatest {

// A temporary program folder; the error log goes to Client.log inside it and message boxes
// are answered and recorded.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  const std::string& Path() const { return dir_.Path(); }
  std::string File(const std::string& name) const { return dir_.File(name); }
  // The error log's lines, without their time stamps.
  std::vector<std::string> LogTexts() const;
  testing_support::ScriptedDialogs dialogs;

 private:
  testing_support::TempDir dir_;
  std::string previousLog_;
  seams::ScopedSeam<seams::IDialogs> dialogSeam_{&dialogs};
};

// The start routine's database steps over a fresh data module, as the program runs them,
// in a temporary program folder. The descriptors and the start globals are reset first.
struct StartedProgram {
  ProgramFolder folder;
  TOwned<TData> data;
  StartedProgram();
  ~StartedProgram();
  std::string System() const { return folder.File("DataConfig\\LocalDb.mdb"); }
  std::string Personal() const { return folder.File("DataConfig\\LocalConfig.mdb"); }
  // Makes the data module, makes it the global one and runs the start steps.
  void Run();
};

// The rows of a query run straight on the file (no password check), each column as text in
// code page 936, columns joined by "|".
std::vector<std::string> RawRows(const std::string& path, const std::string& sql);
void RawExec(const std::string& path, const std::string& sql);

// True when a folder with a Chinese name can be made in `folder` and is found again under
// that name (this Wine needs a Chinese locale on the host for it).
bool ChineseFileNamesWork(const std::string& folder);

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

}  // namespace datatest
