#include "skin/SkinForm.h"

#include <windowsx.h>

#include <algorithm>
#include <functional>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinManager.h"
#include "skin/SkinObjects.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSubclass.h"

namespace {
constexpr UINT kCmMenuChanged = 0xB015;  // the class library's menu-changed notification
constexpr UINT kCmDialogChar = 0xB006;

// Commands of the skinned system menu.
constexpr UINT kSysRestore = 0xF120, kSysMaximize = 0xF030, kSysMinimize = 0xF020, kSysClose = 0xF060;

int FrameOf(const TDataSkinObject& o, bool active) { return (!active && o.FrameCount > 1) ? 2 : 1; }

std::string ClassNameOf(HWND h) {
  char name[256] = "";
  GetClassNameA(h, name, sizeof name);
  return name;
}

HFONT MakeCaptionFont() {
  NONCLIENTMETRICSA m{};
  m.cbSize = 340;  // the size before the padded-border field, which every system accepts
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0)) return nullptr;
  return CreateFontIndirectA(&m.lfCaptionFont);
}

std::string WindowText(HWND h) {
  char text[1001] = "";
  SendMessageA(h, WM_GETTEXT, sizeof text, (LPARAM)text);
  return text;
}
}  // namespace

TSkinForm::TSkinForm(TComponent* owner) : TComponent(owner) {
  dblClickTime_ = GetDoubleClickTime();
  captionFont_ = MakeCaptionFont();
}

TSkinForm::~TSkinForm() {
  if (subclass_.Installed() && window_ && IsWindow(window_)) Uninstall();
  FreeSkinObjects();
  FreeSystemMenu();
  captionButtons_.clear();
  menuBar_.reset();
  if (captionFont_) DeleteObject(captionFont_);
  if (TSkinManage* m = SkinManager()) m->ForgetFormSkinner(this);
  controlCanvas_.SetHandle(nullptr);
  menuCanvas_.SetHandle(nullptr);
}

// ---------------------------------------------------------------- skin objects

bool TSkinForm::AddSkinObject(TSkinControl* s) {
  if (std::find(skinObjects_.begin(), skinObjects_.end(), s) != skinObjects_.end()) return true;
  skinObjects_.push_back(s);
  return false;
}

void TSkinForm::RemoveSkinObject(TSkinControl* s) {
  skinObjects_.erase(std::remove(skinObjects_.begin(), skinObjects_.end(), s), skinObjects_.end());
  if (hotControl_ == s) hotControl_ = nullptr;
}

TSkinControl* TSkinForm::FindSkinObject(HWND h) const {
  for (TSkinControl* s : skinObjects_)
    if (s->WindowHandle() == h) return s;
  return nullptr;
}

void TSkinForm::PurgeDeadSkinObjects() {
  for (size_t i = skinObjects_.size(); i-- > 0;)
    if (i < skinObjects_.size() && skinObjects_[i]->LifeState() == kSkinDead) TComponent::Free(skinObjects_[i]);
}

void TSkinForm::FreeSkinObjects() {
  // Each object leaves the list in its destructor.
  while (!skinObjects_.empty()) TComponent::Free(skinObjects_.back());
  hotControl_ = nullptr;
}

// ---------------------------------------------------------------- install

void TSkinForm::InstallOnForm(TSkinData* data, TCustomForm* form) {
  form_ = form;
  if (!form) return Install(data);
  if (data->Has(skMainMenu)) {
    savedFormProc_ = form->WindowProc;
    form->WindowProc = TWndMethod(this, &TSkinForm::FormWindowProc);
  }
  Install(data);
  formColor_ = form->Color();
  form->SetColor(data->Model().ButtonFace);
  SkinPopupMenus(true);
}

namespace {
// Every item below `item`, at every depth.
void EachMenuItem(TMenuItem* item, const std::function<void(TMenuItem*)>& fn) {
  for (int i = 0; i < item->Count(); ++i) {
    fn(item->Items(i));
    EachMenuItem(item->Items(i), fn);
  }
}

TPopupMenu* MenuOf(TMenuItem* item) {
  while (item && item->Parent()) item = item->Parent();
  return item ? dynamic_cast<TPopupMenu*>(item->Owner()) : nullptr;
}
}  // namespace

void TSkinForm::SkinPopupMenus(bool on) {
  if (!form_ || !skinData_ || !skinData_->Has(skPopupMenu) || form_->ClassName() == "TRichEditFormEx") return;
  for (int i = 0; i < form_->ComponentCount(); ++i) {
    auto* menu = dynamic_cast<TPopupMenu*>(form_->Components(i));
    if (!menu || menu->Tag() % 100 == skinData_->DisableTag()) continue;
    menu->SetOwnerDraw(on);
    EachMenuItem(menu->Items(), [&](TMenuItem* item) {
      if (on) {
        item->OnDrawItem = TMenuDrawItemEvent(this, &TSkinForm::DrawPopupItem);
        item->OnMeasureItem = TMenuMeasureItemEvent(this, &TSkinForm::MeasurePopupItem);
      } else {
        item->OnDrawItem.ClearIfOwner(this);
        item->OnMeasureItem.ClearIfOwner(this);
      }
    });
  }
}

void TSkinForm::DrawPopupItem(TObject* sender, HDC dc, RECT r, bool selected) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !skinData_) return;
  TSkinMenuItemLook look;
  look.caption = item->Caption();
  look.shortcut = item->ShortCut();
  look.separator = item->Caption() == "-";
  look.selected = selected;
  look.enabled = item->Enabled();
  look.checked = item->Checked();
  if (TPopupMenu* menu = MenuOf(item)) look.images = menu->Images();
  look.imageIndex = item->ImageIndex();
  SkinPaintMenuItem(skinData_, dc, r, look);
}

void TSkinForm::MeasurePopupItem(TObject* sender, HDC, int& width, int&) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !skinData_) return;
  TDataSkinObject* strip = skinData_->Model().MenuItem.get();
  TPopupMenu* menu = MenuOf(item);
  width += (strip ? strip->LeftWidth : 0) + (menu && menu->Images() ? 12 : 35);
}

void TSkinForm::Install(TSkinData* data) {
  if (subclass_.Installed() || !window_ || !data) return;
  if (TSkinManage* m = SkinManager()) m->SetFirstActivationCount(1);
  skinData_ = data;
  if (!timer_) {
    timer_ = New<TTimer>(this);
    timer_->SetEnabled(false);
    timer_->SetInterval(250);
    timer_->OnTimer = TNotifyEvent(this, &TSkinForm::HoverTimer);
  }
  frameEnabled_ = data->Has(skMainMenu);
  savedStyle_ = GetWindowLongPtrA(window_, GWL_STYLE);
  LONG_PTR ex = GetWindowLongPtrA(window_, GWL_EXSTYLE);
  rtl_ = (ex & WS_EX_LEFTSCROLLBAR) != 0;
  restoreOnDestroy_ = true;
  systemMenu_ = GetSystemMenu(window_, FALSE);
  BuildIconBitmap();
  className_ = ClassNameOf(window_);
  ownerWindow_ = GetWindow(window_, GW_OWNER);
  GetClientRect(window_, &clientRect_);
  RECT wr{};
  GetWindowRect(window_, &wr);
  unskinnedNC_ = {(wr.right - wr.left) - clientRect_.right, (wr.bottom - wr.top) - clientRect_.bottom};

  styleFlags_ = 0;
  if ((savedStyle_ & WS_SYSMENU) || systemMenu_) styleFlags_ |= kHasSysMenu;
  if (savedStyle_ & WS_MINIMIZEBOX) styleFlags_ |= kHasMinimize;
  if (savedStyle_ & WS_MAXIMIZEBOX) styleFlags_ |= kHasMaximize;
  BuildSystemMenu();
  ReadWindowState();
  sizable_ = (savedStyle_ & WS_THICKFRAME) != 0;

  formKind_ = FindWindowExA(window_, nullptr, "MDIClient", nullptr) ? 1 : 0;
  if (ex & WS_EX_MDICHILD) formKind_ = 2;

  borderKind_ = kBorderSingle;
  if ((savedStyle_ & WS_POPUP) && (savedStyle_ & WS_CAPTION) != WS_CAPTION) borderKind_ = kBorderNone;
  else if (savedStyle_ & WS_THICKFRAME) borderKind_ = kBorderSizable;
  else if (savedStyle_ & DS_MODALFRAME) borderKind_ = kBorderDialog;
  if (ex & WS_EX_DLGMODALFRAME) borderKind_ = kBorderDialog;
  dialogClass_ = className_ == "#32770" || className_ == "TMessageForm";
  if (dialogClass_) borderKind_ = kBorderDialog;
  unicode_ = className_.find(".WideClass") != std::string::npos;

  if (frameEnabled_) {
    windowMenu_ = GetMenu(window_);
    if (windowMenu_ && formKind_ != 2) {
      menuBar_ = std::make_unique<TSkinMenuBar>(this, data);
      menuBarHeight_ = GetSystemMetrics(SM_CYMENU);
      menuBar_->BuildFromMenu(windowMenu_);
    }
    if (windowState_ != kWindowMinimized) StripStyles(false);
    ComputeFrameMetrics();
  } else {
    skinState_ = kFormRunning;
  }
  subclass_.Install(window_, TWindowSubclass::THandler(this, &TSkinForm::SkinProc));
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TSkinForm::Finish() {
  if (form_) SkinControls(form_);
  else SkinChildWindows();
  if (skinState_ == kFormInstalled && windowState_ != kWindowMinimized && borderKind_ != kBorderNone) {
    skinState_ = kFormAdjusting;
    AdjustSize(true);
    skinState_ = kFormRunning;
    BuildRegion();
  }
  skinState_ = kFormRunning;
  if (timer_) timer_->SetEnabled(true);
  PaintFrame();
}

void TSkinForm::ReadWindowState() {
  WINDOWPLACEMENT wp{sizeof wp};
  if (!GetWindowPlacement(window_, &wp)) return;
  if (IsZoomed(window_) || wp.showCmd == SW_SHOWMAXIMIZED) windowState_ = kWindowMaximized;
  else if (IsIconic(window_)) windowState_ = kWindowMinimized;
  else windowState_ = kWindowNormal;
}

void TSkinForm::StripStyles(bool restore) {
  LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE);
  if (restore) {
    if (styleFlags_ & kHasSysMenu) style |= savedStyle_ & WS_SYSMENU;
    if (styleFlags_ & kHasMinimize) style |= WS_MINIMIZEBOX;
    if (styleFlags_ & kHasMaximize) style |= WS_MAXIMIZEBOX;
    if (styleFlags_ & kCaptionRemoved) style |= savedStyle_ & WS_CAPTION;
    styleFlags_ &= ~kCaptionRemoved;
  } else if (!ownerWindow_ && formKind_ != 2) {
    if ((style & WS_CAPTION) == WS_CAPTION) styleFlags_ |= kCaptionRemoved;
    style &= ~(LONG_PTR)WS_CAPTION;
  } else {
    style &= ~(LONG_PTR)(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  }
  SetWindowLongPtrA(window_, GWL_STYLE, style);
}

void TSkinForm::ComputeFrameMetrics() {
  if (!skinData_ || skinData_->NoSkin()) return;
  captionButtons_.clear();
  hotObject_ = nullptr;
  if (borderKind_ == kBorderNone) {
    left_ = top_ = right_ = bottom_ = 0;
    menuBarHeight_ = 0;
  } else {
    TSkinModel& m = skinData_->Model();
    auto count = [](const TDataSkinObject& o) { return std::max(o.FrameCount, 1); };
    top_ = m.Top->Bitmap.Height() / count(*m.Top);
    left_ = m.Left->Bitmap.Width() / count(*m.Left);
    right_ = m.Right->Bitmap.Width() / count(*m.Right);
    bottom_ = m.Bottom->Bitmap.Height() / count(*m.Bottom);
  }
  for (auto& data : skinData_->Model().SysButtons) {
    auto b = std::make_unique<TSkinSysButton>(this, data.get());
    if (data->Action == 3 || data->Action == 11) {
      b->ShowsIcon = true;
      b->Icon.Assign(iconBitmap_);
      if (skinData_->SkinIcon().Empty()) skinData_->SkinIcon().Assign(iconBitmap_);
    }
    captionButtons_.push_back(std::move(b));
  }
}

void TSkinForm::DropCaptionButtons() {
  hotObject_ = nullptr;
  captionButtons_.clear();
}

void TSkinForm::RebuildFromSkin() {
  DropCaptionButtons();
  lastRegionW_ = lastRegionH_ = 0;
  if (frameEnabled_) ComputeFrameMetrics();
}

void TSkinForm::BuildIconBitmap() {
  int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  iconBitmap_.SetSize(w, h);
  HDC dc = iconBitmap_.Canvas().Handle();
  HBRUSH key = CreateSolidBrush(kSkinKeyColour);
  RECT r{0, 0, w, h};
  FillRect(dc, &r, key);
  DeleteObject(key);
  HICON icon = (HICON)SendMessageA(window_, WM_GETICON, ICON_SMALL, 0);
  if (!icon) icon = (HICON)SendMessageA(window_, WM_GETICON, ICON_BIG, 0);
  if (icon) {
    DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    return;
  }
  TSkinManage* m = SkinManager();
  if (skinData_ && !skinData_->SkinIcon().Empty()) {
    iconBitmap_.Assign(skinData_->SkinIcon());
  } else if (m) {
    for (TSkinData* d : m->DataList())
      if (d->SkinFormtype() == TSkinFormType::sfMainform && !d->SkinIcon().Empty()) {
        iconBitmap_.Assign(d->SkinIcon());
        break;
      }
  }
}

// The skinned system menu: owner-drawn items whose item data is the glyph index.
void TSkinForm::BuildSystemMenu() {
  FreeSystemMenu();
  skinnedSysMenu_ = CreatePopupMenu();
  if (!skinnedSysMenu_) return;
  struct Item {
    UINT id;
    const char* text;
    ULONG_PTR glyph;
    bool show;
  } items[] = {
      {kSysRestore, " Restore ", 0, true},
      {kSysMaximize, " Maximize ", 1, HasMaximizeBox()},
      {kSysMinimize, " Minimize ", 2, HasMinimizeBox()},
      {0, "-", 100, true},
      {kSysClose, " Close \tShift+F4", 3, true},
  };
  for (const Item& it : items) {
    if (!it.show) continue;
    MENUITEMINFOA mi{sizeof mi};
    mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_DATA;
    mi.fType = it.id ? MFT_OWNERDRAW : (MFT_SEPARATOR | MFT_OWNERDRAW);
    mi.wID = it.id;
    mi.dwTypeData = const_cast<char*>(it.text);
    mi.dwItemData = it.glyph;
    InsertMenuItemA(skinnedSysMenu_, GetMenuItemCount(skinnedSysMenu_), TRUE, &mi);
  }
}

void TSkinForm::FreeSystemMenu() {
  if (skinnedSysMenu_) DestroyMenu(skinnedSysMenu_);
  skinnedSysMenu_ = nullptr;
}

// ---------------------------------------------------------------- size and region

void TSkinForm::AdjustSize(bool atFinish) {
  if (windowState_ == kWindowMaximized) {
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  // The client area keeps the size it had without the skin (a refresh keeps the current one).
  RECT client = clientRect_;
  if (!atFinish) GetClientRect(window_, &client);
  int width = client.right + left_ + right_;
  int height = client.bottom + top_ + bottom_ + menuBarHeight_;
  if (atFinish && dialogClass_ && skinData_) {
    std::string text = WindowText(window_);
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, captionFont_ ? (HGDIOBJ)captionFont_ : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    const TDataSkinTitle& t = *skinData_->Model().Title;
    int need = t.LeftWidth + size.cx + t.RightWidth;
    if (width < need) {
      int shift = (need - width) / 2;
      for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT cr{};
        GetWindowRect(c, &cr);
        POINT p{cr.left, cr.top};
        ScreenToClient(window_, &p);
        SetWindowPos(c, nullptr, p.x + shift, p.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_NOACTIVATE);
      }
      width = need;
    }
  }
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinForm::BuildRegion() {
  if (skinState_ == kFormDestroyed || !skinData_ || skinData_->NoSkin() || borderKind_ == kBorderNone) return;
  RECT wr{};
  if (!GetWindowRect(window_, &wr)) return;
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  if (w == lastRegionW_ && h == lastRegionH_ && skinState_ != kFormRefreshing) return;
  lastRegionW_ = w;
  lastRegionH_ = h;
  TSkinModel& m = skinData_->Model();
  bool anyTrans = m.Left->Trans || m.Right->Trans || m.Top->Trans || m.Bottom->Trans;
  HRGN region = nullptr;
  if (!anyTrans) {
    region = CreateRectRgn(0, 0, w, h);
  } else {
    region = CreateRectRgn(left_, top_, w - right_, h - bottom_);
    struct Part {
      TDataSkinBorder* o;
      RECT r;
      bool stacked;
    } parts[] = {
        {m.Left.get(), {0, 0, left_, h}, false},
        {m.Right.get(), {w - right_, 0, w, h}, false},
        {m.Bottom.get(), {left_, h - bottom_, w - right_, h}, true},
        {m.Top.get(), {left_, 0, w - right_, top_}, true},
    };
    for (const Part& p : parts) {
      int pw = p.r.right - p.r.left, ph = p.r.bottom - p.r.top;
      if (pw <= 0 || ph <= 0) continue;
      HRGN piece = nullptr;
      if (p.o->Trans && std::min(pw, ph) >= 2 && !p.o->Bitmap.Empty()) {
        RECT local{0, 0, pw, ph};
        auto img = BuildNinePart(local, p.o->Bitmap, p.o->Margins(), p.stacked, p.o->Tile != 1,
                                 std::max(p.o->FrameCount, 1), 1);
        if (img) piece = RegionFromBitmap(*img, p.r.left, p.r.top, 0, 0, 0);
      }
      if (!piece) piece = CreateRectRgn(p.r.left, p.r.top, p.r.right, p.r.bottom);
      CombineRgn(region, region, piece, RGN_OR);
      DeleteObject(piece);
    }
    if (menuBarHeight_ > 0) {
      HRGN bar = CreateRectRgn(left_, top_, w - right_, top_ + menuBarHeight_);
      CombineRgn(region, region, bar, RGN_OR);
      DeleteObject(bar);
    }
  }
  // The system owns a region it accepted; it is never deleted here.
  if (region && SetWindowRgn(window_, region, TRUE)) regionSet_ = true;
  else if (region) DeleteObject(region);
}

void TSkinForm::RemoveRegion() {
  if (!regionSet_) return;
  titleBitmap_.Clear();
  regionSet_ = false;
  lastRegionW_ = lastRegionH_ = 0;
  if (IsWindow(window_)) SetWindowRgn(window_, nullptr, formKind_ == 2);
}

void TSkinForm::Repaint() {
  if (!window_ || !IsWindow(window_)) return;
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---------------------------------------------------------------- refresh and un-skin

void TSkinForm::Refresh() {
  if (!skinData_) return;
  if (form_) {
    form_->SetColor(skinData_->Model().ButtonFace);
    for (int i = 0; i < form_->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<TCustomForm*>(form_->Components(i))) f->SetColor(skinData_->Model().ButtonFace);
  }
  std::vector<TSkinControl*> objects = skinObjects_;
  for (TSkinControl* s : objects) s->UpdateSkin();
  skinState_ = kFormRefreshing;
  if (frameEnabled_) {
    SkinPopupMenus(true);
    AdjustSize(false);
    BuildRegion();
  }
  skinState_ = kFormRunning;
  Repaint();
}

void TSkinForm::UnskinAtDestroy() {
  FreeSystemMenu();
  if (timer_) timer_->SetEnabled(false);
  if (form_ && savedFormProc_ && !form_->Destroying() && form_->WindowProc.Owner() == this)
    form_->WindowProc = savedFormProc_;
  savedFormProc_.Clear();
  subclass_.Restore();
  FreeSkinObjects();
  if (form_ && !form_->Destroying()) SkinPopupMenus(false);
  menuBar_.reset();
  titleBitmap_.Clear();
}

void TSkinForm::Uninstall() {
  if (!window_) return;

  bool alive = IsWindow(window_) != FALSE;
  FreeSystemMenu();
  if (timer_) timer_->SetEnabled(false);
  bool installed = subclass_.Installed();
  if (installed) {
    if (form_ && savedFormProc_ && !form_->Destroying() && form_->WindowProc.Owner() == this)
      form_->WindowProc = savedFormProc_;
    savedFormProc_.Clear();
    subclass_.Restore();
    FreeSkinObjects();
    if (form_ && !form_->Destroying()) SkinPopupMenus(false);
    if (form_ && skinState_ != kFormDestroying && !form_->Destroying()) form_->SetColor(formColor_);
    if (alive && frameEnabled_) {
      StripStyles(true);
      if (menuBar_ && windowMenu_ && !GetMenu(window_)) SetMenu(window_, windowMenu_);
      menuBar_.reset();
      titleBitmap_.Clear();
      RECT wr{};
      GetWindowRect(window_, &wr);
      bool child = (savedStyle_ & WS_CHILD) && formKind_ != 2;
      if (skinState_ != kFormDestroying && !child && windowState_ == kWindowNormal) {
        int w = (wr.right - wr.left) - (left_ + right_ - unskinnedNC_.cx);
        int h = (wr.bottom - wr.top) - (top_ + menuBarHeight_ + bottom_ - unskinnedNC_.cy);
        SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      } else {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      }
    }
  }
  if (alive) RemoveRegion();
  regionSet_ = false;
  skinState_ = kFormInstalled;
}

// ---------------------------------------------------------------- frame painting

HDC TSkinForm::WindowDC() { return GetWindowDC(window_); }

void TSkinForm::PaintFrame(HDC given) {
  if ((skinState_ != kFormRunning && skinState_ != kFormRefreshing) || borderKind_ == kBorderNone || !skinData_ ||
      skinData_->NoSkin() || !frameEnabled_ || windowState_ == kWindowMinimized)
    return;
  RECT wr{};
  if (!GetWindowRect(window_, &wr)) return;
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  HDC dc = given ? given : GetWindowDC(window_);
  if (!dc) return;
  TSkinModel& m = skinData_->Model();
  auto part = [&](TDataSkinBorder& o, const RECT& r, bool stacked) {
    if (o.Bitmap.Empty()) return;
    DrawNinePart(dc, r, o.Bitmap, stacked, o.Tile != 1, false, std::max(o.FrameCount, 1), FrameOf(o, active_),
                 o.Margins());
  };
  part(*m.Left, RECT{0, 0, left_, h}, false);
  part(*m.Right, RECT{w - right_, 0, w, h}, false);
  part(*m.Bottom, RECT{left_, h - bottom_, w - right_, h}, true);
  PaintTitle(dc, w);
  if (menuBar_ && menuBarHeight_ > 0) menuBar_->Paint(dc, RECT{left_, top_, w - right_, top_ + menuBarHeight_});
  if (!given) ReleaseDC(window_, dc);
  hotObject_ = nullptr;
}

void TSkinForm::PaintTitle(HDC dc, int w) {
  if (top_ <= 0 || w <= 0) return;
  TSkinModel& m = skinData_->Model();
  titleBitmap_.SetSize(w, top_);
  HDC tdc = titleBitmap_.Canvas().Handle();
  BitBlt(tdc, 0, 0, w, top_, dc, 0, 0, SRCCOPY);
  TDataSkinBorder& t = *m.Top;
  if (!t.Bitmap.Empty())
    DrawNinePart(tdc, RECT{left_, 0, w - right_, top_}, t.Bitmap, true, t.Tile != 1, false,
                 std::max(t.FrameCount, 1), FrameOf(t, active_), t.Margins());

  // The caption text.
  const TDataSkinTitle& ti = *m.Title;
  captionText_ = WindowText(window_);
  std::wstring text;
  SkinAnsiToWide(captionText_, text);
  text = captionPrefix_ + text + captionSuffix_;
  HGDIOBJ oldFont = SelectObject(tdc, captionFont_ ? (HGDIOBJ)captionFont_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(tdc, TRANSPARENT);
  TColor colour = active_ ? (ti.ActiveText != clNone ? ti.ActiveText : m.TitleTextActive)
                          : (ti.InActiveText != clNone ? ti.InActiveText : m.TitleTextNoActive);
  SetTextColor(tdc, ColorToRGB(colour));
  UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | (rtl_ ? DT_RIGHT : 0);
  RECT calc{0, 0, w, top_};
  SkinDrawText(tdc, text, calc, flags | DT_CALCRECT | DT_NOCLIP);
  int tw = (calc.right - calc.left) + ti.TXTBackleft + ti.TXTBackRight;
  int th = calc.bottom - calc.top;
  int x = ti.LeftWidth;
  if (rtl_ || ti.TextAlignment == 2) x = w - ti.RightWidth - tw;
  else if (ti.TextAlignment == 1) x = (w - tw) / 2;
  if (borderKind_ == kBorderDialog && ti.TextAlignment == 0 && !rtl_) x -= 16;
  int y = (top_ - th) / 2 + ti.TopHeight / 2;
  RECT tr{x, y, x + tw, y + th};
  LayoutCaptionButtons(w);
  int limit = w - ti.RightWidth;
  if ((savedStyle_ & WS_POPUP) && buttonLayoutPos_ >= 6) limit = buttonLayoutPos_ - 5;
  tr.right = std::min<LONG>(tr.right, limit);
  captionRect_ = tr;
  if (!ti.Bitmap.Empty() && tr.right > tr.left)
    DrawNinePart(tdc, tr, const_cast<TBitmap&>(ti.Bitmap), true, true, false, 2, active_ ? 1 : 2,
                 TSkinMargins{ti.TXTBackleft, 0, ti.TXTBackRight, 0});
  RECT inner{tr.left + ti.TXTBackleft, tr.top, tr.right - ti.TXTBackRight, tr.bottom};
  if (inner.right > inner.left) SkinDrawText(tdc, text, inner, flags);
  SelectObject(tdc, oldFont);
  // Caption buttons placed against the caption (alignments 2 and 3) follow the text.
  LayoutCaptionButtons(w);
  for (auto& b : captionButtons_) {
    if (!b->Visible || IsRectEmpty(&b->Rect) || b->Data->Visibility == 100) continue;
    int frames = std::max(b->Data->FrameCount, 1);
    int frame = active_ ? 1 : (frames >= 4 ? 4 : 1);
    if (b->ShowsIcon) TransparentCopy(tdc, b->Rect, b->Icon);
    else b->PaintFrame(tdc, frame);
  }
  BitBlt(dc, 0, 0, w, top_, tdc, 0, 0, SRCCOPY);
}

bool TSkinForm::CaptionButtonVisible(const TSkinSysButton& b, int index) const {
  const TDataSkinSysButton& d = *b.Data;
  bool maximized = windowState_ == kWindowMaximized;
  auto cond = [&](int code, bool first) -> bool {
    switch (code) {
      case 0: return !first || !(d.Action == 0 && !HasSystemMenu());
      case 1: return maximized;
      case 2: return !maximized;
      case 3: return active_;
      case 4: return !active_;
      case 6: return HasMaximizeBox() && (!first || HasSystemMenu());
      case 7: return !HasMaximizeBox();
      case 8: return HasMinimizeBox() && (!first || HasSystemMenu());
      case 9: return !HasMinimizeBox();
      default: break;
    }
    return false;
  };
  bool a;
  int v = d.Visibility;
  if (v == 100) a = false;  // the buttons of a maximised MDI child live in the menu bar
  else if (v == 200) a = borderKind_ == kBorderDialog && !dialogClass_;
  else if (v >= 201 && v <= 999) a = true;
  else if (v >= 1000 && v <= 2000) a = SendMessageA(window_, SKIN_CAPTIONVISIBLE, (WPARAM)index, 0) >= 1;
  else a = cond(v, true);
  int v1 = d.Visibility1;
  bool bcond = v1 == 100 ? a : (v1 == 0 ? true : cond(v1, false));
  bool visible = a && bcond;
  if (d.Action == 1 && !HasMaximizeBox()) visible = false;
  if (d.Action == 2 && !HasMinimizeBox()) visible = false;
  if ((d.Action == 3 || d.Action == 11 || d.Action == 12) && borderKind_ == kBorderDialog) visible = false;
  return visible;
}

void TSkinForm::LayoutCaptionButtons(int width) {
  buttonLayoutPos_ = 0;
  for (size_t i = 0; i < captionButtons_.size(); ++i) {
    TSkinSysButton& b = *captionButtons_[i];
    b.Visible = CaptionButtonVisible(b, (int)i);
    const TDataSkinSysButton& d = *b.Data;
    // The icon button shows the window's icon in place of its (empty) image.
    if (!b.Visible || (b.ShowsIcon ? b.Icon.Empty() : d.Bitmap.Empty())) {
      b.Rect = RECT{};
      continue;
    }
    int bw = d.Bitmap.Width() / std::max(d.FrameCount, 1), bh = d.Bitmap.Height();
    if (b.ShowsIcon) bw = b.Icon.Width(), bh = b.Icon.Height();
    int x = d.Xcoord, y = d.Ycoord;
    switch (d.Align) {
      case 1:
        x = width - d.Xcoord;
        buttonLayoutPos_ = buttonLayoutPos_ ? std::min(buttonLayoutPos_, x) : x;
        break;
      case 2:
      case 8:
        x = captionRect_.left - bw - d.Xcoord;
        break;
      case 3:
      case 9:
        x = captionRect_.right + d.Xcoord;
        break;
      default:
        break;
    }
    b.Rect = RECT{x, y, x + bw, y + bh};
  }
}

// ---------------------------------------------------------------- non-client elements

POINT TSkinForm::ToWindow(POINT screen) const {
  RECT wr{};
  GetWindowRect(window_, &wr);
  return POINT{screen.x - wr.left, screen.y - wr.top};
}

TSkinSysButton* TSkinForm::CaptionButtonAt(POINT p) const {
  for (auto& b : captionButtons_)
    if (b->Visible && b->Data->Action >= 0 && PtInRect(&b->Rect, p)) return b.get();
  return nullptr;
}

TNCObject* TSkinForm::ElementAt(POINT screen) const {
  POINT p = ToWindow(screen);
  if (TSkinSysButton* b = CaptionButtonAt(p)) return b;
  if (menuBar_) return menuBar_->ButtonAt(p);
  return nullptr;
}

TMenuBtn* TSkinForm::ButtonByAccel(char c) const { return menuBar_ ? menuBar_->ButtonByAccel(c) : nullptr; }

LRESULT TSkinForm::NCMouseMove(UINT msg, WPARAM wp, LPARAM lp) {
  if (!active_) return PassOn(msg, wp, lp);
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (TNCObject* e = ElementAt(pt)) {
    e->MouseMove();
    return 0;
  }
  if (hotObject_) hotObject_->MouseLeave();
  return PassOn(msg, wp, lp);
}

LRESULT TSkinForm::NCButtonDown(UINT msg, WPARAM wp, LPARAM lp) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (TNCObject* e = ElementAt(pt)) {
    if (GetActiveWindow() != window_) SetForegroundWindow(window_);
    e->MouseDown();
    if (auto* mb = dynamic_cast<TMenuBtn*>(e)) OpenMenuButton(mb);
    return 0;
  }
  if (windowState_ == kWindowMaximized && active_ && wp == HTCAPTION) wp = HTMENU;
  return PassOn(msg, wp, lp);
}

LRESULT TSkinForm::NCButtonUp(UINT msg, WPARAM wp, LPARAM lp) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  TNCObject* e = ElementAt(pt);
  if (!e) return PassOn(msg, wp, lp);
  if (auto* b = dynamic_cast<TSkinSysButton*>(e); b && b == hotObject_) {
    b->MouseUp();
    RunCaptionAction(b, pt);
  }
  return 0;
}

void TSkinForm::RunCaptionAction(TSkinSysButton* b, POINT screen) {
  switch (b->Data->Action) {
    case 0:
      if (timer_) timer_->SetEnabled(false);
      PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case 1:
    case 22:
      Maximize();
      break;
    case 2:
    case 23:
      Minimize();
      break;
    case 3:
    case 11:
    case 12:
      ShowSystemMenu(POINT{screen.x + 1, screen.y + 1});
      break;
    case 7: case 60: case 8: case 61: case 9: case 62:
      break;  // the buttons of a maximised MDI child: no MDI frames in this system
    default:
      PostMessageA(window_, SKIN_CAPTIONACTION, (WPARAM)b->Data->Action, 0);
      break;
  }
}

void TSkinForm::Maximize() {
  hotObject_ = nullptr;
  if (windowState_ == kWindowMaximized) return RestoreWindow();
  windowState_ = kWindowMaximized;
  PostMessageA(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TSkinForm::Minimize() {
  hotObject_ = nullptr;
  if (windowState_ == kWindowMinimized) return RestoreWindow();
  windowState_ = kWindowMinimized;
  PostMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TSkinForm::RestoreWindow() {
  hotObject_ = nullptr;
  windowState_ = kWindowNormal;
  PostMessageA(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSkinForm::ShowSystemMenu(POINT screen) {
  DWORD now = GetTickCount();
  if (lastSysMenuTick_ && now - lastSysMenuTick_ <= dblClickTime_) {
    // A second request within the double-click time: a double click on the icon closes.
    lastSysMenuTick_ = 0;
    if (hotObject_) {
      if (timer_) timer_->SetEnabled(false);
      PostMessageA(window_, WM_CLOSE, 0, 0);
    }
    return;
  }
  lastSysMenuTick_ = now;
  if (TSkinManage* m = SkinManager()) m->SetMenuKind(kMenuSystem);
  if (skinData_->Has(skSystemMenu) && formKind_ != 2 && skinnedSysMenu_) {
    EnableMenuItem(skinnedSysMenu_, kSysRestore, MF_BYCOMMAND | (windowState_ != kWindowNormal ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(skinnedSysMenu_, kSysMaximize, MF_BYCOMMAND | (windowState_ != kWindowMaximized ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(skinnedSysMenu_, kSysMinimize, MF_BYCOMMAND | (windowState_ != kWindowMinimized ? MF_ENABLED : MF_GRAYED));
    trackedPopup_ = skinnedSysMenu_;
    UINT cmd = TrackPopupMenu(skinnedSysMenu_, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, window_, nullptr);
    trackedPopup_ = nullptr;
    switch (cmd) {
      case kSysRestore: RestoreWindow(); break;
      case kSysMaximize: Maximize(); break;
      case kSysMinimize: Minimize(); break;
      case kSysClose:
        if (timer_) timer_->SetEnabled(false);
        PostMessageA(window_, WM_CLOSE, 0, 0);
        break;
      default: break;
    }
  } else if (HMENU sys = GetSystemMenu(window_, FALSE)) {
    trackedPopup_ = sys;
    UINT cmd = TrackPopupMenu(sys, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, window_, nullptr);
    trackedPopup_ = nullptr;
    if (cmd) PostMessageA(window_, WM_SYSCOMMAND, cmd, 0);
  }
}

void TSkinForm::HoverTimer(TObject*) {
  if (menuTracking_) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (hotObject_) {
    POINT p = ToWindow(cursor);
    if (!PtInRect(&hotObject_->Rect, p)) hotObject_->MouseLeave();
  }
  if (!form_ && hotControl_) {
    RECT r{};
    GetWindowRect(hotControl_->WindowHandle(), &r);
    if (!PtInRect(&r, cursor)) {
      TSkinControl::SendMouseLeave(hotControl_);
      hotControl_ = nullptr;
    }
  }
}

LRESULT TSkinForm::HitTest(WPARAM wp, LPARAM lp) {
  LRESULT r = PassOn(WM_NCHITTEST, wp, lp);
  if (r != HTNOWHERE && r != HTCAPTION && r != HTBORDER) return r;
  POINT p = ToWindow(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
  RECT wr{};
  GetWindowRect(window_, &wr);
  int w = wr.right - wr.left;
  // The menu code only inside the menu bar; the title is the caption.
  if (menuBarHeight_ > 0 && p.y >= top_ && p.y < top_ + menuBarHeight_ && p.x >= left_ && p.x < w - right_)
    return HTMENU;
  if (p.y > 3 && p.y < top_) return HTCAPTION;
  return r;
}

LRESULT TSkinForm::SysCommand(WPARAM wp, LPARAM lp) {
  UINT cmd = (UINT)(wp & 0xFFF0);
  if (!menuTracking_ && cmd == SC_KEYMENU && lp != ' ' && lp != '-' && !GetCapture()) {
    TMenuBtn* b = lp ? ButtonByAccel((char)lp) : nullptr;
    if (lp == 0 || b) return 1;  // no system menu-bar mode over the skinned frame
  }
  if (cmd == SC_MINIMIZE) windowState_ = kWindowMinimized;
  else if (cmd == SC_MAXIMIZE) windowState_ = kWindowMaximized;
  else if (cmd == SC_RESTORE) windowState_ = kWindowNormal;
  return PassOn(WM_SYSCOMMAND, wp, lp);
}

// ---------------------------------------------------------------- window procedures

void TSkinForm::FormWindowProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      savedFormProc_(m);
      if (window_ && skinState_ != kFormInstalled)
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      return;
    case SKIN_REFRESH:
      Refresh();
      return;
    case kCmDialogChar:
      if (KeyboardShiftState() == ssAlt)
        if (TMenuBtn* b = ButtonByAccel((char)m.WParam)) {
          RECT wr{};
          GetWindowRect(window_, &wr);
          PostMessageA(window_, WM_NCLBUTTONDOWN, 1, MAKELPARAM(wr.left + b->Rect.left + 1, wr.top + b->Rect.top + 1));
          m.Result = 1;
          return;
        }
      break;
    default:
      break;
  }
  if (savedFormProc_) savedFormProc_(m);
}

LRESULT TSkinForm::SkinProc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCDESTROY: {
      skinState_ = kFormDestroying;
      if (restoreOnDestroy_) UnskinAtDestroy();
      LRESULT r = PassOn(msg, wp, lp);
      skinState_ = kFormDestroyed;
      return r;
    }
    case WM_ERASEBKGND: {
      LRESULT r = PassOn(msg, wp, lp);
      if (form_ || !skinData_) return r;
      RECT cr{};
      GetClientRect(window_, &cr);
      FillRect((HDC)wp, &cr, skinData_->ButtonFaceBrush());
      return 1;
    }
    case WM_CTLCOLORBTN: {
      LRESULT r = PassOn(msg, wp, lp);
      if (!form_) SetBkMode((HDC)wp, TRANSPARENT);
      return r;
    }
    case WM_CTLCOLORSTATIC: {
      LRESULT r = PassOn(msg, wp, lp);
      if (form_ || !skinData_) return r;
      SetBkMode((HDC)wp, TRANSPARENT);
      return (LRESULT)skinData_->ButtonFaceBrush();
    }
    case WM_INITMENUPOPUP:
      if (TSkinManage* m = SkinManager()) m->SetMenuKind((HMENU)wp == systemMenu_ ? kMenuSystem : kMenuBar);
      return PassOn(msg, wp, lp);
    case WM_MENUSELECT:
      MenuSelect(wp, lp);
      return PassOn(msg, wp, lp);
    case SKIN_FINISH:
      Finish();
      return 0;
    case SKIN_QUERY:
      return 1;
    case WM_SETTEXT: {
      // The system repaints its caption on a text change without WM_NCPAINT.
      LRESULT r = PassOn(msg, wp, lp);
      PaintFrame();
      return r;
    }
    default:
      break;
  }
  if (!frameEnabled_) return PassOn(msg, wp, lp);
  if ((savedStyle_ & WS_CHILD) && formKind_ != 2) return PassOn(msg, wp, lp);
  LRESULT result = 0;
  bool passOn = !SecondStage(msg, wp, lp, result);
  if (!passOn && msg != WM_ACTIVATE && msg != WM_NCACTIVATE) return result;
  if (skinState_ != kFormInstalled && windowState_ != kWindowMinimized) {
    if (ThirdStage(msg, wp, lp, result)) return result;
  }
  return passOn ? PassOn(msg, wp, lp) : result;
}

// True when the message was handled here (result set, nothing more to do).
bool TSkinForm::SecondStage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE:
        case SC_NEXTWINDOW: case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
          if (lp == 0 && HIWORD(wp) == 0) {
            PostMessageA(window_, WM_SYSCOMMAND, LOWORD(wp), 0);
            result = 0;
            return true;
          }
          break;
        default:
          break;
      }
      return false;
    case WM_SYSCOMMAND:
      result = SysCommand(wp, lp);
      return true;
    case WM_GETMINMAXINFO: {
      result = PassOn(msg, wp, lp);
      ReadWindowState();
      if (windowState_ == kWindowMinimized) StripStyles(true);
      else StripStyles(false);
      if (borderKind_ == kBorderSizable) {
        auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
        mm->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
      }
      return true;
    }
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      result = PassOn(msg, wp, lp);
      return true;
    case WM_SIZE:
      result = PassOn(msg, wp, lp);
      if (wp == SIZE_RESTORED) windowState_ = kWindowNormal;
      else if (wp == SIZE_MINIMIZED) windowState_ = kWindowMinimized;
      else if (wp == SIZE_MAXIMIZED) windowState_ = kWindowMaximized;
      if (windowState_ != kWindowMinimized && (skinState_ == kFormRunning || skinState_ == kFormRefreshing))
        BuildRegion();
      return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      active_ = msg == WM_ACTIVATE ? LOWORD(wp) != WA_INACTIVE : wp != FALSE;
      return false;
    case kCmMenuChanged:
      result = PassOn(msg, wp, lp);
      if (menuBar_ && skinData_->MenuUpdate() && GetMenu(window_)) {
        windowMenu_ = GetMenu(window_);
        menuBar_->BuildFromMenu(windowMenu_);
      }
      return true;
    default:
      return false;
  }
}

bool TSkinForm::ThirdStage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_NCCALCSIZE: {
      // The proposed window rectangle, before the default turns it into its client area.
      RECT w = wp ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : RECT{};
      PassOn(msg, wp, lp);
      if (!wp) {
        result = 0;
        return true;
      }
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
      if (borderKind_ != kBorderNone) {
        p->rgrc[0] = RECT{w.left + left_, w.top + top_ + menuBarHeight_, w.right - right_, w.bottom - bottom_};
        if (p->rgrc[0].right < p->rgrc[0].left) p->rgrc[0].right = p->rgrc[0].left;
        if (p->rgrc[0].bottom < p->rgrc[0].top) p->rgrc[0].bottom = p->rgrc[0].top;
      }
      p->rgrc[1] = p->rgrc[0];
      result = WVR_VALIDRECTS;
      return true;
    }
    case WM_NCHITTEST:
      result = HitTest(wp, lp);
      return true;
    case WM_NCPAINT:
      if (borderKind_ == kBorderNone) return false;
      PaintFrame();
      result = 0;
      return true;
    case WM_NCACTIVATE:
      active_ = wp != FALSE;
      if (timer_) timer_->SetEnabled(active_);
      if (!active_ && hotControl_) {
        TSkinControl::SendMouseLeave(hotControl_);
        hotControl_ = nullptr;
      }
      if (borderKind_ == kBorderNone) return false;
      PaintFrame();
      result = 1;
      return true;
    case WM_NCMOUSEMOVE:
      result = NCMouseMove(msg, wp, lp);
      return true;
    case WM_NCLBUTTONDOWN:
      result = NCButtonDown(msg, wp, lp);
      return true;
    case WM_NCLBUTTONUP:
      result = NCButtonUp(msg, wp, lp);
      return true;
    case WM_NCLBUTTONDBLCLK:
      if (wp != HTCAPTION) return false;
      if (windowState_ != kWindowNormal) RestoreWindow();
      else if (HasMaximizeBox()) Maximize();
      result = 0;
      return true;
    case WM_NCRBUTTONDOWN:
      if (wp == HTCAPTION && formKind_ != 2) {
        ShowSystemMenu(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        result = 0;
        return true;
      }
      return false;
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mi->CtlType == ODT_MENU && SkinMeasureMenuItem(skinData_, trackedPopup_, *mi)) {
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (di->CtlType == ODT_MENU && SkinDrawMenuItem(skinData_, *di, skinnedSysMenu_)) {
        result = TRUE;
        return true;
      }
      return false;
    }
    case SKIN_NCREPAINT:
      PaintFrame();
      result = 0;
      return true;
    default:
      return false;
  }
}
