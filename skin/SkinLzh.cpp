// The coder's shared model (position tables, adaptive tree) and the decoder.
#include "skin/SkinLzh.h"

#include <cstring>

namespace lzh {

const PositionTables& Positions() {
  static const PositionTables tables = [] {
    PositionTables t{};
    // Code values 0..63 in ascending order, each repeated: 32 x 0, 16 x 1..3, 8 x 4..11,
    // 4 x 12..23, 2 x 24..47, 1 x 48..63.
    struct Run { int first, last, repeat; };
    const Run codes[] = {{0, 0, 32}, {1, 3, 16}, {4, 11, 8}, {12, 23, 4}, {24, 47, 2}, {48, 63, 1}};
    int i = 0;
    for (const Run& r : codes)
      for (int v = r.first; v <= r.last; ++v)
        for (int k = 0; k < r.repeat; ++k) t.code[i++] = (uint8_t)v;
    const Run lens[] = {{3, 3, 32}, {4, 4, 48}, {5, 5, 64}, {6, 6, 48}, {7, 7, 48}, {8, 8, 16}};
    i = 0;
    for (const Run& r : lens)
      for (int k = 0; k < r.repeat; ++k) t.len[i++] = (uint8_t)r.first;
    return t;
  }();
  return tables;
}

void Tree::Start() {
  for (int i = 0; i < kSymbols; ++i) {
    freq[i] = 1;
    son[i] = (uint16_t)(i + kNodes);
    prnt[i + kNodes] = (uint16_t)i;
  }
  for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
    freq[j] = (uint16_t)(freq[i] + freq[i + 1]);
    son[j] = (uint16_t)i;
    prnt[i] = prnt[i + 1] = (uint16_t)j;
  }
  freq[kNodes] = 0xFFFF;
  prnt[kRoot] = 0;
}

void Tree::Rebuild() {
  // Leaves to the front with halved counts, then the inner nodes re-sorted by count.
  int j = 0;
  for (int i = 0; i < kNodes; ++i)
    if (son[i] >= kNodes) {
      freq[j] = (uint16_t)((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  for (int i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
    uint16_t f = (uint16_t)(freq[i] + freq[i + 1]);
    int k = j - 1;
    while (f < freq[k]) --k;
    ++k;
    std::memmove(&freq[k + 1], &freq[k], (size_t)(j - k) * sizeof(uint16_t));
    std::memmove(&son[k + 1], &son[k], (size_t)(j - k) * sizeof(uint16_t));
    freq[k] = f;
    son[k] = (uint16_t)i;
  }
  for (int i = 0; i < kNodes; ++i) {
    int k = son[i];
    if (k >= kNodes) prnt[k] = (uint16_t)i;
    else prnt[k] = prnt[k + 1] = (uint16_t)i;
  }
}

void Tree::Update(int symbol) {
  if (freq[kRoot] == kRebuildLimit) Rebuild();
  int c = prnt[symbol + kNodes];
  do {
    uint16_t k = ++freq[c];
    int l = c + 1;
    if (k > freq[l]) {
      while (k > freq[l + 1]) ++l;
      // Exchange node c with node l, the last node whose count is still below k.
      freq[c] = freq[l];
      freq[l] = k;
      int i = son[c];
      prnt[i] = (uint16_t)l;
      if (i < kNodes) prnt[i + 1] = (uint16_t)l;
      int j = son[l];
      son[l] = (uint16_t)i;
      prnt[j] = (uint16_t)c;
      if (j < kNodes) prnt[j + 1] = (uint16_t)c;
      son[c] = (uint16_t)j;
      c = l;
    }
    c = prnt[c];
  } while (c != 0);
}

}  // namespace lzh

namespace {

// Bits most significant first. Past the end it delivers zeros and counts them, so the
// decoder can tell a stream that ended early.
class BitReader {
 public:
  BitReader(const uint8_t* p, size_t n) : p_(p), end_(p + n) {}
  int Bit() {
    if (count_ == 0) Fill();
    int b = (int)(buf_ >> 63);
    buf_ <<= 1;
    --count_;
    return b;
  }
  int Bits(int n) {
    if (count_ < n) Fill();
    int v = (int)(buf_ >> (64 - n));
    buf_ <<= n;
    count_ -= n;
    return v;
  }
  bool Overrun() const { return missing_ > (uint64_t)count_; }

 private:
  void Fill() {
    while (count_ <= 56) {
      uint64_t b = 0;
      if (p_ < end_) b = *p_++;
      else missing_ += 8;
      buf_ |= b << (56 - count_);
      count_ += 8;
    }
  }
  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t buf_ = 0;
  int count_ = 0;
  uint64_t missing_ = 0;  // zero bits put into the buffer past the end
};

uint32_t ReadU32(const uint8_t* p) {
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

}  // namespace

bool TLZH::Decode(std::string_view packed, std::string& out, uint32_t maxUnpacked) {
  using namespace lzh;
  out.clear();
  if (packed.size() < 4) return false;
  const uint8_t* in = (const uint8_t*)packed.data();
  const uint32_t size = ReadU32(in);
  const size_t inBytes = packed.size() - 4;
  // The shortest symbol is 1 bit and the shortest position 9 bits, so no 10 bits give more
  // than one longest match.
  if (size > maxUnpacked || size > (inBytes * 8 / 10 + 1) * kLookahead) return false;

  std::string result(size, '\0');
  uint8_t ring[kRingBytes];
  std::memset(ring, ' ', sizeof ring);
  Tree tree;
  tree.Start();
  const PositionTables& pos = Positions();
  BitReader bits(in + 4, inBytes);

  uint8_t* o = (uint8_t*)result.data();
  size_t produced = 0;
  int r = kRingStart;
  while (produced < size) {
    int c = tree.son[kRoot];
    while (c < kNodes) c = tree.son[c + bits.Bit()];
    c -= kNodes;
    tree.Update(c);
    if (c < 256) {
      o[produced++] = (uint8_t)c;
      ring[r] = (uint8_t)c;
      r = (r + 1) & (kRingSize - 1);
    } else {
      int i = bits.Bits(8);
      int upper = pos.code[i];
      int extra = pos.len[i] - 2;
      i = (i << extra) | bits.Bits(extra);
      int position = (upper << 6) | (i & 0x3F);
      int from = (r - position - 1) & (kRingSize - 1);
      int length = c - 255 + kThreshold;
      for (int k = 0; k < length; ++k) {
        uint8_t b = ring[(from + k) & (kRingSize - 1)];
        if (produced < size) o[produced++] = b;  // a match may run past the declared end
        ring[r] = b;
        r = (r + 1) & (kRingSize - 1);
      }
    }
    if (bits.Overrun()) return false;
  }
  out.swap(result);
  return true;
}
