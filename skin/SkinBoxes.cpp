#include "skin/SkinBoxes.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Properties.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinPaint.h"

using namespace skinctl;

bool SkinnedControlAlive(const TSkinControl& s) {
  const TComponent* control = s.Owner();
  if (s.LifeState() == kSkinDead || (control && control->Destroying())) return false;
  // A skinner that hooks no message learns of its window's end only here.
  return !s.WindowHandle() || IsWindow(s.WindowHandle());
}

void EndPropertyLoan(PropertyLoan& loan, const TSkinControl& owner) {
  if (SkinnedControlAlive(owner)) loan.GiveBack();
  else loan.Forget();
}

// ------------------------------------------------------------------ TSkinBox

TSkinBox::~TSkinBox() {
  if (SkinnedControlAlive(*this) && lifeState_ == kSkinAttached) Restore();
  EndPropertyLoan(loan_, *this);
}

void TSkinBox::Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) {
  if (attached_) return;
  BindOwner(formSkinner, skinData, recolour, canvas);
  Register();
  if (recolour_ && control_) RecolourControl();
  MarkAttached();
}

void TSkinBox::Restore() {
  if (recolour_ && control_ && lifeState_ != kSkinColourBack) control_->SetColor(savedColor_);
  EndPropertyLoan(loan_, *this);
  lifeState_ = kSkinColourBack;
}

void TSkinBox::LendProperty(const std::string& name, const std::string& value) { loan_.Lend(control_, name, value); }

// ------------------------------------------------------------------ TSkinBoxH

bool TSkinBoxH::BeforeDefault(TMessage& m) {
  if (m.Msg != WM_ERASEBKGND) return TSkinControl::BeforeDefault(m);
  RECT w{};
  GetWindowRect(handle_, &w);
  const RECT local = AtOrigin(w);
  FillRect((HDC)m.WParam, &local, skinData_->ButtonFaceBrush());
  m.Result = 1;  // the background is erased
  return false;
}

// ------------------------------------------------------------------ TSkinSizer

void TSkinSizer::Paint(HDC dc, const RECT& r) { FillFace(dc, r); }

// ------------------------------------------------------------------ TSkinGroupBox

TSkinGroupBox::~TSkinGroupBox() {
  if (SkinnedControlAlive(*this) && attached_) Restore();
}

void TSkinGroupBox::Paint(HDC dc, const RECT& r) {
  std::string caption = WindowText(handle_);
  if (caption.empty() && control_) caption = GetStrPropByName(control_, "Caption");
  HFONT font = nullptr;
  if (TFont* f = FontProperty(control_)) font = f->Handle();
  else font = (HFONT)SendMessageA(handle_, WM_GETFONT, 0, 0);
  SelectedFont selected(dc, font);
  SIZE zero{0, 0};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  const int h = zero.cy;
  // The control's own etched frame is two lines deep and may sit a line lower than ours:
  // three rings of face colour leave none of it showing.
  HBRUSH face = skinData_->ButtonFaceBrush();
  RECT ring{0, h / 2 - 1, r.right, r.bottom};
  for (int i = 0; i < 3; ++i) {
    FrameRect(dc, &ring, face);
    InflateRect(&ring, -1, -1);
  }
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(skinData_->Model().ButtonShadow));
  if (pen) {
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, h / 2 - 1, r.right - 1, r.bottom - 1, 5, 5);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  if (caption.empty()) return;
  const COLORREF oldBk = SetBkColor(dc, ColorToRGB(skinData_->Model().ButtonFace));
  const int oldMode = SetBkMode(dc, OPAQUE);
  const TFont* f = FontProperty(control_);
  const COLORREF oldText = SetTextColor(dc, ColorToRGB(f ? f->Color() : skinData_->Model().ButtonText));
  RECT t{r.left + 9, r.top, r.right, r.bottom};
  DrawTextA(dc, caption.c_str(), (int)caption.size(), &t, DT_EXPANDTABS | DT_SINGLELINE);
  SetTextColor(dc, oldText);
  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBk);
}

// ------------------------------------------------------------------ TSkinStatusBar

TSkinStatusBar::~TSkinStatusBar() { EndPropertyLoan(sizeGrip_, *this); }

void TSkinStatusBar::Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas) {
  if (attached_) return;
  sizeGrip_.Lend(dynamic_cast<TControl*>(Owner()), "SizeGrip", "false");
  TSkinControl::Attach(formSkinner, skinData, recolour, canvas);
}

void TSkinStatusBar::Restore() {
  TSkinControl::Restore();
  EndPropertyLoan(sizeGrip_, *this);
}

namespace {

void Bevel(HDC dc, const RECT& r, bool raised) {
  const TColor light = raised ? clBtnHighlight : clBtnShadow, dark = raised ? clBtnShadow : clBtnHighlight;
  FillSolid(dc, RECT{r.left, r.top, r.right, r.top + 1}, light);
  FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, light);
  FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, dark);
  FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
}

// A panel's text as the bar holds it: tabs in front choose centre (one) or right (two).
struct PanelText {
  std::string text;
  UINT align = DT_LEFT;
  int bevel = 1;  // 1 lowered, 2 raised, 3 none
  bool ownerDrawn = false, rtl = false;
};

PanelText ReadPanel(HWND bar, int i) {
  PanelText p;
  // The length counts characters: read wide text, so a multi-byte text cannot overrun.
  const LRESULT info = SendMessageW(bar, SB_GETTEXTLENGTHW, (WPARAM)i, 0);
  const int length = LOWORD(info), type = HIWORD(info);
  p.bevel = (type & SBT_NOBORDERS) ? 3 : (type & SBT_POPOUT) ? 2 : 1;
  p.ownerDrawn = (type & SBT_OWNERDRAW) != 0;
  p.rtl = (type & SBT_RTLREADING) != 0;
  if (p.ownerDrawn || length <= 0) return p;
  std::wstring wide((size_t)length + 1, L'\0');
  SendMessageW(bar, SB_GETTEXTW, (WPARAM)i, (LPARAM)wide.data());
  wide.resize(wcslen(wide.c_str()));
  std::string text;
  SkinWideToAnsi(wide, text);
  size_t tabs = 0;
  while (tabs < text.size() && tabs < 2 && text[tabs] == '\t') ++tabs;
  p.align = tabs == 1 ? DT_CENTER : tabs == 2 ? DT_RIGHT : DT_LEFT;
  p.text = text.substr(tabs);
  return p;
}

}  // namespace

void TSkinStatusBar::Paint(HDC dc, const RECT& r) {
  const TSkinModel& model = skinData_->Model();
  TBitmap& work = SkinWorkBitmap();
  PrepareBuffer(work, Width(r), Height(r), model.ButtonFace);
  TCanvas& c = work.Canvas();
  if (TFont* f = FontProperty(control_)) c.Font().Assign(*f);
  c.Font().SetStyle(0);
  TDataSkinObject* edges = model.StatusBarEdges.get();
  if (edges) c.Font().SetColor(edges->NormalColour2);
  TDataSkinObject* edgeImage = WithImage(model.StatusBarEdges);
  auto panel = [&](const RECT& pr, int bevel) {
    if (edgeImage) DrawNinePart(c.Handle(), pr, edgeImage->Bitmap, false, edgeImage->Tile != 0, edgeImage->Trans != 0, 3,
                                bevel, edgeImage->Margins());
    else if (bevel != 3) Bevel(c.Handle(), pr, bevel == 2);
  };
  const bool simple = SendMessageA(handle_, SB_ISSIMPLE, 0, 0) != 0;
  const int parts = simple ? 0 : (int)SendMessageA(handle_, SB_GETPARTS, 0, 0);
  const bool enabled = !(GetWindowLongA(handle_, GWL_STYLE) & WS_DISABLED);
  if (parts > 0) {
    for (int i = 0; i < parts; ++i) {
      RECT pr{};
      if (!SendMessageA(handle_, SB_GETRECT, (WPARAM)i, (LPARAM)&pr)) continue;
      pr.right += 2;
      if (i == parts - 1) pr.right = Width(r);
      PanelText p = ReadPanel(handle_, i);
      panel(pr, p.bevel);
      if (p.ownerDrawn || p.text.empty()) continue;
      if (p.rtl && p.align != DT_CENTER) p.align = p.align == DT_LEFT ? DT_RIGHT : DT_LEFT;
      DrawTextVCentered(c, RECT{pr.left + 2, pr.top, pr.right - 2, pr.bottom}, p.align, enabled, p.text);
    }
  } else {
    std::string text = control_ ? GetStrPropByName(control_, "SimpleText") : std::string();
    if (!control_) text = ReadPanel(handle_, SB_SIMPLEID).text;
    panel(AtOrigin(r), 1);
    DrawTextVCentered(c, RECT{2, 0, Width(r) - 2, Height(r)}, DT_LEFT, enabled, text);
  }
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  if (TDataSkinObject* extra = WithImage(model.ExtraImages); extra && (style & SBARS_SIZEGRIP)) {
    const int count = std::max(extra->FrameCount, 1);
    const int fw = extra->Bitmap.Width() / count, fh = extra->Bitmap.Height();
    const RECT g{Width(r) - 1 - fw, Height(r) - 1 - fh, Width(r) - 1, Height(r) - 1};
    DrawFrameStretched(c.Handle(), g, count, 5, extra->Bitmap);
  }
  BlitWorkBitmap(dc, r);
  // Owner-drawn panels are the program's: its handler draws them over the skin.
  auto* bar = dynamic_cast<TCustomStatusBar*>(control_);
  if (!bar || !bar->OnDrawPanel || parts <= 0) return;
  for (int i = 0; i < parts; ++i) {
    RECT pr{};
    if (!ReadPanel(handle_, i).ownerDrawn || !SendMessageA(handle_, SB_GETRECT, (WPARAM)i, (LPARAM)&pr)) continue;
    InflateRect(&pr, -1, -1);
    bar->OnDrawPanel(bar, i, dc, pr);
  }
}
