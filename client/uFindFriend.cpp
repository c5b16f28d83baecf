// The find-contact window; see uFindFriend.h.
#include "client/uFindFriend.h"

#include "client/uPassAddFriend.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/SysUtils.h"

TFindFriendFrm::TFindFriendFrm(TComponent* owner) : TForm(owner) {}

TPublishedTable TFindFriendFrm::Published() {
  using F = TFindFriendFrm;
  return {KARV_FIELDS(F, PageControl1, TabSheet1, Panel2, Label1, Label2, yAccount, yCompanyName),
          KARV_FIELDS(F, btnFind, btnClose, Panel5, Label3, yListFriend, btnBack, btnAddFriend, btnexit),
          KARV_HANDLERS(F, FormCreate, FormShow, btnFindClick, btnBackClick),
          KARV_HANDLERS(F, btnAddFriendClick, btnCloseClick, btnexitClick, yAccountKeyDown, yCompanyNameKeyDown)};
}

void TFindFriendFrm::BeforeDestruction() {
  // A late search result must never reach a freed window.
  if (ServiceClient) {
    ServiceClient->OnFindResult.ClearIfOwner(this);
    ServiceClient->OnAlreadyFriend.ClearIfOwner(this);
  }
  TForm::BeforeDestruction();
}

void TFindFriendFrm::FormCreate(TObject*) {
  if (!ServiceClient) return;
  ServiceClient->OnFindResult = TPacketEvent(this, &TFindFriendFrm::OnFindResult);
  ServiceClient->OnAlreadyFriend = TPacketEvent(this, &TFindFriendFrm::OnAlreadyFriend);
}

void TFindFriendFrm::FormShow(TObject*) { yAccount->SetFocus(); }

void TFindFriendFrm::yAccountKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  Key = 0;
  yCompanyName->SetFocus();
}

void TFindFriendFrm::yCompanyNameKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  Key = 0;
  btnFind->Click();
}

void TFindFriendFrm::btnFindClick(TObject*) {
  std::string account = yAccount->Text(), company = yCompanyName->Text();
  if (account.empty() && company.empty()) {
    ShowMsg("", "请至少输入一个查询条件");
    return;
  }
  if (ServiceClient) ServiceClient->SendFindFriend(account, company);
}

void TFindFriendFrm::OnFindResult(TObject*, const uint8_t* Frame, int32_t Held) {
  const auto found = ReplyRecord<std::vector<TFriendRecord>>(Frame, Held);
  Panel2->SetVisible(false);
  Panel5->SetAlign(TAlign::alClient);
  Panel5->SetVisible(true);
  yListFriend->BeginUpdate();
  yListFriend->Clear();
  for (const TFriendRecord& r : found) {
    TListItem* item = yListFriend->Add();
    item->SetCaption(sys::IntToStr(r.Number()));
    item->AddSubItem(r.CompanyName());
    item->AddSubItem(r.NickName());
    item->AddSubItem(r.State() == 1 ? "(在线)" : "(离线)");
  }
  yListFriend->EndUpdate();
  if (yListFriend->Count() > 0) yListFriend->SetItemIndex(0);
}

void TFindFriendFrm::OnAlreadyFriend(TObject*, const uint8_t* Frame, int32_t Held) {
  ShowMsg("", sys::IntToStr(ReplyRecord<uint32_t>(Frame, Held)) + "已是您的好友无须再添加");
}

void TFindFriendFrm::btnBackClick(TObject*) {
  Panel5->SetVisible(false);
  Panel2->SetVisible(true);
  yAccount->SetFocus();
}

void TFindFriendFrm::btnAddFriendClick(TObject*) {
  TListItem* item = yListFriend->Selected();
  if (!item) return;
  chosenNumber_ = item->Caption();
  chosenCompany_ = item->SubItem(0);
  if (chosenNumber_ == LoginData.Username) {
    ShowMsg("", "不能添加自己为好友");
    return;
  }
  TOwned<TPassAddFrm> dialog(CreateForm<TPassAddFrm>(nullptr));
  dialog->SetTarget(chosenNumber_, chosenCompany_);
  dialog->ShowModal();
}

void TFindFriendFrm::btnCloseClick(TObject*) { Close(); }
void TFindFriendFrm::btnexitClick(TObject*) { Close(); }
