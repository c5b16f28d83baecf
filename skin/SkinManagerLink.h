// What the skin data component needs of the process-wide skin manager (TSkinManage,
// SkinManager.h). A test may install another factory.
// GUI thread only. Callers borrow the manager; it lives until ReleaseSkinManager.
#pragma once

class TComponent;
class TSkinData;

class ISkinManagerLink {
 public:
  virtual ~ISkinManagerLink() = default;
  virtual void RegisterData(TSkinData* data) = 0;
  virtual void UnregisterData(TSkinData* data) = 0;
  virtual void InstallHook() = 0;
  // Pending action (1 skin all, 2 remove skins, 3 refresh) after the interval.
  virtual void Schedule(int action, int intervalMs) = 0;
  virtual void SetRequestingData(TSkinData* data) = 0;
  // The form skinners of the requesting data drop their caption buttons.
  virtual void RefreshData() = 0;
  // The data's skin model was replaced: every window drawn from it lets go of the old one's
  // elements and rebuilds from the new one at once.
  virtual void SkinReplaced(TSkinData* data) = 0;
  virtual int FirstActivationCount() const = 0;
  virtual void SetFirstActivationCount(int count) = 0;
  virtual void SetActive(bool active) = 0;
  // Skins a form of the class library at once.
  virtual void SkinForm(TComponent* form) = 0;
};

// The manager, or null while none exists.
ISkinManagerLink* SkinManagerLink();
// The manager, made through the installed factory (else the real one) when there is none.
ISkinManagerLink* EnsureSkinManager();
// Installed by the manager's unit. The factory's object lives until ReleaseSkinManager.
void SetSkinManagerFactory(ISkinManagerLink* (*factory)());
// Frees the manager (at program end).
void ReleaseSkinManager();
