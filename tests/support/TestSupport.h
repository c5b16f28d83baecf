// Helpers shared by the test suites: temporary folders, pumping the message loop until a
// condition holds, and scripted seams.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Seams.h"

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }  // with trailing backslash
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Dispatches messages until `done` holds or `timeoutMs` passes; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Dispatches messages for `ms` milliseconds.
void PumpFor(int ms);
// Runs `step` from a thread timer every `everyMs` while a modal loop (or anything else)
// pumps, until it returns true. One step at a time: a new one replaces a waiting one.
void WhilePumping(std::function<bool()> step, UINT everyMs);
// Drops a step still waiting, so that it cannot outlive what it refers to.
void DropPumpingStep();

// Moves the real pointer to a screen point through the system's input queue, as a person's
// mouse does (windows under it get their mouse moves).
void MovePointer(POINT screen);

// A visible top-level window of this process with that class (say "#32770" for a system
// dialog), or nullptr; never another process's window.
void* FindOwnWindow(const char* className);
// The menu a pop-up menu window (class "#32768") shows, or nullptr.
HMENU MenuOfMenuWindow(HWND menuWindow);

// The top-level windows of this thread, and every descendant of a window, in the system's
// order (Win32 enumeration callbacks are stdcall functions, which lambdas are not on i686).
std::vector<HWND> ThreadWindows();
std::vector<HWND> ChildWindows(HWND parent);

// Answers message boxes from a script and records what was asked.
struct ScriptedDialogs : seams::IDialogs {
  struct Call {
    std::string text, caption;
    unsigned flags;
  };
  std::vector<Call> calls;
  std::vector<int> answers;  // used in order; IDOK after they run out
  int Ask(void* owner, const std::string& text, const std::string& caption, unsigned flags) override;
};

// Records shell opens and process starts instead of performing them.
struct RecordingShell : seams::IShell {
  std::vector<std::pair<std::string, std::string>> opened, started;
  bool Open(const std::string& target, const std::string& params) override {
    opened.emplace_back(target, params);
    return true;
  }
  bool StartProcess(const std::string& program, const std::string& params) override {
    started.emplace_back(program, params);
    return true;
  }
};

struct FixedClock : seams::IClock {
  TDateTime now = 0;
  TDateTime Now() override { return now; }
};

}  // namespace testing_support
