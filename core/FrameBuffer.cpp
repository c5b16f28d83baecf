// Cutting the received byte stream into frames.
//
// A frame that lies whole inside one read is handed to the sink where it lies, in the
// caller's bytes. Only a frame that spans reads is gathered in the area: it starts at the
// area's start, and the area is made big enough for all of it as soon as its header is
// known, so each of its bytes is copied once and never moved.
#include "core/FrameBuffer.h"

#include <algorithm>
#include <cstring>

#include "core/WireFormat.h"

namespace {
// Counts a sink call under way for as long as it runs, also when it throws.
struct DepthGuard {
  int& depth;
  explicit DepthGuard(int& d) : depth(d) { ++depth; }
  ~DepthGuard() { --depth; }
};

// The first start byte in [p, end), or end.
const uint8_t* StartIn(const uint8_t* p, const uint8_t* end) {
  const void* s = p < end ? std::memchr(p, kFrameStart, size_t(end - p)) : nullptr;
  return s ? static_cast<const uint8_t*>(s) : end;
}

// The size of the frame starting at p, header included, when `held` bytes show its header.
size_t FrameSize(const uint8_t* p, size_t held) { return held < kFrameHeader ? 0 : kFrameHeader + ReadU32(p + 2); }
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

void TFrameBuffer::Keep(const uint8_t* p, size_t n) {
  Reserve(n);
  std::memcpy(buf_.data() + tail_, p, n);
  tail_ += n;
}

void TFrameBuffer::KeepRead() {
  const uint8_t* p = read_;
  const uint8_t* end = readEnd_;
  read_ = readEnd_ = nullptr;
  if (p == end) return;
  if (head_ == tail_) {
    p = StartIn(p, end);  // what precedes a start byte is never kept
    if (p == end) return;
    // Room for the whole frame now, so that its later pieces land behind this one.
    size_t size = FrameSize(p, size_t(end - p));
    if (size <= kFrameHeader + kMaxFrameBody) Reserve(std::max(size, size_t(end - p)));
  }
  Keep(p, size_t(end - p));
}

void TFrameBuffer::Append(const void* data, size_t n) {
  // Entered from a sink: the rest of the outer read comes before these bytes in the stream.
  KeepRead();
  read_ = static_cast<const uint8_t*>(data);
  readEnd_ = read_ + n;
  try {
    Cut();
  } catch (...) {
    KeepRead();  // what the failing sink's caller had not reached yet waits for the next call
    throw;
  }
  KeepRead();  // the start of a frame that the next read completes
  if (depth_ == 0) {
    retired_.clear();
    if (head_ == tail_) head_ = tail_ = 0;
  }
}

void TFrameBuffer::Clear() {
  read_ = readEnd_ = nullptr;
  // During a sink call the area before tail_ may still be read, so it is not reused.
  head_ = tail_;
  if (depth_ == 0) {
    head_ = tail_ = 0;
    retired_.clear();
  }
}

bool TFrameBuffer::Oversized(const uint8_t* p) {
  uint32_t len = ReadU32(p + 2);
  if (len <= kMaxFrameBody) return false;
  uint8_t proto = p[1];
  Clear();
  sink_.OnOversizedFrame(proto, len);
  return true;
}

void TFrameBuffer::Cut() {
  for (;;) {
    if (head_ < tail_) {
      // Held bytes first: they precede the read in the stream.
      const uint8_t* p = buf_.data() + head_;
      size_t held = tail_ - head_;
      if (*p != kFrameStart) {
        head_ += size_t(StartIn(p, p + held) - p);
        continue;
      }
      size_t want = held < kFrameHeader ? kFrameHeader : FrameSize(p, held);
      if (held >= kFrameHeader && Oversized(p)) return;
      if (held < want) {
        // Complete the frame from the read, taking no byte beyond it.
        size_t take = std::min(want - held, size_t(readEnd_ - read_));
        if (take == 0) return;
        // A header that arrived in pieces is known only now: room for the whole frame, so
        // that its body is not moved again by the pieces that follow.
        if (held >= kFrameHeader) Reserve(want - held);
        const uint8_t* from = read_;
        read_ += take;
        Keep(from, take);
        continue;
      }
      head_ += want;
      DepthGuard guard(depth_);
      sink_.OnFrame(p, want);
      continue;
    }
    if (depth_ == 0) head_ = tail_ = 0;
    // Nothing held: frames whole inside the read go to the sink from where they lie.
    const uint8_t* p = read_ = StartIn(read_, readEnd_);
    size_t left = size_t(readEnd_ - p);
    if (left < kFrameHeader) return;
    if (Oversized(p)) return;
    size_t size = FrameSize(p, left);
    if (left < size) return;
    read_ += size;
    DepthGuard guard(depth_);
    sink_.OnFrame(p, size);
  }
}
