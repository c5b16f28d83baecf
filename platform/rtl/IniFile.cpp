#include "platform/rtl/IniFile.h"

#include <windows.h>

#include <vector>

#include "platform/rtl/SysUtils.h"

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  std::vector<char> buf(2048);
  for (;;) {
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf.data(), (DWORD)buf.size(),
                                       fileName_.c_str());
    if (n < buf.size() - 1) return std::string(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  return sys::StrToIntDef(ReadString(section, key, ""), def);
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fileName_.c_str());
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, sys::IntToStr(value));
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  // A default no value can hold tells absence from an empty value.
  return ReadString(section, key, "\x01\x02") != "\x01\x02";
}

bool TIniFile::SectionExists(const std::string& section) const {
  std::vector<char> buf(4096);
  DWORD n = GetPrivateProfileSectionA(section.c_str(), buf.data(), (DWORD)buf.size(), fileName_.c_str());
  return n > 0;
}
