// The details window; see uAllInfo.h.
#include "client/uAllInfo.h"

#include "platform/rtl/SysUtils.h"

TAllInfoFrm::TAllInfoFrm(TComponent* owner) : TForm(owner) {}

TPublishedTable TAllInfoFrm::Published() {
  using F = TAllInfoFrm;
  return {KARV_FIELD(F, Label1),      KARV_FIELD(F, Label2),    KARV_FIELD(F, Label3),       KARV_FIELD(F, Label4),
          KARV_FIELD(F, Label5),      KARV_FIELD(F, yUserNubmer), KARV_FIELD(F, yNickName), KARV_FIELD(F, yCompanyName),
          KARV_FIELD(F, yurl),        KARV_FIELD(F, yEmail),    KARV_FIELD(F, btnOk)};
}

void TAllInfoFrm::Fill(const TFriendRecord& record) {
  yUserNubmer->SetCaption(sys::IntToStr(record.Number()));
  yNickName->SetCaption(record.NickName());
  yCompanyName->SetCaption(record.CompanyName());
  yurl->SetCaption(record.WebAddress());
  yurl->SetURL(record.WebAddress());
  yEmail->SetCaption(record.Email());
}
