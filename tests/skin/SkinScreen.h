// Helpers of the test programs that skin real windows: the one skin data component of the
// program (the coded skin, main form type) and pixels read from the screen.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TestApplication.h"

namespace skintest {

// Made on first use, with the test application; never freed (the program's skin).
inline TSkinData& CodedData() {
  static TSkinData* data = [] {
    testing_support::TestApplication();
    auto* d = new TSkinData(nullptr);
    d->SetLoading(true);
    d->SetSkinFile(std::string(KARV_SKINS_DIR) + "/coded.skin");
    d->SetActive(true);
    d->Loaded();
    return d;
  }();
  return *data;
}

// 0x00RRGGBB of a screen pixel.
inline uint32_t ScreenRgb(int x, int y) {
  GdiFlush();
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Loads the build's skin `file` into the coded data component and waits until the form
// skinner shows its frame (its title height, its caption buttons). False when it does not.
inline bool ApplySkinFile(TSkinForm* skinner, const std::string& file) {
  TSkinData& d = CodedData();
  d.SetSkinFile(std::string(KARV_SKINS_DIR) + "/" + file);
  if (d.NoSkin()) return false;
  int top = d.Model().Top->Bitmap.Height() / (d.Model().Top->FrameCount > 1 ? d.Model().Top->FrameCount : 1);
  return testing_support::PumpUntil(
      [&] { return skinner->FrameWidths().top == top && !skinner->CaptionButtons().empty(); }, 2000);
}

}  // namespace skintest
