// The class-library pieces the components stand on: pictures from file bytes, image lists,
// pop-up menus over real menus, the screen's cursors and form list, and a form description
// that builds every component of this suite with its references and handlers.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Exception.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetsSupport.h"
#include "widgets/BitBtnEx.h"
#include "widgets/StyleLabel.h"
#include "widgets/TrayNotifyIcon.h"
#include "widgets/Widgets.h"

using namespace widgets_testing;

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

// An icon file of one 16 x 16 picture, 32 bits, opaque.
std::string IconFile(COLORREF colour) {
  BITMAPINFOHEADER bih{sizeof bih, 16, 32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::string image(reinterpret_cast<const char*>(&bih), sizeof bih);
  for (int i = 0; i < 16 * 16; ++i) {
    const char px[4] = {(char)GetBValue(colour), (char)GetGValue(colour), (char)GetRValue(colour), (char)0xFF};
    image.append(px, 4);
  }
  image.append(16 * 4, '\0');  // the AND mask: every pixel drawn
  std::string file("\0\0\1\0\1\0", 6);
  char entry[16] = {16, 16, 0, 0, 1, 0, 32, 0};
  uint32_t size = (uint32_t)image.size(), offset = 6 + 16;
  memcpy(entry + 8, &size, 4);
  memcpy(entry + 12, &offset, 4);
  file.append(entry, 16);
  return file + image;
}

}  // namespace

TEST(Pictures, BitmapAndIconBytesAreCheckedBeforeUse) {
  std::string strip = StripBitmapFile({kRed, kBlue}, 8, 4);
  std::string prefixed = std::string("\x36\0\0\0", 4) + strip;
  std::string huge = strip;
  huge[18] = '\xFF';
  huge[19] = '\xFF';  // width 65535
  struct Case {
    const char* name;
    std::string bytes;
    bool ok;
  } cases[] = {
      {"file", strip, true},
      {"with a length before it", prefixed, true},
      {"bits cut short", strip.substr(0, strip.size() - 10), false},
      {"header only", strip.substr(0, 30), false},
      {"not a bitmap", "XX" + strip.substr(2), false},
      {"absurd width", huge, false},
      {"empty", "", false},
  };
  for (const auto& c : cases) {
    TGlyph g;
    EXPECT_EQ(g.LoadFromBytes(c.bytes), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(g.Width(), 16) << c.name;
      EXPECT_EQ(g.Height(), 4) << c.name;
      EXPECT_EQ(g.Pixel(2, 1), kRed) << c.name;
      EXPECT_EQ(g.Pixel(12, 1), kBlue) << c.name;
    } else {
      EXPECT_TRUE(g.Empty()) << c.name;
    }
  }
  TIconImage icon;
  EXPECT_TRUE(icon.LoadFromBytes(IconFile(kGreen)));
  EXPECT_EQ(IconColour(icon.Handle()), kGreen);
  std::string cut = IconFile(kGreen);
  EXPECT_FALSE(icon.LoadFromBytes(cut.substr(0, cut.size() - 100)));
  EXPECT_EQ(IconColour(icon.Handle()), kGreen);  // kept
}

TEST(ImageList, PicturesFromAStripBecomeIcons) {
  TOwned<TImageList> list(New<TImageList>(nullptr));
  EXPECT_EQ(list->AddBitmapFile(StripBitmapFile({kRed, kGreen, kBlue}, 16, 16)), 0);
  EXPECT_EQ(list->Count(), 3);
  TIconImage icon;
  ASSERT_TRUE(list->GetIcon(1, icon));
  EXPECT_EQ(IconColour(icon.Handle()), kGreen);
  EXPECT_FALSE(list->GetIcon(3, icon));
  EXPECT_FALSE(list->GetIcon(-1, icon));
  EXPECT_EQ(IconColour(icon.Handle()), kGreen);
  list->SetWidth(32);  // another size empties the list
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->AddBitmapFile("nonsense"), -1);
}

TEST(PopupMenu, TheChosenVisibleItemRunsItsClick) {
  EnsureApplication();
  TOwned<TPopupMenu> menu(New<TPopupMenu>(nullptr));
  std::vector<std::string> clicked;
  auto add = [&](const char* caption, bool visible) {
    auto* item = New<TMenuItem>(menu.get());
    item->SetCaption(caption);
    item->SetVisible(visible);
    item->OnClick = TNotifyEvent([&clicked, caption](TObject*) { clicked.push_back(caption); });
    menu->Items()->Add(item);
    return item;
  };
  add("hidden", false);
  add("first", true);
  add("second", true);
  int popups = 0;
  menu->OnPopup = TNotifyEvent([&](TObject*) { ++popups; });
  CloseMenuSoon(150, 2);
  menu->Popup(100, 100);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(clicked, std::vector<std::string>{"second"});
  CloseMenuSoon(150);
  menu->Popup(100, 100);
  EXPECT_EQ(clicked.size(), 1u);  // cancelled: nothing chosen

  TMenuItem* first = menu->Items()->Items(1);
  TComponent::Free(first);  // leaves its parent
  EXPECT_EQ(menu->Items()->Count(), 2);
}

TEST(PopupMenu, RightClickOnAControlOpensItsMenu) {
  EnsureApplication();
  TOwned<TForm> form(New<TForm>(nullptr));
  form->SetBounds(100, 100, 300, 200);
  auto* panel = New<TPanel>(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 150, 100);
  auto* label = New<TLabel>(form.get());
  label->SetParent(form.get());
  label->SetBounds(200, 20, 50, 20);
  auto* menu = New<TPopupMenu>(form.get());
  SetPropValue(panel, "PopupMenu", TPropValue(static_cast<TObject*>(menu)));
  label->SetPopupMenu(menu);
  form->Show();
  int popups = 0;
  menu->OnPopup = TNotifyEvent([&](TObject*) { ++popups; });

  CloseMenuSoon(100);
  POINT p = panel->ClientToScreen(POINT{10, 10});
  SendMessageA(panel->Handle(), WM_CONTEXTMENU, (WPARAM)panel->Handle(), MAKELPARAM(p.x, p.y));
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(menu->PopupComponent(), panel);
  CloseMenuSoon(100);
  p = form->ClientToScreen(POINT{210, 25});
  SendMessageA(form->Handle(), WM_CONTEXTMENU, (WPARAM)form->Handle(), MAKELPARAM(p.x, p.y));
  EXPECT_EQ(popups, 2);
  EXPECT_EQ(menu->PopupComponent(), label);

  TComponent::Free(menu);  // the controls forget it
  EXPECT_EQ(panel->PopupMenu(), nullptr);
  EXPECT_EQ(label->PopupMenu(), nullptr);
}

TEST(Screen, KnowsTheFormsAndCanOverrideEveryCursor) {
  EnsureApplication();
  int before = Screen().FormCount();
  TOwned<TForm> form(New<TForm>(nullptr));
  ASSERT_EQ(Screen().FormCount(), before + 1);
  EXPECT_EQ(Screen().Forms(before), form.get());
  EXPECT_GT(Screen().Width(), 0);

  form->SetBounds(100, 100, 200, 100);
  form->Show();
  POINT at = form->ClientToScreen(POINT{20, 20});
  ASSERT_TRUE(MoveCursorTo(at));
  Screen().SetCursor(crHourGlass);
  SendMessageA(form->Handle(), WM_SETCURSOR, (WPARAM)form->Handle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), Screen().Cursors(crHourGlass));
  Screen().SetCursor(crDefault);
  form->SetCursor(crCross);
  SendMessageA(form->Handle(), WM_SETCURSOR, (WPARAM)form->Handle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), Screen().Cursors(crCross));
  form.reset();
  EXPECT_EQ(Screen().FormCount(), before);
}

namespace {

class TWidgetsFrm : public TForm {
  KARV_CLASS(TWidgetsFrm, TForm)
 public:
  using TForm::TForm;
  TImageList* ImageList = nullptr;
  TPopupMenu* PopupMenuTrayicon = nullptr;
  TMenuItem* N4 = nullptr;
  TTrayNotifyIcon* TrayNotifyIcon = nullptr;
  TBitBtnExtend* btnFindFriend = nullptr;
  TUrlLabel* yurl = nullptr;
  TStyleLabel* lblOld = nullptr;
  std::vector<std::string> calls;
  bool hideAtStartup = false;
  void N4Click(TObject*) { calls.push_back("N4Click"); }
  void TrayNotifyIconDblClick(TObject*) { calls.push_back("TrayNotifyIconDblClick"); }
  void TrayNotifyIconStartup(TObject*, bool& show) {
    calls.push_back(show ? "startup shown" : "startup hidden");
    if (hideAtStartup) show = false;
  }
  void btnFindFriendMouseEnter(TObject*) { calls.push_back("enter"); }
  TPublishedTable Published() override {
    return {KARV_FIELD(TWidgetsFrm, ImageList),        KARV_FIELD(TWidgetsFrm, PopupMenuTrayicon),
            KARV_FIELD(TWidgetsFrm, N4),               KARV_FIELD(TWidgetsFrm, TrayNotifyIcon),
            KARV_FIELD(TWidgetsFrm, btnFindFriend),    KARV_FIELD(TWidgetsFrm, yurl),
            KARV_FIELD(TWidgetsFrm, lblOld),           KARV_HANDLER(TWidgetsFrm, N4Click),
            KARV_HANDLER(TWidgetsFrm, TrayNotifyIconDblClick), KARV_HANDLER(TWidgetsFrm, TrayNotifyIconStartup),
            KARV_HANDLER(TWidgetsFrm, btnFindFriendMouseEnter)};
  }
};

std::string Description(const std::string& imageData) {
  return "object WidgetsFrm: TWidgetsFrm\n"
         "  Caption = 'widgets'\n"
         "  object ImageList: TImageList\n"
         "    Bitmap = {" + imageData + "}\n"
         "  end\n"
         "  object PopupMenuTrayicon: TPopupMenu\n"
         "    object N4: TMenuItem\n"
         "      Caption = 'Restore'\n"
         "      Default = True\n"
         "      OnClick = N4Click\n"
         "    end\n"
         "    object N1: TMenuItem\n"
         "      Caption = 'Quit'\n"
         "    end\n"
         "  end\n"
         "  object TrayNotifyIcon: TTrayNotifyIcon\n"
         "    IconList = ImageList\n"
         "    CycleInterval = 300\n"
         "    Hint = 'Karv'\n"
         "    IconVisible = True\n"
         "    PopupMenu = PopupMenuTrayicon\n"
         "    WantEnterExitEvents = True\n"
         "    MinimizeToTray = True\n"
         "    OnDblClick = TrayNotifyIconDblClick\n"
         "    OnStartup = TrayNotifyIconStartup\n"
         "  end\n"
         "  object btnFindFriend: TBitBtnExtend\n"
         "    Left = 8\n"
         "    Cursor = crHandPoint\n"
         "    Glyph.Data = {" + Hex(StripBitmapFile({kBlue}, 16, 16)) + "}\n"
         "    OnMouseEnter = btnFindFriendMouseEnter\n"
         "  end\n"
         "  object yurl: TUrlLabel\n"
         "    Caption = 'http://127.0.0.1/'\n"
         "  end\n"
         "  object lblOld: TStyleLabel\n"
         "    FrameSides = [sdLeft, sdTop]\n"
         "    Angle = -30\n"
         "  end\n"
         "end\n";
}

}  // namespace

TEST(Description, BuildsTheComponentsWithTheirReferencesAndHandlers) {
  EnsureApplication();
  RegisterWidgets();
  RecordingNotifyArea shell;
  seams::ScopedNotifyArea seam(&shell);
  TOwned<TWidgetsFrm> f(New<TWidgetsFrm>(nullptr));
  f->LoadDescription(Description(Hex(StripBitmapFile({kRed, kGreen}, 16, 16))));

  EXPECT_EQ(f->ImageList->Count(), 2);
  TTrayNotifyIcon* tray = f->TrayNotifyIcon;
  EXPECT_EQ(tray->IconList(), f->ImageList);
  EXPECT_EQ(tray->PopupMenu(), f->PopupMenuTrayicon);
  EXPECT_EQ(tray->CycleInterval(), 300u);
  EXPECT_TRUE(tray->MinimizeToTray());
  ASSERT_EQ(f->PopupMenuTrayicon->Items()->Count(), 2);
  EXPECT_EQ(f->PopupMenuTrayicon->Items()->Items(0), f->N4);
  // After loading: the start-up question, then the icon is added and the behaviour set.
  EXPECT_EQ(f->calls, std::vector<std::string>{"startup shown"});
  // Each shell call is a round trip: while the properties are read none is made, nor before
  // the windows on their way to the screen have painted; then the icon is added once.
  EXPECT_TRUE(shell.calls.empty());
  TOwned<TForm> shown(New<TForm>(nullptr));
  shown->SetBounds(40, 40, 200, 120);
  shown->Show();
  ASSERT_TRUE(GetUpdateRect(shown->Handle(), nullptr, FALSE));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return shell.Count(NIM_ADD) > 0; }, 2000));
  EXPECT_FALSE(GetUpdateRect(shown->Handle(), nullptr, FALSE));  // painted first
  EXPECT_EQ(shell.Count(NIM_ADD), 1);
  ASSERT_NE(shell.Last(NIM_ADD), nullptr);
  EXPECT_EQ(shell.Last(NIM_ADD)->data.Tip(), "Karv");
  EXPECT_EQ(shell.Last(NIM_ADD)->iconColour, kRed);
  ASSERT_FALSE(shell.calls.empty());
  EXPECT_EQ(shell.calls.back().message, (DWORD)NIM_SETVERSION);
  EXPECT_EQ(shell.calls.back().data.Timeout(), 0u);

  SendMessageA(TTrayNotifyIcon::HandlerWindow(), TTrayNotifyIcon::kCallbackMessage, tray->Id(), WM_LBUTTONDBLCLK);
  EXPECT_EQ(f->calls, (std::vector<std::string>{"startup shown", "TrayNotifyIconDblClick", "N4Click"}));

  EXPECT_EQ(f->btnFindFriend->Glyph().Pixel(3, 3), kBlue);
  EXPECT_EQ(f->btnFindFriend->Cursor(), crHandPoint);
  f->btnFindFriend->Perform(CM_MOUSEENTER);
  EXPECT_EQ(f->calls.back(), "enter");
  EXPECT_EQ(f->yurl->Cursor(), TUrlLabel::kHandCursor);
  EXPECT_EQ(f->lblOld->BorderSides(), (TSides)(sdLeft | sdTop));
  EXPECT_EQ(f->lblOld->Angle(), 330);
  EXPECT_EQ(GetEnumProp(f->lblOld, "Rotation"), "roflat");

  // A start-up handler that says no keeps the application from showing its main form.
  TOwned<TWidgetsFrm> hidden(New<TWidgetsFrm>(nullptr));
  hidden->hideAtStartup = true;
  hidden->LoadDescription(Description(Hex(StripBitmapFile({kRed}, 16, 16))));
  EXPECT_FALSE(Application->ShowMainForm);
  Application->ShowMainForm = true;

  TOwned<TWidgetsFrm> bad(New<TWidgetsFrm>(nullptr));
  try {
    bad->LoadDescription(Description("0011"));
    FAIL() << "bad image data was accepted";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("invalid bitmap data"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("line 4"), std::string::npos) << e.Message();
  }
}
