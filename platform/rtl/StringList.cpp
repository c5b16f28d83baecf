#include "platform/rtl/StringList.h"

#include "platform/rtl/SysUtils.h"

int TStringList::Add(const std::string& s, void* object) {
  items_.push_back({s, object});
  return Count() - 1;
}

void TStringList::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) index = Count();
  items_.insert(items_.begin() + index, Item{s, nullptr});
}

void TStringList::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

int TStringList::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].text == s) return i;
  return -1;
}

std::string TStringList::Text() const {
  std::string r;
  for (const auto& it : items_) r += it.text + "\r\n";
  return r;
}

void TStringList::SetText(const std::string& text) {
  Clear();
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      Add(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) Add(text.substr(start));
}

std::string TStringList::Names(int i) const {
  const std::string& t = (*this)[i];
  size_t eq = t.find('=');
  return eq == std::string::npos ? std::string() : t.substr(0, eq);
}

std::string TStringList::Values(const std::string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (sys::SameText(Names(i), name)) return items_[i].text.substr(items_[i].text.find('=') + 1);
  return {};
}

void TStringList::SetValue(const std::string& name, const std::string& value) {
  for (int i = 0; i < Count(); ++i)
    if (sys::SameText(Names(i), name)) {
      items_[i].text = name + "=" + value;
      return;
    }
  Add(name + "=" + value);
}

std::string JoinTrimmedLines(const TStringList& lines, const std::string& indent) {
  std::string out;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i) out += "\r\n";
    out += indent + sys::Trim(lines[i]);
  }
  return out;
}
