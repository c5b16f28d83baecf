// The standard controls: each is a thin layer over its system window class, and most
// operations are one message to the window.
// Controls belong to their owner; a panel only shows the controls it parents. GUI thread only.
#pragma once
#include "platform/forms/Controls.h"

// Ancestor the skin engine's class tests name.
class TCustomEdit : public TWinControl {
  KARV_CLASS(TCustomEdit, TWinControl)
 public:
  using TWinControl::TWinControl;
};

// Ancestor the skin engine's class tests name.
class TCustomCheckBox : public TWinControl {
  KARV_CLASS(TCustomCheckBox, TWinControl)
 public:
  using TWinControl::TWinControl;
};

// Ancestor the skin engine's class tests name.
class TCustomPanel : public TCustomControl {
  KARV_CLASS(TCustomPanel, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
};

class TButton : public TWinControl {
  KARV_CLASS(TButton, TWinControl)
 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r) { modalResult_ = r; }
  // Acts as if clicked: runs OnClick and passes ModalResult to the form.
  void Click() override;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  bool default_ = false, cancel_ = false;
  int modalResult_ = 0;
};

class TCheckBox : public TCustomCheckBox {
  KARV_CLASS(TCheckBox, TCustomCheckBox)
 public:
  explicit TCheckBox(TComponent* owner);
  bool Checked() const;
  void SetChecked(bool v);
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  bool checked_ = false;
};

class TEdit : public TCustomEdit {
  KARV_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* owner);
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  void SelectAll();
  void Clear() { SetCaption(""); }
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  char passwordChar_ = 0;
  int maxLength_ = 0;
  bool readOnly_ = false;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// A text painted by its parent; no window of its own.
class TLabel : public TGraphicControl {
  KARV_CLASS(TLabel, TGraphicControl)
 public:
  explicit TLabel(TComponent* owner);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; Invalidate(); }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; Invalidate(); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a) { alignment_ = a; Invalidate(); }
  void SetCaption(const std::string& text) override;
  void Paint(HDC dc) override;
  void Loaded() override;

 protected:
  void FontChanged() override;
  // Measures now, or when the form is shown if it is hidden.
  void AdjustSize();
  void ApplyPendingSize() override;
  // Sets the size from the text: the class's own measure.
  virtual void MeasureSize();
  bool transparent_ = false, autoSize_ = true, wordWrap_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A container with an optional bevelled edge and a centred caption.
class TPanel : public TCustomPanel {
  KARV_CLASS(TPanel, TCustomPanel)
 public:
  explicit TPanel(TComponent* owner);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut b) { bevelInner_ = b; Invalidate(); }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut b) { bevelOuter_ = b; Invalidate(); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a) { alignment_ = a; Invalidate(); }
  void WndProc(TMessage& m) override;

 protected:
  void Paint(HDC dc) override;
  TBevelCut bevelInner_ = TBevelCut::bvNone, bevelOuter_ = TBevelCut::bvRaised;
  TAlignment alignment_ = TAlignment::taCenter;
};

// Registers the published properties and the description-reader classes of this unit.
void RegisterStdCtrls();
