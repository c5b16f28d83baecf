// Parsing and look-ups of the skin ini.
#include "skin/QuickIni.h"

#include <cstdint>

#include "platform/rtl/SysUtils.h"

namespace {
bool IsHead(const std::string& t) { return t.size() >= 2 && t.front() == '[' && t.back() == ']'; }
}  // namespace

void TQuickIni::LoadFromStream(std::string_view text) {
  lines_.Clear();
  sections_.Clear();
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::string line = sys::Trim(text.substr(i, end - i));
    i = end;
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
    if (line.empty() || line[0] == ';') continue;
    int at = lines_.Add(line);
    if (IsHead(line)) sections_.Add(line, (void*)(intptr_t)at);
  }
}

std::string TQuickIni::LineName(int line) const {
  const std::string& t = lines_[line];
  size_t eq = t.find('=');
  return eq == std::string::npos ? std::string() : sys::LowerCase(sys::Trim(std::string_view(t).substr(0, eq)));
}

std::string TQuickIni::LineValue(int line) const {
  const std::string& t = lines_[line];
  size_t eq = t.find('=');
  return eq == std::string::npos ? std::string() : sys::Trim(std::string_view(t).substr(eq + 1));
}

bool TQuickIni::IsSection(int line) const { return IsHead(lines_[line]); }

int TQuickIni::SectionLine(const std::string& section) const {
  const std::string head = "[" + section + "]";
  for (int i = 0; i < sections_.Count(); ++i)
    if (sys::SameText(sections_[i], head)) return (int)(intptr_t)sections_.Objects(i);
  return -1;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  if (lines_.Count() == 0) return def;
  const int head = SectionLine(section);
  if (head < 0) return def;
  const std::string folded = sys::LowerCase(key);
  for (int i = head + 1; i < lines_.Count() && !IsSection(i); ++i) {
    if (LineName(i) == folded) {
      std::string v = LineValue(i);
      return v.empty() ? def : v;
    }
  }
  return def;
}

int TQuickIni::ReadInteger(const std::string& section, const std::string& key, int def) const {
  std::string s = ReadString(section, key, "");
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
  return sys::StrToIntDef(s, def);
}

void TQuickIni::ReadSections(TStringList& list) const {
  list.Clear();
  for (const auto& it : sections_) {
    std::string t = sys::Trim(it.text);
    list.Add(sys::Trim(t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string()));
  }
}
