// The screen object of the class library: the cursors by number (the stock ones and those
// a program registers), an optional cursor that overrides every control's, the screen size
// and the list of the program's forms.
// One screen object per process, made on first use; it owns the cursors it loads. GUI thread
// only.
#pragma once
#include <windows.h>

#include <map>
#include <vector>

class TCustomForm;

constexpr int crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
              crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crNo = -18,
              crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

class TScreen {
 public:
  TScreen() = default;
  TScreen(const TScreen&) = delete;
  TScreen& operator=(const TScreen&) = delete;

  // The cursor of a number: a registered one, else the stock cursor, else the arrow.
  HCURSOR Cursors(int id) const;
  // Registers a cursor under a number (shared cursors from LoadCursor; not destroyed).
  void SetCursors(int id, HCURSOR cursor);
  // crDefault lets every control show its own cursor; anything else is shown everywhere.
  int Cursor() const { return cursor_; }
  void SetCursor(int id);

  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

  int FormCount() const { return (int)forms_.size(); }
  TCustomForm* Forms(int index) const { return forms_.at(index); }
  // Forms enter the list when created and leave it when destroyed.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

 private:
  std::map<int, HCURSOR> cursors_;
  int cursor_ = crDefault;
  std::vector<TCustomForm*> forms_;
};

// The screen object of the process. It lives until the process ends, so forms destroyed
// during static destruction can still leave its list.
TScreen& Screen();
