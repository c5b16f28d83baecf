// The site-optimisation window under Wine against the loopback site: the META report, the
// broken-link run to its end and stopped midway by its button, the promotion query pane
// and the WHOIS date.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/uSettings.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/TestSupport.h"
#include "tests/webtools/WebToolsWorld.h"
#include "webtools/SeoInfo.h"
#include "webtools/uNetParse.h"

namespace {

using testing_support::PumpUntil;

class SeoFrmTest : public WebToolsWorld {
 protected:
  void SetUp() override {
    WebToolsWorld::SetUp();
    SiteUrl = Host() + "/seo/index.html";  // stored without a scheme
    frm_.reset(CreateForm<TSeoFrm>(nullptr));
    frm_->Show();
  }
  void TearDown() override {
    frm_.reset();
    WhoisParser.reset();
    SiteUrl.clear();
    WebToolsWorld::TearDown();
  }
  std::vector<std::string> Memo() const {
    std::vector<std::string> v;
    for (const auto& l : frm_->MemoBadLink->Lines())
      if (!l.text.empty()) v.push_back(l.text);
    return v;
  }
  TOwned<TSeoFrm> frm_;
};

TEST_F(SeoFrmTest, ShowingPutsTheSchemeInFrontOfTheSiteAddress) {
  EXPECT_EQ(SiteUrl, Url("/seo/index.html"));
  EXPECT_EQ(frm_->yBadLinkTest->Text(), Url("/seo/index.html"));
  EXPECT_EQ(frm_->PageControl1->ActivePageIndex(), 0);
  // An https address keeps its scheme.
  SiteUrl = "https://www.example.cn/";
  frm_->FormShow(frm_.get());
  EXPECT_EQ(SiteUrl, "https://www.example.cn/");
  EXPECT_EQ(WithoutScheme(SiteUrl), "www.example.cn/");
}

TEST_F(SeoFrmTest, MetaCheckWritesTheReport) {
  frm_->ybtnStartTest->Click();
  std::string report = frm_->yRichMetaLog->Text();
  EXPECT_NE(report.find("<TITLE>ABC</TITLE>"), std::string::npos);
  EXPECT_NE(report.find("提示：网页标题字符数量为3个,建议字符数量少于：80 个"), std::string::npos);
  EXPECT_NE(report.find("网站内部链接数量为:2网站外部链接数量为:7"), std::string::npos);
  EXPECT_EQ(frm_->StatusBar1->PanelText(0), "检测完毕");
  EXPECT_TRUE(frm_->ybtnStartTest->Enabled());
  WebToolsWorld::Screenshot(frm_->Handle(), "seo.bmp");
  // Checking again starts with an empty report.
  frm_->ybtnStartTest->Click();
  EXPECT_EQ(frm_->yRichMetaLog->Text(), report);
}

TEST_F(SeoFrmTest, MetaCheckCountsTheTagsOfIndentedAndOneLineHeads) {
  struct Case {
    const char* path;
    const char* shot;
  } cases[] = {{"/seo/indented.html", "seo-indented-head.bmp"}, {"/seo/onehead.html", "seo-one-line-head.bmp"}};
  for (const Case& c : cases) {
    SiteUrl = Url(c.path);
    frm_->ybtnStartTest->Click();
    std::vector<std::string> lines;
    for (const auto& l : frm_->yRichMetaLog->Lines()) lines.push_back(l.text);
    ASSERT_GE(lines.size(), 8u) << c.path;
    std::vector<std::string> head(lines.begin(), lines.begin() + 8);
    EXPECT_EQ(head, (std::vector<std::string>{
                        "<TITLE>ABC</TITLE>",
                        "提示：网页标题字符数量为3个,建议字符数量少于：80 个",
                        "<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=GB2312\">",
                        "<META NAME=\"KEYWORDS\" CONTENT=\"企业,网站\">",
                        "提示：网页关键词字符数量为3建议字符数量少于：100 个",
                        "<META NAME=\"DESCRIPTION\" CONTENT=\"示例企业\">",
                        "提示：网页描述字符数量为5建议字符数量少于：200 个",
                        "网站内部链接数量为:1网站外部链接数量为:0推荐使用网页坏链接检测工具检测链接的有效性!",
                    }))
        << c.path;
    WebToolsWorld::Screenshot(frm_->Handle(), c.shot);
  }
}

TEST_F(SeoFrmTest, FontsAreInTheChineseCharacterSet) {
  EXPECT_EQ(frm_->Font().Charset(), GB2312_CHARSET);
  EXPECT_EQ(frm_->yBadLinkTest->Font().Charset(), GB2312_CHARSET) << "the controls take the window's font";
}

// The program has been told to end while a check runs: the check stops without a word.
TEST_F(SeoFrmTest, NoMessageBoxesOnceTheProgramIsEnding) {
  WhoisParser = std::make_unique<TNetParse>(1);
  SiteUrl = "http://www.example.cn";
  TApplication ending;
  ending.Terminate();
  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // this test's own loop goes on
  TApplication* running = Application;
  Application = &ending;
  stub_.SetWhoisExpiry("");
  frm_->btnDomainClick(frm_.get());
  frm_->yBadLinkTest->SetText(Url("/seo/index.html"));
  frm_->btnStartTest->Click();
  Application = running;
  EXPECT_EQ(Boxes(), "");
  EXPECT_TRUE(frm_->btnDomain->Enabled());
  EXPECT_TRUE(frm_->btnStartTest->Enabled());
}

TEST_F(SeoFrmTest, BrokenLinkRunListsTheBrokenLinksOfTheAddressInItsEdit) {
  SiteUrl = "http://www.example.cn/";  // not the address tested: the edit's is
  frm_->yBadLinkTest->SetText(Host() + "/seo/index.html");
  frm_->btnStartTest->Click();
  EXPECT_EQ(frm_->yBadLinkcount->Caption(), "内部链接2个，外部链接7个");
  EXPECT_EQ(Memo(), (std::vector<std::string>{Url("/seo/Missing.html"), "http://127.0.0.1:1/refused.html"}));
  EXPECT_EQ(Boxes(), "坏链接检测完成");
  EXPECT_EQ(frm_->ProgressBar1->Position(), 0);
  EXPECT_EQ(frm_->ProgressBar1->Max(), 7);
  EXPECT_TRUE(frm_->btnStartTest->Enabled());
  EXPECT_FALSE(frm_->Testing());
  // Links are asked for in their own letter case.
  EXPECT_EQ(stub_.RequestCount("/seo/CaseSensitive.html"), 1);
}

TEST_F(SeoFrmTest, PageWithoutExternalLinksHasNoBrokenLinks) {
  frm_->yBadLinkTest->SetText(Url("/about.html"));
  frm_->btnStartTest->Click();
  EXPECT_EQ(frm_->yBadLinkcount->Caption(), "内部链接0个，外部链接0个");
  EXPECT_EQ(frm_->ProgressBar1->Max(), 0);
  EXPECT_EQ(Memo(), std::vector<std::string>{"检测完成,没有发现坏链接"});
}

TSeoFrm* g_frm = nullptr;
void CALLBACK StopAtThirdLink(HWND, UINT, UINT_PTR id, DWORD) {
  if (g_frm->ProgressBar1->Position() < 3) return;
  KillTimer(nullptr, id);
  g_frm->btnStopTest->Click();
}

TEST_F(SeoFrmTest, StopButtonEndsTheRunMidway) {
  g_frm = frm_.get();
  SetTimer(nullptr, 0, 20, StopAtThirdLink);
  frm_->btnStartTest->Click();
  g_frm = nullptr;
  // The slow fourth link was running when the stop came; nothing after it was asked for.
  EXPECT_EQ(Memo(), std::vector<std::string>{Url("/seo/Missing.html")});
  EXPECT_EQ(frm_->ProgressBar1->Position(), 0);
  EXPECT_EQ(stub_.RequestCount("/seo/nohead.html"), 0);
  EXPECT_TRUE(frm_->btnStartTest->Enabled());
}

TEST_F(SeoFrmTest, PromotionQueryLogsInFirstThenShowsTheQueryPage) {
  SeoQueryUrl = Url("/chaxun.asp?domain=");
  int loggedIn = 0;
  frm_->OnOpenServiceUrl = TNotifyEvent([&](TObject*) { ++loggedIn; });
  frm_->btnSiteClick(frm_.get());
  EXPECT_EQ(loggedIn, 1);
  ASSERT_TRUE(PumpUntil([&] { return frm_->WebBrowser->ReadyState() == TReadyState::Complete; }));
  EXPECT_NE(frm_->WebBrowser->BodyText().find("网站推广查询：" + Host() + "/seo/index.html"), std::string::npos);
  SeoQueryUrl.clear();
}

TEST_F(SeoFrmTest, DomainExpiryFromTheWhoisPage) {
  WhoisParser = std::make_unique<TNetParse>(1);
  SiteUrl = "http://www.example.cn";
  struct Case {
    int days;
    bool expired;
  } cases[] = {{30, false}, {0, true}};
  for (const Case& c : cases) {
    stub_.SetWhoisExpiry(WhoisDay(c.days));
    frm_->btnDomainClick(frm_.get());
    EXPECT_EQ(frm_->yDomainName->Caption(), "example.cn");
    EXPECT_EQ(frm_->yDomainTime->Text(), IsoDay(c.days));
    EXPECT_EQ(frm_->yDaoqi->Checked(), c.expired) << c.days;
    EXPECT_EQ(frm_->yWaitDomain->Caption(), "当前状态:查询完毕");
    EXPECT_TRUE(frm_->btnDomain->Enabled());
  }
  EXPECT_EQ(stub_.Requests().back().Target, "/cgi-bin/whois?domain=example.cn");
  stub_.SetWhoisExpiry("");
  frm_->btnDomainClick(frm_.get());
  EXPECT_EQ(Boxes(), "查询到期日期出错，请重试");
  SiteUrl = "http://";
  frm_->btnDomainClick(frm_.get());
  EXPECT_EQ(Boxes(), "查询到期日期出错，请重试|注册网站域名格式有错误，请重新检查");
}

}  // namespace
