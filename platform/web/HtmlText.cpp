// A small, bounded HTML-to-text pass: one scan over the page, no tree. Good enough for the
// pages the program shows and for reading lines of a WHOIS page; not a layout engine.
#include "platform/web/HtmlText.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cwctype>

#include "platform/rtl/SysUtils.h"

namespace html {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? (wchar_t)(c - L'A' + L'a') : c; }

// Position of `needle` (lower-case ASCII) in `s` from `from`, without regard to case.
size_t FindNoCase(std::wstring_view s, std::wstring_view needle, size_t from = 0) {
  if (needle.empty() || s.size() < needle.size()) return std::wstring_view::npos;
  for (size_t i = from; i + needle.size() <= s.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && Lower(s[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::wstring_view::npos;
}

struct Entity {
  const wchar_t* name;
  wchar_t ch;
};
const Entity kEntities[] = {
    {L"amp", L'&'},     {L"lt", L'<'},       {L"gt", L'>'},       {L"quot", L'"'},    {L"apos", L'\''},
    {L"nbsp", L' '},    {L"copy", 0x00A9},   {L"reg", 0x00AE},    {L"middot", 0x00B7}, {L"laquo", 0x00AB},
    {L"raquo", 0x00BB}, {L"hellip", 0x2026}, {L"mdash", 0x2014},  {L"ndash", 0x2013}, {L"times", 0x00D7},
    {L"yen", 0x00A5},   {L"ldquo", 0x201C},  {L"rdquo", 0x201D},  {L"lsquo", 0x2018}, {L"rsquo", 0x2019},
};

// Decodes the entity starting at s[i] == '&'; on success advances i past it.
bool DecodeEntity(std::wstring_view s, size_t& i, wchar_t& out) {
  size_t j = i + 1;
  if (j < s.size() && s[j] == L'#') {
    ++j;
    bool hex = j < s.size() && (s[j] == L'x' || s[j] == L'X');
    if (hex) ++j;
    unsigned long v = 0;
    size_t digits = 0;
    for (; j < s.size() && digits < 8; ++j, ++digits) {
      wchar_t c = s[j];
      int d = c >= L'0' && c <= L'9' ? c - L'0'
              : hex && Lower(c) >= L'a' && Lower(c) <= L'f' ? Lower(c) - L'a' + 10
                                                            : -1;
      if (d < 0) break;
      v = v * (hex ? 16 : 10) + (unsigned long)d;
    }
    if (digits == 0 || v == 0 || v > 0xFFFF) return false;  // beyond the basic plane: left as is
    if (j < s.size() && s[j] == L';') ++j;
    out = (wchar_t)v;
    i = j;
    return true;
  }
  size_t end = j;
  while (end < s.size() && end - j < 10 && std::iswalnum(s[end])) ++end;
  std::wstring name(s.substr(j, end - j));
  for (const auto& e : kEntities)
    if (name == e.name) {
      out = e.ch;
      i = end < s.size() && s[end] == L';' ? end + 1 : end;
      return true;
    }
  return false;
}

// Collects text with collapsed white space and requested line breaks.
class TextWriter {
 public:
  void Space() { pendingSpace_ = true; }
  void Break(int n = 1) { pendingBreaks_ = std::max(pendingBreaks_, n); }
  void HardBreak() {
    Flush();
    out_ += L"\r\n";
    pendingSpace_ = false;
  }
  void Char(wchar_t c) {
    Flush();
    if (pendingSpace_ && !out_.empty() && !IsSpace(out_.back())) out_ += L' ';
    pendingSpace_ = false;
    out_ += c;
  }
  std::wstring Take() {
    while (!out_.empty() && IsSpace(out_.back())) out_.pop_back();
    return std::move(out_);
  }

 private:
  void Flush() {
    if (pendingBreaks_ > 0 && !out_.empty()) {
      while (!out_.empty() && (out_.back() == L' ' || out_.back() == L'\t')) out_.pop_back();
      int have = 0;  // line breaks already at the end
      for (size_t k = out_.size(); k >= 2 && out_[k - 2] == L'\r' && out_[k - 1] == L'\n'; k -= 2) ++have;
      for (int k = have; k < pendingBreaks_; ++k) out_ += L"\r\n";
      pendingSpace_ = false;
    }
    pendingBreaks_ = 0;
  }
  std::wstring out_;
  bool pendingSpace_ = false;
  int pendingBreaks_ = 0;
};

bool IsBlock(const std::wstring& tag) {
  static const wchar_t* const kBlocks[] = {
      L"p",       L"div",    L"h1",   L"h2",    L"h3",     L"h4",      L"h5",     L"h6",    L"ul",
      L"ol",      L"li",     L"dl",   L"dt",    L"dd",     L"table",   L"tr",     L"pre",   L"blockquote",
      L"form",    L"hr",     L"address", L"center", L"section", L"article", L"header", L"footer", L"nav",
      L"fieldset", L"legend", L"caption", L"tbody", L"thead", L"tfoot", L"body", L"html", L"option"};
  for (const wchar_t* b : kBlocks)
    if (tag == b) return true;
  return false;
}

bool IsSkipped(const std::wstring& tag) {
  return tag == L"script" || tag == L"style" || tag == L"head" || tag == L"title" || tag == L"noscript" ||
         tag == L"template";
}

// Writes the text of s into w: tags interpreted, entities decoded.
void WriteText(std::wstring_view s, TextWriter& w) {
  int preDepth = 0;
  size_t i = 0;
  while (i < s.size()) {
    wchar_t c = s[i];
    if (c == L'<' && i + 1 < s.size()) {
      wchar_t n = s[i + 1];
      if (s.substr(i, 4) == L"<!--") {
        size_t end = s.find(L"-->", i + 4);
        i = end == std::wstring_view::npos ? s.size() : end + 3;
        continue;
      }
      if (n == L'!' || n == L'?') {
        size_t end = s.find(L'>', i);
        i = end == std::wstring_view::npos ? s.size() : end + 1;
        continue;
      }
      bool closing = n == L'/';
      size_t j = i + (closing ? 2 : 1);
      if (j < s.size() && std::iswalpha(s[j])) {
        size_t nameEnd = j;
        while (nameEnd < s.size() && (std::iswalnum(s[nameEnd]) || s[nameEnd] == L'-')) ++nameEnd;
        std::wstring tag;
        for (size_t k = j; k < nameEnd; ++k) tag += Lower(s[k]);
        size_t end = nameEnd;  // the tag's '>', quotes respected
        wchar_t quote = 0;
        for (; end < s.size(); ++end) {
          if (quote) {
            if (s[end] == quote) quote = 0;
          } else if (s[end] == L'"' || s[end] == L'\'') {
            quote = s[end];
          } else if (s[end] == L'>') {
            break;
          }
        }
        i = end == s.size() ? s.size() : end + 1;
        if (!closing && IsSkipped(tag)) {
          size_t close = FindNoCase(s, L"</" + tag, i);
          if (close != std::wstring_view::npos) {
            size_t gt = s.find(L'>', close);
            i = gt == std::wstring_view::npos ? s.size() : gt + 1;
          } else if (tag != L"head") {
            i = s.size();
          }
          continue;
        }
        if (tag == L"br") {
          w.HardBreak();
        } else if (tag == L"td" || tag == L"th") {
          if (!closing) w.Space();
        } else if (IsBlock(tag)) {
          w.Break(tag == L"p" ? 2 : 1);
          if (tag == L"pre") {
            preDepth += closing ? (preDepth > 0 ? -1 : 0) : 1;
            if (!closing && i < s.size() && s[i] == L'\r') ++i;  // a first line break is not content
            if (!closing && i < s.size() && s[i] == L'\n') ++i;
          }
        }
        continue;
      }
    }
    if (c == L'&') {
      wchar_t decoded;
      if (DecodeEntity(s, i, decoded)) {
        w.Char(decoded);
        continue;
      }
    }
    if (preDepth > 0) {
      if (c == L'\r' || c == L'\n') {
        if (c == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n') ++i;
        w.HardBreak();
      } else {
        w.Char(c);
      }
    } else if (IsSpace(c)) {
      w.Space();
    } else {
      w.Char(c);
    }
    ++i;
  }
}

std::string CharsetIn(std::string_view text) {
  std::string lower = sys::LowerCase(text);
  size_t p = lower.find("charset=");
  if (p == std::string::npos) return {};
  p += 8;
  while (p < lower.size() && (lower[p] == '"' || lower[p] == '\'' || lower[p] == ' ')) ++p;
  size_t e = p;
  while (e < lower.size() && (std::isalnum((unsigned char)lower[e]) || lower[e] == '-' || lower[e] == '_' ||
                              lower[e] == ':' || lower[e] == '.'))
    ++e;
  return lower.substr(p, e - p);
}

}  // namespace

unsigned CodePageOfCharset(std::string_view label) {
  std::string l = sys::LowerCase(sys::Trim(label));
  struct Name {
    const char* label;
    unsigned cp;
  };
  static const Name kNames[] = {
      {"utf-8", 65001},       {"utf8", 65001},        {"gb2312", 936},      {"gbk", 936},
      {"x-gbk", 936},         {"cp936", 936},         {"windows-936", 936}, {"csgb2312", 936},
      {"gb_2312-80", 936},    {"gb18030", 54936},     {"big5", 950},        {"iso-8859-1", 1252},
      {"latin1", 1252},       {"windows-1252", 1252}, {"us-ascii", 1252},   {"ascii", 1252},
      {"shift_jis", 932},     {"euc-kr", 949},
  };
  for (const auto& n : kNames)
    if (l == n.label) return n.cp;
  return 0;
}

std::wstring DecodePage(std::string_view bytes, std::string_view contentType) {
  unsigned cp = 0;
  if (bytes.size() >= 3 && (unsigned char)bytes[0] == 0xEF && (unsigned char)bytes[1] == 0xBB &&
      (unsigned char)bytes[2] == 0xBF) {
    bytes.remove_prefix(3);
    cp = 65001;
  }
  if (!cp) cp = CodePageOfCharset(CharsetIn(contentType));
  if (!cp) {
    std::string_view headPart = bytes.substr(0, 8192);
    std::string lower = sys::LowerCase(headPart);
    size_t meta = lower.find("<meta");
    while (!cp && meta != std::string::npos) {
      size_t end = lower.find('>', meta);
      cp = CodePageOfCharset(CharsetIn(std::string_view(lower).substr(meta, end == std::string::npos ? end : end - meta)));
      meta = lower.find("<meta", meta + 5);
    }
  }
  if (!cp) cp = sys::kAnsiCodePage;
  if (bytes.empty()) return {};
  for (unsigned tryCp : {cp, (unsigned)sys::kAnsiCodePage}) {
    int n = MultiByteToWideChar(tryCp, 0, bytes.data(), (int)bytes.size(), nullptr, 0);
    if (n <= 0) continue;  // a code page this system lacks
    std::wstring out((size_t)n, L'\0');
    MultiByteToWideChar(tryCp, 0, bytes.data(), (int)bytes.size(), out.data(), n);
    return out;
  }
  return {};
}

std::wstring BodyText(std::wstring_view page) {
  size_t body = FindNoCase(page, L"<body");
  TextWriter w;
  WriteText(body == std::wstring_view::npos ? page : page.substr(body), w);
  return w.Take();
}

std::wstring TitleText(std::wstring_view page) {
  size_t t = FindNoCase(page, L"<title");
  if (t == std::wstring_view::npos) return {};
  size_t gt = page.find(L'>', t);
  if (gt == std::wstring_view::npos) return {};
  size_t close = FindNoCase(page, L"</title", gt);
  std::wstring_view inner = page.substr(gt + 1, close == std::wstring_view::npos ? std::wstring_view::npos : close - gt - 1);
  TextWriter w;
  for (size_t i = 0; i < inner.size(); ++i) {  // no tags inside a title, only entities
    wchar_t c = inner[i], decoded;
    if (c == L'&' && DecodeEntity(inner, i, decoded)) {
      w.Char(decoded);
      --i;
    } else if (IsSpace(c)) {
      w.Space();
    } else {
      w.Char(c);
    }
  }
  return w.Take();
}

}  // namespace html
