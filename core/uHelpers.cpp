#include "core/uHelpers.h"

#include <windows.h>

#include <vector>

#include "core/uSettings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/MessagePump.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

void ShowMsg(const std::string& caption, const std::string& text) {
  seams::Dialogs().Ask(message_pump::Pump().Handle(), text, caption.empty() ? "系统提示" : caption,
                       MB_OK | MB_ICONINFORMATION);
}

bool SplitString(const std::string& text, const std::string& delimiter, TStringList& list) {
  list.Clear();
  if (delimiter.empty()) {  // nothing to split at; never loop
    list.Add(text);
    return true;
  }
  size_t start = 0;
  for (size_t p; (p = text.find(delimiter, start)) != std::string::npos; start = p + delimiter.size())
    list.Add(text.substr(start, p - start));
  list.Add(text.substr(start));
  return true;
}

std::string IndentedLines(const std::string& text, const std::string& delimiter) {
  TStringList lines;
  SplitString(text, delimiter, lines);
  return JoinTrimmedLines(lines, "    ");
}

bool SplitLines(const std::string& text, const std::string& separator, TStringList& list) {
  list.Clear();
  // A line break takes at least the carriage return itself, so an empty separator cannot loop.
  size_t breakLen = separator.empty() ? 1 : separator.size();
  size_t start = 0;
  for (size_t p; (p = text.find('\r', start)) != std::string::npos;) {
    list.Add(text.substr(start, p - start));
    start = std::min(text.size(), p + breakLen);
  }
  list.Add(text.substr(start));
  return true;
}

void GetFileVersionOf(const std::string& path, uint16_t& major, uint16_t& minor, uint16_t& release,
                      uint16_t& build) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &len) || !info || len < sizeof *info)
    return;
  major = HIWORD(info->dwFileVersionMS);
  minor = LOWORD(info->dwFileVersionMS);
  release = HIWORD(info->dwFileVersionLS);
  build = LOWORD(info->dwFileVersionLS);
}

void GetExeVersion(uint16_t& major, uint16_t& minor, uint16_t& release, uint16_t& build) {
  GetFileVersionOf(sys::ParamStr(0), major, minor, release, build);
}

std::string DomainOf(const std::string& url) {
  std::string s = url;
  // Any scheme, not only "http://" with its seven characters.
  size_t scheme = s.find("://");
  if (scheme != std::string::npos) s = s.substr(scheme + 3);
  // Only a "www." that starts the host is dropped; "shop.www.example" keeps its name.
  if (s.size() >= 4 && sys::LowerCase(s.substr(0, 4)) == "www.") s = s.substr(4);
  return s;
}

std::string GetDomainName() { return DomainOf(SiteUrl); }

std::string TextBeforeParen(const std::string& text) {
  size_t p = text.find('(');
  return p == std::string::npos ? std::string() : text.substr(0, p);
}

bool IsFlagChar(int index, const std::string& text) {
  if (text.empty() || index < 1 || index > (int)text.size()) return false;
  return text[index - 1] == '1';
}

std::string GetMacAddress() {
  unsigned char node[6];
  if (!seams::Adapter().NodeAddress(node)) return "";
  std::string r;
  for (int i = 0; i < 6; ++i) {
    if (i) r += '-';
    r += sys::IntToHex(node[i], 2);
  }
  return r;
}

namespace {
std::string& LogPathSlot() {
  static std::string path;
  return path;
}
}  // namespace

std::string ErrorLogPath() {
  if (LogPathSlot().empty()) return sys::ChangeFileExt(sys::ParamStr(0), ".log");
  return LogPathSlot();
}

void SetErrorLogPath(const std::string& path) { LogPathSlot() = path; }

void WriteErrorLog(const std::string& text) {
  try {
    // Texts from the server can hold line breaks; as blanks they cannot forge log lines.
    std::string flat = text;
    for (char& c : flat)
      if (c == '\r' || c == '\n') c = ' ';
    std::string line = dt::DateTimeToStr(dt::Now()) + " 【" + flat + "】\r\n";
    HANDLE h = CreateFileA(ErrorLogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD put = 0;
    WriteFile(h, line.data(), (DWORD)line.size(), &put, nullptr);
    CloseHandle(h);
  } catch (...) {
    // The log must never fail its caller.
  }
}
