// The tray icon: a non-visual component that keeps one icon in the notification area with
// its tip, balloon hints, an animation over the pictures of an image list, mouse events
// (a single click is told from a double click by the system's double-click time), a
// pop-up menu, and hiding the main form into the tray on minimise and bringing it back.
// Every icon of the process reports through the hidden window of one shared handler.
// GUI thread only. The component is owned by its owner; the image list and pop-up menu it
// points to are borrowed.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/Component.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Pictures.h"
#include "widgets/NotifyArea.h"
#include "widgets/SimpleTimer.h"

class TImageList;
class TPopupMenu;

enum class TBalloonIconKind { bikNone, bikInfo, bikWarning, bikError };

using TCycleEvent = TEvent<void(TObject*, int)>;
using TStartupEvent = TEvent<void(TObject*, bool&)>;

class TTrayNotifyIcon : public TComponent {
  KARV_CLASS(TTrayNotifyIcon, TComponent)
 public:
  // The callback message of the icon's notifications.
  static constexpr UINT kCallbackMessage = 2048;

  explicit TTrayNotifyIcon(TComponent* owner);
  ~TTrayNotifyIcon() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation op) override;

  bool DesignPreview() const { return designPreview_; }
  void SetDesignPreview(bool v);
  TImageList* IconList() const { return iconList_; }
  void SetIconList(TImageList* list);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool on);
  uint32_t CycleInterval() const { return cycleInterval_; }
  void SetCycleInterval(uint32_t ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  std::string Hint() const { return hint_; }
  void SetHint(const std::string& h);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  TIconImage& Icon() { return icon_; }
  void SetIcon(const TIconImage& icon);
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool v);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int n);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* m) { popupMenu_ = m; }
  bool LeftPopup() const { return leftPopup_; }
  void SetLeftPopup(bool v) { leftPopup_ = v; }
  bool WantEnterExitEvents() const { return wantEnterExit_; }
  void SetWantEnterExitEvents(bool v);
  bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool v) { minimizeToTray_ = v; }

  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter, OnMouseExit;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
  TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

  virtual bool CanLoadDefaultIcon() { return true; }
  // Add, remove or update the icon in the notification area; each returns the shell's answer.
  virtual bool ShowIcon();
  virtual bool HideIcon();
  virtual bool ModifyIcon();
  // Replaces any shown balloon; text and title are cut to 255 and 63 bytes.
  bool ShowBalloonHint(const std::string& title, const std::string& text, TBalloonIconKind kind, int timeoutSecs);
  void ShowMainForm();
  void HideMainForm();

  // The identifier the shell's notifications name this icon by.
  uint32_t Id() const { return id_; }
  // The hidden window all icons' notifications go to (nullptr when no icon exists).
  static HWND HandlerWindow();
  // The registered "TaskbarCreated" message (0 when the shell is too old to send it).
  static UINT TaskbarCreatedMessage();

 protected:
  // Overridable dispatchers of the events.
  virtual void Click();
  virtual void DblClick();
  virtual void CycleIcon(int nextIndex);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseEnter();
  virtual void MouseExit();
  virtual void DoMinimizeToTray();

 private:
  friend class TTrayNotifyHandler;
  struct HookLink;

  void HandleNotification(UINT message);
  bool Notify(DWORD message);
  // The first exchange with the shell after loading: the icon if visible, and the behaviour.
  void SendLoadedRecord();
  // Drops a first showing that still waits for its timer.
  void StopDeferredShowing();
  void PrepareRecord();
  void PopupAtCursor();
  bool ApplicationHook(TMessage& m);
  void OwnerHook(TMessage& m);
  bool MinimizeByHandler();
  void CycleTimerTick(TObject*);
  void ClickTimerTick(TObject*);
  void ExitTimerTick(TObject*);
  TWinControl* OwnerControl() const;

  uint32_t id_ = 0;
  bool designPreview_ = false;
  TImageList* iconList_ = nullptr;
  bool cycleIcons_ = false;
  uint32_t cycleInterval_ = 0;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = true;
  TIconImage icon_;
  bool iconVisible_ = false;
  int iconIndex_ = 0;
  TPopupMenu* popupMenu_ = nullptr;
  bool leftPopup_ = false, wantEnterExit_ = false, minimizeToTray_ = false;

  std::unique_ptr<TSimpleTimer> cycleTimer_, clickTimer_, exitTimer_;
  bool clickStarted_ = false, clickReady_ = false, dblClicked_ = false;
  bool cursorLeft_ = true;
  POINT lastPos_{0, 0};
  uint32_t behaviour_ = 0;  // notification behaviour sent with NIM_SETVERSION
  bool firstShow_ = true;
  bool quietIconChange_ = false;
  bool showingDeferred_ = false;  // loaded, the shell not told yet
  std::shared_ptr<HookLink> hooks_;
  TNotifyIconData record_;
  // Expires with the icon: a user handler may free it, and the caller must then stop.
  std::shared_ptr<char> life_ = std::make_shared<char>();
};

void RegisterTrayNotifyIcon();
