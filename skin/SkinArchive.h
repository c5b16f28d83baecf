// The archive inside a packed skin: a 16-byte header (format mark 20000, name-list length,
// two reserved words), the member names one per line, a u32 size per member and the members'
// bytes back to back. Plain C++ without Windows headers, shared by the program's reader and
// the build machine's unpacker.
// Pure functions over bytes; safe on any thread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skinarchive {

constexpr uint32_t kFormatMark = 20000;
constexpr size_t kHeaderSize = 16;
constexpr size_t kMaxMembers = 1000;

enum class ParseError { None, WrongMark, Damaged };

struct Index {
  std::vector<std::string> names;  // as stored, in archive order
  std::vector<uint32_t> sizes;
  size_t dataOffset = 0;           // start of the member data
};

// Splits the name list at CR LF, CR or LF; a last line without an ending still counts.
std::vector<std::string> SplitNames(std::string_view text);

// Checks the header, the member count, every size and their sum against what `archive`
// holds. Trailing bytes after the last member are allowed.
ParseError Parse(std::string_view archive, Index& index);

}  // namespace skinarchive
