#include "skin/SkinTabs.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/forms/Properties.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinCommonCtrls.h"
#include "skin/SkinCtlUtil.h"
#include "skin/SkinData.h"
#include "skin/SkinMetrics.h"
#include "skin/SkinPaint.h"

using namespace skinctl;

// ------------------------------------------------------------------ TSkinTab

void TSkinTab::AttachHandle(HWND handle, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas) {
  if (attached_) return;
  TSkinControl::AttachHandle(handle, skinData, formSkinner, canvas);
  focused_ = GetFocus() == handle_;
  enabled_ = !(GetWindowLongA(handle_, GWL_STYLE) & WS_DISABLED);
  caption_ = WindowText(handle_);
  PrepareTabImages();
  AttachUpDownChild();
}

void TSkinTab::PrepareTabImages() {
  position_ = skinmetrics::TabPosition((DWORD)GetWindowLongA(handle_, GWL_STYLE));
  TDataSkinBorder* tabs = WithImage(skinData_->Model().Tabs);
  if (!tabs || tabs->Bitmap2.Empty()) {
    tabImage_.Clear();
    borderImage_.Clear();
    if (tabs) tabImage_.Assign(tabs->Bitmap);
    if (tabs && position_ == 1) SkinFlipBitmap(tabImage_);
    return;
  }
  tabImage_.Assign(tabs->Bitmap);
  borderImage_.Assign(tabs->Bitmap2);
  if (position_ == 1) {
    SkinFlipBitmap(tabImage_);
    SkinFlipBitmap(borderImage_);
  } else if (position_ == 2) {
    SkinRotateLeft(borderImage_);
  } else if (position_ == 3) {
    SkinRotateRight(borderImage_);
  }
}

bool TSkinTab::AttachUpDownChild() {
  HWND child = FindWindowExA(handle_, nullptr, "msctls_updown32", nullptr);
  if (!child) return false;
  if (!upDown_) {
    upDown_ = New<TSkinUpDown>(this);
    upDown_->AttachHandle(child, skinData_, formSkinner_, canvas_);
  }
  return (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TSkinTab::UpdateSkin() {
  PrepareTabImages();
  TSkinControl::UpdateSkin();
}

void TSkinTab::Paint(HDC dc, const RECT& r) {
  TDataSkinBorder* tabs = WithImage(skinData_->Model().Tabs);
  if (!tabs || tabImage_.Empty()) return;
  const RECT a = AtOrigin(r);
  RECT page = a;
  SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, (LPARAM)&page);
  InflateRect(&page, 4, 4);
  const int count = (int)SendMessageA(handle_, TCM_GETITEMCOUNT, 0, 0);
  const int selected = (int)SendMessageA(handle_, TCM_GETCURFOCUS, 0, 0);
  auto images = (HIMAGELIST)SendMessageA(handle_, TCM_GETIMAGELIST, 0, 0);
  RECT strip = a;
  switch (position_) {
    case 1: page.bottom -= 1; strip.top = page.bottom; break;
    case 2: page.left += 1; strip.right = page.left; break;
    case 3: page.right -= 1; strip.left = page.right; break;
    default: page.top += 1; strip.bottom = page.top; break;
  }
  const bool sideways = position_ >= 2;
  const int bw = sideways ? Height(strip) : Width(strip), bh = sideways ? Width(strip) : Height(strip);
  if (bw > 0 && bh > 0) {
    PrepareBuffer(strip_, bw, bh, FaceColour());
    HDC b = strip_.Canvas().Handle();
    SelectedFont font(b, (HFONT)SendMessageA(handle_, WM_GETFONT, 0, 0));
    SetBkMode(b, TRANSPARENT);
    const int frames = std::max(tabs->FrameCount, 1);
    for (int i = 0; i < count; ++i) {
      wchar_t text[81] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
      item.pszText = text;
      item.cchTextMax = 80;
      item.iImage = -1;
      SendMessageW(handle_, TCM_GETITEMW, (WPARAM)i, (LPARAM)&item);
      RECT tr{};
      if (!SendMessageA(handle_, TCM_GETITEMRECT, (WPARAM)i, (LPARAM)&tr)) continue;
      const RECT mapped = skinmetrics::MapTabRect(tr, position_, bw, page.bottom, a.right);
      const int frame = i == selected ? 2 : 1;
      DrawNinePart(b, mapped, tabImage_, false, tabs->Tile != 0, tabs->Trans != 0, frames, frame, tabs->Margins());
      SetTextColor(b, ColorToRGB(frame == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2));
      std::string caption;
      SkinWideToAnsi(text, caption);
      DrawIconTextList(b, mapped, 1, caption, item.iImage, images);
    }
    if (position_ == 2) SkinRotateLeft(strip_);
    if (position_ == 3) SkinRotateRight(strip_);
    const int saved = SaveDC(dc);
    if (AttachUpDownChild()) {
      RECT u{};
      GetWindowRect(FindWindowExA(handle_, nullptr, "msctls_updown32", nullptr), &u);
      MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&u), 2);
      ExcludeClipRect(dc, u.left, u.top, u.right, u.bottom);
    }
    BitBlt(dc, strip.left, strip.top, Width(strip), Height(strip), strip_.Canvas().Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
  }
  if (!borderImage_.Empty()) DrawNinePartDirect(dc, page, borderImage_, false, false, 1, 1, TSkinMargins{4, 5, 4, 4});
}

// ------------------------------------------------------------------ TSkinTab31

void TSkinTab31::Attach(TSkinForm* formSkinner, TSkinData* skinData, bool, TCanvas* canvas) {
  if (attached_) return;
  auto* owner = dynamic_cast<TWinControl*>(Owner());
  if (!owner) return;
  TSkinControl::AttachHandle(owner->Handle(), skinData, formSkinner, canvas);
  control_ = owner;
  if (TDataSkinBorder* tabs = WithImage(skinData_->Model().Tabs)) {
    tabImage_.Assign(tabs->Bitmap);
    SkinFlipBitmap(tabImage_);
  }
  if (owner->ComponentCount() > 0)
    if (auto* scroller = dynamic_cast<TWinControl*>(owner->Components(0));
        scroller && LowerClassName(scroller->Handle()) == "msctls_updown32") {
      scroller_ = scroller;
      upDown_ = New<TSkinUpDown>(this);
      upDown_->Horizontal = true;
      upDown_->AttachHandle(scroller->Handle(), skinData_, formSkinner_, canvas_);
    }
}

bool TSkinTab31::BeforeDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return true;  // the control paints too, into an already valid window
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeDefault(m);
  }
}

void TSkinTab31::Paint(HDC dc, const RECT& r) {
  TDataSkinBorder* tabs = WithImage(skinData_->Model().Tabs);
  if (!tabs || !control_ || tabImage_.Empty()) return;
  PrepareBuffer(buffer_, Width(r), Height(r), FaceColour());
  TCanvas& c = buffer_.Canvas();
  if (TFont* f = FontProperty(control_)) c.Font().Assign(*f);
  std::vector<std::string> names;
  if (const TPropInfo* p = FindProperty(control_, "Tabs"); p && p->Get) {
    const TPropValue value = p->Get(control_);
    if (auto* v = std::get_if<std::vector<std::string>>(&value)) names = *v;
  }
  const int current = GetOrdPropByName(control_, "TabIndex");
  int x = GetOrdPropByName(control_, "StartMargin");
  const int limit = Width(r) - GetOrdPropByName(control_, "EndMargin");
  const bool scrollerShown = scroller_ && scroller_->Visible();
  const int frames = std::max(tabs->FrameCount, 1);
  for (int i = std::max(GetOrdPropByName(control_, "FirstIndex"), 0); i < (int)names.size(); ++i) {
    const int frame = i == current ? 2 : 1;
    const int w = c.TextWidth(names[(size_t)i]) + 9;
    // Tabs follow each other: once one does not fit, none after it is drawn either.
    if (x + w > limit || (scrollerShown && x + 12 + w > limit)) break;
    const RECT t{x, 0, x + w, Height(r)};
    DrawNinePart(c.Handle(), t, tabImage_, false, tabs->Tile != 0, tabs->Trans != 0, frames, frame, tabs->Margins());
    c.Font().SetColor(frame == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2);
    DrawTextVCentered(c, t, DT_CENTER, enabled_, names[(size_t)i]);
    x += w;
  }
  BitBlt(dc, r.left, r.top, Width(r), Height(r), c.Handle(), 0, 0, SRCCOPY);
}
