// Every face the windows name keeps every one-pixel stroke at the sizes they use: a face that
// drops one shows "010-1111" as "010 1111" and "二" with one line. Measured on the program's
// own Wine prefix, which chooses what stands in for these faces.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/forms/Graphics.h"

namespace {

struct Face {
  std::string what;
  LOGFONTA lf;
};

LOGFONTA LogFontOf(HGDIOBJ font) {
  LOGFONTA lf{};
  GetObjectA(font, sizeof lf, &lf);
  return lf;
}

// The faces of the form descriptions and the chat window's font list at 9 to 12 points, plain
// and bold, as the class library's font makes them, and the system's faces that frames, menus,
// message boxes, hints and plain controls draw with.
std::vector<Face> FacesTheWindowsUse() {
  std::vector<Face> faces;
  for (const char* name : {"宋体", "新宋体", "SimSun", "NSimSun", "MS Shell Dlg", "MS Shell Dlg 2", "Tahoma", "Default"})
    for (int points = 9; points <= 12; ++points) {
      TFont f;
      f.SetName(name);
      f.SetSize(points);
      faces.push_back({std::string(name) + " " + std::to_string(points) + "pt", LogFontOf(f.Handle())});
      f.SetStyle(fsBold);  // bold labels
      faces.push_back({std::string(name) + " bold " + std::to_string(points) + "pt", LogFontOf(f.Handle())});
    }
  faces.push_back({"DEFAULT_GUI_FONT", LogFontOf(GetStockObject(DEFAULT_GUI_FONT))});
  NONCLIENTMETRICSA m{sizeof m};
  EXPECT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
  faces.push_back({"caption font", m.lfCaptionFont});
  faces.push_back({"small caption font", m.lfSmCaptionFont});
  faces.push_back({"menu font", m.lfMenuFont});
  faces.push_back({"status font", m.lfStatusFont});
  faces.push_back({"message font", m.lfMessageFont});
  return faces;
}

// Draws a glyph black on white and counts the bands of rows that hold dark pixels: a stroke
// the face loses is a band fewer.
int InkBands(const LOGFONTA& lf, const wchar_t* glyph) {
  const int side = 64;
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HFONT font = CreateFontIndirectA(&lf);
  EXPECT_TRUE(dc && bmp && font);
  if (!dc || !bmp || !font) return -1;
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all{0, 0, side, side};
  FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, 8, 8, glyph, lstrlenW(glyph));
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  int bands = 0;
  bool inBand = false;
  for (int y = 0; y < side; ++y) {
    bool ink = false;
    for (int x = 0; x < side && !ink; ++x) {
      uint32_t c = px[y * side + x];
      ink = ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF)) / 3 < 128;
    }
    if (ink && !inBand) ++bands;
    inBand = ink;
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBmp);
  DeleteObject(font);
  DeleteObject(bmp);
  DeleteDC(dc);
  return bands;
}

}  // namespace

TEST(FontStrokes, EveryFaceTheWindowsUseDrawsEveryStroke) {
  struct Glyph {
    const wchar_t* text;
    const char* name;
    int bands;
  } glyphs[] = {{L"-", "hyphen", 1}, {L"\x4E00", "一", 1}, {L"\x4E8C", "二", 2}, {L"=", "equals", 2}};
  for (const Face& face : FacesTheWindowsUse())
    for (const Glyph& g : glyphs)
      EXPECT_EQ(InkBands(face.lf, g.text), g.bands)
          << face.what << " (" << face.lf.lfFaceName << ", height " << face.lf.lfHeight << "): " << g.name;
}
