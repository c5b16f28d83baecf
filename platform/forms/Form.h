// TCustomForm/TForm: a top-level window built from its form description, shown plainly or
// modally, closed through OnCloseQuery/OnClose, with Enter, Esc and Tab handled for its
// controls. A form belongs to its owner (usually the application); Release frees it once the
// current message is done. CreateForm<T> makes forms and data modules. GUI thread only.
#pragma once
#include <windows.h>

#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Published.h"
#include "platform/rtl/DataModule.h"
#include "platform/rtl/TimingMarks.h"

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
// An MDI frame (fsMDIForm) holds the system's "MDIClient" window, in which its MDI children
// (fsMDIChild) live.
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

constexpr int mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
              mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

class TMainMenu;
class TMenuItem;

using TCloseEvent = TEvent<void(TObject*, TCloseAction&)>;
using TCloseQueryEvent = TEvent<void(TObject*, bool&)>;

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
  bool KeyPreview() const override { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* c);
  HICON Icon() const { return icon_; }
  void SetIcon(HICON i);

  // The menu bar; the form shows its handle as the window's menu and runs its items.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* m);
  // --- MDI frames ---
  // The item whose sub-menu lists the MDI children (the system adds them).
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* item);
  // The "MDIClient" window of an MDI frame; null for other forms.
  HWND ClientHandle() const { return clientHandle_; }
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int i) const;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();
  // The MDI frame an MDI child is made in: the main form when it is one, else the first.
  static TCustomForm* MDIFrame();

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
  // DefFrameProc for an MDI frame, DefMDIChildProc for an MDI child.
  void DefaultHandler(TMessage& m) override;
  void Notification(TComponent* component, TOperation op) override;
  // Enter clicks the focused button or else the default button; Esc the cancel button.
  bool DialogKey(WORD key, TWinControl* focused) override;
  bool IsForm() const override { return true; }
  // Called by the factory once the description is read: runs OnCreate.
  virtual void DoCreate();
  // Runs OnDestroy once, while the whole form still exists.
  void BeforeDestruction() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  HWND ParentHandleForCreate() override;
  void CreateHandleDone() override;
  void CreateWnd() override;
  // The window menu again (the main menu's handle, through the MDI client for a frame).
  void MenuChangedHandler();
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
  TMainMenu* menu_ = nullptr;
  TMenuItem* windowMenu_ = nullptr;
  HWND clientHandle_ = nullptr;
  bool paintMarked_ = false;  // the first paint is a timing mark

 private:
  // Frees a form that Release asked to free, unless it is gone already.
  static void FreeReleased(TCustomForm* form);
  friend class TApplication;
};

class TForm : public TCustomForm {
  KARV_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* owner);
};

// The form description of a class, from the program's RCDATA resource of that name; "" when none.
std::string FindFormDescription(const std::string& className);

// Reads a description into a form, or into a data module (whose published names are its
// components and events only).
inline void LoadDescriptionOf(TCustomForm* form, const std::string& text) { form->LoadDescription(text); }
void LoadDescriptionOf(TDataModule* module, const std::string& text);

// Makes a form or data module: constructs it, reads its description (by class name) when
// there is one, then runs its OnCreate. The owner frees it; a null owner hands it to the caller.
template <class T>
T* CreateForm(TComponent* owner) {
  auto* f = new T(owner);
  try {
    std::string text = FindFormDescription(f->ClassName());
    if (!text.empty()) {
      timing::Span span("description of " + f->ClassName() + " read");
      LoadDescriptionOf(f, text);
    }
    timing::Span span(f->ClassName() + " created");
    f->DoCreate();
  } catch (...) {
    delete f;
    throw;
  }
  return f;
}

// The published properties of forms and data modules (done once, on first use).
void RegisterFormProperties();
