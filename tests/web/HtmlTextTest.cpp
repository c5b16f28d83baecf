// Page text as the browser-pane stand-in gives it.
#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "platform/web/HtmlText.h"

namespace {

std::string Text(const std::string& page) { return sys::WideToAnsi(html::BodyText(sys::AnsiToWide(page))); }

TEST(HtmlText, BodyTextLikeInnerText) {
  struct Case {
    const char* page;
    const char* text;
  } cases[] = {
      {"<html><head><title>T</title><style>p{color:red}</style></head>"
       "<body><p>Hello   <b>world</b>\r\n</p><p>Second</p></body></html>",
       "Hello world\r\n\r\nSecond"},
      {"<body>a<script>document.write('<p>x</p>')</script>b<!-- <p>hidden</p> -->c</body>", "abc"},
      {"<body>&lt;a&gt; &amp; &#65;&#x42;&quot; &unknown; 5&nbsp;%</body>", "<a> & AB\" &unknown; 5 %"},
      {"<body><pre>\r\nDomain Name: KARV.COM\r\n  Expiration Date: 05-mar-2027\r\n</pre></body>",
       "Domain Name: KARV.COM\r\n  Expiration Date: 05-mar-2027"},
      {"<body>a<br>b<BR/>c<div>d</div>e</body>", "a\r\nb\r\nc\r\nd\r\ne"},
      {"no body tag, <i>just</i> text", "no body tag, just text"},
      {"<body><a title=\"x>y\" href='#'>link</a> 1 < 2</body>", "link 1 < 2"},
      {"<body><table><tr><td>名称</td><td>值</td></tr><tr><td>二</td></tr></table></body>", "名称 值\r\n二"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, Text(c.page)) << c.page;
}

TEST(HtmlText, TitleText) {
  EXPECT_EQ("Karvell  示例 & 企业",
            sys::WideToAnsi(html::TitleText(sys::AnsiToWide("<head><TITLE>\r\n Karvell &nbsp;示例 &amp; 企业 </title>"))));
  EXPECT_EQ(L"", html::TitleText(L"<body>no title</body>"));
}

TEST(HtmlText, PageIsDecodedByItsCharset) {
  const std::string chinese = "中文";  // code page 936 bytes
  const std::string utf8 = sys::AnsiToUtf8(chinese);
  const std::wstring wide = sys::AnsiToWide(chinese);
  EXPECT_EQ(wide, html::DecodePage(utf8, "text/html; charset=UTF-8"));
  EXPECT_EQ(wide, html::DecodePage(chinese, "text/html; charset=\"gb2312\""));
  EXPECT_EQ(wide, html::DecodePage(chinese, "text/html"));  // no charset: the system's code page
  EXPECT_EQ(wide, html::DecodePage("\xEF\xBB\xBF" + utf8, ""));
  std::wstring page = html::DecodePage("<html><head><meta charset=\"utf-8\"></head><body>" + utf8, "text/html");
  EXPECT_NE(std::wstring::npos, page.find(wide));
  page = html::DecodePage(
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" + utf8, "");
  EXPECT_NE(std::wstring::npos, page.find(wide));
}

}  // namespace
