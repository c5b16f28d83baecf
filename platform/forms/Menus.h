// Menus over real system menus. A TPopupMenu holds a tree of TMenuItem; Popup builds the
// system menu from the tree, tracks it, and runs the chosen item's OnClick. A TMainMenu is
// a form's menu bar: it keeps a window menu built from its tree and rebuilds it in place
// whenever an item changes, telling its window with CM_MENUCHANGED. In a form description
// the items are objects nested inside the menu (and inside items). A menu owns its items
// (its owner frees them with it); an item owns the sub-menu handle it shows. GUI thread only.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/forms/ActnList.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class TImageList;
class TMainMenu;
class TMenuItem;

// Owner drawing of a menu item: its DC and rectangle, and whether it is selected.
using TMenuDrawItemEvent = TEvent<void(TObject* sender, HDC dc, RECT rect, bool selected)>;
// Measuring: width and height come in as the plain text's size and may be changed.
using TMenuMeasureItemEvent = TEvent<void(TObject* sender, HDC dc, int& width, int& height)>;

class TMenuItem : public TComponent, public TActionClient {
  KARV_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  // Frees the sub-items and leaves the parent item.
  ~TMenuItem() override;

  std::string Caption() const { return caption_; }  // "-" is a separator
  void SetCaption(const std::string& c);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  // The item shown in bold that a double click on the menu's owner may choose.
  bool Default() const { return default_; }
  void SetDefault(bool v);
  // The action whose caption and enabled state the item shows and whose Execute a click runs.
  TAction* Action() const { return action_; }
  void SetAction(TAction* a);
  // The item's command identifier in a window menu (unique in the program, 1 to 4095).
  UINT Command() const { return command_; }
  // The sub-menu of an item with sub-items, made on first use; null for a plain item.
  HMENU Handle();
  HMENU HandleIfAllocated() const { return handle_; }
  // The item with that command or sub-menu handle, this one or below it; null when none.
  TMenuItem* Find(UINT command);
  TMenuItem* FindBySubMenu(HMENU menu);
  // The main menu the item belongs to, or null.
  TMainMenu* MainMenu() const;

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
  void Notification(TComponent* component, TOperation op) override;
  void ActionChanged(TAction* action, bool freed) override;

  // Fills the sub-menu again from the visible sub-items (owner-drawn ones carry their item
  // as item data); the sub-menus below are filled too.
  void RebuildHandle(bool ownerDraw);

 private:
  // Tells the main menu, if any, that the tree changed.
  void Changed();
  std::string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false;
  int imageIndex_ = -1;
  std::string shortCut_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TAction* action_ = nullptr;
  UINT command_ = 0;
  HMENU handle_ = nullptr;
  bool tearingDown_ = false;
  friend class TMainMenu;
};

// The plain size of an owner-drawn item, then its OnMeasureItem's say when `withHandler`.
void MeasurePlainMenuItem(TMenuItem& item, HDC dc, int& width, int& height, bool withHandler);
// The plain look of an owner-drawn item without a draw handler of its own.
void PaintPlainMenuItem(const TMenuItem& item, HDC dc, RECT r, bool selected);
// Answers a window's WM_MEASUREITEM / WM_DRAWITEM for `item`: its own handlers, else plainly.
void AnswerMeasureMenuItem(TMenuItem& item, MEASUREITEMSTRUCT& mi, HWND window);
void AnswerDrawMenuItem(TMenuItem& item, const DRAWITEMSTRUCT& di);

// Appends `item` to `menu` as the window menu shows it: string, separator or sub-menu.
void AppendMenuItem(HMENU menu, TMenuItem* item, bool ownerDraw);

class TMainMenu : public TComponent {
  KARV_CLASS(TMainMenu, TComponent)
 public:
  explicit TMainMenu(TComponent* owner);
  // Takes the menu off its window first, so the window never holds a freed handle.
  ~TMainMenu() override;

  TMenuItem* Items() const { return items_; }
  // The menu-bar handle, made and filled on first use.
  HMENU Handle();
  HMENU HandleIfAllocated() const { return handle_; }
  // The window told about changes (its form's window); the form sets it.
  HWND WindowHandle() const { return window_; }
  void SetWindowHandle(HWND h) { window_ = h; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images) { images_ = images; }
  // The item with that command identifier or sub-menu, or null.
  TMenuItem* FindItem(UINT command) const { return items_->Find(command); }
  TMenuItem* FindBySubMenu(HMENU menu) const { return items_->FindBySubMenu(menu); }
  // Runs the item of that command; true when there was one.
  bool DispatchCommand(UINT command);
  // Changes between BeginUpdate and EndUpdate are told once, at the end (not at all when
  // `notify` is false: the handles are still rebuilt).
  void BeginUpdate() { ++updating_; }
  void EndUpdate(bool notify = true);
  // Rebuilds the handles in place and sends CM_MENUCHANGED to the window.
  void MenuChanged();

  void Notification(TComponent* component, TOperation op) override;

 private:
  void Rebuild();
  TMenuItem* items_;
  HMENU handle_ = nullptr;
  HWND window_ = nullptr;
  bool ownerDraw_ = false;
  TImageList* images_ = nullptr;
  int updating_ = 0;
  bool pending_ = false;
  bool dying_ = false;
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
