// Send-queue block of the socket layer.
#include "socket/SocketBuffer.h"

#include <algorithm>
#include <cstring>

TBuffer::TBuffer(int32_t size) { SetSize(size); }

void TBuffer::SetSize(int32_t newSize) {
  if (newSize < 1) newSize = kDefaultSize;
  if (newSize == size_ && data_) return;
  auto area = std::make_unique<uint8_t[]>(newSize);
  if (writePos_ != readPos_) {
    // Pending bytes survive a resize; a shrink keeps what still fits.
    int32_t keep = std::min(writePos_, newSize);
    std::memcpy(area.get(), data_.get(), keep);
    writePos_ = keep;
    readPos_ = std::min(readPos_, keep);
    // What was cut may have been all that was still unread: the block is drained then.
    if (readPos_ == writePos_) readPos_ = writePos_ = 0;
  } else {
    writePos_ = readPos_ = 0;
  }
  data_ = std::move(area);
  size_ = newSize;
}

int32_t TBuffer::Write(const void* src, int32_t len) {
  int32_t room = size_ - writePos_;
  if (room < 1 || len < 1) return 0;
  int32_t n = std::min(len, room);
  std::memcpy(data_.get() + writePos_, src, n);
  writePos_ += n;
  return n;
}

const uint8_t* TBuffer::Peek(int32_t& len) const {
  len = writePos_ - readPos_;
  if (len > 0) return data_.get() + readPos_;
  len = 0;
  return nullptr;
}

int32_t TBuffer::Remove(int32_t len) {
  int32_t pending = writePos_ - readPos_;
  if (pending <= 0 || len < 1) return 0;
  int32_t n = std::min(len, pending);
  readPos_ += n;
  if (readPos_ == writePos_) readPos_ = writePos_ = 0;
  return n;
}
