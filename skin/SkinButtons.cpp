#include "skin/SkinButtons.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/forms/ImgList.h"
#include "platform/forms/Pictures.h"
#include "platform/forms/Properties.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinCtlUtil.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMetrics.h"

using namespace skinctl;
using skinmetrics::ButtonState;

// ------------------------------------------------------------------ TSkinButton

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}

bool TSkinButton::BeforeDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The button never sees the press: we draw it and click on release ourselves.
      if (GetFocus() != handle_) SetFocus(handle_);
      mouseState_ |= kPressed;
      PaintWindow(nullptr);
      return false;
    default:
      return TSkinControl::BeforeDefault(m);
  }
}

void TSkinButton::Click() {
  if (control_) {
    control_->Perform(CN_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle_), BN_CLICKED), (LPARAM)handle_);
    return;
  }
  if (HWND parent = GetParent(handle_))
    PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle_), BN_CLICKED), (LPARAM)handle_);
}

void TSkinButton::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      if (!enabled_) return;
      mouseState_ |= kHover;
      InvalidateControl();
      if (formSkinner_) formSkinner_->SetHotControl(this);
      return;
    case CM_MOUSELEAVE:
      if (!enabled_) return;
      mouseState_ &= ~kHover;
      mouseState_ &= ~kPressed;
      InvalidateControl();
      if (formSkinner_ && formSkinner_->HotControl() == this) formSkinner_->SetHotControl(nullptr);
      return;
    case WM_MOUSEMOVE: {
      if (mouseState_ & kHover) return;
      mouseState_ |= kHover;
      TSkinControl* hot = formSkinner_ ? formSkinner_->HotControl() : nullptr;
      if (hot && hot != this) SendMouseLeave(hot);
      if (hot != this) {
        InvalidateControl();
        if (formSkinner_) formSkinner_->SetHotControl(this);
      }
      return;
    }
    case WM_LBUTTONUP:
      if (!(mouseState_ & kPressed)) return;
      mouseState_ &= ~kPressed;
      InvalidateControl();
      Click();
      // A press may end the system's leave tracking; the hover look must still end.
      if (IsWindow(handle_)) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&t);
      }
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) break;
      SetBit(mouseState_, kPressed, m.Msg == WM_KEYDOWN);
      InvalidateControl();
      return;
    default:
      break;
  }
  TSkinControl::AfterDefault(m);
}

TColor TSkinButton::CaptionColour(int frame, TColor fontColour) const {
  const TDataSkinButton* b = skinData_->Model().Buttons.get();
  TColor c = fontColour;
  if (control_ || graphicControl_) {
    if (frame == 1 && b->HasNormalColour2) c = b->NormalColour2;
    if (frame == 4 && b->HasMouseOverColour2) c = b->MouseOverColour2;
    if (frame == 2 && b->HasPressedColour2) c = b->PressedColour2;
    if (frame == 3) c = clBtnShadow;
    return c;
  }
  if (frame == 1) c = b->NormalColour2;
  if (frame == 4) c = b->MouseOverColour2;
  if (frame == 2) c = b->PressedColour2;
  if (frame == 3) c = 0x808080;
  return c;
}

namespace {

// The font of a control object, or of a bare window (WM_GETFONT), onto a canvas.
void TakeFont(TCanvas& canvas, TObject* control, HWND window) {
  if (TFont* f = FontProperty(control)) {
    canvas.Font().Assign(*f);
    return;
  }
  LOGFONTA lf{};
  auto h = (HFONT)SendMessageA(window, WM_GETFONT, 0, 0);
  if (!h) h = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  if (!GetObjectA(h, sizeof lf, &lf)) return;
  TFont& f = canvas.Font();
  f.SetName(lf.lfFaceName);
  f.SetHeight(lf.lfHeight);
  f.SetStyle((lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) | (lf.lfUnderline ? fsUnderline : 0));
  f.SetCharset(lf.lfCharSet);
}

}  // namespace

void TSkinButton::Paint(HDC dc, const RECT& r) {
  TDataSkinButton* e = WithImage(skinData_->Model().Buttons);
  if (!e) return;
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  ButtonState s;
  s.isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  s.focused = GetFocus() == handle_;
  s.enabled = !(style & WS_DISABLED);
  s.pressed = (mouseState_ & kPressed) != 0;
  s.hover = (mouseState_ & kHover) != 0;
  focused_ = s.focused;
  enabled_ = s.enabled;
  const std::string text = control_ ? GetStrPropByName(control_, "Caption") : WindowText(handle_);
  const int frame = skinmetrics::PushButtonFrame(s);

  const RECT local = AtOrigin(r);
  PrepareBuffer(buffer_, Width(r), Height(r), skinData_->Model().ButtonFace);
  TCanvas& c = buffer_.Canvas();
  DrawElement(c.Handle(), local, e->FrameCount, frame, e);
  TakeFont(c, control_, handle_);
  const TColor fontColour = control_ ? c.Font().Color() : skinData_->Model().ButtonText;
  c.Font().SetColor(CaptionColour(frame, fontColour));
  DrawButtonCaption(c, local, DT_CENTER, text);
  BitBlt(dc, r.left, r.top, Width(r), Height(r), c.Handle(), 0, 0, SRCCOPY);
}

// ------------------------------------------------------------------ TSkinBitButton

namespace {

int LayoutIndex(const std::string& layout) {
  if (layout == "blglyphright") return 1;
  if (layout == "blglyphtop") return 2;
  if (layout == "blglyphbottom") return 3;
  return 0;
}

// "||" in a caption is a line break.
std::string WithLineBreaks(std::string s) {
  for (size_t p; (p = s.find("||")) != std::string::npos;) s.replace(p, 2, "\r\n");
  return s;
}

SIZE MeasureText(TCanvas& c, const std::string& text) {
  if (text.empty()) return SIZE{0, 0};
  RECT t{0, 0, 0, 0};
  DrawTextA(c.Handle(), text.c_str(), (int)text.size(), &t, DT_CALCRECT);
  return SIZE{t.right, t.bottom};
}

// Glyph, caption and their layout, as bitmap and speed buttons read them by name.
struct GlyphButtonParts {
  TBitmap glyph;
  int numGlyphs = 1;
  TImageList* images = nullptr;
  int imageIndex = -1, disabledIndex = -1;
  int gw = 0, gh = 0;
};

void ReadGlyph(TSkinControl& s, TObject* control, GlyphButtonParts& p) {
  if (auto* g = dynamic_cast<TGlyph*>(s.GetObjPropByName(control, "Glyph"))) CopyBitmapHandle(g->Handle(), p.glyph);
  p.numGlyphs = s.GetOrdPropByName(control, "NumGlyphs");
  if (p.numGlyphs <= 0) p.numGlyphs = 1;
  p.images = dynamic_cast<TImageList*>(s.GetObjPropByName(control, "Images"));
  p.imageIndex = HasProperty(control, "ImageIndex") ? s.GetOrdPropByName(control, "ImageIndex") : -1;
  p.disabledIndex = HasProperty(control, "DisabledIndex") ? s.GetOrdPropByName(control, "DisabledIndex") : -1;
  if (!p.glyph.Empty()) {
    p.gw = p.glyph.Width() / p.numGlyphs;
    p.gh = p.glyph.Height();
  } else if (p.images && p.imageIndex != -1) {
    p.gw = p.images->Width();
    p.gh = p.images->Height();
  }
}

// The glyph of a frame. The disabled glyph of a strip without its own disabled picture
// (not 4 glyphs) is the first one in grey.
void DrawButtonGlyph(TCanvas& c, const RECT& r, int count, int index, TBitmap& strip) {
  if (index != 2 || count == 4) {
    TSkinControl::DrawGlyph(c, r, count, index, strip);
    return;
  }
  const int w = strip.Width() / std::max(count, 1), h = strip.Height();
  if (w <= 0) return;
  TBitmap first(w, h);
  BitBlt(first.Canvas().Handle(), 0, 0, w, h, strip.Canvas().Handle(), 0, 0, SRCCOPY);
  SkinGrayBitmap(first);
  TSkinControl::DrawGlyph(c, r, 1, 1, first);
}

int IntOr(TSkinControl& s, TObject* control, const char* name, int def) {
  return HasProperty(control, name) ? s.GetOrdPropByName(control, name) : def;
}

}  // namespace

void TSkinBitButton::Paint(HDC dc, const RECT& r) {
  TDataSkinButton* e = WithImage(skinData_->Model().Buttons);
  if (!e || !control_) {
    if (e) TSkinButton::Paint(dc, r);
    return;
  }
  TObject* ctl = control_;
  ButtonState s;
  s.isDefault = GetEnumPropName(ctl, "Default") == "true";
  s.focused = GetFocus() == handle_;
  s.enabled = !(GetWindowLongA(handle_, GWL_STYLE) & WS_DISABLED);
  s.pressed = (mouseState_ & kPressed) != 0;
  s.hover = (mouseState_ & kHover) != 0;
  focused_ = s.focused;
  enabled_ = s.enabled;
  const int frame = skinmetrics::BitButtonFrame(s);
  const int glyphIndex = skinmetrics::GlyphForFrame(frame);

  const RECT local = AtOrigin(r);
  PrepareBuffer(buffer_, Width(r), Height(r), skinData_->Model().ButtonFace);
  TCanvas& c = buffer_.Canvas();
  DrawElement(c.Handle(), local, e->FrameCount, frame, e);
  TakeFont(c, ctl, handle_);

  GlyphButtonParts g;
  ReadGlyph(*this, ctl, g);
  const std::string text = WithLineBreaks(GetStrPropByName(ctl, "Caption"));
  const SIZE ts = MeasureText(c, text);
  const skinmetrics::ButtonLayout l = skinmetrics::LayoutGlyphButton(
      Width(r), Height(r), g.gw, g.gh, ts.cx, ts.cy, LayoutIndex(GetEnumPropName(ctl, "Layout")),
      IntOr(*this, ctl, "Margin", -1), IntOr(*this, ctl, "Spacing", 4), GetEnumPropName(ctl, "Alignment") == "tacenter");

  if (!g.glyph.Empty()) {
    DrawButtonGlyph(c, RECT{l.glyph.x, l.glyph.y, l.glyph.x + g.gw, l.glyph.y + g.gh}, g.numGlyphs, glyphIndex, g.glyph);
  } else if (g.images) {
    int index = s.enabled ? g.imageIndex : (g.disabledIndex != -1 ? g.disabledIndex : g.imageIndex);
    if (index != -1)
      ImageList_DrawEx(g.images->Handle(), index, c.Handle(), l.glyph.x, l.glyph.y, 0, 0, CLR_NONE, CLR_NONE,
                       s.enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
  }
  c.Font().SetColor(CaptionColour(frame, c.Font().Color()));
  DrawCanvasText(c, text, l.text, l.textFlags | DT_WORDBREAK);
  BitBlt(dc, r.left, r.top, Width(r), Height(r), c.Handle(), 0, 0, SRCCOPY);
}

// ------------------------------------------------------------------ TSkinSpeedButton

TSkinSpeedButton::~TSkinSpeedButton() { GiveBackWindowProc(); }

void TSkinSpeedButton::AttachGraphic(TControl* graphic, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas) {
  if (hooked_ || !graphic || graphic != Owner()) return;
  graphicControl_ = graphic;
  skinData_ = skinData;
  canvas_ = canvas;
  formSkinner_ = formSkinner;
  savedWindowProc_ = graphic->WindowProc;
  graphic->WindowProc = TWndMethod(this, &TSkinControl::SkinWndProc);
  hooked_ = true;
  Register();
  MarkAttached();
}

void TSkinSpeedButton::GiveBackWindowProc() {
  if (!hooked_) return;
  hooked_ = false;
  // A control being destroyed owns us and no longer has a WindowProc to give back.
  if (TControl* g = graphicControl_; g && !g->Destroying() && g->WindowProc.Owner() == this)
    g->WindowProc = savedWindowProc_;
  savedWindowProc_ = TWndMethod();
}

bool TSkinSpeedButton::BeforeDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      TControl* g = graphicControl_;
      if (!g || !m.WParam) return true;
      Paint((HDC)m.WParam, RECT{0, 0, g->Width(), g->Height()});
      m.Result = 1;
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallDefault(m);  // the control keeps its own down and click logic
      mouseState_ |= kPressed;
      PaintWindow(nullptr);
      return false;
    default:
      return TSkinButton::BeforeDefault(m);
  }
}

void TSkinSpeedButton::AfterDefault(TMessage& m) {
  TControl* g = graphicControl_;
  switch (m.Msg) {
    case CM_MOUSEENTER:
      mouseState_ |= kHover;
      PaintWindow(nullptr);
      return;
    case CM_MOUSELEAVE:
      mouseState_ &= ~kHover;
      mouseState_ &= ~kPressed;
      if (g && g->Visible()) PaintWindow(nullptr);
      return;
    case WM_LBUTTONUP:
      mouseState_ &= ~kPressed;
      PaintWindow(nullptr);
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) break;
      SetBit(mouseState_, kPressed, m.Msg == WM_KEYDOWN);
      PaintWindow(nullptr);
      return;
    case WM_NCDESTROY:
    case CM_RELEASE:
      GiveBackWindowProc();
      return;
    default:
      break;
  }
  TSkinButton::AfterDefault(m);
}

void TSkinSpeedButton::PaintWindow(HDC) {
  // A windowless control is drawn on its parent's window at its own place.
  TControl* g = graphicControl_;
  if (!g || !g->Visible() || !g->Parent() || !g->Parent()->HandleAllocated()) return;
  HWND parent = g->Parent()->HandleIfAllocated();
  HDC dc = GetDC(parent);
  if (!dc) return;
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, g->Left(), g->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
  Paint(dc, RECT{0, 0, g->Width(), g->Height()});
  RestoreDC(dc, saved);
  ReleaseDC(parent, dc);
}

void TSkinSpeedButton::Paint(HDC dc, const RECT& r) {
  TDataSkinButton* e = WithImage(skinData_->Model().Buttons);
  TControl* ctl = graphicControl_;
  if (!e || !ctl) return;
  ButtonState s;
  s.pressed = (mouseState_ & kPressed) != 0;
  s.hover = (mouseState_ & kHover) != 0;
  s.enabled = GetEnumPropName(ctl, "Enabled") == "true";
  const int frame = skinmetrics::SpeedButtonFrame(s, GetEnumPropName(ctl, "Down") == "true");
  const bool flat = GetEnumPropName(ctl, "Flat") == "true";

  const RECT local = AtOrigin(r);
  PrepareBuffer(buffer_, Width(r), Height(r), skinData_->Model().ButtonFace);
  TCanvas& c = buffer_.Canvas();
  if (!(frame == 1 && flat)) DrawElement(c.Handle(), local, e->FrameCount, frame, e);
  TakeFont(c, ctl, nullptr);
  const std::string text = GetStrPropByName(ctl, "Caption");
  GlyphButtonParts g;
  ReadGlyph(*this, ctl, g);
  if (g.glyph.Empty()) {
    DrawButtonCaption(c, local, DT_CENTER, text);
  } else {
    const SIZE ts = MeasureText(c, text);
    const skinmetrics::ButtonLayout l =
        skinmetrics::LayoutGlyphButton(Width(r), Height(r), g.gw, g.gh, ts.cx, ts.cy,
                                       LayoutIndex(GetEnumPropName(ctl, "Layout")), IntOr(*this, ctl, "Margin", -1),
                                       IntOr(*this, ctl, "Spacing", 4), false);
    DrawButtonGlyph(c, RECT{l.glyph.x, l.glyph.y, l.glyph.x + g.gw, l.glyph.y + g.gh}, g.numGlyphs,
                    skinmetrics::GlyphForFrame(frame), g.glyph);
    c.Font().SetColor(CaptionColour(frame, c.Font().Color()));
    DrawCanvasText(c, text, l.text, l.textFlags | DT_WORDBREAK);
  }
  BitBlt(dc, r.left, r.top, Width(r), Height(r), c.Handle(), 0, 0, SRCCOPY);
}
