// The receive path: bytes in arbitrary pieces into the frame cutter, each cut frame through
// the body check and the reader of its protocol number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ReplyReaders.h"
#include "core/FrameBuffer.h"

namespace {

struct Sink : IFrameSink {
  void OnFrame(const uint8_t* frame, size_t size) override {
    TBody body;
    try {
      body = TBody::OfFrame(frame, int64_t(size));
    } catch (const EMalformedBody&) {
      std::abort();  // the cutter hands out whole frames only
    }
    if (body.Size + kFrameHeader != size) std::abort();
    fuzzing::ReadReply(frame[1], body);
  }
  void OnOversizedFrame(uint8_t, uint32_t length) override {
    if (length <= kMaxFrameBody) std::abort();
  }
};

}  // namespace

// The first byte chooses how the rest is split into reads (1 to 256 bytes each), so the
// fuzzer also finds frames that straddle reads.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t piece = size_t(data[0]) + 1;
  Sink sink;
  TFrameBuffer buffer(sink);
  for (size_t at = 1; at < size; at += piece) buffer.Append(data + at, std::min(piece, size - at));
  return 0;
}
