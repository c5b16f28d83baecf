#include "platform/forms/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {
  RegisterComCtrls();
  align_ = TAlign::alBottom;
  height_ = 19;
}

void TStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = STATUSCLASSNAMEA;
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP;
}

void TStatusBar::CreateHandleDone() { ApplyPanels(); }

void TStatusBar::SetPanelWidths(const std::vector<int>& widths) {
  panels_.resize(widths.size());
  for (size_t i = 0; i < widths.size(); ++i) panels_[i].Width = widths[i];
  ApplyPanels();
}

void TStatusBar::ApplyPanels() {
  if (!handle_) return;
  SendMessageA(handle_, SB_SIMPLE, simple_, 0);
  if (simple_) {
    SendMessageA(handle_, SB_SETTEXTA, 255 | SBT_NOBORDERS, (LPARAM)simpleText_.c_str());
    return;
  }
  std::vector<int> edges;
  int x = 0;
  for (const auto& p : panels_) edges.push_back(x += p.Width);
  if (!edges.empty()) edges.back() = -1;
  SendMessageA(handle_, SB_SETPARTS, edges.size(), (LPARAM)edges.data());
  for (size_t i = 0; i < panels_.size(); ++i) ApplyPanel((int)i);
}

void TStatusBar::ApplyPanel(int i) {
  const Panel& p = panels_[i];
  WPARAM flags = (WPARAM)i | (p.Bevel == TStatusPanelBevel::pbNone ? SBT_NOBORDERS : 0) |
                 (p.Bevel == TStatusPanelBevel::pbRaised ? SBT_POPOUT : 0);
  if (p.Style == TStatusPanelStyle::psOwnerDraw) SendMessageA(handle_, SB_SETTEXTA, flags | SBT_OWNERDRAW, 0);
  else SendMessageA(handle_, SB_SETTEXTA, flags, (LPARAM)p.Text.c_str());
}

void TStatusBar::SetPanelStyle(int index, TStatusPanelStyle style) {
  if (index < 0 || index >= (int)panels_.size()) return;
  panels_[index].Style = style;
  if (handle_ && !simple_) ApplyPanel(index);
}

void TStatusBar::SetPanelBevel(int index, TStatusPanelBevel bevel) {
  if (index < 0 || index >= (int)panels_.size()) return;
  panels_[index].Bevel = bevel;
  if (handle_ && !simple_) ApplyPanel(index);
}

std::string TStatusBar::PanelText(int index) const {
  return index >= 0 && index < (int)panels_.size() ? panels_[index].Text : std::string();
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  if (index < 0 || index >= (int)panels_.size()) return;
  panels_[index].Text = text;
  if (handle_ && !simple_) ApplyPanel(index);
}

void TStatusBar::SetSimplePanel(bool v) {
  simple_ = v;
  ApplyPanels();
}

void TStatusBar::SetSimpleText(const std::string& t) {
  simpleText_ = t;
  if (handle_ && simple_) SendMessageA(handle_, SB_SETTEXTA, 255 | SBT_NOBORDERS, (LPARAM)t.c_str());
}

void TStatusBar::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    if (OnDrawPanel) OnDrawPanel(this, (int)d->itemID, d->hDC, d->rcItem);
    m.Result = TRUE;
    return;
  }
  TWinControl::WndProc(m);
  if (m.Msg == WM_SIZE) ApplyPanels();
}

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  RegisterComCtrls();
  visible_ = false;
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "KarvTabSheet";
  p.OwnClass = true;
  p.Style |= WS_CLIPCHILDREN;
}

void TTabSheet::SetParent(TWinControl* parent) {
  TWinControl::SetParent(parent);
  SetPageControl(dynamic_cast<TPageControl*>(parent));
}

void TTabSheet::SetPageControl(TPageControl* p) {
  if (p == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  pageControl_ = p;
  if (p) {
    if (parent_ != p) TWinControl::SetParent(p);
    p->InsertPage(this);
  }
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& v = pageControl_->pages_;
  return (int)(std::find(v.begin(), v.end(), this) - v.begin());
}

void TTabSheet::SetCaption(const std::string& text) {
  caption_ = text;
  if (pageControl_) pageControl_->RebuildTabs();
}

void TTabSheet::SetTabVisible(bool v) {
  tabVisible_ = v;
  if (pageControl_) pageControl_->RebuildTabs();
}

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
  RegisterComCtrls();
  width_ = 289;
  height_ = 193;
  tabStop_ = true;
}

void TPageControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = WC_TABCONTROLA;
  p.Style |= WS_CLIPCHILDREN | (style_ == TTabStyle::tsButtons ? TCS_BUTTONS : 0) |
             (style_ == TTabStyle::tsFlatButtons ? TCS_BUTTONS | TCS_FLATBUTTONS : 0);
}

void TPageControl::CreateHandleDone() {
  RebuildTabs();
  LayoutPages();
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (std::find(pages_.begin(), pages_.end(), page) != pages_.end()) return;
  pages_.push_back(page);
  if (!active_) SetActivePage(page);
  RebuildTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  if (page->pageControl_ == this) page->pageControl_ = nullptr;
  if (active_ == page) {
    active_ = nullptr;
    if (!pages_.empty() && !Destroying()) SetActivePage(pages_.front());
  }
  RebuildTabs();
}

void TPageControl::RebuildTabs() {
  if (!handle_) return;
  SendMessageA(handle_, TCM_DELETEALLITEMS, 0, 0);
  int tab = 0;
  for (TTabSheet* p : pages_) {
    if (!p->tabVisible_) continue;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(p->caption_.c_str());
    item.lParam = (LPARAM)p;
    SendMessageA(handle_, TCM_INSERTITEMA, tab, (LPARAM)&item);
    if (p == active_) SendMessageA(handle_, TCM_SETCURSEL, tab, 0);
    ++tab;
  }
  LayoutPages();
}

RECT TPageControl::DisplayRect() {
  RECT r = ClientRect();
  if (handle_) SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, (LPARAM)&r);
  return r;
}

void TPageControl::LayoutPages() {
  if (!handle_) return;
  RECT r = DisplayRect();
  for (TTabSheet* p : pages_) {
    p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    p->TWinControl::SetVisible(p == active_);
  }
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  active_ = page;
  for (TTabSheet* p : pages_) p->TWinControl::SetVisible(p == page);
  if (handle_) {
    int tab = 0;
    for (TTabSheet* p : pages_) {
      if (!p->tabVisible_) continue;
      if (p == page) SendMessageA(handle_, TCM_SETCURSEL, tab, 0);
      ++tab;
    }
    LayoutPages();
  }
  if (page && page->OnShow) page->OnShow(page);
}

int TPageControl::ActivePageIndex() const {
  auto it = std::find(pages_.begin(), pages_.end(), active_);
  return it == pages_.end() ? -1 : (int)(it - pages_.begin());
}

void TPageControl::SetActivePageIndex(int i) {
  if (i >= 0 && i < (int)pages_.size()) SetActivePage(pages_[i]);
}

void TPageControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == TCN_SELCHANGE) {
      int tab = (int)SendMessageA(handle_, TCM_GETCURSEL, 0, 0);
      TCITEMA item{};
      item.mask = TCIF_PARAM;
      if (SendMessageA(handle_, TCM_GETITEMA, tab, (LPARAM)&item)) SetActivePage(reinterpret_cast<TTabSheet*>(item.lParam));
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(m);
  if (m.Msg == WM_SIZE) LayoutPages();
}

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  RegisterComCtrls();
  width_ = 150;
  height_ = 16;
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = PROGRESS_CLASSA;
}

void TProgressBar::CreateHandleDone() {
  SendMessageA(handle_, PBM_SETRANGE32, min_, max_);
  SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::SetMin(int v) {
  min_ = v;
  if (handle_) SendMessageA(handle_, PBM_SETRANGE32, min_, max_);
}

void TProgressBar::SetMax(int v) {
  max_ = v;
  if (handle_) SendMessageA(handle_, PBM_SETRANGE32, min_, max_);
}

void TProgressBar::SetPosition(int v) {
  position_ = std::clamp(v, min_, max_);
  if (handle_) SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

// ---------------------------------------------------------------- registration

void RegisterComCtrls() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  RegisterProperties(TStatusBar::StaticClass(), {
      BoolProperty("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel),
      StringProperty("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText),
      // Panel widths as a list of numbers in text: PanelWidths = ( '300' '50' ).
      MakeProp<TStatusBar>(
          "PanelWidths", TPropType::StringList,
          [](const TStatusBar* s) {
            std::vector<std::string> v;
            for (int i = 0; i < s->PanelCount(); ++i) v.push_back("");
            return v;
          },
          [](TStatusBar* s, const TPropValue& v) {
            std::vector<int> w;
            for (const auto& e : std::get<std::vector<std::string>>(v)) w.push_back(atoi(e.c_str()));
            s->SetPanelWidths(w);
          }),
  });
  RegisterProperties(TTabSheet::StaticClass(), {
      BoolProperty("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible),
      MakeProp<TTabSheet>("PageIndex", TPropType::Integer, [](const TTabSheet* t) { return (int64_t)t->PageIndex(); }, nullptr),
      EventProp("OnShow", &TTabSheet::OnShow),
  });
  const std::vector<std::string> tabStyles = {"tsTabs", "tsButtons", "tsFlatButtons"};
  RegisterProperties(TPageControl::StaticClass(), {
      EnumProperty("Style", tabStyles, &TPageControl::Style, &TPageControl::SetStyle),
      MakeProp<TPageControl>("ActivePage", TPropType::Object, [](const TPageControl* p) { return (TObject*)p->ActivePage(); },
                             [](TPageControl* p, const TPropValue& v) {
                               p->SetActivePage(dynamic_cast<TTabSheet*>(std::get<TObject*>(v)));
                             }),
      IntProperty("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex),
      EventProp("OnChange", &TPageControl::OnChange),
  });
  RegisterProperties(TProgressBar::StaticClass(), {IntProperty("Min", &TProgressBar::Min, &TProgressBar::SetMin),
                                                   IntProperty("Max", &TProgressBar::Max, &TProgressBar::SetMax),
                                                   IntProperty("Position", &TProgressBar::Position, &TProgressBar::SetPosition)});
  RegisterComponentClass<TStatusBar>();
  RegisterComponentClass<TTabSheet>();
  RegisterComponentClass<TPageControl>();
  RegisterComponentClass<TProgressBar>();
}
