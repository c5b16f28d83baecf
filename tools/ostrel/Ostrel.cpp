// Ostrel.exe stand-in for the updater: appends its command line (without the program name)
// as one line to Ostrel.log beside itself and exits, so the start of the updater can be checked.
#include <windows.h>

#include <string>

namespace {

// The command line after the program name, which may be quoted.
std::string Arguments() {
  const char* p = GetCommandLineA();
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char exe[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string log(exe, n);
  log = log.substr(0, log.find_last_of("\\/") + 1) + "Ostrel.log";
  std::string line = Arguments() + "\r\n";
  HANDLE f = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  BOOL ok = WriteFile(f, line.data(), (DWORD)line.size(), &written, nullptr);
  CloseHandle(f);
  return ok && written == line.size() ? 0 : 1;
}
