#include "platform/db/SqlText.h"

#include <vector>

#include "platform/rtl/SysUtils.h"

namespace sqltext {
namespace {

struct Token {
  enum Kind { Word, QuotedName, Other } kind;
  std::string text;  // a word as written, a quoted name without its quotes
  size_t end;        // offset just past the token
  int depth;         // parentheses around it
};

bool IsWordByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
         c >= 0x80;
}

std::vector<Token> Tokenize(const std::string& s) {
  std::vector<Token> out;
  size_t i = 0, n = s.size();
  int depth = 0;
  while (i < n) {
    unsigned char c = (unsigned char)s[i];
    if (c <= ' ') {
      ++i;
    } else if (c == '-' && i + 1 < n && s[i + 1] == '-') {
      while (i < n && s[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
      size_t e = s.find("*/", i + 2);
      i = e == std::string::npos ? n : e + 2;
    } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
      char close = c == '[' ? ']' : (char)c;
      std::string text;
      size_t j = i + 1;
      for (; j < n; ++j) {
        if (s[j] == close) {
          if (close != ']' && j + 1 < n && s[j + 1] == close) {
            text += close;
            ++j;
            continue;
          }
          break;
        }
        text += s[j];
      }
      i = j < n ? j + 1 : n;
      out.push_back({c == '\'' ? Token::Other : Token::QuotedName, text, i, depth});
    } else if (IsWordByte(c)) {
      size_t j = i;
      while (j < n && IsWordByte((unsigned char)s[j])) ++j;
      out.push_back({Token::Word, s.substr(i, j - i), j, depth});
      i = j;
    } else {
      if (c == ')' && depth > 0) --depth;
      out.push_back({Token::Other, std::string(1, (char)c), i + 1, depth});
      if (c == '(') ++depth;
      ++i;
    }
  }
  return out;
}

bool IsWord(const Token& t, const char* word) { return t.kind == Token::Word && sys::SameText(t.text, word); }

}  // namespace

bool FindSingleTable(const std::string& sql, SingleTableSelect& out) {
  std::vector<Token> t = Tokenize(sql);
  if (t.size() < 4 || !IsWord(t[0], "select") || IsWord(t[1], "distinct") || IsWord(t[1], "all")) return false;
  size_t from = 1;
  while (from < t.size() && !(t[from].depth == 0 && IsWord(t[from], "from"))) ++from;
  if (from + 1 >= t.size()) return false;
  const Token& table = t[from + 1];
  if (table.kind == Token::Other) return false;
  if (from + 2 < t.size()) {
    const Token& next = t[from + 2];
    bool ends = (next.kind == Token::Other && next.text == ";" && from + 3 == t.size()) || IsWord(next, "where") ||
                IsWord(next, "order") || IsWord(next, "limit");
    if (!ends) return false;
  }
  out.table = table.text;
  out.afterSelect = t[0].end;
  return true;
}

std::string QuoteIdentifier(const std::string& name) {
  std::string r = "\"";
  for (char c : name) {
    if (c == '"') r += '"';
    r += c;
  }
  return r + "\"";
}

}  // namespace sqltext
