// Greedy LZSS with hash chains, then the adaptive Huffman code of the shared model.
#include "tools/skinpack/SkinPacker.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/SkinArchive.h"
#include "skin/SkinLzh.h"

namespace skinpack {

namespace {

class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}
  void Put(int bits, uint32_t value) {  // the low `bits` of value, most significant first
    for (int i = bits - 1; i >= 0; --i) {
      acc_ = (uint8_t)(acc_ << 1 | ((value >> i) & 1));
      if (++n_ == 8) {
        out_.push_back((char)acc_);
        acc_ = 0;
        n_ = 0;
      }
    }
  }
  void Flush() {
    if (n_) Put(8 - n_, 0);
  }

 private:
  std::string& out_;
  uint8_t acc_ = 0;
  int n_ = 0;
};

void PutU32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back((char)(v >> (8 * i)));
}

void PutSymbol(BitWriter& w, lzh::Tree& tree, int symbol) {
  // The path from the leaf up to the root, sent from the root down.
  uint8_t path[lzh::kNodes];
  int depth = 0;
  for (int k = tree.prnt[symbol + lzh::kNodes]; k != lzh::kRoot; k = tree.prnt[k])
    path[depth++] = (uint8_t)(k - tree.son[tree.prnt[k]]);
  while (depth > 0) w.Put(1, path[--depth]);
  tree.Update(symbol);
}

void PutPosition(BitWriter& w, int position) {
  const lzh::PositionTables& t = lzh::Positions();
  int upper = position >> 6;
  int first = 0;  // the first 8-bit value that decodes to this upper part
  while (t.code[first] != upper) ++first;
  int len = t.len[first];
  w.Put(len, (uint32_t)(first >> (8 - len)));
  w.Put(6, (uint32_t)(position & 0x3F));
}

}  // namespace

std::string Encode(std::string_view data) {
  using namespace lzh;
  std::string out;
  PutU32(out, (uint32_t)data.size());
  BitWriter w(out);
  Tree tree;
  tree.Start();

  // The decoder's ring starts as spaces: model it as a run of spaces before the data, so the
  // distance back from byte i to a source byte is the decoder's position + 1.
  const size_t pre = kRingSize;
  std::string v(pre, ' ');
  v.append(data);
  const size_t end = v.size();
  constexpr int kHashBits = 15;
  constexpr int kMaxChain = 256;
  constexpr size_t kMaxDistance = kRingSize - 1;
  std::vector<int32_t> head(1u << kHashBits, -1), prev(end, -1);
  auto hash = [&](size_t i) {
    uint32_t x = (uint8_t)v[i] | (uint8_t)v[i + 1] << 8 | (uint8_t)v[i + 2] << 16;
    return (x * 2654435761u) >> (32 - kHashBits);
  };
  auto insert = [&](size_t i) {
    if (i + 2 >= end) return;
    uint32_t h = hash(i);
    prev[i] = head[h];
    head[h] = (int32_t)i;
  };
  for (size_t i = pre - kLookahead; i < pre; ++i) insert(i);

  size_t i = pre;
  while (i < end) {
    size_t maxLen = std::min<size_t>(kLookahead, end - i);
    size_t bestLen = 0, bestDist = 0;
    if (maxLen > (size_t)kThreshold) {
      int chain = kMaxChain;
      for (int32_t j = head[hash(i)]; j >= 0 && chain-- > 0; j = prev[j]) {
        size_t dist = i - (size_t)j;
        if (dist > kMaxDistance) break;
        size_t len = 0;
        while (len < maxLen && v[j + len] == v[i + len]) ++len;
        if (len > bestLen) {
          bestLen = len;
          bestDist = dist;
          if (len == maxLen) break;
        }
      }
    }
    if (bestLen > (size_t)kThreshold) {
      PutSymbol(w, tree, (int)(256 - kThreshold - 1 + bestLen));
      PutPosition(w, (int)(bestDist - 1));
      for (size_t k = 0; k < bestLen; ++k) insert(i + k);
      i += bestLen;
    } else {
      PutSymbol(w, tree, (uint8_t)v[i]);
      insert(i);
      ++i;
    }
  }
  w.Flush();
  return out;
}

std::string BuildArchive(const std::vector<Member>& members) {
  std::string names;
  for (const Member& m : members) names += m.name + "\r\n";
  std::string a;
  PutU32(a, skinarchive::kFormatMark);
  PutU32(a, (uint32_t)names.size());
  PutU32(a, 0);
  PutU32(a, 0);
  a += names;
  for (const Member& m : members) PutU32(a, (uint32_t)m.bytes.size());
  for (const Member& m : members) a += m.bytes;
  return a;
}

}  // namespace skinpack
