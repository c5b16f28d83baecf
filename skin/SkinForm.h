// TSkinForm: the form skinner, one per skinned top-level window. (Skin-object list, hot
// control and shared canvas; the frame skinning follows.)
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/forms/Component.h"
#include "platform/graphics/Canvas.h"

class TSkinControl;
class TSkinData;

class TSkinForm : public TComponent {
  KARV_CLASS(TSkinForm, TComponent)
 public:
  explicit TSkinForm(TComponent* owner);
  ~TSkinForm() override;

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

  HWND Window() const { return window_; }
  void SetWindow(HWND h) { window_ = h; }
  TSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TSkinData* d) { skinData_ = d; }

 private:
  std::vector<TSkinControl*> skinObjects_;
  TSkinControl* hotControl_ = nullptr;
  TCanvas controlCanvas_;
  HWND window_ = nullptr;
  TSkinData* skinData_ = nullptr;
};
