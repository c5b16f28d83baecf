// The text side of the page parser and the WHOIS reader, over bytes only (no windows):
// the page's charset and normalisation, the tag, link and picture searches, and the
// expiry date in a WHOIS page's text. TNetParse (uNetParse.h) calls these on its fields.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"
#include "webtools/PcreRegex.h"

// Which bytes of a normalised page were lower-case letters before it was upper-cased, one
// bit a byte: links are read back in their own case without a second copy of the page.
class TCaseMask {
 public:
  // All bits clear, for a text of `bytes` bytes.
  void Clear(size_t bytes);
  // Bit k of `bits` set: byte `at + k` was lower case.
  void Mark(size_t at, uint8_t bits);
  // `upper`, the bytes standing at `at` in the page, in their own letter case.
  std::string Restore(std::string_view upper, size_t at) const;

 private:
  std::vector<uint8_t> bits_;
};

// The page in `pageText` (the GET's body, taken over) decoded from UTF-8 when the reply's
// Content-Type or the page names UTF-8, its NUL bytes made blanks and its ASCII letters upper
// case, in place; `lowerCase` records the letters that were lower case.
void NormalizePageText(std::string_view contentType, std::string& pageText, TCaseMask& lowerCase);
// The first match of a tag pattern in the upper-cased text, cut to a sane length and ended
// with ">", or empty. `upperText` must outlive the matcher's next subject.
std::string MatchPageTag(TPcreRegex& matcher, const std::string& upperText, const std::string& pattern);
// Counts the links of the normalised page and lists the external ones, in their own case
// (appended to `externalLinks`).
void CountLinks(TPcreRegex& matcher, const std::string& upperText, const TCaseMask& lowerCase,
                TStringList& externalLinks, int32_t& internal, int32_t& external);
// Counts the pictures of the normalised page with and without an ALT text.
void CountImages(TPcreRegex& matcher, const std::string& upperText, int32_t& withAlt, int32_t& withoutAlt);

// "1".."12" for a month's three-letter English name (any case, blanks around), else empty.
std::string MonthNumber(const std::string& name);
// The expiry date of a WHOIS page's text ("yyyy-mm-dd") from its first line with
// "Expiration Date" in a "dd-mon-yyyy" form; empty when there is none or it is no date.
std::string ReadWhoisExpiry(const std::string& bodyText);
// "yyyy-mm-dd" as a date; false when the text is no such date.
bool ParseExpiry(const std::string& text, TDateTime& date);

// The patterns of the page analysis (the benchmark runs them bare against the parser).
namespace netparse {
extern const char* const kTitlePattern;
extern const char* const kHttpEquivPattern;
extern const char* const kKeywordsPattern;
extern const char* const kDescriptionPattern;
extern const char* const kLinkPattern;
extern const char* const kImagePattern;
}  // namespace netparse
