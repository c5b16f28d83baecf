#include "client/uLogin.h"

#include "client/ServerHost.h"
#include "client/uMain.h"
#include "client/uRegisterFrm.h"
#include "client/uUpdateHint.h"
#include "core/MD5.h"
#include "core/uDataOperate.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/Base64.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncClientSocket.h"

namespace {
std::string PasswordHash(const std::string& password) { return MD5Print(MD5String(password)); }

// `text` as one argument of a command line, as the receiving program splits it: quoted,
// with quotes escaped and the backslashes before a quote doubled. It walks by character, so
// a trail byte 0x5C of a code-page-936 character is no backslash.
std::string QuotedArgument(const std::string& text) {
  std::string out = "\"";
  size_t backslashes = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = (unsigned char)text[i];
    if (IsDBCSLeadByteEx(936, c) && i + 1 < text.size()) {
      out.append(backslashes, '\\');
      backslashes = 0;
      out += text.substr(i++, 2);
      continue;
    }
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out += char(c);
  }
  // Before the closing quote they are doubled too.
  out.append(2 * backslashes, '\\');
  return out + "\"";
}

void RefusedLogin(const std::string& reason, const std::string& logLine) {
  seams::Dialogs().Ask(Application ? Application->Handle() : nullptr, "登陆失败!\r" + reason, "Tovrin客服",
                       MB_OK | MB_ICONINFORMATION);
  WriteErrorLog(logLine);
}
}  // namespace

TLoginFrm::TLoginFrm(TComponent* owner) : TForm(owner) {}

TLoginFrm::~TLoginFrm() = default;

void TLoginFrm::BeforeDestruction() {
  // A late connect or reply must never reach a freed window.
  if (ServiceClient) {
    ServiceClient->OnLoginReply.ClearIfOwner(this);
    ServiceClient->OnConnect.ClearIfOwner(this);
    ServiceClient->OnClose.ClearIfOwner(this);
  }
  TForm::BeforeDestruction();
}

TPublishedTable TLoginFrm::Published() {
  return {KARV_FIELDS(TLoginFrm, Panel1, Panel2, Panel3, Label1, Label2),
          KARV_FIELDS(TLoginFrm, Label3, yIP, yPassword, yRecordPassword, statusServer),
          KARV_FIELDS(TLoginFrm, btnLogin, btncancel, btnRegister, yUserid, BitBtn1, Image1),
          KARV_HANDLERS(TLoginFrm, FormCreate, FormShow, btnLoginClick, btncancelClick),
          KARV_HANDLERS(TLoginFrm, yCancelClick, btnRegisterClick, BitBtn1Click, yUseridKeyPress),
          KARV_HANDLERS(TLoginFrm, yUseridKeyDown, yPasswordExit, SocketConnect, SocketDisconnect, Login)};
}

HWND TLoginFrm::ParentHandleForCreate() { return GetDesktopWindow(); }

void TLoginFrm::FormCreate(TObject*) {
  // No task-bar button of its own either.
  HWND h = Handle();
  SetWindowLongPtrA(h, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
}

void TLoginFrm::SetStatus(const std::string& text) { statusServer->SetPanelText(0, text); }

void TLoginFrm::FormShow(TObject*) {
  try {
    ServiceClient->OnLoginReply = TPacketEvent(this, &TLoginFrm::Login);
    ServiceClient->OnConnect = TConnectEvent(this, &TLoginFrm::SocketConnect);
    ServiceClient->OnClose = TNotifyEvent(this, &TLoginFrm::SocketDisconnect);
    LoadLoginInfo();
    yUserid->Items().Clear();
    LoginHistory->Clear();
    // Every name is followed by a comma; what follows the last comma is not a name.
    const std::string& names = LoginData.HistoryLoginNames;
    for (size_t start = 0, comma; (comma = names.find(',', start)) != std::string::npos; start = comma + 1) {
      std::string name = names.substr(start, comma - start);
      LoginHistory->Add(name);
      yUserid->Items().Add(name);
    }
    if (LoginData.IsSave == "1") {
      yPassword->SetText(base64::Decode(LoginData.Password));
      yRecordPassword->SetChecked(true);
    } else {
      yRecordPassword->SetChecked(false);
    }
    yUserid->SetText(LoginData.Username);
    SetActiveControl(LoginData.Username.empty() ? static_cast<TWinControl*>(yUserid) : yPassword);
    // After a network loss the window keeps saying why it is shown.
    if (!Relogin) SetStatus("正在准备登录服务器....");
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TLoginFrm.FormShow出错");
  }
}

void TLoginFrm::yUseridKeyPress(TObject*, char& Key) {
  bool digit = Key >= '0' && Key <= '9';
  if (!digit && Key != 8 && Key != 13 && Key != 27) Key = 0;
}

void TLoginFrm::yUseridKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key == VK_RETURN) yPassword->SetFocus();
}

void TLoginFrm::yPasswordExit(TObject*) {}

void TLoginFrm::SetHostName(const std::string& host) {
  // Login and registration always use this port, whatever the ini file says.
  ServiceClient->Socket().SetAddr(host);
  ServiceClient->Socket().SetPort("8014");
}

void TLoginFrm::SetHostNameIndex(const std::string& text) { yIP->SetItemIndex(yIP->Items().IndexOf(text)); }

void TLoginFrm::StartConnection() {
  // A connection given up for lost (the machine's network went away) may still be open;
  // connecting over it would fail and tell the user the server cannot be reached.
  ServiceClient->Socket().Close();
  SetHostName(ServiceClient->DataModule ? ServiceClient->DataModule->GetAddress() : Data->GetAddress());
  ServiceClient->Connect();
}

void TLoginFrm::btnLoginClick(TObject*) {
  if (yUserid->Text().empty()) {
    ShowMsg("", "Karv号码不能为空");
    return;
  }
  LoginData.Host = yIP->Text();
  LoginData.Username = yUserid->Text();
  LoginData.Password = yPassword->Text();
  // A connection opened for a registration must not keep this one from logging in.
  RegisterMode = false;
  if (!IsConnected) {
    try {
      StartConnection();
    } catch (const std::exception& e) {
      WriteErrorLog(std::string(e.what()) + "TLoginFrm.btnLoginClick");
      ServiceClient->Socket().Close();
      // Nothing is waiting for a reply now: the user may try again.
      SetStatus("当前状态:无法连接服务器，请重新登陆服务器");
      return;
    }
    btnLogin->SetEnabled(false);
  } else {
    ServiceClient->SendLogin(LoginData.Username, PasswordHash(LoginData.Password));
  }
}

void TLoginFrm::SocketConnect(TObject*, uint8_t Failed) {
  if (Failed == 0) {
    SetStatus("当前状态:与服务器连接成功");
    IsConnected = true;
    LoginData.Host = yIP->Text();
    LoginData.Username = yUserid->Text();
    LoginData.Password = yPassword->Text();
    if (!RegisterMode) ServiceClient->SendLogin(LoginData.Username, PasswordHash(LoginData.Password));
  } else {
    ShowMsg("", "连接超时,无法连接服务器");
    SetStatus("当前状态:无法连接服务器，请重新登陆服务器");
    IsConnected = false;
    btnLogin->SetEnabled(true);
  }
}

void TLoginFrm::SocketDisconnect(TObject*) {
  SetStatus("当前状态:无法连接服务器，请重新登陆服务器");
  IsConnected = false;
  // A reply that never comes must not leave the button dead.
  btnLogin->SetEnabled(true);
}

void TLoginFrm::Login(TObject*, const uint8_t* Frame, int32_t Held) {
  LoginReply = ReplyRecord<TLoginReply>(Frame, Held);
  ServiceClient->OwnName = LoginReply.OwnName;
  ReplyValue = LoginReply.Value;
  SiteUrl = LoginReply.SiteUrl;
  switch (LoginReply.Result) {
    case 0:
      break;
    case 1:
      RefusedLogin("用户名错误", "登陆失败，用户名错误");
      btnLogin->SetEnabled(true);
      return;
    case 2:
      RefusedLogin("密码错误", "登陆失败,密码错误");
      btnLogin->SetEnabled(true);
      return;
    default:
      RefusedLogin("其它错误", "登陆失败,其它错误");
      btnLogin->SetEnabled(true);
      return;
  }
  StatusText = "登陆成功";
  if (yRecordPassword->Checked()) {
    IniFile->WriteString("Logininfo", "isSave", "1");
    IniFile->WriteString("LoginInfo", "pass", base64::Encode(LoginData.Password));
    LoginData.IsSave = "1";
  } else {
    LoginData.IsSave = "0";
    IniFile->WriteString("Logininfo", "isSave", "0");
    IniFile->WriteString("LoginInfo", "pass", base64::Encode(""));
  }
  SaveLoginInfo();
  if (LoginReply.UpdateFlag == 1) {
    RunUpdatePath();
    return;
  }
  if (MainFrm) MainFrm->LoginSucceeded(Relogin, LoginData.Username);
  Close();
  if (MainFrm) MainFrm->StartNetworkTimer();
}

void TLoginFrm::RunUpdatePath() {
  std::string text = sys::Format("Karvell当前版本%s ，发现最新版本%s ，建议", CurrentVersion.c_str(),
                                 LoginReply.NewestVersion.c_str());
  int result = mrCancel;
  {
    TOwned<TUpdateFrm> prompt(CreateForm<TUpdateFrm>(nullptr));
    prompt->labelInfo->SetCaption(text);
    result = prompt->ShowModal();
  }
  if (result == mrOk) {
    // One parameter: the server's version text must not split it or add others.
    std::string params = LoginReply.NewestVersion + "$$" + UpdateServers[0].Caption + "$$" + UpdateServers[1].Caption;
    seams::Shell().Open(sys::ExtractFilePath(sys::ParamStr(0)) + "Ostrel.exe", QuotedArgument(params));
  }
  // The server called this version outdated: it does not go on.
  ServiceClient->Socket().Close();
  Application->Terminate();
}

void TLoginFrm::btnRegisterClick(TObject*) {
  if (!IsConnected) {
    RegisterMode = true;
    try {
      StartConnection();
    } catch (const std::exception& e) {
      ServiceClient->Socket().Close();
      WriteErrorLog(std::string(e.what()) + "btnRegisterClick");
    }
  }
  std::string number;
  {
    TOwned<TRegisterFrm> registration(CreateForm<TRegisterFrm>(nullptr));
    registration->ShowModal();
    number = registration->RegisteredNumber;
  }
  // A new enterprise logs in with the number it was just given.
  if (!number.empty()) {
    if (yUserid->Items().IndexOf(number) < 0) yUserid->Items().Add(number);
    yUserid->SetText(number);
  }
}

void TLoginFrm::BitBtn1Click(TObject*) {
  TOwned<TfrmServerHost> settings(CreateForm<TfrmServerHost>(nullptr));
  settings->ShowModal();
}

void TLoginFrm::btncancelClick(TObject*) { Application->Terminate(); }

void TLoginFrm::yCancelClick(TObject*) { Application->Terminate(); }

void TLoginFrm::ShowNetBroken() { SetStatus("网络断开，请重新登陆服务器"); }
