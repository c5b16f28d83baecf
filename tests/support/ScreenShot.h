// Pictures of the screen for the test suites: what a person sees of a window.
#pragma once
#include <windows.h>

#include <string>

namespace testing_support {

// Saves what the screen shows in `r` (screen coordinates) as a PNG file at `path` with its
// extension made ".png"; where no PNG encoder is installed, as a 24-bit .bmp file instead.
// Reads the screen's bits through GDI in this process and starts no other program. Any thread
// (it initialises COM for itself when it needs to). False when nothing could be written.
bool SaveScreenRect(const RECT& r, const std::string& path);

}  // namespace testing_support
