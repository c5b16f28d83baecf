// The send-request dialog; see uPassAddFriend.h.
#include "client/uPassAddFriend.h"

#include "core/uHelpers.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/SysUtils.h"

TPassAddFrm::TPassAddFrm(TComponent* owner) : TForm(owner) {}

TPublishedTable TPassAddFrm::Published() {
  using F = TPassAddFrm;
  return {KARV_FIELDS(F, Label1, Label2, Label3, lblEnterpriseNubmer, lblCompanyName, yPassInfo, btnOk, BitBtn2),
          KARV_HANDLERS(F, btnOkClick, BitBtn2Click)};
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
