// The settings window; see ServerHost.h.
#include "client/ServerHost.h"

#include "client/uBackUp.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncClientSocket.h"

std::vector<THostLine> HostLines;

namespace {
constexpr int kPageLeft = 115, kPageTop = 8;
constexpr int kDefaultHintDays = 30;

// The data module the connection holds; the global one when there is no connection.
TData* Db() { return ServiceClient && ServiceClient->DataModule ? ServiceClient->DataModule : Data; }
}  // namespace

TfrmServerHost::TfrmServerHost(TComponent* owner) : TForm(owner) {}

TPublishedTable TfrmServerHost::Published() {
  using F = TfrmServerHost;
  return {KARV_FIELDS(F, Panel1, yTrewView, btnOK, BtnCancel, PanelConfig, Label1, ListBoxShortMessage),
          KARV_FIELDS(F, yShortChar, btnAdd, PanelNet, yLineChoice, PanelDomain, Label3, yCallDate),
          KARV_FIELDS(F, Label4, yDomain, Label5, lblExample, GroupShortCut, Label2, yShortCut),
          KARV_HANDLERS(F, FormShow, btnOKClick, BtnCancelClick, yTrewViewClick, btnAddClick)};
}

std::string TfrmServerHost::StripWww(const std::string& text) {
  size_t at = text.find("www.");
  return at == std::string::npos ? std::string() : text.substr(at + 4);
}

void TfrmServerHost::ShowPage(TControl* page) {
  for (TControl* p : {(TControl*)PanelConfig, (TControl*)PanelNet, (TControl*)PanelDomain, (TControl*)GroupShortCut})
    if (p != page) p->SetVisible(false);
  page->SetBounds(kPageLeft, kPageTop, page->Width(), page->Height());
  page->SetVisible(true);
}

void TfrmServerHost::FormShow(TObject*) {
  Db()->ReadHostList(HostLines);
  yLineChoice->Items().Clear();
  for (const THostLine& line : HostLines) yLineChoice->Items().Add(line.HostDescription);
  yTrewView->Select(0);
  std::string line;
  Db()->ReadLineConfig(line);
  yLineChoice->SetItemIndex(yLineChoice->Items().IndexOf(line));
  ListBoxShortMessage->Items().Clear();
  if (ShortWords)
    for (int i = 0; i < ShortWords->Count(); ++i) ListBoxShortMessage->Items().Add((*ShortWords)[i]);
  if (ListBoxShortMessage->Items().Count() > 0) ListBoxShortMessage->SetItemIndex(0);
  ShowPage(PanelConfig);
  std::string host = IniFile ? IniFile->ReadString("Logininfo", "host", kServiceWebHost) : kServiceWebHost;
  std::string example = StripWww(host);
  lblExample->SetCaption(example.empty() ? host : example);
}

void TfrmServerHost::yTrewViewClick(TObject*) {
  std::string entry = yTrewView->SelectedText();
  if (entry == "常用选项") {
    ShowPage(PanelConfig);
  } else if (entry == "网络设置") {
    ShowPage(PanelNet);
  } else if (entry == "域名提醒") {
    ShowPage(PanelDomain);
    Db()->ReadDomainHintDate();
    if (HintDateNumber == 0) HintDateNumber = kDefaultHintDays;
    yCallDate->SetText(sys::IntToStr(HintDateNumber));
    yDomain->SetText(DomainName);
  } else if (entry == "系统备份") {
    GroupShortCut->SetVisible(false);
    OpenBackup();
  } else if (entry == "系统还原") {
    StartRestore();
  } else if (entry == "信息快捷键") {
    ShowPage(GroupShortCut);
  }
}

void TfrmServerHost::OpenBackup() {
  TOwned<TDataBackFrm> backup(CreateForm<TDataBackFrm>(nullptr));
  DataBackMode = 0;
  backup->ShowModal();
}

void TfrmServerHost::StartRestore() {
  Application->Terminate();
  // The restore tool replaces the personal database: nothing of ours may hold it open.
  CloseLocalDatabases(true);
  seams::Shell().Open(sys::ExtractFilePath(sys::ParamStr(0)) + "Dunmere.exe", "");
}

void TfrmServerHost::btnOKClick(TObject*) {
  std::string entry = yTrewView->SelectedText();
  if (entry == "网络设置") {
    Db()->SaveLineConfig1(TLineConfig{"Line", yLineChoice->Text()});
    ShowMsg("", "系统配置保存完毕，请重新启动软件");
    if (ServiceClient) ServiceClient->Socket().Close();
    Application->Terminate();
  } else if (entry == "常用选项") {
    Close();
  } else if (entry == "域名提醒") {
    std::string days = yCallDate->Text();
    if (days.empty()) {
      ShowMsg("", "提醒天数不能为空");
      return;
    }
    try {
      Db()->SaveDomaniHintDate(yDomain->Text(), sys::StrToInt(days));
      ShowMsg("", "域名提醒天数保存成功");
    } catch (const std::exception&) {
      ShowMsg("", "域名提醒天数保存失败");
    }
  }
}

void TfrmServerHost::BtnCancelClick(TObject*) { Close(); }

void TfrmServerHost::btnAddClick(TObject*) {
  std::string text = yShortChar->Text();
  if (text.empty()) {
    ShowMsg("", "常用短语内容不能为空，请重新输入");
    return;
  }
  if (ListBoxShortMessage->Items().IndexOf(text) >= 0) {
    ShowMsg("", "列表中存在此信息，无须添加");
    return;
  }
  ListBoxShortMessage->Items().Add(text);
  Db()->SaveShorMessage(text);
  // The chat windows offer the new phrase at once, not only after the next start.
  if (ShortWords && ShortWords->IndexOf(text) < 0) ShortWords->Add(text);
  yShortChar->SetText("");
}
