// The report-style list view, actions on buttons and the colour dialog, built from a
// description, checked against their real windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "platform/forms/ActnList.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Properties.h"
#include "platform/forms/ScreenFonts.h"
#include "platform/forms/StdCtrls.h"
#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"

class TListViewFrm : public TForm {
  KARV_CLASS(TListViewFrm, TForm)
 public:
  using TForm::TForm;
  TListView* yList = nullptr;
  TButton* btnSend = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction* actSend = nullptr;
  TColorDialog* ColorDialog1 = nullptr;
  int sent = 0;
  void actSendExecute(TObject*) { ++sent; }
  TPublishedTable Published() override {
    using F = TListViewFrm;
    return {KARV_FIELD(F, yList), KARV_FIELD(F, btnSend), KARV_FIELD(F, ActionList1), KARV_FIELD(F, actSend),
            KARV_FIELD(F, ColorDialog1), KARV_HANDLER(F, actSendExecute)};
  }
};

namespace {
struct App {
  App() { testing_support::TestApplication(); }
};

std::string Cell(HWND h, int row, int column) {
  char buf[256] = {};
  LVITEMA it{};
  it.iSubItem = column;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  SendMessageA(h, LVM_GETITEMTEXTA, row, (LPARAM)&it);
  return buf;
}
}  // namespace

TEST(ListView, ColumnsRowsAndSelectionBeforeAndAfterTheWindow) {
  App app;
  TOwned<TListViewFrm> f(CreateForm<TListViewFrm>(nullptr));
  TListView* l = f->yList;
  EXPECT_EQ(GetEnumProp(l, "ViewStyle"), "vsreport");
  ASSERT_EQ(l->ColumnCount(), 3);
  EXPECT_EQ(l->Column(1).Caption, "企业名称");
  EXPECT_EQ(l->Column(1).Width, 120);

  // Rows added before the window exists reach it, selection included.
  TListItem* first = l->Add();
  first->SetCaption("10001");
  first->AddSubItem("卡维尔");
  first->AddSubItem("(在线)");
  l->SetItemIndex(0);
  f->Show();
  HWND h = l->Handle();
  HWND header = (HWND)SendMessageA(h, LVM_GETHEADER, 0, 0);
  EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(h, LVM_GETCOLUMNWIDTH, 0, 0), 100);
  EXPECT_EQ(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(Cell(h, 0, 1), "卡维尔");
  EXPECT_EQ(l->Selected(), first);

  // Rows added afterwards, a sub-item set past the end, deleting and clearing.
  l->BeginUpdate();
  TListItem* second = l->Add();
  second->SetCaption("10002");
  second->SetSubItem(1, "(离线)");
  l->EndUpdate();
  EXPECT_EQ(Cell(h, 1, 0), "10002");
  EXPECT_EQ(Cell(h, 1, 1), "");
  EXPECT_EQ(Cell(h, 1, 2), "(离线)");
  EXPECT_EQ(second->SubItem(5), "");
  l->SetItemIndex(1);
  EXPECT_EQ(l->ItemIndex(), 1);
  EXPECT_FALSE(first->Selected());
  l->Delete(0);
  EXPECT_EQ(second->Index(), 0);
  EXPECT_EQ(Cell(h, 0, 0), "10002");
  l->Clear();
  EXPECT_EQ(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(l->Selected(), nullptr);
  EXPECT_EQ(l->ItemIndex(), -1);
}

TEST(ListView, ButtonsRunTheirActionAndShortcutsFindIt) {
  App app;
  TOwned<TListViewFrm> f(CreateForm<TListViewFrm>(nullptr));
  EXPECT_EQ(f->btnSend->Caption(), "发送");
  f->btnSend->Click();
  EXPECT_EQ(f->sent, 1);
  EXPECT_EQ(f->actSend->ShortCut(), ShortCut(VK_RETURN, ssCtrl));
  EXPECT_EQ(f->actSend->ActionList(), f->ActionList1);
  EXPECT_TRUE(f->ActionList1->IsShortCut(ShortCut(VK_RETURN, ssCtrl)));
  EXPECT_FALSE(f->ActionList1->IsShortCut(ShortCut(VK_RETURN, 0)));
  EXPECT_EQ(f->sent, 2);
  f->actSend->SetEnabled(false);
  f->btnSend->Click();
  EXPECT_EQ(f->sent, 2);
}

namespace {
UINT colourAnswer;
// Answers the colour dialog once it is up; a timer procedure, since the dialog runs its own loop.
void CALLBACK PressColourAnswer(HWND, UINT, UINT_PTR id, DWORD) {
  if (auto box = (HWND)testing_support::FindOwnWindow("#32770")) {
    PostMessageA(box, WM_COMMAND, colourAnswer, 0);
    KillTimer(nullptr, id);
  }
}
}  // namespace

TEST(ColorDialog, OkKeepsTheChosenColourAndCancelReportsFalse) {
  App app;
  TOwned<TListViewFrm> f(CreateForm<TListViewFrm>(nullptr));
  f->Show();
  UINT& answer = colourAnswer;
  auto press = PressColourAnswer;
  f->ColorDialog1->SetColor(0x00336699);
  answer = IDOK;
  SetTimer(nullptr, 0, 50, press);
  EXPECT_TRUE(f->ColorDialog1->Execute());
  EXPECT_EQ(f->ColorDialog1->Color(), 0x00336699);
  answer = IDCANCEL;
  SetTimer(nullptr, 0, 50, press);
  EXPECT_FALSE(f->ColorDialog1->Execute());
}

TEST(ScreenFonts, TheScreenHasFamilies) {
  std::vector<std::string> names = EnumScreenFontFamilies();
  EXPECT_FALSE(names.empty());
  for (const auto& n : names) EXPECT_FALSE(n.empty());
}
