// The skin archive's coder: LZSS over a 4096-byte ring with an adaptive Huffman code for
// literals and match lengths and a fixed prefix code for the upper bits of match positions.
// Plain C++ without Windows headers: the program's decoder and the build machine's packer
// share this model, so the two sides cannot drift apart.
// The position tables are built once and then only read; no other shared state, so safe on
// any thread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lzh {

constexpr int kRingSize = 4096;                                  // N
constexpr int kLookahead = 60;                                   // F
constexpr int kThreshold = 2;                                    // shortest match is 3
constexpr int kSymbols = 256 - kThreshold + kLookahead;          // 314
constexpr int kNodes = 2 * kSymbols - 1;                         // 627
constexpr int kRoot = kNodes - 1;                                // 626
constexpr int kRebuildLimit = 0x8000;
constexpr int kRingStart = kRingSize - kLookahead;               // first write position
constexpr int kRingBytes = kRingSize + kLookahead - 1;           // 4155

// The fixed code of the position's upper 6 bits, indexed by the next 8 input bits.
struct PositionTables {
  uint8_t code[256];  // upper 6 bits of the position
  uint8_t len[256];   // bits of the code that were consumed by it
};
const PositionTables& Positions();

// The adaptive Huffman tree that encoder and decoder keep in step.
struct Tree {
  uint16_t freq[kNodes + 1];
  uint16_t prnt[kNodes + kSymbols];
  uint16_t son[kNodes];

  void Start();
  void Update(int symbol);

 private:
  void Rebuild();
};

// Declared unpacked sizes above this are refused before anything is allocated.
constexpr uint32_t kMaxUnpacked = 32u << 20;

}  // namespace lzh

// The decoder. `packed` is a u32 little-endian unpacked size followed by the coded bits.
// Fails (and leaves `out` empty) when the size is above `maxUnpacked`, when it cannot come
// from that many input bytes, or when the bits end before the declared output is complete.
// The output is exactly the declared size.
class TLZH {
 public:
  static bool Decode(std::string_view packed, std::string& out, uint32_t maxUnpacked = lzh::kMaxUnpacked);
};
