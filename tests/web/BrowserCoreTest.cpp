// The browser pane's core: loading a page from the loopback server, ReadyState, the
// document-complete event on the GUI thread, body text, and loads that fail or time out.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/rtl/SysUtils.h"
#include "platform/web/BrowserCore.h"
#include "tests/support/TestSupport.h"
#include "tools/webstub/WebStub.h"

namespace {

using testing_support::PumpFor;
using testing_support::PumpUntil;

class BrowserCoreTest : public testing::Test {
 protected:
  void SetUp() override {
    stub.Start();
    core.OnDocumentComplete = TDocumentCompleteEvent(
        [this](TObject* sender, const std::string& url) {
          EXPECT_EQ(&owner, sender);
          completedUrls.push_back(url);
          completeThreads.push_back(GetCurrentThreadId());
          stateInEvent = core.ReadyState();
        },
        this);
  }
  std::string Url(const std::string& path) const { return stub.BaseUrl() + path; }
  bool WaitComplete(int ms = 5000) {
    return PumpUntil([&] { return core.ReadyState() == TReadyState::Complete; }, ms);
  }

  TWebStub stub;
  TObject owner;
  TBrowserCore core{&owner};
  std::vector<std::string> completedUrls;
  std::vector<DWORD> completeThreads;
  TReadyState stateInEvent = TReadyState::Uninitialized;
};

TEST_F(BrowserCoreTest, LoadsAPageAndCompletesOnTheGuiThread) {
  EXPECT_EQ(TReadyState::Uninitialized, core.ReadyState());
  core.Navigate(Url("/about.html"));
  EXPECT_EQ(TReadyState::Loading, core.ReadyState());
  EXPECT_TRUE(core.Busy());
  EXPECT_TRUE(completedUrls.empty()) << "the event never fires inside Navigate";

  ASSERT_TRUE(WaitComplete());
  ASSERT_EQ(1u, completedUrls.size());
  EXPECT_EQ(Url("/about.html"), completedUrls[0]);
  EXPECT_EQ(GetCurrentThreadId(), completeThreads[0]);
  EXPECT_EQ(TReadyState::Complete, stateInEvent);
  EXPECT_FALSE(core.LoadFailed());
  EXPECT_EQ(200, core.StatusCode());
  EXPECT_EQ("关于我们", core.Title());
  EXPECT_EQ("示例企业成立于2010年。", core.BodyText());
  EXPECT_EQ(0u, stub.Requests()[0].Header("User-Agent").find("Mozilla/4.0 (compatible; MSIE 6.0"));

  PumpFor(100);
  EXPECT_EQ(1u, completedUrls.size()) << "one event per load";
}

TEST_F(BrowserCoreTest, WhoisPageTextHoldsTheExpiryLine) {
  stub.SetWhoisExpiry("05-mar-2027");
  core.Navigate(Url("/cgi-bin/whois?domain=karv.com"));
  ASSERT_TRUE(WaitComplete());
  std::string text = "\r\n" + core.BodyText() + "\r\n";
  EXPECT_NE(std::string::npos, text.find("\r\nExpiration Date: 05-mar-2027\r\n")) << text;
  EXPECT_NE(std::string::npos, text.find("\r\nDomain Name: KARV.COM\r\n")) << text;

  stub.SetWhoisExpiry("");
  core.Navigate(Url("/cgi-bin/whois?domain=karv.com"));
  ASSERT_TRUE(WaitComplete());
  EXPECT_EQ(std::string::npos, core.BodyText().find("Expiration Date"));
  EXPECT_EQ(2u, completedUrls.size());
}

TEST_F(BrowserCoreTest, UtfEightPageBecomesAnsiText) {
  TStubPage p;
  p.Headers = {{"Content-Type", "text/html; charset=utf-8"}};
  p.Body = sys::AnsiToUtf8("<html><body><p>域名到期</p></body></html>");
  stub.SetPage("/utf8.html", p);
  core.Navigate(Url("/utf8.html"));
  ASSERT_TRUE(WaitComplete());
  EXPECT_EQ("域名到期", core.BodyText());
}

TEST_F(BrowserCoreTest, FailedLoadsStillComplete) {
  int closedPort;
  {
    TWebStub closed;
    closedPort = closed.Port();
  }
  core.Navigate(sys::Format("http://127.0.0.1:%d/", closedPort));
  ASSERT_TRUE(WaitComplete());
  EXPECT_TRUE(core.LoadFailed());
  EXPECT_EQ(0, core.StatusCode());
  EXPECT_EQ(0u, core.BodyText().find("无法显示网页"));
  EXPECT_FALSE(core.ErrorText().empty());

  core.Navigate(Url("/nosuchpage.html"));
  ASSERT_TRUE(WaitComplete());
  EXPECT_TRUE(core.LoadFailed());
  EXPECT_EQ(404, core.StatusCode());
  EXPECT_EQ("Not Found", core.BodyText());

  core.Navigate("");
  ASSERT_TRUE(WaitComplete());
  EXPECT_TRUE(core.LoadFailed());
  EXPECT_EQ(3u, completedUrls.size());
}

TEST_F(BrowserCoreTest, SlowPageTimesOut) {
  stub.SetDelay("/slow.html", 8000);
  core.Timeout = 1000;
  core.Navigate(Url("/slow.html"));
  ASSERT_TRUE(WaitComplete(5000)) << "the load must end on its time-out";
  EXPECT_TRUE(core.LoadFailed());
  EXPECT_EQ(1u, completedUrls.size());
}

TEST_F(BrowserCoreTest, NavigatingAgainAbandonsTheRunningLoad) {
  stub.SetDelay("/slow.html", 1500);
  core.Navigate(Url("/slow.html"));
  core.Navigate(Url("/products.html"));
  ASSERT_TRUE(WaitComplete());
  PumpFor(2000);
  ASSERT_EQ(1u, completedUrls.size());
  EXPECT_EQ(Url("/products.html"), completedUrls[0]);
  EXPECT_EQ(TReadyState::Complete, core.ReadyState());
  EXPECT_EQ("产品介绍", core.Title());
}

TEST_F(BrowserCoreTest, FreedWhileLoadingFiresNothing) {
  stub.SetDelay("/slow.html", 1000);
  bool fired = false;
  {
    TBrowserCore other(nullptr);
    other.OnDocumentComplete = TDocumentCompleteEvent([&](TObject*, const std::string&) { fired = true; });
    other.Navigate(Url("/slow.html"));
  }
  PumpFor(1500);
  EXPECT_FALSE(fired);
}

TEST_F(BrowserCoreTest, LogInCookieReachesLaterPages) {
  // The log-in check page sets a cookie; the site's later pages see it, as the main
  // window's hidden browser relies on.
  std::string user = sys::Format("u%lu", GetTickCount());
  core.Navigate(Url("/checkloginexe.asp?name=" + user + "&password=0123"));
  ASSERT_TRUE(WaitComplete());
  core.Navigate(Url("/user_admin.asp"));
  ASSERT_TRUE(WaitComplete());
  auto reqs = stub.Requests();
  ASSERT_EQ(2u, reqs.size());
  EXPECT_NE(std::string::npos, reqs[1].Header("Cookie").find("KarvUser=" + user));
}

}  // namespace
