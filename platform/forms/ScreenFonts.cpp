// Font enumeration over the screen's device context.
#include "platform/forms/ScreenFonts.h"

#include <windows.h>

namespace {
int CALLBACK AddFamily(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data) {
  reinterpret_cast<std::vector<std::string>*>(data)->push_back(lf->lfFaceName);
  return 1;
}
}  // namespace

std::vector<std::string> EnumScreenFontFamilies() {
  std::vector<std::string> names;
  HDC dc = GetDC(nullptr);
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(dc, &lf, AddFamily, (LPARAM)&names, 0);
  ReleaseDC(nullptr, dc);
  return names;
}
