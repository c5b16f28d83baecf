// Body encoding shared by the connection, its records and the stand-in server.
#include "core/WireFormat.h"

#include <cstring>

#include "platform/rtl/SysUtils.h"

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void WriteU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

TDateTime ReadDateTime(const uint8_t* p) {
  uint64_t bits = uint64_t(ReadU32(p)) | uint64_t(ReadU32(p + 4)) << 32;
  TDateTime v;
  static_assert(sizeof v == sizeof bits);
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

void WriteDateTime(uint8_t* p, TDateTime v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  WriteU32(p, uint32_t(bits));
  WriteU32(p + 4, uint32_t(bits >> 32));
}

std::string ReadFixed(const uint8_t* p, size_t k) {
  size_t n = p[0] <= k ? p[0] : k;
  return std::string(reinterpret_cast<const char*>(p + 1), n);
}

void WriteFixed(uint8_t* p, std::string_view text, size_t k) {
  std::string cut = sys::CutAnsi(text, k < kMaxWireString ? k : kMaxWireString);
  std::memset(p, 0, k + 1);
  p[0] = uint8_t(cut.size());
  std::memcpy(p + 1, cut.data(), cut.size());
}

std::string ReadPadded(const uint8_t* p, size_t size) {
  const void* nul = std::memchr(p, 0, size);
  size_t n = nul ? size_t(static_cast<const uint8_t*>(nul) - p) : size;
  return std::string(reinterpret_cast<const char*>(p), n);
}

void WritePadded(uint8_t* p, std::string_view text, size_t size) {
  std::string cut = sys::CutAnsi(text, size);
  std::memset(p, 0, size);
  std::memcpy(p, cut.data(), cut.size());
}

TBodyWriter& TBodyWriter::U8(uint8_t v) {
  data_ += char(v);
  return *this;
}

TBodyWriter& TBodyWriter::U32(uint32_t v) {
  uint8_t b[4];
  WriteU32(b, v);
  return Bytes(b, 4);
}

TBodyWriter& TBodyWriter::DateTime(TDateTime v) {
  uint8_t b[8];
  WriteDateTime(b, v);
  return Bytes(b, 8);
}

TBodyWriter& TBodyWriter::WireString(std::string_view text) {
  std::string cut = sys::CutAnsi(text, kMaxWireString);
  U8(uint8_t(cut.size()));
  data_ += cut;
  return *this;
}

TBodyWriter& TBodyWriter::LongText(std::string_view text) {
  U32(uint32_t(text.size()));
  data_ += text;
  return *this;
}

TBodyWriter& TBodyWriter::FixedString(std::string_view text, size_t k) {
  size_t at = data_.size();
  data_.resize(at + k + 1);
  WriteFixed(reinterpret_cast<uint8_t*>(data_.data()) + at, text, k);
  return *this;
}

TBodyWriter& TBodyWriter::Padded(std::string_view text, size_t size) {
  size_t at = data_.size();
  data_.resize(at + size);
  WritePadded(reinterpret_cast<uint8_t*>(data_.data()) + at, text, size);
  return *this;
}

TBodyWriter& TBodyWriter::Bytes(const void* data, size_t len) {
  data_.append(static_cast<const char*>(data), len);
  return *this;
}

TBodyWriter& TBodyWriter::Zeros(size_t n) {
  data_.append(n, '\0');
  return *this;
}

const uint8_t* TBodyReader::Take(size_t n) {
  if (n > size_ - pos_)
    throw EMalformedBody(sys::Format("消息体不完整：第%u字节处需要%u字节，只剩%u字节", unsigned(pos_),
                                     unsigned(n), unsigned(size_ - pos_)));
  const uint8_t* p = data_ + pos_;
  pos_ += n;
  return p;
}

void TBodyReader::Expect(uint64_t count, size_t recordSize) {
  if (count * recordSize > Remaining())
    throw EMalformedBody(sys::Format("消息体不完整：%u条记录需要%llu字节，只剩%u字节", unsigned(count),
                                     (unsigned long long)(count * recordSize), unsigned(Remaining())));
}

uint8_t TBodyReader::U8() { return *Take(1); }
uint32_t TBodyReader::U32() { return ReadU32(Take(4)); }
TDateTime TBodyReader::DateTime() { return ReadDateTime(Take(8)); }

std::string_view TBodyReader::WireStringView() {
  size_t n = U8();
  return std::string_view(reinterpret_cast<const char*>(Take(n)), n);
}

std::string_view TBodyReader::LongTextView() {
  size_t n = U32();
  return std::string_view(reinterpret_cast<const char*>(Take(n)), n);
}

std::string TBodyReader::FixedString(size_t k) { return ReadFixed(Take(k + 1), k); }
std::string TBodyReader::Padded(size_t size) { return ReadPadded(Take(size), size); }
