// A memory device context for measuring text, reading font metrics and converting bitmap
// bits, in place of the screen's: under Wine every GetDC(nullptr) is a round trip to the
// server, while a memory DC is made inside the process. It is compatible with the screen,
// so metrics and the pixels per inch are the screen's. Owns the DC; one thread.
#pragma once
#include <windows.h>

class TMeasureDC {
 public:
  TMeasureDC() : dc_(CreateCompatibleDC(nullptr)) {}
  TMeasureDC(const TMeasureDC&) = delete;
  TMeasureDC& operator=(const TMeasureDC&) = delete;
  ~TMeasureDC() {
    if (dc_) DeleteDC(dc_);
  }
  // Null when the system has no DC left; the GDI calls on it then fail and measure nothing.
  HDC Handle() const { return dc_; }

 private:
  HDC dc_;
};
