// The pages the web stub serves from the start: the service's pages, a small enterprise
// site for the SEO check (title, keywords, description, pictures with and without ALT text,
// internal and external links, one broken link) and the WHOIS pages. All text is GBK.
#include <string>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"
#include "tools/webstub/WebStub.h"

namespace {

// The month names exactly as the client's WHOIS reader compares them.
const char* const kMonths[12] = {"jan", "Feb", "mar", "apr", "may", "jun",
                                 "jul", "aug", "sep", "oct", "nov", "dec"};

std::string Html(const std::string& title, const std::string& body) {
  return "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n<title>" +
         title + "</title>\r\n</head>\r\n<body>\r\n" + body + "\r\n</body>\r\n</html>\r\n";
}

TStubPage Page(const std::string& title, const std::string& body) {
  TStubPage p;
  p.Body = Html(title, body);
  return p;
}

// Links and pictures each stand on their own line with white space after the anchor, as
// the SEO check reads them; the external ones point back at this server.
std::string HomePage(const std::string& base) {
  return "<html>\r\n<head>\r\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
         "<title>Karvell示例企业</title>\r\n"
         "<meta name=\"keywords\" content=\"企业,网站,推广\">\r\n"
         "<meta name=\"description\" content=\"示例企业的网站首页\">\r\n"
         "</head>\r\n<body>\r\n"
         "<h1>示例企业</h1>\r\n"
         "<a href=\"/about.html\">关于我们</a> \r\n"
         "<a href=\"products.html\">产品介绍</a> \r\n"
         "<a href=\"" + base + "/about.html\">企业简介</a> \r\n"
         "<a href=\"" + base + "/products.html\">产品中心</a> \r\n"
         "<a href=\"" + base + "/nosuchpage.html\">旧页面</a> \r\n"
         "<a href=\"/products.html\"><img src=\"/p1.gif\" alt=\"产品一\"></a> \r\n"
         "<a href=\"/products.html\"><img src=\"/p2.gif\" alt=\"\"></a> \r\n"
         "<img src=\"/logo.gif\">\r\n"
         "</body>\r\n</html>\r\n";
}

std::string DefaultExpiry() {
  dt::Parts p = dt::Decode(dt::Date() + 10);
  return sys::Format("%02d-%s-%04d", p.day, kMonths[p.month - 1], p.year);
}

std::string WhoisText(const std::string& domain, const std::string& expiry) {
  if (domain.empty()) return "No match for domain \"\".\r\n";
  std::string text = "Domain Name: " + sys::UpperCase(domain) + "\r\n" +
                     "Registrar: KARVELL TEST REGISTRAR\r\n"
                     "Creation Date: 01-jan-2010\r\n";
  if (!expiry.empty()) text += "Expiration Date: " + expiry + "\r\n";
  return text + "Status: ACTIVE\r\n";
}

}  // namespace

void TWebStub::InstallBuiltInPages() {
  whoisExpiry_ = DefaultExpiry();
  TStubPage home;
  home.Body = HomePage(BaseUrl());
  SetPage("/", home);
  SetPage("/index.html", home);
  SetPage("/about.html", Page("关于我们", "<p>示例企业成立于2010年。</p>"));
  SetPage("/products.html", Page("产品介绍", "<p>产品一</p>\r\n<p>产品二</p>"));

  SetPage("/loginout1.asp", Page("退出", "<p>您已安全退出。</p>"));
  SetPage("/user_admin.asp", Page("用户管理", "<p>修改个人信息</p>"));
  SetPage("/fabu.asp?action=add", Page("发布资讯", "<p>发布资讯信息</p>"));
  SetPage("/pc_ad.asp", Page("广告", "<p>Karvell企业服务</p>"));
  SetPage("/UserService.html", Page("常用服务", "<p>常用服务</p>"));
  SetHandler("/checkloginexe.asp", [](const TStubRequest& r) {
    TStubPage p = Page("登录", "<p>登录成功</p>");
    p.Headers.emplace_back("Set-Cookie", "KarvUser=" + r.Param("name") + "; path=/");
    return p;
  });
  SetHandler("/chaxun.asp", [](const TStubRequest& r) {
    return Page("网站推广查询", "<p>网站推广查询：" + r.Param("domain") + "</p>");
  });
  auto whois = [this](const TStubRequest& r) {
    return Page("Whois", "<pre>\r\n" + WhoisText(r.Param("domain"), WhoisExpiry()) + "</pre>");
  };
  SetHandler("/whois.asp", whois);
  SetHandler("/cgi-bin/whois", whois);
  InstallSeoSite();
}
