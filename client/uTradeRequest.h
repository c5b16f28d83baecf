// The form for the service's replies to trade postings. It carries its controls only; no
// code fills them.
// Contract: made once by the program block and owned by the application. GUI thread only.
#pragma once
#include "platform/forms/Buttons.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"

class TTradeRequestFrm : public TForm {
  KARV_CLASS(TTradeRequestFrm, TForm)
 public:
  using TForm::TForm;
  TGroupBox* GroupBox1 = nullptr;
  TListView* ListView1 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* yID = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* Edit1 = nullptr;
  TButton* BitBtn1 = nullptr;
  TButton* BitBtn2 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TMemo* Memo1 = nullptr;
  TPublishedTable Published() override;

 protected:
  HWND ParentHandleForCreate() override;
};

extern TTradeRequestFrm* TradeRequestFrm;
