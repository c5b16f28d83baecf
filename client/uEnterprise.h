// The small window that shows a newly registered enterprise its number and the script code
// for its web site. It has no code of its own.
// Contract: the registration dialog shows it modally and frees it when the call returns. GUI
// thread only.
#pragma once
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"

class TEnterpriseNubmerFrm : public TForm {
  KARV_CLASS(TEnterpriseNubmerFrm, TForm)
 public:
  using TForm::TForm;
  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* yNumber = nullptr;
  TLabel* Label2 = nullptr;
  TRichEdit* yLinkScript = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TRichEdit* yNetScript = nullptr;
  TPublishedTable Published() override;
};
