// Tracking a menu of the skinned menu bar: while one is open, a message-filter hook on the
// GUI thread watches the menu's keys and the mouse, so the left and right arrows and a move
// onto another bar button close this menu and open the neighbour's.
#include <windows.h>

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
  POINT last{};
  bool firstKey = false;
};

TTrackState& Track() {
  static TTrackState state;
  return state;
}

TMenuBtn* Neighbour(TSkinMenuBar& bar, int from, int step) {
  const auto& buttons = bar.Buttons();
  int n = (int)buttons.size();
  for (int k = 1; k <= n; ++k) {
    TMenuBtn* b = buttons[(size_t)(((from + step * k) % n + n) % n)].get();
    if (b->Visible && !b->Caption.empty()) return b;
  }
  return nullptr;
}

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wp, LPARAM lp) {
  TTrackState& t = Track();
  LRESULT r = CallNextHookEx(t.hook, code, wp, lp);
  if (r || code != MSGF_MENU || !t.form || !t.form->MenuBar()) return r;
  auto* msg = reinterpret_cast<MSG*>(lp);
  TSkinMenuBar& bar = *t.form->MenuBar();
  if (!t.firstKey) {
    t.firstKey = true;  // the first item is selected, as a keyboard user expects
    PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  TMenuBtn* candidate = nullptr;
  switch (msg->message) {
    case WM_MOUSEMOVE:
      if (msg->pt.x != t.last.x || msg->pt.y != t.last.y) {
        RECT wr{};
        GetWindowRect(t.form->Window(), &wr);
        candidate = bar.ButtonAt(POINT{msg->pt.x - wr.left, msg->pt.y - wr.top});
        t.last = msg->pt;
      }
      break;
    case WM_KEYDOWN:
      if (msg->wParam == VK_RIGHT && !t.selectedSub) {
        candidate = Neighbour(bar, t.open, 1);
      } else if (msg->wParam == VK_LEFT) {
        TMenuBtn* open = t.open >= 0 && t.open < (int)bar.Buttons().size() ? bar.Buttons()[(size_t)t.open].get() : nullptr;
        HMENU tracked = open ? open->SubMenu : nullptr;
        if (!t.selected || t.selectedParent == tracked) candidate = Neighbour(bar, t.open, -1);
      }
      break;
    default:
      break;
  }
  if (candidate && candidate->Index != t.open) {
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
    return;
  }
  t.selected = true;
  t.selectedParent = menu;
  t.selectedSub = (flags & MF_POPUP) ? GetSubMenu(menu, (int)item) : nullptr;
}

TMenuBtn* TSkinForm::TrackOnce(TMenuBtn* button) {
  TTrackState& t = Track();
  SkinOwnerDrawMenu(button->SubMenu);
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
