// Running the real Client.exe from a test: a fresh program folder, the process, and finding
// its windows and controls from outside, as a person would see them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "tests/support/TestSupport.h"

namespace client_test {

std::string BinFolder();
// The build's screenshots folder (made when missing), with a trailing backslash.
std::string Screenshots();

// A program folder with Client.exe and what lies beside it (the picture library and
// the contact picture; Ostrel.exe when asked).
struct AppFolder {
  testing_support::TempDir dir;
  explicit AppFolder(bool withPictures = true, bool withUpdater = false);
  std::string Exe() const { return dir.File("Client.exe"); }
  std::string File(const std::string& name) const { return dir.File(name); }
};

struct Process {
  PROCESS_INFORMATION pi{};
  explicit Process(const std::string& exe);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool Ended(DWORD ms);
  DWORD ExitCode();
  DWORD Id() const { return pi.dwProcessId; }
};

// A top-level window of the process of that class (waits up to `ms`), or nullptr.
HWND WaitForWindow(DWORD pid, const std::string& cls, int ms = 15000);
// The same among the message-only windows.
HWND WaitForMessageWindow(DWORD pid, const std::string& cls, int ms = 15000);
// A visible top-level window of the process of that class, or nullptr.
HWND FindVisibleWindow(DWORD pid, const std::string& cls);
// The first child (any depth) for which `match` holds, or nullptr.
HWND FindChild(HWND parent, const std::function<bool(HWND)>& match);
HWND FindChildByText(HWND parent, const std::string& cls, const std::string& text);
std::string ClassOf(HWND h);
std::string TextOf(HWND h);
// All texts of a window's children, joined.
std::string ChildTexts(HWND h);
// Waits, dispatching this process's messages, until `done` holds.
bool WaitFor(const std::function<bool()>& done, int ms = 10000);

}  // namespace client_test

namespace client_test {
// Points a program folder at the stand-in servers: the server line of its system database
// at `address` (the program always uses port 8014 there) and its web host at the loopback
// web server on `webPort`.
void PointAtStandIns(const AppFolder& app, const std::string& address, int webPort);
// The login window's account edit (inside its combo box) and password edit.
HWND LoginAccountEdit(HWND login);
HWND LoginPasswordEdit(HWND login);
// Clicks a button of another process the way the button tells its parent, which works
// whether or not its window is active (a posted BM_CLICK does not then). Posted: the click
// may open a modal box.
void PostClick(HWND button);
// Fills in the login window and clicks "登陆".
void TypeLogin(HWND login, const std::string& account, const std::string& password, bool remember = false);

// A message box of the process, once it shows its text; `text` gets its caption and the
// texts of its controls joined by "|".
HWND WaitForMessageBox(DWORD pid, std::string& text, int ms = 15000);
// Saves what the screen shows of a window as a PNG file (see testing_support::SaveScreenRect:
// the extension becomes ".png").
bool SaveWindowShot(HWND window, const std::string& path);
}  // namespace client_test
