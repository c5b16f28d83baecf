// The main window's web-site tools: the WHOIS parser it makes, the once-per-run check of
// the domain's expiry with its reminder, and the buttons that open the site-optimisation
// and saved-addresses windows.
#include "client/uMain.h"

#include <cstdlib>

#include "core/uDataOperate.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"
#include "webtools/DomainHint.h"
#include "webtools/SeoInfo.h"
#include "webtools/NetParseText.h"
#include "webtools/uNetParse.h"
#include "webtools/uSaveNetParse.h"

void TMainFrm::CreateWhoisParser() {
  // The pane lives hidden in the header's panel.
  WhoisParser = std::make_unique<TNetParse>(1, yDomainParent ? yDomainParent->Handle() : nullptr);
}

void TMainFrm::FreeWhoisParser() { WhoisParser.reset(); }

void TMainFrm::StartDomainCheck() {
  domainArmed_ = true;
  // A timer's interval from now, not from when the description started it: the login may
  // have been open for longer than that.
  TimerDomain->SetEnabled(false);
  EnableDomainTimer();
}

void TMainFrm::EnableDomainTimer() {
  // Once per run: a check that the lost network kept from running runs after the new login.
  // The first login's success comes before the window is made: the check waits for that.
  if (domainArmed_ && !domainChecked_) TimerDomain->SetEnabled(true);
}

void TMainFrm::TimerDomainTimer(TObject*) {
  TimerDomain->SetEnabled(false);
  // A tick while the login still runs: the check starts once the window is made.
  if (!domainArmed_) return;
  domainChecked_ = true;
  std::string expiry;
  try {
    // The reminder row, as it is now.
    if (Data) Data->ReadDomainHintDate();
    if (HintDateNumber == 0) return;
    if (!WhoisParser) return;
    std::string domain = GetDomainName();
    if (WhoisParser->Lookup(WhoisAddress(domain), kWhoisWaitMs)) expiry = WhoisParser->ExpireDate;
    if (!Application || Application->Terminated()) return;
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TimerDomain错误");
    return;
  }
  try {
    TDateTime date;
    if (expiry.empty() || !ParseExpiry(expiry, date)) {
      ShowMsg("", "查询域名到期日期出错，请重试");
      return;
    }
    // Whole days between the expiry and today, without sign: a domain that expired within
    // the reminder days is reminded too; today itself is 0.
    int days = std::abs((int)(date - dt::Date()));
    if (days > 0 && days <= HintDateNumber) TDomainHintFrm::ShowHint(DomainName, expiry);
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TimerDomainTimer,出错");
  }
}

void TMainFrm::ShowSeoPage(int page) {
  if (!SeoFrm) {
    SeoFrm = CreateForm<TSeoFrm>(Application);
    SeoFrm->OnOpenServiceUrl = TNotifyEvent([this](TObject*) { OpenServiceUrl(); });
  }
  SeoFrm->Show();
  SeoFrm->PageControl1->SetActivePageIndex(page);
}

void TMainFrm::btnTuiGuangClick(TObject*) { ShowSeoPage(2); }
void TMainFrm::btnCheckClick(TObject*) { ShowSeoPage(0); }
void TMainFrm::btnLinkTestClick(TObject*) { ShowSeoPage(1); }
void TMainFrm::ybtnDomainClick(TObject*) { ShowSeoPage(3); }

void TMainFrm::btnmarkClick(TObject*) {
  if (!SaveNetFrm) SaveNetFrm = CreateForm<TSaveNetFrm>(Application);
  SaveNetFrm->Show();
  SaveNetFrm->PageControl1->SetActivePageIndex(0);
}
