// The form skinner's MDI part: the MDI client's window procedure of a skinned MDI frame
// (children made, destroyed, tiled, cascaded, menus set), the frame of an MDI child while the
// frame's active child is maximised, and the MDI buttons of the menu bar.
#include <windows.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManager.h"
#include "skin/SkinSubclass.h"

namespace {
HWND ActiveChild(HWND client, BOOL* maximized = nullptr) {
  return client ? (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, (LPARAM)maximized) : nullptr;
}
}  // namespace

void TSkinForm::InstallMDIClient() {
  if (mdiClient_ && !mdiSubclass_.Installed())
    mdiSubclass_.Install(mdiClient_, TWindowSubclass::THandler(this, &TSkinForm::MDIClientProc));
}

void TSkinForm::RestoreMDIClient() {
  // A frame that goes before its last child still owes the skin data its MenuUpdate.
  if (menuUpdateOwed_ && skinData_) skinData_->SetMenuUpdate(savedMenuUpdate_);
  menuUpdateOwed_ = false;
  mdiSubclass_.Restore();
}

bool TSkinForm::ActiveChildMaximized() const {
  if (formKind_ != 1 || !mdiClient_) return false;
  BOOL maximized = FALSE;
  return ActiveChild(mdiClient_, &maximized) && maximized;
}

void TSkinForm::RebuildMenuBar(bool fromWindowMenu) {
  if (!menuBar_) return;
  HMENU current = GetMenu(window_);
  if (current) AdoptWindowMenu(current);
  if (fromWindowMenu || !menuBar_->MainMenu()) menuBar_->BuildFromWindowMenu(windowMenu_);
  else menuBar_->BuildFromMainMenu();
  PaintFrame();
}

LRESULT TSkinForm::MDIClientProc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  auto pass = [&] { return mdiSubclass_.CallPrevious(msg, wp, lp); };
  TSkinManage* manager = SkinManager();
  switch (msg) {
    case WM_MDICREATE: {
      if (skinData_) skinData_->SetMenuUpdate(false);
      menuUpdateOwed_ = true;
      LRESULT r = pass();
      menuWatch_ = (HWND)r;
      return r;
    }
    case WM_MDIDESTROY: {
      LRESULT r = pass();
      if (!frameEnabled_) return r;
      if (manager) manager->SetMaximisedChild(ActiveChildMaximized());
      if (!ActiveChild(mdiClient_) && menuBar_) {
        if (skinData_) skinData_->SetMenuUpdate(savedMenuUpdate_);
        menuUpdateOwed_ = false;
        if (menuBar_->MainMenu()) menuBar_->BuildFromMainMenu();
        PaintFrame();
      }
      return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (frameEnabled_ && manager && manager->MaximisedChild()) manager->SetMaximisedChild(false);
      return pass();
    case WM_MDISETMENU: {
      LRESULT r = pass();
      if (!frameEnabled_) return r;
      if (wp && menuBar_ && ((HMENU)wp != menuBar_->Menu() || menuWatch_)) RebuildMenuBar(true);
      if (GetMenu(window_)) SetMenu(window_, nullptr);
      return r;
    }
    case WM_MDIREFRESHMENU: {
      LRESULT r = pass();
      if (menuWatch_) {
        HWND child = menuWatch_;
        menuWatch_ = nullptr;
        if (manager && IsWindow(child)) manager->SkinWindow(child);
        PostMessageA(window_, SKIN_NCREPAINT, 0, 0);
      }
      return r;
    }
    case WM_NCCALCSIZE:
      if (frameEnabled_ && skinData_ && !(skinData_->Options() & (1u << xoMDIScrollbar))) {
        LONG_PTR style = GetWindowLongPtrA(mdiClient_, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
          SetWindowLongPtrA(mdiClient_, GWL_STYLE, style & ~(LONG_PTR)(WS_HSCROLL | WS_VSCROLL));
      }
      return pass();
    case WM_NCDESTROY: {
      LRESULT r = pass();
      RestoreMDIClient();
      return r;
    }
    default:
      return pass();
  }
}

void TSkinForm::MaximisedChildChanged(bool set) {
  if (formKind_ != 2 || !IsWindow(window_)) return;
  if (set) {
    RemoveRegion();
    StripStyles(true);
    return;
  }
  ReadWindowState();
  if (windowState_ == kWindowMinimized) {
    StripStyles(true);
    return;
  }
  windowState_ = kWindowNormal;
  ComputeFrameMetrics();
  StripStyles(false);
  SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (!regionSet_) BuildRegion();
}

void TSkinForm::RunMDIButton(int action) {
  HWND child = ActiveChild(mdiClient_);
  if (!child) return;
  WPARAM cmd = 0;
  switch (action) {
    case 7: case 60: cmd = SC_MINIMIZE; break;
    case 8: case 61: cmd = SC_RESTORE; break;
    case 9: case 62: cmd = SC_CLOSE; break;
    default: return;
  }
  hotObject_ = nullptr;
  SendMessageA(child, WM_SYSCOMMAND, cmd, 0);
  TSkinManage* manager = SkinManager();
  if (manager && manager->MaximisedChild() && !ActiveChildMaximized()) manager->SetMaximisedChild(false);
  PaintFrame();
}
