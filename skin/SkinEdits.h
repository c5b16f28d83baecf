// Skinned combo boxes and edits. Both let the control paint its content first and then
// paint over the frame: the combo box gets the skin's sunken edge and drop-down button,
// the edit a flat two-line border and skinned spin buttons. GUI thread; owned by the
// control, or by the form skinner for a bare window.
#pragma once
#include "platform/forms/WindowSubclass.h"
#include "skin/SkinSubclass.h"

class TSkinScrollbarH;
class TSkinUpDown;

class TSkinComBox : public TSkinControl {
  KARV_CLASS(TSkinComBox, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinComBox() override;

  void Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) override;
  void Restore() override;
  void AfterDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  LRESULT EditWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void PaintClassic(HDC dc, const RECT& r, TDataSkinObject* button);
  bool Focused() const;

  DWORD style_ = 0, exStyle_ = 0;
  HWND list_ = nullptr;  // list of a simple combo box
  HWND edit_ = nullptr;  // edit of a drop-down combo box
  TWindowSubclass editSubclass_;
  TSkinScrollbarH* listBars_ = nullptr;  // owned (a component of this object)
  COMBOBOXINFO info_{};
};

class TSkinEdit : public TSkinControl {
  KARV_CLASS(TSkinEdit, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void AfterDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void PrintBorder(HDC dc);
  TSkinUpDown* spin_ = nullptr;  // owned (a component of this object)
};
