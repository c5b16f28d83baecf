#include "skin/SkinCtlUtil.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/forms/Properties.h"

namespace skinctl {

void FillSolid(HDC dc, const RECT& r, TColor colour) {
  if (Width(r) <= 0 || Height(r) <= 0) return;
  HBRUSH b = CreateSolidBrush(ColorToRGB(colour));
  if (!b) return;
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void FrameSolid(HDC dc, const RECT& r, TColor colour) {
  if (Width(r) <= 0 || Height(r) <= 0) return;
  HBRUSH b = CreateSolidBrush(ColorToRGB(colour));
  if (!b) return;
  FrameRect(dc, &r, b);
  DeleteObject(b);
}

void PrepareBuffer(TBitmap& b, int w, int h, TColor fill) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  if (b.Width() != w || b.Height() != h) b.SetSize(w, h);
  FillSolid(b.Canvas().Handle(), RECT{0, 0, w, h}, fill);
}

void CopyBitmapHandle(HBITMAP h, TBitmap& out) {
  BITMAP info{};
  if (!h || !GetObjectA(h, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    out.Clear();
    return;
  }
  out.SetSize(info.bmWidth, info.bmHeight);
  HDC src = CreateCompatibleDC(nullptr);
  if (!src) return;
  HGDIOBJ old = SelectObject(src, h);
  BitBlt(out.Canvas().Handle(), 0, 0, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}

std::string LowerClassName(HWND h) {
  char name[101] = {};
  if (!GetClassNameA(h, name, sizeof name)) return {};
  std::string s(name);
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return (char)std::tolower(c); });
  return s;
}

std::string WindowText(HWND h) {
  int n = GetWindowTextLengthA(h);
  if (n <= 0) return {};
  std::string s((size_t)n + 1, '\0');
  s.resize((size_t)GetWindowTextA(h, s.data(), n + 1));
  return s;
}

void DrawCanvasText(TCanvas& canvas, const std::string& text, RECT r, UINT flags) {
  if (text.empty()) return;
  HDC dc = canvas.Handle();
  SetTextColor(dc, ColorToRGB(canvas.Font().Color()));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text.c_str(), (int)text.size(), &r, flags);
  SetBkMode(dc, oldMode);
}

void DrawIconTextList(HDC dc, const RECT& r, int alignment, const std::string& text, int image, HIMAGELIST images) {
  int iw = 0, ih = 0;
  if (image != -1 && images) ImageList_GetIconSize(images, &iw, &ih);
  if (iw >= Width(r)) iw = 0;
  RECT measure{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), (int)text.size(), &measure, DT_CALCRECT | DT_SINGLELINE);
  const int both = iw ? iw + 1 + measure.right : measure.right;
  int x = r.left + 2;
  if (alignment == 1) x = r.left + (Width(r) - both) / 2;
  if (alignment == 2) x = r.right - 2 - both;
  x = std::max(x, (int)r.left + 2);
  if (iw) {
    ImageList_Draw(images, image, dc, x, r.top + (Height(r) - ih) / 2, ILD_TRANSPARENT);
    x += iw + 1;
  }
  RECT t{x, r.top, r.right, r.bottom};
  DrawTextA(dc, text.c_str(), (int)text.size(), &t, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS);
}

void PropertyLoan::Lend(TObject* control, const std::string& name, const std::string& value) {
  GiveBack();
  const TPropInfo* info = control ? FindProperty(control, name) : nullptr;
  if (!info || !info->Get || !info->Set) return;
  control_ = control;
  name_ = name;
  old_ = info->Get(control);
  try {
    SetPropValue(control, name, value);  // brings the text to the property's own kind
  } catch (...) {
    // A value the property does not take leaves it as it was.
  }
}

void PropertyLoan::GiveBack() {
  if (!control_) return;
  TObject* c = control_;
  control_ = nullptr;
  if (const TPropInfo* info = FindProperty(c, name_); info && info->Set) info->Set(c, old_);
}

TFont* FontProperty(TObject* control) {
  if (!control || !HasProperty(control, "Font")) return nullptr;
  return dynamic_cast<TFont*>(GetObjectProp(control, "Font"));
}

}  // namespace skinctl
