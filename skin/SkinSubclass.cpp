#include "skin/SkinSubclass.h"

#include <algorithm>

#include "platform/forms/ImgList.h"
#include "platform/forms/Properties.h"
#include "platform/forms/SkinReadProperties.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinObjects.h"
#include "skin/SkinPaint.h"

namespace {
bool EmptyRect(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The text's height when drawn with these flags into the rectangle's width.
RECT MeasureText(HDC dc, const RECT& r, const std::string& text, UINT flags) {
  RECT calc = r;
  DrawTextA(dc, text.c_str(), (int)text.size(), &calc, flags | DT_CALCRECT);
  return calc;
}

// Moves the measured text rectangle into `r`: vertically centred (one pixel up), and for
// centred text also horizontally; otherwise it keeps the rectangle's width.
RECT PlaceMeasured(const RECT& r, const RECT& calc, bool centre) {
  int th = calc.bottom - calc.top, tw = calc.right - calc.left;
  RECT out = r;
  out.top = r.top + (r.bottom - r.top - th) / 2 - 1;
  out.bottom = out.top + th;
  if (centre) {
    out.left = r.left + (r.right - r.left - tw) / 2;
    out.right = out.left + tw;
  }
  return out;
}

// The text measured, placed by PlaceMeasured and drawn transparently in the canvas font's colour.
void DrawMeasured(TCanvas& canvas, const RECT& r, const std::string& text, UINT flags, bool centre) {
  HDC dc = canvas.Handle();
  RECT place = PlaceMeasured(r, MeasureText(dc, r, text, flags), centre);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(canvas.Font().Color()));
  DrawTextA(dc, text.c_str(), (int)text.size(), &place, flags);
  SetBkMode(dc, oldMode);
}
}  // namespace

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) { RegisterSkinReadProperties(); }

TSkinControl::~TSkinControl() {
  // A control that is being destroyed owns us and has already dropped its WindowProc.
  if (control_ && savedWindowProc_ && !control_->Destroying() && control_->WindowProc.Owner() == this)
    control_->WindowProc = savedWindowProc_;
  savedWindowProc_.Clear();
  subclass_.Restore();
  if (formSkinner_) {
    if (formSkinner_->HotControl() == this) formSkinner_->SetHotControl(nullptr);
    formSkinner_->RemoveSkinObject(this);
  }
}

void TSkinControl::Register() {
  if (formSkinner_) formSkinner_->AddSkinObject(this);
}

TColor TSkinControl::FaceColour() const { return skinData_ ? skinData_->Model().ButtonFace : clBtnFace; }

void TSkinControl::RefreshEnabled() {
  enabled_ = handle_ ? (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_DISABLED) == 0 : (!control_ || control_->Enabled());
}

void TSkinControl::BindOwner(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) {
  recolour_ = recolour;
  skinData_ = skinData;
  canvas_ = canvas;
  formSkinner_ = formSkinner;
  control_ = dynamic_cast<TControl*>(Owner());
  if (auto* w = dynamic_cast<TWinControl*>(control_)) handle_ = w->HandleIfAllocated();
}

void TSkinControl::RecolourControl() {
  savedColor_ = control_->Color();
  control_->SetColor(FaceColour());
}

bool TSkinControl::TrackLeftButton(UINT msg) {
  if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK && msg != WM_LBUTTONUP) return false;
  if (msg == WM_LBUTTONUP) mouseState_ &= (uint8_t)~kPressed;
  else mouseState_ |= kPressed;
  InvalidateControl();
  return true;
}

void TSkinControl::Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) {
  if (attached_) return;
  BindOwner(formSkinner, skinData, recolour, canvas);
  if (!control_) return;
  savedWindowProc_ = control_->WindowProc;
  control_->WindowProc = TWndMethod(this, &TSkinControl::SkinWndProc);
  Register();
  focused_ = handle_ && GetFocus() == handle_;
  RefreshEnabled();
  caption_ = control_->Caption();
  if (recolour_) RecolourControl();
  control_->Invalidate();
  MarkAttached();
}

void TSkinControl::AttachHandle(HWND handle, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas) {
  if (attached_) return;
  handle_ = handle;
  skinData_ = skinData;
  formSkinner_ = formSkinner;
  canvas_ = canvas;
  enabled_ = true;
  Register();
  char text[1024] = "";
  GetWindowTextA(handle, text, sizeof text);
  caption_ = text;
  if (!subclass_.Install(handle, TWindowSubclass::THandler(this, &TSkinControl::HandleProc))) return;
  InvalidateRect(handle, nullptr, TRUE);
  MarkAttached();
}

LRESULT TSkinControl::HandleProc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  TMessage m{msg, wp, lp, 0};
  SkinWndProc(m);
  return m.Result;
}

void TSkinControl::SkinWndProc(TMessage& m) {
  if (active_) {
    if (BeforeDefault(m)) {
      CallDefault(m);
      AfterDefault(m);
    }
    return;
  }
  if (m.Msg == SKIN_ACTIVE) {
    active_ = (int)m.WParam > 0;
    if (active_) InvalidateControl();
    return;
  }
  CallDefault(m);
}

void TSkinControl::CallDefault(TMessage& m) {
  if (savedWindowProc_) savedWindowProc_(m);
  else m.Result = subclass_.CallPrevious(m.Msg, m.WParam, m.LParam);
}

bool TSkinControl::BeforeDefault(TMessage& m) {
  if (m.Msg != WM_NCDESTROY) return true;
  CallDefault(m);
  lifeState_ = kSkinDead;
  Restore();
  return false;
}

void TSkinControl::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintWindow((HDC)m.WParam);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      focused_ = handle_ && GetFocus() == handle_;
      RefreshEnabled();
      InvalidateControl();
      break;
    case WM_SETTEXT:
      if (!m.LParam) caption_.clear();
      else if (subclass_.Wide()) SkinWideToAnsi(reinterpret_cast<const wchar_t*>(m.LParam), caption_);
      else caption_ = reinterpret_cast<const char*>(m.LParam);
      InvalidateControl();
      break;
    case SKIN_ACTIVE:
      active_ = (int)m.WParam > 0;
      break;
    default:
      break;
  }
}

void TSkinControl::Restore() {
  if (recolour_ && control_ && !control_->Destroying()) control_->SetColor(savedColor_);
}

void TSkinControl::PaintWindow(HDC dc) {
  if (!handle_ || !GetWindowRect(handle_, &windowRect_)) return;
  RECT r{0, 0, windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top};
  HDC use = dc ? dc : GetWindowDC(handle_);
  if (!use) return;
  Paint(use, r);
  if (!dc) ReleaseDC(handle_, use);
}

void TSkinControl::PaintMessage(TMessage& m) {
  PAINTSTRUCT ps{};
  HDC dc = (HDC)m.WParam;
  bool began = false;
  if (!dc) {
    dc = BeginPaint(handle_, &ps);
    began = dc != nullptr;
  }
  if (dc && GetWindowRect(handle_, &windowRect_)) {
    RECT r{0, 0, windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top};
    Paint(dc, r);
  }
  if (began) EndPaint(handle_, &ps);
  m.Result = 0;
}

void TSkinControl::UpdateSkin() {
  if (recolour_ && control_) control_->SetColor(FaceColour());
  InvalidateControl();
}

void TSkinControl::InvalidateControl() {
  if (control_) {
    control_->Invalidate();
  } else if (graphicControl_) {
    graphicControl_->Invalidate();
  } else if (handle_) {
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
  }
}

void TSkinControl::SendMouseLeave(TSkinControl* other) {
  if (other && other->handle_) SendMessageA(other->handle_, CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::FillFace(HDC dc, const RECT& r) {
  if (EmptyRect(r)) return;
  if (HBRUSH b = CreateSolidBrush(ColorToRGB(FaceColour()))) {
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
}

void TSkinControl::FillParentColor(HDC dc, const RECT& r) {
  if (EmptyRect(r)) return;
  TColor c = control_ && control_->Parent() ? control_->Parent()->Color() : FaceColour();
  if (HBRUSH b = CreateSolidBrush(ColorToRGB(c))) {
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
}

// ---------------------------------------------------------------- properties by name

int TSkinControl::GetOrdPropByName(const TObject* o, std::string_view name) {
  const TPropInfo* p = o ? FindProperty(o, name) : nullptr;
  if (!p || (p->Type != TPropType::Integer && p->Type != TPropType::Boolean && p->Type != TPropType::Enum)) return 0;
  try {
    return (int)GetOrdProp(o, name);
  } catch (...) {
    return 0;
  }
}

std::string TSkinControl::GetEnumPropName(const TObject* o, std::string_view name) {
  const TPropInfo* p = o ? FindProperty(o, name) : nullptr;
  if (!p || (p->Type != TPropType::Enum && p->Type != TPropType::Boolean)) return {};
  try {
    return GetEnumProp(o, name);
  } catch (...) {
    return {};
  }
}

std::string TSkinControl::GetStrPropByName(const TObject* o, std::string_view name) {
  const TPropInfo* p = o ? FindProperty(o, name) : nullptr;
  if (!p || p->Type != TPropType::String) return {};
  try {
    return GetStrProp(o, name);
  } catch (...) {
    return {};
  }
}

TObject* TSkinControl::GetObjPropByName(const TObject* o, std::string_view name, std::string_view className) {
  const TPropInfo* p = o ? FindProperty(o, name) : nullptr;
  if (!p || p->Type != TPropType::Object) return nullptr;
  try {
    TObject* v = GetObjectProp(o, name);
    if (v && !className.empty() && !v->InheritsFrom(className)) return nullptr;
    return v;
  } catch (...) {
    return nullptr;
  }
}

void TSkinControl::SetPropFromString(TObject* o, std::string_view name, const std::string& value) {
  const TPropInfo* p = o ? FindProperty(o, name) : nullptr;
  if (!p || !p->Set) return;
  if (p->Type != TPropType::Enum && p->Type != TPropType::Integer && p->Type != TPropType::Boolean) return;
  try {
    SetPropValue(o, name, value);
  } catch (...) {
    // A value the property does not know leaves it as it was.
  }
}

bool TSkinControl::IsPopupWindow(HWND h) {
  return GetParent(h) == GetDesktopWindow() || GetParent(h) == nullptr ||
         (GetWindowLongPtrA(h, GWL_STYLE) & WS_POPUP) != 0;
}

// ---------------------------------------------------------------- drawing primitives

void TSkinControl::DrawElement(HDC dc, const RECT& r, int frameCount, int frame, TDataSkinObject* element) {
  if (EmptyRect(r) || !element || element->Bitmap.Empty()) return;
  DrawNinePart(dc, r, element->Bitmap, false, element->Tile == 1, element->Trans == 1, frameCount, frame,
               element->Margins());
}

void TSkinControl::DrawFrameStretched(TCanvas& target, const RECT& r, int frameCount, int frame, TBitmap& image) {
  DrawFrameStretched(target.Handle(), r, frameCount, frame, image);
}

void TSkinControl::DrawFrameStretched(HDC dc, const RECT& r, int frameCount, int frame, TBitmap& image) {
  if (EmptyRect(r) || image.Empty()) return;
  DrawFrame(dc, r, image, true, frameCount, frame);
}

void TSkinControl::DrawFrameStretchedCopy(HDC dc, const RECT& r, int frameCount, int frame, TBitmap& image) {
  if (EmptyRect(r) || image.Empty() || r.right == r.left || r.bottom == r.top) return;
  RECT src = SkinFrameRect(image, false, frameCount, frame);
  if (IsRectEmpty(&src)) return;
  TBitmap piece(r.right - r.left, r.bottom - r.top);
  HDC pdc = piece.Canvas().Handle();
  SetStretchBltMode(pdc, COLORONCOLOR);
  StretchBlt(pdc, 0, 0, piece.Width(), piece.Height(), image.Canvas().Handle(), src.left, src.top,
             src.right - src.left, src.bottom - src.top, SRCCOPY);
  TransparentCopy(dc, r, piece);
}

void TSkinControl::DrawGlyph(TCanvas& canvas, const RECT& r, int glyphCount, int glyph, TBitmap& bitmap) {
  if (EmptyRect(r) || bitmap.Empty()) return;
  int count = std::max(glyphCount, 1);
  int index = count == 4 ? std::clamp(glyph, 1, 4) : 1;
  int w = bitmap.Width() / count, h = bitmap.Height();
  if (w <= 0) return;
  TBitmap one(w, h);
  BitBlt(one.Canvas().Handle(), 0, 0, w, h, bitmap.Canvas().Handle(), (index - 1) * w, 0, SRCCOPY);
  if (count == 4 && index == 2) SkinGrayBitmap(one);
  RECT at{r.left, r.top, r.left + w, r.top + h};
  TransparentCopy(canvas.Handle(), at, one);
}

void TSkinControl::DrawButtonCaption(TCanvas& canvas, const RECT& r, UINT alignment, const std::string& text) {
  caption_ = ReplaceAll(text, "||", "\r\n");
  if (EmptyRect(r)) return;
  DrawMeasured(canvas, r, caption_, alignment | DT_WORDBREAK | DT_EXPANDTABS, alignment == DT_CENTER);
}

void TSkinControl::DrawTextVCentered(TCanvas& canvas, const RECT& r, UINT alignment, bool enabled,
                                     const std::string& text) {
  if (EmptyRect(r)) return;
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  if (canvas.Font().Style() != 0) canvas.Font().SetStyle(0);
  if (!enabled) canvas.Font().SetColor(clBtnShadow);
  DrawMeasured(canvas, r, text, alignment | DT_EXPANDTABS, alignment == DT_CENTER);
}

void TSkinControl::DrawTextCentered(TCanvas& canvas, const RECT& r, int alignment, bool enabled,
                                    const std::string& text) {
  if (EmptyRect(r)) return;
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_SINGLELINE | DT_VCENTER | kAlign[std::clamp(alignment, 0, 2)];
  if (!enabled) canvas.Font().SetColor(clBtnShadow);
  HDC dc = canvas.Handle();
  RECT place = r;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(canvas.Font().Color()));
  DrawTextA(dc, text.c_str(), (int)text.size(), &place, flags);
  SetBkMode(dc, oldMode);
}

void TSkinControl::DrawIconText(TCanvas& canvas, const RECT& r, int alignment, const std::string& text,
                                int imageIndex, TImageList* images) {
  if (EmptyRect(r)) return;
  HDC dc = canvas.Handle();
  int width = r.right - r.left;
  bool icon = imageIndex != -1 && images && images->Width() < width;
  int iw = icon ? images->Width() : 0, ih = icon ? images->Height() : 0;
  const UINT flags = DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_VCENTER;
  RECT calc = MeasureText(dc, r, text, DT_SINGLELINE | DT_EXPANDTABS);
  int total = iw + (icon ? 1 : 0) + (calc.right - calc.left);
  int x = r.left + 2;
  if (alignment == 1) x = r.left + (width - total) / 2;
  else if (alignment == 2) x = r.right - 2 - total;
  x = std::max(x, (int)r.left + 2);
  if (icon) images->Draw(dc, x, r.top + (r.bottom - r.top - ih) / 2, imageIndex);
  RECT tr{x + iw + (icon ? 1 : 0), r.top, r.right, r.bottom};
  if (!enabled_) canvas.Font().SetColor(clBtnShadow);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(canvas.Font().Color()));
  DrawTextA(dc, text.c_str(), (int)text.size(), &tr, flags);
  SetBkMode(dc, oldMode);
}

void TSkinControl::DrawArrow(TCanvas& canvas, int x, int y, int direction) {
  // Each line is one row (up, down) or one column (left, right) of the triangle.
  for (int i = 0; i < 4; ++i) {
    switch (direction) {
      case 0:
        canvas.MoveTo(x - i, y + i), canvas.LineTo(x + i + 1, y + i);
        break;
      case 1:
        canvas.MoveTo(x - 3 + i, y + i), canvas.LineTo(x + 4 - i, y + i);
        break;
      case 2:
        if (i < 3) canvas.MoveTo(x + i, y - i), canvas.LineTo(x + i, y + i + 1);
        break;
      case 3:
        if (i < 3) canvas.MoveTo(x + i, y - 2 + i), canvas.LineTo(x + i, y + 3 - i);
        break;
      default:
        break;
    }
  }
}

void TSkinControl::BlitWorkBitmap(HDC dc, const RECT& r) {
  if (EmptyRect(r)) return;
  TBitmap& work = SkinWorkBitmap();
  if (work.Empty()) return;
  BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, work.Canvas().Handle(), 0, 0, SRCCOPY);
}
