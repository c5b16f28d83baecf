// The find-contact window: searches the service for an enterprise by account or company
// name, lists what it found, and starts a friend request for the chosen row. It takes over
// the server's search-result and already-a-friend events while it exists.
// Contract: the main window shows it modally and frees it when the call returns; it gives the
// events back in BeforeDestruction, so a late reply never reaches a freed window. GUI thread.
#pragma once
#include <cstdint>
#include <string>

#include "core/ServiceRecords.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListView.h"
#include "platform/forms/StdCtrls.h"

class TFindFriendFrm : public TForm {
  KARV_CLASS(TFindFriendFrm, TForm)
 public:
  explicit TFindFriendFrm(TComponent* owner);

  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TPanel* Panel2 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* yAccount = nullptr;
  TEdit* yCompanyName = nullptr;
  TButton* btnFind = nullptr;
  TButton* btnClose = nullptr;
  TPanel* Panel5 = nullptr;
  TLabel* Label3 = nullptr;
  TListView* yListFriend = nullptr;
  TButton* btnBack = nullptr;
  TButton* btnAddFriend = nullptr;
  TButton* btnexit = nullptr;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void btnFindClick(TObject* Sender);
  void btnBackClick(TObject* Sender);
  void btnAddFriendClick(TObject* Sender);
  void btnCloseClick(TObject* Sender);
  void btnexitClick(TObject* Sender);
  void yAccountKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void yCompanyNameKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void OnFindResult(TObject* Sender, const uint8_t* Frame, int32_t Held);
  void OnAlreadyFriend(TObject* Sender, const uint8_t* Frame, int32_t Held);
  TPublishedTable Published() override;

 protected:
  void BeforeDestruction() override;

 private:
  std::string chosenNumber_;
  std::string chosenCompany_;
  TFriendRecord record_;
};
