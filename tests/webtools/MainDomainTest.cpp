// The main window's part in the web-site tools, in-process: the once-per-run domain check
// against the loopback WHOIS page with its reminder window of days, and the left-hand
// buttons that open the site-optimisation and saved-addresses windows on their pages.
#include <gtest/gtest.h>
#include <windows.h>

#include "client/uLogin.h"
#include "client/uMain.h"
#include "core/ReceiveMessage.h"
#include "core/uDataOperate.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/SysUtils.h"
#include "platform/web/WebBrowser.h"
#include "skin/SkinData.h"
#include "tests/webtools/WebToolsWorld.h"
#include "webtools/DomainHint.h"
#include "webtools/SeoInfo.h"
#include "webtools/uNetParse.h"
#include "webtools/uSaveNetParse.h"
#include "widgets/Widgets.h"

namespace {

using testing_support::PumpUntil;

// The visible reminder pop-ups of this thread.
std::vector<TDomainHintFrm*> PopUps() {
  std::vector<TDomainHintFrm*> v;
  for (HWND h : testing_support::ThreadWindows())
    if (IsWindowVisible(h))
      if (auto* f = dynamic_cast<TDomainHintFrm*>(TWinControl::FromHandle(h))) v.push_back(f);
  return v;
}

class MainDomainTest : public WebToolsWorld {
 protected:
  void SetUp() override {
    WebToolsWorld::SetUp();
    RegisterWidgets();
    RegisterSkinData();
    IniFile->WriteString("Logininfo", "host", Host());
    frm_.reset(new TMainFrm(nullptr));
    frm_->LoadDescription(FindFormDescription("TMainFrm"));
    frm_->StartDomainCheck();              // as the window's creation does after the login
    frm_->TimerDomain->SetEnabled(false);  // the tests call the check themselves
    WhoisParser = std::make_unique<TNetParse>(1);
    SiteUrl = "http://www.example.cn";
  }
  void TearDown() override {
    for (TDomainHintFrm* p : PopUps()) TComponent::Free(p);
    if (SeoFrm) TComponent::Free(SeoFrm);
    if (SaveNetFrm) TComponent::Free(SaveNetFrm);
    frm_.reset();
    WhoisParser.reset();
    SiteUrl.clear();
    WebToolsWorld::TearDown();
  }
  std::unique_ptr<TMainFrm> frm_;
};

TEST_F(MainDomainTest, ReminderWithinTheWindowOfDaysOnly) {
  struct Case {
    const char* what;
    int hintDays;
    int expiresIn;  // days from today; 9999: the page has no expiry line
    bool reminded;
    std::string box;
  } cases[] = {
      {"reminders off", 0, 5, false, ""},
      {"exactly the reminder days away", 10, 10, true, ""},
      {"one day further", 10, 11, false, ""},
      {"tomorrow", 10, 1, true, ""},
      {"today", 10, 0, false, ""},
      {"expired 5 days ago, 30 reminder days", 30, -5, true, ""},
      {"expired exactly the reminder days ago", 10, -10, true, ""},
      {"expired one day longer ago", 10, -11, false, ""},
      {"no date on the page", 10, 9999, false, "查询域名到期日期出错，请重试"},
  };
  for (const Case& c : cases) {
    Data->SaveDomaniHintDate("example.cn", c.hintDays);
    stub_.SetWhoisExpiry(c.expiresIn == 9999 ? "" : WhoisDay(c.expiresIn));
    stub_.ClearRequests();
    dialogs_.calls.clear();
    frm_->TimerDomain->SetEnabled(true);
    frm_->TimerDomainTimer(frm_->TimerDomain);
    EXPECT_FALSE(frm_->TimerDomain->Enabled()) << c.what;
    EXPECT_EQ(stub_.RequestCount("/cgi-bin/whois"), c.hintDays ? 1 : 0) << c.what;
    std::vector<TDomainHintFrm*> shown = PopUps();
    ASSERT_EQ(shown.size(), c.reminded ? 1u : 0u) << c.what;
    if (c.reminded) {
      EXPECT_EQ(shown[0]->yDomainName->Caption(), "example.cn");
      EXPECT_EQ(shown[0]->yDomainDate->Caption(), IsoDay(c.expiresIn));
      TComponent::Free(shown[0]);
    }
    EXPECT_EQ(Boxes(), c.box) << c.what;
  }
  EXPECT_EQ(stub_.Requests().empty() ? "" : stub_.Requests().back().Target, "/cgi-bin/whois?domain=example.cn");
}

TEST_F(MainDomainTest, CheckRunsOncePerRunAndAfterALoginWhenTheNetworkKeptItFromRunning) {
  // The network timer stopped the check before it ran: the next login lets it run.
  frm_->TimerDomain->SetEnabled(false);
  frm_->EnableDomainTimer();
  EXPECT_TRUE(frm_->TimerDomain->Enabled());
  Data->SaveDomaniHintDate("example.cn", 0);
  frm_->TimerDomainTimer(frm_->TimerDomain);
  EXPECT_FALSE(frm_->TimerDomain->Enabled());
  // Once it has run, a later login leaves it off.
  frm_->EnableDomainTimer();
  EXPECT_FALSE(frm_->TimerDomain->Enabled());
}

// The login that the window's creation runs stays open for longer than the domain timer's
// interval (40 s against 30 s in the program; here 400 ms against 300 ms), then succeeds:
// the check still follows, once, a timer's interval after the window is made.
TEST_F(MainDomainTest, ALoginHeldOpenLongerThanTheDomainTimerIsStillFollowedByTheCheck) {
  frm_.reset();
  WhoisParser.reset();
  // The connection whose events the window takes over; nothing connects it here.
  ServiceClient = std::make_unique<TServiceClient>("127.0.0.1", "1", Data);
  LoginHistory = std::make_unique<TStringList>();  // the login window lists the names in it
  struct Ending {
    std::unique_ptr<TMainFrm>& frm;
    ~Ending() {
      frm.reset();
      OfflineMsgQueue.reset();
      ServiceClient.reset();
      LoginHistory.reset();
    }
  } ending{frm_};
  frm_.reset(new TMainFrm(nullptr));
  frm_->LoadDescription(FindFormDescription("TMainFrm"));
  ASSERT_TRUE(frm_->TimerDomain->Enabled()) << "the description starts it";
  frm_->TimerDomain->SetInterval(300);
  Data->SaveDomaniHintDate("example.cn", 30);
  stub_.SetWhoisExpiry(WhoisDay(-5));
  stub_.ClearRequests();
  DWORD opened = 0;
  testing_support::WhilePumping(
      [&] {
        TLoginFrm* login = nullptr;
        for (HWND h : testing_support::ThreadWindows())
          if (IsWindowVisible(h))
            if (auto* f = dynamic_cast<TLoginFrm*>(TWinControl::FromHandle(h))) login = f;
        if (!login) return false;
        if (!opened) opened = GetTickCount();
        if (GetTickCount() - opened < 400) return false;
        // What the login window does when the server accepts the login.
        frm_->LoginSucceeded(false, "10001");
        login->SetModalResult(mrOk);
        return true;
      },
      20);
  frm_->FormCreate(frm_.get());
  testing_support::DropPumpingStep();
  ASSERT_NE(opened, 0u) << "the login window was shown";
  EXPECT_EQ(stub_.RequestCount("/cgi-bin/whois"), 0) << "nothing is looked up while the login runs";
  ASSERT_TRUE(PumpUntil([] { return PopUps().size() == 1; }, 5000)) << "the check followed the login";
  EXPECT_EQ(stub_.RequestCount("/cgi-bin/whois"), 1);
  EXPECT_EQ(PopUps()[0]->yDomainDate->Caption(), IsoDay(-5));
  EXPECT_FALSE(frm_->TimerDomain->Enabled());
  // Once per run: no second look-up.
  testing_support::PumpFor(700);
  EXPECT_EQ(stub_.RequestCount("/cgi-bin/whois"), 1);
}

TEST_F(MainDomainTest, ButtonsOpenTheToolWindowsOnTheirPages) {
  struct Case {
    void (TMainFrm::*click)(TObject*);
    int page;
  } seoCases[] = {{&TMainFrm::btnCheckClick, 0},
                  {&TMainFrm::btnLinkTestClick, 1},
                  {&TMainFrm::btnTuiGuangClick, 2},
                  {&TMainFrm::ybtnDomainClick, 3}};
  TSeoFrm* first = nullptr;
  for (const Case& c : seoCases) {
    (frm_.get()->*c.click)(nullptr);
    ASSERT_NE(SeoFrm, nullptr);
    if (!first) first = SeoFrm;
    EXPECT_EQ(SeoFrm, first) << "made once and kept";
    EXPECT_TRUE(IsWindowVisible(SeoFrm->Handle()));
    EXPECT_EQ(SeoFrm->PageControl1->ActivePageIndex(), c.page);
  }
  frm_->btnmarkClick(nullptr);
  ASSERT_NE(SaveNetFrm, nullptr);
  EXPECT_TRUE(IsWindowVisible(SaveNetFrm->Handle()));
  EXPECT_EQ(SaveNetFrm->PageControl1->ActivePageIndex(), 0);
}

}  // namespace
