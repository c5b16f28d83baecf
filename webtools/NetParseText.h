// The text side of the page parser and the WHOIS reader, over bytes only (no windows):
// the page's charset and normalisation, the tag, link and picture searches, and the
// expiry date in a WHOIS page's text. TNetParse (uNetParse.h) calls these on its fields.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"
#include "webtools/PcreRegex.h"

// The page in `pageText` (the GET's body, taken over) decoded from UTF-8 when the reply's
// Content-Type or the page names UTF-8; `originalText` gets it in its own letter case and
// the return value is the upper-cased text the tag searches read.
std::string NormalizePageText(std::string_view contentType, std::string& pageText, std::string& originalText);
// The first match of a tag pattern in the upper-cased text, cut to a sane length and ended
// with ">", or empty. `upperText` must outlive the matcher's next subject.
std::string MatchPageTag(TPcreRegex& matcher, const std::string& upperText, const std::string& pattern);
// Counts the links of the page and lists the external ones (appended to `externalLinks`).
void CountLinks(TPcreRegex& matcher, const std::string& originalText, TStringList& externalLinks, int32_t& internal,
                int32_t& external);
// Counts the pictures with and without an ALT text.
void CountImages(TPcreRegex& matcher, const std::string& originalText, int32_t& withAlt, int32_t& withoutAlt);

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
