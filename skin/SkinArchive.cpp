// Parsing and bounds checking of the archive layout.
#include "skin/SkinArchive.h"

namespace skinarchive {

namespace {
uint32_t U32(std::string_view s, size_t at) {
  const unsigned char* p = (const unsigned char*)s.data() + at;
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
}  // namespace

std::vector<std::string> SplitNames(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

ParseError Parse(std::string_view archive, Index& index) {
  index = Index{};
  if (archive.size() < kHeaderSize) return ParseError::Damaged;
  if (U32(archive, 0) != kFormatMark) return ParseError::WrongMark;
  const uint64_t nameBytes = U32(archive, 4);
  if (nameBytes > archive.size() - kHeaderSize) return ParseError::Damaged;
  std::vector<std::string> names = SplitNames(archive.substr(kHeaderSize, (size_t)nameBytes));
  if (names.size() > kMaxMembers) return ParseError::Damaged;
  const uint64_t tableAt = kHeaderSize + nameBytes;
  const uint64_t dataAt = tableAt + 4 * (uint64_t)names.size();
  if (dataAt > archive.size()) return ParseError::Damaged;
  std::vector<uint32_t> sizes(names.size());
  uint64_t total = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    sizes[i] = U32(archive, (size_t)(tableAt + 4 * i));
    total += sizes[i];
  }
  if (total > archive.size() - dataAt) return ParseError::Damaged;
  index.names = std::move(names);
  index.sizes = std::move(sizes);
  index.dataOffset = (size_t)dataAt;
  return ParseError::None;
}

}  // namespace skinarchive
