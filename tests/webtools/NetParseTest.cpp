// The page parser against the loopback site: tags, links and pictures of the SEO fixture
// page, the links checked one by one, the status classes of a fetch, the charset, the
// coloured report, the WHOIS reader with its month table and overlapping look-ups, and
// pages that try to break it.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "core/uHelpers.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Memo.h"
#include "platform/rtl/SysUtils.h"
#include "platform/web/HttpClient.h"
#include "tests/support/TestApplication.h"
#include "tests/support/TestSupport.h"
#include "tools/webstub/WebStub.h"
#include "webtools/uNetParse.h"

namespace {

std::vector<std::string> Texts(const TStringList& list) {
  std::vector<std::string> v;
  for (const auto& item : list) v.push_back(item.text);
  return v;
}

class NetParseTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::TestApplication();
    RegisterFormsClasses();
    SetErrorLogPath(dir.File("Client.log"));
    stub.Start();
  }
  void TearDown() override { SetErrorLogPath(""); }

  std::string Url(const std::string& path) const { return stub.BaseUrl() + path; }
  // A page-mode parser that has fetched and parsed `path`.
  std::unique_ptr<TNetParse> Parsed(const std::string& path, int* pageClass = nullptr, int readTimeout = 1000) {
    auto p = std::make_unique<TNetParse>(0);
    p->PageReadTimeout = readTimeout;
    p->SetUrl(Url(path));
    int c = p->GetPage();
    if (pageClass) *pageClass = c;
    p->LoadPageText();
    p->NormalizePage();
    p->Parse();
    return p;
  }
  std::string Log() const { return sys::ReadFileBytes(dir.File("Client.log")); }

  testing_support::TempDir dir;
  TWebStub stub;
};

TEST_F(NetParseTest, FixturePageGivesTagsLinksAndPictures) {
  auto p = Parsed("/seo/index.html");
  EXPECT_EQ(p->TitleTag, "<TITLE>ABC</TITLE>");
  EXPECT_EQ(p->HttpEquivTag, "<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=GB2312\">");
  EXPECT_EQ(p->KeywordsTag, "<META NAME=\"KEYWORDS\" CONTENT=\"企业,网站\">");
  EXPECT_EQ(p->DescriptionTag, "<META NAME=\"DESCRIPTION\" CONTENT=\"示例企业\">");
  // Two relative links; seven absolute ones, quoted or not, each with its own letter case
  // and without what follows it in the tag.
  EXPECT_EQ(p->InternalCount, 2);
  EXPECT_EQ(p->ExternalCount, 7);
  std::vector<std::string> expected = {Url("/seo/Good.html"),     Url("/seo/moved"), Url("/seo/Missing.html"),
                                       Url("/seo/slow.html"),     "http://127.0.0.1:1/refused.html",
                                       Url("/seo/nohead.html"),   Url("/seo/CaseSensitive.html")};
  EXPECT_EQ(Texts(p->ExternalLinks), expected);
  // Two pictures on one line without a link, one without ALT on its own line.
  EXPECT_EQ(p->AltCount, 1);
  EXPECT_EQ(p->NoAltCount, 2);
}

TEST_F(NetParseTest, EachLinkIsCheckedAndOnlyTheBrokenOnesFail) {
  auto p = Parsed("/seo/index.html");
  // A server that refuses HEAD and sends the body of its GET long after the status.
  stub.SetHandler("/x/nohead-late-body", [](const TStubRequest& r) {
    TStubPage page;
    if (r.Method == "HEAD") {
      page.Status = 405;
      return page;
    }
    page.Body = std::string(1 << 20, 'x');
    page.BodyDelayMs = 3000;
    return page;
  });
  struct Case {
    std::string url;
    bool good;
  } cases[] = {
      {Url("/seo/Good.html"), true},
      {Url("/seo/moved"), true},                  // a redirect to a good page
      {Url("/seo/Missing.html"), false},          // 404
      {Url("/seo/slow.html"), false},             // over the read time-out GetPage set
      {"http://127.0.0.1:1/refused.html", false},  // nothing listens
      {Url("/seo/nohead.html"), true},            // HEAD refused, GET answered
      {Url("/x/nohead-late-body"), true},         // only GET's status is read, not its body
      {Url("/seo/CaseSensitive.html"), true},     // only in its own letter case
      {Url("/seo/CASESENSITIVE.HTML"), false},
  };
  for (const Case& c : cases) {
    p->SetUrl(c.url);
    EXPECT_EQ(p->CheckUrl(), c.good) << c.url;
  }
  // A failed check logs the last status and the address.
  EXPECT_NE(Log().find("404:" + Url("/seo/Missing.html")), std::string::npos);
  EXPECT_EQ(stub.RequestCount("/seo/nohead.html"), 2) << "HEAD, then GET";
}

TEST_F(NetParseTest, StatusClassesOfAFetch) {
  TStubPage created;
  created.Status = 201;
  created.Body = "<title>new</title>";
  stub.SetPage("/x/created", created);
  TStubPage forbidden;
  forbidden.Status = 403;
  stub.SetPage("/x/forbidden", forbidden);
  struct Case {
    std::string url;
    int pageClass;
  } cases[] = {
      {Url("/seo/Good.html"), 0},
      {Url("/x/created"), 1},
      {Url("/seo/chain?n=14"), 0},  // fifteen redirects: at the limit
      {Url("/seo/chain?n=15"), 2},  // sixteen: over it, ending on a 302
      {Url("/x/forbidden"), 3},
      {Url("/seo/Missing.html"), 4},
      {Url("/seo/slow.html"), 5},  // the read time-out
      {"http://127.0.0.1:1/", 5},
  };
  for (const Case& c : cases) {
    TNetParse p(0);
    p.PageReadTimeout = 1000;
    p.SetUrl(c.url);
    EXPECT_EQ(p.GetPage(), c.pageClass) << c.url;
    EXPECT_EQ(p.Http->ReadTimeout, 1000) << "GetPage's time-out stays for later requests";
  }
}

TEST_F(NetParseTest, Utf8PagesAreConvertedWhateverTheCaseOrPlaceOfTheirCharset) {
  struct Case {
    const char* what;
    std::string contentType, head;
  } cases[] = {
      {"mended: the reply's header alone converts too, it names the page's bytes", "text/html; charset=UTF-8", ""},
      {"mended: an upper-case declaration in the page converts too, pages write it either way", "text/html",
       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=UTF-8\">"},
      {"charset=utf-8 anywhere, here far down the page", "text/html",
       std::string(20000, ' ') + "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"},
  };
  for (const Case& c : cases) {
    TStubPage page;
    page.Headers = {{"Content-Type", c.contentType}};
    page.Body = "<html><head>\r\n<title>\xE4\xBC\x81\xE4\xB8\x9A Abc</title>\r\n" + c.head + "</head></html>";
    stub.SetPage("/x/utf8", page);
    auto p = Parsed("/x/utf8");
    EXPECT_EQ(p->TitleTag, "<TITLE>企业 ABC</TITLE>") << c.what;
  }
  // A GBK page stays as it is.
  auto gbk = Parsed("/about.html");
  EXPECT_EQ(gbk->TitleTag, "<TITLE>关于我们</TITLE>");
}

// A parser that has taken `page` as the body of a fetch and parsed it.
std::unique_ptr<TNetParse> ParsedText(const std::string& page) {
  auto p = std::make_unique<TNetParse>(0);
  p->PageStream = page;
  p->LoadPageText();
  p->NormalizePage();
  p->Parse();
  return p;
}

TEST(NetParseTags, EachTagIsFoundWhereverItStandsOnItsLine) {
  const std::string title = "<TITLE>ABC</TITLE>", equiv = "<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML\">",
                    keywords = "<META NAME=\"KEYWORDS\" CONTENT=\"A,B\">", description = "<META NAME=\"DESCRIPTION\" CONTENT=\"C\">";
  const std::string equivTag = "<meta http-equiv=\"Content-Type\" content=\"text/html\">",
                    keywordsTag = "<meta name=\"keywords\" content=\"a,b\">",
                    descriptionTag = "<meta name=\"description\" content=\"c\">";
  const std::string metas = equivTag + keywordsTag + descriptionTag;
  struct Case {
    const char* what;
    std::string page, title, equiv, keywords, description;
  } cases[] = {
      {"mended: a one-line title element Abc is 18 characters, as its verdict of 3 (18 - 15) says, not 20",
       "<title>Abc</title>\r\n", title, "", "", ""},
      {"an indented title", "    <title>Abc</title>\r\n", title, "", "", ""},
      {"a title on the line of <head>", "<html><head><title>Abc</title>\r\n", title, "", "", ""},
      {"a title after another tag, before </head>", "<head><meta name=\"x\" content=\"y\"><title>Abc</title></head>\r\n",
       title, "", "", ""},
      {"a title over two lines runs to its first line's last >", "<title>Abc\r\n</title>\r\n", "<TITLE>", "", "", ""},
      {"indented META tags", "\t" + equivTag + "\r\n  " + keywordsTag + "\r\n    " + descriptionTag + "\r\n", "", equiv,
       keywords, description},
      {"META tags one after another on a line", metas + "\r\n", "", equiv, keywords, description},
      {"a head on one line", "<html><head>" + metas + "<title>Abc</title></head><body></body></html>", title, equiv,
       keywords, description},
      {"the word in the text after a META tag is not that tag's", "<meta name=\"author\"><p>keywords</p>\r\n", "", "", "",
       ""},
  };
  for (const Case& c : cases) {
    auto p = ParsedText(c.page);
    EXPECT_EQ(p->TitleTag, c.title) << c.what;
    EXPECT_EQ(p->HttpEquivTag, c.equiv) << c.what;
    EXPECT_EQ(p->KeywordsTag, c.keywords) << c.what;
    EXPECT_EQ(p->DescriptionTag, c.description) << c.what;
  }
}

TEST(NetParseTags, LinksCountedInternalOrExternal) {
  struct Case {
    const char* what;
    std::string page;
    int internal, external;
    std::vector<std::string> links;
  } cases[] = {
      {"mended: a double-quoted absolute address is external, kept in its own letter case as servers read paths",
       "<a href=\"http://www.example.cn/A.html\">x</a> \r\n", 0, 1, {"http://www.example.cn/A.html"}},
      {"mended: the same address unquoted is external too, it leads off the site all the same",
       "<a href=http://www.example.cn/A.html>x</a> \r\n", 0, 1, {"http://www.example.cn/A.html"}},
      {"a quoted relative address is internal", "<a href=\"/A.html\">x</a> \r\n", 1, 0, {}},
      {"mended: a quoted external address before another attribute is listed, not as an empty entry",
       "<a href=\"http://www.example.cn/A.html\" target=\"_blank\">x</a>\r\n", 0, 1, {"http://www.example.cn/A.html"}},
  };
  for (const Case& c : cases) {
    auto p = ParsedText(c.page);
    EXPECT_EQ(p->InternalCount, c.internal) << c.what;
    EXPECT_EQ(p->ExternalCount, c.external) << c.what;
    EXPECT_EQ(Texts(p->ExternalLinks), c.links) << c.what;
  }
}

TEST(NetParseTags, PicturesCountedWithAndWithoutAlt) {
  struct Case {
    const char* what;
    std::string page;
    int withAlt, withoutAlt;
  } cases[] = {
      {"an href, then an empty quoted ALT and a later quote", "<a href=\"/p.html\"><img src=\"a.gif\" alt=\"\" title=\"t\"></a>\r\n",
       0, 1},
      {"a non-empty quoted ALT", "<a href=\"/p.html\"><img src=\"a.gif\" alt=\"产品\"></a>\r\n", 1, 0},
      {"an href and ALT without ALT=", "<a href=\"/p.html\">ALT</a>\r\n", 0, 0},
  };
  for (const Case& c : cases) {
    auto p = ParsedText(c.page);
    EXPECT_EQ(p->AltCount, c.withAlt) << c.what;
    EXPECT_EQ(p->NoAltCount, c.withoutAlt) << c.what;
  }
}

TEST_F(NetParseTest, IndentedAndOneLineHeadsOfTheSiteGiveTheHomePagesTags) {
  auto home = Parsed("/seo/index.html");
  for (const char* path : {"/seo/indented.html", "/seo/onehead.html"}) {
    auto p = Parsed(path);
    EXPECT_EQ(p->TitleTag, home->TitleTag) << path;
    EXPECT_EQ(p->HttpEquivTag, home->HttpEquivTag) << path;
    EXPECT_EQ(p->KeywordsTag, home->KeywordsTag) << path;
    EXPECT_EQ(p->DescriptionTag, home->DescriptionTag) << path;
  }
}

TEST_F(NetParseTest, NormalisingUpperCasesAsciiOnlyAndBlanksNulBytes) {
  // Runs long enough for the eight-byte path, GBK characters whose second byte reads as a
  // lower-case letter at and across its boundaries, and NUL bytes in both paths.
  std::string text = std::string("abcdefgh\x81\x61xyz") + '\0' + "pqrstuvwxyz0123\xB0\x7A" + std::string(9, 'q') +
                     '\0' + "\xD6\xD0" + "end";
  std::string upper = std::string("ABCDEFGH\x81\x61XYZ") + ' ' + "PQRSTUVWXYZ0123\xB0\x7A" + std::string(9, 'Q') +
                      ' ' + "\xD6\xD0" + "END";
  for (size_t shift = 0; shift < 8; ++shift) {
    TNetParse p(0);
    p.PageStream = std::string(shift, 'm') + text;
    p.LoadPageText();
    EXPECT_EQ(p.NormalizePage(), std::string(shift, 'M') + upper) << shift;
    // Every letter comes back in its own case, from any starting byte.
    std::string original = std::string(shift, 'm') + text;
    original[original.find('\0')] = ' ';
    original[original.find('\0')] = ' ';
    for (size_t from = 0; from < original.size(); ++from)
      ASSERT_EQ(p.LowerCase.Restore(std::string_view(p.PageText).substr(from), from), original.substr(from))
          << shift << " " << from;
  }
}

// The report's lines with the colour each line starts in.
std::vector<std::pair<std::string, TColor>> ReportOf(TNetParse& p) {
  TOwned<TForm> form(new TForm(nullptr));
  TRichEdit* rich = new TRichEdit(form.get());
  rich->SetParent(form.get());
  rich->SetBounds(0, 0, 600, 400);
  p.WriteReport(rich);
  std::vector<std::pair<std::string, TColor>> lines;
  int at = 0;
  for (const auto& item : rich->Lines()) {
    rich->SetSelStart(at);
    rich->SetSelLength(1);
    lines.emplace_back(item.text, rich->SelAttributes().Color);
    at += (int)sys::AnsiToWide(item.text).size() + 1;
  }
  if (!lines.empty() && lines.back().first.empty()) lines.pop_back();
  return lines;
}

TEST_F(NetParseTest, ReportLinesAndColours) {
  auto p = Parsed("/seo/index.html");
  const TColor black = 0, red = 255;
  std::vector<std::pair<std::string, TColor>> expected = {
      {"<TITLE>ABC</TITLE>", black},
      {"提示：网页标题字符数量为3个,建议字符数量少于：80 个", red},
      {p->HttpEquivTag, black},
      {p->KeywordsTag, black},
      {"提示：网页关键词字符数量为" + sys::IntToStr((int)sys::AnsiToWide(p->KeywordsTag).size() - 35) +
           "建议字符数量少于：100 个",
       red},
      {p->DescriptionTag, black},
      {"提示：网页描述字符数量为" + sys::IntToStr((int)sys::AnsiToWide(p->DescriptionTag).size() - 35) +
           "建议字符数量少于：200 个",
       red},
      {"网站内部链接数量为:2网站外部链接数量为:7推荐使用网页坏链接检测工具检测链接的有效性!", red},
      {"在所检测的网页中发现含有注释标签alt的图片共有1张,其中没有注释的图片共有2张", black},
      {"建议使用相关的关键词对重要的图片进行注释.", black},
  };
  EXPECT_EQ(ReportOf(*p), expected);
  // Chinese characters count one each: 34 characters of markup and punctuation, 4 Chinese.
  EXPECT_EQ(sys::AnsiToWide(p->KeywordsTag).size(), 38u);

  // A page that cannot be fetched: the three "not found" verdicts and zero counts.
  auto none = Parsed("/seo/Missing.html");
  none->TitleTag.clear();  // the 404 page has a title; the verdict without one is what is shown here
  auto lines = ReportOf(*none);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], std::make_pair(std::string("没有找到网页标题，建议添加字符数量少于 80的标题信息"), red));
  EXPECT_EQ(lines[1].first, "提示：没有找到网页关键词信息，建议添加字符数量少于 100 的关键词信息。");
  EXPECT_EQ(lines[2].first, "提示：没有找到网页描述信息，建议添加字符数量少于 200 的描述信息。");
  EXPECT_EQ(lines[3].first, "网站内部链接数量为:0网站外部链接数量为:0推荐使用网页坏链接检测工具检测链接的有效性!");
}

TEST_F(NetParseTest, HostilePagesGiveAReport) {
  struct Case {
    const char* path;
    int external;
  } cases[] = {
      {"/hostile/big.html", 0},
      {"/hostile/links.html", 100000},
      {"/hostile/nested.html", 0},
      {"/hostile/binary.html", 1},
  };
  for (const Case& c : cases) {
    int pageClass = -1;
    // Megabytes from a loaded machine's loopback can pause longer than the usual second.
    auto p = Parsed(c.path, &pageClass, 20000);
    EXPECT_EQ(pageClass, 0) << c.path;
    EXPECT_EQ(p->ExternalCount, c.external) << c.path;
    EXPECT_EQ(ReportOf(*p).size() >= 6, true) << c.path;
  }
}

// ---------------------------------------------------------------- WHOIS

class WhoisTest : public NetParseTest {
 protected:
  void SetUp() override {
    NetParseTest::SetUp();
    parser = std::make_unique<TNetParse>(1);
  }
  std::string Whois(const std::string& domain) { return Url("/cgi-bin/whois?domain=" + domain); }
  std::unique_ptr<TNetParse> parser;
};

TEST_F(WhoisTest, ExpiryLineGivesTheDate) {
  struct Case {
    const char* what;
    std::string value, date;
  } cases[] = {
      {"a day, a month and a year", "05-mar-2027", "2027-03-05"},
      {"mended: month names in any letter case, the table's one capital gave February 0", "5-feb-2027", "2027-02-05"},
      {"the table's own February", "5-Feb-2027", "2027-02-05"},
      {"mended: month names in any letter case", "15-DEC-2030", "2030-12-15"},
      {"mended: an unknown month gives no date rather than month 0, which is no date", "5-xyz-2027", ""},
      // Always "yyyy-mm-dd", from the numbers: the reminder shows it and reads it back.
      {"mended: written from the numbers, a sign dropped", "+3-mar-2026", "2026-03-03"},
      {"mended: written from the numbers, leading zeros dropped", "003-mar-02026", "2026-03-03"},
      {"mended: written from the numbers, the year in four digits", "3-mar-3", "0003-03-03"},
      {"too few parts", "5-mar", ""},
      {"no expiry line at all", "", ""},
  };
  for (const Case& c : cases) {
    stub.SetWhoisExpiry(c.value);
    ASSERT_TRUE(parser->Lookup(Whois("example.cn"), 10000)) << c.what;
    EXPECT_TRUE(parser->Finished);
    EXPECT_EQ(parser->ExpireDate, c.date) << c.what;
  }
}

TEST_F(WhoisTest, LookupsInARowEachGetTheirOwnDate) {
  stub.SetWhoisExpiry("05-mar-2027");
  ASSERT_TRUE(parser->Lookup(Whois("a.cn"), 10000));
  EXPECT_EQ(parser->ExpireDate, "2027-03-05");
  stub.SetWhoisExpiry("");
  ASSERT_TRUE(parser->Lookup(Whois("b.cn"), 10000));
  EXPECT_EQ(parser->ExpireDate, "");
}

TEST_F(WhoisTest, AWaitEndsAtItsTimeOut) {
  stub.SetDelay("/cgi-bin/whois", 3000);
  DWORD start = GetTickCount();
  EXPECT_FALSE(parser->Lookup(Whois("a.cn"), 300));
  EXPECT_LT(GetTickCount() - start, 2500u);
}

// A look-up started while another one waits (a timer inside the first one's wait).
TNetParse* g_parser = nullptr;
std::string g_second;
bool g_secondDone = false, g_secondFinished = false;
std::string g_secondDate;
void CALLBACK SecondLookup(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_secondFinished = g_parser->Lookup(g_second, 10000);
  g_secondDate = g_parser->ExpireDate;
  g_secondDone = true;
}

TEST_F(WhoisTest, OverlappingLookupsCannotReturnEachOthersDates) {
  stub.SetWhoisExpiry("05-mar-2027");
  stub.SetDelay("/cgi-bin/whois?domain=slow.cn", 1500);
  g_parser = parser.get();
  g_second = Whois("other.cn");
  g_secondDone = false;
  SetTimer(nullptr, 0, 100, SecondLookup);
  bool first = parser->Lookup(Whois("slow.cn"), 10000);
  EXPECT_TRUE(g_secondDone);
  EXPECT_TRUE(g_secondFinished);
  EXPECT_EQ(g_secondDate, "2027-03-05");
  EXPECT_FALSE(first) << "the first look-up was overtaken by one for another domain";

  // Overtaken by a look-up of the same address, the first takes its result.
  g_second = Whois("slow.cn");
  g_secondDone = false;
  SetTimer(nullptr, 0, 100, SecondLookup);
  EXPECT_TRUE(parser->Lookup(Whois("slow.cn"), 10000));
  EXPECT_TRUE(g_secondDone);
  EXPECT_EQ(parser->ExpireDate, "2027-03-05");
  g_parser = nullptr;
}

}  // namespace
