#include "platform/forms/Forms.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "platform/forms/FormReader.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Properties.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/MessagePump.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/WndProcGuard.h"
#include "platform/rtl/Thread.h"

TApplication* Application = nullptr;

namespace {
constexpr UINT WM_RELEASE_FORM = WM_APP + 0x1F0;

// Forms alive now, so a late release message never frees one twice.
std::set<TCustomForm*>& LiveForms() {
  static std::set<TCustomForm*> s;
  return s;
}

void RegisterFormProperties() {
  static bool done = false;
  if (done) return;
  done = true;
  using F = TCustomForm;
  auto enumProp = [](const char* name, std::vector<std::string> names, auto get, auto set) {
    return MakeProp<F>(name, TPropType::Enum, [names, get](const F* f) { return names[(int)get(f)]; },
                       [names, set](F* f, const TPropValue& v) {
                         for (size_t i = 0; i < names.size(); ++i)
                           if (names[i] == std::get<std::string>(v)) set(f, (int)i);
                       },
                       names);
  };
  RegisterProperties(F::StaticClass(), {
      enumProp("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
               [](const F* f) { return f->BorderStyle(); }, [](F* f, int i) { f->SetBorderStyle((TFormBorderStyle)i); }),
      enumProp("Position", {"poDesigned", "poDefault", "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
               [](const F* f) { return f->Position(); }, [](F* f, int i) { f->SetPosition((TPosition)i); }),
      enumProp("FormStyle", {"fsNormal", "fsStayOnTop"}, [](const F* f) { return f->FormStyle(); },
               [](F* f, int i) { f->SetFormStyle((TFormStyle)i); }),
      enumProp("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"}, [](const F* f) { return f->WindowState(); },
               [](F* f, int i) { f->SetWindowState((TWindowState)i); }),
      MakeProp<F>(
          "BorderIcons", TPropType::Set,
          [](const F* f) {
            std::vector<std::string> s;
            if (f->BorderIcons() & biSystemMenu) s.push_back("biSystemMenu");
            if (f->BorderIcons() & biMinimize) s.push_back("biMinimize");
            if (f->BorderIcons() & biMaximize) s.push_back("biMaximize");
            if (f->BorderIcons() & biHelp) s.push_back("biHelp");
            return s;
          },
          [](F* f, const TPropValue& v) {
            unsigned b = 0;
            for (auto& e : std::get<std::vector<std::string>>(v)) {
              if (e == "biSystemMenu") b |= biSystemMenu;
              if (e == "biMinimize") b |= biMinimize;
              if (e == "biMaximize") b |= biMaximize;
              if (e == "biHelp") b |= biHelp;
            }
            f->SetBorderIcons(b);
          },
          {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}),
      MakeProp<F>("KeyPreview", TPropType::Boolean, [](const F* f) { return f->KeyPreview(); },
                  [](F* f, const TPropValue& v) { f->SetKeyPreview(std::get<bool>(v)); }),
      MakeProp<F>("ModalResult", TPropType::Integer, [](const F* f) { return (int64_t)f->ModalResult(); },
                  [](F* f, const TPropValue& v) { f->SetModalResult((int)std::get<int64_t>(v)); }),
      MakeProp<F>("ActiveControl", TPropType::Object, [](const F* f) { return (TObject*)f->ActiveControl(); },
                  [](F* f, const TPropValue& v) {
                    f->SetActiveControl(dynamic_cast<TWinControl*>(std::get<TObject*>(v)));
                  }),
      EventProp("OnCreate", &F::OnCreate),
      EventProp("OnShow", &F::OnShow),
      EventProp("OnHide", &F::OnHide),
      EventProp("OnActivate", &F::OnActivate),
      EventProp("OnDeactivate", &F::OnDeactivate),
      EventProp("OnDestroy", &F::OnDestroy),
      EventProp("OnClose", &F::OnClose),
      EventProp("OnCloseQuery", &F::OnCloseQuery),
      EventProp("OnPaint", &F::OnPaint),
  });
  using D = TDataModule;
  RegisterProperties(D::StaticClass(), {
      MakeProp<D>("Name", TPropType::String, [](const D* d) { return d->Name(); },
                  [](D* d, const TPropValue& v) { d->SetName(std::get<std::string>(v)); }),
      EventProp("OnCreate", &D::OnCreate),
      EventProp("OnDestroy", &D::OnDestroy),
  });
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
  if (Application && Application->Handle())
    PostMessageA(Application->Handle(), WM_RELEASE_FORM, 0, reinterpret_cast<LPARAM>(this));
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
    default:
      break;
  }
  TWinControl::WndProc(m);
}

namespace {
// The controls Tab visits, in tab order (then in the order they were made).
void CollectTabStops(TWinControl* parent, std::vector<TWinControl*>& out) {
  std::vector<TWinControl*> children;
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(parent->Controls(i))) children.push_back(w);
  std::stable_sort(children.begin(), children.end(), [](TWinControl* a, TWinControl* b) {
    int ta = a->TabOrder() < 0 ? 1 << 20 : a->TabOrder(), tb = b->TabOrder() < 0 ? 1 << 20 : b->TabOrder();
    return ta < tb;
  });
  for (TWinControl* w : children) {
    if (!w->Visible() || !w->Enabled()) continue;
    if (w->TabStop()) out.push_back(w);
    CollectTabStops(w, out);
  }
}
}  // namespace

bool TCustomForm::DialogKey(WORD key, TWinControl* focused) {
  if (key == VK_TAB) {
    std::vector<TWinControl*> stops;
    CollectTabStops(this, stops);
    if (stops.empty()) return false;
    auto it = std::find(stops.begin(), stops.end(), focused);
    int n = (int)stops.size();
    int at = it == stops.end() ? -1 : (int)(it - stops.begin());
    bool back = GetKeyState(VK_SHIFT) < 0;
    int next = at < 0 ? 0 : (at + (back ? n - 1 : 1)) % n;
    stops[next]->SetFocus();
    return true;
  }
  if (key == VK_RETURN) {
    if (auto* b = dynamic_cast<TButton*>(focused)) {
      b->Click();
      return true;
    }
  }
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* b = dynamic_cast<TButton*>(Components(i));
    if (!b || !b->Showing() || !b->Enabled() || b->ParentForm() != this) continue;
    if ((key == VK_RETURN && b->Default()) || (key == VK_ESCAPE && b->Cancel())) {
      b->Click();
      return true;
    }
  }
  return false;
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

// ---------------------------------------------------------------- TDataModule

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) { RegisterFormProperties(); }
TDataModule::~TDataModule() = default;
void TDataModule::LoadDescription(const std::string& text) { ReadComponentDescription(this, text, Published()); }
void TDataModule::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TDataModule::BeforeDestruction() {
  TNotifyEvent destroy = OnDestroy;
  OnDestroy = nullptr;  // once
  if (destroy) destroy(this);
  TComponent::BeforeDestruction();
}

// ---------------------------------------------------------------- TApplication

// Sockets and other layers below the window library pump messages through this application.
TApplication::TApplication() : TComponent(nullptr) {
  message_pump::InstallPump(this, std::make_unique<message_pump::TPumpOf<TApplication>>(*this));
}

TApplication::~TApplication() {
  // Forms go first, while the hidden window they are owned by still exists.
  while (ComponentCount() > 0) Free(Components(ComponentCount() - 1));
  if (handle_) DestroyWindow(handle_);
  if (Application == this) Application = nullptr;
  message_pump::RemovePump(this);
}

void TApplication::Initialize() {
  if (handle_) return;
  TThread::InitMainThread();
  RegisterFormsClasses();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                           ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  LoadLibraryA("riched20.dll");
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = GuardedWndProc<&TApplication::AppWndProc>;
  wc.hInstance = inst;
  wc.hIcon = LoadIcon(inst, MAKEINTRESOURCE(1));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "TApplication";
  // A class of that name made by anyone else would never reach this object.
  WNDCLASSA made{};
  if (!RegisterClassA(&wc) && (GetLastError() != ERROR_CLASS_ALREADY_EXISTS ||
                               !GetClassInfoA(inst, wc.lpszClassName, &made) || made.lpfnWndProc != wc.lpfnWndProc))
    throw Exception("TApplication: cannot register its window class (error " + sys::IntToStr(GetLastError()) + ")");
  if (title_.empty()) title_ = sys::ChangeFileExt(sys::ExtractFileName(ExeName()), "");
  handle_ = CreateWindowExA(0, "TApplication", title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                            nullptr, nullptr, inst, nullptr);
  if (!handle_) throw Exception("TApplication: cannot create its window (error " + sys::IntToStr(GetLastError()) + ")");
  SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TApplication::SetTitle(const std::string& t) {
  title_ = t;
  if (handle_) SetWindowTextA(handle_, t.c_str());
}

std::string TApplication::ExeName() const { return sys::ExeName(); }

LRESULT CALLBACK TApplication::AppWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (app && app->HookMainWindow) {
    TMessage m{msg, wp, lp, 0};
    if (app->HookMainWindow(m)) return m.Result;
  }
  if (msg == WM_RELEASE_FORM) {
    auto* form = reinterpret_cast<TCustomForm*>(lp);
    if (LiveForms().count(form)) TComponent::Free(form);
    return 0;
  }
  if (msg == WM_CLOSE && app) {
    // Closing the application window closes the main form, or ends a program without one.
    if (app->mainForm_) app->mainForm_->Close();
    else app->Terminate();
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(msg, handled);
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ProcessMessage(msg);
}

void TApplication::HandleMessage() {
  MSG msg;
  if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ProcessMessage(msg);
    return;
  }
  WaitMessage();
}

void TApplication::Run() {
  if (mainForm_ && ShowMainForm) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::Minimize() {
  if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->HandleIfAllocated(), SW_MINIMIZE);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (mainForm_ && mainForm_->HandleAllocated()) {
    // A main form hidden in the tray comes back as well as a minimised one.
    if (!mainForm_->Visible() || !IsWindowVisible(mainForm_->HandleIfAllocated())) {
      mainForm_->SetWindowState(TWindowState::wsNormal);
      mainForm_->Show();
    } else {
      ShowWindow(mainForm_->HandleIfAllocated(), SW_RESTORE);
    }
    SetForegroundWindow(mainForm_->HandleIfAllocated());
  }
  if (OnRestore) OnRestore(this);
}

#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/Image.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ListView.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/RadioGroup.h"
#include "platform/forms/TreeView.h"

void RegisterFormsClasses() {
  RegisterControlProperties();
  RegisterStdCtrls();
  RegisterExtCtrls();
  RegisterButtons();
  RegisterImgList();
  RegisterMenus();
  RegisterListControls();
  RegisterComCtrls();
  RegisterMemos();
  RegisterGroupControls();
  RegisterImage();
  RegisterListView();
  RegisterDialogs();
  RegisterActions();
  RegisterTreeView();
  RegisterRadioGroup();
  RegisterFileDialogs();
}
