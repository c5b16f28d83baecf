#include "tests/widgets/WidgetsSupport.h"

#include <shellapi.h>

#include <cstring>

#include "platform/forms/Forms.h"
#include "tests/support/TestSupport.h"

namespace widgets_testing {

void EnsureApplication() {
  static TApplication app;
  if (!Application) {
    Application = &app;
    app.Initialize();
  }
}

HICON SolidIcon(COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP colourBits = CreateCompatibleBitmap(screen, 16, 16);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, colourBits);
  HBRUSH b = CreateSolidBrush(colour);
  RECT r{0, 0, 16, 16};
  FillRect(dc, &r, b);
  SelectObject(dc, mask);
  PatBlt(dc, 0, 0, 16, 16, BLACKNESS);  // opaque everywhere
  SelectObject(dc, old);
  DeleteObject(b);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  ICONINFO ii{TRUE, 0, 0, mask, colourBits};
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(colourBits);
  DeleteObject(mask);
  return icon;
}

COLORREF IconColour(HICON icon) {
  if (!icon) return CLR_INVALID;
  MemoryCanvas c(16, 16);
  DrawIconEx(c.Dc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
  return c.Pixel(8, 8);
}

std::string StripBitmapFile(const std::vector<COLORREF>& colours, int w, int h) {
  int width = w * (int)colours.size();
  int stride = (width * 3 + 3) & ~3;
  std::string bits(stride * h, '\0');
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = colours[x / w];
      char* p = &bits[y * stride + x * 3];
      p[0] = (char)GetBValue(c);
      p[1] = (char)GetGValue(c);
      p[2] = (char)GetRValue(c);
    }
  BITMAPINFOHEADER bih{sizeof bih, width, h, 1, 24, BI_RGB, (DWORD)bits.size(), 0, 0, 0, 0};
  BITMAPFILEHEADER bfh{0x4D42, (DWORD)(sizeof bfh + sizeof bih + bits.size()), 0, 0, (DWORD)(sizeof bfh + sizeof bih)};
  std::string file(reinterpret_cast<const char*>(&bfh), sizeof bfh);
  file.append(reinterpret_cast<const char*>(&bih), sizeof bih);
  return file + bits;
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

MemoryCanvas::MemoryCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
  Fill(RGB(255, 255, 255));
}

MemoryCanvas::~MemoryCanvas() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

void MemoryCanvas::Fill(COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  RECT r{0, 0, width_, height_};
  FillRect(dc_, &r, b);
  DeleteObject(b);
}

int MemoryCanvas::CountOf(COLORREF c) const {
  int n = 0;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) n += GetPixel(dc_, x, y) == c;
  return n;
}

bool RecordingNotifyArea::NotifyIcon(DWORD message, const TNotifyIconData& data) {
  calls.push_back({message, data, IconColour(data.Icon())});
  return answer;
}

int RecordingNotifyArea::Count(DWORD message) const {
  int n = 0;
  for (const auto& c : calls) n += c.message == message;
  return n;
}

const RecordingNotifyArea::Call* RecordingNotifyArea::Last(DWORD message) const {
  for (auto it = calls.rbegin(); it != calls.rend(); ++it)
    if (it->message == message) return &*it;
  return nullptr;
}

std::vector<COLORREF> RecordingNotifyArea::ModifiedColours() const {
  std::vector<COLORREF> out;
  for (const auto& c : calls)
    if (c.message == NIM_MODIFY) out.push_back(c.iconColour);
  return out;
}

bool MoveCursorTo(POINT target) {
  auto there = [&] {
    POINT now;
    GetCursorPos(&now);
    return now.x == target.x && now.y == target.y;
  };
  for (int attempt = 0; attempt < 10; ++attempt) {
    SetCursorPos(target.x, target.y);
    testing_support::PumpFor(40);
    if (!there()) continue;
    testing_support::PumpFor(40);
    if (there()) return true;
  }
  return false;
}

namespace {
int g_choose = 0;
void CALLBACK CloseMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND menu = FindWindowA("#32768", nullptr);
  if (g_choose > 0 && menu) {
    for (int i = 0; i < g_choose; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  } else {
    EndMenu();
  }
}
}  // namespace

void CloseMenuSoon(int ms, int choose) {
  g_choose = choose;
  SetTimer(nullptr, 0, ms, CloseMenuTimer);
}

}  // namespace widgets_testing
