#include "widgets/TrayNotifyIcon.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>

#include "platform/forms/FormReader.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/MessageWindow.h"
#include "platform/rtl/WndProcGuard.h"

namespace {
constexpr uint32_t kRecordFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7

// The registered shell message exists from common controls 4.71 on.
bool ShellSendsTaskbarCreated() {
  HMODULE cc = GetModuleHandleA("comctl32.dll");
  auto get = cc ? reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(cc, "DllGetVersion")))
                : nullptr;
  DLLVERSIONINFO vi{};
  vi.cbSize = sizeof vi;
  if (!get || get(&vi) != S_OK) return true;
  return vi.dwMajorVersion > 4 || (vi.dwMajorVersion == 4 && vi.dwMinorVersion >= 71);
}
}  // namespace

// The process-wide receiver of every icon's notifications; made with the first icon and
// freed with the last. Notifications name icons by number, so one for an icon that is gone
// finds nothing and is dropped.
class TTrayNotifyHandler {
 public:
  ~TTrayNotifyHandler() {
    if (window_) DestroyWindow(window_);
  }
  static TTrayNotifyHandler* Instance() { return Holder().get(); }
  static uint32_t Acquire(TTrayNotifyIcon* icon) {
    auto& holder = Holder();
    if (!holder) holder.reset(new TTrayNotifyHandler());
    uint32_t id = holder->nextId_++;
    holder->icons_[id] = icon;
    return id;
  }
  static void Release(uint32_t id) {
    auto& holder = Holder();
    if (!holder) return;
    holder->icons_.erase(id);
    if (holder->icons_.empty()) holder.reset();
  }
  HWND Window() const { return window_; }
  UINT TaskbarCreated() const { return taskbarCreated_; }

 private:
  TTrayNotifyHandler() {
    // Message-only: the shell posts to it, and the system's broadcasts (the shell's restart)
    // reach the program through its application window.
    window_ = CreateMessageWindow("KarvTrayNotifyWindow", GuardedWndProc<&TTrayNotifyHandler::WndProc>);
    if (ShellSendsTaskbarCreated()) taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  }
  static std::unique_ptr<TTrayNotifyHandler>& Holder() {
    static std::unique_ptr<TTrayNotifyHandler> holder;
    return holder;
  }
  // The live icon of that number, when `h` is the handler's window.
  static TTrayNotifyIcon* IconOf(HWND h, WPARAM id) {
    TTrayNotifyHandler* self = Instance();
    if (!self || self->window_ != h) return nullptr;
    auto it = self->icons_.find((uint32_t)id);
    return it != self->icons_.end() ? it->second : nullptr;
  }
  static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case TTrayNotifyIcon::kCallbackMessage:
        if (TTrayNotifyIcon* icon = IconOf(h, wp)) icon->HandleNotification(LOWORD(lp));
        return 0;
      case WM_TIMER:
        // The first showing of a loaded icon (its timer carries the icon's number).
        KillTimer(h, wp);
        if (TTrayNotifyIcon* icon = IconOf(h, wp)) icon->SendLoadedRecord();
        return 0;
      case WM_CLOSE:
      case WM_DESTROY:
      case WM_QUIT:
      case WM_NCDESTROY:
      case WM_QUERYENDSESSION:
      case WM_ENDSESSION:
        return 1;
      default:
        return DefWindowProcA(h, msg, wp, lp);
    }
  }

  HWND window_ = nullptr;
  std::map<uint32_t, TTrayNotifyIcon*> icons_;
  uint32_t nextId_ = 1;
  UINT taskbarCreated_ = 0;
};

// What the installed hooks reach: the icon while it lives, and what they replaced. The hooks
// keep it alive, so a hook that could not be taken out passes everything on after the icon
// is gone.
struct TTrayNotifyIcon::HookLink {
  TTrayNotifyIcon* icon = nullptr;
  TEvent<bool(TMessage&)> previousAppHook;
  TWndMethod previousOwnerProc;
};

// ---------------------------------------------------------------- life cycle

TTrayNotifyIcon::TTrayNotifyIcon(TComponent* owner) : TComponent(owner) {
  RegisterTrayNotifyIcon();
  id_ = TTrayNotifyHandler::Acquire(this);
  icon_.OnChange = TNotifyEvent([this](TObject*) {
    if (!quietIconChange_) ModifyIcon();
  });
  record_.SetWnd(HandlerWindow());
  record_.SetId(id_);
  record_.SetFlags(kRecordFlags);
  record_.SetCallbackMessage(kCallbackMessage);
  cycleTimer_ = std::make_unique<TSimpleTimer>(1000, TNotifyEvent(this, &TTrayNotifyIcon::CycleTimerTick));
  clickTimer_ = std::make_unique<TSimpleTimer>(1000, TNotifyEvent(this, &TTrayNotifyIcon::ClickTimerTick));
  exitTimer_ = std::make_unique<TSimpleTimer>(20, TNotifyEvent(this, &TTrayNotifyIcon::ExitTimerTick));
  SetDesignPreview(designPreview_);

  hooks_ = std::make_shared<HookLink>();
  hooks_->icon = this;
  std::shared_ptr<HookLink> link = hooks_;
  if (Application) {
    link->previousAppHook = Application->HookMainWindow;
    Application->HookMainWindow = TEvent<bool(TMessage&)>(
        [link](TMessage& m) {
          if (link->icon && link->icon->ApplicationHook(m)) return true;
          return link->previousAppHook ? link->previousAppHook(m) : false;
        },
        link.get());
  }
  if (TWinControl* w = OwnerControl()) {
    link->previousOwnerProc = w->WindowProc;
    w->WindowProc = TWndMethod(
        [link](TMessage& m) {
          if (link->icon) link->icon->OwnerHook(m);
          else link->previousOwnerProc(m);
        },
        link.get());
  }
}

TTrayNotifyIcon::~TTrayNotifyIcon() {
  StopDeferredShowing();
  SetIconVisible(false);
  SetDesignPreview(false);
  cycleTimer_.reset();
  clickTimer_.reset();
  exitTimer_.reset();
  hooks_->icon = nullptr;
  if (Application && Application->HookMainWindow.Owner() == hooks_.get())
    Application->HookMainWindow = hooks_->previousAppHook;
  // An owner that is being destroyed has no window procedure left to restore.
  if (Owner() && !Owner()->Destroying())
    if (TWinControl* w = OwnerControl(); w && w->WindowProc.Owner() == hooks_.get()) w->WindowProc = hooks_->previousOwnerProc;
  TTrayNotifyHandler::Release(id_);
}

TWinControl* TTrayNotifyIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

HWND TTrayNotifyIcon::HandlerWindow() {
  TTrayNotifyHandler* h = TTrayNotifyHandler::Instance();
  return h ? h->Window() : nullptr;
}

UINT TTrayNotifyIcon::TaskbarCreatedMessage() {
  TTrayNotifyHandler* h = TTrayNotifyHandler::Instance();
  return h ? h->TaskbarCreated() : 0;
}

void TTrayNotifyIcon::Loaded() {
  if (OwnerControl()) {
    bool show = true;
    if (OnStartup) OnStartup(this, show);
    if (!show && Application) {
      Application->ShowMainForm = false;
      if (TCustomForm* main = Application->MainForm()) main->Hide();
    }
  }
  PrepareRecord();
  SetCycleIcons(cycleIcons_);
  SetWantEnterExitEvents(wantEnterExit_);
  // The shell is a round trip to another process: the icon goes there once the windows on
  // their way to the screen have painted. A timer's message comes only when no paint waits.
  showingDeferred_ = SetTimer(HandlerWindow(), id_, USER_TIMER_MINIMUM, nullptr) != 0;
  if (!showingDeferred_) SendLoadedRecord();
}

void TTrayNotifyIcon::StopDeferredShowing() {
  if (showingDeferred_) KillTimer(HandlerWindow(), id_);
  showingDeferred_ = false;
}

void TTrayNotifyIcon::SendLoadedRecord() {
  StopDeferredShowing();
  PrepareRecord();
  if (iconVisible_) Notify(NIM_ADD);
  record_.SetTimeout(behaviour_);  // the version field of NIM_SETVERSION
  Notify(NIM_SETVERSION);
}

void TTrayNotifyIcon::Notification(TComponent* component, TOperation op) {
  if (op != TOperation::opRemove) return;
  if (component == iconList_) iconList_ = nullptr;
  if (component == popupMenu_) popupMenu_ = nullptr;
}

// ---------------------------------------------------------------- the shell's record

bool TTrayNotifyIcon::Notify(DWORD message) {
  // Each call is a round trip to the shell; while the description is read and until its
  // first showing, the record is only kept up to date and then sent once.
  if (Loading() || showingDeferred_) return true;
  return seams::NotifyArea().NotifyIcon(message, record_);
}

void TTrayNotifyIcon::PrepareRecord() {
  record_.SetIcon(icon_.Handle());
  record_.SetTip(!hint_.empty() && showHint_ ? hint_ : std::string());
}

bool TTrayNotifyIcon::ShowIcon() {
  iconVisible_ = true;
  PrepareRecord();
  return Notify(NIM_ADD);
}

bool TTrayNotifyIcon::HideIcon() {
  iconVisible_ = false;
  return Notify(NIM_DELETE);
}

bool TTrayNotifyIcon::ModifyIcon() {
  PrepareRecord();
  return Notify(NIM_MODIFY);
}

bool TTrayNotifyIcon::ShowBalloonHint(const std::string& title, const std::string& text, TBalloonIconKind kind,
                                      int timeoutSecs) {
  // A balloon needs its icon in the notification area now.
  if (showingDeferred_) SendLoadedRecord();
  record_.SetFlags(record_.Flags() | NIF_INFO);
  record_.SetInfo("");
  ModifyIcon();
  record_.SetInfo(text);
  record_.SetInfoTitle(title);
  record_.SetTimeout((uint32_t)std::clamp(timeoutSecs, 0, 3600) * 1000);
  record_.SetInfoFlags((uint32_t)kind);
  bool ok = ModifyIcon();
  record_.SetFlags(kRecordFlags);
  return ok;
}

// ---------------------------------------------------------------- properties

void TTrayNotifyIcon::SetDesignPreview(bool v) {
  // The preview shows the icon in a form designer; a running program has none.
  designPreview_ = v;
}

void TTrayNotifyIcon::SetIconList(TImageList* list) {
  iconList_ = list;
  SetIconIndex(0);
}

void TTrayNotifyIcon::SetCycleIcons(bool on) {
  cycleIcons_ = on;
  if (on) {
    SetIconIndex(0);
    cycleTimer_->SetInterval(cycleInterval_);
    cycleTimer_->Start();
  } else {
    cycleTimer_->Stop(true);
  }
}

void TTrayNotifyIcon::SetCycleInterval(uint32_t ms) {
  cycleInterval_ = ms;
  SetCycleIcons(cycleIcons_);
}

void TTrayNotifyIcon::SetHint(const std::string& h) {
  hint_ = h;
  ModifyIcon();
}

void TTrayNotifyIcon::SetShowHint(bool v) {
  showHint_ = v;
  ModifyIcon();
}

void TTrayNotifyIcon::SetIcon(const TIconImage& icon) {
  quietIconChange_ = true;
  icon_.Assign(icon);
  quietIconChange_ = false;
  ModifyIcon();
}

void TTrayNotifyIcon::SetIconVisible(bool v) {
  if (v) ShowIcon();
  else HideIcon();
}

void TTrayNotifyIcon::SetIconIndex(int n) {
  if (iconList_) {
    iconIndex_ = std::clamp(n, 0, std::max(0, iconList_->Count() - 1));
    quietIconChange_ = true;
    iconList_->GetIcon(iconIndex_, icon_);
    quietIconChange_ = false;
  } else {
    iconIndex_ = 0;
  }
  ModifyIcon();
}

void TTrayNotifyIcon::SetWantEnterExitEvents(bool v) {
  wantEnterExit_ = v;
  if (v) exitTimer_->Start();
  else exitTimer_->Stop(true);
}

// ---------------------------------------------------------------- the main form

void TTrayNotifyIcon::ShowMainForm() {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!OwnerControl() || !main) return;
  Application->Restore();
  if (main->WindowState() == TWindowState::wsMinimized) main->SetWindowState(TWindowState::wsNormal);
  main->SetVisible(true);
  // The application's own window is never shown here; its main form stands for it.
  SetForegroundWindow(main->Handle());
}

void TTrayNotifyIcon::HideMainForm() {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!OwnerControl() || !main) return;
  main->Hide();
  if (IsWindowVisible(Application->Handle())) ShowWindow(Application->Handle(), SW_HIDE);
}

void TTrayNotifyIcon::DoMinimizeToTray() {
  HideMainForm();
  SetIconVisible(true);
}

bool TTrayNotifyIcon::MinimizeByHandler() {
  if (!minimizeToTray_ || !OnMinimizeToTray) return false;
  std::weak_ptr<char> alive = life_;
  OnMinimizeToTray(this);
  if (!alive.expired()) DoMinimizeToTray();  // the handler may have freed this icon
  return true;
}

bool TTrayNotifyIcon::ApplicationHook(TMessage& m) {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  switch (m.Msg) {
    case WM_SIZE:
      if (m.WParam == SIZE_MINIMIZED && minimizeToTray_) DoMinimizeToTray();
      break;
    case WM_WINDOWPOSCHANGED:
      if (firstShow_ && main) firstShow_ = false;
      break;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_RESTORE && main) main->SetVisible(true);
      break;
    default:
      if (UINT recreated = TaskbarCreatedMessage(); recreated && m.Msg == recreated && iconVisible_) ShowIcon();
      break;
  }
  return false;
}

void TTrayNotifyIcon::OwnerHook(TMessage& m) {
  switch (m.Msg) {
    case WM_SHOWWINDOW:
      if (m.WParam == 1 && m.LParam == 0) {
        if (Application) SetForegroundWindow(Application->Handle());
        if (HWND own = OwnerControl()->HandleIfAllocated()) SetForegroundWindow(own);
      } else if (m.WParam == 0 && m.LParam == SW_PARENTCLOSING && Application && !Application->Terminated() &&
                 MinimizeByHandler()) {
        m.Result = 1;
        return;
      }
      break;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE && MinimizeByHandler()) {
        m.Result = 1;
        return;
      }
      break;
    case WM_SIZE: {
      hooks_->previousOwnerProc(m);
      // In this class library minimising the application minimises its main form.
      bool isMain = Application && Application->MainForm() == OwnerControl();
      if (m.WParam == SIZE_MINIMIZED && minimizeToTray_ && isMain) DoMinimizeToTray();
      return;
    }
    default:
      break;
  }
  hooks_->previousOwnerProc(m);
}

// ---------------------------------------------------------------- notifications

void TTrayNotifyIcon::HandleNotification(UINT message) {
  bool mouse = message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
  if (mouse && !enabled_) return;
  TShiftState shift = KeyboardShiftState();
  POINT p;
  GetCursorPos(&p);
  // Every handler below may free this icon; its own state is brought up to date first.
  std::weak_ptr<char> alive = life_;
  auto gone = [&alive] { return alive.expired(); };
  switch (message) {
    case WM_MOUSEMOVE:
      lastPos_ = p;
      if (wantEnterExit_ && cursorLeft_) {
        cursorLeft_ = false;
        MouseEnter();
        if (gone()) return;
      }
      MouseMove(shift, p.x, p.y);
      break;
    case WM_LBUTTONDOWN:
      if (OnDblClick) {
        clickTimer_->SetInterval(GetDoubleClickTime());
        clickTimer_->Start();
      }
      clickStarted_ = true;
      MouseDown(TMouseButton::mbLeft, shift | ssLeft, p.x, p.y);
      if (gone()) return;
      if (leftPopup_) PopupAtCursor();
      break;
    case WM_LBUTTONUP: {
      bool clickNow = clickStarted_ && !clickTimer_->Active();
      clickReady_ = clickStarted_ && !clickNow;
      clickStarted_ = false;
      if (clickNow) {
        Click();
        if (gone()) return;
      }
      MouseUp(TMouseButton::mbLeft, shift | ssLeft, p.x, p.y);
      break;
    }
    case WM_LBUTTONDBLCLK:
      clickReady_ = false;
      dblClicked_ = true;
      DblClick();
      if (gone()) return;
      if (popupMenu_ && popupMenu_->AutoPopup() && !leftPopup_) {
        TMenuItem* items = popupMenu_->Items();
        for (int i = 0; i < items->Count(); ++i)
          if (items->Items(i)->Default()) {
            items->Items(i)->Click();
            break;
          }
      }
      break;
    case WM_RBUTTONDOWN:
      MouseDown(TMouseButton::mbRight, shift | ssRight, p.x, p.y);
      if (gone()) return;
      PopupAtCursor();
      break;
    case WM_RBUTTONUP:
      if (behaviour_ == 0) MouseUp(TMouseButton::mbRight, shift | ssRight, p.x, p.y);
      break;
    case WM_CONTEXTMENU:
    case NIN_SELECT:
    case NIN_KEYSELECT:
      if (behaviour_ == 1) MouseUp(TMouseButton::mbRight, shift | ssRight, p.x, p.y);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(TMouseButton::mbMiddle, shift | ssMiddle, p.x, p.y);
      break;
    case WM_MBUTTONUP:
      MouseUp(TMouseButton::mbMiddle, shift | ssMiddle, p.x, p.y);
      break;
    case NIN_BALLOONSHOW:
      if (OnBalloonHintShow) OnBalloonHintShow(this);
      break;
    case NIN_BALLOONHIDE:
      if (OnBalloonHintHide) OnBalloonHintHide(this);
      break;
    case NIN_BALLOONTIMEOUT:
      if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
      break;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      break;
    default:
      break;
  }
}

void TTrayNotifyIcon::PopupAtCursor() {
  if (!popupMenu_ || !popupMenu_->AutoPopup()) return;
  POINT p;
  GetCursorPos(&p);
  // The menu closes on a click elsewhere only when its window is in the foreground.
  if (Application) {
    SetForegroundWindow(Application->Handle());
    Application->ProcessMessages();
  }
  HWND owner = OwnerControl() ? OwnerControl()->HandleIfAllocated() : nullptr;
  if (!owner && Application) owner = Application->Handle();
  TPopupMenu* menu = popupMenu_;
  menu->SetPopupComponent(this);
  menu->Popup(p.x, p.y);  // the chosen item may free this icon
  if (owner) PostMessageA(owner, WM_NULL, 0, 0);
}

void TTrayNotifyIcon::CycleTimerTick(TObject*) {
  if (!iconList_) return;
  int count = iconList_->Count();
  iconList_->GetIcon(iconIndex_, icon_);  // its change updates the shell's icon
  std::weak_ptr<char> alive = life_;
  CycleIcon(iconIndex_ + 1 >= count ? 0 : iconIndex_ + 1);
  if (alive.expired()) return;  // the handler freed this icon
  iconIndex_ = iconIndex_ >= count - 1 ? 0 : iconIndex_ + 1;
}

void TTrayNotifyIcon::ClickTimerTick(TObject*) {
  clickTimer_->Stop(true);
  bool clickNow = !dblClicked_ && clickReady_;
  dblClicked_ = false;
  if (clickNow) {
    clickReady_ = false;
    Click();  // last: the handler may free this icon and its timer
  }
}

void TTrayNotifyIcon::ExitTimerTick(TObject*) {
  if (cursorLeft_) return;
  POINT p;
  GetCursorPos(&p);
  if (p.x != lastPos_.x || p.y != lastPos_.y) {
    cursorLeft_ = true;
    MouseExit();
  }
}

// ---------------------------------------------------------------- event dispatchers

void TTrayNotifyIcon::Click() {
  if (OnClick) OnClick(this);
}
void TTrayNotifyIcon::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TTrayNotifyIcon::CycleIcon(int nextIndex) {
  if (OnCycle) OnCycle(this, nextIndex);
}
void TTrayNotifyIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TTrayNotifyIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TTrayNotifyIcon::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TTrayNotifyIcon::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TTrayNotifyIcon::MouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}

// ---------------------------------------------------------------- registration

void RegisterTrayNotifyIcon() {
  static bool done = false;
  if (done) return;
  done = true;
  using T = TTrayNotifyIcon;
  auto object = [](const TPropValue& v) {
    auto* o = std::get_if<TObject*>(&v);
    return o ? *o : nullptr;
  };
  RegisterProperties(T::StaticClass(), {
      StringProperty<T>("Name", &T::Name, &T::SetName),
      OrdProperty<T>("Tag", &T::Tag, &T::SetTag),
      BoolProperty<T>("DesignPreview", &T::DesignPreview, &T::SetDesignPreview),
      MakeProp<T>("IconList", TPropType::Object, [](const T* t) { return (TObject*)t->IconList(); },
                  [object](T* t, const TPropValue& v) { t->SetIconList(dynamic_cast<TImageList*>(object(v))); }),
      BoolProperty<T>("CycleIcons", &T::CycleIcons, &T::SetCycleIcons),
      OrdProperty<T>("CycleInterval", &T::CycleInterval, &T::SetCycleInterval),
      BoolProperty<T>("Enabled", &T::Enabled, &T::SetEnabled),
      StringProperty<T>("Hint", &T::Hint, &T::SetHint),
      BoolProperty<T>("ShowHint", &T::ShowHint, &T::SetShowHint),
      MakeProp<T>("Icon", TPropType::Object, [](const T* t) { return (TObject*)&const_cast<T*>(t)->Icon(); },
                  [object](T* t, const TPropValue& v) {
                    if (auto* icon = dynamic_cast<TIconImage*>(object(v))) t->SetIcon(*icon);
                  }),
      BoolProperty<T>("IconVisible", &T::IconVisible, &T::SetIconVisible),
      IntProperty<T>("IconIndex", &T::IconIndex, &T::SetIconIndex),
      MakeProp<T>("PopupMenu", TPropType::Object, [](const T* t) { return (TObject*)t->PopupMenu(); },
                  [object](T* t, const TPropValue& v) { t->SetPopupMenu(dynamic_cast<TPopupMenu*>(object(v))); }),
      BoolProperty<T>("LeftPopup", &T::LeftPopup, &T::SetLeftPopup),
      BoolProperty<T>("WantEnterExitEvents", &T::WantEnterExitEvents, &T::SetWantEnterExitEvents),
      BoolProperty<T>("MinimizeToTray", &T::MinimizeToTray, &T::SetMinimizeToTray),
      EventProp("OnClick", &T::OnClick),
      EventProp("OnDblClick", &T::OnDblClick),
      EventProp("OnMouseDown", &T::OnMouseDown),
      EventProp("OnMouseUp", &T::OnMouseUp),
      EventProp("OnMouseMove", &T::OnMouseMove),
      EventProp("OnMouseEnter", &T::OnMouseEnter),
      EventProp("OnMouseExit", &T::OnMouseExit),
      EventProp("OnCycle", &T::OnCycle),
      EventProp("OnBalloonHintShow", &T::OnBalloonHintShow),
      EventProp("OnBalloonHintHide", &T::OnBalloonHintHide),
      EventProp("OnBalloonHintTimeout", &T::OnBalloonHintTimeout),
      EventProp("OnBalloonHintClick", &T::OnBalloonHintClick),
      EventProp("OnMinimizeToTray", &T::OnMinimizeToTray),
      EventProp("OnStartup", &T::OnStartup),
  });
  RegisterComponentClass<TTrayNotifyIcon>();
}
