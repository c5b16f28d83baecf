// The SEO fixture site under /seo/ and the hostile pages under /hostile/. The home page
// links to every kind of target the broken-link test meets: good pages, a redirect, a
// chain of redirects, a missing page, a slow page, a refused port, a server that refuses
// HEAD, and a path whose letter case matters. Two more pages hold the same head indented
// and on one line. The hostile pages are made when asked for.
#include <string>

#include "platform/rtl/SysUtils.h"
#include "tools/webstub/WebStub.h"

namespace {

TStubPage HtmlPage(const std::string& body, const std::string& charset = "gb2312") {
  TStubPage p;
  p.Headers.emplace_back("Content-Type", "text/html; charset=" + charset);
  p.Body = body;
  return p;
}

TStubPage Redirect(const std::string& to, int status = 302) {
  TStubPage p;
  p.Status = status;
  p.Headers.emplace_back("Location", to);
  return p;
}

// Upper- and lower-case letters in the paths and titles on purpose: links keep their case.
std::string SeoHome(const std::string& base) {
  return "<html>\r\n<head>\r\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
         "<title>Abc</title>\r\n"
         "<meta name=\"keywords\" content=\"企业,网站\">\r\n"
         "<meta name=\"description\" content=\"示例企业\">\r\n"
         "</head>\r\n<body>\r\n"
         "<a href=\"/seo/About.html\">关于</a><a href='local.html'>本地</a>\r\n"
         "<a href=\"" + base + "/seo/Good.html\" target=\"_blank\">好</a>\r\n"
         "<a href=\"" + base + "/seo/moved\">搬走</a>\r\n"
         "<a href=\"" + base + "/seo/Missing.html\">没有</a>\r\n"
         "<a href=\"" + base + "/seo/slow.html\">慢</a>\r\n"
         "<a href=\"http://127.0.0.1:1/refused.html\">拒绝</a>\r\n"
         "<a href=\"" + base + "/seo/nohead.html\">不要HEAD</a>\r\n"
         "<a href=" + base + "/seo/CaseSensitive.html>大小写</a>\r\n"
         "<img src=\"/seo/a.gif\" alt=\"产品\"> <img src=\"/seo/b.gif\" alt=\"\">\r\n"
         "<IMG SRC=\"/seo/c.gif\">\r\n"
         "</body>\r\n</html>\r\n";
}

// The home page's head as people write it: indented, or all on one line with "<head>".
std::string IndentedHead() {
  return "<html>\r\n  <head>\r\n"
         "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
         "    <title>Abc</title>\r\n"
         "\t<meta name=\"keywords\" content=\"企业,网站\">\r\n"
         "\t<meta name=\"description\" content=\"示例企业\">\r\n"
         "  </head>\r\n  <body>\r\n    <a href=\"/seo/About.html\">关于</a>\r\n  </body>\r\n</html>\r\n";
}
std::string OneLineHead() {
  return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><title>Abc</title>"
         "<meta name=\"keywords\" content=\"企业,网站\"><meta name=\"description\" content=\"示例企业\"></head>"
         "<body><a href=\"/seo/About.html\">关于</a></body></html>\r\n";
}

// `n` links, one after the other on a single line.
std::string ManyLinks(const std::string& base, int n) {
  std::string s = "<html><head><title>links</title></head><body>";
  s.reserve(n * 40);
  for (int i = 0; i < n; ++i) s += "<a href=\"" + base + "/seo/p" + std::to_string(i) + "\">x</a>";
  return s + "</body></html>";
}

}  // namespace

void TWebStub::InstallSeoSite() {
  std::string base = BaseUrl();
  SetPage("/seo/", HtmlPage(SeoHome(base)));
  SetPage("/seo/index.html", HtmlPage(SeoHome(base)));
  SetPage("/seo/indented.html", HtmlPage(IndentedHead()));
  SetPage("/seo/onehead.html", HtmlPage(OneLineHead()));
  SetPage("/seo/about.html", HtmlPage("<html><head><title>About</title></head><body>About</body></html>"));
  SetPage("/seo/good.html", HtmlPage("<html><head><title>Good</title></head><body>Good</body></html>"));
  SetPage("/seo/moved", Redirect("/seo/Good.html"));
  // /seo/chain?n=K: K redirects, then the good page.
  SetHandler("/seo/chain", [](const TStubRequest& r) {
    int n = sys::StrToIntDef(r.Param("n"), 0);
    return n > 0 ? Redirect("/seo/chain?n=" + std::to_string(n - 1)) : Redirect("/seo/Good.html");
  });
  TStubPage slow = HtmlPage("<html><body>slow</body></html>");
  slow.DelayMs = 3000;
  SetPage("/seo/slow.html", slow);
  SetHandler("/seo/nohead.html", [](const TStubRequest& r) {
    if (r.Method == "HEAD") {
      TStubPage p;
      p.Status = 405;
      p.Headers.emplace_back("Allow", "GET");
      return p;
    }
    return HtmlPage("<html><body>GET only</body></html>");
  });
  // This server matches paths without regard to case; this one page does not.
  SetHandler("/seo/casesensitive.html", [](const TStubRequest& r) {
    if (r.Path == "/seo/CaseSensitive.html") return HtmlPage("<html><body>case</body></html>");
    TStubPage p;
    p.Status = 404;
    return p;
  });
  SetPage("/seo/utf8.html", HtmlPage("<html><head><meta charset=\"UTF-8\"><title>\xE4\xBC\x81\xE4\xB8\x9A</title>"
                                     "</head><body></body></html>",
                                     "utf-8"));

  // Hostile pages.
  SetHandler("/hostile/big.html", [](const TStubRequest&) {
    std::string s = "<html><head><title>big</title></head><body>";
    s.append(10 << 20, 'x');
    return HtmlPage(s + "</body></html>");
  });
  SetHandler("/hostile/links.html", [base](const TStubRequest&) { return HtmlPage(ManyLinks(base, 100000)); });
  SetHandler("/hostile/nested.html", [](const TStubRequest&) {
    std::string s;
    for (int i = 0; i < 200000; ++i) s += "<div><a href=\"";
    return HtmlPage("<html><title>" + s + "<META <META <IMG alt=\"" + s);
  });
  SetHandler("/hostile/binary.html", [](const TStubRequest&) {
    std::string s(1 << 20, '\0');
    uint32_t x = 12345;
    for (auto& c : s) c = (char)((x = x * 1103515245u + 12345u) >> 24);
    return HtmlPage(std::string("<title>bin\0ary</title>", 22) + s + "<a href=\"http://127.0.0.1:1/\">", "utf-8");
  });
}
