// The list, page, status and rich-edit controls, built from a description.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Memo.h"
#include "platform/forms/Properties.h"
#include "platform/forms/Tabs.h"
#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"

class TControlsFrm : public TForm {
  KARV_CLASS(TControlsFrm, TForm)
 public:
  using TForm::TForm;
  TPageControl* pcMain = nullptr;
  TTabSheet *tsOne = nullptr, *tsTwo = nullptr;
  TListBox* yList = nullptr;
  TComboBox* yCombo = nullptr;
  TGroupBox* grpHistory = nullptr;
  TRichEdit* yMemo = nullptr;
  TStatusBar* sbMain = nullptr;
  std::vector<int> drawn;
  std::string typed;
  void yListDrawItem(TObject*, int index, HDC, RECT, unsigned) { drawn.push_back(index); }
  void yComboKeyPress(TObject*, char& key) {
    if (key < '0' || key > '9') key = 0;  // digits only
    else typed += key;
  }
  TPublishedTable Published() override {
    return {KARV_FIELD(TControlsFrm, pcMain), KARV_FIELD(TControlsFrm, tsOne),   KARV_FIELD(TControlsFrm, tsTwo),
            KARV_FIELD(TControlsFrm, yList),  KARV_FIELD(TControlsFrm, yCombo),  KARV_FIELD(TControlsFrm, grpHistory),
            KARV_FIELD(TControlsFrm, yMemo),  KARV_FIELD(TControlsFrm, sbMain),  KARV_HANDLER(TControlsFrm, yListDrawItem),
            KARV_HANDLER(TControlsFrm, yComboKeyPress)};
  }
};

namespace {
struct App {
  App() { testing_support::TestApplication(); }
};
}  // namespace

TEST(Controls, ListsPagesStatusAndRichEdit) {
  App app;
  TOwned<TControlsFrm> f(CreateForm<TControlsFrm>(nullptr));
  f->Show();
  // Items given before the window existed reach it; owner drawing goes to the handler.
  EXPECT_EQ(SendMessageA(f->yList->Handle(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(f->yList->Handle(), LB_GETITEMHEIGHT, 0, 0), 40);
  testing_support::PumpFor(100);
  EXPECT_FALSE(f->drawn.empty());
  f->yList->Items().Add("王五");
  f->yList->SetItemIndex(2);
  EXPECT_EQ(f->yList->ItemIndex(), 2);
  f->yList->Items().Delete(0);
  EXPECT_EQ(f->yList->Items()[0], "李四");
  EXPECT_EQ(SendMessageA(f->yList->Handle(), LB_GETCOUNT, 0, 0), 2);

  // Pages: the first is active; switching shows the other.
  EXPECT_EQ(f->pcMain->PageCount(), 2);
  EXPECT_EQ(f->pcMain->ActivePage(), f->tsOne);
  EXPECT_TRUE(IsWindowVisible(f->tsOne->Handle()));
  f->pcMain->SetActivePageIndex(1);
  EXPECT_TRUE(IsWindowVisible(f->tsTwo->Handle()));
  EXPECT_FALSE(IsWindowVisible(f->tsOne->Handle()));
  EXPECT_EQ(GetEnumProp(f->pcMain, "Style"), "tsbuttons");

  // Editable combo box: keys typed in its edit reach its OnKeyPress.
  ASSERT_NE(f->yCombo->EditHandle(), nullptr);
  for (char c : std::string("1a2"))
    SendMessageA(f->yCombo->EditHandle(), WM_CHAR, (unsigned char)c, 0);
  EXPECT_EQ(f->typed, "12");
  EXPECT_EQ(f->yCombo->Text(), "12");
  f->yCombo->SetItemIndex(1);
  EXPECT_EQ(f->yCombo->Text(), "10002");

  f->sbMain->SetPanelText(0, "正在准备登录服务器....");
  char buf[64] = {};
  SendMessageA(f->sbMain->Handle(), SB_GETTEXTA, 0, (LPARAM)buf);
  EXPECT_STREQ(buf, "正在准备登录服务器....");

  TTextAttributes red;
  red.Color = clRed;
  red.Size = 12;
  f->yMemo->AppendText("你好", red);
  f->yMemo->AppendText("\r\nabc", TTextAttributes{});
  EXPECT_EQ(f->yMemo->TextLength(), 6) << f->yMemo->Caption();
  EXPECT_EQ(f->yMemo->Lines().Count(), 2);
  EXPECT_EQ(f->yMemo->Lines()[0], "你好");
  SendMessageA(f->yMemo->Handle(), EM_SETSEL, 0, 1);
  EXPECT_EQ(f->yMemo->SelAttributes().Color, clRed);
  EXPECT_EQ(f->yMemo->SelAttributes().Size, 12);
}

TEST(Controls, SpeedButtonsOfAGroupAndATabSet) {
  App app;
  TOwned<TForm> form(new TForm(nullptr));
  form->SetBounds(40, 40, 300, 200);
  auto click = [](TControl* c, int x, int y) {
    c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  };
  TSpeedButton* b[2];
  int clicks = 0;
  for (int i = 0; i < 2; ++i) {
    b[i] = New<TSpeedButton>(form.get());
    b[i]->SetParent(form.get());
    b[i]->SetBounds(10 + 30 * i, 10, 25, 25);
    b[i]->SetGroupIndex(1);
    b[i]->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  }
  click(b[0], 5, 5);
  EXPECT_TRUE(b[0]->Down());
  click(b[1], 5, 5);
  EXPECT_TRUE(b[1]->Down());
  EXPECT_FALSE(b[0]->Down()) << "one button of a group is down";
  click(b[1], 5, 5);
  EXPECT_TRUE(b[1]->Down()) << "without AllowAllUp the down button stays down";
  b[1]->SetAllowAllUp(true);
  click(b[1], 5, 5);
  EXPECT_FALSE(b[1]->Down());
  click(b[0], 40, 5);
  EXPECT_FALSE(b[0]->Down()) << "a release outside the button is no click";
  EXPECT_EQ(clicks, 4);
  EXPECT_EQ(GetEnumProp(b[0], "Layout"), "blglyphleft");

  auto* tabs = New<TTabSet>(form.get());
  tabs->SetParent(form.get());
  tabs->SetBounds(10, 60, 260, 22);
  tabs->SetTabs({"One", "Two", "Three"});
  tabs->Handle();
  EXPECT_EQ(tabs->Components(0), tabs->Scroller()) << "the scroller is the first owned component";
  int changes = 0;
  tabs->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  int x = 0;
  while (x < 260 && tabs->TabAt(POINT{x, 10}) != 2) ++x;
  ASSERT_LT(x, 260);
  click(tabs, x + 2, 10);
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(tabs->Scroller()->Visible());
  tabs->SetTabs({"First tab", "Second tab", "Third tab", "Fourth tab", "Fifth tab", "Sixth tab"});
  EXPECT_TRUE(tabs->Scroller()->Visible()) << "more tabs than room";
  SendMessageA(tabs->Scroller()->Handle(), UDM_SETPOS32, 0, 2);
  SendMessageA(tabs->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), (LPARAM)tabs->Scroller()->Handle());
  EXPECT_EQ(tabs->FirstIndex(), 2);
  EXPECT_EQ(tabs->TabAt(POINT{8, 10}), 2) << "the first shown tab";
}
