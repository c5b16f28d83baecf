// The loopback web server itself: where it may listen, how it routes, and the fixture
// pages other suites rely on (the SEO home page, its links, the WHOIS page).
#include <gtest/gtest.h>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "platform/web/HttpClient.h"
#include "tools/webstub/WebStub.h"

namespace {

TEST(WebStub, ListensOnLoopbackOnly) {
  for (const char* address : {"192.168.1.1", "0.0.0.0", "localhost", "128.0.0.1"}) {
    SCOPED_TRACE(address);
    EXPECT_THROW(TWebStub{address}, Exception);
  }
  TWebStub other("127.0.0.2");
  other.Start();
  THttpClient http;
  EXPECT_EQ(200, http.Get("http://127.0.0.2:" + std::to_string(other.Port()) + "/about.html").StatusCode);
}

TEST(WebStub, RoutesByExactTargetThenPathWithoutRegardToCase) {
  TWebStub stub;
  stub.Start();
  TStubPage byPath, exact;
  byPath.Body = "path";
  exact.Body = "exact";
  exact.Headers = {{"X-Which", "exact"}};
  stub.SetPage("/Page.asp", byPath);
  stub.SetPage("/page.asp?action=add", exact);
  THttpClient http;
  EXPECT_EQ("path", http.Get(stub.BaseUrl() + "/PAGE.ASP?x=1").Body);
  THttpResponse r = http.Get(stub.BaseUrl() + "/page.asp?ACTION=ADD");
  EXPECT_EQ("exact", r.Body);
  EXPECT_EQ("exact", r.Header("X-Which"));
  stub.RemovePage("/page.asp");
  EXPECT_THROW(http.Get(stub.BaseUrl() + "/page.asp"), EHttpError);
  EXPECT_EQ(404, http.ResponseCode());
  EXPECT_EQ(3, stub.RequestCount("/page.asp"));
  EXPECT_EQ("ADD", stub.Requests()[1].Param("action"));  // as sent
  stub.ClearRequests();
  EXPECT_TRUE(stub.Requests().empty());
}

TEST(WebStub, HomePageLinksAnswerAsTheSeoCheckExpects) {
  TWebStub stub;
  stub.Start();
  THttpClient http;
  std::string home = http.Get(stub.BaseUrl() + "/").Body;
  for (const char* part : {"<title>", "name=\"keywords\"", "name=\"description\"", "alt=\"\"", "alt=\"产品一\""})
    EXPECT_NE(std::string::npos, home.find(part)) << part;
  // Every quoted absolute link, requested upper-cased as the checker does.
  std::vector<std::pair<std::string, int>> links;
  for (size_t p = home.find("href=\"http"); p != std::string::npos; p = home.find("href=\"http", p + 1)) {
    std::string link = home.substr(p + 6, home.find('"', p + 6) - p - 6);
    int status;
    try {
      status = http.Head(sys::UpperCase(link)).StatusCode;
    } catch (const EHttpError& e) {
      status = e.StatusCode();
    }
    links.emplace_back(link, status);
  }
  ASSERT_EQ(3u, links.size());
  EXPECT_EQ(200, links[0].second);
  EXPECT_EQ(200, links[1].second);
  EXPECT_EQ(stub.BaseUrl() + "/nosuchpage.html", links[2].first);
  EXPECT_EQ(404, links[2].second);
}

TEST(WebStub, WhoisExpiryDefaultsToTenDaysAheadInTheReadersMonthNames) {
  TWebStub stub;
  dt::Parts p = dt::Decode(dt::Date() + 10);
  const char* months[] = {"jan", "Feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
  EXPECT_EQ(sys::Format("%02d-%s-%04d", p.day, months[p.month - 1], p.year), stub.WhoisExpiry());
  stub.Start();
  THttpClient http;
  std::string page = http.Get(stub.BaseUrl() + "/whois.asp?domain=karv.com").Body;
  EXPECT_NE(std::string::npos, page.find("\r\nExpiration Date: " + stub.WhoisExpiry() + "\r\n"));
  page = http.Get(stub.BaseUrl() + "/cgi-bin/whois?domain=").Body;
  EXPECT_EQ(std::string::npos, page.find("Expiration Date"));
}

}  // namespace
