#include "platform/forms/Menus.h"

#include <algorithm>
#include <set>

#include "platform/forms/Controls.h"
#include "platform/forms/FormReader.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/WndProcGuard.h"

// ---------------------------------------------------------------- TMenuItem

namespace {
// Command identifiers in use: window menus tell items apart by them. The system keeps the
// range from 0xF000 for its own commands; the skin engine expects items within 1 to 4095.
std::set<UINT>& UsedCommands() {
  static std::set<UINT> used;
  return used;
}

UINT AllocateCommand() {
  UINT id = 1;
  for (UINT used : UsedCommands()) {
    if (used != id) break;
    ++id;
  }
  if (id > 4095) return 0;
  UsedCommands().insert(id);
  return id;
}
}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand()) { RegisterMenus(); }

TMenuItem::~TMenuItem() {
  tearingDown_ = true;
  while (!items_.empty()) Free(items_.back());  // each leaves this list itself
  if (action_) action_->RemoveClient(this);
  if (parent_) parent_->Remove(this);
  if (handle_) DestroyMenu(handle_);
  if (command_) UsedCommands().erase(command_);
}

void TMenuItem::SetCaption(const std::string& c) {
  if (c == caption_) return;
  caption_ = c;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

void TMenuItem::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  Changed();
}

void TMenuItem::SetAction(TAction* a) {
  if (a == action_) return;
  if (action_) action_->RemoveClient(this);
  action_ = a;
  if (a) {
    a->AddClient(this);
    ActionChanged(a, false);
  }
}

void TMenuItem::ActionChanged(TAction* action, bool freed) {
  if (action != action_) return;
  if (freed) {
    action_ = nullptr;
    return;
  }
  // The action's caption and state are the item's own from now on.
  bool changed = false;
  if (!action->Caption().empty() && action->Caption() != caption_) caption_ = action->Caption(), changed = true;
  if (action->Enabled() != enabled_) enabled_ = action->Enabled(), changed = true;
  if (changed) Changed();
}

void TMenuItem::Notification(TComponent* component, TOperation op) {
  if (op == TOperation::opRemove && component == action_) {
    action_->RemoveClient(this);
    action_ = nullptr;
  }
}

TMainMenu* TMenuItem::MainMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  auto* menu = dynamic_cast<TMainMenu*>(root->Owner());
  return menu && menu->Items() == root ? menu : nullptr;
}

void TMenuItem::Changed() {
  for (const TMenuItem* p = this; p; p = p->parent_)
    if (p->tearingDown_) return;
  if (TMainMenu* m = MainMenu()) m->MenuChanged();
}

HMENU TMenuItem::Handle() {
  if (items_.empty()) return nullptr;
  if (!handle_) {
    handle_ = CreatePopupMenu();
    TMainMenu* m = MainMenu();
    RebuildHandle(m && m->OwnerDraw());
  }
  return handle_;
}

TMenuItem* TMenuItem::Find(UINT command) {
  if (command_ == command && command) return this;
  for (TMenuItem* i : items_)
    if (TMenuItem* found = i->Find(command)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindBySubMenu(HMENU menu) {
  if (menu && handle_ == menu) return this;
  for (TMenuItem* i : items_)
    if (TMenuItem* found = i->FindBySubMenu(menu)) return found;
  return nullptr;
}

void AppendMenuItem(HMENU menu, TMenuItem* item, bool ownerDraw) {
  MENUITEMINFOA mi{sizeof mi};
  mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_STRING;
  std::string text = item->Caption();
  if (!item->ShortCut().empty()) text += "\t" + item->ShortCut();
  mi.dwTypeData = const_cast<char*>(text.c_str());
  mi.dwItemData = reinterpret_cast<ULONG_PTR>(item);
  mi.fType = item->Caption() == "-" ? MFT_SEPARATOR : MFT_STRING;
  if (ownerDraw) mi.fType |= MFT_OWNERDRAW;
  mi.fState = (item->Enabled() ? 0 : MFS_GRAYED) | (item->Checked() ? MFS_CHECKED : 0) |
              (item->Default() ? MFS_DEFAULT : 0);
  mi.wID = item->Command();
  if (HMENU sub = item->Handle()) {
    mi.fMask |= MIIM_SUBMENU;
    mi.hSubMenu = sub;
  }
  InsertMenuItemA(menu, (UINT)GetMenuItemCount(menu), TRUE, &mi);
}

void TMenuItem::RebuildHandle(bool ownerDraw) {
  for (TMenuItem* i : items_)
    if (i->handle_) i->RebuildHandle(ownerDraw);
  if (!handle_) return;
  // Taken out, not destroyed: the sub-menus belong to their items.
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  for (TMenuItem* i : items_)
    if (i->Visible()) AppendMenuItem(handle_, i, ownerDraw);
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
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  if (handle_ && item->handle_)
    for (int pos = GetMenuItemCount(handle_); pos-- > 0;)
      if (GetSubMenu(handle_, pos) == item->handle_) RemoveMenu(handle_, (UINT)pos, MF_BYPOSITION);
  if (items_.empty() && handle_) {
    DestroyMenu(handle_);  // its parent's rebuild below shows this item plainly again
    handle_ = nullptr;
  }
  Changed();
}

bool TMenuItem::Contains(const TMenuItem* item) const {
  for (const TMenuItem* p = item; p; p = p->parent_)
    if (p == this) return true;
  return false;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
  else if (action_) action_->Execute();
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
  else if (auto* menu = dynamic_cast<TPopupMenu*>(parent)) menu->Items()->Add(this);
  else if (auto* bar = dynamic_cast<TMainMenu*>(parent)) bar->Items()->Add(this);
}

// ---------------------------------------------------------------- TMainMenu

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner) {
  RegisterMenus();
  items_ = New<TMenuItem>(this);
}

TMainMenu::~TMainMenu() {
  dying_ = true;
  if (handle_ && window_ && IsWindow(window_) && GetMenu(window_) == handle_) SetMenu(window_, nullptr);
  // The items go first (they are owned components freed after this body): take their
  // sub-menus out of the bar so each is destroyed once, by its item.
  if (handle_) {
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    DestroyMenu(handle_);
    handle_ = nullptr;
  }
}

HMENU TMainMenu::Handle() {
  if (!handle_) {
    handle_ = CreateMenu();
    Rebuild();
  }
  return handle_;
}

void TMainMenu::SetOwnerDraw(bool v) {
  if (v == ownerDraw_) return;
  ownerDraw_ = v;
  MenuChanged();
}

void TMainMenu::Rebuild() {
  if (!handle_) return;
  items_->RebuildHandle(ownerDraw_);
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  // The bar's own items stay plain text: the system draws the bar and finds its accelerators.
  for (int i = 0; i < items_->Count(); ++i)
    if (items_->Items(i)->Visible()) AppendMenuItem(handle_, items_->Items(i), false);
}

void TMainMenu::MenuChanged() {
  if (updating_ > 0) {
    pending_ = true;
    return;
  }
  if (!handle_ || dying_) return;
  Rebuild();
  if (window_ && IsWindow(window_)) SendMessageA(window_, CM_MENUCHANGED, 0, 0);
}

void TMainMenu::EndUpdate(bool notify) {
  if (updating_ > 0 && --updating_ == 0 && pending_) {
    pending_ = false;
    if (notify) MenuChanged();
    else Rebuild();
  }
}

bool TMainMenu::DispatchCommand(UINT command) {
  TMenuItem* item = command ? FindItem(command) : nullptr;
  if (!item || item->Count() > 0) return false;
  item->Click();
  return true;
}

void TMainMenu::Notification(TComponent* component, TOperation op) {
  if (op == TOperation::opRemove && component == images_) images_ = nullptr;
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

}  // namespace

void MeasurePlainMenuItem(TMenuItem& item, HDC dc, int& width, int& height, bool withHandler) {
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  std::string text = item.Caption() + (item.ShortCut().empty() ? "" : "    " + item.ShortCut());
  GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
  width = size.cx + 30;
  height = item.Caption() == "-" ? 8 : size.cy + 6;
  if (withHandler && item.OnMeasureItem) item.OnMeasureItem(&item, dc, width, height);
  SelectObject(dc, old);
}

// The plain look of an owner-drawn item that draws nothing itself.
void AnswerMeasureMenuItem(TMenuItem& item, MEASUREITEMSTRUCT& mi, HWND window) {
  HDC dc = GetDC(window);
  int width = 0, height = 0;
  MeasurePlainMenuItem(item, dc, width, height, true);
  ReleaseDC(window, dc);
  mi.itemWidth = (UINT)width;
  mi.itemHeight = (UINT)height;
}

void AnswerDrawMenuItem(TMenuItem& item, const DRAWITEMSTRUCT& di) {
  bool selected = (di.itemState & ODS_SELECTED) != 0;
  if (item.OnDrawItem) item.OnDrawItem(&item, di.hDC, di.rcItem, selected);
  else PaintPlainMenuItem(item, di.hDC, di.rcItem, selected);
}

void PaintPlainMenuItem(const TMenuItem& item, HDC dc, RECT r, bool selected) {
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

namespace {

LRESULT CALLBACK PopupOwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    auto* item = mi->CtlType == ODT_MENU ? reinterpret_cast<TMenuItem*>(mi->itemData) : nullptr;
    if (!item) return DefWindowProcA(h, msg, wp, lp);
    AnswerMeasureMenuItem(*item, *mi, h);
    return TRUE;
  }
  if (msg == WM_DRAWITEM) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    auto* item = di->CtlType == ODT_MENU ? reinterpret_cast<TMenuItem*>(di->itemData) : nullptr;
    if (!item) return DefWindowProcA(h, msg, wp, lp);
    AnswerDrawMenuItem(*item, *di);
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
      MakeProp<I>("Action", TPropType::Object, [](const I* i) { return (TObject*)i->Action(); },
                  [](I* i, const TPropValue& v) {
                    auto* o = std::get_if<TObject*>(&v);
                    i->SetAction(o ? dynamic_cast<TAction*>(*o) : nullptr);
                  }),
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
  using M = TMainMenu;
  RegisterProperties(M::StaticClass(), {
      ComponentNameProperty(),
      ComponentTagProperty(),
      MakeProp<M>("Items", TPropType::Object, [](const M* m) { return (TObject*)m->Items(); }, nullptr),
      BoolProperty("OwnerDraw", &M::OwnerDraw, &M::SetOwnerDraw),
      MakeProp<M>("Images", TPropType::Object, [](const M* m) { return (TObject*)m->Images(); },
                  [](M* m, const TPropValue& v) {
                    auto* o = std::get_if<TObject*>(&v);
                    m->SetImages(o ? dynamic_cast<TImageList*>(*o) : nullptr);
                  }),
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
  RegisterComponentClass<TMainMenu>();
}
