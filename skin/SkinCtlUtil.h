// Small helpers the control skinners share: the element a painter needs only when it has an
// image, solid fills, a font selected for the length of a scope, and glyph pictures copied
// into skin bitmaps. GUI thread.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/forms/Graphics.h"
#include "platform/forms/Properties.h"
#include "platform/graphics/Bitmap.h"
#include "skin/SkinObjects.h"

class TObject;

namespace skinctl {

// The element when it exists and its image strip is not empty, else null.
template <class T>
T* WithImage(const std::unique_ptr<T>& e) {
  return e && !e->Bitmap.Empty() ? e.get() : nullptr;
}

inline void SetBit(uint8_t& bits, uint8_t bit, bool on) { bits = on ? (uint8_t)(bits | bit) : (uint8_t)(bits & ~bit); }

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
inline RECT AtOrigin(const RECT& r) { return RECT{0, 0, Width(r), Height(r)}; }

void FillSolid(HDC dc, const RECT& r, TColor colour);
void FrameSolid(HDC dc, const RECT& r, TColor colour);

// Selects a font into a DC and puts the old one back when the scope ends.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font) : dc_(dc), old_(font ? SelectObject(dc, font) : nullptr) {}
  ~SelectedFont() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Sizes a buffer to w x h (at least 1 x 1) and fills it with the colour.
void PrepareBuffer(TBitmap& b, int w, int h, TColor fill);

// A copy of a bitmap handle's picture (empty for none).
void CopyBitmapHandle(HBITMAP h, TBitmap& out);

// Class name of a window in lower case.
std::string LowerClassName(HWND h);

// The window's text in the ANSI code page.
std::string WindowText(HWND h);

// Text in the canvas's font and font colour on a transparent background.
void DrawCanvasText(TCanvas& canvas, const std::string& text, RECT r, UINT flags);

// An image-list icon beside a single-line caption (the DC's font and colours): left (0),
// centre (1) or right (2), the icon vertically centred and never closer than 2 pixels to the
// left edge; no icon for index -1, no list, or an icon not narrower than the rectangle.
void DrawIconTextList(HDC dc, const RECT& r, int alignment, const std::string& text, int image, HIMAGELIST images);

// A published property that a skinner changed on a control, given back exactly when the
// loan ends (or earlier through GiveBack). Nothing is changed when the control lacks it.
class PropertyLoan {
 public:
  PropertyLoan() = default;
  ~PropertyLoan() { GiveBack(); }
  PropertyLoan(const PropertyLoan&) = delete;
  PropertyLoan& operator=(const PropertyLoan&) = delete;
  // Sets the property from its value name or decimal text, keeping the old value.
  void Lend(TObject* control, const std::string& name, const std::string& value);
  void GiveBack();
  // Drops the loan without writing (the control is going away).
  void Forget() { control_ = nullptr; }

 private:
  TObject* control_ = nullptr;
  std::string name_;
  TPropValue old_;
};

// A published property of a control by name: the font object, or null.
TFont* FontProperty(TObject* control);

}  // namespace skinctl
