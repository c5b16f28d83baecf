// The MD5 message digest of RFC 1321. The program hashes only the password: the login and
// registration requests and the service's login-check page carry its 32-digit hex text.
// Contract: pure functions over the caller's bytes and context; any thread.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using TMD5Digest = std::array<uint8_t, 16>;

struct TMD5Context {
  uint32_t State[4];
  uint64_t BitCount;
  uint8_t Buffer[64];
};

void MD5Init(TMD5Context& ctx);
void MD5Update(TMD5Context& ctx, const void* data, size_t len);
TMD5Digest MD5Final(TMD5Context& ctx);
// Digest of the text's bytes as held (code page 936), no terminator.
TMD5Digest MD5String(std::string_view text);
// 32 lower-case hexadecimal digits, high nibble first.
std::string MD5Print(const TMD5Digest& digest);
