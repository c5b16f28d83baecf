// The details window: a requester's number, nickname, company, web address and e-mail.
// It has no behaviour of its own; whoever opens it fills it from a friend record.
// Contract: the request dialog shows it modally and frees it when the call returns. GUI
// thread only.
#pragma once
#include "core/ServiceRecords.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "widgets/StyleLabel.h"

class TAllInfoFrm : public TForm {
  KARV_CLASS(TAllInfoFrm, TForm)
 public:
  explicit TAllInfoFrm(TComponent* owner);

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* yUserNubmer = nullptr;
  TLabel* yNickName = nullptr;
  TLabel* yCompanyName = nullptr;
  TUrlLabel* yurl = nullptr;
  TLabel* yEmail = nullptr;
  TButton* btnOk = nullptr;

  // Number, nickname, company name, web address and e-mail of the record.
  void Fill(const TFriendRecord& record);
  TPublishedTable Published() override;
};
