// TSkinForm: the form skinner, one per skinned top-level window. (Skin-object list, hot
// control and shared canvas; the frame skinning follows.)
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include <string>

#include "platform/forms/Component.h"
#include "platform/graphics/Canvas.h"

class TControl;
class TCustomForm;
class TSkinControl;
class TSkinData;

// How control discovery attaches a new skin object to its control.
enum class TSkinAttach { Recolour0, Recolour1, Handle, Scrollbars, Graphic };

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
  std::vector<TSkinControl*> skinObjects_;
  TSkinControl* hotControl_ = nullptr;
  TCanvas controlCanvas_;
  HWND window_ = nullptr;
  TSkinData* skinData_ = nullptr;
  TCustomForm* form_ = nullptr;
};
