#include "skin/SkinNCObjects.h"

#include <algorithm>
#include <cctype>

#include "platform/forms/ImgList.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/MeasureDC.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManager.h"
#include "skin/SkinPopupMenu.h"
#include "skin/SkinObjects.h"
#include "skin/SkinPaint.h"

namespace {
// The system's menu font; the caller deletes it.
HFONT MakeMenuFont() {
  NONCLIENTMETRICSA m{};
  m.cbSize = 340;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0)) return nullptr;
  return CreateFontIndirectA(&m.lfMenuFont);
}

struct ScopedFont {
  explicit ScopedFont(HDC dc) : dc(dc), font(MakeMenuFont()) {
    old = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
  }
  ~ScopedFont() {
    SelectObject(dc, old);
    if (font) DeleteObject(font);
  }
  HDC dc;
  HFONT font;
  HGDIOBJ old;
};

void FillColour(HDC dc, const RECT& r, TColor c) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(c));
  FillRect(dc, &r, b);
  DeleteObject(b);
}

// An item's text, type and state, by command identifier (searching sub-menus) or position.
struct ItemInfo {
  std::string text;
  UINT type = 0, state = 0;
  bool found = false;
};

ItemInfo ReadItem(HMENU menu, UINT item, bool byPosition) {
  ItemInfo out;
  if (!menu) return out;
  char buf[81] = "";
  MENUITEMINFOA mi{sizeof mi};
  mi.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
  mi.dwTypeData = buf;
  mi.cch = sizeof buf - 1;
  if (!GetMenuItemInfoA(menu, item, byPosition, &mi)) return out;
  out.text = buf;
  out.type = mi.fType;
  out.state = mi.fState;
  out.found = true;
  return out;
}

bool IsSeparator(const ItemInfo& i) { return (i.type & MFT_SEPARATOR) || i.text.empty() || i.text == "-"; }
}  // namespace

// ---------------------------------------------------------------- TNCObject

void TNCObject::MouseDown() {
  if (owner_->HotObject() && owner_->HotObject() != this) owner_->HotObject()->MouseLeave();
  if (!Visible) return;
  owner_->SetHotObject(this);
  State = kNCPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = kNCHot;
  Paint();
}

void TNCObject::MouseMove() {
  TNCObject* hot = owner_->HotObject();
  if (hot == this) return;
  if (hot) hot->MouseLeave();
  if (!Visible) return;
  owner_->SetHotObject(this);
  State = kNCHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  if (owner_->HotObject() == this) owner_->SetHotObject(nullptr);
  State = kNCNormal;
  Paint();
}

// ---------------------------------------------------------------- caption buttons

void TSkinSysButton::PaintFrame(HDC dc, int frame) {
  if (Data->Bitmap.Empty() || IsRectEmpty(&Rect)) return;
  DrawFrame(dc, Rect, Data->Bitmap, true, std::max(Data->FrameCount, 1), frame);
}

void TSkinSysButton::Paint() {
  if (!Visible || IsRectEmpty(&Rect)) return;
  HDC dc = owner_->WindowDC();
  if (!dc) return;
  if (ShowsIcon) {
    TransparentCopy(dc, Rect, Icon);
  } else {
    int frame = State;
    if (State == kNCHot && Data->Visibility == 100) frame = 4;
    PaintFrame(dc, frame);
  }
  ReleaseDC(owner_->Window(), dc);
}

// ---------------------------------------------------------------- menu bar

void TMenuBtn::Paint() {
  TSkinMenuBar* bar = owner_->MenuBar();
  if (!bar || !Visible || IsRectEmpty(&Rect)) return;
  HDC dc = owner_->WindowDC();
  if (!dc) return;
  const RECT& b = bar->BarRect();
  int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  BitBlt(dc, Rect.left, Rect.top, w, h, bar->Image().Canvas().Handle(), Rect.left - b.left, Rect.top - b.top, SRCCOPY);
  const TSkinModel& m = SkinData->Model();
  if (State == kNCPressed || State == kNCHot) FillColour(dc, Rect, m.Hilight);
  ScopedFont font(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(!Enabled ? clGrayText : (State == kNCNormal ? m.MenuBarText : m.HilightText)));
  RECT r = Rect;
  DrawTextA(dc, Caption.c_str(), (int)Caption.size(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ReleaseDC(owner_->Window(), dc);
}

TSkinMenuBar::TSkinMenuBar(TSkinForm* owner, TSkinData* data) : owner_(owner), data_(data) {}

TSkinMenuBar::~TSkinMenuBar() = default;

void TSkinMenuBar::BuildFromMenu(HMENU menu) { Fill(menu, false); }

void TSkinMenuBar::Paint(HDC dc, const RECT& bar) {
  barRect_ = bar;
  int w = bar.right - bar.left, h = bar.bottom - bar.top;
  if (w <= 0 || h <= 0) return;
  TBitmap& work = SkinWorkBitmap();
  if (work.Width() != w || work.Height() != h) work.SetSize(w, h);
  HDC wdc = work.Canvas().Handle();
  const TSkinModel& m = data_->Model();
  RECT local{0, 0, w, h};
  // A right-to-left bar lays its buttons from the right edge: x is the distance from the
  // edge the buttons start at.
  bool rtl = owner_->RightToLeft();
  int x = 6;
  TDataSkinObject* image = m.MenuBar.get();
  if (image && !image->Bitmap.Empty()) {
    DrawNinePart(wdc, local, image->Bitmap, true, false, false, 2, owner_->ActiveFlag() ? 1 : 2, image->Margins());
    x = rtl ? image->RightWidth + 8 : image->LeftWidth + 4;
    if (x > w) x = 12;
  } else {
    FillColour(wdc, local, m.Menubar);
  }
  image_.SetSize(w, h);
  BitBlt(image_.Canvas().Handle(), 0, 0, w, h, wdc, 0, 0, SRCCOPY);
  ScopedFont font(wdc);
  SetBkMode(wdc, TRANSPARENT);
  for (auto& b : buttons_) {
    if (!b->Visible) {
      b->Rect = RECT{};
      continue;
    }
    // Measured as drawn: the accelerator marker "&" takes no room.
    RECT measure{0, 0, 0, 0};
    DrawTextA(wdc, b->Caption.c_str(), (int)b->Caption.size(), &measure, DT_SINGLELINE | DT_CALCRECT);
    int bw = b->Caption.empty() ? 0 : (measure.right - measure.left) + 10;
    int left = rtl ? w - x - bw : x;
    RECT r{left, 0, left + bw, h - 1};
    SetTextColor(wdc, ColorToRGB(b->Enabled ? m.MenuBarText : clGrayText));
    DrawTextA(wdc, b->Caption.c_str(), (int)b->Caption.size(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    b->Rect = RECT{bar.left + left, bar.top, bar.left + left + bw, bar.bottom - 1};
    b->State = kNCNormal;
    x += bw;
  }
  PaintMDIButtons(wdc, bar);
  BitBlt(dc, bar.left, bar.top, w, h, wdc, 0, 0, SRCCOPY);
}

// A frame whose active MDI child is maximised shows that child's buttons in the bar.
void TSkinMenuBar::PaintMDIButtons(HDC wdc, const RECT& bar) {
  TSkinManage* manager = SkinManager();
  if (!owner_->ActiveChildMaximized()) return;
  for (auto& b : owner_->CaptionButtons()) {
    if (!b->Visible || b->Data->Visibility != 100 || b->Data->Bitmap.Empty() || IsRectEmpty(&b->Rect)) continue;
    RECT r = b->Rect;
    OffsetRect(&r, -bar.left, -bar.top);
    DrawFrame(wdc, r, b->Data->Bitmap, true, std::max(b->Data->FrameCount, 1), 1);
  }
  if (manager && !manager->MaximisedChild()) manager->SetMaximisedChild(true);
}

TMenuBtn* TSkinMenuBar::ButtonAt(POINT p) const {
  for (auto& b : buttons_)
    if (!b->Caption.empty() && PtInRect(&b->Rect, p)) return b.get();
  return nullptr;
}

TMenuBtn* TSkinMenuBar::ButtonByAccel(char c) const {
  for (auto& b : buttons_) {
    if (!b->Enabled || !b->Visible) continue;
    size_t at = b->Caption.find('&');
    while (at != std::string::npos && at + 1 < b->Caption.size() && b->Caption[at + 1] == '&')
      at = b->Caption.find('&', at + 2);
    if (at != std::string::npos && at + 1 < b->Caption.size() &&
        std::toupper((unsigned char)b->Caption[at + 1]) == std::toupper((unsigned char)c))
      return b.get();
  }
  return nullptr;
}

// ---------------------------------------------------------------- menu items

void SkinOwnerDrawMenu(HMENU menu) {
  int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA mi{sizeof mi};
    mi.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, (UINT)i, TRUE, &mi)) continue;
    if (!(mi.fType & MFT_OWNERDRAW)) {
      MENUITEMINFOA set{sizeof set};
      set.fMask = MIIM_FTYPE;
      set.fType = mi.fType | MFT_OWNERDRAW;
      SetMenuItemInfoA(menu, (UINT)i, TRUE, &set);
    }
    if (mi.hSubMenu) SkinOwnerDrawMenu(mi.hSubMenu);
  }
}

bool SkinMeasureMenuItem(TSkinData* data, HMENU tracked, MEASUREITEMSTRUCT& mi) {
  if (!data) return false;
  ItemInfo info = ReadItem(tracked, mi.itemID, false);
  if (!info.found && mi.itemID == 0) info.type = MFT_SEPARATOR;
  const TSkinModel& m = data->Model();
  int margin = m.MenuItem ? m.MenuItem->LeftWidth : 0;
  if (IsSeparator(info)) {
    mi.itemWidth = 26 + margin;
    mi.itemHeight = 8;
    return true;
  }
  TMeasureDC measure;
  HDC dc = measure.Handle();
  {
    ScopedFont font(dc);
    std::string text = info.text.substr(0, info.text.find('\t'));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    size_t tab = info.text.find('\t');
    SIZE shortcut{};
    if (tab != std::string::npos) {
      std::string sc = info.text.substr(tab + 1);
      GetTextExtentPoint32A(dc, sc.c_str(), (int)sc.size(), &shortcut);
      shortcut.cx += 20;
    }
    mi.itemWidth = size.cx + shortcut.cx + 26 + margin;
    mi.itemHeight = size.cy + 4;
  }
  return true;
}

bool SkinDrawMenuItem(TSkinData* data, DRAWITEMSTRUCT& di, HMENU glyphMenu) {
  if (!data) return false;
  auto menu = reinterpret_cast<HMENU>(di.hwndItem);
  ItemInfo info = ReadItem(menu, di.itemID, false);
  if (!info.found && di.itemID == 0) info.type = MFT_SEPARATOR;
  TSkinMenuItemLook look;
  size_t tab = info.text.find('\t');
  look.caption = info.text.substr(0, tab);
  if (tab != std::string::npos) look.shortcut = info.text.substr(tab + 1);
  look.separator = IsSeparator(info);
  look.selected = (di.itemState & ODS_SELECTED) != 0;
  look.enabled = !(di.itemState & (ODS_GRAYED | ODS_DISABLED));
  look.checked = (info.state & MFS_CHECKED) != 0;
  look.isDefault = (info.state & MFS_DEFAULT) != 0;
  if (menu == glyphMenu && glyphMenu && di.itemData < 4) {
    look.glyphs = &data->MenuGlyphs();
    look.glyph = (int)di.itemData;
  }
  // The window's own system menu (a maximised MDI child's, in the frame's bar) is drawn plainly.
  if (menu != glyphMenu && di.itemID >= 0xF000) SkinPaintPlainMenuItem(data, di.hDC, di.rcItem, look);
  else SkinPaintMenuItem(data, di.hDC, di.rcItem, look);
  return true;
}

namespace {
// Glyph box, caption and shortcut of an item on its background (`pdc`, the item's size).
void PaintItemContent(TSkinData* data, HDC pdc, int w, int h, const TSkinMenuItemLook& look, TDataSkinObject* strip);

void PaintMenuItem(TSkinData* data, HDC dc, const RECT& item, const TSkinMenuItemLook& look, bool skinned);

// The background of a right-to-left item is mirrored; its content is laid out from the right.
void MirrorPiece(HDC pdc, int w, int h) { StretchBlt(pdc, w - 1, 0, -w, h, pdc, 0, 0, w, h, SRCCOPY); }
}  // namespace

void SkinPaintMenuItem(TSkinData* data, HDC dc, const RECT& item, const TSkinMenuItemLook& look) {
  PaintMenuItem(data, dc, item, look, true);
}

void SkinPaintPlainMenuItem(TSkinData* data, HDC dc, const RECT& item, const TSkinMenuItemLook& look) {
  PaintMenuItem(data, dc, item, look, false);
}

namespace {
// The skinned painter, or (`skinned` false) the plain one: highlight or menu colour behind
// the same content.
void PaintMenuItem(TSkinData* data, HDC dc, const RECT& item, const TSkinMenuItemLook& look, bool skinned) {
  const TSkinModel& m = data->Model();
  int w = item.right - item.left, h = item.bottom - item.top;
  if (w <= 0 || h <= 0) return;
  TBitmap piece(w, h);
  HDC pdc = piece.Canvas().Handle();
  RECT local{0, 0, w, h};
  TDataSkinObject* strip = skinned && m.MenuItem && !m.MenuItem->Bitmap.Empty() ? m.MenuItem.get() : nullptr;

  // Background: the current pop-up skinner's picture at this item's place (a submenu's own,
  // not its parent's), else the menu colour.
  TSkinPopupMenu* current = CurrentPopupSkinner();
  TBitmap* back = current ? &current->Image() : nullptr;
  if (back && !back->Empty()) {
    POINT origin{0, 0};
    if (HWND menuWnd = WindowFromDC(dc)) {
      RECT wr{};
      GetWindowRect(menuWnd, &wr);
      ClientToScreen(menuWnd, &origin);
      origin.x -= wr.left;
      origin.y -= wr.top;
    }
    BitBlt(pdc, 0, 0, w, h, back->Canvas().Handle(), item.left + origin.x, item.top + origin.y, SRCCOPY);
  } else {
    FillColour(pdc, local, strip ? m.Menu : (look.selected && !look.separator ? m.Hilight : m.Menu));
  }
  if (strip) {
    TSkinMargins margins{strip->LeftWidth, 0, strip->RightWidth, 0};
    if (look.separator) DrawNinePart(pdc, local, strip->Bitmap, false, false, true, 5, 2, margins);
    else DrawNinePart(pdc, local, strip->Bitmap, false, strip->Tile == 1, strip->Trans != 0, 5, look.selected ? 4 : 1,
                      strip->Margins());
  }
  if (look.separator) {
    if (!strip) {
      RECT line{2, 4, w - 2, 6};
      DrawEdge(pdc, &line, EDGE_ETCHED, BF_TOP);
    }
    BitBlt(dc, item.left, item.top, w, h, pdc, 0, 0, SRCCOPY);
    return;
  }
  if (look.rightToLeft) MirrorPiece(pdc, w, h);
  PaintItemContent(data, pdc, w, h, look, strip);
  BitBlt(dc, item.left, item.top, w, h, pdc, 0, 0, SRCCOPY);
}

void PaintItemContent(TSkinData* data, HDC pdc, int w, int h, const TSkinMenuItemLook& look, TDataSkinObject* strip) {
  const TSkinModel& m = data->Model();
  TColor colour = !look.enabled ? (ColorToRGB(clGrayText) == ColorToRGB(m.MenuText) ? m.ButtonShadow : clGrayText)
                                : (look.selected ? m.HilightText : m.MenuText);
  // The glyph box, then the caption and the shortcut.
  int box = look.images ? std::max(look.images->Width(), look.checked ? 16 : 0) : 16;
  int boxLeft = 1 + (strip ? strip->LeftWidth : 0);
  int textLeft = boxLeft + box + 3;
  // A right-to-left item has its glyph box on the right and its text ending before it.
  if (look.rightToLeft) boxLeft = w - boxLeft - box;
  if (look.glyphs && !look.glyphs->Empty() && look.glyph >= 0) {
    TBitmap& glyphs = *look.glyphs;
    int gw = glyphs.Width() / 4;
    HDC gdc = glyphs.Canvas().Handle();
    int top = (h - glyphs.Height()) / 2;
    for (int y = 0; y < glyphs.Height() && y + top < h; ++y)
      for (int x = 0; x < gw; ++x)
        if (GetPixel(gdc, look.glyph * gw + x, y) != RGB(255, 255, 255))
          SetPixelV(pdc, boxLeft + x, top + y, ColorToRGB(colour));
  } else if (look.images && look.imageIndex >= 0 && look.imageIndex < look.images->Count()) {
    if (look.checked) {
      // A sunken box filled with the blend of the button face and highlight colours.
      RECT sunk{boxLeft, 1, boxLeft + box, 1 + box};
      COLORREF face = ColorToRGB(m.ButtonFace), light = ColorToRGB(m.ButtonHilight);
      TColor blend = RGB((GetRValue(face) + GetRValue(light)) / 2, (GetGValue(face) + GetGValue(light)) / 2,
                         (GetBValue(face) + GetBValue(light)) / 2);
      FillColour(pdc, sunk, blend);
      DrawEdge(pdc, &sunk, BDR_SUNKENOUTER, BF_RECT);
    }
    look.images->Draw(pdc, boxLeft, (h - look.images->Height()) / 2, look.imageIndex);
  } else if (look.checked) {
    RECT check{boxLeft, (h - 16) / 2, boxLeft + 16, (h - 16) / 2 + 16};
    DrawFrameControl(pdc, &check, DFC_MENU, DFCS_MENUCHECK);
  }
  ScopedFont font(pdc);
  HFONT bold = nullptr;
  if (look.isDefault) {
    LOGFONTA lf{};
    if (GetObjectA(GetCurrentObject(pdc, OBJ_FONT), sizeof lf, &lf)) {
      lf.lfWeight = FW_BOLD;
      bold = CreateFontIndirectA(&lf);
    }
  }
  HGDIOBJ beforeBold = bold ? SelectObject(pdc, bold) : nullptr;
  SetBkMode(pdc, TRANSPARENT);
  SetTextColor(pdc, ColorToRGB(colour));
  RECT tr{textLeft, 0, w - 1, h};
  RECT sr{textLeft, 0, w - 10, h};
  UINT align = 0, shortcutAlign = DT_RIGHT;
  if (look.rightToLeft) {
    tr = RECT{1, 0, w - textLeft, h};
    sr = RECT{10, 0, w - textLeft, h};
    align = DT_RIGHT;
    shortcutAlign = DT_LEFT;
  }
  DrawTextA(pdc, look.caption.c_str(), (int)look.caption.size(), &tr, DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER | align);
  if (!look.shortcut.empty())
    DrawTextA(pdc, look.shortcut.c_str(), (int)look.shortcut.size(), &sr, DT_SINGLELINE | shortcutAlign | DT_VCENTER);
  if (bold) {
    SelectObject(pdc, beforeBold);
    DeleteObject(bold);
  }
}
}  // namespace
