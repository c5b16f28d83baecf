// A form's main menu read from its description, kept in step with its items and actions;
// MDI frames with their system MDI client and children; Alt and a key reaching the form as
// CM_DIALOGCHAR before the system's menu-bar mode.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/forms/ActnList.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/WindowSubclass.h"
#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {
struct App {
  App() { testing_support::TestApplication(); }
};

std::string MenuText(HMENU menu, int pos) {
  char text[100] = "";
  GetMenuStringA(menu, (UINT)pos, text, sizeof text, MF_BYPOSITION);
  return text;
}

// Counts the messages of one number that reach a form's WindowProc, then hands them on.
struct Counter {
  Counter(TCustomForm* f, UINT msg) : form(f), msg(msg), saved(f->WindowProc) {
    f->WindowProc = TWndMethod([this](TMessage& m) {
      if (m.Msg == this->msg) {
        ++count;
        last = m.WParam;
        if (answer) {
          m.Result = answer;
          return;
        }
      }
      saved(m);
    });
  }
  ~Counter() { form->WindowProc = saved; }
  TCustomForm* form;
  UINT msg;
  TWndMethod saved;
  int count = 0;
  WPARAM last = 0;
  LRESULT answer = 0;
};

const char kMenuForm[] =
    "object MenuFrm: TForm\n"
    "  Left = 40\n  Top = 40\n  Width = 320\n  Height = 200\n  Caption = 'Menus'\n"
    "  Menu = mnuMain\n"
    "  object mnuMain: TMainMenu\n"
    "    object miFile: TMenuItem\n      Caption = '&File'\n"
    "      object miOpen: TMenuItem\n        Caption = '&Open'\n        ShortCut = 'Ctrl+O'\n"
    "        Action = actOpen\n      end\n"
    "      object miSep: TMenuItem\n        Caption = '-'\n      end\n"
    "      object miExit: TMenuItem\n        Caption = 'E&xit'\n        Default = True\n      end\n"
    "    end\n"
    "    object miHelp: TMenuItem\n      Caption = '&Help'\n    end\n"
    "  end\n"
    "  object alMain: TActionList\n"
    "    object actOpen: TAction\n      Caption = 'Open file'\n    end\n"
    "  end\n"
    "end\n";
}  // namespace

TEST(MainMenu, ReadFromTheDescriptionKeptInStepAndFreedWithTheForm) {
  App app;
  RegisterActions();
  RegisterMenus();
  TOwned<TForm> f(new TForm(nullptr));
  f->LoadDescription(kMenuForm);
  auto* menu = dynamic_cast<TMainMenu*>(f->FindComponent("mnuMain"));
  auto* open = dynamic_cast<TMenuItem*>(f->FindComponent("miOpen"));
  auto* action = dynamic_cast<TAction*>(f->FindComponent("actOpen"));
  ASSERT_TRUE(menu && open && action);
  ASSERT_EQ(f->Menu(), menu);
  f->Show();
  HWND h = f->Handle();
  HMENU bar = GetMenu(h);
  ASSERT_EQ(bar, menu->Handle()) << "the window shows the main menu";
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0), "&File");
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(file, f->FindComponent("miFile") ? static_cast<TMenuItem*>(f->FindComponent("miFile"))->Handle() : nullptr);
  ASSERT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(MenuText(file, 0), "Open file\tCtrl+O") << "the action's caption";
  EXPECT_EQ(GetMenuDefaultItem(file, TRUE, 0), 2u) << "Exit is the default item";
  EXPECT_GE(open->Command(), 1u);
  EXPECT_LE(open->Command(), 4095u);

  // Changes rebuild the handles in place and tell the window.
  Counter changed(f.get(), CM_MENUCHANGED);
  action->SetCaption("Open a file");
  EXPECT_EQ(changed.count, 1);
  EXPECT_EQ(open->Caption(), "Open a file");
  EXPECT_EQ(GetSubMenu(GetMenu(h), 0), file) << "the same sub-menu, filled again";
  EXPECT_EQ(MenuText(file, 0), "Open a file\tCtrl+O");
  auto* added = New<TMenuItem>(f.get());
  added->SetCaption("&Tools");
  menu->Items()->Add(added);
  EXPECT_EQ(changed.count, 2);
  EXPECT_EQ(GetMenuItemCount(GetMenu(h)), 3);
  added->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(GetMenu(h)), 2);
  open->SetEnabled(false);
  EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_GRAYED);
  open->SetEnabled(true);

  // A menu command runs its item; an item with an action runs the action.
  int ran = 0;
  action->OnExecute = TNotifyEvent([&](TObject*) { ++ran; });
  SendMessageA(h, WM_COMMAND, open->Command(), 0);
  EXPECT_EQ(ran, 1);

  f.reset();
  EXPECT_FALSE(IsMenu(bar)) << "the bar went with its menu";
  EXPECT_FALSE(IsMenu(file)) << "and the sub-menu with its item";
}

TEST(MDI, FrameClientChildrenCascadeTileAndDestroy) {
  App app;
  TOwned<TForm> frame(new TForm(nullptr));
  frame->LoadDescription(
      "object FrameFrm: TForm\n  Left = 30\n  Top = 30\n  Width = 500\n  Height = 360\n"
      "  FormStyle = fsMDIForm\n  Menu = mnuFrame\n  WindowMenu = miWindow\n"
      "  object mnuFrame: TMainMenu\n"
      "    object miWindow: TMenuItem\n      Caption = '&Window'\n"
      "      object miCascade: TMenuItem\n        Caption = '&Cascade'\n      end\n"
      "    end\n"
      "  end\n"
      "end\n");
  ASSERT_EQ(frame->FormStyle(), TFormStyle::fsMDIForm);
  auto* menu = dynamic_cast<TMainMenu*>(frame->FindComponent("mnuFrame"));
  auto* window = dynamic_cast<TMenuItem*>(frame->FindComponent("miWindow"));
  ASSERT_TRUE(menu && window);
  EXPECT_EQ(frame->WindowMenu(), window);
  frame->Show();
  HWND client = frame->ClientHandle();
  ASSERT_NE(client, nullptr);
  char cls[32] = "";
  GetClassNameA(client, cls, sizeof cls);
  EXPECT_STRCASEEQ(cls, "MDIClient");
  EXPECT_EQ(GetParent(client), frame->Handle());
  EXPECT_EQ(GetMenu(frame->Handle()), menu->Handle());

  int creates = 0, destroys = 0;
  TWindowSubclass watch;
  watch.Install(client, TWindowSubclass::THandler([&](HWND, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_MDICREATE) ++creates;
    if (msg == WM_MDIDESTROY) ++destroys;
    return watch.CallPrevious(msg, wp, lp);
  }));
  auto child = [&](const char* caption) {
    auto* c = new TForm(frame.get());
    c->SetFormStyle(TFormStyle::fsMDIChild);
    c->SetCaption(caption);
    c->SetBounds(10, 10, 200, 150);
    c->Show();
    return c;
  };
  TForm* one = child("One");
  TForm* two = child("Two");
  EXPECT_EQ(creates, 2) << "children are made through WM_MDICREATE";
  EXPECT_EQ(GetParent(one->Handle()), client);
  EXPECT_TRUE(GetWindowLongPtrA(one->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), two);
  EXPECT_GE(GetMenuItemCount(window->Handle()), 3) << "the system lists the children in the window menu";

  // The default procedures are the MDI ones: maximising is the frame's business.
  SendMessageA(client, WM_MDIMAXIMIZE, (WPARAM)two->Handle(), 0);
  EXPECT_TRUE(IsZoomed(two->Handle()));
  SendMessageA(client, WM_MDIRESTORE, (WPARAM)two->Handle(), 0);
  EXPECT_FALSE(IsZoomed(two->Handle()));

  RECT cr{};
  GetClientRect(client, &cr);
  frame->Tile();
  RECT a{}, b{};
  GetWindowRect(one->Handle(), &a);
  GetWindowRect(two->Handle(), &b);
  RECT overlap{};
  EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << "tiled side by side";
  EXPECT_GT(a.right - a.left, 0);
  frame->Cascade();
  GetWindowRect(one->Handle(), &a);
  GetWindowRect(two->Handle(), &b);
  EXPECT_NE(a.left, b.left) << "cascaded";
  EXPECT_NE(a.top, b.top);

  // Closing a child minimises it, as the library does; freeing it leaves through the client.
  SendMessageA(one->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsIconic(one->Handle()));
  HWND gone = two->Handle();
  TComponent::Free(two);
  EXPECT_EQ(destroys, 1);
  EXPECT_FALSE(IsWindow(gone));
  EXPECT_EQ(frame->MDIChildCount(), 1);
  watch.Restore();
}

TEST(DialogChar, AltAndAKeyReachTheFormFirst) {
  App app;
  TOwned<TForm> f(new TForm(nullptr));
  f->SetBounds(40, 40, 300, 200);
  auto* edit = new TEdit(f.get());
  edit->SetParent(f.get());
  f->Show();
  Counter dialogChar(f.get(), CM_DIALOGCHAR);
  Counter sysCommand(f.get(), WM_SYSCOMMAND);
  sysCommand.answer = 1;  // no menu-bar mode in the test
  // Alt+F in the edit: its form hears CM_DIALOGCHAR.
  SendMessageA(edit->Handle(), WM_SYSCHAR, 'f', 1 << 29);
  EXPECT_EQ(dialogChar.count, 1);
  EXPECT_EQ(dialogChar.last, (WPARAM)'f');
  // Unanswered, the system's menu mode follows.
  SendMessageA(f->Handle(), WM_SYSCHAR, 'f', 1 << 29);
  EXPECT_EQ(dialogChar.count, 2);
  EXPECT_EQ(sysCommand.count, 1) << "SC_KEYMENU";
  // Answered, the key goes no further.
  dialogChar.answer = 1;
  SendMessageA(f->Handle(), WM_SYSCHAR, 'g', 1 << 29);
  EXPECT_EQ(dialogChar.count, 3);
  EXPECT_EQ(sysCommand.count, 1);
}
