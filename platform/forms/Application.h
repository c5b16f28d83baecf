// TApplication: the process's application object. It owns the hidden window of class
// "TApplication" (which owns every form's window, so no form gets a task-bar button of its
// own), the forms created through it, and the message loop. One per process, made by the
// entry point and published as the global `Application`. GUI thread only.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/forms/Hints.h"

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
  // The controls' hints and the one hint window; made by Initialize.
  TApplicationHints* Hints() const { return hints_.get(); }
  bool ShowMainForm = true;
  // A handler of the skin engine or of the tray icon sees every message of the hidden window.
  TEvent<bool(TMessage&)> HookMainWindow;

  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TEvent<void(MSG&, bool&)> OnMessage;

 private:
  bool ProcessMessage(MSG& msg);
  // Frees the form once the message being handled now is done (TCustomForm::Release).
  void ReleaseForm(TCustomForm* form);
  static LRESULT CALLBACK AppWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  HWND handle_ = nullptr;
  std::string title_;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  std::vector<std::function<void()>> pendingRelease_;
  std::unique_ptr<TApplicationHints> hints_;
  friend class TCustomForm;
};

// The application object of the process; made by the program's entry point.
extern TApplication* Application;


