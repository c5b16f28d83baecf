// The incoming-request dialog; see uHintAddFriend.h.
#include "client/uHintAddFriend.h"

#include "client/uAllInfo.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"

THinfAddFriendFrm* HinfAddFriendFrm = nullptr;

THinfAddFriendFrm::THinfAddFriendFrm(TComponent* owner) : TForm(owner) {}

THinfAddFriendFrm::~THinfAddFriendFrm() {
  if (HinfAddFriendFrm == this) HinfAddFriendFrm = nullptr;
}

TPublishedTable THinfAddFriendFrm::Published() {
  using F = THinfAddFriendFrm;
  return {KARV_FIELDS(F, lblSource, lblSourceNumber, lblRequestTime, MemoMsg, RAllow, rReNO, btnOk, btnCancel),
          KARV_HANDLERS(F, btnOkClick, btnCancelClick, lblSourceClick, FormClose)};
}

void THinfAddFriendFrm::ShowRequest(const TFriendRequest& request) {
  fromStored_ = false;
  requester_ = request.Requester;
  MemoMsg->SetText(request.Text);
  lblSource->SetCaption(sys::IntToStr(request.Requester.Number()));
  lblRequestTime->SetCaption("附加信息(" + dt::DateTimeToStr(dt::Now()) + ")");
}

void THinfAddFriendFrm::ShowStoredRequest(const TStoredRequest& request) {
  fromStored_ = true;
  stored_ = request;
  MemoMsg->SetText(request.Text);
  lblSource->SetCaption(sys::IntToStr(request.Requester));
  lblRequestTime->SetCaption("附加信息(" + dt::DateTimeToStr(request.Time) + ")");
}

void THinfAddFriendFrm::btnOkClick(TObject*) {
  try {
    if (ServiceClient) {
      std::string requester = lblSource->Caption();
      if (RAllow->Checked()) {
        ServiceClient->SendFriendReply44(LoginData.Username, requester);
        ServiceClient->UserManager->AddEnterpriseFriend(Requester());
        ServiceClient->FireHintEvent();
      } else if (rReNO->Checked()) {
        ServiceClient->SendFriendReply45(requester, LoginData.Username);
      }
    }
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "THinfAddFriendFrm.btnOkClick出错");
  }
  Close();
}

void THinfAddFriendFrm::btnCancelClick(TObject*) { Close(); }

void THinfAddFriendFrm::lblSourceClick(TObject*) {
  TOwned<TAllInfoFrm> info(CreateForm<TAllInfoFrm>(nullptr));
  info->Fill(Requester());
  info->ShowModal();
}

void THinfAddFriendFrm::FormClose(TObject*, TCloseAction& Action) { Action = TCloseAction::caFree; }
