// Skinned windows under the coded test skin, read back from the screen: each part of the
// frame active and inactive, the caption and its text, the caption buttons in their states
// and their actions, the system menu, a message box, switching the skin off and on again,
// the hook finding new windows, and the manager's messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Exception.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManager.h"
#include "skin/SkinObjects.h"
#include "skin/SkinPopupMenu.h"
#include "skin/SkinSubclass.h"
#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"
#include "tests/skin/SkinScreen.h"
#include "tools/skinpack/CodedColours.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;
namespace cs = codedskin;

namespace {
TSkinData& Data() { return skintest::CodedData(); }
using skintest::ScreenRgb;

// The element and frame the coded skin shows at a point of the window.
cs::Decoded At(HWND h, int x, int y) {
  RECT r{};
  GetWindowRect(h, &r);
  if (x < 0) x += r.right - r.left;
  if (y < 0) y += r.bottom - r.top;
  return cs::Decode(ScreenRgb(r.left + x, r.top + y));
}

// Waits a little for what was drawn to reach the screen. Other test programs share the
// desktop and may take the activation: `active` is made the foreground window again.
// A repaint after such a change of activation shows the buttons' normal frames again: `again`
// repeats what put a button into its state.
::testing::AssertionResult Shows(HWND h, int x, int y, int element, int frame, HWND active = nullptr,
                                 const std::function<void()>& again = {}) {
  cs::Decoded d{};
  bool first = true;
  if (PumpUntil([&] {
        if (active && GetForegroundWindow() != active) SetForegroundWindow(active);
        if (again && !first) again();
        first = false;
        d = At(h, x, y);
        return d.element == element && d.frame == frame;
      }, 5000))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "at (" << x << ", " << y << ") element " << d.element << " frame " << d.frame
                                       << ", expected element " << element << " frame " << frame;
}

struct WindowShape {
  LONG_PTR style = 0;
  RECT window{}, client{};
  WNDPROC proc = nullptr;
  int region = 0;
  bool operator==(const WindowShape& o) const {
    return style == o.style && EqualRect(&window, &o.window) && EqualRect(&client, &o.client) && proc == o.proc &&
           region == o.region;
  }
};

WindowShape ShapeOf(HWND h) {
  WindowShape s;
  s.style = GetWindowLongPtrA(h, GWL_STYLE);
  GetWindowRect(h, &s.window);
  GetClientRect(h, &s.client);
  s.proc = (WNDPROC)GetWindowLongPtrA(h, GWLP_WNDPROC);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  s.region = GetWindowRgn(h, r);
  DeleteObject(r);
  return s;
}

// Counts the 0x3503 messages that reach the thread's queue.
int g_finishPosts = 0;
LRESULT CALLBACK CountFinish(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0 && wp == PM_REMOVE && reinterpret_cast<MSG*>(lp)->message == SKIN_FINISH) ++g_finishPosts;
  return CallNextHookEx(nullptr, code, wp, lp);
}

struct Form {
  explicit Form(TFormBorderStyle border = TFormBorderStyle::bsSizeable, intptr_t tag = 0) {
    Data();
    form.reset(new TForm(nullptr));
    form->SetBorderStyle(border);
    form->SetTag(tag);
    form->SetCaption("Skin test");
    form->SetBounds(60, 60, 320, 220);
    form->Show();
    // Other test programs share the desktop: stay above their windows.
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpFor(100);
  }
  HWND Handle() { return form->Handle(); }
  TSkinForm* Skinner() { return SkinManager()->FindFormSkinner(Handle()); }
  bool WaitSkinned() {
    return PumpUntil([&] { return Skinner() && Skinner()->SkinState() == kFormRunning; }, 3000);
  }
  TOwned<TForm> form;
};

POINT ScreenOf(HWND h, int x, int y) {
  RECT r{};
  GetWindowRect(h, &r);
  return POINT{r.left + (x < 0 ? r.right - r.left + x : x), r.top + y};
}

LPARAM Lp(POINT p) { return MAKELPARAM(p.x, p.y); }
}  // namespace

namespace {
// A skin data component for dialogs with the coded skin; the caller frees it.
TSkinData* DialogData() {
  Data();
  auto* dialogs = new TSkinData(nullptr);
  dialogs->SetLoading(true);
  dialogs->SetSkinFile(std::string(KARV_SKINS_DIR) + "/coded.skin");
  dialogs->SetSkinFormtype(TSkinFormType::sfDialog);
  dialogs->Loaded();
  return dialogs;
}

// The window's form skinner once it runs, or null after a while.
TSkinForm* RunningSkinner(HWND h) {
  TSkinForm* s = nullptr;
  PumpUntil([&] { return (s = SkinManager()->FindFormSkinner(h)) && s->SkinState() == kFormRunning; });
  return s && s->SkinState() == kFormRunning ? s : nullptr;
}
}  // namespace

TEST(SkinWindow, FramePartsActiveAndInactiveAndTheCaption) {
  Form f;
  ASSERT_TRUE(f.WaitSkinned());
  HWND h = f.Handle();
  EXPECT_EQ(SendMessageA(h, SKIN_QUERY, 0, 0), 1);
  SetForegroundWindow(h);
  PumpFor(100);
  EXPECT_TRUE(Shows(h, 1, 60, cs::kLeft, 1, h));
  EXPECT_TRUE(Shows(h, -2, 60, cs::kRight, 1, h));
  EXPECT_TRUE(Shows(h, 100, -2, cs::kBottom, 1, h));
  EXPECT_TRUE(Shows(h, 160, 2, cs::kTop, 1, h));
  // The caption text in the active colour (255, 255, 255) starts at TextShift.
  RECT cap = f.Skinner()->CaptionRect();
  RECT wr{};
  GetWindowRect(h, &wr);
  bool white = PumpUntil([&] {
    for (int x = cap.left; x < cap.right; ++x)
      for (int y = cap.top; y < cap.bottom; ++y)
        if (ScreenRgb(wr.left + x, wr.top + y) == 0xFFFFFF) return true;
    return false;
  }, 1000);
  EXPECT_TRUE(white) << "caption text";
  EXPECT_GE(cap.left, 30 - 1);
  // The icon button shows the window's icon at (8, 7) and opens the system menu.
  bool icon = false;
  for (auto& b : f.Skinner()->CaptionButtons())
    if (b->ShowsIcon) icon = b->Visible && b->Rect.left == 8 && b->Rect.top == 7 && !IsRectEmpty(&b->Rect);
  EXPECT_TRUE(icon);

  // Another window takes the activation: every part shows its inactive frame.
  Form other;
  other.form->SetBounds(420, 300, 200, 150);
  SetForegroundWindow(other.Handle());
  PumpFor(200);
  HWND o = other.Handle();
  EXPECT_TRUE(Shows(h, 1, 60, cs::kLeft, 2, o));
  EXPECT_TRUE(Shows(h, -2, 60, cs::kRight, 2, o));
  EXPECT_TRUE(Shows(h, 100, -2, cs::kBottom, 2, o));
  EXPECT_TRUE(Shows(h, 160, 2, cs::kTop, 2, o));
  // The client area keeps the size it had without the skin.
  RECT client{};
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, f.form->ClientWidth());
}

TEST(SkinWindow, CaptionButtonsHoverPressAndAct) {
  Form f;
  ASSERT_TRUE(f.WaitSkinned());
  HWND h = f.Handle();
  SetForegroundWindow(h);
  PumpFor(100);
  // Close at width - 32, maximise at width - 60, minimise at width - 88; 28 x 22 at y 4.
  struct Button {
    int x, element;
  } buttons[] = {{-32, cs::kClose}, {-60, cs::kMaximize}, {-88, cs::kMinimize}};
  for (const Button& b : buttons) {
    POINT p = ScreenOf(h, b.x + 14, 15);
    EXPECT_TRUE(Shows(h, b.x + 14, 15, b.element, 1, h)) << "normal";
    SetCursorPos(p.x, p.y);  // the hover timer lets go of a button the mouse has left
    auto hover = [&] { SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, Lp(p)); };
    auto press = [&] { SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, Lp(p)); };
    hover();
    EXPECT_TRUE(Shows(h, b.x + 14, 15, b.element, 3, h, hover)) << "hover";
    press();
    EXPECT_TRUE(Shows(h, b.x + 14, 15, b.element, 2, h, press)) << "pressed";
    POINT away = ScreenOf(h, 160, 60);
    SetCursorPos(away.x, away.y);
    SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, Lp(away));
    EXPECT_TRUE(Shows(h, b.x + 14, 15, b.element, 1, h)) << "left again";
  }

  // Maximise, restore and minimise through the buttons.
  auto click = [&](int x) {
    POINT p = ScreenOf(h, x, 15);
    SetCursorPos(p.x, p.y);
    SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, Lp(p));
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, Lp(p));
    SendMessageA(h, WM_NCLBUTTONUP, HTCAPTION, Lp(p));
  };
  click(-60 + 14);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(h) != FALSE; }, 2000)) << "maximised";
  PumpFor(100);
  EXPECT_TRUE(Shows(h, -60 + 14, 15, cs::kRestore, 1, h)) << "a maximised window shows the restore button";
  click(-60 + 14);
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(h); }, 2000)) << "restored";
  click(-88 + 14);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(h) != FALSE; }, 2000)) << "minimised";
  ShowWindow(h, SW_RESTORE);
  PumpFor(100);
  bool closed = false;
  f.form->OnClose = TCloseEvent([&](TObject*, TCloseAction&) { closed = true; });
  SetForegroundWindow(h);
  PumpFor(100);
  click(-32 + 14);
  EXPECT_TRUE(PumpUntil([&] { return closed; }, 2000)) << "closed";
}

namespace {
// The first item of an open menu, drawn by its owner from the skin's MenuItem strip: what a
// point in its right margin, inside the menu's 3-pixel frame, shows once it is drawn (a
// loaded machine can take over a second).
cs::Decoded FirstItemPixel(HWND menu) {
  RECT client{};
  GetClientRect(menu, &client);
  POINT at{client.right - 6, 12};
  ClientToScreen(menu, &at);
  cs::Decoded item{};
  PumpUntil([&] {
    item = cs::Decode(ScreenRgb(at.x, at.y));
    return item.element == cs::kMenuItem;
  }, 5000);
  return item;
}

struct MenuProbe {
  bool seen = false, skinned = false, ownerDrawn = false;
  int items = 0;
  cs::Decoded item{};
} g_menu;

void CALLBACK ProbeMenu(HWND, UINT, UINT_PTR id, DWORD) {
  auto menu = (HWND)testing_support::FindOwnWindow("#32768");
  if (!menu) return;
  static int ticks = 0;
  if (++ticks < 4) return;  // the menu has painted and reached the screen
  ticks = 0;
  KillTimer(nullptr, id);
  g_menu.seen = true;
  g_menu.skinned = SendMessageA(menu, SKIN_QUERY, 0, 0) == 1;
  HMENU hm = testing_support::MenuOfMenuWindow(menu);
  g_menu.items = hm ? GetMenuItemCount(hm) : 0;
  MENUITEMINFOA mi{sizeof mi};
  mi.fMask = MIIM_FTYPE;
  g_menu.ownerDrawn = hm && GetMenuItemInfoA(hm, 0, TRUE, &mi) && (mi.fType & MFT_OWNERDRAW);
  g_menu.item = FirstItemPixel(menu);
  EndMenu();
}
}  // namespace

TEST(SkinWindow, SystemMenuIsTheSkinnedOne) {
  Form f;
  ASSERT_TRUE(f.WaitSkinned());
  HWND h = f.Handle();
  SetForegroundWindow(h);
  PumpFor(100);
  g_menu = {};
  UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeMenu);
  POINT p = ScreenOf(h, 160, 15);
  SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, Lp(p));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_menu.seen);
  EXPECT_TRUE(g_menu.skinned) << "the menu window is subclassed";
  EXPECT_TRUE(g_menu.ownerDrawn);
  EXPECT_EQ(g_menu.items, 5) << "restore, maximise, minimise, a separator, close";
  EXPECT_EQ(g_menu.item.element, cs::kMenuItem);
  EXPECT_EQ(g_menu.item.frame, 1);
  EXPECT_FALSE(Data().MenuGlyphs().Empty()) << "the program's PELMORMENU glyphs";
  EXPECT_EQ(SkinManager()->PopupCount(), 0u) << "the menu's skinner went with its window";
}

namespace {
struct BoxProbe {
  bool seen = false, skinned = false;
  cs::Decoded left{}, top{};
} g_box;

void CALLBACK ProbeBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowA("#32770", "Skin box");
  if (!box || !IsWindowVisible(box)) return;
  TSkinForm* s = SkinManager()->FindFormSkinner(box);
  if (!s || s->SkinState() != kFormRunning) return;
  KillTimer(nullptr, id);
  g_box.seen = true;
  g_box.skinned = SendMessageA(box, SKIN_QUERY, 0, 0) == 1 && s->BorderKind() == kBorderDialog;
  SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(box);
  RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpUntil([&] {
    g_box.left = At(box, 1, 40);
    g_box.top = At(box, 20, 2);
    return g_box.left.element == cs::kLeft && g_box.top.element == cs::kTop;
  }, 1000);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST(SkinWindow, MessageBoxIsSkinnedAsADialog) {
  Form f;
  ASSERT_TRUE(f.WaitSkinned());
  g_box = {};
  UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeBox);
  MessageBoxA(f.Handle(), "A skinned message box", "Skin box", MB_OK);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_box.seen);
  EXPECT_TRUE(g_box.skinned);
  EXPECT_EQ(g_box.left.element, cs::kLeft);
  EXPECT_EQ(g_box.top.element, cs::kTop);
  PumpFor(100);
}

TEST(SkinWindow, OffAndOnRestoresTheWindowExactly) {
  Form f(TFormBorderStyle::bsDialog);
  ASSERT_TRUE(f.WaitSkinned());
  TSkinData& d = Data();
  d.SetActive(false);
  HWND h = f.Handle();
  ASSERT_TRUE(PumpUntil([&] { return !SkinManager()->FindFormSkinner(h); }, 2000));
  WindowShape plain = ShapeOf(h);
  EXPECT_EQ(SendMessageA(h, SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(plain.region, ERROR) << "no region left";

  d.SetActive(true);
  ASSERT_TRUE(f.WaitSkinned());
  WindowShape skinned = ShapeOf(h);
  EXPECT_FALSE(skinned == plain);
  RECT client{};
  GetClientRect(h, &client);
  EXPECT_TRUE(EqualRect(&client, &plain.client))
      << "a dialog frame keeps its client size: " << client.right << "x" << client.bottom << " against "
      << plain.client.right << "x" << plain.client.bottom;

  d.SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !SkinManager()->FindFormSkinner(h); }, 2000));
  WindowShape again = ShapeOf(h);
  EXPECT_EQ(again.style, plain.style);
  EXPECT_TRUE(EqualRect(&again.window, &plain.window));
  EXPECT_TRUE(EqualRect(&again.client, &plain.client));
  EXPECT_EQ(again.proc, plain.proc);
  EXPECT_EQ(again.region, plain.region);
  d.SetActive(true);
  ASSERT_TRUE(f.WaitSkinned());
}

TEST(SkinWindow, TheHookFindsNewWindowsButNotTag99AndFreeingLeavesNoSkinner) {
  Data();
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountFinish, nullptr, GetCurrentThreadId());
  g_finishPosts = 0;
  size_t before = SkinManager()->FormSkinners().size();
  {
    Form f;
    ASSERT_TRUE(f.WaitSkinned());
    EXPECT_EQ(SkinManager()->FormSkinners().size(), before + 1);
    SetForegroundWindow(f.Handle());
    PumpFor(200);
    EXPECT_EQ(g_finishPosts, 1) << "0x3503 is posted once";
    Form left(TFormBorderStyle::bsSizeable, 99);
    PumpFor(300);
    EXPECT_EQ(left.Skinner(), nullptr);
    EXPECT_EQ(SendMessageA(left.Handle(), SKIN_QUERY, 0, 0), 0);
  }
  PumpFor(100);
  SkinManager()->Purge();
  EXPECT_EQ(SkinManager()->FormSkinners().size(), before) << "freeing a skinned form leaves no skinner";
  UnhookWindowsHookEx(hook);
}

TEST(SkinWindow, AZeroSizeWindowIsSkinnedAtItsNextActivation) {
  Data();
  TOwned<TForm> form(new TForm(nullptr));
  form->SetBorderStyle(TFormBorderStyle::bsNone);
  form->SetBounds(50, 50, 0, 0);
  form->Show();
  PumpFor(200);
  HWND h = form->Handle();
  EXPECT_EQ(SkinManager()->FindFormSkinner(h), nullptr);
  form->SetBounds(50, 50, 240, 160);
  SetForegroundWindow(GetDesktopWindow());
  PumpFor(50);
  SetActiveWindow(nullptr);
  form->Show();
  SetForegroundWindow(h);
  EXPECT_TRUE(PumpUntil([&] { return SkinManager()->FindFormSkinner(h) != nullptr; }, 2000));
}

namespace {
struct BarProbe {
  bool seen = false, skinned = false;
} g_bar;

void CALLBACK ProbeBarMenu(HWND, UINT, UINT_PTR id, DWORD) {
  auto menu = (HWND)testing_support::FindOwnWindow("#32768");
  if (!menu) return;
  KillTimer(nullptr, id);
  g_bar.seen = true;
  g_bar.skinned = SendMessageA(menu, SKIN_QUERY, 0, 0) == 1;
  EndMenu();
}
}  // namespace

TEST(SkinWindow, PlainWindowWithAMenuBarAndFreeingItsSkinData) {
  // Dialogs take this component's skin; freeing it un-skins them.
  TSkinData* dialogs = DialogData();
  HMENU bar = CreateMenu(), file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 101, "&Open");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, 102, "E&xit");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
  AppendMenuA(bar, MF_STRING, 103, "&Help");
  HWND h = CreateWindowExA(0, "#32770", "Plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, bar,
                           nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(h);
  TSkinForm* s = RunningSkinner(h);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->SkinData(), dialogs) << "a dialog takes the dialog data";
  EXPECT_EQ(GetMenu(h), nullptr) << "the skinned bar replaces the window's menu";
  ASSERT_NE(s->MenuBar(), nullptr);
  EXPECT_EQ(s->MenuBar()->Buttons().size(), 2u);

  // The menu code only inside the bar; the title is the caption.
  int top = s->FrameWidths().top, bar_h = s->MenuBarHeight();
  EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, Lp(ScreenOf(h, 150, top + bar_h / 2))), HTMENU);
  EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, Lp(ScreenOf(h, 150, top / 2))), HTCAPTION);
  EXPECT_NE(SendMessageA(h, WM_NCHITTEST, 0, Lp(ScreenOf(h, 150, 197))), HTMENU);
  EXPECT_TRUE(Shows(h, -10, top + 3, cs::kMenuBar, 1)) << "the bar's background";

  // A press on "File" opens its menu, skinned.
  g_bar = {};
  UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeBarMenu);
  const RECT& file_r = s->MenuBar()->Buttons()[0]->Rect;
  SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU, Lp(ScreenOf(h, file_r.left + 3, file_r.top + 3)));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_bar.seen);
  EXPECT_TRUE(g_bar.skinned);

  TComponent::Free(dialogs);
  EXPECT_EQ(SkinManager()->FindFormSkinner(h), nullptr);
  EXPECT_EQ(SendMessageA(h, SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(GetMenu(h), bar) << "the window has its menu back";
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  DestroyWindow(h);
}

TEST(SkinWindow, TheFormsPopupMenusAreOwnerDrawnFromTheSkin) {
  Form f;
  auto* menu = New<TPopupMenu>(f.form.get());
  auto* open = New<TMenuItem>(f.form.get());
  open->SetCaption("Open");
  open->SetShortCut("Ctrl+O");
  menu->Items()->Add(open);
  ASSERT_TRUE(f.WaitSkinned());
  // The menu came after the skin was installed: the skinner walks the menus again.
  f.Skinner()->SkinPopupMenus(true);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_EQ(open->OnDrawItem.Owner(), f.Skinner());
  g_menu = {};
  UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeMenu);
  menu->Popup(200, 200);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_menu.seen);
  EXPECT_TRUE(g_menu.skinned);
  EXPECT_EQ(g_menu.item.element, cs::kMenuItem);

  Data().SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !f.Skinner(); }, 2000));
  EXPECT_FALSE(menu->OwnerDraw()) << "un-skinning gives the menus their own look back";
  EXPECT_FALSE(open->OnDrawItem);
  Data().SetActive(true);
  ASSERT_TRUE(f.WaitSkinned());
}

TEST(SkinWindow, ANewCaptionAndANewSkinRedrawTheFrame) {
  Form f;
  ASSERT_TRUE(f.WaitSkinned());
  HWND h = f.Handle();
  SetForegroundWindow(h);
  // A text change repaints the caption through the skin, not the system's.
  SetWindowTextA(h, "Another caption");
  EXPECT_TRUE(Shows(h, 160, 2, cs::kTop, 1, h));
  EXPECT_TRUE(Shows(h, 1, 60, cs::kLeft, 1, h));

  // Applying another skin to the data rebuilds the frame of its windows.
  TSkinData& d = Data();
  EXPECT_TRUE(skintest::ApplySkinFile(f.Skinner(), "builtin.skin"));
  EXPECT_NE(At(h, 1, 60).element, cs::kLeft) << "no coded colour left in the frame";
  d.SetSkinFile(std::string(KARV_SKINS_DIR) + "/coded.skin");
  EXPECT_TRUE(Shows(h, 1, 60, cs::kLeft, 1, h));
}

namespace {
struct SwitchProbe {
  int stage = 0;
  HMENU first = nullptr, second = nullptr;
} g_switch;

void CALLBACK ProbeSwitch(HWND, UINT, UINT_PTR id, DWORD) {
  auto menu = (HWND)testing_support::FindOwnWindow("#32768");
  if (!menu) return;
  auto hm = testing_support::MenuOfMenuWindow(menu);
  if (g_switch.stage == 0) {
    g_switch.first = hm;
    g_switch.stage = 1;
    PostMessageA(menu, WM_KEYDOWN, VK_RIGHT, 0);
  } else if (hm != g_switch.first) {
    g_switch.second = hm;
    KillTimer(nullptr, id);
    EndMenu();
  }
}
}  // namespace

TEST(SkinWindow, TheRightArrowMovesToTheNextMenuOfTheBar) {
  Data();
  HMENU bar = CreateMenu(), file = CreatePopupMenu(), edit = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 101, "&Open");
  AppendMenuA(edit, MF_STRING, 201, "&Copy");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)edit, "&Edit");
  HWND h = CreateWindowExA(0, "#32770", "Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 120, 300, 200, nullptr, bar,
                           nullptr, nullptr);
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(h);
  TSkinForm* s = RunningSkinner(h);
  ASSERT_NE(s, nullptr);
  g_switch = {};
  UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeSwitch);
  const RECT& r = s->MenuBar()->Buttons()[0]->Rect;
  SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU, Lp(ScreenOf(h, r.left + 3, r.top + 3)));
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_switch.first, file);
  EXPECT_EQ(g_switch.second, edit);
  DestroyWindow(h);
}

namespace {
// A window of another kind that a form's OnCreate puts into one of its panels, before the
// form has a window of its own.
struct EarlyChildForm {
  EarlyChildForm() {
    Data();
    form.reset(new TForm(nullptr));
    form->SetCaption("Early child");
    form->SetBounds(60, 60, 320, 220);
    panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 300, 40);
    form->OnCreate = TNotifyEvent([this](TObject*) {
      pane = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 300, 150, panel->Handle(), nullptr, nullptr, nullptr);
    });
    form->DoCreate();
  }
  int PanelWindows() {
    int n = 0;
    for (HWND c = GetWindow(form->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (char cls[32] = ""; GetClassNameA(c, cls, sizeof cls) && std::string(cls) == "TPanel") ++n;
    return n;
  }
  TOwned<TForm> form;
  TPanel* panel = nullptr;
  HWND pane = nullptr;
};
}  // namespace

TEST(SkinWindow, APanelWindowMadeFromOnCreatePaintsAndTheFormCloses) {
  EarlyChildForm f;
  ASSERT_NE(f.pane, nullptr);
  // Asking the panel for its window made the form's, which made its children's: one panel
  // window only, the one that holds the pane.
  ASSERT_EQ(f.PanelWindows(), 1);
  EXPECT_EQ(GetParent(f.pane), f.panel->Handle());
  f.form->Show();
  HWND h = f.form->Handle();
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_TRUE(PumpUntil([&] {
    TSkinForm* s = SkinManager()->FindFormSkinner(h);
    return s && s->SkinState() == kFormRunning;
  }, 3000));
  EXPECT_TRUE(PumpUntil([&] { return !GetUpdateRect(f.panel->Handle(), nullptr, FALSE); }, 2000))
      << "the panel has painted";
  EXPECT_TRUE(Shows(h, 1, 60, cs::kLeft, 1, h)) << "the skinned frame has painted";
  bool closed = false;
  f.form->OnClose = TCloseEvent([&](TObject*, TCloseAction&) { closed = true; });
  PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return closed && !IsWindowVisible(h); }, 2000)) << "closed";
}

namespace {
// Every caption button of the window is one of the data's current caption-button records.
bool ButtonsFromCurrentModel(TSkinForm* s, TSkinData* d) {
  if (s->CaptionButtons().size() != d->Model().SysButtons.size()) return false;
  for (size_t i = 0; i < s->CaptionButtons().size(); ++i)
    if (s->CaptionButtons()[i]->Data != d->Model().SysButtons[i].get()) return false;
  return true;
}
}  // namespace

TEST(SkinWindow, ReloadingTheSkinOfADialogDataRebuildsItsWindowsAtOnce) {
  TSkinData* dialogs = DialogData();
  HWND h = CreateWindowExA(0, "#32770", "Reload", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 140, 140, 300, 200, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  SetForegroundWindow(h);
  TSkinForm* s = RunningSkinner(h);
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->SkinData(), dialogs);
  ASSERT_TRUE(ButtonsFromCurrentModel(s, dialogs));

  // A dialog's data only loads a new skin file (nothing is scheduled); its windows must still
  // let go of the old records before the next hit test or frame paint.
  dialogs->SetSkinFile(std::string(KARV_SKINS_DIR) + "/builtin.skin");
  ASSERT_FALSE(dialogs->NoSkin());
  EXPECT_TRUE(ButtonsFromCurrentModel(s, dialogs));
  const TDataSkinBorder& top = *dialogs->Model().Top;
  EXPECT_EQ(s->FrameWidths().top, top.Bitmap.Height() / std::max(top.FrameCount, 1));
  SendMessageA(h, WM_NCHITTEST, 0, Lp(ScreenOf(h, -20, 10)));
  SendMessageA(h, SKIN_NCREPAINT, 0, 0);

  ASSERT_TRUE(dialogs->LoadSkin());
  EXPECT_TRUE(ButtonsFromCurrentModel(s, dialogs)) << "a reload of the same stream";
  dialogs->SetSkinFile(std::string(KARV_SKINS_DIR) + "/coded.skin");
  EXPECT_TRUE(ButtonsFromCurrentModel(s, dialogs));
  EXPECT_TRUE(Shows(h, 1, 60, cs::kLeft, 1, h)) << "the window shows the skin loaded last";
  TComponent::Free(dialogs);
  DestroyWindow(h);
}

TEST(SkinWindow, AnOwnerlessWindowWithOneCaptionBitGetsThatBitBack) {
  Data();
  for (LONG_PTR bit : {(LONG_PTR)WS_BORDER, (LONG_PTR)WS_DLGFRAME}) {
    HWND h = CreateWindowExA(0, "#32770", "", WS_POPUP | bit, 100, 100, 200, 120, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    const LONG_PTR before = GetWindowLongPtrA(h, GWL_STYLE);
    ASSERT_EQ(before & WS_CAPTION, bit);
    auto* s = new TSkinForm(nullptr);
    s->SetWindow(h);
    s->Install(&Data());
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & WS_CAPTION, 0) << "a window without owner loses its caption bits";
    s->Uninstall();
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE), before) << "style " << std::hex << bit;
    TComponent::Free(s);
    DestroyWindow(h);
  }
}

TEST(SkinWindow, ASubmenuLargerThanItsParentDrawsItsItemsOnItsOwnBackground) {
  Data();
  // Two menu windows as the system makes them: the parent menu, then a taller submenu.
  auto menuWindow = [](int x, int w, int h) {
    return CreateWindowExA(WS_EX_TOOLWINDOW, MAKEINTATOM(32768), "", WS_POPUP, x, 100, w, h, nullptr, nullptr,
                           nullptr, nullptr);
  };
  HWND parent = menuWindow(100, 120, 60), sub = menuWindow(230, 160, 240);
  ASSERT_TRUE(parent && sub);
  ASSERT_EQ(SendMessageA(parent, SKIN_QUERY, 0, 0), 1);
  ASSERT_EQ(SendMessageA(sub, SKIN_QUERY, 0, 0), 1);
  SendMessageA(parent, WM_NCPAINT, 1, 0);
  SendMessageA(sub, WM_NCPAINT, 1, 0);
  ASSERT_EQ(CurrentPopupSkinner()->Window(), sub);

  // An item of the submenu well below the parent's height, drawn as the submenu's owner does.
  TBitmap target(160, 240);
  const RECT item{10, 200, 150, 222};
  // Without the item strip over it, the item shows just its background.
  std::unique_ptr<TDataSkinObject> strip;
  strip.swap(Data().Model().MenuItem);
  SkinPaintMenuItem(&Data(), target.Canvas().Handle(), item, TSkinMenuItemLook{"Item"});
  strip.swap(Data().Model().MenuItem);
  const COLORREF c = GetPixel(target.Canvas().Handle(), 140, 202);
  EXPECT_EQ(cs::Decode((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)).element, cs::kMenuBackground)
      << "the submenu's own background, not what lies beyond the parent's picture";
  DestroyWindow(sub);
  DestroyWindow(parent);
  EXPECT_EQ(CurrentPopupSkinner(), nullptr);
}

TEST(SkinWindow, MenuBarButtonsAreMeasuredWithoutTheAcceleratorMarker) {
  Data();
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 101, "&Wide");
  AppendMenuA(bar, MF_STRING, 102, "Wide");
  HWND h = CreateWindowExA(0, "#32770", "Measure", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 300, 200, nullptr, bar,
                           nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  SetForegroundWindow(h);
  TSkinForm* s = RunningSkinner(h);
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->MenuBar(), nullptr);
  s->PaintFrame();
  const RECT& marked = s->MenuBar()->Buttons()[0]->Rect;
  const RECT& plain = s->MenuBar()->Buttons()[1]->Rect;
  EXPECT_GT(plain.right - plain.left, 10);
  EXPECT_EQ(marked.right - marked.left, plain.right - plain.left);
  DestroyWindow(h);
}

namespace {
std::vector<std::string> g_reported;
void NoteReport(const std::string& line) { g_reported.push_back(line); }
}  // namespace

TEST(SkinWindow, AnExceptionInsideTheWindowHookGoesToTheErrorLog) {
  TSkinData& d = Data();
  g_reported.clear();
  SetExceptionReporter(&NoteReport);
  d.OnFormSkin = TOnFormSkin([](TObject*, const std::string&, bool&) { throw Exception("refused"); });
  {
    Form f;  // its activation runs the hook, which asks OnFormSkin
    SetForegroundWindow(f.Handle());
    PumpFor(100);
    EXPECT_EQ(f.Skinner(), nullptr);
  }
  d.OnFormSkin = TOnFormSkin();
  SetExceptionReporter(nullptr);
  ASSERT_FALSE(g_reported.empty());
  EXPECT_EQ(g_reported.front(), "refusedTSkinManage.CbtProc");
}

TEST(SkinWindow, AUnicodeWindowStaysUnicodeAndKeepsItsTextSkinnedAndUnskinned) {
  TSkinData& d = Data();
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KarvWideWindow";
  wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
  RegisterClassW(&wc);
  // Thai letters: no code page 936 text can hold them.
  const std::wstring first = L"Wide \x0E01\x0E02\x0E03", second = L"\x0E04\x0E05 again";
  HWND h = CreateWindowExW(0, L"KarvWideWindow", first.c_str(), WS_OVERLAPPEDWINDOW, 160, 160, 300, 200, nullptr,
                           nullptr, wc.hInstance, nullptr);
  ASSERT_NE(h, nullptr);
  const LONG_PTR plainProc = GetWindowLongPtrW(h, GWLP_WNDPROC);  // before the activation skins it
  ShowWindow(h, SW_SHOW);
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(h);
  TSkinForm* s = RunningSkinner(h);
  ASSERT_NE(s, nullptr);
  auto text = [&] {
    wchar_t buffer[64] = {};
    GetWindowTextW(h, buffer, 64);
    return std::wstring(buffer);
  };
  EXPECT_TRUE(IsWindowUnicode(h)) << "subclassed through the wide calls";
  EXPECT_TRUE(s->UnicodeWindow());
  EXPECT_TRUE(text() == first);
  EXPECT_TRUE(s->CaptionTextWide() == first) << "the caption is drawn from the wide text";
  SetWindowTextW(h, second.c_str());
  EXPECT_TRUE(text() == second) << "a wide text set while skinned";
  EXPECT_EQ(SendMessageW(h, SKIN_QUERY, 0, 0), 1);

  d.SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !SkinManager()->FindFormSkinner(h); }, 2000));
  EXPECT_TRUE(IsWindowUnicode(h));
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), plainProc) << "the wide procedure is given back";
  EXPECT_TRUE(text() == second);
  d.SetActive(true);
  PumpFor(300);
  DestroyWindow(h);
}

TEST(SkinWindow, SkinningOffAndOnFreesTheMenusBitmapsAndRegionsItMade) {
  // The system here keeps no count of a process's objects: each handle the skin made is
  // asked after it should have gone.
  Form f;
  HWND h = f.Handle();
  ASSERT_TRUE(f.WaitSkinned());
  TSkinData& d = Data();
  for (int round = 0; round < 3; ++round) {
    TSkinForm* s = f.Skinner();
    ASSERT_NE(s, nullptr);
    SetForegroundWindow(h);
    s->PaintFrame();
    HMENU skinnedSystemMenu = s->SkinnedSystemMenu();
    HBITMAP title = s->TitleBitmap().Handle(), icon = s->IconBitmap().Handle();
    ASSERT_TRUE(IsMenu(skinnedSystemMenu)) << round;
    ASSERT_NE(GetObjectType(title), 0u) << round;
    ASSERT_NE(GetObjectType(icon), 0u) << round;
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(h, probe), ERROR) << "skinned windows are shaped";
    d.SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return !f.Skinner(); }, 2000));
    EXPECT_FALSE(IsMenu(skinnedSystemMenu)) << round;
    EXPECT_EQ(GetObjectType(title), 0u) << round;
    EXPECT_EQ(GetObjectType(icon), 0u) << round;
    EXPECT_EQ(GetWindowRgn(h, probe), ERROR) << round;
    DeleteObject(probe);
    d.SetActive(true);
    ASSERT_TRUE(f.WaitSkinned());
  }
}
