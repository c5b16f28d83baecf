// The page parser and the WHOIS reader; see uNetParse.h.
#include "webtools/uNetParse.h"

#include <algorithm>
#include <cstring>

#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Memo.h"
#include "platform/rtl/SysUtils.h"
#include "platform/web/HttpClient.h"
#include "platform/web/WebBrowser.h"

std::unique_ptr<TNetParse> WhoisParser;

namespace netparse {

// The tag searches. Each starts at a line's first "<TAG" and may not backtrack to a later
// one on the same line (atomic group): a later start on that line could only match less,
// so the result is the plain leftmost match of "<TAG.*...(?=>)", found in time linear in
// the line instead of quadratic on a page with many such tags on one long line.
const char* const kTitlePattern = "(?m)^(?>.*?(?=<TITLE))<TITLE.*(?=>)";
const char* const kHttpEquivPattern = "(?m)^(?>.*?(?=<META))<META.*http-equiv.*(?=>)";
const char* const kKeywordsPattern = "(?m)^(?>.*?(?=<META))<META.*KEYWORDS.*(?=>)";
const char* const kDescriptionPattern = "(?m)^(?>.*?(?=<META))<META.*description.*(?=>)";

// An href and its value: double-quoted, single-quoted or bare. A quote left open ends the
// value at the line's end, so a broken page is still read in one pass.
const char* const kLinkPattern =
    "[Hh][Rr][Ee][Ff][ \\t]*=[ \\t]*(?:\"([^\"\\r\\n]*+)\"?|'([^'\\r\\n]*+)'?|([^\\s>\"']*+))";
// A picture's tag up to its ">" (or the end of a tag left open), with the value of its ALT
// attribute in one of three groups when it has one.
const char* const kImagePattern =
    "<[Ii][Mm][Gg](?=[\\s/>])(?:[^>]*?[\\s\"'][Aa][Ll][Tt][ \\t]*=[ \\t]*"
    "(?:\"([^\"]*+)\"?|'([^']*+)'?|([^\\s>\"']*+)))?[^>]*+";

}  // namespace netparse

using namespace netparse;

namespace {

constexpr TColor kBlack = 0;
constexpr TColor kRed = 255;
// Longer tags are cut: the report shows them, and no real title or META tag comes near.
constexpr size_t kMaxTagBytes = 4096;

bool StartsNoCase(std::string_view s, const char* prefix) {
  size_t n = strlen(prefix);
  return s.size() >= n && sys::SameText(s.substr(0, n), prefix);
}

// The set group of the last match among the alternatives of a value, trimmed, as a view
// into the subject (no copy per match).
std::string_view ValueGroup(const TPcreRegex& r) {
  for (int g = 1; g <= r.SubExpressionCount(); ++g) {
    if (r.MatchStart(g) <= 0) continue;
    std::string_view v = std::string_view(r.Subject()).substr(r.MatchStart(g) - 1, r.MatchEnd(g) - r.MatchStart(g));
    while (!v.empty() && (unsigned char)v.front() <= ' ') v.remove_prefix(1);
    while (!v.empty() && (unsigned char)v.back() <= ' ') v.remove_suffix(1);
    return v;
  }
  return {};
}

constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;

// High bit set in each byte of `w` that is zero.
inline uint64_t ZeroBytes(uint64_t w) { return (w - kOnes) & ~w & kHigh; }

// The next `byte` in `text` from `from`, eight bytes at a time (the C library's search is a
// plain byte loop under Wine), or npos.
size_t FindByte(std::string_view text, size_t from, char byte) {
  const uint64_t pattern = kOnes * (unsigned char)byte;
  size_t i = from;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t w;
    memcpy(&w, text.data() + i, 8);
    if (ZeroBytes(w ^ pattern)) break;
  }
  for (; i < text.size(); ++i)
    if (text[i] == byte) return i;
  return std::string_view::npos;
}

// A Content-Type value or a META tag anywhere in the text names UTF-8 ("charset=utf-8",
// quoted or not, "utf8" too), in any letter case; looked for from each "=".
bool NamesUtf8(std::string_view text) {
  auto lower = [](char c) { return (char)(c >= 'A' && c <= 'Z' ? c + 32 : c); };
  auto sameAt = [&](size_t at, std::string_view word) {
    if (at + word.size() > text.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
      if (lower(text[at + i]) != word[i]) return false;
    return true;
  };
  for (size_t eq = FindByte(text, 0, '='); eq != std::string_view::npos; eq = FindByte(text, eq + 1, '=')) {
    if (eq < 7 || !sameAt(eq - 7, "charset")) continue;
    size_t v = eq + 1;
    if (v < text.size() && (text[v] == '"' || text[v] == '\'')) ++v;
    if (sameAt(v, "utf-8") || sameAt(v, "utf8")) return true;
  }
  return false;
}

// Makes the NUL bytes of `text` blanks (a NUL would end the text for the pattern searches
// of the older library) and returns it with its ASCII letters in upper case; the two bytes
// of a GBK character stay as they are. Eight bytes at a time while they are all ASCII without a NUL (no lead
// byte among them, and none before them: the byte-wise path steps over a whole character).
std::string NormalizedUpper(std::string& text) {
  std::string out(text.size(), '\0');
  char* src = text.data();
  char* dst = out.data();
  size_t n = text.size(), i = 0;
  while (i < n) {
    uint64_t w;
    if (i + 8 <= n && (memcpy(&w, src + i, 8), (w & kHigh) == 0 && !ZeroBytes(w))) {
      uint64_t atLeastA = w + (0x80 - 'a') * kOnes;    // high bit set where byte >= 'a'
      uint64_t aboveZ = w + (0x80 - 'z' - 1) * kOnes;  // high bit set where byte > 'z'
      w ^= ((atLeastA & ~aboveZ) & kHigh) >> 2;        // 0x20 off the lower-case letters
      memcpy(dst + i, &w, 8);
      i += 8;
      continue;
    }
    unsigned char c = (unsigned char)src[i];
    if (c >= 0x81 && c <= 0xFE && i + 1 < n) {
      dst[i] = src[i];
      dst[i + 1] = src[i + 1];
      i += 2;
      continue;
    }
    if (c == 0) c = src[i] = ' ';
    dst[i++] = (char)(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  return out;
}

int Utf16Length(const std::string& ansi) { return (int)sys::AnsiToWide(ansi).size(); }

void AppendLine(TRichEdit* target, const std::string& text, TColor color) {
  TTextAttributes a = target->SelAttributes();
  a.Color = color;
  target->AppendText(text + "\r\n", a);
}

// The status of a failed request: that of its reply, or the client's last one.
int FailedStatus(const EHttpError& e, const THttpClient& http) {
  return e.StatusCode() ? e.StatusCode() : http.ResponseCode();
}

}  // namespace

std::string WhoisAddress(const std::string& domain) {
  std::string host = IniFile ? IniFile->ReadString("Logininfo", "WhoisHost", kWhoisHost) : kWhoisHost;
  if (host.empty()) host = kWhoisHost;
  return "http://" + host + "/cgi-bin/whois?domain=" + domain;
}

TNetParse::TNetParse(uint8_t mode, HWND paneParent) {
  if (mode == 0) {
    Matcher.reset(new TPcreRegex(nullptr));
    // First multi-line, then case-insensitive: the object starts case-insensitive only.
    Matcher->SetOptions(PreSet(preMultiLine));
    Matcher->SetOptions(PreSet(preCaseLess));
    Http = std::make_unique<THttpClient>();
    Http->HandleRedirects = true;
    Http->RedirectMaximum = 15;
    Http->ReadTimeout = 30000;
    Http->ContentType = "application/x-www-form-urlencoded";
    Http->UserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows 98) ";
  } else if (mode == 1) {
    RegisterWebBrowser();
    Browser.reset(new TWebBrowser(nullptr));
    Browser->SetVisible(false);  // it only reads pages; nothing of it is shown
    if (paneParent) Browser->SetParentWindow(paneParent);
    Browser->OnDocumentComplete = TDocumentCompleteEvent(this, &TNetParse::DocumentComplete);
  }
}

TNetParse::~TNetParse() {
  if (Browser) Browser->OnDocumentComplete.Clear();
}

// ---------------------------------------------------------------- page mode

bool TNetParse::CheckUrl() {
  if (!Http) return false;
  try {
    Http->Head(Url);
    return true;
  } catch (const EHttpError& e) {
    int status = FailedStatus(e, *Http);
    // Some servers refuse HEAD; the link is only broken when GET fails too.
    if (e.Kind() == THttpErrorKind::Status && (status == 405 || status == 501)) {
      try {
        Http->Get(Url);
        return true;
      } catch (const EHttpError&) {
      }
    }
  } catch (const std::exception&) {
  }
  std::string line = sys::IntToStr(Http->ResponseCode()) + ":" + Url;
  WriteErrorLog(line);
  if (Http->ResponseCode() == 200) WriteErrorLog(line);
  return false;
}

int32_t TNetParse::GetPage() {
  if (!Http) return 5;
  Http->ReadTimeout = PageReadTimeout;
  PageStream.clear();
  ContentType.clear();
  try {
    THttpResponse r = Http->Get(Url);
    PageStream = std::move(r.Body);
    ContentType = r.Header("Content-Type");
    if (r.StatusCode == 200) {
      WriteErrorLog("200");
      WriteErrorLog("200");
      return 0;
    }
    WriteErrorLog(sys::IntToStr(r.StatusCode));
    return 1;
  } catch (const EHttpError& e) {
    int status = FailedStatus(e, *Http);
    if (status >= 301 && status <= 305) return 2;
    if (status == 403 || status == 404) {
      WriteErrorLog(sys::IntToStr(status));
      return status == 403 ? 3 : 4;
    }
    return 5;
  } catch (const std::exception&) {
    WriteErrorLog(sys::IntToStr(Http->ResponseCode()));
    return 5;
  }
}

// The stream is read once: its text moves over rather than being copied.
void TNetParse::LoadPageText() { PageText = std::move(PageStream); }

std::string TNetParse::NormalizePage() {
  // UTF-8 by the reply's header, or by a declaration anywhere in the page, in any case.
  if (NamesUtf8(ContentType) || NamesUtf8(PageText)) {
    std::string_view bytes = PageText;
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    PageText = sys::Utf8ToAnsi(bytes);
  }
  OriginalText = std::move(PageText);
  PageText = NormalizedUpper(OriginalText);
  return PageText;
}

std::string TNetParse::MatchTag(const std::string& pattern) {
  if (!Matcher) return {};
  Matcher->SetSubjectInPlace(PageText);
  Matcher->SetRegEx(pattern);
  if (!Matcher->Match()) return {};
  // A tag runs to the last ">" of its line; on a page of one huge line that is the page.
  return sys::CutAnsi(Matcher->MatchedExpression(), kMaxTagBytes) + ">";
}

void TNetParse::Parse() {
  TitleTag = MatchTag(kTitlePattern);
  HttpEquivTag = MatchTag(kHttpEquivPattern);
  KeywordsTag = MatchTag(kKeywordsPattern);
  DescriptionTag = MatchTag(kDescriptionPattern);
  ParseLinks();
  ParseImages();
}

void TNetParse::ParseLinks() {
  if (!Matcher) return;
  // Links keep their letter case: paths on the server are case-sensitive.
  Matcher->SetOptions(PreSet(preMultiLine));
  Matcher->SetSubjectInPlace(OriginalText);
  Matcher->SetRegEx(kLinkPattern);
  InternalCount = 0;
  ExternalCount = 0;
  for (bool found = Matcher->Match(); found; found = Matcher->MatchAgain()) {
    std::string_view link = ValueGroup(*Matcher);
    if (StartsNoCase(link, "http://") || StartsNoCase(link, "https://")) {
      ++ExternalCount;
      ExternalLinks.Add(std::string(link));
    } else {
      ++InternalCount;
    }
  }
}

void TNetParse::ParseImages() {
  if (!Matcher) return;
  Matcher->SetOptions(PreSet(preMultiLine));
  Matcher->SetSubjectInPlace(OriginalText);
  Matcher->SetRegEx(kImagePattern);
  for (bool found = Matcher->Match(); found; found = Matcher->MatchAgain()) {
    // A picture without an ALT text, or with an empty one, has no annotation.
    if (!ValueGroup(*Matcher).empty())
      ++AltCount;
    else
      ++NoAltCount;
  }
}

void TNetParse::WriteReport(TRichEdit* target) {
  if (!target) return;
  // Title.
  std::string verdict;
  if (!TitleTag.empty()) {
    AppendLine(target, TitleTag, kBlack);
    verdict = "提示：网页标题字符数量为" + sys::IntToStr(Utf16Length(TitleTag) - 15) + "个" + ",建议字符数量少于：80 个";
  } else {
    verdict = "没有找到网页标题，建议添加字符数量少于 80的标题信息";
  }
  AppendLine(target, verdict, kRed);
  if (!HttpEquivTag.empty()) AppendLine(target, HttpEquivTag, kBlack);
  if (!KeywordsTag.empty()) {
    AppendLine(target, KeywordsTag, kBlack);
    AppendLine(target, "提示：网页关键词字符数量为" + sys::IntToStr(Utf16Length(KeywordsTag) - 35) + "建议字符数量少于：100 个",
               kRed);
  } else {
    AppendLine(target, "提示：没有找到网页关键词信息，建议添加字符数量少于 100 的关键词信息。", kRed);
  }
  if (!DescriptionTag.empty()) {
    AppendLine(target, DescriptionTag, kBlack);
    AppendLine(target,
               "提示：网页描述字符数量为" + sys::IntToStr(Utf16Length(DescriptionTag) - 35) + "建议字符数量少于：200 个",
               kRed);
  } else {
    AppendLine(target, "提示：没有找到网页描述信息，建议添加字符数量少于 200 的描述信息。", kRed);
  }
  AppendLine(target,
             "网站内部链接数量为:" + sys::IntToStr(InternalCount) + "网站外部链接数量为:" + sys::IntToStr(ExternalCount) +
                 "推荐使用网页坏链接检测工具检测链接的有效性!",
             kRed);
  AppendLine(target,
             "在所检测的网页中发现含有注释标签alt的图片共有" + sys::IntToStr(AltCount) + "张," + "其中没有注释的图片共有" +
                 sys::IntToStr(NoAltCount) + "张",
             kBlack);
  AppendLine(target, "建议使用相关的关键词对重要的图片进行注释.", kBlack);
}

// ---------------------------------------------------------------- browser mode

bool TNetParse::Navigate(const std::string& address) {
  Finished = false;
  ExpireDate.clear();
  ++lookupId_;
  lookupAddress_ = address;
  if (Browser) Browser->Navigate(address);
  return true;
}

void TNetParse::DocumentComplete(TObject*, const std::string&) {
  try {
    TStringList lines;
    // Line ends: CR, LF and CR LF.
    std::string body = Browser ? Browser->BodyText() : std::string();
    size_t pos = 0;
    while (pos <= body.size()) {
      size_t end = body.find_first_of("\r\n", pos);
      lines.Add(body.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
      if (end == std::string::npos) break;
      pos = end + ((body[end] == '\r' && end + 1 < body.size() && body[end + 1] == '\n') ? 2 : 1);
    }
    for (const auto& item : lines) {
      const std::string& line = item.text;
      if (line.find("Expiration Date") == std::string::npos) continue;
      size_t colon = line.find(": ");
      std::string value = sys::Trim(colon == std::string::npos ? line.substr(std::min<size_t>(1, line.size()))
                                                               : line.substr(colon + 2));
      SplitDate(value);
      if (DateParts.Count() < 3) break;
      std::string month = MonthToNumber();
      std::string day = sys::Trim(DateParts[0]);
      std::string year = sys::Trim(DateParts[2]);
      year = year.substr(0, year.find_first_of(" \t"));
      int d = sys::StrToIntDef(day, 0), y = sys::StrToIntDef(year, 0);
      // A month not in the table, or a day or year that is no number, gives no date.
      if (month.empty() || d < 1 || d > 31 || y < 1 || y > 9999) break;
      if (month.size() < 2) month = "0" + month;
      if (day.size() < 2) day = "0" + day;
      ExpireDate = year + "-" + month + "-" + day;
      break;
    }
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TNetParse.DocumentComplete出错");
  }
  finishedId_ = lookupId_;
  Finished = true;
}

void TNetParse::SplitDate(const std::string& value) {
  DateParts.Clear();
  SplitString(value, "-", DateParts);
}

std::string TNetParse::MonthToNumber() {
  static const char* const kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
  if (DateParts.Count() < 2 || DateParts[1].empty()) return {};
  std::string m = sys::Trim(DateParts[1]);
  for (int i = 0; i < 12; ++i)
    if (sys::SameText(m, kMonths[i])) return sys::IntToStr(i + 1);
  return {};
}

bool TNetParse::Lookup(const std::string& address, int timeoutMs) {
  Navigate(address);
  int mine = lookupId_;
  DWORD start = GetTickCount();
  for (;;) {
    if (Finished && finishedId_ == lookupId_) {
      // Overtaken by a look-up of another address: its date is not ours.
      if (lookupId_ != mine && lookupAddress_ != address) {
        return false;
      }
      return true;
    }
    if (!Application || Application->Terminated()) return false;
    if ((int)(GetTickCount() - start) > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Application->ProcessMessages();
  }
}
