// The send-request dialog; see uPassAddFriend.h.
#include "client/uPassAddFriend.h"

#include "core/uHelpers.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/SysUtils.h"

TPassAddFrm::TPassAddFrm(TComponent* owner) : TForm(owner) {}

TPublishedTable TPassAddFrm::Published() {
  using F = TPassAddFrm;
  return {KARV_FIELD(F, Label1),         KARV_FIELD(F, Label2),  KARV_FIELD(F, Label3),
          KARV_FIELD(F, lblEnterpriseNubmer), KARV_FIELD(F, lblCompanyName),
          KARV_FIELD(F, yPassInfo),      KARV_FIELD(F, btnOk),   KARV_FIELD(F, BitBtn2),
          KARV_HANDLER(F, btnOkClick),   KARV_HANDLER(F, BitBtn2Click)};
}

void TPassAddFrm::SetTarget(const std::string& number, const std::string& companyName) {
  number_ = number;
  companyName_ = companyName;
  lblEnterpriseNubmer->SetCaption(number);
  lblCompanyName->SetCaption(companyName);
}

void TPassAddFrm::btnOkClick(TObject*) {
  std::string text = yPassInfo->Text();
  if (text.empty()) {
    ShowMsg("", "请输入验证信息");
    return;
  }
  record_.SetNumber((uint32_t)sys::StrToIntDef(number_, 0));
  if (ServiceClient) ServiceClient->SendAddFriendRequest(record_, text);
  SetModalResult(mrOk);
  Close();
}

void TPassAddFrm::BitBtn2Click(TObject*) { Close(); }
