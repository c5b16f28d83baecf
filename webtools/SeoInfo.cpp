// The site-optimisation window; see SeoInfo.h.
#include "webtools/SeoInfo.h"

#include <memory>

#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/forms/FormReader.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"
#include "webtools/uNetParse.h"

TSeoFrm* SeoFrm = nullptr;

namespace {

bool HasScheme(const std::string& a, const char* scheme) {
  size_t n = strlen(scheme);
  return a.size() >= n && sys::SameText(std::string_view(a).substr(0, n), scheme);
}

// Serves the messages that are waiting, once.
void ServeMessages() {
  if (Application) Application->ProcessMessages();
}

// Once the program has been told to end nothing more is said: a box would hold up its end
// for an answer nobody waits for.
void Say(const std::string& text) {
  if (Application && Application->Terminated()) return;
  ShowMsg("", text);
}

// A page-mode parser that has fetched and normalised the page at `address`, not yet parsed.
std::unique_ptr<TNetParse> FetchPage(const std::string& address) {
  auto parser = std::make_unique<TNetParse>(0);
  parser->SetUrl(address);
  parser->CheckUrl();
  parser->GetPage();
  parser->LoadPageText();
  parser->NormalizePage();
  return parser;
}

}  // namespace

std::string WithScheme(const std::string& address) {
  std::string a = sys::Trim(address);
  if (HasScheme(a, "http://") || HasScheme(a, "https://")) return a;
  return "http://" + a;
}

std::string WithoutScheme(const std::string& address) {
  if (HasScheme(address, "http://")) return address.substr(7);
  if (HasScheme(address, "https://")) return address.substr(8);
  return address;
}

void RegisterWebTools() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterFormsClasses();
  RegisterWebBrowser();
  RegisterComponentClass<TAntiFreeze>();
}

TSeoFrm::TSeoFrm(TComponent* owner) : TForm(owner) {
  RegisterWebTools();
  if (!SeoFrm) SeoFrm = this;
}

TSeoFrm::~TSeoFrm() {
  if (SeoFrm == this) SeoFrm = nullptr;
}

TPublishedTable TSeoFrm::Published() {
  using F = TSeoFrm;
  return {KARV_FIELDS(F, PageControl1, TabSheet1, PageControl2, TabSheet5, GroupBox1, ybtnStartTest, yRichMetaLog),
          KARV_FIELDS(F, StatusBar1, TabSheet2, PageControl3, TabSheet6, Label1, yBadLinkTest, btnStartTest),
          KARV_FIELDS(F, btnStopTest, Label2, yBadLinkcount, MemoBadLink, ProgressBar1, TabSheet3, Panel1),
          KARV_FIELDS(F, btnSite, WebBrowser, StatusBar2, TabSheet4, GroupBox2, btnDomain, Label3),
          KARV_FIELDS(F, yDomainName, Label4, yDomainTime, yDaoqi, Label5, yWaitDomain, AntiFreeze1),
          KARV_HANDLERS(F, FormShow, ybtnStartTestClick, btnStartTestClick),
          KARV_HANDLERS(F, btnStopTestClick, btnSiteClick, btnDomainClick)};
}

void TSeoFrm::CreateParams(TCreateParams& p) {
  TForm::CreateParams(p);
  // Parented to the desktop: a task-bar button of its own.
  p.ExStyle |= WS_EX_APPWINDOW;
}

void TSeoFrm::FormShow(TObject*) {
  PageControl1->SetActivePageIndex(0);
  // "https://" is a scheme too; an address without one gets "http://".
  if (!SiteUrl.empty()) SiteUrl = WithScheme(SiteUrl);
  yBadLinkTest->SetText(SiteUrl);
}

void TSeoFrm::ybtnStartTestClick(TObject*) {
  ybtnStartTest->SetEnabled(false);
  StatusBar1->SetPanelText(0, "正在检测，请稍侯.......");
  ServeMessages();
  try {
    auto parser = FetchPage(SiteUrl);
    yRichMetaLog->Clear();
    parser->Parse();
    parser->WriteReport(yRichMetaLog);
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TSeoFrm.ybtnStartTestClick出错");
  }
  StatusBar1->SetPanelText(0, "检测完毕");
  ybtnStartTest->SetEnabled(true);
}

void TSeoFrm::btnStartTestClick(TObject*) {
  btnStartTest->SetEnabled(false);
  testing_ = true;
  ServeMessages();
  try {
    // The address in the edit is the one tested; an empty edit tests the site.
    std::string address = sys::Trim(yBadLinkTest->Text());
    auto parser = FetchPage(WithScheme(address.empty() ? SiteUrl : address));
    parser->Parse();
    yBadLinkcount->SetCaption("内部链接" + sys::IntToStr(parser->InternalCount) + "个" + "，" + "外部链接" +
                              sys::IntToStr(parser->ExternalCount) + "个");
    MemoBadLink->Clear();
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(parser->ExternalLinks.Count());
    int bad = 0;
    for (int i = 0; i < parser->ExternalLinks.Count(); ++i) {
      if (!testing_ || !Application || Application->Terminated()) {
        ProgressBar1->SetPosition(0);
        break;
      }
      std::string link = parser->ExternalLinks[i];
      parser->SetUrl(link);
      if (!parser->CheckUrl() && !link.empty()) {
        MemoBadLink->AppendLine(link);
        ++bad;
      }
      ProgressBar1->SetPosition(ProgressBar1->Position() + 1);
      ServeMessages();
    }
    if (bad == 0) MemoBadLink->AppendLine("检测完成,没有发现坏链接");
    Say("坏链接检测完成");
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TSeoFrm.btnStartTestClick出错");
  }
  testing_ = false;
  ProgressBar1->SetPosition(0);
  btnStartTest->SetEnabled(true);
}

void TSeoFrm::btnStopTestClick(TObject*) {
  if (testing_) testing_ = false;
}

void TSeoFrm::btnSiteClick(TObject*) {
  if (OnOpenServiceUrl) OnOpenServiceUrl(this);
  WebBrowser->Navigate(SeoQueryUrl + WithoutScheme(SiteUrl));
}

void TSeoFrm::btnDomainClick(TObject*) {
  std::string domain = GetDomainName();
  if (domain.empty()) {
    Say("注册网站域名格式有错误，请重新检查");
    return;
  }
  yDomainName->SetCaption(domain);
  btnDomain->SetEnabled(false);
  std::string date;
  if (WhoisParser && WhoisParser->Lookup(WhoisAddress(domain), kWhoisWaitMs)) date = WhoisParser->ExpireDate;
  btnDomain->SetEnabled(true);
  if (!date.empty()) {
    // Both sides as "yyyy-mm-dd", so the text comparison is a date comparison.
    if (date <= dt::DateToStr(dt::Now())) yDaoqi->SetChecked(true);
    yDomainTime->SetText(date);
  } else {
    Say("查询到期日期出错，请重试");
  }
  yWaitDomain->SetCaption("当前状态:查询完毕");
}
