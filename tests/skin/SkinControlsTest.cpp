// The skinned controls on real windows with the coded skin: each element frame and part has
// its own colour, so one pixel read from the screen tells which frame a control shows.
// Hover and presses come from real mouse input.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GlyphCheckBox.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Memo.h"
#include "platform/forms/Properties.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Tabs.h"
#include "skin/SkinBoxes.h"
#include "skin/SkinButtons.h"
#include "skin/SkinChecks.h"
#include "skin/SkinCommonCtrls.h"
#include "skin/SkinData.h"
#include "skin/SkinEdits.h"
#include "skin/SkinForm.h"
#include "skin/SkinScrollbars.h"
#include "skin/SkinTabs.h"
#include "tests/skin/SkinFixtures.h"
#include "tests/support/ScreenShot.h"
#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"
#include "tools/skinpack/CodedColours.h"

using codedskin::Colour;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

// A track bar of the class library's kind: the system control with its notifications
// reflected to it.
class TTrackBar : public TWinControl {
  KARV_CLASS(TTrackBar, TWinControl)
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.ClassName = TRACKBAR_CLASSA;
    p.Style |= TBS_AUTOTICKS | TBS_HORZ;
  }
};

std::string Property(const std::string& packed) {
  const uint32_t n = (uint32_t)packed.size();
  return std::string(reinterpret_cast<const char*>(&n), 4) + packed;
}

// 0x00RRGGBB of a screen pixel at window coordinates of `h`.
uint32_t ScreenRgb(HWND h, int x, int y) {
  RECT w{};
  GetWindowRect(h, &w);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, w.left + x, w.top + y);
  ReleaseDC(nullptr, screen);
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// Real pointer input at a screen point: every event carries its position, so a press lands
// where the pointer was put whatever the display has processed so far.
void SendMouseAt(POINT p, std::initializer_list<DWORD> flags) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  for (DWORD f : flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (p.x * 65536 + w / 2) / w;
    in.mi.dy = (p.y * 65536 + h / 2) / h;
    in.mi.dwFlags = f | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
  }
}

POINT g_pointer{};  // where the test put the pointer last
void SendMouse(std::initializer_list<DWORD> flags) { SendMouseAt(g_pointer, flags); }

// The last pointer move this thread took from its queue: which window, and where.
struct MoveSeen {
  HWND window = nullptr;
  POINT at{};
};
MoveSeen g_move;
LRESULT CALLBACK NoteMove(int code, WPARAM remove, LPARAM lp) {
  const auto* m = reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && remove == PM_REMOVE && (m->message == WM_MOUSEMOVE || m->message == WM_NCMOUSEMOVE))
    g_move = MoveSeen{m->hwnd, m->pt};
  return CallNextHookEx(nullptr, code, remove, lp);
}

// Moves the real pointer to window coordinates of `h` and waits until the window under it has
// been told. Under Wine a move now and then reaches the cursor position but brings no message
// to any window (seen on a loaded machine, one run in a few); as a person would, the pointer is
// then moved a pixel aside and back until a move arrives.
void MouseTo(HWND h, int x, int y) {
  RECT w{};
  GetWindowRect(h, &w);
  g_pointer = POINT{w.left + x, w.top + y};
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, NoteMove, nullptr, GetCurrentThreadId());
  auto arrived = [] {
    return g_move.window == WindowFromPoint(g_pointer) && g_move.at.x == g_pointer.x && g_move.at.y == g_pointer.y;
  };
  g_move = MoveSeen{};
  for (int attempt = 0; attempt < 20 && !arrived(); ++attempt) {
    if (attempt > 0) SendMouseAt(POINT{g_pointer.x + 1, g_pointer.y}, {0});
    SendMouseAt(g_pointer, {0});
    PumpUntil(arrived, 250);
  }
  if (hook) UnhookWindowsHookEx(hook);
  PumpFor(120);
}

// 0x00RRGGBB of a screen pixel at client coordinates of `h`.
uint32_t ClientRgb(HWND h, int x, int y) {
  POINT p{x, y};
  ClientToScreen(h, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// Window coordinates of a client point of `h`.
POINT WindowPoint(HWND h, int x, int y) {
  POINT p{x, y};
  ClientToScreen(h, &p);
  RECT w{};
  GetWindowRect(h, &w);
  return POINT{p.x - w.left, p.y - w.top};
}

// A system tab control at (20, 20), 200 x 120, with the tabs "One" and "Two", the first selected.
HWND TabControl(HWND parent, DWORD style) {
  HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 20, 20, 200, 120,
                             parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  for (const char* t : {"One", "Two"}) {
    TCITEMA item{TCIF_TEXT};
    item.pszText = const_cast<char*>(t);
    SendMessageA(tab, TCM_INSERTITEMA, 9, (LPARAM)&item);
  }
  SendMessageA(tab, TCM_SETCURSEL, 0, 0);
  return tab;
}

uint32_t Rgb(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

// A frame of the coded skin as `element`'s centre colour.
uint32_t Centre(int element, int frame) { return Colour(element, frame, 4); }

struct SkinnedForm : testing::Test {
  void SetUp() override {
    testing_support::TestApplication();
    form.reset(new TForm(nullptr));
    form->SetBounds(60, 60, 520, 380);
    form->SetCaption("Skinned controls");
    data = New<TSkinData>(form.get());
    ASSERT_TRUE(data->ReadSkinPack(Property(skintest::BuildSkin("coded.skin"))));
    skinner = New<TSkinForm>(form.get());
    skinner->SetSkinData(data);
    skinner->SetWindow(form->Handle());
    form->Show();
    SetForegroundWindow(form->Handle());
    MouseTo(form->Handle(), 2, 2);  // away from every control
  }
  void TearDown() override { form.reset(); }

  template <class C>
  C* Make(int x, int y, int w, int h, const std::string& caption = "") {
    auto* c = New<C>(form.get());
    c->SetParent(form.get());
    c->SetBounds(x, y, w, h);
    if (!caption.empty()) c->SetCaption(caption);
    c->Handle();
    return c;
  }
  template <class S>
  S* Skin(TControl* c, bool recolour = false) {
    auto* s = New<S>(c);
    s->Attach(skinner, data, recolour, &skinner->ControlCanvas());
    return s;
  }
  template <class S>
  S* SkinHandle(TWinControl* c) {
    auto* s = New<S>(c);
    s->AttachHandle(c->Handle(), data, skinner, &skinner->ControlCanvas());
    return s;
  }
  // Repaints a window now and lets the screen settle.
  static void Settle(HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(60);
    GdiFlush();
  }

  TOwned<TForm> form;
  TSkinData* data = nullptr;
  TSkinForm* skinner = nullptr;
};

}  // namespace

TEST_F(SkinnedForm, PushButtonFramesForEachState) {
  auto* other = Make<TEdit>(20, 200, 100, 22);
  auto* b = Make<TButton>(20, 20, 90, 26, "OK");
  int clicks = 0;
  b->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  Skin<TSkinButton>(b);
  HWND h = b->Handle();
  auto frame = [&] {
    Settle(h);
    return ScreenRgb(h, 4, 13);
  };
  // Mouse input arrives through the display: wait for the look it causes.
  auto becomes = [&](int f) { return PumpUntil([&] { return frame() == Centre(codedskin::kButton, f); }, 2000); };
  other->SetFocus();
  EXPECT_EQ(frame(), Centre(codedskin::kButton, 1)) << "normal";
  b->SetFocus();
  EXPECT_EQ(frame(), Centre(codedskin::kButton, 4)) << "focused";
  SendMessageA(h, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(frame(), Centre(codedskin::kButton, 5)) << "default and focused";
  other->SetFocus();
  EXPECT_EQ(frame(), Centre(codedskin::kButton, 5)) << "default";
  MouseTo(h, 30, 13);
  EXPECT_TRUE(becomes(4)) << "hover, from the real pointer";
  SendMouse({MOUSEEVENTF_LEFTDOWN});
  EXPECT_TRUE(becomes(2)) << "pressed";
  SendMouse({MOUSEEVENTF_LEFTUP});
  EXPECT_TRUE(becomes(4));
  EXPECT_EQ(clicks, 1) << "the release clicks once";
  MouseTo(form->Handle(), 2, 2);
  EXPECT_TRUE(becomes(5)) << "the pointer left";
  MouseTo(h, 30, 13);
  EXPECT_TRUE(becomes(4));
  b->SetEnabled(false);
  EXPECT_EQ(frame(), Centre(codedskin::kButton, 3)) << "disabled wins over hover";
}

TEST_F(SkinnedForm, SpaceKeyPressesAndBareButtonsClickThroughTheirParent) {
  auto* b = Make<TButton>(20, 20, 90, 26, "Space");
  int clicks = 0;
  b->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  Skin<TSkinButton>(b);
  b->SetFocus();
  HWND h = b->Handle();
  SendMessageA(h, WM_KEYDOWN, VK_SPACE, 0);
  Settle(h);
  EXPECT_EQ(ScreenRgb(h, 4, 13), Centre(codedskin::kButton, 2));
  SendMessageA(h, WM_KEYUP, VK_SPACE, 0);
  Settle(h);
  EXPECT_EQ(ScreenRgb(h, 4, 13), Centre(codedskin::kButton, 4));
  EXPECT_EQ(clicks, 1) << "the click comes from the button's own key handling";

  // A bare system button (a dialog's) posts WM_COMMAND to its parent on release.
  auto* host = Make<TPanel>(150, 20, 200, 60);
  HWND bare = CreateWindowExA(0, "BUTTON", "Bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 26,
                              host->Handle(), (HMENU)77, GetModuleHandleA(nullptr), nullptr);
  auto* s = New<TSkinButton>(skinner);
  s->AttachHandle(bare, data, skinner, &skinner->ControlCanvas());
  Settle(bare);
  EXPECT_EQ(ScreenRgb(bare, 4, 13), Centre(codedskin::kButton, 1));
  int commands = 0;
  host->WindowProc = TWndMethod([&, old = host->WindowProc](TMessage& m) mutable {
    if (m.Msg == WM_COMMAND && LOWORD(m.WParam) == 77) ++commands;
    old(m);
  });
  MouseTo(bare, 30, 13);
  SendMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
  EXPECT_TRUE(PumpUntil([&] { return commands == 1; }, 2000));
}

TEST_F(SkinnedForm, BitmapButtonDrawsItsGlyphGreyWhenDisabled) {
  auto* b = Make<TBitBtn>(20, 20, 120, 30, "Glyph");
  // Our bitmap button holds one glyph (pure red, a green dot in its corner).
  ASSERT_TRUE(b->Glyph().LoadFromBytes(skintest::Bmp(16, 16, [](int x, int y) { return x + y ? 0xFF0000u : 0x00FF00u; })));
  auto* s = Skin<TSkinBitButton>(b);
  (void)s;
  HWND h = b->Handle();
  Settle(h);
  auto findGlyph = [&](uint32_t rgb) {
    for (int x = 0; x < 120; ++x)
      for (int y = 0; y < 30; ++y)
        if (ScreenRgb(h, x, y) == rgb) return true;
    return false;
  };
  EXPECT_TRUE(findGlyph(0xFF0000));
  EXPECT_EQ(ScreenRgb(h, 4, 15), Centre(codedskin::kButton, 1));
  b->SetEnabled(false);
  Settle(h);
  EXPECT_TRUE(findGlyph(0x555555)) << "grey: the average of red, green and blue";
  EXPECT_FALSE(findGlyph(0xFF0000));
  EXPECT_EQ(ScreenRgb(h, 4, 15), Centre(codedskin::kButton, 3));
}

TEST_F(SkinnedForm, CheckBoxAndRadioGlyphs) {
  auto* check = Make<TCheckBox>(20, 20, 140, 21, "Check");
  auto* radio = Make<TRadioButton>(20, 60, 140, 21, "Radio");
  Skin<TSkinCheckBox>(check);
  Skin<TSkinRadioButton>(radio);
  // The glyph (13 x 13, no margins) sits at x 1..13 of a left box, centred vertically.
  auto glyph = [&](TWinControl* c, int x = 7) {
    Settle(c->Handle());
    return ScreenRgb(c->Handle(), x, 10);
  };
  EXPECT_EQ(glyph(check), Centre(codedskin::kCheck, 1));
  check->SetChecked(true);
  EXPECT_EQ(glyph(check), Centre(codedskin::kCheck, 2));
  check->SetEnabled(false);
  EXPECT_EQ(glyph(check), Centre(codedskin::kCheck, 4)) << "checked and disabled";
  check->SetEnabled(true);
  SendMessageA(check->Handle(), BM_SETSTYLE, BS_AUTO3STATE, TRUE);
  SendMessageA(check->Handle(), BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(glyph(check), Centre(codedskin::kCheck, 4)) << "grayed";

  EXPECT_EQ(glyph(radio), Centre(codedskin::kRadio, 1));
  radio->SetChecked(true);
  EXPECT_EQ(glyph(radio), Centre(codedskin::kRadio, 2));
  SetWindowLongA(radio->Handle(), GWL_STYLE, GetWindowLongA(radio->Handle(), GWL_STYLE) | BS_LEFTTEXT);
  EXPECT_EQ(glyph(radio, 140 - 7), Centre(codedskin::kRadio, 2)) << "box on the right: inside the right 18 pixels";
}

TEST_F(SkinnedForm, ComboBoxFrameButtonAndSides) {
  auto* other = Make<TEdit>(20, 200, 100, 22);
  auto* combo = Make<TComboBox>(20, 20, 160, 24);
  combo->Items().Add("one");
  Skin<TSkinComBox>(combo);
  HWND h = combo->Handle();
  RECT w{};
  GetWindowRect(h, &w);
  const int width = w.right - w.left, bw = GetSystemMetrics(SM_CXVSCROLL);
  auto at = [&](int x, int y) {
    Settle(h);
    return ScreenRgb(h, x, y);
  };
  other->SetFocus();
  EXPECT_EQ(at(width - 3, 1), Centre(codedskin::kComboButton, 1)) << "button on the right";
  EXPECT_EQ(codedskin::Decode(at(0, 10)).element, codedskin::kSunkEdge) << "the sunken edge frames it";
  combo->SetFocus();
  EXPECT_EQ(at(width - 3, 1), Centre(codedskin::kComboButton, 4)) << "focused";
  other->SetFocus();
  combo->SetEnabled(false);
  EXPECT_EQ(at(width - 3, 1), Centre(codedskin::kComboButton, 3)) << "disabled";
  combo->SetEnabled(true);
  SetWindowLongA(h, GWL_EXSTYLE, GetWindowLongA(h, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  EXPECT_EQ(codedskin::Decode(at(2, 1)).element, codedskin::kComboButton) << "button on the left";
  EXPECT_EQ(codedskin::Decode(at(bw + 2, 1)).element, codedskin::kSunkEdge);

  // A simple combo box has no drop-down button: no skin frame.
  HWND simple = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_SIMPLE, 220, 20, 120, 90,
                                form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  auto* s = New<TSkinComBox>(skinner);
  s->AttachHandle(simple, data, skinner, &skinner->ControlCanvas());
  Settle(simple);
  EXPECT_NE(codedskin::Decode(ScreenRgb(simple, 1, 1)).element, codedskin::kSunkEdge);
}

TEST_F(SkinnedForm, EditBorderIsFlat) {
  auto* framed = Make<TEdit>(20, 20, 120, 24);
  Skin<TSkinEdit>(framed);
  HWND h = framed->Handle();
  SendMessageA(h, WM_PAINT, 0, 0);
  Settle(h);
  const uint32_t shadow = ColorToRGB(data->Model().ButtonShadow);
  const uint32_t shadowRgb = (shadow & 0xFF) << 16 | (shadow & 0xFF00) | (shadow >> 16 & 0xFF);
  EXPECT_EQ(ScreenRgb(h, 0, 12), shadowRgb);
  EXPECT_EQ(ScreenRgb(h, 1, 12), 0xFFFFFFu);
  // An edit with an up-down child gets skinned spin buttons 1 pixel inside.
  HWND spin = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 100, 0, 16, 20, h, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  InvalidateRect(h, nullptr, TRUE);
  Settle(h);
  EXPECT_EQ(ScreenRgb(spin, 2, 2), Centre(codedskin::kUpDownVert, 1));
}

TEST_F(SkinnedForm, ProgressBarFillFollowsTheRange) {
  auto* p = Make<TProgressBar>(20, 20, 200, 20);
  Skin<TSkinProgress>(p);
  HWND h = p->Handle();
  auto end = [&] {
    Settle(h);
    return ScreenRgb(h, 190, 10);
  };
  EXPECT_EQ(end(), Centre(codedskin::kProgress, 1)) << "position 0: the empty bar";
  p->SetPosition(100);
  EXPECT_EQ(end(), Centre(codedskin::kProgress, 2)) << "at the maximum the fill covers the width";
  p->SetMin(100);
  p->SetMax(200);
  p->SetPosition(150);
  Settle(h);
  EXPECT_EQ(ScreenRgb(h, 90, 10), Centre(codedskin::kProgress, 2));
  EXPECT_EQ(ScreenRgb(h, 110, 10), Centre(codedskin::kProgress, 1)) << "half of a range that starts at 100";
  p->SetMin(0);
  p->SetMax(0);
  EXPECT_EQ(end(), Centre(codedskin::kProgress, 1)) << "maximum 0";
}

TEST_F(SkinnedForm, ScrollBarsReallyScrollTheirControl) {
  auto* list = Make<TListBox>(20, 20, 160, 150);
  auto* bars = New<TSkinScrollbar>(list);
  bars->AttachScrollbars(list, data, skinner);
  HWND h = list->Handle();
  EXPECT_FALSE(bars->VertBar()->BarVisible()) << "no bar yet, no overlay";
  for (int i = 0; i < 100; ++i) list->Items().Add("Item " + std::to_string(i));
  Settle(h);
  ASSERT_TRUE(bars->VertBar()->BarVisible()) << "the next non-client paint shows it";
  HWND overlay = bars->VertBar()->HandleIfAllocated();
  RECT o{};
  GetWindowRect(overlay, &o);
  Settle(overlay);
  const int ow = o.right - o.left, oh = o.bottom - o.top;
  EXPECT_EQ(ScreenRgb(overlay, ow / 2, 3), Centre(codedskin::kScrollbar, 9)) << "up arrow";
  EXPECT_EQ(ScreenRgb(overlay, ow / 2, oh - 3), Centre(codedskin::kScrollbar, 13)) << "down arrow";

  auto press = [&](int y) {
    MouseTo(overlay, ow / 2, y);
    SendMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    PumpFor(250);
  };
  const int before = GetScrollPos(h, SB_VERT);
  press(oh - 5);
  const int afterArrow = GetScrollPos(h, SB_VERT);
  EXPECT_GT(afterArrow, before) << "the down arrow scrolls";
  press(oh - 40);
  const int afterPage = GetScrollPos(h, SB_VERT);
  EXPECT_GT(afterPage, afterArrow + 1) << "the page area pages";

  // The form moves; a press still reaches the bar where it now is.
  form->SetBounds(140, 90, 520, 380);
  PumpFor(100);
  Settle(h);
  GetWindowRect(overlay, &o);
  press(oh - 5);
  EXPECT_GT(GetScrollPos(h, SB_VERT), afterPage) << "after the form moved";

  // Dragging the thumb to the top.
  SCROLLBARINFO info{sizeof info};
  ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, &info));
  const int thumbMid = (info.xyThumbTop + info.xyThumbBottom) / 2;
  MouseTo(overlay, ow / 2, thumbMid);
  RECT now{};
  GetWindowRect(overlay, &now);
  SendMouse({MOUSEEVENTF_LEFTDOWN});
  SendMouseAt(POINT{now.left + ow / 2, now.top + 20}, {0, MOUSEEVENTF_LEFTUP});
  PumpFor(300);
  EXPECT_LT(GetScrollPos(h, SB_VERT), afterPage) << "the thumb drags";
}

TEST_F(SkinnedForm, BothBarsFillTheCornerAndListViewsGetTheirHeader) {
  auto* memo = Make<TMemo>(20, 20, 160, 120);
  memo->SetScrollBars(TScrollStyle::ssBoth);
  memo->DestroyHandle();
  memo->Handle();
  std::string lines;
  for (int i = 0; i < 60; ++i) lines += "A rather long line of text that does not fit " + std::to_string(i) + "\r\n";
  memo->SetCaption(lines);
  auto* bars = New<TSkinScrollbar>(memo);
  bars->AttachScrollbars(memo, data, skinner);
  Settle(memo->Handle());
  ASSERT_TRUE(bars->VertBar()->BarVisible());
  ASSERT_TRUE(bars->HorzBar()->BarVisible());
  RECT v{}, hz{}, m{};
  GetWindowRect(bars->VertBar()->HandleIfAllocated(), &v);
  GetWindowRect(bars->HorzBar()->HandleIfAllocated(), &hz);
  GetWindowRect(memo->Handle(), &m);
  const uint32_t face = ScreenRgb(memo->Handle(), (v.left + v.right) / 2 - m.left, (hz.top + hz.bottom) / 2 - m.top);
  const COLORREF f = ColorToRGB(data->Model().ButtonFace);
  EXPECT_EQ(face, (f & 0xFF) << 16 | (f & 0xFF00) | (f >> 16 & 0xFF));

  auto* view = Make<TListView>(200, 20, 200, 120);
  view->SetViewStyle(TViewStyle::vsReport);
  view->AddColumn("Name", 80);
  view->AddColumn("Value", 80);
  auto* lv = New<TSkinListView>(view);
  lv->AttachScrollbars(view, data, skinner);
  ASSERT_NE(lv->Header(), nullptr);
  HWND header = (HWND)SendMessageA(view->Handle(), LVM_GETHEADER, 0, 0);
  Settle(view->Handle());
  EXPECT_EQ(ScreenRgb(header, 40, 0), Colour(codedskin::kHeader, 1, 1)) << "top edge of the first item";
  EXPECT_EQ(ScreenRgb(header, 190, 10), Centre(codedskin::kHeader, 1)) << "right of the last item";
}

// A rich edit on a hidden panel gets its window when the panel is shown; the skin passes it
// by until then and gives it its bars once the window is made.
TEST_F(SkinnedForm, ARichEditShownLaterGetsItsSkinnedBarsWhenItsWindowIsMade) {
  auto* panel = Make<TPanel>(20, 20, 200, 150);
  panel->Hide();
  auto* rich = New<TRichEdit>(form.get());
  rich->SetParent(panel);
  rich->SetBounds(5, 5, 180, 130);
  rich->SetScrollBars(TScrollStyle::ssVertical);
  std::string lines;
  for (int i = 0; i < 60; ++i) lines += "line " + std::to_string(i) + "\r\n";
  rich->SetCaption(lines);
  auto* s = New<TSkinForm>(form.get());
  s->SetWindow(form->Handle());
  s->InstallOnForm(data, form.get());
  s->Finish();  // the walk over the controls
  EXPECT_FALSE(rich->HandleAllocated());
  TSkinScrollbar* bars = nullptr;
  auto findBars = [&] {
    for (TSkinControl* o : s->SkinObjects())
      if (o->SkinnedControl() == rich) bars = dynamic_cast<TSkinScrollbar*>(o);
    return bars != nullptr;
  };
  EXPECT_FALSE(findBars());
  panel->Show();
  ASSERT_TRUE(rich->HandleAllocated());
  EXPECT_EQ(rich->Caption(), lines) << "the text given before the window";
  ASSERT_TRUE(PumpUntil(findBars, 2000));
  Settle(rich->Handle());
  EXPECT_TRUE(bars->VertBar()->BarVisible());
  EXPECT_EQ(bars->VertBar()->Target(), rich->HandleIfAllocated());
  TComponent::Free(s);
}

TEST_F(SkinnedForm, StatusBarPanelsGroupBoxFrameAndPanels) {
  auto* bar = Make<TStatusBar>(0, 300, 400, 22);
  bar->SetPanelWidths({120, 120, -1});
  bar->SetPanelText(0, "当前状态:与服务器连接成功");  // more bytes than characters
  auto* s = Skin<TSkinStatusBar>(bar);
  (void)s;
  HWND h = bar->Handle();
  Settle(h);
  EXPECT_EQ(ScreenRgb(h, 100, 11), Centre(codedskin::kStatusBar, 1)) << "a lowered panel";
  bar->SetSimplePanel(true);
  bar->SetSimpleText("Simple");
  Settle(h);
  EXPECT_EQ(ScreenRgb(h, 300, 11), Centre(codedskin::kStatusBar, 1)) << "simple mode: one lowered panel";

  auto* group = Make<TGroupBox>(20, 20, 200, 120, "Group");
  Skin<TSkinGroupBox>(group, true);
  Settle(group->Handle());
  const COLORREF shadow = ColorToRGB(data->Model().ButtonShadow), face = ColorToRGB(data->Model().ButtonFace);
  auto rgb = [](COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); };
  // Somewhere down the left side: the skin's line at x 1, face colour left and right of it.
  EXPECT_EQ(ScreenRgb(group->Handle(), 1, 60), rgb(shadow));
  EXPECT_EQ(ScreenRgb(group->Handle(), 0, 60), rgb(face));
  EXPECT_EQ(ScreenRgb(group->Handle(), 2, 60), rgb(face)) << "no stray line of the control's own frame";
  EXPECT_EQ(ScreenRgb(group->Handle(), 100, 118), rgb(shadow));
  EXPECT_EQ(ScreenRgb(group->Handle(), 100, 117), rgb(face));

  auto* panel = Make<TPanel>(240, 20, 100, 60);
  panel->SetColor(clRed);
  auto* box = Skin<TSkinBox>(panel, true);
  EXPECT_EQ(panel->Color(), data->Model().ButtonFace);
  TComponent::Free(box);
}

TEST_F(SkinnedForm, DialogInsideAFormIsErasedInTheFaceColourAndSaysSo) {
  HWND inner = CreateWindowExA(0, "#32770", "", WS_CHILD | WS_VISIBLE, 300, 200, 120, 80, form->Handle(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(inner, nullptr);
  auto* s = New<TSkinBoxH>(skinner);
  s->AttachHandle(inner, data, skinner, &skinner->ControlCanvas());
  HDC dc = GetDC(inner);
  EXPECT_EQ(SendMessageA(inner, WM_ERASEBKGND, (WPARAM)dc, 0), 1) << "the background was erased";
  ReleaseDC(inner, dc);
  Settle(inner);
  const COLORREF f = ColorToRGB(data->Model().ButtonFace);
  EXPECT_EQ(ScreenRgb(inner, 60, 40), (f & 0xFF) << 16 | (f & 0xFF00) | (f >> 16 & 0xFF));
}

TEST_F(SkinnedForm, TabsOnEachSide) {
  struct Side {
    DWORD style;
    int probeX, probeY;  // inside the selected first tab
  } sides[] = {{0, 20, 10}, {TCS_BOTTOM, 20, 110}, {TCS_VERTICAL | TCS_MULTILINE, 10, 20},
               {TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, 190, 20}};
  for (const Side& side : sides) {
    HWND tab = TabControl(form->Handle(), side.style);
    auto* s = New<TSkinTab>(skinner);
    s->AttachHandle(tab, data, skinner, &skinner->ControlCanvas());
    Settle(tab);
    EXPECT_EQ(s->TabPosition(), side.style == 0 ? 0 : side.style == TCS_BOTTOM ? 1 : (side.style & TCS_RIGHT) ? 3 : 2);
    RECT r{};
    SendMessageA(tab, TCM_GETITEMRECT, 0, (LPARAM)&r);
    // Near a corner of the tab, away from its text.
    const codedskin::Decoded first = codedskin::Decode(ScreenRgb(tab, r.left + 5, r.top + 5));
    EXPECT_EQ(first.element, codedskin::kTabs) << side.style;
    EXPECT_EQ(first.frame, 2) << "selected, style " << side.style;
    SendMessageA(tab, TCM_GETITEMRECT, 1, (LPARAM)&r);
    const codedskin::Decoded second = codedskin::Decode(ScreenRgb(tab, r.left + 5, r.top + 5));
    EXPECT_EQ(second.element, codedskin::kTabs) << side.style;
    EXPECT_EQ(second.frame, 1) << side.style;
    // The page is framed by the border image.
    RECT page{0, 0, 200, 120};
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, (LPARAM)&page);
    EXPECT_EQ(codedskin::Decode(ScreenRgb(tab, (page.left + page.right) / 2, page.bottom + 2)).element, codedskin::kTabBorder)
        << side.style;
    TComponent::Free(s);
    DestroyWindow(tab);
  }
}

TEST_F(SkinnedForm, TheFocusedTabShowsTheSelectedFrame) {
  // Button tabs let the focus rest on another tab than the selected one.
  HWND tab = TabControl(form->Handle(), TCS_BUTTONS);
  SendMessageA(tab, TCM_SETCURFOCUS, 1, 0);
  ASSERT_EQ(SendMessageA(tab, TCM_GETCURFOCUS, 0, 0), 1);
  ASSERT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
  auto* s = New<TSkinTab>(skinner);
  s->AttachHandle(tab, data, skinner, &skinner->ControlCanvas());
  Settle(tab);
  for (int i : {0, 1}) {
    RECT r{};
    SendMessageA(tab, TCM_GETITEMRECT, i, (LPARAM)&r);
    const codedskin::Decoded d = codedskin::Decode(ScreenRgb(tab, r.left + 5, r.top + 5));
    EXPECT_EQ(d.element, codedskin::kTabs) << i;
    EXPECT_EQ(d.frame, i == 1 ? 2 : 1) << i;
  }
  TComponent::Free(s);
  DestroyWindow(tab);
}

TEST_F(SkinnedForm, WithoutFrameSkinningTheUnskinRepaintsTheControls) {
  data->SetSkinControls(data->SkinControls() & ~SkinSet(skMainMenu));
  auto* b = Make<TButton>(20, 20, 90, 26, "Plain");
  auto* s = New<TSkinForm>(form.get());
  s->SetWindow(form->Handle());
  s->InstallOnForm(data, form.get());
  ASSERT_FALSE(s->FrameEnabled());
  s->Finish();
  HWND h = b->Handle();
  Settle(h);
  ASSERT_EQ(ScreenRgb(h, 4, 13), Centre(codedskin::kButton, 1));
  s->Uninstall();
  PumpFor(100);
  GdiFlush();
  EXPECT_NE(codedskin::Decode(ScreenRgb(h, 4, 13)).element, codedskin::kButton) << "the button's own look again";
  TComponent::Free(s);
}

TEST_F(SkinnedForm, TrackBarThumbAndUpDownHalves) {
  auto* track = Make<TTrackBar>(20, 20, 200, 32);
  Skin<TSkinTrackBar>(track);
  HWND h = track->Handle();
  Settle(h);
  RECT thumb{};
  SendMessageA(h, TBM_GETTHUMBRECT, 0, (LPARAM)&thumb);
  EXPECT_EQ(ScreenRgb(h, (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2),
            Centre(codedskin::kTrackHorz, 2));
  RECT channel{};
  SendMessageA(h, TBM_GETCHANNELRECT, 0, (LPARAM)&channel);
  EXPECT_NE(codedskin::Decode(ScreenRgb(h, channel.right - 5, (channel.top + channel.bottom) / 2)).element,
            codedskin::kTrackHorz)
      << "the channel stays the control's own";

  HWND updown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 260, 20, 18, 40, form->Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  auto* s = New<TSkinUpDown>(skinner);
  s->AttachHandle(updown, data, skinner, &skinner->ControlCanvas());
  Settle(updown);
  EXPECT_EQ(ScreenRgb(updown, 1, 1), Centre(codedskin::kUpDownVert, 1));
  EXPECT_EQ(ScreenRgb(updown, 1, 38), Centre(codedskin::kUpDownVert, 5));
  auto upIs = [&](int f) {
    return PumpUntil([&] { return ScreenRgb(updown, 1, 1) == Centre(codedskin::kUpDownVert, f); }, 2000);
  };
  MouseTo(updown, 9, 5);
  SendMouse({MOUSEEVENTF_LEFTDOWN});
  EXPECT_TRUE(upIs(2)) << "upper half pressed";
  EXPECT_EQ(ScreenRgb(updown, 1, 38), Centre(codedskin::kUpDownVert, 5)) << "lower half normal";
  SendMouse({MOUSEEVENTF_LEFTUP});
  EXPECT_TRUE(upIs(4)) << "hover after the release";
}

TEST_F(SkinnedForm, DetachingRestoresStylesPropertiesAndProcedures) {
  auto* b = Make<TButton>(20, 20, 80, 24, "B");
  auto* combo = Make<TComboBox>(20, 60, 120, 24);
  auto* edit = Make<TEdit>(20, 100, 120, 24);
  auto* list = Make<TListBox>(160, 20, 120, 80);
  auto* bar = Make<TStatusBar>(0, 300, 400, 22);
  auto* panel = Make<TPanel>(300, 100, 100, 60);
  panel->SetColor(clRed);
  HWND comboEdit = GetTopWindow(combo->Handle());
  struct Snapshot {
    LONG style, ex;
    LONG_PTR proc;
  };
  auto snap = [](HWND h) {
    return Snapshot{GetWindowLongA(h, GWL_STYLE), GetWindowLongA(h, GWL_EXSTYLE), GetWindowLongPtrA(h, GWLP_WNDPROC)};
  };
  const HWND windows[] = {b->Handle(), combo->Handle(), comboEdit, edit->Handle(), list->Handle(), bar->Handle()};
  std::vector<Snapshot> before;
  for (HWND h : windows) before.push_back(snap(h));
  const bool grip = GetOrdProp(bar, "SizeGrip") != 0;
  ASSERT_TRUE(grip);
  for (int round = 0; round < 2; ++round) {
    std::vector<TSkinControl*> skins = {Skin<TSkinButton>(b), Skin<TSkinComBox>(combo), SkinHandle<TSkinEdit>(edit),
                                        Skin<TSkinStatusBar>(bar), Skin<TSkinBox>(panel, true)};
    auto* lb = New<TSkinScrollbar>(list);
    lb->AttachScrollbars(list, data, skinner);
    skins.push_back(lb);
    Settle(form->Handle());
    EXPECT_FALSE(GetOrdProp(bar, "SizeGrip")) << "the skin draws its own grip";
    EXPECT_NE(GetWindowLongPtrA(comboEdit, GWLP_WNDPROC), before[2].proc);
    for (TSkinControl* s : skins) TComponent::Free(s);
    for (size_t i = 0; i < std::size(windows); ++i) {
      const Snapshot now = snap(windows[i]);
      EXPECT_EQ(now.style, before[i].style) << i;
      EXPECT_EQ(now.ex, before[i].ex) << i;
      EXPECT_EQ(now.proc, before[i].proc) << i;
    }
    EXPECT_TRUE(GetOrdProp(bar, "SizeGrip")) << "given back";
    EXPECT_EQ(panel->Color(), clRed);
    EXPECT_EQ(b->WindowProc.Owner(), b);
    EXPECT_TRUE(skinner->SkinObjects().empty());
  }
}

TEST_F(SkinnedForm, SpeedButtonFramesFlatDownAndRelease) {
  auto* b = New<TSpeedButton>(form.get());
  b->SetParent(form.get());
  b->SetBounds(20, 20, 90, 26);
  b->SetCaption("Speed");
  int clicks = 0;
  b->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  auto* s = New<TSkinSpeedButton>(b);
  s->AttachGraphic(b, data, skinner, &skinner->ControlCanvas());
  HWND h = form->Handle();
  auto frame = [&] {
    Settle(h);
    return ClientRgb(h, 24, 33);
  };
  auto becomes = [&](uint32_t want) { return PumpUntil([&] { return frame() == want; }, 2000); };
  EXPECT_EQ(frame(), Centre(codedskin::kButton, 1)) << "normal";
  b->SetFlat(true);
  EXPECT_EQ(frame(), Rgb(ColorToRGB(data->Model().ButtonFace))) << "a flat button shows no frame until hovered";
  const POINT over = WindowPoint(h, 60, 33);
  MouseTo(h, over.x, over.y);
  EXPECT_TRUE(becomes(Centre(codedskin::kButton, 4))) << "hover";
  SendMouse({MOUSEEVENTF_LEFTDOWN});
  EXPECT_TRUE(becomes(Centre(codedskin::kButton, 2))) << "pressed";
  SendMouse({MOUSEEVENTF_LEFTUP});
  EXPECT_TRUE(becomes(Centre(codedskin::kButton, 4)));
  EXPECT_EQ(clicks, 1) << "the button's own click logic still runs";
  MouseTo(h, 2, 2);
  EXPECT_TRUE(becomes(Rgb(ColorToRGB(data->Model().ButtonFace)))) << "flat again once the pointer left";
  b->SetFlat(false);
  b->SetGroupIndex(1);
  b->SetDown(true);
  EXPECT_EQ(frame(), Centre(codedskin::kButton, 2)) << "down";
  b->SetDown(false);
  b->SetEnabled(false);
  EXPECT_EQ(frame(), Centre(codedskin::kButton, 3)) << "disabled";

  b->Perform(CM_RELEASE);
  EXPECT_NE(b->WindowProc.Owner(), s) << "the control has its own WindowProc back";
  b->SetEnabled(true);
  EXPECT_NE(codedskin::Decode(frame()).element, codedskin::kButton) << "and paints itself";
}

TEST_F(SkinnedForm, SpeedButtonCaptionTakesOnlyTheColoursTheSkinSets) {
  // A skin whose Buttons section names no caption colours: the caption keeps the font's.
  auto* plain = New<TSkinData>(form.get());
  ASSERT_TRUE(plain->ReadSkinPack(Property(skintest::Pack(
      "[Buttons]\r\nBitmap=b.bmp\r\n", {{"b.bmp", skintest::Bmp(50, 20, 0x808080)}}))));
  auto* b = New<TSpeedButton>(form.get());
  b->SetParent(form.get());
  b->SetBounds(20, 20, 120, 30);
  b->SetCaption("WWWW");
  b->Font().SetColor(clRed);
  ASSERT_TRUE(b->Glyph().LoadFromBytes(skintest::Bmp(16, 16, [](int x, int y) { return x == 0 && y == 15 ? 0xFF00FFu : 0x0000FFu; })));
  auto* s = New<TSkinSpeedButton>(b);
  s->AttachGraphic(b, plain, skinner, &skinner->ControlCanvas());
  Settle(form->Handle());
  int red = 0;
  for (int x = 20; x < 140; ++x)
    for (int y = 20; y < 50; ++y)
      if (ClientRgb(form->Handle(), x, y) == 0xFF0000) ++red;
  EXPECT_GT(red, 10) << "the caption in the font's red";
}

TEST_F(SkinnedForm, TabSetDrawsItsTabsFromTheSkinAndSkinsItsScroller) {
  auto* t = Make<TTabSet>(20, 200, 300, 24);
  t->SetTabs({"One", "Two", "Three"});
  t->SetTabIndex(1);
  Skin<TSkinTab31>(t);
  HWND h = t->Handle();
  Settle(h);
  auto firstX = [&](int tab) {
    for (int x = 0; x < t->Width(); ++x)
      if (t->TabAt(POINT{x, 12}) == tab) return x;
    return -1;
  };
  for (int tab : {0, 1, 2}) {
    const int x = firstX(tab);
    ASSERT_GE(x, 0) << tab;
    const codedskin::Decoded d = codedskin::Decode(ClientRgb(h, x + 2, 3));
    EXPECT_EQ(d.element, codedskin::kTabs) << tab;
    EXPECT_EQ(d.frame, tab == 1 ? 2 : 1) << tab;
  }
  EXPECT_FALSE(t->Scroller()->Visible());

  // More tabs than room: the scroll buttons show, drawn from the skin's horizontal up-down.
  auto* narrow = Make<TTabSet>(20, 240, 140, 24);
  narrow->SetTabs({"First", "Second", "Third", "Fourth", "Fifth"});
  narrow->SetTabIndex(0);
  ASSERT_TRUE(narrow->Scroller()->Visible());
  Skin<TSkinTab31>(narrow);
  HWND scroller = narrow->Scroller()->Handle();
  Settle(narrow->Handle());
  Settle(scroller);
  EXPECT_EQ(codedskin::Decode(ScreenRgb(scroller, 4, 4)).element, codedskin::kUpDownHorz);
}

TEST_F(SkinnedForm, OwnerDrawnStatusPanelsAreDrawnByTheirHandlerOverTheSkin) {
  auto* bar = Make<TStatusBar>(0, 300, 400, 22);
  bar->SetPanelWidths({120, 120, -1});
  bar->SetPanelText(0, "Text");
  bar->SetPanelStyle(1, TStatusPanelStyle::psOwnerDraw);
  std::vector<std::pair<int, RECT>> calls;
  bar->OnDrawPanel = TDrawPanelEvent([&](TCustomStatusBar*, int i, HDC dc, const RECT& r) {
    calls.emplace_back(i, r);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, red);
    DeleteObject(red);
  });
  HWND h = bar->Handle();
  Settle(h);
  EXPECT_EQ(ScreenRgb(h, 180, 11), 0xFF0000u) << "the control's own owner drawing";

  Skin<TSkinStatusBar>(bar);
  calls.clear();
  Settle(h);
  EXPECT_EQ(ScreenRgb(h, 100, 11), Centre(codedskin::kStatusBar, 1)) << "a text panel keeps the skin";
  EXPECT_EQ(ScreenRgb(h, 180, 11), 0xFF0000u) << "the handler drew after the skin";
  RECT want{};
  SendMessageA(h, SB_GETRECT, 1, (LPARAM)&want);
  InflateRect(&want, -1, -1);
  bool panel1 = false;
  for (auto& [i, r] : calls) {
    EXPECT_EQ(i, 1) << "only owner-drawn panels";
    if (i == 1 && EqualRect(&r, &want)) panel1 = true;
  }
  EXPECT_TRUE(panel1) << "the panel's rectangle, inset by one pixel";
}

TEST_F(SkinnedForm, GlyphCheckBoxTakesItsBoxesFromTheSkinsCheckStrip) {
  auto* c = Make<TDBGlyphCheckBox>(20, 20, 120, 21, "Glyphs");
  auto* s = New<TSkinObjImage>(c);
  s->SetKind(1);
  s->Attach(skinner, data, true, &skinner->ControlCanvas());
  const TDataSkinButton& b = *data->Model().Buttons;
  const int fw = b.CheckButton.Width() / b.CheckButtonFrame, fh = b.CheckButton.Height();
  EXPECT_TRUE(c->UseCustomGlyphs());
  EXPECT_EQ(c->TransparentColor(), 0xFF00FF);
  ASSERT_EQ(c->CustomGlyphs().Width(), 9 * fw);
  HWND h = c->Handle();
  auto glyph = [&] {
    Settle(h);
    return codedskin::Decode(ScreenRgb(h, fw / 2, (21 - fh) / 2 + fh / 2));
  };
  EXPECT_EQ(glyph().element, codedskin::kCheck);
  EXPECT_EQ(glyph().frame, 1) << "unchecked";
  c->SetChecked(true);
  EXPECT_EQ(glyph().frame, 2) << "checked";
  c->SetEnabled(false);
  EXPECT_EQ(glyph().frame, 4) << "checked and disabled";
  TComponent::Free(s);
  EXPECT_FALSE(c->UseCustomGlyphs()) << "the box's own look again";
}

TEST(SkinRegion, ATransparentTopTakesItsShapeFromThePaintedTitle) {
  testing_support::TestApplication();
  // The top border's upper half is magenta (cut away); the caption text is drawn across it.
  const std::string ini =
      "[Personality]\r\nTop=top.bmp\r\nLeft=side.bmp\r\nRight=side.bmp\r\nBottom=bottom.bmp\r\nTextShift=8\r\n"
      "ActiveTextR=255\r\nActiveTextG=255\r\nActiveTextB=255\r\n";
  auto top = skintest::Bmp(40, 24, [](int, int y) { return y < 12 ? 0xFF00FFu : 0x404040u; });
  auto* data = new TSkinData(nullptr);
  ASSERT_TRUE(data->ReadSkinPack(Property(skintest::Pack(
      ini, {{"top.bmp", top}, {"side.bmp", skintest::Bmp(4, 24, 0x404040)}, {"bottom.bmp", skintest::Bmp(40, 4, 0x404040)}}))));
  HWND h = CreateWindowExA(0, "#32770", "WWWWWWWWWW", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 160, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  auto* s = new TSkinForm(nullptr);
  s->SetWindow(h);
  s->Install(data);
  SendMessageA(h, SKIN_FINISH, 0, 1000);
  PumpFor(100);
  s->Refresh();  // the region again, now that the title has been painted at this size
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(h, region), ERROR);
  RECT wr{};
  GetWindowRect(h, &wr);
  const RECT f = s->FrameWidths();
  int inBand = 0;
  for (int y = 0; y < 12; ++y)
    for (int x = f.left; x < (wr.right - wr.left) - f.right; ++x)
      if (PtInRegion(region, x, y)) ++inBand;
  EXPECT_GT(inBand, 0) << "the caption's pixels over the cut-away band";
  EXPECT_FALSE(PtInRegion(region, (wr.right - wr.left) - f.right - 2, 1)) << "the band itself stays cut away";
  EXPECT_TRUE(PtInRegion(region, 100, 20)) << "the border's solid half";
  DeleteObject(region);
  TComponent::Free(s);
  DestroyWindow(h);
  TComponent::Free(data);
}

TEST(SkinPicture, TheNewControlsUnderTheBuiltInSkin) {
  testing_support::TestApplication();
  TOwned<TForm> form(new TForm(nullptr));
  form->SetBounds(80, 80, 420, 240);
  form->SetCaption("Skinned controls");
  auto* data = New<TSkinData>(form.get());
  ASSERT_TRUE(data->ReadSkinPack(Property(skintest::BuildSkin("builtin.skin"))));
  auto* skinner = New<TSkinForm>(form.get());
  skinner->SetSkinData(data);
  skinner->SetWindow(form->Handle());
  form->SetColor(data->Model().ButtonFace);
  auto place = [&](TControl* c, int x, int y, int w, int h) {
    c->SetParent(form.get());
    c->SetBounds(x, y, w, h);
  };
  const char* captions[] = {"Open", "Save", "Bold"};
  for (int i = 0; i < 3; ++i) {
    auto* b = New<TSpeedButton>(form.get());
    place(b, 12 + i * 84, 12, 80, 26);
    b->SetCaption(captions[i]);
    b->SetFlat(i == 1);
    b->SetGroupIndex(i == 2 ? 1 : 0);
    b->SetDown(i == 2);
    New<TSkinSpeedButton>(b)->AttachGraphic(b, data, skinner, &skinner->ControlCanvas());
  }
  auto* check = New<TDBGlyphCheckBox>(form.get());
  place(check, 12, 52, 160, 21);
  check->SetCaption("Glyph check box");
  check->SetChecked(true);
  auto* glyphs = New<TSkinObjImage>(check);
  glyphs->SetKind(1);
  glyphs->Attach(skinner, data, true, &skinner->ControlCanvas());
  auto* tabs = New<TTabSet>(form.get());
  place(tabs, 12, 90, 380, 22);
  tabs->SetTabs({"Contacts", "Messages", "Trade"});
  tabs->SetTabIndex(0);
  New<TSkinTab31>(tabs)->Attach(skinner, data, false, &skinner->ControlCanvas());
  auto* bar = New<TStatusBar>(form.get());
  bar->SetParent(form.get());
  bar->SetPanelWidths({160, 120, -1});
  bar->SetPanelText(0, "Connected");
  bar->SetPanelStyle(1, TStatusPanelStyle::psOwnerDraw);
  bar->OnDrawPanel = TDrawPanelEvent([](TCustomStatusBar* sender, int, HDC dc, const RECT& r) {
    SelectObject(dc, sender->Font().Handle());
    HBRUSH green = CreateSolidBrush(RGB(40, 160, 60));
    RECT dot{r.left + 4, r.top + 3, r.left + 4 + (r.bottom - r.top - 6), r.bottom - 3};
    FillRect(dc, &dot, green);
    DeleteObject(green);
    SetBkMode(dc, TRANSPARENT);
    RECT t{dot.right + 6, r.top, r.right, r.bottom};
    DrawTextA(dc, "Owner drawn", -1, &t, DT_SINGLELINE | DT_VCENTER);
  });
  New<TSkinStatusBar>(bar)->Attach(skinner, data, false, &skinner->ControlCanvas());
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(300);
  EXPECT_TRUE(check->UseCustomGlyphs());
  char exe[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string dir(exe);
  dir = dir.substr(0, dir.find_last_of('\\') + 1) + "..\\screenshots\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  EXPECT_TRUE(testing_support::SaveScreenRect(r, dir + "skin-controls.png"));
}
