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
#include "webtools/NetParseText.h"

std::unique_ptr<TNetParse> WhoisParser;


using namespace netparse;

namespace {

constexpr TColor kBlack = 0;
constexpr TColor kRed = 255;
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
    // Some servers refuse HEAD; the link is only broken when GET fails too. Only the
    // status is read: the body may be large, and nothing here looks at it.
    if (e.Kind() == THttpErrorKind::Status && (status == 405 || status == 501)) {
      try {
        Http->GetStatus(Url);
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

const std::string& TNetParse::NormalizePage() {
  NormalizePageText(ContentType, PageText, LowerCase);
  return PageText;
}

std::string TNetParse::MatchTag(const std::string& pattern) {
  return Matcher ? MatchPageTag(*Matcher, PageText, pattern) : std::string();
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
  if (Matcher) CountLinks(*Matcher, PageText, LowerCase, ExternalLinks, InternalCount, ExternalCount);
}

void TNetParse::ParseImages() {
  if (Matcher) CountImages(*Matcher, PageText, AltCount, NoAltCount);
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
    ExpireDate = ReadWhoisExpiry(Browser ? Browser->BodyText() : std::string());
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
  return DateParts.Count() < 2 ? std::string() : MonthNumber(DateParts[1]);
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
