// The form skinner's messages: the skin window procedure in its three stages, the form's
// message hook, the non-client mouse on caption buttons and menu-bar buttons, the system
// menu, and the owner drawing of the form's pop-up menus.
#include "skin/SkinForm.h"

#include <windowsx.h>

#include <functional>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/graphics/MeasureDC.h"
#include "skin/SkinData.h"
#include "skin/SkinManager.h"
#include "skin/SkinObjects.h"
#include "skin/SkinSubclass.h"

namespace {
constexpr UINT kCmMenuChanged = CM_MENUCHANGED;
constexpr UINT kCmDialogChar = CM_DIALOGCHAR;

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

namespace {
// How an item of the class library's menus looks; its caption is the one its action set.
TSkinMenuItemLook LookOf(TMenuItem* item, bool selected, TImageList* images, bool rightToLeft) {
  TSkinMenuItemLook look;
  look.caption = item->Caption();
  look.shortcut = item->ShortCut();
  look.separator = item->Caption() == "-";
  look.selected = selected;
  look.enabled = item->Enabled();
  look.checked = item->Checked();
  look.isDefault = item->Default();
  look.rightToLeft = rightToLeft;
  look.images = images;
  look.imageIndex = item->ImageIndex();
  return look;
}

TImageList* MainImagesOf(TMenuItem* item) {
  TMainMenu* menu = item ? item->MainMenu() : nullptr;
  return menu ? menu->Images() : nullptr;
}
}  // namespace

void TSkinForm::DrawPopupItem(TObject* sender, HDC dc, RECT r, bool selected) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !skinData_) return;
  TPopupMenu* menu = MenuOf(item);
  TImageList* images = menu ? menu->Images() : MainImagesOf(item);
  SkinPaintMenuItem(skinData_, dc, r, LookOf(item, selected, images, rtl_));
}

void TSkinForm::MeasureMainItem(TObject* sender, HDC, int& width, int&) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !skinData_) return;
  TDataSkinObject* strip = skinData_->Model().MenuItem.get();
  width += (strip ? strip->LeftWidth : 0) + (MainImagesOf(item) ? 10 : 35);
}

void TSkinForm::SkinMainMenu(bool on) {
  if (!form_ || !skinData_ || !skinData_->Has(skMenuItem)) return;
  for (int i = 0; i < form_->ComponentCount(); ++i) {
    auto* menu = dynamic_cast<TMainMenu*>(form_->Components(i));
    if (!menu) continue;
    // Below the top level only: the bar's own items stay the system's.
    TMenuItem* root = menu->Items();
    for (int k = 0; k < root->Count(); ++k)
      EachMenuItem(root->Items(k), [&](TMenuItem* item) {
        if (on && !item->OnDrawItem) {
          item->OnDrawItem = TMenuDrawItemEvent(this, &TSkinForm::DrawPopupItem);
          item->OnMeasureItem = TMenuMeasureItemEvent(this, &TSkinForm::MeasureMainItem);
        } else if (!on) {
          item->OnDrawItem.Clear();
          item->OnMeasureItem.Clear();
        }
      });
    menu->SetOwnerDraw(on);
  }
}

TMenuItem* TSkinForm::MainMenuItem(UINT command) const {
  TMainMenu* main = menuBar_ ? menuBar_->MainMenu() : nullptr;
  return main && command ? main->FindItem(command) : nullptr;
}

bool TSkinForm::MeasureMenuItem(MEASUREITEMSTRUCT& mi) {
  if (TMenuItem* item = MainMenuItem(mi.itemID)) {
    // The item's own measuring without its measure handler, then the skin's margins.
    TMeasureDC dc;
    int width = 0, height = 0;
    MeasurePlainMenuItem(*item, dc.Handle(), width, height, false);
    TDataSkinObject* strip = skinData_->Model().MenuItem.get();
    width += (strip ? strip->LeftWidth : 0) + (MainImagesOf(item) ? 10 : 35);
    mi.itemWidth = (UINT)width;
    mi.itemHeight = (UINT)height;
    return true;
  }
  if (form_ && mi.itemID >= 1 && mi.itemID <= 4095 && form_->Menu()) return false;
  return SkinMeasureMenuItem(skinData_, trackedPopup_, mi);
}

bool TSkinForm::DrawMenuItem(DRAWITEMSTRUCT& di) {
  if (TMenuItem* item = MainMenuItem(di.itemID)) {
    bool selected = (di.itemState & ODS_SELECTED) != 0;
    TSkinMenuItemLook look = LookOf(item, selected, MainImagesOf(item), rtl_);
    if (skinData_->Model().MenuItem && !skinData_->Model().MenuItem->Bitmap.Empty())
      SkinPaintMenuItem(skinData_, di.hDC, di.rcItem, look);
    else
      SkinPaintPlainMenuItem(skinData_, di.hDC, di.rcItem, look);
    return true;
  }
  if (form_ && di.itemID >= 1 && di.itemID <= 4095 && form_->Menu()) return false;
  return SkinDrawMenuItem(skinData_, di, skinnedSysMenu_);
}

void TSkinForm::MeasurePopupItem(TObject* sender, HDC, int& width, int&) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !skinData_) return;
  TDataSkinObject* strip = skinData_->Model().MenuItem.get();
  TPopupMenu* menu = MenuOf(item);
  width += (strip ? strip->LeftWidth : 0) + (menu && menu->Images() ? 12 : 35);
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
      RunMDIButton(b->Data->Action);
      break;
    default:
      PostMessageA(window_, SKIN_CAPTIONACTION, (WPARAM)b->Data->Action, 0);
      break;
  }
}

void TSkinForm::Maximize() {
  hotObject_ = nullptr;
  if (windowState_ == kWindowMaximized) return RestoreWindow();
  if (formKind_ == 2)
    if (TSkinManage* m = SkinManager()) m->SetMaximisedChild(true);
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
  if (cmd == SC_MINIMIZE) {
    windowState_ = kWindowMinimized;
    if (formKind_ == 2) StripStyles(true);
  } else if (cmd == SC_MAXIMIZE) {
    windowState_ = kWindowMaximized;
  } else if (cmd == SC_RESTORE) {
    windowState_ = kWindowNormal;
    if (formKind_ == 2) StripStyles(false);
  }
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
      // An MDI child has no bar of its own: its frame's bar may know the key.
      if (formKind_ == 2)
        if (TSkinManage* mgr = SkinManager(); mgr && mgr->MDIFrameForm() && mgr->MDIFrameForm() != form_) {
          TMessage frame{m.Msg, m.WParam, m.LParam, 0};
          mgr->MDIFrameForm()->WindowProc(frame);
          if (frame.Result) {
            m.Result = frame.Result;
            return;
          }
        }
      if (savedFormProc_) savedFormProc_(m);
      m.Result = 0;
      return;
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
    case SKIN_FINISH: {
      timing::Span span("skin finished");
      Finish();
      return 0;
    }
    case SKIN_QUERY:
      return 1;
    case CM_WINDOWMADE:
      if (TWinControl* w = TWinControl::FromHandle((HWND)lp); w && windowsWait_ && !IsSkinned(w))
        SkinControl(w, w->Owner());
      return 0;
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
  if (skinState_ != kFormInstalled && windowState_ != kWindowMinimized &&
      !(formKind_ == 2 && windowState_ == kWindowMaximized)) {
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
      else if (formKind_ != 2 || windowState_ == kWindowNormal) StripStyles(false);
      else StripStyles(true);  // a maximised MDI child shows the system's caption buttons
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
    case WM_SIZE: {
      result = PassOn(msg, wp, lp);
      int before = windowState_;
      if (wp == SIZE_RESTORED) windowState_ = kWindowNormal;
      else if (wp == SIZE_MINIMIZED) windowState_ = kWindowMinimized;
      else if (wp == SIZE_MAXIMIZED) windowState_ = kWindowMaximized;
      // The frame's bar shows a maximised child's buttons, or stops showing them.
      if (formKind_ == 2 && before != windowState_) {
        if (HWND frame = GetParent(GetParent(window_))) PostMessageA(frame, SKIN_NCREPAINT, 0, 0);
        // Restored another way than by the bar's buttons (a double click, its system menu).
        BOOL maximized = FALSE;
        TSkinManage* manager = SkinManager();
        if (before == kWindowMaximized && manager && manager->MaximisedChild() &&
            !(SendMessageA(GetParent(window_), WM_MDIGETACTIVE, 0, (LPARAM)&maximized) && maximized))
          manager->SetMaximisedChild(false);
      }
      if (windowState_ != kWindowMinimized && (skinState_ == kFormRunning || skinState_ == kFormRefreshing) &&
          !(formKind_ == 2 && ((SkinManager() && SkinManager()->MaximisedChild()) || windowState_ != kWindowNormal)))
        BuildRegion();
      return true;
    }
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      active_ = msg == WM_ACTIVATE ? LOWORD(wp) != WA_INACTIVE : wp != FALSE;
      return false;
    case kCmMenuChanged: {
      // The library sets the menu again: the repaints that causes are not answered.
      bool painting = skinData_->NCPaintSwitch();
      skinData_->SetNCPaintSwitch(false);
      result = PassOn(msg, wp, lp);
      skinData_->SetNCPaintSwitch(painting);
      // An MDI frame's client took the menu off again already.
      bool hasMenu = GetMenu(window_) || (formKind_ == 1 && form_ && form_->Menu());
      if (menuBar_ && skinData_->MenuUpdate() && hasMenu)
        RebuildMenuBar(skinData_->MenuMerge() || (skinData_->Options() & (1u << xoMenuMerge)));
      return true;
    }
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
      if (borderKind_ != kBorderNone && !MDIChildNotNormal()) {
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
      if (!skinData_->NCPaintSwitch()) {
        result = 0;
        return true;
      }
      if (borderKind_ == kBorderNone || MDIChildNotNormal()) return false;
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
      if (formKind_ == 1 && mdiClient_) SendMessageA(mdiClient_, WM_NCACTIVATE, wp, 0);
      if (borderKind_ == kBorderNone) return false;
      if (!MDIChildNotNormal()) PaintFrame();
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
      if (mi->CtlType == ODT_MENU && MeasureMenuItem(*mi)) {
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (di->CtlType == ODT_MENU && DrawMenuItem(*di)) {
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
