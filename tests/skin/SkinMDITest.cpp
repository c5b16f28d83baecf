// MDI frames and children and forms with a main menu under the coded test skin, read back
// from the screen: the menu bar built from the main menu, its menus opened by click, Alt and
// a key and the arrows, a maximised child's buttons in the bar and what each does, run-time
// menu changes, switching the skin off and on without leaks, and the menu hook's keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

#include "platform/forms/ActnList.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManager.h"
#include "skin/SkinObjects.h"
#include "skin/SkinSubclass.h"
#include "tests/support/ScreenShot.h"
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

uint32_t Rgb(TColor c) {
  COLORREF r = ColorToRGB(c);
  return (GetRValue(r) << 16) | (GetGValue(r) << 8) | GetBValue(r);
}

// A point of the window (negative: from the right or bottom edge) in screen coordinates.
POINT ScreenOf(HWND h, int x, int y) {
  RECT r{};
  GetWindowRect(h, &r);
  return POINT{r.left + (x < 0 ? r.right - r.left + x : x), r.top + (y < 0 ? r.bottom - r.top + y : y)};
}

LPARAM Lp(POINT p) { return MAKELPARAM(p.x, p.y); }

// Waits for the screen to show what `want` accepts at a window point.
::testing::AssertionResult ShowsAt(HWND h, int x, int y, const std::function<bool(uint32_t)>& want, HWND active) {
  uint32_t seen = 0;
  if (PumpUntil([&] {
        if (active && GetForegroundWindow() != active) SetForegroundWindow(active);
        POINT p = ScreenOf(h, x, y);
        seen = ScreenRgb(p.x, p.y);
        return want(seen);
      }, 5000))
    return ::testing::AssertionSuccess();
  cs::Decoded d = cs::Decode(seen);
  return ::testing::AssertionFailure() << "at (" << x << ", " << y << ") 0x" << std::hex << seen << std::dec
                                       << " (element " << d.element << " frame " << d.frame << ")";
}

auto Element(int element, int frame = 0) {
  return [=](uint32_t rgb) {
    cs::Decoded d = cs::Decode(rgb);
    return d.element == element && (frame == 0 || d.frame == frame);
  };
}

TMenuItem* Item(TComponent* owner, TMenuItem* parent, const char* caption) {
  auto* i = New<TMenuItem>(owner);
  i->SetCaption(caption);
  parent->Add(i);
  return i;
}

// An MDI frame with a main menu: File (separators to tidy), Window (the window list), Help.
struct Frame {
  Frame() {
    Data();
    form.reset(new TForm(nullptr));
    form->SetFormStyle(TFormStyle::fsMDIForm);
    form->SetCaption("MDI frame");
    form->SetBounds(40, 40, 520, 380);
    menu = New<TMainMenu>(form.get());
    file = Item(form.get(), menu->Items(), "&File");
    Item(form.get(), file, "-");
    open = Item(form.get(), file, "&Open");
    Item(form.get(), file, "-");
    Item(form.get(), file, "-");
    Item(form.get(), file, "&Close");
    Item(form.get(), file, "-");
    window = Item(form.get(), menu->Items(), "&Window");
    Item(form.get(), window, "&Cascade");
    help = Item(form.get(), menu->Items(), "&Help");
    form->SetMenu(menu);
    form->SetWindowMenu(window);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(form->Handle());
  }
  HWND Handle() { return form->Handle(); }
  TSkinForm* Skinner() { return SkinManager()->FindFormSkinner(Handle()); }
  bool WaitSkinned() { return PumpUntil([&] { return Skinner() && Skinner()->SkinState() == kFormRunning; }, 3000); }
  TForm* Child(const char* caption) {
    auto* c = new TForm(form.get());
    c->SetFormStyle(TFormStyle::fsMDIChild);
    c->SetCaption(caption);
    c->SetBounds(10, 10, 240, 170);
    c->Show();
    return c;
  }
  TOwned<TForm> form;
  TMainMenu* menu = nullptr;
  TMenuItem *file = nullptr, *open = nullptr, *window = nullptr, *help = nullptr;
};

TSkinForm* SkinnerOf(TForm* f) { return SkinManager()->FindFormSkinner(f->Handle()); }
bool WaitSkinned(TForm* f) {
  return PumpUntil([&] { return SkinnerOf(f) && SkinnerOf(f)->SkinState() == kFormRunning; }, 3000);
}

// What the open menu of the bar showed, read from a timer while it is tracked.
struct MenuProbe {
  int stage = 0;
  bool skinned = false;
  int items = 0;
  HMENU first = nullptr, second = nullptr;
  bool moveRight = false;
} g_probe;

void CALLBACK ProbeMenu(HWND, UINT, UINT_PTR id, DWORD) {
  auto menu = (HWND)testing_support::FindOwnWindow("#32768");
  if (!menu) return;
  auto hm = testing_support::MenuOfMenuWindow(menu);
  if (g_probe.stage == 0) {
    g_probe.first = hm;
    g_probe.skinned = SendMessageA(menu, SKIN_QUERY, 0, 0) == 1;
    g_probe.items = hm ? GetMenuItemCount(hm) : 0;
    g_probe.stage = 1;
    if (g_probe.moveRight) {
      PostMessageA(menu, WM_KEYDOWN, VK_RIGHT, 0);
      return;
    }
  } else if (hm == g_probe.first) {
    return;
  } else {
    g_probe.second = hm;
  }
  KillTimer(nullptr, id);
  EndMenu();
}

// Presses a caption button of the window at a window point: down and up, as a click does.
void Click(HWND h, POINT windowPoint) {
  RECT wr{};
  GetWindowRect(h, &wr);
  POINT p{wr.left + windowPoint.x, wr.top + windowPoint.y};
  SetCursorPos(p.x, p.y);
  SendMessageA(h, WM_NCMOUSEMOVE, HTMENU, Lp(p));
  SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU, Lp(p));
  SendMessageA(h, WM_NCLBUTTONUP, HTMENU, Lp(p));
}

// The caption buttons of the frame that stand in the menu bar for a maximised child.
TSkinSysButton* MdiButton(TSkinForm* s, int action) {
  for (auto& b : s->CaptionButtons())
    if (b->Data->Visibility == 100 && b->Data->Action == action) return b.get();
  return nullptr;
}

bool ChildMaximised(TForm* c) { return IsZoomed(c->Handle()) && SkinManager()->MaximisedChild(); }
}  // namespace

TEST(SkinMDI, TheFrameGetsAMenuBarFromItsMainMenuAndItsMenusOpen) {
  Frame f;
  ASSERT_TRUE(f.WaitSkinned());
  TSkinForm* s = f.Skinner();
  HWND h = f.Handle();
  EXPECT_EQ(s->FormKind(), 1);
  EXPECT_EQ(s->MDIClientHandle(), f.form->ClientHandle());
  EXPECT_EQ(GetMenu(h), nullptr) << "the skinned bar stands in for the window menu";
  ASSERT_NE(s->MenuBar(), nullptr);
  const auto& buttons = s->MenuBar()->Buttons();
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0]->Caption, "&File");
  EXPECT_EQ(buttons[1]->Caption, "&Window");
  EXPECT_EQ(buttons[2]->Caption, "&Help");
  EXPECT_EQ(buttons[0]->Item, f.file);
  EXPECT_EQ(buttons[2]->SubMenu, nullptr);

  int top = s->FrameWidths().top;
  EXPECT_TRUE(ShowsAt(h, -10, top + 3, Element(cs::kMenuBar, 1), h)) << "the bar's background";
  // The mouse over "File": the button fills with the highlight colour.
  const RECT fileRect = buttons[0]->Rect;
  POINT over = ScreenOf(h, fileRect.left + 2, fileRect.top + 2);
  SetCursorPos(over.x, over.y);
  auto hover = [&] { SendMessageA(h, WM_NCMOUSEMOVE, HTMENU, Lp(over)); };
  hover();
  uint32_t hilight = Rgb(Data().Model().Hilight);
  EXPECT_TRUE(PumpUntil([&] {
    hover();
    return ScreenRgb(over.x, over.y) == hilight;
  }, 3000)) << "hot";

  // A press opens File's menu, skinned, without its leading, doubled and trailing separators.
  g_probe = {};
  UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeMenu);
  SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU, Lp(over));
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_probe.first, f.file->Handle());
  EXPECT_TRUE(g_probe.skinned);
  EXPECT_EQ(g_probe.items, 3) << "Open, one separator, Close";

  // Alt+F reaches the bar through CM_DIALOGCHAR; the right arrow moves on to Window's menu.
  g_probe = {};
  g_probe.moveRight = true;
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE before = keys[VK_MENU];
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  LRESULT answered = SendMessageA(h, WM_SYSCHAR, 'f', 1 << 29);
  keys[VK_MENU] = before;
  SetKeyboardState(keys);
  EXPECT_EQ(answered, 0);
  timer = SetTimer(nullptr, 0, 50, ProbeMenu);
  PumpUntil([&] { return g_probe.second != nullptr; }, 5000);
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_probe.first, f.file->Handle()) << "Alt+F opened File";
  EXPECT_EQ(g_probe.second, f.window->Handle()) << "the right arrow opened Window";

  // In an MDI child, which has no bar of its own, Alt+H goes on to the frame's bar.
  TForm* child = f.Child("Child");
  ASSERT_TRUE(WaitSkinned(child));
  bool helpRan = false;
  f.help->OnClick = TNotifyEvent([&](TObject*) { helpRan = true; });
  SetKeyboardState(keys);
  GetKeyboardState(keys);
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(child->Handle(), WM_SYSCHAR, 'h', 1 << 29);
  keys[VK_MENU] = before;
  SetKeyboardState(keys);
  EXPECT_TRUE(PumpUntil([&] { return helpRan; }, 3000)) << "Help, a button without menu, posts its command";
}

TEST(SkinMDI, WithoutASkinnedBarTheMainMenusItemsAreOwnerDrawnFromTheSkin) {
  TSkinData& d = Data();
  TSkinControlTypes saved = d.SkinControls();
  d.SetSkinControls((saved & ~SkinSet(skMainMenu)) | SkinSet(skMenuItem));
  {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetBounds(80, 80, 300, 200);
    auto* menu = New<TMainMenu>(form.get());
    TMenuItem* file = Item(form.get(), menu->Items(), "&File");
    TMenuItem* open = Item(form.get(), file, "&Open");
    form->SetMenu(menu);
    form->Show();
    ASSERT_TRUE(WaitSkinned(form.get()));
    TSkinForm* s = SkinnerOf(form.get());
    EXPECT_EQ(s->MenuBar(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), menu->Handle()) << "the system's bar stays";
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_EQ(open->OnDrawItem.Owner(), s);
    EXPECT_FALSE(file->OnDrawItem) << "the bar's own items stay the system's";
    MENUITEMINFOA mi{sizeof mi};
    mi.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(file->Handle(), 0, TRUE, &mi));
    EXPECT_TRUE(mi.fType & MFT_OWNERDRAW);
    d.SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return !SkinnerOf(form.get()); }, 3000));
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_FALSE(open->OnDrawItem);
  }
  d.SetSkinControls(saved);
  d.SetActive(true);
  PumpFor(300);
}

TEST(SkinMDI, ARightToLeftBarLaysItsButtonsFromTheRight) {
  Frame f;
  ASSERT_TRUE(f.WaitSkinned());
  TSkinData& d = Data();
  HWND h = f.Handle();
  d.SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !f.Skinner(); }, 3000));
  SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  d.SetActive(true);
  ASSERT_TRUE(f.WaitSkinned());
  TSkinForm* s = f.Skinner();
  ASSERT_TRUE(s->RightToLeft());
  ASSERT_NE(s->MenuBar(), nullptr);
  const auto& buttons = s->MenuBar()->Buttons();
  ASSERT_EQ(buttons.size(), 3u);
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_TRUE(PumpUntil([&] { return !IsRectEmpty(&buttons[2]->Rect); }, 3000));
  RECT wr{};
  GetWindowRect(h, &wr);
  int width = wr.right - wr.left;
  // "File" first from the right edge, then "Window", then "Help", each touching the next.
  EXPECT_GT(buttons[0]->Rect.left, width / 2);
  EXPECT_EQ(buttons[1]->Rect.right, buttons[0]->Rect.left);
  EXPECT_EQ(buttons[2]->Rect.right, buttons[1]->Rect.left);
  d.SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !f.Skinner(); }, 3000));
  SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) & ~(LONG_PTR)WS_EX_LEFTSCROLLBAR);
  d.SetActive(true);
  PumpFor(300);
}

TEST(SkinMDI, AMaximisedChildPutsItsButtonsInTheBarAndEachDoesItsCommand) {
  Frame f;
  ASSERT_TRUE(f.WaitSkinned());
  EXPECT_TRUE(Data().MenuUpdate());
  TForm* child = f.Child("Child one");
  ASSERT_TRUE(WaitSkinned(child)) << "the child is skinned inside the client area";
  EXPECT_FALSE(Data().MenuUpdate()) << "cleared while MDI children exist";
  TSkinForm* childSkin = SkinnerOf(child);
  EXPECT_EQ(childSkin->FormKind(), 2);
  EXPECT_EQ(childSkin->MenuBar(), nullptr);
  HWND h = f.Handle(), c = child->Handle();
  EXPECT_TRUE(ShowsAt(c, 1, 60, Element(cs::kLeft), h)) << "the child's frame";
  EXPECT_TRUE(ShowsAt(c, 100, -2, Element(cs::kBottom), h));
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(c, rgn), ERROR) << "a skinned child has its region";

  auto maximise = [&] {
    SendMessageA(c, WM_NCLBUTTONDBLCLK, HTCAPTION, Lp(ScreenOf(c, 120, 10)));
    bool ok = PumpUntil([&] { return ChildMaximised(child); }, 3000);
    if (!ok)
      ADD_FAILURE() << "zoomed " << IsZoomed(c) << " state " << SkinManager()->MaximisedChild() << " skin state "
                    << SkinnerOf(child)->WindowState() << "/" << SkinnerOf(child)->SkinState();
    return ok;
  };
  ASSERT_TRUE(maximise());
  TSkinForm* s = f.Skinner();
  EXPECT_EQ(GetWindowRgn(c, rgn), ERROR) << "a maximised child has no region";
  EXPECT_EQ(childSkin->WindowState(), kWindowMaximized);
  // The three buttons in the bar, frame 1 of each one's strip.
  for (int k = 0; k < 3; ++k) {
    TSkinSysButton* b = MdiButton(s, 7 + k);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return b->Visible && !IsRectEmpty(&b->Rect); }, 2000)) << 7 + k;
    EXPECT_GE(b->Rect.top, s->FrameWidths().top) << "in the menu bar";
    EXPECT_TRUE(ShowsAt(h, (b->Rect.left + b->Rect.right) / 2, (b->Rect.top + b->Rect.bottom) / 2,
                        Element(cs::kMdiControls, 4 * k + 1), h)) << 7 + k;
  }
  RECT shot{};
  GetWindowRect(h, &shot);
  std::string shots = std::string(KARV_SKINS_DIR) + "/../screenshots";
  CreateDirectoryA(shots.c_str(), nullptr);
  EXPECT_TRUE(testing_support::SaveScreenRect(shot, shots + "/mdi-maximised-child.png"));

  auto press = [&](int action) {
    TSkinSysButton* b = MdiButton(s, action);
    Click(h, POINT{(b->Rect.left + b->Rect.right) / 2, (b->Rect.top + b->Rect.bottom) / 2});
  };
  press(7);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(c) != FALSE; }, 2000)) << "minimised";
  EXPECT_FALSE(SkinManager()->MaximisedChild());
  // Restored from the icon, it is maximised again, and the bar knows.
  SendMessageA(f.form->ClientHandle(), WM_MDIRESTORE, (WPARAM)c, 0);
  ASSERT_TRUE(PumpUntil([&] { return ChildMaximised(child); }, 3000));
  press(8);
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(c) && !IsIconic(c); }, 2000)) << "restored";
  EXPECT_FALSE(SkinManager()->MaximisedChild());
  EXPECT_TRUE(PumpUntil([&] { return GetWindowRgn(c, rgn) != ERROR; }, 2000)) << "its region is back";

  // Tiling and cascading clear the state.
  ASSERT_TRUE(maximise());
  f.form->Tile();
  EXPECT_FALSE(SkinManager()->MaximisedChild()) << "tile";
  PumpFor(100);
  ASSERT_TRUE(maximise());
  f.form->Cascade();
  EXPECT_FALSE(SkinManager()->MaximisedChild()) << "cascade";
  PumpFor(100);

  // Close: the last child goes, and MenuUpdate is put back.
  ASSERT_TRUE(maximise());
  child->OnClose = TCloseEvent([](TObject*, TCloseAction& a) { a = TCloseAction::caFree; });
  press(9);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(c); }, 3000)) << "closed";
  EXPECT_TRUE(Data().MenuUpdate());
  EXPECT_FALSE(SkinManager()->MaximisedChild());
  EXPECT_EQ(s->MenuBar()->Buttons().size(), 3u) << "the bar from the main menu again";
  DeleteObject(rgn);
}

TEST(SkinMDI, ANewSkinRedrawsTheFrameWithItsMaximisedChild) {
  Frame f;
  ASSERT_TRUE(f.WaitSkinned());
  TForm* child = f.Child("Report");
  ASSERT_TRUE(WaitSkinned(child));
  SendMessageA(child->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(PumpUntil([&] { return ChildMaximised(child); }, 3000));
  TSkinForm* s = f.Skinner();
  EXPECT_TRUE(skintest::ApplySkinFile(s, "builtin.skin"));
  EXPECT_TRUE(SkinManager()->MaximisedChild()) << "the child stays maximised through the refresh";
  TSkinSysButton* close = MdiButton(s, 9);
  ASSERT_NE(close, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return close->Visible && !IsRectEmpty(&close->Rect); }, 2000)) << "in the new bar";
  PumpFor(300);
  RECT shot{};
  GetWindowRect(f.Handle(), &shot);
  std::string shots = std::string(KARV_SKINS_DIR) + "/../screenshots";
  CreateDirectoryA(shots.c_str(), nullptr);
  EXPECT_TRUE(testing_support::SaveScreenRect(shot, shots + "/mdi-maximised-child-builtin.png"));
  EXPECT_TRUE(skintest::ApplySkinFile(s, "coded.skin"));
}

namespace {
struct Snapshot {
  LONG_PTR frameStyle = 0, childStyle = 0;
  WNDPROC frameProc = nullptr, clientProc = nullptr, childProc = nullptr;
  HMENU menu = nullptr;
  int frameRegion = 0, childRegion = 0;
  RECT frameRect{}, childClient{};
  bool operator==(const Snapshot& o) const {
    return frameStyle == o.frameStyle && childStyle == o.childStyle && frameProc == o.frameProc &&
           clientProc == o.clientProc && childProc == o.childProc && menu == o.menu &&
           frameRegion == o.frameRegion && childRegion == o.childRegion && EqualRect(&frameRect, &o.frameRect) &&
           EqualRect(&childClient, &o.childClient);
  }
};

std::string Describe(const Snapshot& s) {
  char text[300];
  snprintf(text, sizeof text, "styles %llx/%llx region %d/%d frame (%ld,%ld,%ld,%ld) child client %ldx%ld",
           (unsigned long long)s.frameStyle, (unsigned long long)s.childStyle, s.frameRegion, s.childRegion,
           s.frameRect.left, s.frameRect.top, s.frameRect.right, s.frameRect.bottom, s.childClient.right,
           s.childClient.bottom);
  return text;
}

int RegionOf(HWND h) {
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  int kind = GetWindowRgn(h, r);
  DeleteObject(r);
  return kind;
}

Snapshot SnapshotOf(Frame& f, TForm* child) {
  Snapshot s;
  HWND h = f.Handle(), c = child->Handle();
  s.frameStyle = GetWindowLongPtrA(h, GWL_STYLE);
  s.childStyle = GetWindowLongPtrA(c, GWL_STYLE);
  s.frameProc = (WNDPROC)GetWindowLongPtrA(h, GWLP_WNDPROC);
  s.clientProc = (WNDPROC)GetWindowLongPtrA(f.form->ClientHandle(), GWLP_WNDPROC);
  s.childProc = (WNDPROC)GetWindowLongPtrA(c, GWLP_WNDPROC);
  s.menu = GetMenu(h);
  s.frameRegion = RegionOf(h);
  s.childRegion = RegionOf(c);
  GetWindowRect(h, &s.frameRect);
  GetClientRect(c, &s.childClient);
  return s;
}

}  // namespace

TEST(SkinMDI, OffAndOnRestoresTheFrameAndItsChildExactlyAndLeaksNothing) {
  Frame f;
  ASSERT_TRUE(f.WaitSkinned());
  TForm* child = f.Child("Child");
  ASSERT_TRUE(WaitSkinned(child));
  auto off = [&] {
    Data().SetActive(false);
    return PumpUntil([&] { return !f.Skinner() && !SkinnerOf(child); }, 3000);
  };
  auto on = [&] {
    Data().SetActive(true);
    return PumpUntil([&] { return f.Skinner() && SkinnerOf(child) && f.Skinner()->SkinState() == kFormRunning &&
                                  SkinnerOf(child)->SkinState() == kFormRunning; }, 3000);
  };
  ASSERT_TRUE(off());
  Snapshot plain = SnapshotOf(f, child);
  EXPECT_EQ(plain.menu, f.menu->Handle()) << "the window has its menu back";
  EXPECT_EQ(plain.frameRegion, ERROR);
  EXPECT_EQ(SendMessageA(f.form->ClientHandle(), SKIN_QUERY, 0, 0), 0);
  // One round first: shared painting bitmaps are made once.
  ASSERT_TRUE(on());
  ASSERT_TRUE(off());
  ASSERT_TRUE(on());
  // What the skinners made for themselves goes with them: their system menus and fonts.
  HMENU frameMenu = f.Skinner()->SkinnedSystemMenu(), childMenu = SkinnerOf(child)->SkinnedSystemMenu();
  HFONT frameFont = f.Skinner()->CaptionFont(), childFont = SkinnerOf(child)->CaptionFont();
  ASSERT_TRUE(IsMenu(frameMenu) && IsMenu(childMenu));
  ASSERT_EQ(GetObjectType(frameFont), (DWORD)OBJ_FONT);
  ASSERT_EQ(GetObjectType(childFont), (DWORD)OBJ_FONT);
  Snapshot skinned = SnapshotOf(f, child);
  EXPECT_FALSE(skinned == plain);
  EXPECT_NE(skinned.clientProc, plain.clientProc) << "the MDI client's procedure is the skin's";
  ASSERT_TRUE(off());
  Snapshot again = SnapshotOf(f, child);
  EXPECT_TRUE(again == plain) << Describe(again) << " against " << Describe(plain);
  EXPECT_EQ(again.clientProc, plain.clientProc);
  EXPECT_EQ(again.childStyle, plain.childStyle);
  EXPECT_EQ(again.menu, plain.menu);
  EXPECT_FALSE(IsMenu(frameMenu));
  EXPECT_FALSE(IsMenu(childMenu));
  EXPECT_EQ(GetObjectType(frameFont), 0u);
  EXPECT_EQ(GetObjectType(childFont), 0u);
  EXPECT_TRUE(IsMenu(plain.menu) && GetMenuItemCount(plain.menu) == 3) << "the main menu's own handle, whole";
  ASSERT_TRUE(on());
}

TEST(SkinMDI, Mend_AnMDIFrameFreedWithItsChildrenPutsMenuUpdateBackAndClearsTheMaximisedState) {
  {
    Frame f;
    ASSERT_TRUE(f.WaitSkinned());
    TForm* child = f.Child("Child");
    ASSERT_TRUE(WaitSkinned(child));
    EXPECT_FALSE(Data().MenuUpdate());
    SendMessageA(child->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(PumpUntil([&] { return ChildMaximised(child); }, 3000));
  }
  EXPECT_TRUE(Data().MenuUpdate()) << "other forms' bars must still follow their menus";
  EXPECT_FALSE(SkinManager()->MaximisedChild()) << "the next frame's children get their skinned frames";
}

TEST(SkinMDI, AMainMenuChangedAtRunTimeRebuildsTheBar) {
  Data();
  TOwned<TForm> form(new TForm(nullptr));
  form->SetCaption("Menu changes");
  form->SetBounds(60, 60, 400, 260);
  auto* menu = New<TMainMenu>(form.get());
  auto* action = New<TAction>(form.get());
  action->SetCaption("&Edit");
  TMenuItem* file = Item(form.get(), menu->Items(), "&File");
  Item(form.get(), file, "&Open");
  TMenuItem* edit = Item(form.get(), menu->Items(), "E");
  edit->SetAction(action);
  form->SetMenu(menu);
  form->Show();
  HWND h = form->Handle();
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_TRUE(WaitSkinned(form.get()));
  TSkinForm* s = SkinnerOf(form.get());
  ASSERT_NE(s->MenuBar(), nullptr);
  ASSERT_EQ(s->MenuBar()->Buttons().size(), 2u);
  EXPECT_EQ(s->MenuBar()->Buttons()[1]->Caption, "&Edit") << "the action's caption";

  action->SetCaption("&Change");
  EXPECT_EQ(s->MenuBar()->Buttons()[1]->Caption, "&Change");
  Item(form.get(), menu->Items(), "&Help");
  ASSERT_EQ(s->MenuBar()->Buttons().size(), 3u);
  EXPECT_EQ(s->MenuBar()->Buttons()[2]->Caption, "&Help");
  EXPECT_EQ(GetMenu(h), nullptr) << "the window menu is taken off again";

  // Merged menus: the bar reads the window menu; text-less items by position.
  Data().SetOptions(1u << xoMenuMerge);
  edit->SetCaption("E&dit");
  EXPECT_EQ(s->MenuBar()->Menu(), menu->Handle());
  EXPECT_EQ(s->MenuBar()->Buttons()[1]->Caption, "E&dit");
  EXPECT_EQ(s->MenuBar()->Buttons()[1]->Item, edit);
  Data().SetOptions(0);

  // With the non-client switch off a frame repaint is answered without painting.
  int top = s->FrameWidths().top;
  EXPECT_TRUE(ShowsAt(h, 160, 2, Element(cs::kTop, 1), h));
  auto blacken = [&] {
    HDC dc = GetWindowDC(h);
    RECT r{100, 0, 220, top};
    FillRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
    ReleaseDC(h, dc);
  };
  PumpFor(300);
  Data().SetNCPaintSwitch(false);
  blacken();
  SendMessageA(h, WM_NCPAINT, 1, 0);
  EXPECT_TRUE(ShowsAt(h, 160, 2, [](uint32_t rgb) { return rgb == 0; }, nullptr)) << "not painted";
  Data().SetNCPaintSwitch(true);
  SendMessageA(h, WM_NCPAINT, 1, 0);
  EXPECT_TRUE(ShowsAt(h, 160, 2, Element(cs::kTop, 1), h)) << "painted";
}

TEST(SkinMDI, Mend_AMenuTheBarTookOffIsFreedWithItsWindowOrWhenReplaced) {
  Data();
  auto make = [] {
    HMENU bar = CreateMenu(), file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 101, "&Open");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
    return bar;
  };
  HMENU first = make();
  HWND h = CreateWindowExA(0, "#32770", "Menu leak", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                           first, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  SetForegroundWindow(h);
  TSkinForm* s = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (s = SkinManager()->FindFormSkinner(h)) && s->SkinState() == kFormRunning; }));
  ASSERT_EQ(GetMenu(h), nullptr);
  // A new menu replaces the one the bar took off: that one is freed.
  HMENU second = make();
  SetMenu(h, second);
  SendMessageA(h, CM_MENUCHANGED, 0, 0);
  EXPECT_FALSE(IsMenu(first));
  EXPECT_EQ(s->WindowMenuHandle(), second);
  EXPECT_EQ(GetMenu(h), nullptr);
  // Destroyed while skinned: the menu goes with the window, as it would unskinned.
  DestroyWindow(h);
  EXPECT_FALSE(IsMenu(second));
}

TEST(SkinMDI, TheMenuHookKeys) {
  const std::vector<bool> all{true, true, true}, middleHidden{true, false, true}, one{true};
  struct Case {
    const char* name;
    TMenuKeyState s;
    WPARAM key;
    const std::vector<bool>& visible;
    WPARAM wantKey;
    int wantCandidate;
    bool wantEnd;
  } cases[] = {
      {"right on a plain item: the next", {0, true, false, true, false}, VK_RIGHT, all, VK_RIGHT, 1, false},
      {"right on the last: wraps to the first", {2, true, false, true, false}, VK_RIGHT, all, VK_RIGHT, 0, false},
      {"right on an item with a sub-menu: the system's", {0, true, true, true, false}, VK_RIGHT, all, VK_RIGHT, -1, false},
      {"left with nothing selected: the previous", {1, false, false, false, false}, VK_LEFT, all, VK_LEFT, 0, false},
      {"left on the first: wraps to the last", {0, false, false, false, false}, VK_LEFT, all, VK_LEFT, 2, false},
      {"left in the tracked menu: the previous", {2, true, false, true, false}, VK_LEFT, all, VK_LEFT, 1, false},
      {"left in a deeper sub-menu: the system's", {2, true, false, false, false}, VK_LEFT, all, VK_LEFT, -1, false},
      {"hidden buttons are passed over", {0, true, false, true, false}, VK_RIGHT, middleHidden, VK_RIGHT, 2, false},
      {"right-to-left: right means left", {1, true, false, true, true}, VK_RIGHT, all, VK_LEFT, 0, false},
      {"right-to-left: left means right", {1, true, false, true, true}, VK_LEFT, all, VK_RIGHT, 2, false},
      {"return ends switching", {0, true, false, true, false}, VK_RETURN, all, VK_RETURN, -1, true},
      {"escape ends switching", {0, true, false, true, false}, VK_ESCAPE, all, VK_ESCAPE, -1, true},
      {"other keys: nothing", {0, true, false, true, false}, VK_DOWN, all, VK_DOWN, -1, false},
      {"a lone button: no candidate", {0, false, false, false, false}, VK_RIGHT, one, VK_RIGHT, -1, false},
  };
  for (const Case& c : cases) {
    TMenuKeyResult r = MenuKeyDecision(c.s, c.key, c.visible);
    EXPECT_EQ(r.key, c.wantKey) << c.name;
    EXPECT_EQ(r.candidate, c.wantCandidate) << c.name;
    EXPECT_EQ(r.endSwitching, c.wantEnd) << c.name;
  }
}
