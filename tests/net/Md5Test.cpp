// MD5 against the RFC 1321 test suite, and the password text the login sends.
#include <gtest/gtest.h>

#include "core/MD5.h"

TEST(MD5, MatchesTheRfc1321TestSuite) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [text, digest] : cases) EXPECT_EQ(MD5Print(MD5String(text)), digest) << '"' << text << '"';
}

TEST(MD5, PiecewiseUpdatesGiveTheSameDigestAsOne) {
  std::string text(200, '\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = char(i * 7 + 3);
  for (size_t cut : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 128u, 199u}) {
    TMD5Context ctx;
    MD5Init(ctx);
    MD5Update(ctx, text.data(), cut);
    MD5Update(ctx, text.data() + cut, text.size() - cut);
    EXPECT_EQ(MD5Final(ctx), MD5String(text)) << cut;
  }
}

TEST(MD5, LoginHashIsThirtyTwoLowerCaseDigitsOfThePasswordAsTyped) {
  std::string hash = MD5Print(MD5String("demo"));
  EXPECT_EQ(hash, "fe01ce2a7fbac8fafaed7c982a04e229");
  // Code page 936 bytes are hashed as held: "密码" is C3 DC C2 EB.
  EXPECT_EQ(MD5Print(MD5String("密码")), MD5Print(MD5String("\xC3\xDC\xC2\xEB")));
  EXPECT_NE(MD5Print(MD5String(" demo")), hash);  // no trimming
  for (char c : MD5Print(MD5String("\xFF\xFE")))
    EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
}
