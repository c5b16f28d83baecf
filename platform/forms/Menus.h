// Pop-up menus over real system menus. A TPopupMenu holds a tree of TMenuItem; Popup
// builds the system menu from the tree, tracks it, and runs the chosen item's OnClick.
// In a form description the items are objects nested inside the menu (and inside items).
// A menu owns its items (its owner frees them with it). GUI thread only.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class TImageList;
class TMenuItem;
// Owner drawing of a menu item: its DC and rectangle, and whether it is selected.
using TMenuDrawItemEvent = TEvent<void(TObject* sender, HDC dc, RECT rect, bool selected)>;
// Measuring: width and height come in as the plain text's size and may be changed.
using TMenuMeasureItemEvent = TEvent<void(TObject* sender, HDC dc, int& width, int& height)>;

class TMenuItem : public TComponent {
  KARV_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  // Frees the sub-items and leaves the parent item.
  ~TMenuItem() override;

  std::string Caption() const { return caption_; }  // "-" is a separator
  void SetCaption(const std::string& c) { caption_ = c; }
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  // The item shown in bold that a double click on the menu's owner may choose.
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }

  int Count() const { return (int)items_.size(); }
  TMenuItem* Items(int index) const { return items_.at(index); }
  TMenuItem* Parent() const { return parent_; }
  int IndexOf(const TMenuItem* item) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  // True when `item` is this item or lies below it.
  bool Contains(const TMenuItem* item) const;

  // The picture of the menu's image list shown beside the caption; -1 for none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i) { imageIndex_ = i; }
  // The shortcut's text, shown right-aligned in the item ("Ctrl+O").
  std::string ShortCut() const { return shortCut_; }
  void SetShortCut(const std::string& s) { shortCut_ = s; }

  // Runs OnClick as if the user had chosen the item.
  virtual void Click();
  TNotifyEvent OnClick;
  // Used while the item's menu is owner-drawn.
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // A description nests items in their menu or parent item.
  void SetParentComponent(TComponent* parent) override;

 private:
  std::string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false;
  int imageIndex_ = -1;
  std::string shortCut_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
};

class TPopupMenu : public TComponent {
  KARV_CLASS(TPopupMenu, TComponent)
 public:
  explicit TPopupMenu(TComponent* owner);
  // Controls of the same owner that show this menu forget it.
  ~TPopupMenu() override;

  TMenuItem* Items() const { return items_; }
  // Whether right clicks (and the tray icon) open the menu by themselves.
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  // The component the menu was last opened for.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* c) { popupComponent_ = c; }

  // Owner-drawn: every item is measured and drawn through its OnMeasureItem and OnDrawItem
  // (plainly when it has none).
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v) { ownerDraw_ = v; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images) { images_ = images; }

  // Shows the menu at a screen point and waits until it closes; runs OnPopup first and the
  // chosen item's Click afterwards.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;

  void Notification(TComponent* component, TOperation op) override;

 private:
  HWND OwnerWindow();
  TMenuItem* items_;
  bool autoPopup_ = true;
  bool ownerDraw_ = false;
  TImageList* images_ = nullptr;
  TComponent* popupComponent_ = nullptr;
  HWND window_ = nullptr;
};

void RegisterMenus();
