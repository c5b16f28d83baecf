// The packing side of the skin format, for the build machine's tools and the tests: the
// coder's encoder (the inverse of TLZH::Decode, on the same shared model) and the archive
// writer. The program itself only reads skins.
// Pure functions over bytes; safe on any thread.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace skinpack {

struct Member {
  std::string name;
  std::string bytes;
};

// u32 unpacked size followed by the coded bits.
std::string Encode(std::string_view data);
// Header with format mark 20000, names each ended by CR LF, sizes, data.
std::string BuildArchive(const std::vector<Member>& members);

}  // namespace skinpack
