// TSkinForm: the form skinner, one per skinned top-level window (a form of the class
// library or a plain system dialog). It replaces the window's procedure, takes the system
// frame and caption away and draws its own from the skin: frame, title with caption text and
// caption buttons, and a menu bar. It gives the window's controls their skin objects and
// keeps them.
//
// Owned by the form (freed with it) or, for a plain window, by the skin manager. Everything
// runs on the GUI thread inside window procedures.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/forms/Controls.h"
#include "platform/forms/WindowSubclass.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "skin/SkinNCObjects.h"

class TTimer;

class TControl;
class TCustomForm;
class TSkinControl;
class TSkinData;

// How control discovery attaches a new skin object to its control.
enum class TSkinAttach { Recolour0, Recolour1, Handle, Scrollbars, Graphic };

// Skin states of a form skinner.
enum TSkinFormState { kFormInstalled = 0, kFormRunning = 1, kFormRefreshing = 3, kFormDestroying = 4,
                      kFormAdjusting = 5, kFormDestroyed = 6 };
// Border kinds.
enum TSkinBorderKind { kBorderSizable = 0, kBorderSingle = 1, kBorderNone = 2, kBorderDialog = 3 };
// Window states.
enum TSkinWindowState { kWindowNormal = 0, kWindowMaximized = 1, kWindowMinimized = 2 };

class TSkinForm : public TComponent {
  KARV_CLASS(TSkinForm, TComponent)
 public:
  explicit TSkinForm(TComponent* owner);
  ~TSkinForm() override;

  // --- life cycle ---
  // A form of the class library: also takes over the form's WindowProc and colour.
  void InstallOnForm(TSkinData* data, TCustomForm* form);
  // Installs the skin on the window (a plain dialog is installed with this alone).
  void Install(TSkinData* data);
  // Finishes installing (message 0x3503): skins the controls, fits the size, sets the region.
  void Finish();
  // Re-applies colours, the control skins and the size.
  void Refresh();
  // Full un-skin: styles, size, menu, window procedure, region.
  void Uninstall();
  void RemoveRegion();
  void Repaint();
  // The caption buttons are dropped (the skin changes); RebuildFromSkin makes them again.
  void DropCaptionButtons();
  void RebuildFromSkin();

  // --- drawing ---
  void PaintFrame(HDC given = nullptr);
  void BuildRegion();

  // --- the non-client elements (caption buttons, menu bar) ---
  TNCObject* HotObject() const { return hotObject_; }
  void SetHotObject(TNCObject* o) { hotObject_ = o; }
  // The window DC painting of one element.
  HDC WindowDC();
  TSkinSysButton* CaptionButtonAt(POINT windowPoint) const;
  TMenuBtn* ButtonByAccel(char c) const;
  // Opens the button's menu (or posts its command) and tracks it; the arrow keys and the
  // mouse move on to the neighbouring buttons' menus.
  void OpenMenuButton(TMenuBtn* button);
  void ShowSystemMenu(POINT screen);
  void Maximize();
  void Minimize();
  void RestoreWindow();
  void RunCaptionAction(TSkinSysButton* b, POINT screen);
  TSkinMenuBar* MenuBar() const { return menuBar_.get(); }
  const std::vector<std::unique_ptr<TSkinSysButton>>& CaptionButtons() const { return captionButtons_; }

  // --- state, read by the manager, the non-client elements and tests ---
  int SkinState() const { return skinState_; }
  int BorderKind() const { return borderKind_; }
  int WindowState() const { return windowState_; }
  bool ActiveFlag() const { return active_; }
  bool FrameEnabled() const { return frameEnabled_; }
  bool Installed() const { return subclass_.Installed(); }
  RECT FrameWidths() const { return RECT{left_, top_, right_, bottom_}; }
  int MenuBarHeight() const { return menuBarHeight_; }
  const RECT& CaptionRect() const { return captionRect_; }
  bool HasMaximizeBox() const { return (styleFlags_ & kHasMaximize) != 0; }
  bool HasMinimizeBox() const { return (styleFlags_ & kHasMinimize) != 0; }
  bool HasSystemMenu() const { return (styleFlags_ & kHasSysMenu) != 0; }
  bool DialogClass() const { return dialogClass_; }
  bool UnicodeWindow() const { return unicode_; }
  HMENU SkinnedSystemMenu() const { return skinnedSysMenu_; }
  const TBitmap& TitleBitmap() const { return titleBitmap_; }
  const TBitmap& IconBitmap() const { return iconBitmap_; }
  // The window text as drawn in the caption: wide for a Unicode window.
  std::wstring CaptionTextWide() const;
  int FormKind() const { return formKind_; }
  TCanvas& MenuCanvas() { return menuCanvas_; }
  bool MenuTracking() const { return menuTracking_; }
  void SetMenuTracking(bool v) { menuTracking_ = v; }
  bool RightToLeft() const { return rtl_; }

  // --- MDI ---
  // The "MDIClient" child of an MDI frame (form kind 1), else null.
  HWND MDIClientHandle() const { return mdiClient_; }
  // An MDI frame whose active child is maximised.
  bool ActiveChildMaximized() const;
  // An MDI child (form kind 2) hears that the manager's maximised-child state changed.
  void MaximisedChildChanged(bool set);
  // An MDI button of the menu bar (actions 7 to 9 and 60 to 62): the system command to the
  // active child; the maximised-child state goes when no child is maximised any more.
  void RunMDIButton(int action);
  // The window menu at install, once the skinned bar replaced it (null when none).
  HMENU WindowMenuHandle() const { return windowMenu_; }
  // What the skinner made for itself and frees when it un-skins or goes.
  HFONT CaptionFont() const { return captionFont_; }

  // --- the skin objects of this window's controls ---
  // Adds one unless present; true when it was there already.
  bool AddSkinObject(TSkinControl* s);
  void RemoveSkinObject(TSkinControl* s);
  const std::vector<TSkinControl*>& SkinObjects() const { return skinObjects_; }
  // Frees every skin object whose window is gone.
  void PurgeDeadSkinObjects();
  TSkinControl* FindSkinObject(HWND h) const;
  // Frees every skin object.
  void FreeSkinObjects();

  // The skin object that last saw the mouse.
  TSkinControl* HotControl() const { return hotControl_; }
  void SetHotControl(TSkinControl* s) { hotControl_ = s; }
  // The canvas handed to every skin object.
  TCanvas& ControlCanvas() { return controlCanvas_; }

  // --- control discovery ---
  // Drops dead skin objects, then gives each control owned by `parent` its skin object.
  void SkinControls(TComponent* parent);
  void SkinControl(TControl* c, TComponent* parent);
  // The class map's kind for the class name; false when it has no line for it.
  bool SkinByKind(const std::string& className, TControl* c);
  // A plain dialog: its direct child windows, chosen by window class.
  void SkinChildWindows();
  void SkinChildWindow(HWND h);
  // True when `c` must not get a skin object (it has one already).
  bool IsSkinned(TControl* c) const;
  static bool HasScrollBars(TControl* c);
  // Owner drawing of the form's pop-up menus with the skin's menu items, on or off.
  void SkinPopupMenus(bool on);
  // The same for the items below the top level of the form's main menus.
  void SkinMainMenu(bool on);
  // Makes a skin object of the named class for the control and attaches it; null when the
  // class has no entry in the skin object table.
  TSkinControl* AttachNew(const char* skinClass, TControl* c, TSkinAttach how);
  // The same for a bare window (owned by this form skinner).
  TSkinControl* AttachNewHandle(const char* skinClass, HWND h);

  TCustomForm* Form() const { return form_; }
  void SetForm(TCustomForm* f) { form_ = f; }
  HWND Window() const { return window_; }
  void SetWindow(HWND h) { window_ = h; }
  TSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TSkinData* d) { skinData_ = d; }

 private:
  enum : unsigned { kHasMaximize = 1, kHasMinimize = 2, kHasSysMenu = 8, kCaptionRemoved = 16 };
  // Commands of the skinned system menu.
  static constexpr UINT kSysRestore = 0xF120, kSysMaximize = 0xF030, kSysMinimize = 0xF020, kSysClose = 0xF060;
  // At most 1000 characters of the window's text.
  static std::string WindowText(HWND h);

  LRESULT SkinProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  bool SecondStage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool ThirdStage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  LRESULT PassOn(UINT msg, WPARAM wp, LPARAM lp) { return subclass_.CallPrevious(msg, wp, lp); }
  void FormWindowProc(TMessage& m);
  void DrawPopupItem(TObject* sender, HDC dc, RECT r, bool selected);
  void MeasurePopupItem(TObject* sender, HDC dc, int& width, int& height);
  void MeasureMainItem(TObject* sender, HDC dc, int& width, int& height);
  // Items of the menu bar's main menu, by command identifier; null when none.
  class TMenuItem* MainMenuItem(UINT command) const;
  bool MeasureMenuItem(MEASUREITEMSTRUCT& mi);
  bool DrawMenuItem(DRAWITEMSTRUCT& di);
  LRESULT MDIClientProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void InstallMDIClient();
  void RestoreMDIClient();
  // An MDI child that is maximised or minimised: the system draws its frame.
  bool MDIChildNotNormal() const { return formKind_ == 2 && windowState_ != kWindowNormal; }
  // The menu bar shows the form's main menu, or the window's menu when menus are merged.
  void RebuildMenuBar(bool fromWindowMenu);
  // The window menu the skin took off the window and must put back or free.
  void AdoptWindowMenu(HMENU menu);
  bool MainMenuOwns(HMENU menu) const;
  void HoverTimer(TObject*);

  void StripStyles(bool restore);
  void ComputeFrameMetrics();
  void BuildIconBitmap();
  void BuildSystemMenu();
  void FreeSystemMenu();
  void AdjustSize(bool atFinish);
  void ReadWindowState();
  void UnskinAtDestroy();
  void GiveBackWindow();
  void PaintTitle(HDC dc, int width);
  void LayoutCaptionButtons(int width);
  bool CaptionButtonVisible(const TSkinSysButton& b, int index) const;
  TNCObject* ElementAt(POINT screen) const;
  POINT ToWindow(POINT screen) const;
  LRESULT NCMouseMove(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT NCButtonDown(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT NCButtonUp(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT SysCommand(WPARAM wp, LPARAM lp);
  LRESULT HitTest(WPARAM wp, LPARAM lp);
  void MenuSelect(WPARAM wp, LPARAM lp);
  // The menu-bar button whose menu is next, or null (the message-filter hook decides).
  TMenuBtn* TrackOnce(TMenuBtn* button);

  std::vector<TSkinControl*> skinObjects_;
  TSkinControl* hotControl_ = nullptr;
  TCanvas controlCanvas_;
  TCanvas menuCanvas_;
  HWND window_ = nullptr;
  TSkinData* skinData_ = nullptr;
  TCustomForm* form_ = nullptr;

  TWindowSubclass subclass_;
  TWindowSubclass mdiSubclass_;
  HWND mdiClient_ = nullptr;
  HWND menuWatch_ = nullptr;
  bool savedMenuUpdate_ = true;
  bool menuUpdateOwed_ = false;  // MenuUpdate was cleared for MDI children and not yet put back
  TWndMethod savedFormProc_;
  HFONT captionFont_ = nullptr;
  TTimer* timer_ = nullptr;  // owned (a component of this object)
  std::wstring captionSuffix_ = L"  ", captionPrefix_ = L" ";
  std::string captionText_;
  std::string className_;
  bool frameEnabled_ = false;
  RECT clientRect_{};
  DWORD lastSysMenuTick_ = 0;
  UINT dblClickTime_ = 0;
  HWND ownerWindow_ = nullptr;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  RECT captionRect_{};
  SIZE unskinnedNC_{};
  int menuBarHeight_ = 0;
  bool menuTracking_ = false;
  bool rtl_ = false, sizable_ = false, unicode_ = false, dialogClass_ = false, restoreOnDestroy_ = false;
  HMENU skinnedSysMenu_ = nullptr;
  HMENU windowMenu_ = nullptr;
  HMENU systemMenu_ = nullptr;
  HMENU trackedPopup_ = nullptr;
  TColor formColor_ = 0;
  LONG_PTR savedStyle_ = 0;
  int buttonLayoutPos_ = 0;
  TNCObject* hotObject_ = nullptr;
  bool regionSet_ = false;
  bool windowsWait_ = false;  // a control's window waits for its showing: skinned once made
  std::unique_ptr<TSkinMenuBar> menuBar_;
  std::vector<std::unique_ptr<TSkinSysButton>> captionButtons_;
  TBitmap iconBitmap_, titleBitmap_;
  int lastRegionW_ = 0, lastRegionH_ = 0;
  bool active_ = true;
  int formKind_ = 0;
  int borderKind_ = kBorderSingle;
  unsigned styleFlags_ = 0;
  LONG_PTR removedCaption_ = 0;  // the caption bits the stripping took
  int windowState_ = kWindowNormal;
  int skinState_ = kFormInstalled;
};
