// The regular-expression wrapper over PCRE2: a table of patterns, subjects and options with
// the matches, 1-based offsets and errors expected, then the continued search and the
// wrapper's state rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "webtools/PcreRegex.h"

namespace {

constexpr TPcreRegexOptions kNone = 0;
constexpr TPcreRegexOptions kCaseless = PreSet(preCaseLess);
constexpr TPcreRegexOptions kMulti = PreSet(preMultiLine);

struct Case {
  const char* what;
  std::string pattern, subject;
  TPcreRegexOptions options;
  bool matches;
  std::string whole;                // group 0
  int start, end;                   // 1-based, end is after the last character
  std::vector<std::string> groups;  // groups 1..n
};

const Case kCases[] = {
    {"plain literal", "b+", "aabbbc", kNone, true, "bbb", 3, 6, {}},
    {"groups", "(\\w+)@(\\w+)\\.com", "mail: joe@site.com!", kNone, true, "joe@site.com", 7, 19, {"joe", "site"}},
    {"case matters by default", "ABC", "xabc", kNone, false, "", 0, 0, {}},
    {"caseless", "ABC", "xabc", kCaseless, true, "abc", 2, 5, {}},
    {"dot stops at a line feed", "a.*z", "a12\nz", kNone, false, "", 0, 0, {}},
    {"dot matches all", "a.*z", "a12\nz", PreSet(preSingleLine), true, "a12\nz", 1, 6, {}},
    {"^ only at the start", "^b", "a\nb", kNone, false, "", 0, 0, {}},
    {"^ at each line", "^b", "a\nb", kMulti, true, "b", 3, 4, {}},
    {"extended ignores blanks", "a b c", "abc", PreSet(preExtended), true, "abc", 1, 4, {}},
    {"anchored at the start", "b", "ab", PreSet(preAnchored), false, "", 0, 0, {}},
    {"$ before a final line feed", "a$", "a\n", kNone, true, "a", 1, 2, {}},
    {"dollar end only", "a$", "a\n", PreSet(preDollarEndOnly), false, "", 0, 0, {}},
    {"ungreedy", "<.+>", "<a><b>", PreSet(preUnGreedy), true, "<a>", 1, 4, {}},
    {"greedy", "<.+>", "<a><b>", kNone, true, "<a><b>", 1, 7, {}},
    {"empty matches refused", "a*", "bbb", kNone, false, "", 0, 0, {}},
    {"empty subject", "x*", "", kNone, false, "", 0, 0, {}},
    {"unset group reads empty", "(a)|(b)", "b", kNone, true, "b", 1, 2, {"", "b"}},
    // Older PCRE read the hyphen in [\w-./?%&=] as a literal; written escaped it matches the
    // same texts under PCRE2.
    {"address class, hyphen escaped", "http://[\\w\\-./?%&=]+", "go http://a-b.cn/x?y=1&z=%20 now", kNone, true,
     "http://a-b.cn/x?y=1&z=%20", 4, 29, {}},
    {"address class, hyphen last", "http://[\\w./?%&=-]+", "go http://a-b.cn/x?y=1&z=%20 now", kNone, true,
     "http://a-b.cn/x?y=1&z=%20", 4, 29, {}},
    {"code page 936 bytes", "企业", "示例企业网站", kNone, true, "企业", 5, 9, {}},
};

TEST(PcreRegexTest, TableOfPatternsSubjectsAndOptions) {
  for (const Case& c : kCases) {
    TPcreRegex r(nullptr);
    r.SetOptions(c.options);
    r.SetRegEx(c.pattern);
    r.SetSubject(c.subject);
    ASSERT_EQ(r.Match(), c.matches) << c.what;
    EXPECT_EQ(r.MatchedExpression(), c.whole) << c.what;
    if (!c.matches) {
      EXPECT_LE(r.OffsetCount(), 0) << c.what;
      EXPECT_EQ(r.SubExpressions(1), "") << c.what;
      continue;
    }
    EXPECT_EQ(r.MatchStart(), c.start) << c.what;
    EXPECT_EQ(r.MatchEnd(), c.end) << c.what;
    ASSERT_EQ(r.SubExpressionCount(), (int)c.groups.size()) << c.what;
    for (size_t g = 0; g < c.groups.size(); ++g) EXPECT_EQ(r.SubExpressions((int)g + 1), c.groups[g]) << c.what;
    EXPECT_EQ(r.SubExpressions((int)c.groups.size() + 1), "") << c.what << ": past the last group";
  }
}

TEST(PcreRegexTest, CompileErrorsCarryTheWrappersTextAndPcresMessage) {
  struct Error {
    std::string pattern, message;
  } errors[] = {
      {"(", "TPcreRegex.Compile() - Error in regex at offset 1: missing closing parenthesis"},
      {"a[", "TPcreRegex.Compile() - Error in regex at offset 2: missing terminating ] for character class"},
      {"", "TPcreRegex.Compile() - Please specify a regular expression in RegEx first"},
      // The older library's literal hyphen after a class shorthand is an error here.
      {"[\\w-./]", "TPcreRegex.Compile() - Error in regex at offset 3: invalid range in character class"},
  };
  for (const Error& e : errors) {
    TPcreRegex r(nullptr);
    r.SetRegEx(e.pattern);
    r.SetSubject("abc");
    try {
      r.Match();
      ADD_FAILURE() << e.pattern << " compiled";
    } catch (const std::exception& ex) {
      EXPECT_EQ(std::string(ex.what()), e.message);
    }
    EXPECT_FALSE(r.Compiled());
  }
}

TEST(PcreRegexTest, MatchAgainVisitsNonOverlappingMatchesLeftToRight) {
  TPcreRegex r(nullptr);
  r.SetRegEx("a+");
  r.SetSubject("aa b aaa a");
  std::vector<std::pair<std::string, int>> seen;
  for (bool m = r.Match(); m; m = r.MatchAgain()) seen.emplace_back(r.MatchedExpression(), r.MatchStart());
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{{"aa", 1}, {"aaa", 6}, {"a", 10}}));
  // After the last match there is nothing more, also when asked again.
  EXPECT_FALSE(r.MatchAgain());
}

TEST(PcreRegexTest, MatchAskedAgainStartsOverAlsoAfterAMatchAtTheSubjectsEnd) {
  TPcreRegex r(nullptr);
  r.SetRegEx("c+");
  r.SetSubject("abcc");
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(r.Match()) << round;
    EXPECT_EQ(r.MatchStart(), 3) << round;
    EXPECT_EQ(r.MatchEnd(), 5) << round;
  }
  EXPECT_FALSE(r.MatchAgain()) << "nothing after the end";
  EXPECT_TRUE(r.Match()) << "and the first match again after that";
}

TEST(PcreRegexTest, EmptyMatchesMoveOnWhenAllowed) {
  TPcreRegex r(nullptr);
  r.SetState(0);  // allow empty matches
  r.SetRegEx("x*");
  r.SetSubject("ab");
  int count = 0;
  for (bool m = r.Match(); m && count < 10; m = r.MatchAgain()) ++count;
  EXPECT_EQ(count, 2) << "one empty match at each position, never stuck in place";
}

TEST(PcreRegexTest, OptionsAndPatternChangesDropTheCompiledPatternOnlyWhenTheyDiffer) {
  TPcreRegex r(nullptr);
  r.SetOptions(kCaseless);
  r.SetRegEx("abc");
  r.SetSubject("ABC");
  ASSERT_TRUE(r.Match());
  ASSERT_TRUE(r.Compiled());
  r.SetOptions(kCaseless);
  r.SetRegEx("abc");
  r.SetSubject("xABC");
  EXPECT_TRUE(r.Compiled()) << "same options and pattern keep it; a new subject keeps it too";
  EXPECT_TRUE(r.Match());
  EXPECT_EQ(r.MatchStart(), 2);
  r.SetOptions(kNone);
  EXPECT_FALSE(r.Compiled());
  EXPECT_FALSE(r.Match()) << "recompiled with the new options";
  EXPECT_EQ(r.PcreOptions(), 0u);
}

TEST(PcreRegexTest, MoreGroupsThanTheOffsetVectorHoldsIsNoMatch) {
  std::string pattern, subject(120, 'a');
  for (int i = 0; i < 120; ++i) pattern += "(a)";
  TPcreRegex r(nullptr);
  r.SetRegEx(pattern);
  r.SetSubject(subject);
  EXPECT_FALSE(r.Match());
  EXPECT_EQ(r.OffsetCount(), 0);
}

TEST(PcreRegexTest, PatternsRunAsJitCodeWhereTheLibraryHasIt) {
  TPcreRegex r(nullptr);
  r.SetRegEx("a+b");
  r.SetSubject("xaab");
  ASSERT_TRUE(r.Match());
#if defined(__i386__) || defined(__x86_64__)
  EXPECT_TRUE(r.Jitted());
#endif
}

}  // namespace
