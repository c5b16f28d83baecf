// One block of a socket's send queue: a fixed byte area filled from the front and drained
// from the front. It never wraps: room freed at the front is reused only once the block has
// been drained completely.
// Contract: owns its byte area; Peek's pointer is valid until the next Write or Remove. One
// thread, the socket's.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/rtl/Object.h"

class TBuffer : public TObject {
 public:
  static constexpr int32_t kDefaultSize = 1514;

  // A size below 1 means the default of 1514 bytes.
  explicit TBuffer(int32_t size);

  int32_t Size() const { return size_; }
  int32_t WritePos() const { return writePos_; }
  int32_t ReadPos() const { return readPos_; }
  // Changes the capacity, keeping the first WritePos bytes when bytes are pending.
  void SetSize(int32_t newSize);
  // Appends up to `len` bytes behind WritePos; returns how many were taken.
  int32_t Write(const void* src, int32_t len);
  // The pending bytes (count in `len`), or nullptr with `len` 0 when none are pending.
  const uint8_t* Peek(int32_t& len) const;
  // Drops up to `len` pending bytes from the front; returns how many were dropped.
  int32_t Remove(int32_t len);

 private:
  std::unique_ptr<uint8_t[]> data_;
  int32_t size_ = 0;
  int32_t writePos_ = 0;
  int32_t readPos_ = 0;
};
