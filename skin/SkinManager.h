// TSkinManage: the one process-wide object that attaches skins to windows at run time. A
// CBT hook on the GUI thread shows it every window the thread creates, activates and
// destroys: top-level windows get a form skinner, menu windows ("#32768") a pop-up menu
// skinner. It keeps those skinners and every skin data component, and performs the actions
// the components schedule (skin all, remove skins, refresh) on a 250 ms timer.
//
// Made by the first skin data component that finishes loading (through SkinManagerLink.h);
// freed at program end, which removes the hook. GUI thread only.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "skin/SkinManagerLink.h"

class TComponent;
class TCustomForm;
class TObject;
class TSkinData;
class TSkinForm;
class TSkinPopupMenu;
class TTimer;

// Menu kinds: what the next menu window belongs to.
constexpr int kMenuPopup = 0, kMenuBar = 1, kMenuSystem = 2;

class TSkinManage : public ISkinManagerLink {
 public:
  TSkinManage();
  ~TSkinManage() override;

  // --- ISkinManagerLink ---
  void RegisterData(TSkinData* data) override;
  // Also un-skins the windows that use the data and forgets every reference to it.
  void UnregisterData(TSkinData* data) override;
  void InstallHook() override;
  void Schedule(int action, int intervalMs) override;
  void SetRequestingData(TSkinData* data) override { requesting_ = data; }
  void RefreshData() override;
  void SkinReplaced(TSkinData* data) override;
  int FirstActivationCount() const override { return firstActivation_; }
  void SetFirstActivationCount(int count) override { firstActivation_ = count; }
  void SetActive(bool active) override { active_ = active; }
  void SkinForm(TComponent* form) override;

  // --- windows ---
  bool SkinWindow(HWND h);
  TSkinData* ChooseSkinData(HWND h) const;
  void SkinPopupMenu(HWND h);
  bool RemovePopup(HWND h);
  bool IsPopupSkinned(HWND h) const;
  TSkinForm* FindFormSkinner(HWND h) const;
  // Takes the window's entry off the list without freeing it (the skinner's destructor).
  void ForgetFormSkinner(TSkinForm* skinner);
  // Frees every form skinner whose window is gone.
  void Purge();
  void MarkPopups();
  // The background image of the pop-up skinner with that tag, or null.
  class TBitmap* PopupImageByTag(int tag) const;
  // Runs the pending action now (what the timer does).
  void RunPendingAction();

  bool Active() const { return active_; }
  bool Scanning() const { return scanning_; }
  int MenuKind() const { return menuKind_; }
  void SetMenuKind(int kind) { menuKind_ = kind; }
  bool NewMenuMark() const { return newMenuMark_; }
  void SetNewMenuMark(bool v) { newMenuMark_ = v; }
  // Set while the active MDI child of a skinned frame is maximised. A change updates every
  // MDI child's skinner: set takes their region and gives their caption styles back; clear
  // gives them their skinned frame again.
  bool MaximisedChild() const { return maximisedChild_; }
  void SetMaximisedChild(bool v);
  // The MDI client of the skinned MDI frame and that frame's form.
  HWND MDIClient() const { return mdiClient_; }
  TCustomForm* MDIFrameForm() const { return mdiFrame_; }
  void SetMDIFrame(HWND client, TCustomForm* form) { mdiClient_ = client, mdiFrame_ = form; }
  TSkinData* MainData() const { return mainData_; }
  TSkinData* RequestingData() const { return requesting_; }
  int PendingAction() const { return pendingAction_; }
  const std::vector<TSkinForm*>& FormSkinners() const { return formSkinners_; }
  size_t PopupCount() const { return popups_.size(); }
  const std::vector<TSkinData*>& DataList() const { return dataList_; }
  HHOOK Hook() const { return hook_; }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp);
  void OnTimer(TObject*);
  void Drop(TSkinForm* skinner, bool uninstall);

  std::unique_ptr<TTimer> timer_;
  HHOOK hook_ = nullptr;
  std::vector<TSkinForm*> formSkinners_;
  std::vector<std::unique_ptr<TSkinPopupMenu>> popups_;
  std::vector<TSkinData*> dataList_;
  bool active_ = false;
  bool scanning_ = false;
  int firstActivation_ = 0;
  int menuKind_ = kMenuPopup;
  bool newMenuMark_ = false;
  bool maximisedChild_ = false;
  HWND mdiClient_ = nullptr;
  TCustomForm* mdiFrame_ = nullptr;
  int pendingAction_ = 0;
  TSkinData* requesting_ = nullptr;
  TSkinData* mainData_ = nullptr;
};

// The process-wide manager, or null while none exists.
TSkinManage* SkinManager();
// The manager's form skinner of a window, or null.
TSkinForm* FindFormSkinner(HWND h);
