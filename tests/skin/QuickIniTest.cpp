// The skin ini reader's rules.
#include <gtest/gtest.h>

#include "skin/QuickIni.h"

namespace {
const char* const kIni =
    "orphan=before any section\r\n"
    "; a comment\r\n"
    "[Personality]\n"
    "  LeftWidth  =  7  \r"
    "leftwidth=8\r\n"
    "Empty=\r\n"
    "Empty=second\r\n"
    "   ; indented comment\r\n"
    "\r\n"
    "Hex=0x1F\r\n"
    "Dollar=$1F\r\n"
    "Bare0x=0x\r\n"
    "Junk=12abc\r\n"
    "Negative=-5\r\n"
    "NoEquals\r\n"
    "Eq=a=b\r\n"
    "[Commented] ; not a head\r\n"
    "Inside=1\r\n"
    "[personality]\r\n"
    "Later=never seen\r\n"
    "[Other]\r\n"
    "Key=other";
}  // namespace

TEST(QuickIni, LookUpRules) {
  TQuickIni ini;
  ini.LoadFromStream(kIni);
  struct Case {
    const char *section, *key, *def, *want;
  } strings[] = {
      {"Personality", "leftwidth", "d", "7"},        // case of key, blanks, first occurrence
      {"PERSONALITY", "LEFTWIDTH", "d", "7"},        // case of section
      {"Personality", "Empty", "d", "d"},            // first occurrence empty: default, second unseen
      {"Personality", "Eq", "d", "a=b"},             // value after the first "="
      {"Personality", "NoEquals", "d", "d"},
      {"Personality", "orphan", "d", "d"},           // keys before any head belong to none
      {"Personality", "Later", "d", "d"},            // two heads of one name: the first is used
      {"Personality", "Inside", "d", "1"},           // "[x] ; c" is no head, so its keys stay here
      {"Commented", "Inside", "d", "d"},
      {"Other", "Key", "d", "other"},
      {"Missing", "Key", "d", "d"},
  };
  for (const Case& c : strings) EXPECT_EQ(ini.ReadString(c.section, c.key, c.def), c.want) << c.section << "/" << c.key;

  struct IntCase {
    const char* key;
    int want;
  } ints[] = {{"Hex", 31}, {"Dollar", 31}, {"Bare0x", -1}, {"Junk", -1}, {"Negative", -5}, {"LeftWidth", 7}, {"Missing", -1}};
  for (const IntCase& c : ints) EXPECT_EQ(ini.ReadInteger("Personality", c.key, -1), c.want) << c.key;
}

TEST(QuickIni, KeepsLinesAndListsSections) {
  TQuickIni ini;
  ini.LoadFromStream(kIni);
  EXPECT_EQ(ini.Lines()[0], "orphan=before any section");
  EXPECT_EQ(ini.Lines()[2], "LeftWidth  =  7");  // trimmed, comments and blank lines dropped
  TStringList sections;
  sections.Add("stale");
  ini.ReadSections(sections);
  ASSERT_EQ(sections.Count(), 3);
  EXPECT_EQ(sections[0], "Personality");
  EXPECT_EQ(sections[1], "personality");
  EXPECT_EQ(sections[2], "Other");

  ini.LoadFromStream("");  // a reload replaces everything
  EXPECT_EQ(ini.Lines().Count(), 0);
  EXPECT_EQ(ini.ReadString("Other", "Key", "gone"), "gone");
}
