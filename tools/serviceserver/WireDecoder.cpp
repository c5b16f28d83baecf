// Undoing the client's whole-body conversion to UTF-8.
#include "tools/serviceserver/WireDecoder.h"

#include <windows.h>

#include <cstring>

namespace stub {

std::string Utf8CharToAnsi(const unsigned char* p, size_t n, size_t& used) {
  used = 0;
  if (n == 0) return {};
  unsigned char c = p[0];
  if (c < 0x80) {
    used = 1;
    return std::string(1, char(c));
  }
  size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  if (len == 1) {  // a stray continuation byte: no character of ours
    used = 1;
    return "?";
  }
  if (n < len) return {};
  uint32_t cp = c & (0xFF >> (len + 1));
  for (size_t i = 1; i < len; ++i) {
    if ((p[i] & 0xC0) != 0x80) {
      used = 1;
      return "?";
    }
    cp = cp << 6 | (p[i] & 0x3F);
  }
  used = len;
  wchar_t w[2];
  int wn = 1;
  if (cp >= 0x10000) {
    cp -= 0x10000;
    w[0] = wchar_t(0xD800 + (cp >> 10));
    w[1] = wchar_t(0xDC00 + (cp & 0x3FF));
    wn = 2;
  } else {
    w[0] = wchar_t(cp);
  }
  char out[8];
  int k = WideCharToMultiByte(936, 0, w, wn, out, sizeof out, nullptr, nullptr);
  return std::string(out, k > 0 ? size_t(k) : 0);
}

void TWireDecoder::Feed(const char* data, size_t n, std::vector<TDecodedFrame>& out) {
  in_.append(data, n);
  size_t pos = 0;
  for (;;) {
    size_t start = in_.find(char(0x64), pos);
    if (start == std::string::npos) {
      skipped_ += in_.size() - pos;
      pos = in_.size();
      break;
    }
    skipped_ += start - pos;
    pos = start;
    if (in_.size() - pos < 6) break;
    const auto* h = reinterpret_cast<const unsigned char*>(in_.data() + pos);
    TDecodedFrame f;
    f.Proto = h[1];
    f.LengthField = uint32_t(h[2]) | uint32_t(h[3]) << 8 | uint32_t(h[4]) << 16 | uint32_t(h[5]) << 24;
    if (f.LengthField > (1u << 20)) {  // no client sends that much: not a frame
      ++skipped_;
      ++pos;
      continue;
    }
    size_t at = pos + 6;
    bool complete = true;
    while (f.Body.size() < f.LengthField) {
      size_t used;
      std::string ch = Utf8CharToAnsi(reinterpret_cast<const unsigned char*>(in_.data() + at), in_.size() - at, used);
      if (used == 0) {
        complete = false;
        break;
      }
      f.Body += ch;
      at += used;
    }
    if (!complete) break;
    f.Body.resize(f.LengthField);
    f.Wire = in_.substr(pos + 6, at - pos - 6);
    out.push_back(std::move(f));
    pos = at;
  }
  in_.erase(0, pos);
}

}  // namespace stub
