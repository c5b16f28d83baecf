// The registration dialog; see uRegisterFrm.h.
#include "client/uRegisterFrm.h"

#include "client/uEnterprise.h"
#include "core/uDataOperate.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"
#include "webtools/PcreRegex.h"

namespace {

// The hyphen of the path class is escaped: PCRE2 refuses a range from a class such as "\w".
const char kUrlPattern[] = R"(^http://([\w-]+\.)+[\w-]+(/[\w\-./?%&=]*)?$)";
const char kEmailPattern[] = R"(^[_a-z0-9-]+(\.[_a-z0-9-]+)*@[a-z0-9-]+(\.[a-z0-9-]+)*$)";

// Whether `subject` matches `pattern` (no options); a pattern that does not compile matches nothing.
bool Matches(const char* pattern, const std::string& subject) {
  TPcreRegex regex(nullptr);
  regex.SetOptions(0);  // the object starts case-insensitive
  regex.SetRegEx(pattern);
  regex.SetSubject(subject);
  try {
    return regex.Match();
  } catch (const Exception&) {
    return false;
  }
}

struct InputCheck {
  bool (*failed)(const TRegisterFrm&);
  const char* message;
  TEdit* TRegisterFrm::*focus;
};

// In the order the user is told about them; the first that fails stops the registration.
const InputCheck kChecks[] = {
    {[](const TRegisterFrm& f) { return f.yAccount->Text().empty(); }, "单位名称不能为空", &TRegisterFrm::yAccount},
    {[](const TRegisterFrm& f) { return f.yNickName->Text().empty(); }, "昵称不能为空", &TRegisterFrm::yNickName},
    {[](const TRegisterFrm& f) { return f.yPass->Text().empty(); }, "密码不能为空", &TRegisterFrm::yPass},
    {[](const TRegisterFrm& f) { return f.yPass->Text().size() < 6; }, "密码长度不能少于6位", &TRegisterFrm::yPass},
    {[](const TRegisterFrm& f) { return f.yOkPass->Text() != f.yPass->Text(); }, "密码输入不一致，请重新输入",
     &TRegisterFrm::yOkPass},
    {[](const TRegisterFrm& f) { return f.yEmail->Text().empty(); }, "邮箱不能为空", &TRegisterFrm::yEmail},
    {[](const TRegisterFrm& f) { return !TRegisterFrm::CheckEmail(f.yEmail->Text()); }, "请输入正确的邮箱格式",
     &TRegisterFrm::yEmail},
};

}  // namespace

TRegisterFrm::TRegisterFrm(TComponent* owner) : TForm(owner) {
  replyTimer_ = new TTimer(this);
  replyTimer_->SetName("ReplyTimer");
  replyTimer_->SetEnabled(false);
  replyTimer_->SetInterval(kRegisterReplyWaitMs);
  replyTimer_->OnTimer = TNotifyEvent(this, &TRegisterFrm::ReplyTimeout);
}

TPublishedTable TRegisterFrm::Published() {
  using F = TRegisterFrm;
  return {KARV_FIELDS(F, GroupBox1, Image1, Label2, Label3, StatusBar1, GroupBox2),
          KARV_FIELDS(F, Label9, Label1, yAccount, Label10, Label4, yPass, Label12),
          KARV_FIELDS(F, Label5, yOkPass, Label13, Label6, yEmail, Label14, Label7),
          KARV_FIELDS(F, yNickName, Label11, Label8, yurl, Label15, btnRegister, btnCancel),
          KARV_HANDLERS(F, FormShow, btnRegisterClick, btnCancelClick)};
}

void TRegisterFrm::BeforeDestruction() {
  // A late answer must not reach a freed window.
  if (ServiceClient) ServiceClient->OnRegisterReply.ClearIfOwner(this);
  TForm::BeforeDestruction();
}

bool TRegisterFrm::CheckUrl(const std::string& text) { return Matches(kUrlPattern, text); }

bool TRegisterFrm::CheckEmail(const std::string& text) { return Matches(kEmailPattern, text); }

std::string TRegisterFrm::ExampleAddress() const {
  return "http://" + (IniFile ? IniFile->ReadString("Logininfo", "host", kServiceWebHost) : std::string(kServiceWebHost));
}

void TRegisterFrm::SetStatus(const std::string& text) { StatusBar1->SetPanelText(0, text); }

void TRegisterFrm::FormShow(TObject*) {
  if (ServiceClient) ServiceClient->OnRegisterReply = TRegisterEvent(this, &TRegisterFrm::RegisterReply);
  Label15->SetCaption(" 填写您的正确网址，审核后将获\r\n  免费链接宣传，网址格式举例\r\n  例:" + ExampleAddress());
}

void TRegisterFrm::btnRegisterClick(TObject*) {
  for (const InputCheck& c : kChecks) {
    if (!c.failed(*this)) continue;
    ShowMsg("", c.message);
    (this->*c.focus)->SetFocus();
    return;
  }
  std::string url = yurl->Text();
  if (!url.empty() && !CheckUrl(url)) {
    ShowMsg("", "请输入正确的网址格式，如:" + ExampleAddress());
    yurl->SetFocus();
    return;
  }
  // Sending without a connection would wait for an answer that cannot come.
  if (!ServiceClient || !IsConnected) {
    ShowMsg("", "无法连接服务器，请稍后重新注册");
    SetStatus("无法连接服务器");
    return;
  }
  RegisterInfo.CompanyName = yAccount->Text();
  RegisterInfo.DisplayName = yNickName->Text();
  RegisterInfo.Password = yPass->Text();
  RegisterInfo.Email = yEmail->Text();
  RegisterInfo.WebAddress = url.find("http://") == std::string::npos ? "http://" + url : url;
  RegisterInfo.MacAddress = GetMacAddress();
  ServiceClient->SendRegister();
  SetStatus("正在注册...");
  replyTimer_->SetEnabled(false);
  replyTimer_->SetEnabled(true);
}

void TRegisterFrm::ReplyTimeout(TObject*) {
  replyTimer_->SetEnabled(false);
  SetStatus("服务器没有应答，请重新注册");
}

void TRegisterFrm::RegisterReply(TObject*, uint8_t Result, uint32_t Account, const std::string& Text) {
  replyTimer_->SetEnabled(false);
  switch (Result) {
    case 0: {
      SetStatus("注册成功");
      std::string number = sys::IntToStr((int64_t)Account);
      {
        TOwned<TEnterpriseNubmerFrm> shown(CreateForm<TEnterpriseNubmerFrm>(nullptr));
        shown->yNumber->SetText(number);
        shown->yLinkScript->SetText(Text);
        shown->ShowModal();
      }
      if (Data) {
        TSelfInfo info;
        info.Username = number;
        Data->EditUserInfo(info, false);
      }
      RegisteredNumber = number;
      Close();
      break;
    }
    case 3:
    case 4:
      SetStatus(Result == 3 ? "注册失败" : "10分钟内不能重复注册");
      seams::Dialogs().Ask(Handle(), Result == 3 ? "注册失败!\r\n请重新注册" : "注册失败!\r\n10分钟内不能重复注册",
                           "Tovrin客服", MB_OK | MB_ICONERROR);
      yAccount->SetFocus();
      break;
    default:
      break;
  }
}

void TRegisterFrm::btnCancelClick(TObject*) { Close(); }
