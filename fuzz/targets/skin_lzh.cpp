// The skin archive's decoder on any packed bytes: it either fails with nothing out or gives
// exactly the declared size. The same bytes as plain data must come back unchanged through
// the build machine's coder and the decoder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/SkinLzh.h"
#include "tools/skinpack/SkinPacker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view packed(reinterpret_cast<const char*>(data), size);
  std::string out;
  // A small ceiling keeps each run quick; the limit check itself is part of what is read.
  if (TLZH::Decode(packed, out, 1u << 20)) {
    uint32_t declared = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                        uint32_t(data[3]) << 24;
    if (out.size() != declared) std::abort();
  } else if (!out.empty()) {
    std::abort();
  }
  std::string again;
  if (!TLZH::Decode(skinpack::Encode(packed), again) || again != packed) std::abort();
  return 0;
}
