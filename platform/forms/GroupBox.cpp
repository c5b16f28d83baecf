#include "platform/forms/GroupBox.h"

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"

TGroupBox::TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {
  RegisterGroupControls();
  width_ = 185;
  height_ = 105;
}

void TGroupBox::Paint(HDC dc) {
  SIZE text{0, 0};
  GetTextExtentPoint32A(dc, caption_.c_str(), (int)caption_.size(), &text);
  RECT frame{0, text.cy / 2, ClientWidth(), ClientHeight()};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!caption_.empty()) {
    RECT t{8, 0, 8 + text.cx + 4, text.cy};
    HBRUSH b = CreateSolidBrush(ColorToRGB(color_));
    FillRect(dc, &t, b);
    DeleteObject(b);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(font_->Color()));
    TextOutA(dc, 10, 0, caption_.c_str(), (int)caption_.size());
  }
  TCustomControl::Paint(dc);
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  RegisterGroupControls();
  width_ = 113;
  height_ = 17;
  tabStop_ = true;
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "BUTTON";
  p.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateHandleDone() { SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

bool TRadioButton::Checked() const { return checked_; }

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (handle_) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (v && parent_) {
    // One of a parent's radio buttons is checked at a time.
    for (int i = 0; i < parent_->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(parent_->Controls(i)); other && other != this) other->SetChecked(false);
    TControl::Click();
  }
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    SetChecked(true);
    return;
  }
  TWinControl::WndProc(m);
}

void RegisterGroupControls() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  RegisterProperties(TRadioButton::StaticClass(), {
      BoolProperty("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked),
  });
  RegisterComponentClass<TGroupBox>();
  RegisterComponentClass<TRadioButton>();
}
