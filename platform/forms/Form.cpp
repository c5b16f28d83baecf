#include "platform/forms/Form.h"

#include <algorithm>
#include <set>

#include "platform/forms/Application.h"
#include "platform/forms/FormReader.h"
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
  if (!enabled_) p.Style |= WS_DISABLED;
}

HWND TCustomForm::ParentHandleForCreate() {
  // Owned by the application's window, so no form gets a task-bar button of its own.
  return Application ? Application->Handle() : nullptr;
}

void TCustomForm::CreateHandleDone() {
  if (icon_) SendMessageA(handle_, WM_SETICON, ICON_BIG, (LPARAM)icon_);
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
    if (OnShow) OnShow(this);
    if (!handle_) return;  // the handler may have freed or hidden it
    int cmd = windowState_ == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
              : windowState_ == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    ShowWindow(handle_, cmd);
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
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

void TCustomForm::BringToFront() {
  if (handle_) {
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(handle_);
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

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
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
