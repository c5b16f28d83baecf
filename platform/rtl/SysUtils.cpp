#include "platform/rtl/SysUtils.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform/rtl/Exception.h"

namespace sys {

std::wstring AnsiToWide(std::string_view s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(kAnsiCodePage, 0, s.data(), (int)s.size(), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(kAnsiCodePage, 0, s.data(), (int)s.size(), w.data(), n);
  return w;
}

std::string WideToAnsi(std::wstring_view w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(kAnsiCodePage, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(kAnsiCodePage, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
  return s;
}

static std::wstring Utf8ToWide(std::string_view s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), w.data(), n);
  return w;
}

static std::string WideToUtf8(std::wstring_view w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
  return s;
}

std::string AnsiToUtf8(std::string_view ansi) { return WideToUtf8(AnsiToWide(ansi)); }
std::string Utf8ToAnsi(std::string_view utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

std::string CutAnsi(std::string_view s, size_t maxBytes) {
  if (s.size() <= maxBytes) return std::string(s);
  size_t i = 0;
  while (i < maxBytes) {
    size_t step = (IsLeadByte((unsigned char)s[i]) && i + 1 < s.size()) ? 2 : 1;
    if (i + step > maxBytes) break;
    i += step;
  }
  return std::string(s.substr(0, i));
}

template <class F>
static std::string MapAscii(std::string_view s, F f) {
  std::string r(s);
  for (size_t i = 0; i < r.size(); ++i) {
    unsigned char c = (unsigned char)r[i];
    if (IsLeadByte(c) && i + 1 < r.size()) {
      ++i;  // keep the trail byte, which may look like an ASCII letter
      continue;
    }
    r[i] = (char)f(c);
  }
  return r;
}

std::string LowerCase(std::string_view s) {
  return MapAscii(s, [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; });
}
std::string UpperCase(std::string_view s) {
  return MapAscii(s, [](unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; });
}

std::string UnifyLineBreaks(std::string_view s, std::string_view lineBreak) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    out += lineBreak;
  }
  return out;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (unsigned char)s[b] <= ' ') ++b;
  while (e > b && (unsigned char)s[e - 1] <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

bool SameText(std::string_view a, std::string_view b) { return LowerCase(a) == LowerCase(b); }

std::string IntToStr(long long v) { return std::to_string(v); }

std::string IntToHex(unsigned long long v, int digits) {
  char buf[32];
  snprintf(buf, sizeof buf, "%0*llX", digits, v);
  return buf;
}

static bool ParseInt(std::string_view s, int& out) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  size_t i = 0;
  bool neg = false;
  if (t[0] == '-' || t[0] == '+') { neg = t[0] == '-'; i = 1; }
  long long v = 0;
  bool hex = false;
  if (i < t.size() && t[i] == '$') { hex = true; ++i; }
  else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) { hex = true; i += 2; }
  if (i >= t.size()) return false;
  for (; i < t.size(); ++i) {
    char c = t[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * (hex ? 16 : 10) + d;
    if (v > 0xFFFFFFFFLL) return false;
  }
  if (neg) v = -v;
  if (!hex && (v > INT32_MAX || v < INT32_MIN)) return false;
  out = (int)(unsigned)v;
  return true;
}

int StrToIntDef(std::string_view s, int def) {
  int v;
  return ParseInt(s, v) ? v : def;
}

int StrToInt(std::string_view s) {
  int v;
  if (!ParseInt(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return v;
}

std::string Format(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  va_list ap2;
  va_copy(ap2, ap);
  int n = vsnprintf(nullptr, 0, fmt, ap);
  va_end(ap);
  std::string s(n > 0 ? n : 0, '\0');
  if (n > 0) vsnprintf(s.data(), n + 1, fmt, ap2);
  va_end(ap2);
  return s;
}

std::string ParamStr(int index) {
  if (index == 0) return ExeName();
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string r;
  if (argv && index > 0 && index < argc) r = WideToAnsi(argv[index]);
  if (argv) LocalFree(argv);
  return r;
}

std::string ExeName() {
  char buf[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return std::string(buf, n);
}

static size_t LastSeparator(std::string_view p) {
  // A backslash can be the trail byte of a GBK character, so scan by characters.
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < p.size(); ++i) {
    unsigned char c = (unsigned char)p[i];
    if (IsLeadByte(c) && i + 1 < p.size()) { ++i; continue; }
    if (c == '\\' || c == '/' || c == ':') last = i;
  }
  return last;
}

// True when the last character (not merely the last byte) is a backslash or slash.
static bool EndsWithSeparator(std::string_view p) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < p.size(); ++i) {
    last = i;
    if (IsLeadByte((unsigned char)p[i]) && i + 1 < p.size()) ++i;
  }
  return last != std::string_view::npos && last == p.size() - 1 && (p[last] == '\\' || p[last] == '/');
}

std::string ExtractFilePath(std::string_view path) {
  size_t p = LastSeparator(path);
  return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string ExtractFileName(std::string_view path) {
  size_t p = LastSeparator(path);
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFileExt(std::string_view path) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::string name = ExtractFileName(path);
  std::string dir = ExtractFilePath(path);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return dir + name + std::string(ext);
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string p(path);
  if (!EndsWithSeparator(p)) p += '\\';
  return p;
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& path) {
  auto strip = [](std::string p) {
    while (EndsWithSeparator(p)) p.pop_back();
    return p;
  };
  std::string p = strip(path);
  if (p.empty() || DirectoryExists(p)) return true;
  std::string parent = strip(ExtractFilePath(p));
  if (!parent.empty() && parent != p && !(parent.size() == 2 && parent[1] == ':'))
    if (!ForceDirectories(parent)) return false;
  return CreateDirectoryA(p.c_str(), nullptr) || DirectoryExists(p);
}

bool RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) || !FileExists(path);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EFileError("Cannot open file \"" + path + "\"");
  std::string data;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  CloseHandle(h);
  return data;
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EFileError("Cannot create file \"" + path + "\"");
  DWORD put = 0;
  bool ok = bytes.empty() || (WriteFile(h, bytes.data(), (DWORD)bytes.size(), &put, nullptr) && put == bytes.size());
  CloseHandle(h);
  if (!ok) throw EFileError("Cannot write file \"" + path + "\"");
}

}  // namespace sys
