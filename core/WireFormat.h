// Building and reading message bodies: one-byte and 32-bit little-endian integers, the 8-byte
// date-time value, wire strings (a length byte and the text), long texts (a 32-bit length and
// the text), fixed strings (a length byte and k bytes) and zero-padded text areas. The reader
// checks every length against the bytes it holds and throws EMalformedBody instead of
// reading past them.
// Contract: a reader borrows its bytes, which must outlive it; a writer owns its body. Any
// thread, one object per thread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exception.h"

class EMalformedBody : public Exception {
  using Exception::Exception;
};

// Longest text a wire string or fixed string length byte can describe.
inline constexpr size_t kMaxWireString = 255;

class TBodyWriter {
 public:
  TBodyWriter& U8(uint8_t v);
  TBodyWriter& U32(uint32_t v);
  TBodyWriter& DateTime(TDateTime v);
  // Texts longer than 255 bytes are cut on a character boundary of code page 936.
  TBodyWriter& WireString(std::string_view text);
  TBodyWriter& LongText(std::string_view text);
  // A length byte and exactly k bytes; the text is cut to k bytes on a character boundary.
  TBodyWriter& FixedString(std::string_view text, size_t k);
  // Exactly `size` bytes of text, zero-padded, no length byte; cut on a character boundary.
  TBodyWriter& Padded(std::string_view text, size_t size);
  TBodyWriter& Bytes(const void* data, size_t len);
  TBodyWriter& Zeros(size_t n);

  const std::string& Data() const { return data_; }
  std::string Take() { return std::move(data_); }
  size_t Size() const { return data_.size(); }

 private:
  std::string data_;
};

class TBodyReader {
 public:
  TBodyReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit TBodyReader(std::string_view body)
      : data_(reinterpret_cast<const uint8_t*>(body.data())), size_(body.size()) {}

  uint8_t U8();
  uint32_t U32();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  TDateTime DateTime();
  std::string WireString() { return std::string(WireStringView()); }
  std::string LongText() { return std::string(LongTextView()); }
  // The same texts left where they are in the borrowed bytes.
  std::string_view WireStringView();
  std::string_view LongTextView();
  // A length byte and k bytes; a length byte above k is taken as k.
  std::string FixedString(size_t k);
  // `size` bytes of text up to the first zero byte.
  std::string Padded(size_t size);
  // The next n bytes, checked, without copying.
  const uint8_t* Take(size_t n);
  void Skip(size_t n) { Take(n); }
  // Throws unless n records of `recordSize` bytes are still held.
  void Expect(uint64_t count, size_t recordSize);

  size_t Pos() const { return pos_; }
  size_t Remaining() const { return size_ - pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Little-endian helpers for fixed offsets inside records.
uint32_t ReadU32(const uint8_t* p);
void WriteU32(uint8_t* p, uint32_t v);
TDateTime ReadDateTime(const uint8_t* p);
void WriteDateTime(uint8_t* p, TDateTime v);
// Fixed string of k text bytes at p (length byte first), and its writer (zeroes k + 1 bytes).
std::string ReadFixed(const uint8_t* p, size_t k);
void WriteFixed(uint8_t* p, std::string_view text, size_t k);
std::string ReadPadded(const uint8_t* p, size_t size);
void WritePadded(uint8_t* p, std::string_view text, size_t size);
