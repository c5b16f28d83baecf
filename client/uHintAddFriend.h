// The incoming-request dialog: someone asks to become the user's friend. The main window
// opens one for each request that arrives, live or stored while the user was offline; the
// user accepts or refuses it. It frees itself when closed.
// Contract: owned by the application until it frees itself; HinfAddFriendFrm names the
// latest one and is cleared by that one only. GUI thread only.
#pragma once
#include <string>

#include "core/ServiceReplies.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"
#include "widgets/StyleLabel.h"

class THinfAddFriendFrm : public TForm {
  KARV_CLASS(THinfAddFriendFrm, TForm)
 public:
  explicit THinfAddFriendFrm(TComponent* owner);
  ~THinfAddFriendFrm() override;

  TUrlLabel* lblSource = nullptr;
  TLabel* lblSourceNumber = nullptr;
  TLabel* lblRequestTime = nullptr;
  TMemo* MemoMsg = nullptr;
  TRadioButton* RAllow = nullptr;
  TRadioButton* rReNO = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnCancel = nullptr;

  // A live request (protocol 43): the text, the requester's number and the time of now.
  void ShowRequest(const TFriendRequest& request);
  // A request from the stored list (protocol 47), with its own time.
  void ShowStoredRequest(const TStoredRequest& request);
  bool FromStoredList() const { return fromStored_; }
  // The record the answer is about: the stored request's record for a stored request.
  const TFriendRecord& Requester() const { return fromStored_ ? stored_.Record : requester_; }

  void btnOkClick(TObject* Sender);
  void btnCancelClick(TObject* Sender);
  void lblSourceClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  TPublishedTable Published() override;

 private:
  bool fromStored_ = false;
  TFriendRecord requester_;
  TStoredRequest stored_;
};

// The last request dialog the main window opened; only that dialog clears it.
extern THinfAddFriendFrm* HinfAddFriendFrm;
