#include "platform/forms/StdCtrls.h"

#include <windowsx.h>

#include "platform/forms/FormReader.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Properties.h"
#include "platform/graphics/MeasureDC.h"

namespace {
const std::vector<std::string> kAlignments = {"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> kBevels = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
}  // namespace

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  RegisterStdCtrls();
  width_ = 75;
  height_ = 25;
  tabStop_ = true;
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "BUTTON";
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
  if (modalResult_ != 0)
    if (auto* form = dynamic_cast<TCustomForm*>(ParentForm())) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {
  RegisterStdCtrls();
  width_ = 97;
  height_ = 17;
  tabStop_ = true;
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "BUTTON";
  p.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateHandleDone() { SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

bool TCheckBox::Checked() const {
  return handle_ ? SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void TCheckBox::SetChecked(bool v) {
  bool was = Checked();
  checked_ = v;
  if (handle_) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (was != v) {
    if (OnChange) OnChange(this);
    TControl::Click();
  }
}

void TCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    checked_ = Checked();
    if (OnChange) OnChange(this);
    TControl::Click();
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {
  RegisterStdCtrls();
  width_ = 121;
  height_ = 21;
  tabStop_ = true;
  color_ = clWindow;
}

void TEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "EDIT";
  p.Style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateHandleDone() {
  if (passwordChar_) SendMessageA(handle_, EM_SETPASSWORDCHAR, (unsigned char)passwordChar_, 0);
  if (maxLength_) SendMessageA(handle_, EM_LIMITTEXT, maxLength_, 0);
}

void TEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  if (handle_) {
    SendMessageA(handle_, EM_SETPASSWORDCHAR, (unsigned char)c, 0);
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

void TEdit::SetMaxLength(int n) {
  maxLength_ = n;
  if (handle_) SendMessageA(handle_, EM_LIMITTEXT, n, 0);
}

void TEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (handle_) SendMessageA(handle_, EM_SETREADONLY, v, 0);
}

void TEdit::SelectAll() {
  if (handle_) SendMessageA(handle_, EM_SETSEL, 0, -1);
}

void TEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  RegisterStdCtrls();
  width_ = 65;
  height_ = 13;
}

void TLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustSize();
}

void TLabel::SetCaption(const std::string& t) {
  TGraphicControl::SetCaption(t);
  AdjustSize();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustSize();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustSize();
}

void TLabel::AdjustSize() {
  // A description sets the caption and each font property in turn: one measure after it.
  if (Loading()) return;
  sizePending_ = WaitsForShow();
  if (!sizePending_) MeasureSize();
}

void TLabel::ApplyPendingSize() {
  sizePending_ = false;
  MeasureSize();
}

void TLabel::MeasureSize() {
  if (!autoSize_ || wordWrap_) return;
  TMeasureDC measure;
  HDC dc = measure.Handle();
  HGDIOBJ old = SelectObject(dc, font_->Handle());
  RECT r{0, 0, 0, 0};
  std::string text = caption_.empty() ? " " : caption_;
  DrawTextA(dc, text.c_str(), (int)text.size(), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(dc, old);
  if (r.right != width_ || r.bottom != height_) SetBounds(left_, top_, r.right, r.bottom);
}

void TLabel::Paint(HDC dc) {
  RECT r{0, 0, width_, height_};
  if (!transparent_) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(color_));
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(enabled_ ? font_->Color() : clGrayText));
  UINT fmt = DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
  if (alignment_ == TAlignment::taCenter) fmt |= DT_CENTER;
  if (alignment_ == TAlignment::taRightJustify) fmt |= DT_RIGHT;
  DrawTextA(dc, caption_.c_str(), (int)caption_.size(), &r, fmt);
}

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* owner) : TCustomPanel(owner) {
  RegisterStdCtrls();
  width_ = 185;
  height_ = 41;
}

void TPanel::WndProc(TMessage& m) {
  TCustomControl::WndProc(m);
  if (m.Msg == WM_LBUTTONUP && enabled_) Click();
  if (m.Msg == WM_LBUTTONDBLCLK && enabled_) DblClick();
}

void TPanel::Paint(HDC dc) {
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  auto edge = [&](TBevelCut b) {
    if (b == TBevelCut::bvNone) return;
    if (b != TBevelCut::bvSpace) DrawEdge(dc, &r, b == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&r, -1, -1);
  };
  edge(bevelOuter_);
  edge(bevelInner_);
  if (!caption_.empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(font_->Color()));
    UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
               (alignment_ == TAlignment::taCenter ? DT_CENTER : alignment_ == TAlignment::taRightJustify ? DT_RIGHT : 0);
    DrawTextA(dc, caption_.c_str(), (int)caption_.size(), &r, fmt);
  }
  TCustomControl::Paint(dc);
}

// ---------------------------------------------------------------- registration

void RegisterStdCtrls() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  RegisterProperties(TButton::StaticClass(), {
      BoolProperty("Default", &TButton::Default, &TButton::SetDefault),
      BoolProperty("Cancel", &TButton::Cancel, &TButton::SetCancel),
      IntProperty("ModalResult", &TButton::ModalResult, &TButton::SetModalResult),
  });
  RegisterProperties(TCheckBox::StaticClass(), {
      BoolProperty("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked),
      EventProp("OnChange", &TCheckBox::OnChange),
  });
  RegisterProperties(TEdit::StaticClass(), {
      MakeProp<TEdit>("PasswordChar", TPropType::String, [](const TEdit* e) { return std::string(e->PasswordChar() ? 1 : 0, e->PasswordChar()); },
                      [](TEdit* e, const TPropValue& v) {
                        const auto& s = std::get<std::string>(v);
                        e->SetPasswordChar(s.empty() ? 0 : s[0]);
                      }),
      IntProperty("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength),
      BoolProperty("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly),
      EventProp("OnChange", &TEdit::OnChange),
  });
  RegisterProperties(TLabel::StaticClass(), {
      BoolProperty("Transparent", &TLabel::Transparent, &TLabel::SetTransparent),
      BoolProperty("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize),
      BoolProperty("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap),
      EnumProperty("Alignment", kAlignments, &TLabel::Alignment, &TLabel::SetAlignment),
  });
  RegisterProperties(TPanel::StaticClass(), {
      EnumProperty("BevelInner", kBevels, &TPanel::BevelInner, &TPanel::SetBevelInner),
      EnumProperty("BevelOuter", kBevels, &TPanel::BevelOuter, &TPanel::SetBevelOuter),
      EnumProperty("Alignment", kAlignments, &TPanel::Alignment, &TPanel::SetAlignment),
  });
  RegisterComponentClass<TButton>();
  RegisterComponentClass<TCheckBox>();
  RegisterComponentClass<TEdit>();
  RegisterComponentClass<TLabel>();
  RegisterComponentClass<TPanel>();
}
