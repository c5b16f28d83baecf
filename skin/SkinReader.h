// TSkinReader: unpacks a packed skin into memory and hands out its members by name.
// The reader owns the unpacked members; nothing is shared, one thread at a time.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/StringList.h"

class TSkinReader {
 public:
  // `packed`: the unpacked size (u32) and the coded stream. A wrong format mark, a stream
  // that does not decode, an oversized or inconsistent archive all show the format message
  // and give false; the reader then keeps what it held before.
  bool Load(std::string_view packed);

  // The member with this name (A to Z folded); `target` stays empty when there is none.
  void ExtractFile(const std::string& name, std::string& target) const;
  // The first member whose name contains `fragment` (not folded); `name` is left alone
  // when there is none.
  void ExtractFileLike(const std::string& fragment, std::string& target, std::string& name) const;

  int Count() const { return names_.Count(); }
  // Member names in archive order, in lower case.
  const TStringList& Names() const { return names_; }
  uint32_t Size(int i) const { return sizes_.at(i); }
  // The 16 header bytes as read.
  const std::string& Header() const { return header_; }
  // Start of the member data inside the unpacked archive.
  size_t DataOffset() const { return dataOffset_; }

 private:
  void Copy(int index, size_t offset, std::string& target) const;

  TStringList names_;
  std::vector<uint32_t> sizes_;
  std::string data_;  // the unpacked archive; the member data starts at dataOffset_
  std::string header_;
  size_t dataOffset_ = 0;
};

// The message shown for a packed skin that cannot be used.
extern const char* const kOldSkinFormatMessage;
