// The registration dialog: checks what a new enterprise entered, sends the registration
// request over the server connection and reacts to the answer; on success it shows the
// assigned number and the web-site script code and stores the number for the login window.
// It holds the connection's registration-reply event while it exists.
// Contract: the login window shows it modally and frees it when the call returns; the reply
// event and its reply timer are let go in BeforeDestruction. GUI thread only.
#pragma once
#include <cstdint>
#include <string>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/Image.h"
#include "platform/forms/StdCtrls.h"

class TRegisterFrm : public TForm {
  KARV_CLASS(TRegisterFrm, TForm)
 public:
  explicit TRegisterFrm(TComponent* owner);

  TGroupBox* GroupBox1 = nullptr;
  TImage* Image1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label9 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* yAccount = nullptr;
  TLabel* Label10 = nullptr;
  TLabel* Label4 = nullptr;
  TEdit* yPass = nullptr;
  TLabel* Label12 = nullptr;
  TLabel* Label5 = nullptr;
  TEdit* yOkPass = nullptr;
  TLabel* Label13 = nullptr;
  TLabel* Label6 = nullptr;
  TEdit* yEmail = nullptr;
  TLabel* Label14 = nullptr;
  TLabel* Label7 = nullptr;
  TEdit* yNickName = nullptr;
  TLabel* Label11 = nullptr;
  TLabel* Label8 = nullptr;
  TEdit* yurl = nullptr;
  TLabel* Label15 = nullptr;
  TButton* btnRegister = nullptr;
  TButton* btnCancel = nullptr;

  // The number the server assigned, once registration succeeded; the login window offers it.
  std::string RegisteredNumber;

  void FormShow(TObject* Sender);
  void btnRegisterClick(TObject* Sender);
  void btnCancelClick(TObject* Sender);
  void RegisterReply(TObject* Sender, uint8_t Result, uint32_t Account, const std::string& Text);
  static bool CheckUrl(const std::string& text);
  static bool CheckEmail(const std::string& text);
  TPublishedTable Published() override;

 protected:
  void BeforeDestruction() override;

 private:
  void ReplyTimeout(TObject* Sender);
  void SetStatus(const std::string& text);
  std::string ExampleAddress() const;
  TTimer* replyTimer_ = nullptr;
};

// How long the window waits for the server's answer before it says that none came.
inline constexpr int kRegisterReplyWaitMs = 30000;
