// Base64 (RFC 4648 alphabet, "=" padding). Decoding skips line breaks and stops at the
// first character outside the alphabet.
// Pure functions; safe on any thread.
#pragma once
#include <string>
#include <string_view>

namespace base64 {
std::string Encode(std::string_view bytes);
std::string Decode(std::string_view text);
}  // namespace base64
