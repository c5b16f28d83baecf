// Cutting the received byte stream into frames.
#include "core/FrameBuffer.h"

#include <cstring>

#include "core/WireFormat.h"

namespace {
// Counts a sink call under way for as long as it runs, also when it throws.
struct DepthGuard {
  int& depth;
  explicit DepthGuard(int& d) : depth(d) { ++depth; }
  ~DepthGuard() { --depth; }
};
}  // namespace

void TFrameBuffer::Reserve(size_t n) {
  size_t held = tail_ - head_;
  if (buf_.size() - tail_ >= n) return;
  if (depth_ == 0 && buf_.size() - held >= n) {
    std::memmove(buf_.data(), buf_.data() + head_, held);
  } else {
    // While a sink reads a frame in place, the old area must neither move nor go away.
    std::vector<uint8_t> bigger(std::max(buf_.size() * 2, held + n + 1000));
    if (held) std::memcpy(bigger.data(), buf_.data() + head_, held);  // an empty buffer has no data()
    if (depth_ > 0)
      retired_.push_back(std::move(buf_));
    buf_ = std::move(bigger);
  }
  head_ = 0;
  tail_ = held;
}

void TFrameBuffer::Append(const void* data, size_t n) {
  if (n) {
    Reserve(n);
    std::memcpy(buf_.data() + tail_, data, n);
    tail_ += n;
  }
  Cut();
}

void TFrameBuffer::Clear() {
  // During a sink call the area before tail_ may still be read, so it is not reused.
  head_ = tail_;
  if (depth_ == 0) {
    head_ = tail_ = 0;
    retired_.clear();
  }
}

void TFrameBuffer::Cut() {
  while (head_ < tail_) {
    const uint8_t* p = buf_.data() + head_;
    size_t held = tail_ - head_;
    if (*p != kFrameStart) {
      const void* start = std::memchr(p, kFrameStart, held);
      if (!start) {
        head_ = tail_;  // no frame can begin in these bytes
        break;
      }
      head_ += static_cast<const uint8_t*>(start) - p;
      continue;
    }
    if (held < kFrameHeader) break;
    uint32_t len = ReadU32(p + 2);
    if (len > kMaxFrameBody) {
      uint8_t proto = p[1];
      Clear();
      sink_.OnOversizedFrame(proto, len);
      break;
    }
    size_t size = kFrameHeader + len;
    if (held < size) break;
    head_ += size;
    DepthGuard guard(depth_);
    sink_.OnFrame(p, size);
  }
  if (depth_ == 0) {
    retired_.clear();
    if (head_ == tail_) head_ = tail_ = 0;
  }
}
