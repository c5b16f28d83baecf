// The coder and the archive reader: round trips, the built-in skin, look-up rules and the
// refusal of damaged input.
#include <gtest/gtest.h>

#include <random>

#include "platform/rtl/SysUtils.h"
#include "skin/SkinLzh.h"
#include "skin/SkinReader.h"
#include "tests/skin/SkinFixtures.h"
#include "tests/support/TestSupport.h"
#include "tools/skinpack/SkinPacker.h"

using testing_support::ScriptedDialogs;

namespace {

std::string U32(uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s.push_back((char)(v >> (8 * i)));
  return s;
}

// An archive written by hand: header, name list as given, sizes, data.
std::string RawArchive(uint32_t mark, const std::string& names, const std::vector<uint32_t>& sizes,
                       const std::string& data, uint32_t nameBytes) {
  std::string a = U32(mark) + U32(nameBytes) + U32(0) + U32(0) + names;
  for (uint32_t s : sizes) a += U32(s);
  return a + data;
}
std::string RawArchive(const std::string& names, const std::vector<uint32_t>& sizes, const std::string& data) {
  return RawArchive(20000, names, sizes, data, (uint32_t)names.size());
}

}  // namespace

TEST(SkinCoder, RoundTripsFromEmptyToSeveralHundredKilobytes) {
  std::mt19937 rng(4155);
  auto random = [&](size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = (char)rng();
    return s;
  };
  auto texty = [&](size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = "skin  bitmap\r\n"[rng() % 14];
    return s;
  };
  std::string mixed;  // runs, text and noise, like bitmaps next to an ini
  while (mixed.size() < 400000) mixed += std::string(rng() % 300, (char)rng()) + texty(rng() % 200) + random(rng() % 50);
  // Random bytes are all literals, so 70000 of them pass the tree's rebuild limit twice.
  const std::string cases[] = {"", "a", "ab", "abc", std::string(60, 'x'), std::string(61, ' '), texty(4095),
                               texty(4096), random(4097), random(70000), mixed};
  for (const std::string& data : cases) {
    std::string packed = skinpack::Encode(data), out;
    ASSERT_TRUE(TLZH::Decode(packed, out)) << data.size();
    EXPECT_TRUE(out == data) << data.size();
  }
}

TEST(SkinCoder, DecodesAStreamCodedByHand) {
  // Coded bit by bit from the coder's rules, apart from the packer and its tree: literals
  // "ABC", a match of 9 three back, "x", a match of 5 a hundred back (the ring's first spaces,
  // upper position bits 1), "!". Each symbol moves the adaptive tree on.
  const unsigned char packed[] = {0x13, 0x00, 0x00, 0x00, 0xE6, 0xF3, 0xB9, 0xF2, 0x40, 0x20, 0x48, 0xE2, 0x93, 0x5A};
  std::string out;
  ASSERT_TRUE(TLZH::Decode(std::string_view((const char*)packed, sizeof packed), out));
  EXPECT_EQ(out, "ABCABCABCABCx     !");
}

TEST(SkinCoder, OutputIsExactlyTheDeclaredSize) {
  // Sixty spaces are one match; declaring 10 bytes must not let the match run past them.
  std::string packed = skinpack::Encode(std::string(60, ' ')), out;
  packed.replace(0, 4, U32(10));
  ASSERT_TRUE(TLZH::Decode(packed, out));
  EXPECT_EQ(out, std::string(10, ' '));
}

TEST(SkinCoder, RefusesShortStreamsAndOversizedDeclarations) {
  const std::string skin = skintest::BuildSkin("builtin.skin");
  std::string out = "stale";
  for (size_t cut : {(size_t)0, (size_t)3, (size_t)4, (size_t)100, skin.size() / 2, skin.size() - 1}) {
    EXPECT_FALSE(TLZH::Decode(skin.substr(0, cut), out)) << cut;
    EXPECT_TRUE(out.empty());
  }
  std::string huge = skin;
  huge.replace(0, 4, U32(0x7FFFFFFF));  // above the cap
  EXPECT_FALSE(TLZH::Decode(huge, out));
  huge.replace(0, 4, U32(lzh::kMaxUnpacked));  // within the cap, but far beyond what the bits can hold
  EXPECT_FALSE(TLZH::Decode(huge, out));
}

TEST(SkinReader, BuiltInSkinHoldsEveryDrawnFile) {
  ScriptedDialogs dialogs;
  seams::ScopedSeam<seams::IDialogs> seam(&dialogs);
  TSkinReader r;
  ASSERT_TRUE(r.Load(skintest::BuildSkin("builtin.skin")));
  EXPECT_TRUE(dialogs.calls.empty());
  ASSERT_EQ(r.Count(), (int)skinart::MakeSkin(skinart::Theme::Builtin).size());
  size_t nameBytes = 0;
  for (int i = 0; i < r.Count(); ++i) {
    nameBytes += r.Names()[i].size() + 2;
    std::string bytes;
    r.ExtractFile(r.Names()[i], bytes);
    EXPECT_EQ(bytes, sys::ReadFileBytes(std::string(KARV_SKINS_DIR) + "/builtin/" + r.Names()[i])) << r.Names()[i];
  }
  EXPECT_EQ(r.DataOffset(), 16 + nameBytes + 4 * r.Count());
  EXPECT_EQ(r.Header().substr(0, 4), U32(20000));
}

TEST(SkinReader, LooksNamesUpFoldedAndFragmentsAsGiven) {
  TSkinReader r;
  ASSERT_TRUE(r.Load(skintest::Pack("[A]", {{"Frame.BMP", "first"}, {"x.bmp", "second"}, {"frame.bmp", "copy"}})));
  EXPECT_EQ(r.Names()[0], "test.ini");
  std::string bytes = "stale", name = "unchanged";
  r.ExtractFile("TEST.INI", bytes);
  EXPECT_EQ(bytes, "[A]");
  r.ExtractFile("FRAME.bmp", bytes);  // the first of two equal names
  EXPECT_EQ(bytes, "first");
  r.ExtractFileLike(".bmp", bytes, name);
  EXPECT_EQ(name, "frame.bmp");
  EXPECT_EQ(bytes, "first");
  r.ExtractFileLike(".BMP", bytes, name);  // fragments are not folded
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(name, "frame.bmp");
  r.ExtractFile("missing.bmp", bytes);
  EXPECT_TRUE(bytes.empty());
}

TEST(SkinReader, LastNameWithoutLineEndCounts) {
  TSkinReader r;
  ASSERT_TRUE(r.Load(skinpack::Encode(RawArchive("a.ini\r\nb.bmp", {2, 3}, "ABcde"))));
  ASSERT_EQ(r.Count(), 2);
  std::string bytes;
  r.ExtractFile("b.bmp", bytes);
  EXPECT_EQ(bytes, "cde");
}

TEST(SkinReader, RefusesDamagedArchivesLikeAWrongMark) {
  std::string many;
  for (int i = 0; i < 1001; ++i) many += "m" + std::to_string(i) + "\r\n";
  struct Case {
    const char* what;
    std::string archive;
  } cases[] = {
      {"wrong mark", RawArchive(19999, "a\r\n", {1}, "x", 3)},
      {"header cut short", std::string("\x20\x4e\0\0\0\0", 6)},
      {"name list past the end", RawArchive(20000, "a\r\n", {1}, "x", 500)},
      {"more than 1000 members", RawArchive(many, std::vector<uint32_t>(1001, 0), "")},
      {"size table cut short", RawArchive("a\r\nb\r\n", {1}, "")},
      {"member past the end", RawArchive("a\r\nb\r\n", {1, 5}, "xyz")},
      {"sizes that overflow", RawArchive("a\r\nb\r\n", {0xFFFFFFFF, 2}, "xyz")},
  };
  ScriptedDialogs dialogs;
  seams::ScopedSeam<seams::IDialogs> seam(&dialogs);
  for (const Case& c : cases) {
    TSkinReader r;
    ASSERT_TRUE(r.Load(skintest::Pack("[Kept]")));
    dialogs.calls.clear();
    EXPECT_FALSE(r.Load(skinpack::Encode(c.archive))) << c.what;
    ASSERT_EQ(dialogs.calls.size(), 1u) << c.what;
    EXPECT_EQ(dialogs.calls[0].text, "Old skin format\rPlease use a skin of the current format.");
    EXPECT_EQ(r.Count(), 1) << c.what << ": the reader keeps what it held";
  }
}

TEST(SkinReader, SurvivesRandomAndCorruptedInput) {
  ScriptedDialogs dialogs;
  seams::ScopedSeam<seams::IDialogs> seam(&dialogs);
  const std::string skin = skintest::BuildSkin("builtin.skin");
  std::mt19937 rng(31312);
  for (int round = 0; round < 300; ++round) {
    std::string input;
    if (round % 2) {
      input.resize(rng() % 3000);
      for (char& c : input) c = (char)rng();
      if (input.size() >= 4 && round % 4 == 1) input.replace(0, 4, U32(rng() % 100000));
    } else {
      input = skin;
      for (int k = 0; k < 1 + round % 8; ++k) input[4 + rng() % (input.size() - 4)] ^= (char)(1 + rng() % 255);
    }
    TSkinReader r;
    if (r.Load(input)) {
      std::string bytes, name;
      for (int i = 0; i < r.Count(); ++i) r.ExtractFile(r.Names()[i], bytes);
      r.ExtractFileLike(".ini", bytes, name);
    }
  }
  SUCCEED();
}
