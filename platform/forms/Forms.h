// Forms and the application object. A form is a top-level window built from its form
// description; the application owns the hidden window of class "TApplication", the main
// form and the message loop.
#pragma once
#include <windows.h>

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/forms/Controls.h"

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

constexpr int mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
              mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = TEvent<void(TObject*, TCloseAction&)>;
using TCloseQueryEvent = TEvent<void(TObject*, bool&)>;

// One entry of a form class's published table: a control field or an event handler that
// the description reader wires by name.
struct TPublishedEntry {
  std::string Name;
  bool IsHandler = false;
  // Fields: stores the component; false when its class does not fit the field.
  std::function<bool(TObject* form, TComponent* c)> Assign;
  // Handlers: the TEvent type and a maker that binds the method to the form.
  std::type_index EventType = typeid(void);
  std::function<std::any(TObject* form)> Make;
};
using TPublishedTable = std::vector<TPublishedEntry>;

template <class F, class T>
TPublishedEntry PublishedField(const char* name, T* F::*field) {
  TPublishedEntry e{name, false};
  e.Assign = [field](TObject* form, TComponent* c) {
    auto* typed = dynamic_cast<T*>(c);
    if (!typed) return false;
    static_cast<F*>(form)->*field = typed;
    return true;
  };
  return e;
}

template <class F, class R, class... A>
TPublishedEntry PublishedHandler(const char* name, R (F::*method)(A...)) {
  TPublishedEntry e{name, true};
  e.EventType = typeid(TEvent<R(A...)>);
  e.Make = [method](TObject* form) -> std::any { return TEvent<R(A...)>(static_cast<F*>(form), method); };
  return e;
}

// Inside a form class: the table of its published fields and handlers.
#define KARV_FIELD(Form, name) PublishedField(#name, &Form::name)
#define KARV_HANDLER(Form, name) PublishedHandler(#name, &Form::name)

class TCustomForm : public TWinControl {
  KARV_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Shows the form and makes it the active window.
  void Show();
  // Runs a local message loop until ModalResult is set; returns it.
  int ShowModal();
  void Close();
  void Release();  // frees the form once the current message is done
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r) { modalResult_ = r; }
  void SetVisible(bool v) override;
  // Before the window exists the frame is worked out from the border style.
  void SetClientSize(int width, int height) override;
  bool Active() const;
  void BringToFront() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle s) { borderStyle_ = s; }
  unsigned BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(unsigned b) { borderIcons_ = b; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle s);
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState s);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* c);
  HICON Icon() const { return icon_; }
  void SetIcon(HICON i);

  // The published table of this form class; derived forms list their own entries.
  virtual TPublishedTable Published() { return {}; }
  // Reads the form description (resource RCDATA named like the class) and wires it.
  void LoadDescription(const std::string& text);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnPaint;

  void WndProc(TMessage& m) override;
  // Enter clicks the focused button or else the default button; Esc the cancel button.
  bool DialogKey(WORD key, TWinControl* focused) override;
  // Called by the factory once the description is read: runs OnCreate.
  virtual void DoCreate();
  // Runs OnDestroy once, while the whole form still exists.
  void BeforeDestruction() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  HWND ParentHandleForCreate() override;
  void CreateHandleDone() override;
  void PaintWindow(HDC dc) override;
  virtual bool CloseQuery();
  void PlaceOnScreen();

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = TPosition::poDesigned;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TWindowState windowState_ = TWindowState::wsNormal;
  bool keyPreview_ = false;
  bool modal_ = false;
  int modalResult_ = 0;
  TWinControl* activeControl_ = nullptr;
  HICON icon_ = nullptr;
  bool placed_ = false;
  bool destroyFired_ = false;
};

class TForm : public TCustomForm {
  KARV_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* owner);
};

// A non-visual container of components built from its own description (no window).
class TDataModule : public TComponent {
  KARV_CLASS(TDataModule, TComponent)
 public:
  explicit TDataModule(TComponent* owner);
  ~TDataModule() override;
  virtual TPublishedTable Published() { return {}; }
  void LoadDescription(const std::string& text);
  virtual void DoCreate();
  // Runs OnDestroy once, while the whole module still exists.
  void BeforeDestruction() override;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
};

// The form description of a class, from the program's RCDATA resource of that name; "" when none.
std::string FindFormDescription(const std::string& className);

// Makes a form or data module: constructs it, reads its description (by class name) when
// there is one, then runs its OnCreate. The owner frees it; a null owner hands it to the caller.
template <class T>
T* CreateForm(TComponent* owner) {
  auto* f = new T(owner);
  try {
    std::string text = FindFormDescription(f->ClassName());
    if (!text.empty()) f->LoadDescription(text);
    f->DoCreate();
  } catch (...) {
    delete f;
    throw;
  }
  return f;
}

class TApplication : public TComponent {
  KARV_CLASS(TApplication, TComponent)
 public:
  TApplication();
  ~TApplication() override;

  void Initialize();
  HWND Handle() const { return handle_; }
  std::string Title() const { return title_; }
  void SetTitle(const std::string& t);
  std::string ExeName() const;
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* f) { mainForm_ = f; }
  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  T* CreateForm() {
    T* f = ::CreateForm<T>(this);
    if constexpr (std::is_base_of_v<TCustomForm, T>)
      if (!mainForm_) mainForm_ = f;
    return f;
  }
  // Shows the main form and runs the message loop until it closes or Terminate is called.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Dispatches every pending message; returns at once when none is waiting.
  void ProcessMessages();
  // Waits for one message and dispatches it.
  void HandleMessage();
  void Minimize();
  void Restore();
  bool ShowMainForm = true;
  // A handler of the skin engine or of the tray icon sees every message of the hidden window.
  TEvent<bool(TMessage&)> HookMainWindow;

  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TEvent<void(MSG&, bool&)> OnMessage;

 private:
  bool ProcessMessage(MSG& msg);
  static LRESULT CALLBACK AppWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  HWND handle_ = nullptr;
  std::string title_;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  std::vector<std::function<void()>> pendingRelease_;
  friend class TCustomForm;
};

// The application object of the process; made by the program's entry point.
extern TApplication* Application;

// Registers the class library's own classes with the description reader.
void RegisterFormsClasses();
