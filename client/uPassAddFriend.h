// The send-request dialog: asks the service to make the chosen enterprise a friend, with a
// verification text the other side sees. Shown modally by the find-contact window.
// Contract: the find-contact window frees it when the modal call returns. GUI thread only.
#pragma once
#include <string>

#include "core/ServiceRecords.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"

class TPassAddFrm : public TForm {
  KARV_CLASS(TPassAddFrm, TForm)
 public:
  explicit TPassAddFrm(TComponent* owner);

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* lblEnterpriseNubmer = nullptr;
  TLabel* lblCompanyName = nullptr;
  TRichEdit* yPassInfo = nullptr;
  TButton* btnOk = nullptr;
  TBitBtn* BitBtn2 = nullptr;

  // The enterprise to ask, shown in the two labels.
  void SetTarget(const std::string& number, const std::string& companyName);

  void btnOkClick(TObject* Sender);
  void BitBtn2Click(TObject* Sender);
  TPublishedTable Published() override;

 private:
  std::string number_;
  std::string companyName_;
  TFriendRecord record_;
};
