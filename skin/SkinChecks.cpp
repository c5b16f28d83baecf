#include "skin/SkinChecks.h"

#include "platform/forms/Properties.h"
#include "skin/SkinBoxes.h"
#include "skin/SkinCtlUtil.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMetrics.h"

using namespace skinctl;

namespace {
constexpr UINT kCmExit = CM_BASE + 27;

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }
}  // namespace

void TSkinCheckBox::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case kCmExit:
    case kCheckRepaintMessage:
      InvalidateControl();
      return;
    default:
      TSkinControl::AfterDefault(m);
  }
}

void TSkinCheckBox::Paint(HDC dc, const RECT& r) {
  TDataSkinButton* b = skinData_->Model().Buttons.get();
  if (!b || b->CheckButton.Empty()) return;
  const int count = std::max(b->CheckButtonFrame, 1);
  const int fw = b->CheckButton.Width() / count, fh = b->CheckButton.Height();
  const LRESULT st = SendMessageA(handle_, BM_GETSTATE, 0, 0);
  int state = (st & BST_CHECKED) ? 2 : 1;
  if (TObject* c = control_) {
    if (HasProperty(c, "State")) {
      const std::string v = GetEnumPropName(c, "State");
      if (Contains(v, "uncheck")) state = 1;
      else if (Contains(v, "check")) state = 2;
      else if (Contains(v, "gray")) state = 4;
    } else if (HasProperty(c, "Checked")) {
      state = GetEnumPropName(c, "Checked") == "true" ? 2 : 1;
    }
  }
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  const int frame = skinmetrics::CheckBoxFrame(state, (style & WS_DISABLED) != 0, (st & BST_INDETERMINATE) != 0, count);
  const skinmetrics::GlyphPlace p = skinmetrics::CheckGlyphPlace(r, fw, fh, (style & BS_LEFTTEXT) != 0);
  FillParentColor(dc, p.fill);
  DrawFrameStretched(dc, p.glyph, count, frame, b->CheckButton);
}

void TSkinRadioButton::Paint(HDC dc, const RECT& r) {
  TDataSkinButton* b = skinData_->Model().Buttons.get();
  if (!b || b->RadioButton.Empty()) return;
  const int count = std::max(b->RadioButtonFrame, 1);
  const int fw = b->RadioButton.Width() / count, fh = b->RadioButton.Height();
  bool checked = SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (TObject* c = control_; c && HasProperty(c, "Checked")) checked = GetEnumPropName(c, "Checked") == "true";
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  const int frame = skinmetrics::RadioButtonFrame(checked, (style & WS_DISABLED) != 0, count);
  const skinmetrics::GlyphPlace p = skinmetrics::RadioGlyphPlace(r, fw, fh, (style & BS_LEFTTEXT) != 0);
  FillParentColor(dc, p.fill);
  DrawFrameStretched(dc, p.glyph, count, frame, b->RadioButton);
}

// ------------------------------------------------------------------ TSkinObjImage

void TSkinObjImage::Attach(TSkinForm* formSkinner, TSkinData* skinData, bool, TCanvas* canvas) {
  if (Attached()) return;
  // No message is hooked: the control draws the glyphs it is handed.
  skinData_ = skinData;
  formSkinner_ = formSkinner;
  canvas_ = canvas;
  control_ = dynamic_cast<TControl*>(Owner());
  Register();
  MarkAttached();
  if (kind_ == 1) BuildGlyphs();
}

void TSkinObjImage::BuildGlyphs() {
  TObject* c = control_;
  TDataSkinButton* b = skinData_ ? skinData_->Model().Buttons.get() : nullptr;
  if (!c || !b || b->CheckButton.Empty() || !HasProperty(c, "CustomGlyphs")) return;
  const int count = std::max(b->CheckButtonFrame, 1);
  const int fw = b->CheckButton.Width() / count, fh = b->CheckButton.Height();
  if (fw <= 0 || fh <= 0) return;
  glyphs_.SetSize(fw * 9, fh);
  skinctl::FillSolid(glyphs_.Canvas().Handle(), RECT{0, 0, fw * 9, fh}, (TColor)kSkinKeyColour);
  // Slot (1-based) -> check frame; 0 leaves the slot transparent.
  int slots[9] = {1, 2, 0, 1, 2, 0, 3, 4, 0};
  if (count == 5) slots[2] = slots[5] = slots[8] = 5;
  for (int i = 0; i < 9; ++i) {
    if (!slots[i]) continue;
    const RECT src = SkinFrameRect(b->CheckButton, false, count, slots[i]);
    BitBlt(glyphs_.Canvas().Handle(), i * fw, 0, fw, fh, b->CheckButton.Canvas().Handle(), src.left, src.top, SRCCOPY);
  }
  // The property takes the class library's picture object, a copy of the strip.
  strip_.SetHandle((HBITMAP)CopyImage(glyphs_.Handle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  SetPropValue(c, "CustomGlyphs", TPropValue(static_cast<TObject*>(&strip_)));
  SetPropFromString(c, "transparentcolor", std::to_string(kSkinKeyColour));
  SetPropFromString(c, "UseCustomGlyphs", "false");
  SetPropFromString(c, "UseCustomGlyphs", "true");
}

void TSkinObjImage::UpdateSkin() {
  if (kind_ == 1) BuildGlyphs();
}

TSkinObjImage::~TSkinObjImage() {
  if (SkinnedControlAlive(*this)) Restore();
}

void TSkinObjImage::Restore() {
  if (kind_ == 1 && control_ && HasProperty(control_, "UseCustomGlyphs"))
    SetPropFromString(control_, "UseCustomGlyphs", "false");
}
