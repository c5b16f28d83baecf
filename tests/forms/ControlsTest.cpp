// The list, page, status and rich-edit controls, built from a description.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Memo.h"
#include "platform/forms/Properties.h"
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
