// The HTTP client against the in-process loopback web server.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "platform/rtl/SysUtils.h"
#include "platform/web/AntiFreeze.h"
#include "platform/web/HttpClient.h"
#include "tests/support/TestSupport.h"
#include "tools/webstub/WebStub.h"

namespace {

class HttpClientTest : public testing::Test {
 protected:
  void SetUp() override { stub.Start(); }
  std::string Url(const std::string& path) const { return stub.BaseUrl() + path; }

  // Runs `fn`, expecting an EHttpError, and returns it.
  template <class F>
  EHttpError Failure(F fn) {
    try {
      fn();
    } catch (const EHttpError& e) {
      return e;
    }
    ADD_FAILURE() << "no EHttpError";
    return EHttpError(THttpErrorKind::None, 0, "");
  }

  TWebStub stub;
  THttpClient http;
};

TEST_F(HttpClientTest, GetGivesStatusHeadersBodyAndSendsUserAgentAndContentType) {
  TStubPage page;
  page.Body = "hello 你好";
  page.Headers = {{"X-Karv", "1"}};
  stub.SetPage("/hello.txt", page);
  http.UserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows 98) ";
  http.ContentType = "application/x-www-form-urlencoded";

  THttpResponse r = http.Get(Url("/hello.txt?a=1"));
  EXPECT_EQ(200, r.StatusCode);
  EXPECT_EQ(200, http.ResponseCode());
  EXPECT_EQ("hello 你好", r.Body);
  EXPECT_EQ("1", r.Header("x-karv"));
  EXPECT_EQ("text/html; charset=gb2312", r.Header("Content-Type"));

  auto reqs = stub.Requests();
  ASSERT_EQ(1u, reqs.size());
  EXPECT_EQ("GET", reqs[0].Method);
  EXPECT_EQ("/hello.txt?a=1", reqs[0].Target);
  // WinINet may trim the trailing blank of the agent string; the words must arrive.
  EXPECT_EQ(0u, reqs[0].Header("User-Agent").find("Mozilla/4.0 (compatible; MSIE 6.0; Windows 98)"));
  EXPECT_EQ("application/x-www-form-urlencoded", reqs[0].Header("Content-Type"));
}

TEST_F(HttpClientTest, HeadGivesStatusWithoutBody) {
  THttpResponse r = http.Head(Url("/about.html"));
  EXPECT_EQ(200, r.StatusCode);
  EXPECT_TRUE(r.Body.empty());
  ASSERT_EQ(1u, stub.Requests().size());
  EXPECT_EQ("HEAD", stub.Requests()[0].Method);
}

TEST_F(HttpClientTest, UpperCasedAddressIsRequested) {
  // The SEO check requests the links it collected in upper case.
  std::string url = sys::UpperCase(Url("/about.html"));
  EXPECT_EQ(200, http.Head(url).StatusCode);
  EXPECT_EQ(200, http.Get(url).StatusCode);
}

TEST_F(HttpClientTest, RedirectsAreFollowedUpToTheMaximum) {
  // /r5 -> /r4 -> ... -> /r1 -> /about.html, alternating relative and absolute locations.
  for (int i = 1; i <= 5; ++i) {
    TStubPage p;
    p.Status = i % 2 ? 302 : 301;
    std::string next = i == 1 ? "/about.html" : sys::Format("/r%d", i - 1);
    p.Headers = {{"Location", i % 2 ? next : stub.BaseUrl() + next}};
    stub.SetPage(sys::Format("/r%d", i), p);
  }
  http.RedirectMaximum = 5;
  THttpResponse r = http.Get(Url("/r5"));
  EXPECT_EQ(200, r.StatusCode);
  EXPECT_EQ(Url("/about.html"), r.Url);
  EXPECT_NE(std::string::npos, r.Body.find("关于我们"));
  EXPECT_EQ(200, http.Head(Url("/r5")).StatusCode);
  EXPECT_EQ("HEAD", stub.Requests().back().Method);

  http.RedirectMaximum = 4;
  EHttpError e = Failure([&] { http.Get(Url("/r5")); });
  EXPECT_EQ(THttpErrorKind::Redirects, e.Kind());
  EXPECT_EQ(302, e.StatusCode());
  EXPECT_EQ(302, http.ResponseCode());

  http.HandleRedirects = false;
  e = Failure([&] { http.Get(Url("/r1")); });
  EXPECT_EQ(THttpErrorKind::Status, e.Kind());
  EXPECT_EQ(302, e.StatusCode());
}

TEST_F(HttpClientTest, RedirectLoopEnds) {
  TStubPage p;
  p.Status = 302;
  p.Headers = {{"Location", "/loop"}};
  stub.SetPage("/loop", p);
  EHttpError e = Failure([&] { http.Get(Url("/loop")); });
  EXPECT_EQ(THttpErrorKind::Redirects, e.Kind());
  EXPECT_EQ(16, stub.RequestCount("/loop"));  // the first request and 15 redirects
}

TEST_F(HttpClientTest, FailingStatusRaisesAndKeepsTheReply) {
  for (const char* method : {"GET", "HEAD"}) {
    SCOPED_TRACE(method);
    EHttpError e = Failure([&] {
      if (std::string(method) == "GET") http.Get(Url("/nosuchpage.html"));
      else http.Head(Url("/nosuchpage.html"));
    });
    EXPECT_EQ(THttpErrorKind::Status, e.Kind());
    EXPECT_EQ(404, e.StatusCode());
    EXPECT_EQ(404, http.ResponseCode());
    EXPECT_NE(std::string::npos, e.Message().find("404"));
    EXPECT_EQ(std::string(method) == "GET", http.Response().Body.find("Not Found") != std::string::npos);
  }
}

TEST_F(HttpClientTest, DelayedReplyTimesOut) {
  stub.SetDelay("/slow", 6000);
  stub.SetPage("/slow", TStubPage{});
  http.ReadTimeout = 1000;
  DWORD start = GetTickCount();
  EHttpError e = Failure([&] { http.Get(Url("/slow")); });
  DWORD took = GetTickCount() - start;
  EXPECT_EQ(THttpErrorKind::Timeout, e.Kind());
  EXPECT_EQ(0, e.StatusCode());
  EXPECT_LT(took, 5000u) << "the reply, not the time-out, ended the request";
}

TEST_F(HttpClientTest, RefusedConnectionAndBadAddresses) {
  int port;
  {
    TWebStub closed;  // binds a free port, never listens after going away
    port = closed.Port();
  }
  EHttpError e = Failure([&] { http.Get(sys::Format("http://127.0.0.1:%d/", port)); });
  EXPECT_EQ(THttpErrorKind::Connect, e.Kind());
  EXPECT_EQ(0, e.StatusCode());
  EXPECT_EQ(0, http.ResponseCode());

  for (const char* bad : {"", "not an address", "ftp://127.0.0.1/x", "http://"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(THttpErrorKind::BadUrl, Failure([&] { http.Head(bad); }).Kind());
  }
}

TEST_F(HttpClientTest, LargeBodyArrivesWhole) {
  TStubPage p;
  p.Body.resize(5 << 20);
  for (size_t i = 0; i < p.Body.size(); ++i) p.Body[i] = (char)(i * 7 + i / 4096);
  p.Headers = {{"Content-Type", "application/octet-stream"}};
  stub.SetPage("/big.bin", p);
  THttpResponse r = http.Get(Url("/big.bin"));
  ASSERT_EQ(p.Body.size(), r.Body.size());
  EXPECT_TRUE(r.Body == p.Body);
}

TEST_F(HttpClientTest, AbortEndsARunningRequest) {
  stub.SetDelay("/slow", 8000);
  std::thread aborter([&] {
    Sleep(300);
    http.Abort();
  });
  DWORD start = GetTickCount();
  EHttpError e = Failure([&] { http.Get(Url("/slow")); });
  aborter.join();
  EXPECT_EQ(THttpErrorKind::Aborted, e.Kind());
  EXPECT_LT(GetTickCount() - start, 3000u);
}

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST_F(HttpClientTest, AntiFreezeKeepsMessagesFlowingDuringARequest) {
  stub.SetDelay("/slow", 800);
  stub.SetPage("/slow", TStubPage{});
  UINT_PTR timer = SetTimer(nullptr, 0, 50, CountTick);

  g_ticks = 0;
  http.Get(Url("/slow"));
  EXPECT_EQ(0, g_ticks) << "without an anti-freeze the GUI thread just waits";

  {
    TAntiFreeze antiFreeze(nullptr);
    g_ticks = 0;
    http.Get(Url("/slow"));
    EXPECT_GE(g_ticks, 3);
  }
  KillTimer(nullptr, timer);
  testing_support::PumpFor(50);
}

}  // namespace
