// Common controls: status bar, page control with its pages, progress bar.
// A page belongs to its owner and sits in its page control, which only lists it. GUI thread
// only.
#pragma once
#include <string>
#include <vector>

#include "platform/forms/Controls.h"

class TCustomStatusBar;
// Draws an owner-drawn panel: the bar, the panel's index, the DC and the panel's rectangle.
using TDrawPanelEvent = TEvent<void(TCustomStatusBar*, int, HDC, const RECT&)>;

// Ancestor the skin engine's class tests name.
class TCustomStatusBar : public TWinControl {
  KARV_CLASS(TCustomStatusBar, TWinControl)
 public:
  using TWinControl::TWinControl;
  TDrawPanelEvent OnDrawPanel;
};

enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

// Ancestor the skin engine's class tests name.
class TCustomTabControl : public TWinControl {
  KARV_CLASS(TCustomTabControl, TWinControl)
 public:
  using TWinControl::TWinControl;
};

class TStatusBar : public TCustomStatusBar {
  KARV_CLASS(TStatusBar, TCustomStatusBar)
 public:
  explicit TStatusBar(TComponent* owner);
  struct Panel {
    int Width = 50;
    std::string Text;
    TStatusPanelStyle Style = TStatusPanelStyle::psText;
    TStatusPanelBevel Bevel = TStatusPanelBevel::pbLowered;
  };
  int PanelCount() const { return (int)panels_.size(); }
  // Panel widths; the last panel takes the rest when it is the only one left.
  void SetPanelWidths(const std::vector<int>& widths);
  std::string PanelText(int index) const;
  void SetPanelText(int index, const std::string& text);
  // An owner-drawn panel is painted by OnDrawPanel, with the DC and the panel's rectangle.
  void SetPanelStyle(int index, TStatusPanelStyle style);
  void SetPanelBevel(int index, TStatusPanelBevel bevel);
  bool SimplePanel() const { return simple_; }
  void SetSimplePanel(bool v);
  std::string SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& t);
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void ApplyPanels();
  void ApplyPanel(int index);
  std::vector<Panel> panels_;
  bool simple_ = false;
  std::string simpleText_;
};

class TPageControl;

// One page of a page control: a container shown while its tab is selected.
class TTabSheet : public TWinControl {
  KARV_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* p);
  int PageIndex() const;
  void SetParent(TWinControl* parent) override;
  void SetCaption(const std::string& text) override;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  TNotifyEvent OnShow;

 protected:
  void CreateParams(TCreateParams& p) override;
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
};

enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

class TPageControl : public TCustomTabControl {
  KARV_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* owner);
  int PageCount() const { return (int)pages_.size(); }
  TTabSheet* Pages(int i) const { return pages_.at(i); }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int i);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle s) { style_ = s; }
  // The client area the pages fill.
  RECT DisplayRect();
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  friend class TTabSheet;
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void RebuildTabs();
  void LayoutPages();
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
  TTabStyle style_ = TTabStyle::tsTabs;
};

class TProgressBar : public TWinControl {
  KARV_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v);
  void SetMax(int v);
  void SetPosition(int v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  int min_ = 0, max_ = 100, position_ = 0;
};

void RegisterComCtrls();
