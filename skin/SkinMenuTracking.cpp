// Tracking a menu of the skinned menu bar: while one is open, a message-filter hook on the
// GUI thread watches the menu's keys and the mouse, so the left and right arrows and a move
// onto another bar button close this menu and open the neighbour's.
#include <windows.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/SkinForm.h"
#include "skin/SkinManager.h"

namespace {
// One menu is tracked at a time, so one set of state serves every window.
struct TTrackState {
  HHOOK hook = nullptr;
  TSkinForm* form = nullptr;
  int open = -1;           // index of the open button
  int next = -1;           // the button whose menu opens when this one has closed
  HMENU selectedParent = nullptr;
  HMENU selectedSub = nullptr;  // the selected item's sub-menu, when it has one
  bool selected = false;
  TMenuItem* selectedItem = nullptr;  // the main-menu item under the selection
  POINT last{};
  bool firstKey = false;
  bool switching = false;
};

TTrackState& Track() {
  static TTrackState state;
  return state;
}

// The selected item belongs to a right-to-left menu: the menus of a right-to-left window.
bool SelectionRightToLeft(const TTrackState& t) { return t.selected && t.form && t.form->RightToLeft(); }

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wp, LPARAM lp) {
  TTrackState& t = Track();
  auto* msg = reinterpret_cast<MSG*>(lp);
  TMenuKeyState keys;
  if (code == MSGF_MENU && t.form && t.form->MenuBar() && msg && msg->message == WM_KEYDOWN) {
    keys.open = t.open;
    keys.selected = t.selected;
    keys.selectedHasSub = t.selectedSub != nullptr;
    TMenuBtn* open = t.open >= 0 && t.open < (int)t.form->MenuBar()->Buttons().size()
                         ? t.form->MenuBar()->Buttons()[(size_t)t.open].get() : nullptr;
    HMENU tracked = open ? open->SubMenu : nullptr;
    keys.selectedInTracked = t.selectedParent == tracked || t.selectedSub == tracked;
    keys.rightToLeft = SelectionRightToLeft(t);
    // The arrows of a right-to-left menu mean the other way round.
    msg->wParam = MenuKeyDecision(keys, msg->wParam, {}).key;
  }
  LRESULT r = CallNextHookEx(t.hook, code, wp, lp);
  if (r || code != MSGF_MENU || !t.form || !t.form->MenuBar()) return r;
  TSkinMenuBar& bar = *t.form->MenuBar();
  if (!t.firstKey) {
    t.firstKey = true;  // the first item is selected, as a keyboard user expects
    PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  TMenuBtn* candidate = nullptr;
  switch (msg->message) {
    case WM_SYSKEYDOWN:
      if (msg->wParam == VK_MENU) t.form->SetMenuTracking(false);
      break;
    case WM_MOUSEMOVE:
      if (msg->pt.x != t.last.x || msg->pt.y != t.last.y) {
        RECT wr{};
        GetWindowRect(t.form->Window(), &wr);
        candidate = bar.ButtonAt(POINT{msg->pt.x - wr.left, msg->pt.y - wr.top});
        t.last = msg->pt;
      }
      break;
    case WM_KEYDOWN: {
      std::vector<bool> opens;
      for (auto& b : bar.Buttons()) opens.push_back(b->Visible && !b->Caption.empty());
      keys.rightToLeft = false;  // swapped already
      TMenuKeyResult k = MenuKeyDecision(keys, msg->wParam, opens);
      if (k.endSwitching) t.switching = false;
      if (k.candidate >= 0) candidate = bar.Buttons()[(size_t)k.candidate].get();
      break;
    }
    default:
      break;
  }
  if (candidate && candidate->Index != t.open) {
    t.switching = true;
    t.next = candidate->Index;
    EndMenu();
    return 1;
  }
  return 0;
}
}  // namespace

void TSkinForm::MenuSelect(WPARAM wp, LPARAM lp) {
  TTrackState& t = Track();
  if (t.form != this) return;
  UINT flags = HIWORD(wp), item = LOWORD(wp);
  auto menu = reinterpret_cast<HMENU>(lp);
  if (flags == 0xFFFF && !menu) {
    t.selected = false;
    t.selectedItem = nullptr;
    if (!t.switching) menuTracking_ = false;
    return;
  }
  t.switching = false;
  t.selected = true;
  t.selectedParent = menu;
  t.selectedSub = (flags & MF_POPUP) ? GetSubMenu(menu, (int)item) : nullptr;
  TMainMenu* main = menuBar_ ? menuBar_->MainMenu() : nullptr;
  t.selectedItem = !main ? nullptr : t.selectedSub ? main->FindBySubMenu(t.selectedSub) : main->FindItem(item);
}

TMenuBtn* TSkinForm::TrackOnce(TMenuBtn* button) {
  TTrackState& t = Track();
  if (button->Item) TidySeparators(button->Item);
  // Except on Windows NT 4, whose menus cannot be owner-drawn from here.
  OSVERSIONINFOA v{sizeof v};
  bool nt4 = GetVersionExA(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_NT && v.dwMajorVersion == 4;
  if (!nt4) SkinOwnerDrawMenu(button->SubMenu);
  if (TSkinManage* m = SkinManager()) {
    m->SetMenuKind(kMenuBar);
    m->SetNewMenuMark(true);
  }
  trackedPopup_ = button->SubMenu;
  t = TTrackState{};
  t.form = this;
  t.open = button->Index;
  GetCursorPos(&t.last);
  t.hook = SetWindowsHookExA(WH_MSGFILTER, MenuFilterProc, nullptr, GetCurrentThreadId());
  if (button->Enabled) {
    RECT wr{};
    GetWindowRect(window_, &wr);
    button->State = kNCPressed;
    button->Paint();
    TrackPopupMenu(button->SubMenu, TPM_RIGHTBUTTON | TPM_NONOTIFY, wr.left + button->Rect.left,
                   wr.top + button->Rect.bottom, 0, window_, nullptr);
  }
  if (t.hook) UnhookWindowsHookEx(t.hook);
  int next = t.next;
  t = TTrackState{};
  trackedPopup_ = nullptr;
  if (hotObject_ == button) button->MouseLeave();
  else button->State = kNCNormal, button->Paint();
  if (!menuBar_ || next < 0 || next >= (int)menuBar_->Buttons().size()) return nullptr;
  return menuBar_->Buttons()[(size_t)next].get();
}

void TSkinForm::OpenMenuButton(TMenuBtn* button) {
  if (!button) return;
  menuTracking_ = true;
  // A neighbour's menu opens right after this one closed, until none is asked for.
  while (button) {
    if (!button->SubMenu) {
      PostMessageA(window_, WM_COMMAND, button->Command, 0);
      break;
    }
    button = TrackOnce(button);
  }
  menuTracking_ = false;
}
