// Building the skinned menu bar: from the form's main menu or from a window menu, the
// separators of a menu tidied before it opens, and the keys of the message-filter hook.
#include <windows.h>

#include "platform/forms/Menus.h"
#include "skin/SkinForm.h"
#include "skin/SkinNCObjects.h"

namespace {
std::string ItemText(HMENU menu, int pos, UINT& state) {
  char buf[81] = "";
  MENUITEMINFOA mi{sizeof mi};
  mi.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
  mi.dwTypeData = buf;
  mi.cch = sizeof buf - 1;
  state = 0;
  if (!GetMenuItemInfoA(menu, (UINT)pos, TRUE, &mi)) return {};
  state = mi.fState;
  // Owner-drawn and bitmap items carry no text of their own.
  if (mi.fType & (MFT_OWNERDRAW | MFT_BITMAP)) return {};
  return buf;
}

// The visible top-level item shown at a position of the window menu.
TMenuItem* VisibleItemAt(TMainMenu* menu, int pos) {
  if (!menu) return nullptr;
  TMenuItem* root = menu->Items();
  for (int i = 0, seen = 0; i < root->Count(); ++i)
    if (root->Items(i)->Visible() && seen++ == pos) return root->Items(i);
  return nullptr;
}
}  // namespace

void TSkinMenuBar::Fill(HMENU menu, bool byPosition) {
  if (owner_->HotObject() && dynamic_cast<TMenuBtn*>(owner_->HotObject())) owner_->SetHotObject(nullptr);
  buttons_.clear();
  menu_ = menu;
  int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    UINT state = 0;
    auto b = std::make_unique<TMenuBtn>(owner_, data_);
    b->Index = i;
    b->Caption = ItemText(menu, i, state);
    b->Enabled = !(state & (MFS_GRAYED | MFS_DISABLED));
    b->SubMenu = GetSubMenu(menu, i);
    b->Command = GetMenuItemID(menu, i);
    b->Visible = true;
    if (b->Caption.empty() && mainMenu_) {
      TMenuItem* item = byPosition ? VisibleItemAt(mainMenu_, i)
                                   : (b->SubMenu ? mainMenu_->FindBySubMenu(b->SubMenu) : mainMenu_->FindItem(b->Command));
      if (item) {
        b->Item = item;
        b->Caption = item->Caption().substr(0, 80);
        b->Enabled = item->Enabled();
      }
    } else if (mainMenu_) {
      b->Item = b->SubMenu ? mainMenu_->FindBySubMenu(b->SubMenu) : mainMenu_->FindItem(b->Command);
    }
    buttons_.push_back(std::move(b));
  }
  // Only the skinned bar shows the menu.
  if (owner_->Window() && GetMenu(owner_->Window())) SetMenu(owner_->Window(), nullptr);
}

void TSkinMenuBar::BuildFromWindowMenu(HMENU menu) { Fill(menu ? menu : menu_, true); }

void TSkinMenuBar::BuildFromMainMenu() {
  if (!mainMenu_) return;
  if (owner_->HotObject() && dynamic_cast<TMenuBtn*>(owner_->HotObject())) owner_->SetHotObject(nullptr);
  buttons_.clear();
  menu_ = mainMenu_->Handle();
  TMenuItem* root = mainMenu_->Items();
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    auto b = std::make_unique<TMenuBtn>(owner_, data_);
    b->Item = item;
    b->Index = i;
    b->Caption = item->Caption();
    b->Visible = item->Visible();
    b->Enabled = item->Enabled();
    b->Command = item->Command();
    b->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    buttons_.push_back(std::move(b));
  }
  if (owner_->Window() && GetMenu(owner_->Window())) SetMenu(owner_->Window(), nullptr);
}

void TidySeparators(TMenuItem* parent) {
  if (!parent) return;
  auto separator = [](TMenuItem* i) { return i->Caption() == "-"; };
  int n = parent->Count();
  TMainMenu* menu = parent->MainMenu();
  if (menu) menu->BeginUpdate();
  int i = 0;
  // Leading separators go.
  for (; i < n && (separator(parent->Items(i)) || !parent->Items(i)->Visible()); ++i)
    if (separator(parent->Items(i))) parent->Items(i)->SetVisible(false);
  // A run of separators shows as its last one, and only before a visible item.
  TMenuItem* lastOfRun = nullptr;
  for (; i < n; ++i) {
    TMenuItem* item = parent->Items(i);
    if (separator(item)) {
      if (lastOfRun) lastOfRun->SetVisible(false);
      item->SetVisible(false);
      lastOfRun = item;
    } else if (item->Visible()) {
      if (lastOfRun) lastOfRun->SetVisible(true);
      lastOfRun = nullptr;
    }
  }
  // Trailing separators go.
  for (int k = n; k-- > 0;) {
    TMenuItem* item = parent->Items(k);
    if (!separator(item) && item->Visible()) break;
    if (separator(item)) item->SetVisible(false);
  }
  // The open menu's handles change in place; nothing else needs telling.
  if (menu) menu->EndUpdate(false);
}

TMenuKeyResult MenuKeyDecision(const TMenuKeyState& s, WPARAM key, const std::vector<bool>& visible) {
  TMenuKeyResult r{key, -1, false};
  if (s.rightToLeft && (key == VK_LEFT || key == VK_RIGHT)) r.key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
  auto step = [&](int dir) {
    int n = (int)visible.size();
    for (int k = 1; k <= n; ++k) {
      int at = ((s.open + dir * k) % n + n) % n;
      if (visible[(size_t)at]) return at;
    }
    return -1;
  };
  switch (r.key) {
    case VK_RETURN:
    case VK_ESCAPE:
      r.endSwitching = true;
      break;
    case VK_RIGHT:
      if (!s.selectedHasSub) r.candidate = step(1);
      break;
    case VK_LEFT:
      if (!s.selected || s.selectedInTracked) r.candidate = step(-1);
      break;
    default:
      break;
  }
  if (r.candidate == s.open) r.candidate = -1;
  return r;
}
