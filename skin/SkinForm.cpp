#include "skin/SkinForm.h"

#include <algorithm>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinManager.h"
#include "skin/SkinObjects.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSubclass.h"

namespace {
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
}  // namespace

std::string TSkinForm::WindowText(HWND h) {
  char text[1001] = "";
  SendMessageA(h, WM_GETTEXT, sizeof text, (LPARAM)text);
  return text;
}

std::wstring TSkinForm::CaptionTextWide() const {
  std::wstring wide;
  if (unicode_) {
    const int n = GetWindowTextLengthW(window_);
    if (n > 0) {
      wide.resize((size_t)n + 1);
      wide.resize((size_t)GetWindowTextW(window_, wide.data(), n + 1));
    }
  } else {
    SkinAnsiToWide(WindowText(window_), wide);
  }
  return wide;
}

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
  // The class library's forms here have no automatic scrolling to switch off.
  if (data->Has(skMainMenu)) {
    savedFormProc_ = form->WindowProc;
    form->WindowProc = TWndMethod(this, &TSkinForm::FormWindowProc);
  }
  Install(data);
  formColor_ = form->Color();
  form->SetColor(data->Model().ButtonFace);
  SkinPopupMenus(true);
  SkinMainMenu(true);
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

  mdiClient_ = FindWindowExA(window_, nullptr, "MDIClient", nullptr);
  formKind_ = mdiClient_ ? 1 : 0;
  if (mdiClient_)
    if (TSkinManage* m = SkinManager()) m->SetMDIFrame(mdiClient_, form_);
  if (ex & WS_EX_MDICHILD) formKind_ = 2;

  borderKind_ = kBorderSingle;
  if ((savedStyle_ & WS_POPUP) && (savedStyle_ & WS_CAPTION) != WS_CAPTION) borderKind_ = kBorderNone;
  else if (savedStyle_ & WS_THICKFRAME) borderKind_ = kBorderSizable;
  else if (savedStyle_ & DS_MODALFRAME) borderKind_ = kBorderDialog;
  if (ex & WS_EX_DLGMODALFRAME) borderKind_ = kBorderDialog;
  dialogClass_ = className_ == "#32770" || className_ == "TMessageForm";
  if (dialogClass_) borderKind_ = kBorderDialog;
  // A Unicode window keeps its wide text: its caption is read and drawn as wide characters.
  unicode_ = IsWindowUnicode(window_) || className_.find(".WideClass") != std::string::npos;

  TSkinManage* manager = SkinManager();
  bool maxChild = manager && manager->MaximisedChild();
  if (formKind_ == 1) {
    savedMenuUpdate_ = data->MenuUpdate();
    InstallMDIClient();
  }
  if (frameEnabled_) {
    // A child window's menu field is its identifier, not a menu.
    windowMenu_ = (savedStyle_ & WS_CHILD) ? nullptr : GetMenu(window_);
    if (windowMenu_ && formKind_ != 2) {
      menuBar_ = std::make_unique<TSkinMenuBar>(this, data);
      menuBarHeight_ = GetSystemMetrics(SM_CYMENU);
      if (form_ && form_->Menu()) {
        menuBar_->SetMainMenu(form_->Menu());
        menuBar_->BuildFromMainMenu();
      } else {
        menuBar_->BuildFromMenu(windowMenu_);
      }
    }
    if (!(formKind_ == 2 && maxChild) && windowState_ != kWindowMinimized) StripStyles(false);
    ComputeFrameMetrics();
  } else {
    skinState_ = kFormRunning;
  }
  subclass_.Install(window_, TWindowSubclass::THandler(this, &TSkinForm::SkinProc));
  if (formKind_ == 2 && windowState_ == kWindowMaximized && manager && !manager->MaximisedChild())
    manager->SetMaximisedChild(true);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TSkinForm::Finish() {
  if (form_) SkinControls(form_);
  else SkinChildWindows();
  TSkinManage* manager = SkinManager();
  if (skinState_ == kFormInstalled && formKind_ == 2 && manager && manager->MaximisedChild()) {
    StripStyles(true);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else if (skinState_ == kFormInstalled && windowState_ != kWindowMinimized && borderKind_ != kBorderNone) {
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
    if (styleFlags_ & kCaptionRemoved) style |= removedCaption_;
    styleFlags_ &= ~kCaptionRemoved;
    removedCaption_ = 0;
  } else if (formKind_ == 2 && SkinManager() && SkinManager()->MaximisedChild()) {
    return;  // the system draws a maximised child's caption in the frame's menu bar
  } else if (!ownerWindow_ && formKind_ != 2) {
    // WS_CAPTION is two bits: a window with only WS_BORDER or only WS_DLGFRAME gets back
    // exactly the one it lost.
    if (style & WS_CAPTION) {
      styleFlags_ |= kCaptionRemoved;
      removedCaption_ |= style & WS_CAPTION;
    }
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
  // A form may have been sized since the install (its OnShow runs after an early activation):
  // its client is what its window now holds without the skin's frame.
  RECT client = clientRect_;
  if (!atFinish) {
    GetClientRect(window_, &client);
  } else if (RECT wr{}; form_ && GetWindowRect(window_, &wr)) {
    client.right = (wr.right - wr.left) - unskinnedNC_.cx;
    client.bottom = (wr.bottom - wr.top) - unskinnedNC_.cy;
  }
  int width = client.right + left_ + right_;
  int height = client.bottom + top_ + bottom_ + menuBarHeight_;
  if (atFinish && dialogClass_ && skinData_) {
    const std::wstring text = CaptionTextWide();
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, captionFont_ ? (HGDIOBJ)captionFont_ : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
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
  if (MDIChildNotNormal()) return;
  if (w == lastRegionW_ && h == lastRegionH_ && skinState_ != kFormRefreshing && formKind_ != 2) return;
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
      const bool fromTitle = p.o == m.Top.get() && titleBitmap_.Width() == w && titleBitmap_.Height() == top_;
      if (p.o->Trans && std::min(pw, ph) >= 2 && fromTitle) {
        // The title as last painted: caption text and buttons belong to the shape too.
        TBitmap title(pw, ph);
        BitBlt(title.Canvas().Handle(), 0, 0, pw, ph, titleBitmap_.Canvas().Handle(), p.r.left, 0, SRCCOPY);
        piece = RegionFromBitmap(title, p.r.left, p.r.top, 0, 0, 0);
      } else if (p.o->Trans && std::min(pw, ph) >= 2 && !p.o->Bitmap.Empty()) {
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
  // A first region that is the whole window shows and hides nothing, so its redraw would only
  // paint the frame a second time (every caller paints or repaints it itself). Any other
  // region is set with redraw.
  const BOOL redraw = regionSet_ || anyTrans;
  // The system owns a region it accepted; it is never deleted here.
  if (region && SetWindowRgn(window_, region, redraw)) regionSet_ = true;
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
    SkinMainMenu(true);
    AdjustSize(false);
    BuildRegion();
  }
  skinState_ = kFormRunning;
  Repaint();
}

// The window procedures, skin objects and pop-up menus go back to what they were.
void TSkinForm::GiveBackWindow() {
  if (form_ && savedFormProc_ && !form_->Destroying() && form_->WindowProc.Owner() == this)
    form_->WindowProc = savedFormProc_;
  savedFormProc_.Clear();
  subclass_.Restore();
  FreeSkinObjects();
  if (form_ && !form_->Destroying()) {
    SkinPopupMenus(false);
    SkinMainMenu(false);
  }
}

void TSkinForm::UnskinAtDestroy() {
  FreeSystemMenu();
  if (timer_) timer_->SetEnabled(false);
  GiveBackWindow();
  // The menu the bar took off the window would have gone with it: it goes now.
  if (menuBar_ && windowMenu_ && GetMenu(window_) != windowMenu_ && !MainMenuOwns(windowMenu_) && IsMenu(windowMenu_))
    DestroyMenu(windowMenu_);
  windowMenu_ = nullptr;
  menuBar_.reset();
  RestoreMDIClient();
  titleBitmap_.Clear();
}

bool TSkinForm::MainMenuOwns(HMENU menu) const {
  return form_ && !form_->Destroying() && form_->Menu() && form_->Menu()->HandleIfAllocated() == menu;
}

void TSkinForm::AdoptWindowMenu(HMENU menu) {
  if (menu == windowMenu_) return;
  // The old one was taken off the window by the bar: nobody else frees it.
  if (windowMenu_ && !MainMenuOwns(windowMenu_) && IsMenu(windowMenu_) && GetMenu(window_) != windowMenu_)
    DestroyMenu(windowMenu_);
  windowMenu_ = menu;
}

void TSkinForm::Uninstall() {
  if (!window_) return;

  bool alive = IsWindow(window_) != FALSE;
  FreeSystemMenu();
  if (timer_) timer_->SetEnabled(false);
  bool installed = subclass_.Installed();
  if (installed) {
    GiveBackWindow();
    if (form_ && skinState_ != kFormDestroying && !form_->Destroying()) form_->SetColor(formColor_);
    if (alive && frameEnabled_) {
      StripStyles(true);
      if (menuBar_ && windowMenu_ && !GetMenu(window_)) SetMenu(window_, windowMenu_);
      menuBar_.reset();
      RestoreMDIClient();
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
  RestoreMDIClient();
  if (alive) RemoveRegion();
  regionSet_ = false;
  skinState_ = kFormInstalled;
  // Without frame skinning nothing of the frame changes: only the controls show what the
  // skin drew until they paint themselves again.
  if (alive && installed && !frameEnabled_)
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

