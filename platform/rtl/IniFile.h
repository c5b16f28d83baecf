// An ini file over the platform's profile functions: section and key names match without
// regard to case, values are strings.
// Holds only the file's name; every call reads or writes the file itself, so two objects on one
// file stay in step.
#pragma once
#include <string>

class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  bool ValueExists(const std::string& section, const std::string& key) const;
  bool SectionExists(const std::string& section) const;

 private:
  std::string fileName_;
};
