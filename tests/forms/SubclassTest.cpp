// Subclassing any window through an object-bound thunk, chain-safe restoring, the library's
// handle destruction under a later subclass, and the ancestors the skin engine tests for.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WindowSubclass.h"
#include "tests/support/TestApplication.h"

namespace {
// Counts the messages it sees and passes them on; optionally lets go inside WM_NCDESTROY.
struct Watcher {
  TWindowSubclass sub;
  std::vector<UINT> seen;
  bool restoreAtDestroy = false;
  LRESULT Proc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
    seen.push_back(msg);
    if (msg == 0x3504) return 1;
    if (msg == WM_NCDESTROY && restoreAtDestroy) {
      sub.Restore();  // gives the window back, then still passes the message on
    }
    return sub.CallPrevious(msg, wp, lp);
  }
  bool Install(HWND h) { return sub.Install(h, TWindowSubclass::THandler(this, &Watcher::Proc)); }
  bool Saw(UINT msg) const { return std::find(seen.begin(), seen.end(), msg) != seen.end(); }
};

HWND MakeBareButton() {
  return CreateWindowExA(0, "BUTTON", "bare", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

WNDPROC ProcOf(HWND h) { return (WNDPROC)GetWindowLongPtrA(h, GWLP_WNDPROC); }
}  // namespace

TEST(Subclass, BareWindowRoutesAndRestores) {
  testing_support::TestApplication();
  HWND h = MakeBareButton();
  ASSERT_NE(h, nullptr);
  WNDPROC original = ProcOf(h);
  Watcher w;
  ASSERT_TRUE(w.Install(h));
  EXPECT_FALSE(w.Install(h)) << "a second install is refused";
  EXPECT_EQ(ProcOf(h), w.sub.Thunk());
  EXPECT_EQ(SendMessageA(h, 0x3504, 0, 0), 1);
  SetWindowTextA(h, "x");  // reaches the button's own procedure through the thunk
  char text[8] = "";
  GetWindowTextA(h, text, sizeof text);
  EXPECT_STREQ(text, "x");
  w.sub.Restore();
  EXPECT_EQ(ProcOf(h), original);
  EXPECT_EQ(SendMessageA(h, 0x3504, 0, 0), 0);
  DestroyWindow(h);
}

TEST(Subclass, RestoreUnderALaterSubclassKeepsTheChain) {
  testing_support::TestApplication();
  HWND h = MakeBareButton();
  Watcher first, second;
  ASSERT_TRUE(first.Install(h));
  ASSERT_TRUE(second.Install(h));
  first.sub.Restore();  // second still calls first's thunk: it must stay a pass-through
  EXPECT_EQ(ProcOf(h), second.sub.Thunk());
  size_t before = first.seen.size();
  SetWindowTextA(h, "y");
  EXPECT_EQ(first.seen.size(), before) << "a released subclass sees nothing";
  EXPECT_TRUE(second.Saw(WM_SETTEXT));
  second.sub.Restore();
  DestroyWindow(h);  // the pass-through frees itself with WM_NCDESTROY
}

TEST(Subclass, ReleasingInsideTheHandlerAndAfterDestruction) {
  testing_support::TestApplication();
  HWND h = MakeBareButton();
  Watcher w;
  w.restoreAtDestroy = true;
  ASSERT_TRUE(w.Install(h));
  DestroyWindow(h);
  EXPECT_TRUE(w.Saw(WM_NCDESTROY));
  EXPECT_FALSE(w.sub.Installed());
  // A subclass still held when its window dies lets go without writing to it.
  HWND h2 = MakeBareButton();
  Watcher late;
  ASSERT_TRUE(late.Install(h2));
  DestroyWindow(h2);
  EXPECT_TRUE(late.Saw(WM_NCDESTROY));
  late.sub.Restore();
  EXPECT_FALSE(late.Install(h2)) << "a destroyed window is not subclassed";
}

TEST(Subclass, DestroyHandleLeavesALaterSubclassInPlace) {
  testing_support::TestApplication();
  TOwned<TForm> form(new TForm(nullptr));
  auto* edit = New<TEdit>(form.get());
  edit->SetParent(form.get());
  HWND h = edit->Handle();
  Watcher w;
  ASSERT_TRUE(w.Install(h));
  edit->SetCaption("abc");
  EXPECT_TRUE(w.Saw(WM_SETTEXT)) << "the library's messages pass the subclass";
  edit->DestroyHandle();
  EXPECT_TRUE(w.Saw(WM_NCDESTROY)) << "the subclass sees the window's last message";
  w.sub.Restore();  // the window is gone: nothing is written
}

TEST(Subclass, AncestorsOfTheSkinEnginesClassTests) {
  testing_support::TestApplication();
  TOwned<TForm> form(new TForm(nullptr));
  struct Case {
    TComponent* c;
    const char* ancestor;
  } cases[] = {
      {New<TEdit>(form.get()), "TCustomEdit"},          {New<TMemo>(form.get()), "TCustomEdit"},
      {New<TMemo>(form.get()), "TCustomMemo"},          {New<TComboBox>(form.get()), "TCustomComboBox"},
      {New<TCheckBox>(form.get()), "TCustomCheckBox"},  {New<TGroupBox>(form.get()), "TCustomGroupBox"},
      {New<TPanel>(form.get()), "TCustomPanel"},        {New<TPageControl>(form.get()), "TCustomTabControl"},
      {New<TStatusBar>(form.get()), "TCustomStatusBar"}, {New<TListView>(form.get()), "TCustomListView"},
  };
  for (const auto& c : cases) EXPECT_TRUE(c.c->InheritsFrom(c.ancestor)) << c.c->ClassName() << " " << c.ancestor;
  EXPECT_FALSE(New<TEdit>(form.get())->InheritsFrom("TCustomMemo"));
  EXPECT_FALSE(New<TRadioButton>(form.get())->InheritsFrom("TCustomCheckBox"));
}

TEST(Subclass, AUnicodeWindowStaysUnicodeAndGetsWideText) {
  testing_support::TestApplication();
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KarvWideSubclass";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(h, nullptr);
  const LONG_PTR plain = GetWindowLongPtrW(h, GWLP_WNDPROC);
  std::wstring seen;
  TWindowSubclass sub;
  ASSERT_TRUE(sub.Install(h, TWindowSubclass::THandler([&](HWND, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_SETTEXT && lp) seen = reinterpret_cast<const wchar_t*>(lp);
    return sub.CallPrevious(msg, wp, lp);
  })));
  EXPECT_TRUE(sub.Wide());
  EXPECT_TRUE(IsWindowUnicode(h));
  const std::wstring thai = L"\x0E01\x0E02\x0E03";  // outside code page 936
  SetWindowTextW(h, thai.c_str());
  EXPECT_TRUE(seen == thai) << "the handler gets the wide text itself";
  wchar_t back[16] = {};
  GetWindowTextW(h, back, 16);
  EXPECT_TRUE(std::wstring(back) == thai);
  sub.Restore();
  EXPECT_TRUE(IsWindowUnicode(h));
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), plain);
  DestroyWindow(h);
}
