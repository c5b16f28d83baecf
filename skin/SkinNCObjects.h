// The clickable parts of a skinned frame: caption buttons (close, maximise, minimise, the
// icon that opens the system menu, application actions) and the buttons of the menu bar,
// with their shared hover and press states; the menu bar itself; the owner drawing of menu
// items. All belong to one form skinner and run on the GUI thread.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"

class TDataSkinSysButton;
class TMainMenu;
class TMenuItem;
class TSkinData;
class TSkinForm;

// Element states.
constexpr int kNCNormal = 1, kNCPressed = 2, kNCHot = 3;

class TNCObject {
 public:
  explicit TNCObject(TSkinForm* owner) : owner_(owner) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void MouseLeave();
  virtual void Paint() {}

  TSkinForm* Owner() const { return owner_; }
  RECT Rect{};   // window coordinates
  bool Visible = false;
  int State = kNCNormal;

 protected:
  TSkinForm* owner_;
};

// A caption button drawn from its skin data object's strip.
class TSkinSysButton : public TNCObject {
 public:
  TSkinSysButton(TSkinForm* owner, TDataSkinSysButton* data) : TNCObject(owner), Data(data) {}
  void Paint() override;
  // Draws the frame of the strip into `dc` at the button's rectangle.
  void PaintFrame(HDC dc, int frame);
  TDataSkinSysButton* Data;  // owned by the skin data
  // The icon button's picture (the window's icon), when the button shows one.
  TBitmap Icon;
  bool ShowsIcon = false;
};

// A top-level item of the menu bar.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TSkinForm* owner, TSkinData* data) : TNCObject(owner), SkinData(data) {}
  void Paint() override;
  TSkinData* SkinData;
  TMenuItem* Item = nullptr;  // the main-menu item the button shows, or null
  int Index = 0;
  std::string Caption;
  bool Enabled = true;
  HMENU SubMenu = nullptr;
  UINT Command = 0;
};

// The skinned menu bar under the title: one button per item of the window's menu.
class TSkinMenuBar {
 public:
  TSkinMenuBar(TSkinForm* owner, TSkinData* data);
  ~TSkinMenuBar();
  TSkinMenuBar(const TSkinMenuBar&) = delete;
  TSkinMenuBar& operator=(const TSkinMenuBar&) = delete;

  // Rebuilds the buttons from a menu (at most 80 characters of each item's text) and takes
  // the menu off the window, so only the skinned bar shows. An item without text takes its
  // caption and state from the main-menu item of the same command.
  void BuildFromMenu(HMENU menu);
  // From the form's main menu: one button per top-level item (its action's caption).
  void BuildFromMainMenu();
  // From the window's menu (`menu`, else the bar's current one); an item without text takes
  // its caption and state from the main-menu item at the same position.
  void BuildFromWindowMenu(HMENU menu = nullptr);
  TMainMenu* MainMenu() const { return mainMenu_; }
  void SetMainMenu(TMainMenu* m) { mainMenu_ = m; }
  // Paints the bar into the window DC at `bar` (window coordinates) and lays out the buttons.
  void Paint(HDC dc, const RECT& bar);
  // The first button at the point whose caption is not empty.
  TMenuBtn* ButtonAt(POINT p) const;
  // The first enabled, visible button whose caption has `c` as its accelerator.
  TMenuBtn* ButtonByAccel(char c) const;
  HMENU Menu() const { return menu_; }
  const std::vector<std::unique_ptr<TMenuBtn>>& Buttons() const { return buttons_; }
  // The background as last painted, without captions (a button repaints from it).
  TBitmap& Image() { return image_; }
  const RECT& BarRect() const { return barRect_; }

 private:
  TSkinForm* owner_;
  TSkinData* data_;
  void PaintMDIButtons(HDC wdc, const RECT& bar);
  // Fills the buttons from `menu`; `byPosition` picks how text-less items find their item.
  void Fill(HMENU menu, bool byPosition);
  std::vector<std::unique_ptr<TMenuBtn>> buttons_;
  TMainMenu* mainMenu_ = nullptr;
  HMENU menu_ = nullptr;
  RECT barRect_{};
  TBitmap image_;
};

class TImageList;

// How one menu item looks: what the painter draws.
struct TSkinMenuItemLook {
  std::string caption, shortcut;
  bool separator = false, selected = false, enabled = true, checked = false;
  bool isDefault = false;     // drawn bold
  bool rightToLeft = false;   // the item of a right-to-left menu, drawn mirrored
  TImageList* images = nullptr;  // with imageIndex: the item's picture
  int imageIndex = -1;
  TBitmap* glyphs = nullptr;  // the system menu's strip of four glyphs, white the mask colour
  int glyph = -1;
};
// Paints one item: the pop-up skinner's background, the skin's MenuItem strip (frame 1, or 4
// when selected; separators from frame 2), the glyph box, caption and shortcut.
void SkinPaintMenuItem(TSkinData* data, HDC dc, const RECT& item, const TSkinMenuItemLook& look);

// Owner drawing of menu items whose owner is a skinned window (the skinned system menu, the
// menus of the menu bar): measuring and drawing with the skin's MenuItem strip over the
// background that the pop-up skinner composed. Items of `glyphMenu` (the skinned system
// menu) show the skin data's menu glyph their item data names. True when handled.
bool SkinMeasureMenuItem(TSkinData* data, HMENU tracked, MEASUREITEMSTRUCT& mi);
bool SkinDrawMenuItem(TSkinData* data, DRAWITEMSTRUCT& di, HMENU glyphMenu);
// Gives every item of the menu (and of its sub-menus) the owner-drawn type, keeping its
// text as item data for drawing.
void SkinOwnerDrawMenu(HMENU menu);
// The plain painter: the highlight or menu colour behind the same content.
void SkinPaintPlainMenuItem(TSkinData* data, HDC dc, const RECT& item, const TSkinMenuItemLook& look);
// Hides the separators a menu would show first, last or twice in a row (the items' Visible).
void TidySeparators(TMenuItem* parent);

// What the message-filter hook does with a key while a menu of the bar is open.
struct TMenuKeyState {
  int open = -1;            // index of the open button
  bool selected = false;    // an item is selected
  bool selectedHasSub = false;
  bool selectedInTracked = false;  // the selected item's parent is the tracked popup, or it is that popup
  bool rightToLeft = false;        // the selected item belongs to a right-to-left menu
};
struct TMenuKeyResult {
  WPARAM key;         // the key after the right-to-left swap
  int candidate;      // the button whose menu opens next, or -1
  bool endSwitching;  // Return or Escape: the switching flag is cleared
};
// `visible` tells which buttons can open (visible with a caption), in bar order.
TMenuKeyResult MenuKeyDecision(const TMenuKeyState& s, WPARAM key, const std::vector<bool>& visible);
