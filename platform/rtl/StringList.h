// An ordered list of strings with an optional object per item, and its text form.
// The list owns its strings, not the objects stored beside them. One thread at a time.
#pragma once
#include <string>
#include <vector>

class TStringList {
 public:
  int Count() const { return (int)items_.size(); }
  const std::string& operator[](int i) const { return items_.at(i).text; }
  std::string& operator[](int i) { return items_.at(i).text; }
  void* Objects(int i) const { return items_.at(i).object; }
  void SetObject(int i, void* o) { items_.at(i).object = o; }

  int Add(const std::string& s, void* object = nullptr);
  void Insert(int index, const std::string& s);
  void Delete(int index);
  void Clear() { items_.clear(); }
  // Index of the first item equal to s (exact), or -1.
  int IndexOf(const std::string& s) const;
  // Lines joined by CR LF, each line followed by it.
  std::string Text() const;
  // Splits at CR LF, CR or LF.
  void SetText(const std::string& text);
  // "name=value" items.
  std::string Values(const std::string& name) const;
  void SetValue(const std::string& name, const std::string& value);
  std::string Names(int i) const;

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  struct Item {
    std::string text;
    void* object = nullptr;
  };

 private:
  std::vector<Item> items_;
};

// The items trimmed, each behind `indent`, joined by CR LF (no break after the last): how a
// message's text is laid out under its header line.
std::string JoinTrimmedLines(const TStringList& lines, const std::string& indent = "");
