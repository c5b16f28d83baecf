// The page parser's and the WHOIS reader's work on text; see NetParseText.h.
#include "webtools/NetParseText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace netparse {

// The tag searches. A match is the tag itself, from its "<", never what stands before it
// on its line (indentation, "<head>", another tag), so its length counts only its markup
// and text.
// The title runs to the end of its element when that closes on the same line, else to the
// line's last ">". Only a line's first "<TITLE" is tried (atomic group, then \K drops
// what stands before it): when no ">" follows it none follows a later one either, and
// trying each would be quadratic on a long line full of them.
const char* const kTitlePattern = "(?m)^(?>.*?(?=<TITLE))\\K<TITLE(?:[^<>\\n]*+>[^<\\n]*+</TITLE(?=>)|.*(?=>))";
// A META tag that holds the word, up to its own ">". A tag's text stops at the next "<",
// so each byte is read by one attempt at most: linear on any line.
const char* const kHttpEquivPattern = "<META(?>[^<>\\n]*?http-equiv)[^<>\\n]*+(?=>)";
const char* const kKeywordsPattern = "<META(?>[^<>\\n]*?KEYWORDS)[^<>\\n]*+(?=>)";
const char* const kDescriptionPattern = "<META(?>[^<>\\n]*?description)[^<>\\n]*+(?=>)";

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
// of the older library) and its ASCII letters upper case, in place, marking those that were
// lower case; the two bytes of a GBK character stay as they are. Eight bytes at a time while
// they are all ASCII without a NUL (no lead byte among them, and none before them: the
// byte-wise path steps over a whole character).
void UpperCaseInPlace(std::string& text, TCaseMask& lowerCase) {
  lowerCase.Clear(text.size());
  char* p = text.data();
  size_t n = text.size(), i = 0;
  while (i < n) {
    uint64_t w;
    if (i + 8 <= n && (memcpy(&w, p + i, 8), (w & kHigh) == 0 && !ZeroBytes(w))) {
      uint64_t atLeastA = w + (0x80 - 'a') * kOnes;    // high bit set where byte >= 'a'
      uint64_t aboveZ = w + (0x80 - 'z' - 1) * kOnes;  // high bit set where byte > 'z'
      uint64_t lower = atLeastA & ~aboveZ & kHigh;
      if (lower) {
        w ^= lower >> 2;  // 0x20 off the lower-case letters
        memcpy(p + i, &w, 8);
        // The high bit of byte k becomes bit k.
        lowerCase.Mark(i, (uint8_t)((lower * 0x0002040810204081ull) >> 56));
      }
      i += 8;
      continue;
    }
    unsigned char c = (unsigned char)p[i];
    if (c >= 0x81 && c <= 0xFE && i + 1 < n) {
      i += 2;
      continue;
    }
    if (c == 0) p[i] = ' ';
    if (c >= 'a' && c <= 'z') {
      p[i] = (char)(c - 32);
      lowerCase.Mark(i, 1);
    }
    ++i;
  }
}

}  // namespace

void TCaseMask::Clear(size_t bytes) { bits_.assign(bytes / 8 + 2, 0); }

void TCaseMask::Mark(size_t at, uint8_t bits) {
  unsigned shift = at % 8;
  bits_[at / 8] |= (uint8_t)(bits << shift);
  if (shift) bits_[at / 8 + 1] |= (uint8_t)(bits >> (8 - shift));
}

std::string TCaseMask::Restore(std::string_view upper, size_t at) const {
  std::string s(upper);
  for (size_t k = 0; k < s.size(); ++k) {
    size_t i = at + k;
    if (i / 8 < bits_.size() && (bits_[i / 8] >> (i % 8) & 1)) s[k] = (char)(s[k] + 32);
  }
  return s;
}

void NormalizePageText(std::string_view contentType, std::string& pageText, TCaseMask& lowerCase) {
  // UTF-8 by the reply's header, or by a declaration anywhere in the page, in any case.
  if (NamesUtf8(contentType) || NamesUtf8(pageText)) {
    std::string_view bytes = pageText;
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    pageText = sys::Utf8ToAnsi(bytes);
  }
  UpperCaseInPlace(pageText, lowerCase);
}

std::string MatchPageTag(TPcreRegex& matcher, const std::string& upperText, const std::string& pattern) {
  matcher.SetSubjectInPlace(upperText);
  matcher.SetRegEx(pattern);
  if (!matcher.Match()) return {};
  // A tag runs to the last ">" of its line; on a page of one huge line that is the page.
  return sys::CutAnsi(matcher.MatchedExpression(), kMaxTagBytes) + ">";
}

void CountLinks(TPcreRegex& matcher, const std::string& upperText, const TCaseMask& lowerCase,
                TStringList& externalLinks, int32_t& internal, int32_t& external) {
  matcher.SetOptions(PreSet(preMultiLine));
  matcher.SetSubjectInPlace(upperText);
  matcher.SetRegEx(kLinkPattern);
  internal = 0;
  external = 0;
  for (bool found = matcher.Match(); found; found = matcher.MatchAgain()) {
    std::string_view link = ValueGroup(matcher);
    if (StartsNoCase(link, "http://") || StartsNoCase(link, "https://")) {
      ++external;
      // Links keep their letter case: paths on the server are case-sensitive.
      externalLinks.Add(lowerCase.Restore(link, (size_t)(link.data() - upperText.data())));
    } else {
      ++internal;
    }
  }
}

void CountImages(TPcreRegex& matcher, const std::string& upperText, int32_t& withAlt, int32_t& withoutAlt) {
  matcher.SetOptions(PreSet(preMultiLine));
  matcher.SetSubjectInPlace(upperText);
  matcher.SetRegEx(kImagePattern);
  for (bool found = matcher.Match(); found; found = matcher.MatchAgain()) {
    // A picture without an ALT text, or with an empty one, has no annotation.
    if (!ValueGroup(matcher).empty())
      ++withAlt;
    else
      ++withoutAlt;
  }
}

std::string MonthNumber(const std::string& name) {
  static const char* const kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
  std::string m = sys::Trim(name);
  if (m.empty()) return {};
  for (int i = 0; i < 12; ++i)
    if (sys::SameText(m, kMonths[i])) return sys::IntToStr(i + 1);
  return {};
}

std::string ReadWhoisExpiry(const std::string& body) {
  // Line ends: CR, LF and CR LF.
  size_t pos = 0;
  while (pos <= body.size()) {
    size_t end = body.find_first_of("\r\n", pos);
    std::string line = body.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (line.find("Expiration Date") != std::string::npos) {
      size_t colon = line.find(": ");
      std::string value = sys::Trim(colon == std::string::npos ? line.substr(std::min<size_t>(1, line.size()))
                                                               : line.substr(colon + 2));
      // "dd-mon-yyyy", parts split at every "-" (here, not by the data layer's SplitString:
      // this unit builds without it for the fuzzers).
      std::vector<std::string> parts;
      for (size_t from = 0;;) {
        size_t dash = value.find('-', from);
        parts.push_back(value.substr(from, dash == std::string::npos ? std::string::npos : dash - from));
        if (dash == std::string::npos) break;
        from = dash + 1;
      }
      if (parts.size() < 3) return {};
      std::string month = MonthNumber(parts[1]);
      std::string day = sys::Trim(parts[0]);
      std::string year = sys::Trim(parts[2]);
      year = year.substr(0, year.find_first_of(" \t"));
      int d = sys::StrToIntDef(day, 0), y = sys::StrToIntDef(year, 0);
      // A month not in the table, or a day or year that is no number, gives no date.
      if (month.empty() || d < 1 || d > 31 || y < 1 || y > 9999) return {};
      // From the numbers, not the texts: "+3" or "0003" would not make "yyyy-mm-dd".
      return sys::Format("%04d-%02d-%02d", y, sys::StrToIntDef(month, 0), d);
    }
    if (end == std::string::npos) break;
    pos = end + ((body[end] == '\r' && end + 1 < body.size() && body[end + 1] == '\n') ? 2 : 1);
  }
  return {};
}

bool ParseExpiry(const std::string& text, TDateTime& date) {
  int y = 0, m = 0, d = 0;
  if (sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d) != 3 || !dt::IsValidDate(y, m, d)) return false;
  date = dt::EncodeDate(y, m, d);
  return true;
}
