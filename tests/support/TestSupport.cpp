#include "tests/support/TestSupport.h"

#include <windows.h>

#include <utility>

#include "platform/rtl/SysUtils.h"

namespace testing_support {

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    path_ = sys::Format("%skarv-%lu-%d\\", base, GetCurrentProcessId(), ++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

static void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full + "\\");
      else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

TempDir::~TempDir() { RemoveTree(path_); }

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if ((int)(GetTickCount() - start) >= timeoutMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  return true;
}

void MovePointer(POINT p) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = (p.x * 65536 + w / 2) / w;
  in.mi.dy = (p.y * 65536 + h / 2) / h;
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

void PumpFor(int ms) {
  DWORD start = GetTickCount();
  PumpUntil([&] { return (int)(GetTickCount() - start) >= ms; }, ms + 1000);
}

namespace {
std::function<bool()> g_step;
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (g_step && g_step()) {
    g_step = nullptr;
    KillTimer(nullptr, id);
  }
}
}  // namespace

void WhilePumping(std::function<bool()> step, UINT everyMs) {
  g_step = std::move(step);
  SetTimer(nullptr, 0, everyMs, StepTimer);
}

void DropPumpingStep() { g_step = nullptr; }

namespace {
BOOL CALLBACK CollectWindow(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
  return TRUE;
}
}  // namespace

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> list;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&list));
  return list;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> list;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&list));
  return list;
}

void* FindOwnWindow(const char* className) {
  for (HWND h : ThreadWindows()) {
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (IsWindowVisible(h) && lstrcmpiA(cls, className) == 0) return h;
  }
  return nullptr;
}

HMENU MenuOfMenuWindow(HWND menuWindow) {
  constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
  return menuWindow ? (HMENU)SendMessageA(menuWindow, kGetMenu, 0, 0) : nullptr;
}

int ScriptedDialogs::Ask(void*, const std::string& text, const std::string& caption, unsigned flags) {
  calls.push_back({text, caption, flags});
  size_t i = calls.size() - 1;
  return i < answers.size() ? answers[i] : IDOK;
}

}  // namespace testing_support
