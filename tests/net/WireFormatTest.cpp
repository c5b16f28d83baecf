// Body encoding: texts too long for their length byte or field are cut on a character
// boundary, and the reader refuses to run past what it holds.
#include <gtest/gtest.h>

#include <functional>

#include "core/WireFormat.h"

TEST(WireFormat, LongTextsAreCutOnACharacterBoundary) {
  std::string chinese;
  for (int i = 0; i < 128; ++i) chinese += "字";  // 256 bytes
  std::string ws = TBodyWriter().WireString(chinese).Take();
  EXPECT_EQ(uint8_t(ws[0]), 254);
  EXPECT_EQ(ws.substr(1), chinese.substr(0, 254));
  EXPECT_EQ(uint8_t(TBodyWriter().WireString(std::string(300, 'a')).Take()[0]), 255);

  std::string fixed = TBodyWriter().FixedString("a汉字", 4).Take();  // 5 bytes into 4
  EXPECT_EQ(fixed, std::string("\x03" "a汉\x00", 5));
  std::string padded = TBodyWriter().Padded("汉字", 3).Take();
  EXPECT_EQ(padded, std::string("汉\x00", 3));
}

TEST(WireFormat, TheReaderChecksEveryLengthAgainstWhatIsHeld) {
  struct Case {
    const char* name;
    std::string body;
    std::function<void(TBodyReader&)> read;
  };
  const Case cases[] = {
      {"u32 from three bytes", "abc", [](TBodyReader& r) { r.U32(); }},
      {"wire string longer than the rest", "\x05" "abcd", [](TBodyReader& r) { r.WireString(); }},
      {"long text of 4 GiB", "\xFF\xFF\xFF\xFF" "x", [](TBodyReader& r) { r.LongText(); }},
      {"fixed string without its k bytes", "\x01" "a", [](TBodyReader& r) { r.FixedString(4); }},
      {"count of records beyond the body", std::string(10, 'r'), [](TBodyReader& r) { r.Expect(0xFFFFFFFFu, 200); }},
      {"date-time from seven bytes", "1234567", [](TBodyReader& r) { r.DateTime(); }},
  };
  for (const Case& k : cases) {
    TBodyReader r(k.body);
    EXPECT_THROW(k.read(r), EMalformedBody) << k.name;
  }
  const std::string body("\x09" "\x02" "hi" "\x07\x00\x00\x00", 8);
  TBodyReader ok(body);
  EXPECT_EQ(ok.U8(), 9);
  EXPECT_EQ(ok.WireString(), "hi");
  EXPECT_EQ(ok.U32(), 7u);
  EXPECT_EQ(ok.Remaining(), 0u);
  // A fixed string whose length byte claims more than its field reads the field only.
  const std::string claimsNine("\x09" "abc", 4);
  TBodyReader over(claimsNine);
  EXPECT_EQ(over.FixedString(3), "abc");
}
