// The receive side of the wire framing: bytes from the socket are appended here, everything
// before a start byte (0x64) is dropped, and each complete frame (start byte, protocol
// number, 32-bit little-endian body length, body) is handed to the sink once, in arrival
// order. A frame that arrives whole in one read is handed over where it lies in the caller's
// bytes; only a frame that spans reads is gathered here, each byte copied once. A frame
// leaves the buffer before the sink sees it and its bytes stay where they are until the
// outermost call returns, so a sink that pumps messages and is entered again by the next read
// can neither see a frame twice nor lose the bytes it is reading.
// Contract: the sink is the caller's and must outlive the buffer; frame pointers are valid
// only during OnFrame; the bytes given to Append are read only during the call. One thread,
// the one that appends.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr uint8_t kFrameStart = 0x64;
inline constexpr size_t kFrameHeader = 6;
// Longest body accepted; a longer announcement means the stream cannot be trusted.
inline constexpr uint32_t kMaxFrameBody = 1u << 20;

class IFrameSink {
 public:
  virtual ~IFrameSink() = default;
  // A complete frame of `size` bytes (header included).
  virtual void OnFrame(const uint8_t* frame, size_t size) = 0;
  // A header announced `length` body bytes, more than kMaxFrameBody; the buffer is cleared.
  virtual void OnOversizedFrame(uint8_t proto, uint32_t length) = 0;
};

class TFrameBuffer {
 public:
  explicit TFrameBuffer(IFrameSink& sink) : sink_(sink) {}
  TFrameBuffer(const TFrameBuffer&) = delete;
  TFrameBuffer& operator=(const TFrameBuffer&) = delete;

  // Appends the bytes and dispatches every frame they complete.
  void Append(const void* data, size_t n);
  // Forgets every held byte (a new connection starts clean).
  void Clear();

  // The bytes kept for frames not yet complete (during a sink call the part of the read being
  // cut that has not been reached yet is not among them).
  const uint8_t* Data() const { return buf_.data() + head_; }
  size_t Held() const { return tail_ - head_; }

 private:
  void Reserve(size_t n);
  // Copies n bytes behind the held ones.
  void Keep(const uint8_t* p, size_t n);
  // Keeps what is left of the read being cut, from its first start byte.
  void KeepRead();
  // Clears and reports a header at p that announces too long a body.
  bool Oversized(const uint8_t* p);
  void Cut();

  IFrameSink& sink_;
  std::vector<uint8_t> buf_;
  size_t head_ = 0, tail_ = 0;
  // The part of the caller's read not cut yet; empty outside Append.
  const uint8_t* read_ = nullptr;
  const uint8_t* readEnd_ = nullptr;
  int depth_ = 0;  // sink calls under way
  // Areas replaced while a sink call was reading from them; freed when the outermost returns.
  std::vector<std::vector<uint8_t>> retired_;
};
