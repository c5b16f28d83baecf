#include "platform/forms/Menus.h"

#include <algorithm>

#include "platform/forms/Controls.h"
#include "platform/forms/FormReader.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/WndProcGuard.h"

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) { RegisterMenus(); }

TMenuItem::~TMenuItem() {
  while (!items_.empty()) Free(items_.back());  // each leaves this list itself
  if (parent_) parent_->Remove(this);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : (int)(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this || item->Contains(this)) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
}

bool TMenuItem::Contains(const TMenuItem* item) const {
  for (const TMenuItem* p = item; p; p = p->parent_)
    if (p == this) return true;
  return false;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
  else if (auto* menu = dynamic_cast<TPopupMenu*>(parent)) menu->Items()->Add(this);
}

// ---------------------------------------------------------------- TPopupMenu

namespace {
// Appends the visible items of `item` to `menu`; command n + 1 is commands[n]. Owner-drawn
// items carry their TMenuItem as item data.
void BuildMenu(HMENU menu, const TMenuItem* item, std::vector<TMenuItem*>& commands, bool ownerDraw) {
  bool defaultSet = false;
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* sub = item->Items(i);
    if (!sub->Visible()) continue;
    const char* text = sub->Caption().c_str();
    UINT drawn = 0;
    if (ownerDraw) {
      drawn = MF_OWNERDRAW;
      text = reinterpret_cast<const char*>(sub);
    }
    if (sub->Caption() == "-") {
      AppendMenuA(menu, MF_SEPARATOR | drawn, 0, ownerDraw ? text : nullptr);
      continue;
    }
    UINT flags = (ownerDraw ? MF_OWNERDRAW : MF_STRING) | (sub->Enabled() ? 0 : MF_GRAYED) |
                 (sub->Checked() ? MF_CHECKED : 0);
    if (sub->Count() > 0) {
      HMENU child = CreatePopupMenu();
      BuildMenu(child, sub, commands, ownerDraw);
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(child), text);
      continue;
    }
    commands.push_back(sub);
    UINT id = (UINT)commands.size();
    AppendMenuA(menu, flags, id, text);
    if (sub->Default() && !defaultSet) defaultSet = SetMenuDefaultItem(menu, id, FALSE) != FALSE;
  }
}

// The plain look of an owner-drawn item that draws nothing itself.
void PaintPlainItem(const TMenuItem& item, HDC dc, RECT r, bool selected) {
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.Caption() == "-") {
    RECT line{r.left + 2, r.top + 4, r.right - 2, r.top + 6};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!item.Enabled() ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT t{r.left + 20, r.top, r.right - 10, r.bottom};
  DrawTextA(dc, item.Caption().c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER);
  if (!item.ShortCut().empty()) DrawTextA(dc, item.ShortCut().c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

LRESULT CALLBACK PopupOwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    auto* item = mi->CtlType == ODT_MENU ? reinterpret_cast<TMenuItem*>(mi->itemData) : nullptr;
    if (!item) return DefWindowProcA(h, msg, wp, lp);
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    std::string text = item->Caption() + (item->ShortCut().empty() ? "" : "    " + item->ShortCut());
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    int width = size.cx + 30, height = item->Caption() == "-" ? 8 : size.cy + 6;
    if (item->OnMeasureItem) item->OnMeasureItem(item, dc, width, height);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    mi->itemWidth = (UINT)width;
    mi->itemHeight = (UINT)height;
    return TRUE;
  }
  if (msg == WM_DRAWITEM) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    auto* item = di->CtlType == ODT_MENU ? reinterpret_cast<TMenuItem*>(di->itemData) : nullptr;
    if (!item) return DefWindowProcA(h, msg, wp, lp);
    bool selected = (di->itemState & ODS_SELECTED) != 0;
    if (item->OnDrawItem) item->OnDrawItem(item, di->hDC, di->rcItem, selected);
    else PaintPlainItem(*item, di->hDC, di->rcItem, selected);
    return TRUE;
  }
  return DefWindowProcA(h, msg, wp, lp);
}
}  // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {
  RegisterMenus();
  items_ = New<TMenuItem>(this);
}

TPopupMenu::~TPopupMenu() {
  if (Owner())
    for (int i = 0; i < Owner()->ComponentCount(); ++i)
      if (auto* c = dynamic_cast<TControl*>(Owner()->Components(i)); c && c->PopupMenu() == this) c->SetPopupMenu(nullptr);
  if (window_) DestroyWindow(window_);
}

void TPopupMenu::Notification(TComponent* component, TOperation op) {
  if (op == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
  if (op == TOperation::opRemove && component == images_) images_ = nullptr;
}

HWND TPopupMenu::OwnerWindow() {
  if (!window_) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = GuardedWndProc<&PopupOwnerProc>;  // nothing may cross into the menu's own loop
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KarvPopupOwner";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              wc.hInstance, nullptr);
  }
  return window_;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  std::vector<TMenuItem*> commands;
  HMENU menu = CreatePopupMenu();
  BuildMenu(menu, items_, commands, ownerDraw_);
  UINT chosen = (UINT)TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0,
                                     OwnerWindow(), nullptr);
  DestroyMenu(menu);
  // The menu's own message loop may have freed items meanwhile.
  if (chosen >= 1 && chosen <= commands.size() && items_->Contains(commands[chosen - 1])) commands[chosen - 1]->Click();
}

// ---------------------------------------------------------------- registration

void RegisterMenus() {
  static bool done = false;
  if (done) return;
  done = true;
  using I = TMenuItem;
  RegisterProperties(I::StaticClass(), {ComponentNameProperty(), ComponentTagProperty()});
  RegisterProperties(I::StaticClass(), {
      StringProperty("Caption", &I::Caption, &I::SetCaption),
      BoolProperty("Checked", &I::Checked, &I::SetChecked),
      BoolProperty("Enabled", &I::Enabled, &I::SetEnabled),
      BoolProperty("Visible", &I::Visible, &I::SetVisible),
      BoolProperty("Default", &I::Default, &I::SetDefault),
      IntProperty("ImageIndex", &I::ImageIndex, &I::SetImageIndex),
      StringProperty("ShortCut", &I::ShortCut, &I::SetShortCut),
      EventProp("OnClick", &I::OnClick),
      EventProp("OnDrawItem", &I::OnDrawItem),
      EventProp("OnMeasureItem", &I::OnMeasureItem),
  });
  using P = TPopupMenu;
  RegisterProperties(P::StaticClass(), {
      ComponentNameProperty(),
      ComponentTagProperty(),
      BoolProperty("AutoPopup", &P::AutoPopup, &P::SetAutoPopup),
      MakeProp<P>("Items", TPropType::Object, [](const P* p) { return (TObject*)p->Items(); }, nullptr),
      BoolProperty("OwnerDraw", &P::OwnerDraw, &P::SetOwnerDraw),
      MakeProp<P>("Images", TPropType::Object, [](const P* p) { return (TObject*)p->Images(); },
                  [](P* p, const TPropValue& v) {
                    auto* o = std::get_if<TObject*>(&v);
                    p->SetImages(o ? dynamic_cast<TImageList*>(*o) : nullptr);
                  }),
      EventProp("OnPopup", &P::OnPopup),
  });
  // Every control can name the menu its right click opens.
  RegisterProperties(TControl::StaticClass(), {
      MakeProp<TControl>("PopupMenu", TPropType::Object, [](const TControl* c) { return (TObject*)c->PopupMenu(); },
                         [](TControl* c, const TPropValue& v) {
                           auto* o = std::get_if<TObject*>(&v);
                           c->SetPopupMenu(o ? dynamic_cast<TPopupMenu*>(*o) : nullptr);
                         }),
  });
  RegisterComponentClass<TMenuItem>();
  RegisterComponentClass<TPopupMenu>();
}
