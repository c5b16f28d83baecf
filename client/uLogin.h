// The login dialog: connects to the server line of the personal database, sends the login
// request, handles the reply, remembers the login, and either hands over to the main window
// or, when the server knows a newer version, offers the updater and ends the program.
// GUI thread only; whoever makes it frees it. While it exists it holds the service
// connection's login, connect and close events, and clears those it still holds before it
// goes.
#pragma once
#include <cstdint>
#include <string>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Image.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/StdCtrls.h"

class TLoginFrm : public TForm {
  KARV_CLASS(TLoginFrm, TForm)
 public:
  explicit TLoginFrm(TComponent* owner);
  ~TLoginFrm() override;

  TPanel* Panel1 = nullptr;
  TPanel* Panel2 = nullptr;
  TPanel* Panel3 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TComboBox* yIP = nullptr;
  TEdit* yPassword = nullptr;
  TCheckBox* yRecordPassword = nullptr;
  TStatusBar* statusServer = nullptr;
  TButton* btnLogin = nullptr;
  TButton* btncancel = nullptr;
  TButton* btnRegister = nullptr;
  TComboBox* yUserid = nullptr;
  TButton* BitBtn1 = nullptr;
  TImage* Image1 = nullptr;

  bool RegisterMode = false;
  std::string StatusText;
  bool Relogin = false;
  uint32_t ReplyValue = 0;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void btnLoginClick(TObject* Sender);
  void btncancelClick(TObject* Sender);
  void yCancelClick(TObject* Sender);
  void btnRegisterClick(TObject* Sender);
  void BitBtn1Click(TObject* Sender);
  void yUseridKeyPress(TObject* Sender, char& Key);
  void yUseridKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void yPasswordExit(TObject* Sender);
  void SocketConnect(TObject* Sender, uint8_t Failed);
  void SocketDisconnect(TObject* Sender);
  void Login(TObject* Sender, const uint8_t* Frame, int32_t Held);
  void SetHostName(const std::string& host);
  void SetHostNameIndex(const std::string& text);
  // The main window's network timer found the network gone.
  void ShowNetBroken();
  TPublishedTable Published() override;

 protected:
  HWND ParentHandleForCreate() override;
  void BeforeDestruction() override;

 private:
  void SetStatus(const std::string& text);
  void StartConnection();
  void RunUpdatePath();
};
