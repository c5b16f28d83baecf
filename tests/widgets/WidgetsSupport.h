// Helpers of the UI component tests: the one application object, solid test pictures, a
// memory canvas to read painted pixels from, and a notification area that records calls.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "widgets/NotifyArea.h"

namespace widgets_testing {

// Makes the process's application object (with its hidden window) once.
void EnsureApplication();

// A 16 x 16 opaque icon of one colour; the caller destroys it.
HICON SolidIcon(COLORREF colour);
// The colour at the middle of an icon.
COLORREF IconColour(HICON icon);
// A 24-bit bitmap file of `colours.size()` pictures of `w` x `h` side by side.
std::string StripBitmapFile(const std::vector<COLORREF>& colours, int w, int h);
// Bytes as the hex digits of a form description's binary value.
std::string Hex(const std::string& bytes);

// A white 32-bit memory bitmap with a device context selected into it.
class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  HDC Dc() const { return dc_; }
  void Fill(COLORREF c);
  COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
  int CountOf(COLORREF c) const;

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

struct RecordingNotifyArea : seams::INotifyArea {
  struct Call {
    DWORD message;
    TNotifyIconData data;
    COLORREF iconColour;  // of the icon handle at the time of the call
  };
  std::vector<Call> calls;
  bool answer = true;
  bool NotifyIcon(DWORD message, const TNotifyIconData& data) override;
  int Count(DWORD message) const;
  const Call* Last(DWORD message) const;
  // The icon colours of the NIM_MODIFY calls, in order.
  std::vector<COLORREF> ModifiedColours() const;
};

// Moves the pointer and waits until the system reports it there and it stays (the X
// server's own motion events arrive late); false when it never settles.
bool MoveCursorTo(POINT target);

// Closes the menu being tracked after `ms` milliseconds; `choose` > 0 picks that item
// (1-based, by keyboard) instead of cancelling.
void CloseMenuSoon(int ms, int choose = 0);

}  // namespace widgets_testing
