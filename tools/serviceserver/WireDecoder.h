// The server's side of the framing: a client frame carries a header of six raw bytes whose
// length field counts the body in code page 936, followed by that body converted to UTF-8.
// The decoder turns the UTF-8 back into code page 936 one character at a time until the
// announced number of bytes is produced, and cuts the stream into frames. Binary bytes of
// a body that do not form a character of code page 936 do not survive the client's
// conversion; when that leaves the count short the decoder resynchronises on the next
// start byte and counts the bytes it skipped.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace stub {

struct TDecodedFrame {
  uint8_t Proto = 0;
  uint32_t LengthField = 0;  // as sent: the body's length before conversion
  std::string Body;          // back in code page 936
  std::string Wire;          // the UTF-8 bytes as they arrived
};

class TWireDecoder {
 public:
  // Appends received bytes; complete frames are moved to `out`.
  void Feed(const char* data, size_t n, std::vector<TDecodedFrame>& out);
  size_t Skipped() const { return skipped_; }

 private:
  std::string in_;
  size_t skipped_ = 0;
};

// One UTF-8 character at `p` (at most `n` bytes) in code page 936: its byte count in `used`,
// 0 when the character is not complete yet.
std::string Utf8CharToAnsi(const unsigned char* p, size_t n, size_t& used);

}  // namespace stub
