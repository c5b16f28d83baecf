// The tab set: a row of tabs that the control draws itself along its top edge, the look of a
// notebook's tabs hanging below its pages. The tabs are texts; a click selects one. When they
// do not fit, a horizontal up-down button (the scroller, the tab set's first owned component)
// scrolls the first shown tab. GUI thread only; the scroller belongs to the tab set.
#pragma once
#include <string>
#include <vector>

#include "platform/forms/Controls.h"

// The scroll buttons of a tab set: the system's horizontal up-down control.
class TTabScroller : public TWinControl {
  KARV_CLASS(TTabScroller, TWinControl)
 public:
  explicit TTabScroller(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& p) override;
};

class TTabSet : public TCustomControl {
  KARV_CLASS(TTabSet, TCustomControl)
 public:
  explicit TTabSet(TComponent* owner);

  std::vector<std::string> Tabs() const { return tabs_; }
  void SetTabs(const std::vector<std::string>& tabs);
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int i);  // -1: none selected
  int FirstIndex() const { return firstIndex_; }
  void SetFirstIndex(int i);
  int StartMargin() const { return startMargin_; }
  void SetStartMargin(int v);
  int EndMargin() const { return endMargin_; }
  void SetEndMargin(int v);
  TTabScroller* Scroller() const { return scroller_; }
  // The tab at a client point, or -1.
  int TabAt(POINT p);
  TNotifyEvent OnChange;

  void WndProc(TMessage& m) override;

 protected:
  void Paint(HDC dc) override;
  void Resize() override;
  void CreateHandleDone() override { UpdateScroller(); }

 private:
  struct Placed {
    int index;
    RECT rect;
  };
  // The tabs shown from FirstIndex, as they fit between the margins.
  std::vector<Placed> Layout(HDC dc);
  void UpdateScroller();

  std::vector<std::string> tabs_;
  int tabIndex_ = -1, firstIndex_ = 0, startMargin_ = 5, endMargin_ = 5;
  TTabScroller* scroller_ = nullptr;  // owned as a component
};

void RegisterTabs();
