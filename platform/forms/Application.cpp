#include "platform/forms/Application.h"

#include <commctrl.h>

#include "platform/forms/Forms.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/MessagePump.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Thread.h"
#include "platform/rtl/WndProcGuard.h"

TApplication* Application = nullptr;

namespace {
constexpr UINT WM_RELEASE_FORM = WM_APP + 0x1F0;
}  // namespace

// Sockets and other layers below the window library pump messages through this application.
TApplication::TApplication() : TComponent(nullptr) {
  message_pump::InstallPump(this, std::make_unique<message_pump::TPumpOf<TApplication>>(*this));
}

TApplication::~TApplication() {
  hints_.reset();
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
  hints_ = std::make_unique<TApplicationHints>();
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
    TCustomForm::FreeReleased(reinterpret_cast<TCustomForm*>(lp));
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

void TApplication::ReleaseForm(TCustomForm* form) {
  if (handle_) PostMessageA(handle_, WM_RELEASE_FORM, 0, reinterpret_cast<LPARAM>(form));
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
