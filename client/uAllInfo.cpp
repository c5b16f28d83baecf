// The details window; see uAllInfo.h.
#include "client/uAllInfo.h"

#include "platform/rtl/SysUtils.h"

TAllInfoFrm::TAllInfoFrm(TComponent* owner) : TForm(owner) {}

TPublishedTable TAllInfoFrm::Published() {
  using F = TAllInfoFrm;
  return {KARV_FIELDS(F, Label1, Label2, Label3, Label4, Label5),
          KARV_FIELDS(F, yUserNubmer, yNickName, yCompanyName, yurl, yEmail, btnOk)};
}

void TAllInfoFrm::Fill(const TFriendRecord& record) {
  yUserNubmer->SetCaption(sys::IntToStr(record.Number()));
  yNickName->SetCaption(record.NickName());
  yCompanyName->SetCaption(record.CompanyName());
  yurl->SetCaption(record.WebAddress());
  yurl->SetURL(record.WebAddress());
  yEmail->SetCaption(record.Email());
}
