// A fetched page through the page parser's analysis: charset and normalisation by the
// Content-Type value on the first line, then the title and META tag searches, the links and
// the pictures, with the parser's own patterns.
#include <cstddef>
#include <cstdint>
#include <string>

#include "webtools/NetParseText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view all(reinterpret_cast<const char*>(data), size);
  size_t nl = all.find('\n');
  std::string contentType(nl == std::string_view::npos ? std::string_view() : all.substr(0, nl));
  std::string page(nl == std::string_view::npos ? all : all.substr(nl + 1));
  TCaseMask lowerCase;
  NormalizePageText(contentType, page, lowerCase);
  const std::string& upper = page;
  static TPcreRegex matcher(nullptr);
  for (const char* pattern : {netparse::kTitlePattern, netparse::kHttpEquivPattern, netparse::kKeywordsPattern,
                              netparse::kDescriptionPattern})
    (void)MatchPageTag(matcher, upper, pattern);
  TStringList external;
  int32_t internalCount = 0, externalCount = 0, alt = 0, noAlt = 0;
  CountLinks(matcher, upper, lowerCase, external, internalCount, externalCount);
  CountImages(matcher, upper, alt, noAlt);
  matcher.SetOptions(0);
  return 0;
}
