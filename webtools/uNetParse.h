// TNetParse: the engine behind the web-site tools. In page mode (0) it fetches a page over
// HTTP, normalises its text, finds the title and META tags, the links and the pictures with
// regular expressions and writes the SEO report into a rich edit. In browser mode (1) it owns
// a hidden browser pane that loads the outside WHOIS page and reads the domain's expiry date
// from it. GUI thread only; the parser owns everything it creates.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/Component.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/StringList.h"
#include "webtools/NetParseText.h"
#include "webtools/PcreRegex.h"

class THttpClient;
class TRichEdit;
class TWebBrowser;

class TNetParse : public TObject {
  KARV_CLASS(TNetParse, TObject)
 public:
  // Mode 0 page mode, 1 browser mode (its pane goes into `paneParent`, a hidden window of
  // the caller's); any other value makes neither.
  explicit TNetParse(uint8_t mode, HWND paneParent = nullptr);
  ~TNetParse() override;
  TNetParse(const TNetParse&) = delete;
  TNetParse& operator=(const TNetParse&) = delete;

  // ---- browser mode: the WHOIS look-up
  std::string ExpireDate;  // "yyyy-mm-dd", empty when none was found
  bool Finished = false;

  // ---- page mode
  std::string PageStream;  // the body of the last GET; LoadPageText takes it over
  std::unique_ptr<THttpClient> Http;
  std::string Url;
  std::string PageText;     // normalised and upper-cased: what every search reads
  TCaseMask LowerCase;      // the letters of PageText that were lower case: links keep their case
  std::string ContentType;  // of the last GET's reply
  TStringList ExternalLinks;
  TOwned<TPcreRegex> Matcher;
  TOwned<TWebBrowser> Browser;
  TStringList DateParts;
  std::string TitleTag, HttpEquivTag, KeywordsTag, DescriptionTag;
  int32_t InternalCount = 0, ExternalCount = 0, AltCount = 0, NoAltCount = 0;
  // The read time-out GetPage sets for itself and every later request.
  int PageReadTimeout = 15000;

  void SetUrl(const std::string& address) { Url = address; }
  // HEAD for Url (GET when the server refuses HEAD); true when it succeeds.
  bool CheckUrl();
  // GET for Url into PageStream: 0 status 200, 1 another success, 2 failed with 301-305,
  // 3 failed with 403, 4 failed with 404, 5 any other failure.
  int32_t GetPage();
  void LoadPageText();
  const std::string& NormalizePage();
  void Parse();
  std::string MatchTag(const std::string& pattern);
  void ParseLinks();
  void ParseImages();
  void WriteReport(TRichEdit* target);

  // Starts loading the WHOIS page; the look-up's number is LookupId(). Always true.
  bool Navigate(const std::string& address);
  void DocumentComplete(TObject* sender, const std::string& url);
  void SplitDate(const std::string& value);
  std::string MonthToNumber();
  int LookupId() const { return lookupId_; }

  // A whole look-up: navigates, then serves messages until this look-up is done, the wait
  // runs out or the application ends. A look-up overtaken by a newer one for the same
  // address takes the newer one's result; for another address it ends without a date.
  // True when the look-up finished (ExpireDate may still be empty).
  bool Lookup(const std::string& address, int timeoutMs);

 private:
  int lookupId_ = 0;
  int finishedId_ = 0;
  std::string lookupAddress_;
};

// The address of the outside WHOIS page for a domain. The service's host is a deployment
// value; the ini key Logininfo/WhoisHost overrides it (tests and the run command use it).
std::string WhoisAddress(const std::string& domain);
inline constexpr const char* kWhoisHost = "whois.karvell.example";
// How long a WHOIS look-up may take before its caller stops waiting.
inline constexpr int kWhoisWaitMs = 60000;

// The parser for WHOIS look-ups, made by the main window when it is created and shared
// with the site-optimisation window.
extern std::unique_ptr<TNetParse> WhoisParser;
