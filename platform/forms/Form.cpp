#include "platform/forms/Form.h"

#include <algorithm>
#include <set>

#include "platform/forms/Application.h"
#include "platform/forms/FormReader.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Exception.h"

namespace {
// Forms alive now, so a late release message never frees one twice.
std::set<TCustomForm*>& LiveForms() {
  static std::set<TCustomForm*> s;
  return s;
}
}  // namespace

std::string FindFormDescription(const std::string& className) {
  HRSRC r = FindResourceA(nullptr, className.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!r) return {};
  HGLOBAL g = LoadResource(nullptr, r);
  DWORD size = SizeofResource(nullptr, r);
  const char* data = g ? static_cast<const char*>(LockResource(g)) : nullptr;
  return data ? std::string(data, size) : std::string();
}

// ---------------------------------------------------------------- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  RegisterFormProperties();
  visible_ = false;
  color_ = clBtnFace;
  width_ = 320;
  height_ = 240;
  LiveForms().insert(this);
  Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
  LiveForms().erase(this);
  if (menu_ && menu_->WindowHandle() == handle_) menu_->SetWindowHandle(nullptr);
  Screen().RemoveForm(this);
  if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
  DestroyHandle();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
  if (!destroyFired_ && OnDestroy) {
    destroyFired_ = true;
    OnDestroy(this);
  }
  TWinControl::BeforeDestruction();
}

void TCustomForm::LoadDescription(const std::string& text) { ReadComponentDescription(this, text, Published()); }

void LoadDescriptionOf(TDataModule* module, const std::string& text) {
  RegisterFormProperties();
  ReadComponentDescription(module, text, {});
}

void TCustomForm::CreateParams(TCreateParams& p) {
  p.ClassName = ClassName();
  p.OwnClass = true;
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.ExStyle = 0;
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone: p.Style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle: p.Style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog: p.Style |= WS_CAPTION | DS_MODALFRAME; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case TFormBorderStyle::bsToolWindow: p.Style |= WS_CAPTION; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    case TFormBorderStyle::bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; p.ExStyle |= WS_EX_TOOLWINDOW; break;
  }
  if (borderStyle_ != TFormBorderStyle::bsNone && (borderIcons_ & biSystemMenu)) {
    p.Style |= WS_SYSMENU;
    if (borderStyle_ != TFormBorderStyle::bsDialog) {
      if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (formStyle_ == TFormStyle::fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (formStyle_ == TFormStyle::fsMDIChild) p.ExStyle |= WS_EX_MDICHILD;
  if (!enabled_) p.Style |= WS_DISABLED;
}

TCustomForm* TCustomForm::MDIFrame() {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (main && main->FormStyle() == TFormStyle::fsMDIForm) return main;
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (Screen().Forms(i)->FormStyle() == TFormStyle::fsMDIForm) return Screen().Forms(i);
  return nullptr;
}

void TCustomForm::CreateWnd() {
  if (formStyle_ != TFormStyle::fsMDIChild) return TWinControl::CreateWnd();
  // An MDI child is made by its frame's MDI client, which gives it WS_EX_MDICHILD.
  TCustomForm* frame = MDIFrame();
  if (!frame || frame == this) throw Exception("No MDI frame for the MDI child " + Name());
  frame->Handle();
  if (!frame->clientHandle_) throw Exception("The MDI frame has no MDI client");
  TCreateParams p;
  CreateParams(p);
  RegisterOwnClass(p);
  defWndProc_ = nullptr;
  MDICREATESTRUCTA mcs{};
  mcs.szClass = p.ClassName.c_str();
  mcs.szTitle = caption_.c_str();
  mcs.hOwner = GetModuleHandleA(nullptr);
  mcs.x = left_;
  mcs.y = top_;
  mcs.cx = width_;
  mcs.cy = height_;
  mcs.style = (p.Style & ~(WS_POPUP | WS_DISABLED)) | (windowState_ == TWindowState::wsMaximized ? WS_MAXIMIZE : 0);
  mcs.lParam = reinterpret_cast<LPARAM>(this);
  handle_ = (HWND)SendMessageA(frame->clientHandle_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));
  if (handle_) SendMessageA(handle_, WM_SETFONT, (WPARAM)font_->Handle(), FALSE);
  visible_ = handle_ && IsWindowVisible(handle_);
  SendMessageA(frame->clientHandle_, WM_MDIREFRESHMENU, 0, 0);
  DrawMenuBar(frame->handle_);
}

void TCustomForm::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  if (formStyle_ == TFormStyle::fsMDIForm) m.Result = DefFrameProcA(handle_, clientHandle_, m.Msg, m.WParam, m.LParam);
  else if (formStyle_ == TFormStyle::fsMDIChild && (GetWindowLongPtrA(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD))
    m.Result = DefMDIChildProcA(handle_, m.Msg, m.WParam, m.LParam);
  else TWinControl::DefaultHandler(m);
}

void TCustomForm::Notification(TComponent* component, TOperation op) {
  TWinControl::Notification(component, op);
  if (op != TOperation::opRemove) return;
  if (component == menu_) {
    if (handle_ && GetMenu(handle_) == menu_->HandleIfAllocated()) ::SetMenu(handle_, nullptr);
    menu_ = nullptr;
  }
  if (component == windowMenu_) windowMenu_ = nullptr;
}

void TCustomForm::SetMenu(TMainMenu* m) {
  if (m == menu_) return;
  if (menu_ && handle_ && GetMenu(handle_) == menu_->HandleIfAllocated()) ::SetMenu(handle_, nullptr);
  if (menu_) menu_->SetWindowHandle(nullptr);
  menu_ = m;
  if (handle_) MenuChangedHandler();
}

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  windowMenu_ = item;
  if (handle_ && formStyle_ == TFormStyle::fsMDIForm) MenuChangedHandler();
}

void TCustomForm::MenuChangedHandler() {
  if (!handle_ || formStyle_ == TFormStyle::fsMDIChild) return;
  HMENU bar = menu_ ? menu_->Handle() : nullptr;
  if (menu_) menu_->SetWindowHandle(handle_);
  if (formStyle_ == TFormStyle::fsMDIForm && clientHandle_ && bar) {
    HMENU list = windowMenu_ ? windowMenu_->Handle() : nullptr;
    SendMessageA(clientHandle_, WM_MDISETMENU, (WPARAM)bar, (LPARAM)list);
  } else {
    ::SetMenu(handle_, bar);
  }
  DrawMenuBar(handle_);
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!clientHandle_) return nullptr;
  auto h = (HWND)SendMessageA(clientHandle_, WM_MDIGETACTIVE, 0, 0);
  return dynamic_cast<TCustomForm*>(FromHandle(h));
}

namespace {
std::vector<TCustomForm*> ChildrenOf(HWND client) {
  std::vector<TCustomForm*> out;
  for (HWND c = client ? GetWindow(client, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT))
    if (auto* f = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(c))) out.push_back(f);
  return out;
}
}  // namespace

int TCustomForm::MDIChildCount() const { return (int)ChildrenOf(clientHandle_).size(); }

TCustomForm* TCustomForm::MDIChildren(int i) const {
  auto all = ChildrenOf(clientHandle_);
  return i >= 0 && i < (int)all.size() ? all[(size_t)i] : nullptr;
}

void TCustomForm::Cascade() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDITILE, MDITILE_HORIZONTAL, 0);
}

void TCustomForm::ArrangeIcons() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (clientHandle_) SendMessageA(clientHandle_, WM_MDINEXT, 0, 1);
}

HWND TCustomForm::ParentHandleForCreate() {
  if (formStyle_ == TFormStyle::fsMDIChild) {
    TCustomForm* frame = MDIFrame();
    if (frame && frame != this) frame->Handle();
    return frame && frame != this ? frame->clientHandle_ : nullptr;
  }
  // Owned by the application's window, so no form gets a task-bar button of its own.
  return Application ? Application->Handle() : nullptr;
}

void TCustomForm::CreateHandleDone() {
  if (icon_) SendMessageA(handle_, WM_SETICON, ICON_BIG, (LPARAM)icon_);
  if (formStyle_ == TFormStyle::fsMDIForm && !clientHandle_) {
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = windowMenu_ ? windowMenu_->Handle() : nullptr;
    ccs.idFirstChild = 0xFF00;  // above every command of the menus
    RECT r{};
    GetClientRect(handle_, &r);
    clientHandle_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, r.right,
                                    r.bottom, handle_, nullptr, GetModuleHandleA(nullptr), &ccs);
    if (!clientHandle_) throw Exception("Error creating the MDI client of " + Name());
  }
  if (menu_) MenuChangedHandler();
}

void TCustomForm::PaintWindow(HDC dc) {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::SetClientSize(int w, int h) {
  if (handle_) {
    TWinControl::SetClientSize(w, h);
    return;
  }
  TCreateParams p;
  CreateParams(p);
  RECT r{0, 0, w, h};
  AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
  SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void TCustomForm::SetFormStyle(TFormStyle s) {
  formStyle_ = s;
  if (handle_)
    SetWindowPos(handle_, s == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState s) {
  windowState_ = s;
  if (handle_ && visible_)
    ShowWindow(handle_, s == TWindowState::wsMinimized ? SW_MINIMIZE : s == TWindowState::wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  activeControl_ = c;
  if (c && handle_ && visible_ && c->CanFocus()) c->SetFocus();
}

void TCustomForm::SetIcon(HICON i) {
  icon_ = i;
  if (handle_) SendMessageA(handle_, WM_SETICON, ICON_BIG, (LPARAM)i);
}

bool TCustomForm::Active() const { return handle_ && GetActiveWindow() == handle_; }

void TCustomForm::PlaceOnScreen() {
  if (placed_) return;
  placed_ = true;
  if (position_ == TPosition::poScreenCenter || position_ == TPosition::poDesktopCenter ||
      position_ == TPosition::poMainFormCenter || position_ == TPosition::poOwnerFormCenter) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT area = work;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if ((position_ == TPosition::poMainFormCenter || position_ == TPosition::poOwnerFormCenter) && main && main != this &&
        main->HandleAllocated() && main->Visible())
      GetWindowRect(main->HandleIfAllocated(), &area);
    int l = area.left + ((area.right - area.left) - width_) / 2;
    int t = area.top + ((area.bottom - area.top) - height_) / 2;
    SetBounds(std::max<int>(work.left, l), std::max<int>(work.top, t), width_, height_);
  }
}

void TCustomForm::SetVisible(bool v) {
  if (v == visible_ && (!v || (handle_ && IsWindowVisible(handle_)))) return;
  if (v) {
    Handle();
    PlaceOnScreen();
    visible_ = true;
    SettleSizes();
    if (OnShow) OnShow(this);
    if (!handle_) return;  // the handler may have freed or hidden it
    int cmd = windowState_ == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
              : windowState_ == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    ShowWindow(handle_, cmd);
    // Its activation may have focused it already (a combo box's edit holds the focus for
    // it); focusing again costs a round of messages.
    if (activeControl_ && activeControl_->CanFocus()) {
      HWND c = activeControl_->HandleIfAllocated(), focus = GetFocus();
      if (!c || !focus || (focus != c && !IsChild(c, focus))) activeControl_->SetFocus();
    }
  } else {
    visible_ = false;
    if (handle_) ShowWindow(handle_, SW_HIDE);
    if (OnHide) OnHide(this);
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

namespace {
// True when the window lies above every window of its z-order band: nothing above it, or
// only top-most windows above a window that is not top-most itself.
bool OnTopOfItsBand(HWND h) {
  if (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) return GetWindow(h, GW_HWNDPREV) == nullptr;
  for (HWND above = GetWindow(h, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
    if (!(GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST)) return false;
  return true;
}
}  // namespace

void TCustomForm::BringToFront() {
  if (handle_ && formStyle_ == TFormStyle::fsMDIChild) {
    SendMessageA(GetParent(handle_), WM_MDIACTIVATE, (WPARAM)handle_, 0);
    return;
  }
  if (handle_) {
    // A window its showing just activated is already as high as it can go: only top-most
    // windows (hidden tool tips, often) lie above it. Moving it would change nothing and still
    // cost the whole round of position messages.
    if (!OnTopOfItsBand(handle_)) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // A window its showing just activated needs no second round with the system.
    if (GetForegroundWindow() != handle_) SetForegroundWindow(handle_);
  }
}

namespace {
struct DisabledWindows {
  HWND keep;
  std::vector<HWND> list;
};
BOOL CALLBACK DisableOther(HWND h, LPARAM lp) {
  auto* d = reinterpret_cast<DisabledWindows*>(lp);
  if (h != d->keep && IsWindowVisible(h) && IsWindowEnabled(h)) {
    EnableWindow(h, FALSE);
    d->list.push_back(h);
  }
  return TRUE;
}
}  // namespace

int TCustomForm::ShowModal() {
  if (visible_ || modal_) throw Exception("Cannot make a visible window modal");
  if (GetCapture()) ReleaseCapture();
  HWND active = GetActiveWindow();
  Handle();
  DisabledWindows disabled{handle_, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOther, reinterpret_cast<LPARAM>(&disabled));
  modal_ = true;
  modalResult_ = 0;
  TCustomForm* self = this;
  try {
    Show();
    while (modalResult_ == 0) {
      if (!Application || Application->Terminated()) {
        modalResult_ = mrCancel;
        break;
      }
      Application->HandleMessage();
      if (!LiveForms().count(self)) break;  // freed inside its own loop
    }
  } catch (...) {
    for (HWND h : disabled.list) EnableWindow(h, TRUE);
    modal_ = false;
    throw;
  }
  for (HWND h : disabled.list)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  if (!LiveForms().count(self)) return mrCancel;
  int result = modalResult_;
  modal_ = false;
  if (handle_) SetVisible(false);
  if (active && IsWindow(active)) SetActiveWindow(active);
  return result;
}

bool TCustomForm::CloseQuery() {
  bool can = true;
  if (OnCloseQuery) OnCloseQuery(this, can);
  return can;
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  if (Application && Application->MainForm() == this) action = TCloseAction::caFree;
  // An MDI child cannot hide inside its frame: it is minimised, or stays without a box.
  if (formStyle_ == TFormStyle::fsMDIChild)
    action = (borderIcons_ & biMinimize) ? TCloseAction::caMinimize : TCloseAction::caNone;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  if (modal_) {
    if (modalResult_ == 0) modalResult_ = mrCancel;
    if (action == TCloseAction::caFree) Release();
    return;
  }
  switch (action) {
    case TCloseAction::caHide: SetVisible(false); break;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); break;
    case TCloseAction::caFree: SetVisible(false); Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  if (Application) Application->ReleaseForm(this);
}

void TCustomForm::FreeReleased(TCustomForm* form) {
  if (LiveForms().count(form)) TComponent::Free(form);
}

namespace {
// Measuring and drawing of an owner-drawn main-menu item: its own handlers, else plainly.
bool MainMenuItemMessage(TMainMenu* menu, TMessage& m) {
  if (!menu) return false;
  if (m.Msg == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    TMenuItem* item = mi->CtlType == ODT_MENU ? menu->FindItem(mi->itemID) : nullptr;
    if (!item) return false;
    AnswerMeasureMenuItem(*item, *mi, nullptr);
    m.Result = TRUE;
    return true;
  }
  auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  TMenuItem* item = di->CtlType == ODT_MENU ? menu->FindItem(di->itemID) : nullptr;
  if (!item) return false;
  AnswerDrawMenuItem(*item, *di);
  m.Result = TRUE;
  return true;
}
}  // namespace

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_COMMAND:
      // A menu command (no control, notification 0) runs its main-menu item.
      if (m.LParam == 0 && HIWORD(m.WParam) == 0 && menu_ && menu_->DispatchCommand(LOWORD(m.WParam))) return;
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (MainMenuItemMessage(menu_, m)) return;
      break;
    case CM_MENUCHANGED:
      MenuChangedHandler();
      return;
    case WM_DESTROY:
      // The main menu owns its handle: the system must not destroy it with the window.
      if (menu_ && menu_->HandleIfAllocated() && GetMenu(handle_) == menu_->HandleIfAllocated())
        ::SetMenu(handle_, nullptr);
      break;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        if (OnActivate) OnActivate(this);
        if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      break;
    case WM_SIZE:
      if (m.WParam == SIZE_MINIMIZED) windowState_ = TWindowState::wsMinimized;
      else if (m.WParam == SIZE_MAXIMIZED) windowState_ = TWindowState::wsMaximized;
      else if (m.WParam == SIZE_RESTORED) windowState_ = TWindowState::wsNormal;
      break;
    case WM_SHOWWINDOW:
      if (!m.WParam && m.LParam == 0) visible_ = false;
      break;
    case WM_PAINT:
      TWinControl::WndProc(m);
      if (!paintMarked_ && timing::Enabled()) {
        paintMarked_ = true;
        timing::Mark("first paint of " + ClassName());
      }
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}
