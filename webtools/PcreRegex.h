// TPcreRegex: a pattern, its compile options, a subject and the offsets of the last match,
// over PCRE2 (8-bit, JIT-compiled where the library has a JIT for the target). The pattern is
// compiled on the first search after a change; Match finds the first match, MatchAgain the
// next one after it. Offsets are 1-based character positions. One object belongs to one
// thread. Only Compile (and so the first search after a change) throws, an Exception.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Component.h"

enum TPcreRegexOption : uint8_t {
  preCaseLess,
  preMultiLine,
  preSingleLine,
  preExtended,
  preAnchored,
  preDollarEndOnly,
  preExtra,
  preUnGreedy,
};
// Bit i of the set is member i.
using TPcreRegexOptions = uint8_t;
constexpr TPcreRegexOptions PreSet(TPcreRegexOption o) { return (TPcreRegexOptions)(1u << o); }

enum TPcreExecFlag : uint8_t { exNotBOL, exNotEOL, exNotEmpty };
using TPcreExecFlags = uint8_t;

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;
struct pcre2_real_compile_context_8;
struct pcre2_real_match_context_8;
struct pcre2_real_jit_stack_8;

class TPcreRegex : public TComponent {
  KARV_CLASS(TPcreRegex, TComponent)
 public:
  // The offset vector's size: 100 pairs, group 0 and 99 groups.
  static constexpr int kOffsetPairs = 100;

  explicit TPcreRegex(TComponent* owner);
  ~TPcreRegex() override;

  TPcreRegexOptions Options() const { return options_; }
  void SetOptions(TPcreRegexOptions options);
  const std::string& RegEx() const { return regEx_; }
  void SetRegEx(const std::string& pattern);
  std::string_view Subject() const { return subject_; }
  void SetSubject(const std::string& text);
  // Searches `text` where it lies, without a copy: the caller keeps it alive and unchanged
  // until the next SetSubject or SetSubjectInPlace (the page parser does, for its pages).
  void SetSubjectInPlace(const std::string& text);
  TPcreExecFlags State() const { return state_; }
  void SetState(TPcreExecFlags flags) { state_ = flags; }

  void Compile();
  bool Match();
  bool MatchAgain();
  std::string MatchedExpression() const { return SubExpressions(0); }
  std::string SubExpressions(int index) const;
  int SubExpressionCount() const { return offsetCount_ - 1; }
  // 1-based: the first character of group i, and the position after its last.
  int MatchStart(int index = 0) const;
  int MatchEnd(int index = 0) const;

  bool Compiled() const { return compiled_; }
  uint32_t PcreOptions() const { return pcreOptions_; }
  int OffsetCount() const { return offsetCount_; }
  int Start() const { return start_; }
  int Stop() const { return stop_; }
  // Whether the held pattern runs as JIT code.
  bool Jitted() const { return jitted_; }

 private:
  void CleanUp();
  bool Exec(int fromOffset);

  bool compiled_ = false;
  bool studied_ = false;  // kept for the layout's sake; nothing sets it
  TPcreRegexOptions options_ = 0;
  TPcreExecFlags state_ = 0;
  std::string regEx_;
  std::string ownSubject_;
  std::string_view subject_;
  int start_ = 1;
  int stop_ = 0;
  int offsets_[kOffsetPairs * 2] = {};
  int offsetCount_ = 0;
  uint32_t pcreOptions_ = 0;
  pcre2_real_code_8* pattern_ = nullptr;
  const uint8_t* charTable_ = nullptr;
  pcre2_real_compile_context_8* compileContext_ = nullptr;
  pcre2_real_match_data_8* matchData_ = nullptr;
  pcre2_real_match_context_8* matchContext_ = nullptr;
  pcre2_real_jit_stack_8* jitStack_ = nullptr;
  bool jitted_ = false;
};
