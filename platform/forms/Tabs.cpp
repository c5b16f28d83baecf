#include "platform/forms/Tabs.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/graphics/MeasureDC.h"

namespace {
constexpr int kTabPadding = 9;       // a tab is its text and this much
constexpr int kScrollerWidth = 24;
}  // namespace

TTabScroller::TTabScroller(TComponent* owner) : TWinControl(owner) {
  RegisterTabs();
  width_ = kScrollerWidth;
  height_ = 18;
}

void TTabScroller::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = UPDOWN_CLASSA;
  p.Style |= UDS_HORZ;
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner) {
  RegisterTabs();
  width_ = 185;
  height_ = 21;
  // The first owned component: what a skin recognises as the scroll buttons.
  scroller_ = New<TTabScroller>(this);
  scroller_->SetVisible(false);
  scroller_->SetParent(this);
}

void TTabSet::SetTabs(const std::vector<std::string>& tabs) {
  tabs_ = tabs;
  if (tabIndex_ >= (int)tabs_.size()) tabIndex_ = tabs_.empty() ? -1 : 0;
  firstIndex_ = std::clamp(firstIndex_, 0, std::max((int)tabs_.size() - 1, 0));
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetTabIndex(int i) {
  if (i < -1 || i >= (int)tabs_.size() || i == tabIndex_) return;
  tabIndex_ = i;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TTabSet::SetFirstIndex(int i) {
  i = std::clamp(i, 0, std::max((int)tabs_.size() - 1, 0));
  if (i == firstIndex_) return;
  firstIndex_ = i;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetStartMargin(int v) {
  startMargin_ = v;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetEndMargin(int v) {
  endMargin_ = v;
  UpdateScroller();
  Invalidate();
}

void TTabSet::Resize() {
  TCustomControl::Resize();
  UpdateScroller();
}

std::vector<TTabSet::Placed> TTabSet::Layout(HDC dc) {
  std::vector<Placed> placed;
  HGDIOBJ old = SelectObject(dc, font_->Handle());
  int x = startMargin_;
  const int limit = width_ - endMargin_ - (scroller_->Visible() ? kScrollerWidth : 0);
  for (int i = firstIndex_; i < (int)tabs_.size(); ++i) {
    SIZE s{};
    GetTextExtentPoint32A(dc, tabs_[i].c_str(), (int)tabs_[i].size(), &s);
    const int w = s.cx + kTabPadding;
    if (x + w > limit) break;
    placed.push_back({i, RECT{x, 0, x + w, height_}});
    x += w;
  }
  SelectObject(dc, old);
  return placed;
}

void TTabSet::UpdateScroller() {
  if (!scroller_) return;
  TMeasureDC measure;
  HDC dc = measure.Handle();
  HGDIOBJ old = SelectObject(dc, font_->Handle());
  int total = startMargin_ + endMargin_;
  for (const std::string& t : tabs_) {
    SIZE s{};
    GetTextExtentPoint32A(dc, t.c_str(), (int)t.size(), &s);
    total += s.cx + kTabPadding;
  }
  SelectObject(dc, old);
  const bool needed = total > width_ || firstIndex_ > 0;
  scroller_->SetBounds(width_ - kScrollerWidth, 1, kScrollerWidth, std::max(height_ - 2, 1));
  scroller_->SetVisible(needed);
  if (handle_) {
    SendMessageA(scroller_->Handle(), UDM_SETRANGE32, 0, std::max((int)tabs_.size() - 1, 0));
    SendMessageA(scroller_->HandleIfAllocated(), UDM_SETPOS32, 0, firstIndex_);
  }
}

int TTabSet::TabAt(POINT p) {
  TMeasureDC dc;
  std::vector<Placed> placed = Layout(dc.Handle());
  for (const Placed& t : placed)
    if (PtInRect(&t.rect, p)) return t.index;
  return -1;
}

void TTabSet::Paint(HDC dc) {
  RECT all{0, 0, width_, height_};
  HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
  FillRect(dc, &all, face);
  DeleteObject(face);
  // The pages' edge runs along the top; the selected tab joins it, the others lie behind.
  HPEN dark = CreatePen(PS_SOLID, 1, ColorToRGB(clBtnShadow));
  HPEN light = CreatePen(PS_SOLID, 1, ColorToRGB(clBtnHighlight));
  HGDIOBJ oldPen = SelectObject(dc, dark);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, width_, 0);
  HGDIOBJ oldFont = SelectObject(dc, font_->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(enabled_ ? font_->Color() : clGrayText));
  for (const Placed& t : Layout(dc)) {
    RECT r = t.rect;
    const bool selected = t.index == tabIndex_;
    if (selected) {
      HBRUSH white = CreateSolidBrush(ColorToRGB(clWindow));
      RECT inner{r.left + 1, 0, r.right - 1, r.bottom - 2};
      FillRect(dc, &inner, white);
      DeleteObject(white);
    }
    SelectObject(dc, selected ? light : dark);
    MoveToEx(dc, r.left, selected ? 0 : 2, nullptr);
    LineTo(dc, r.left, r.bottom - 3);
    SelectObject(dc, dark);
    LineTo(dc, r.left + 2, r.bottom - 1);
    LineTo(dc, r.right - 3, r.bottom - 1);
    LineTo(dc, r.right - 1, r.bottom - 3);
    LineTo(dc, r.right - 1, selected ? -1 : 1);
    DrawTextA(dc, tabs_[t.index].c_str(), (int)tabs_[t.index].size(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldPen);
  DeleteObject(dark);
  DeleteObject(light);
}

void TTabSet::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      const int i = TabAt(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (i >= 0) SetTabIndex(i);
      break;
    }
    case WM_HSCROLL:
      if ((HWND)m.LParam == scroller_->HandleIfAllocated() && LOWORD(m.WParam) == SB_THUMBPOSITION) {
        SetFirstIndex((int)SendMessageA(scroller_->HandleIfAllocated(), UDM_GETPOS32, 0, 0));
        m.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void RegisterTabs() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  using T = TTabSet;
  RegisterProperties(T::StaticClass(), {
      StringsProperty("Tabs", &T::Tabs, &T::SetTabs),
      IntProperty("TabIndex", &T::TabIndex, &T::SetTabIndex),
      IntProperty("FirstIndex", &T::FirstIndex, &T::SetFirstIndex),
      IntProperty("StartMargin", &T::StartMargin, &T::SetStartMargin),
      IntProperty("EndMargin", &T::EndMargin, &T::SetEndMargin),
      EventProp("OnChange", &T::OnChange),
  });
  RegisterComponentClass<TTabSet>();
}
