// TQuickIni: the skin's own small ini reader. It keeps the kept lines of the text and the
// section heads in two lists; comments (";" first), blank lines and keys before the first
// head never count. Keys match without regard to case and the first occurrence wins.
#pragma once
#include <string>
#include <string_view>

#include "platform/rtl/StringList.h"

class TQuickIni {
 public:
  // Replaces the content with this text (lines end at CR LF, LF or CR).
  void LoadFromStream(std::string_view text);
  // The value, or `def` when the section or key is missing or the value is empty.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  // Decimal, "$1F" or "0x1F"; `def` when missing or not a number.
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  // Section names without brackets, in text order.
  void ReadSections(TStringList& list) const;

  const TStringList& Lines() const { return lines_; }
  const TStringList& Sections() const { return sections_; }

 private:
  // The folded name of a key line (text before the first "="), empty without "=".
  std::string LineName(int line) const;
  std::string LineValue(int line) const;
  bool IsSection(int line) const;
  // Index in Lines of the first head "[section]" (any case), or -1.
  int SectionLine(const std::string& section) const;

  TStringList lines_;
  TStringList sections_;  // object: the head's index in lines_
};
