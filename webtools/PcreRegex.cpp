// The regular-expression wrapper over PCRE2; see PcreRegex.h.
#include "webtools/PcreRegex.h"

#include <pcre2.h>

#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The PCRE2 flag of each option, by meaning. PCRE2 always rejects unknown escapes, which is
// what "extra" asked of the older library, so it needs no flag.
const uint32_t kOptionFlags[8] = {
    PCRE2_CASELESS, PCRE2_MULTILINE, PCRE2_DOTALL, PCRE2_EXTENDED,
    PCRE2_ANCHORED, PCRE2_DOLLAR_ENDONLY, 0, PCRE2_UNGREEDY,
};
const uint32_t kExecFlags[3] = {PCRE2_NOTBOL, PCRE2_NOTEOL, PCRE2_NOTEMPTY};

// The JIT's stack grows on demand up to this; a pattern needing more fails its match.
constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 1024 * 1024;

}  // namespace

TPcreRegex::TPcreRegex(TComponent* owner) : TComponent(owner) {
  state_ = (TPcreExecFlags)(1u << exNotEmpty);
  // Tables for the current locale, as the older library built them.
  charTable_ = pcre2_maketables(nullptr);
  compileContext_ = pcre2_compile_context_create(nullptr);
  if (compileContext_ && charTable_) pcre2_set_character_tables(compileContext_, charTable_);
  matchData_ = pcre2_match_data_create(kOffsetPairs, nullptr);
  matchContext_ = pcre2_match_context_create(nullptr);
  jitStack_ = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
  if (matchContext_ && jitStack_) pcre2_jit_stack_assign(matchContext_, nullptr, jitStack_);
}

TPcreRegex::~TPcreRegex() {
  CleanUp();
  pcre2_jit_stack_free(jitStack_);
  pcre2_match_context_free(matchContext_);
  pcre2_match_data_free(matchData_);
  pcre2_compile_context_free(compileContext_);
  if (charTable_) pcre2_maketables_free(nullptr, charTable_);
}

void TPcreRegex::SetOptions(TPcreRegexOptions options) {
  if (options == options_) return;
  options_ = options;
  pcreOptions_ = 0;
  for (int i = 0; i < 8; ++i)
    if (options & (1u << i)) pcreOptions_ |= kOptionFlags[i];
  CleanUp();
}

void TPcreRegex::SetRegEx(const std::string& pattern) {
  if (pattern == regEx_) return;
  regEx_ = pattern;
  CleanUp();
}

void TPcreRegex::SetSubject(const std::string& text) {
  ownSubject_ = text;
  SetSubjectInPlace(ownSubject_);
}

void TPcreRegex::SetSubjectInPlace(const std::string& text) {
  subject_ = text;
  start_ = 1;
  stop_ = (int)text.size();
  offsetCount_ = 0;
}

void TPcreRegex::CleanUp() {
  compiled_ = false;
  studied_ = false;
  jitted_ = false;
  start_ = 1;
  pcre2_code_free(pattern_);
  pattern_ = nullptr;
  offsetCount_ = 0;
}

void TPcreRegex::Compile() {
  if (regEx_.empty()) throw Exception("TPcreRegex.Compile() - Please specify a regular expression in RegEx first");
  CleanUp();
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pattern_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(regEx_.data()), regEx_.size(), pcreOptions_, &error,
                           &errorOffset, compileContext_);
  if (!pattern_) {
    PCRE2_UCHAR text[256];
    if (pcre2_get_error_message(error, text, sizeof text) < 0) text[0] = 0;
    throw Exception(sys::Format("TPcreRegex.Compile() - Error in regex at offset %d: %s", (int)errorOffset,
                                reinterpret_cast<const char*>(text)));
  }
  // Without a JIT for the target (or memory for it) the interpreter runs the same pattern.
  jitted_ = pcre2_jit_compile(pattern_, PCRE2_JIT_COMPLETE) == 0;
  compiled_ = true;
}

bool TPcreRegex::Exec(int fromOffset) {
  if (!compiled_) Compile();
  uint32_t flags = 0;
  for (int i = 0; i < 3; ++i)
    if (state_ & (1u << i)) flags |= kExecFlags[i];
  // Nothing left from there on: an empty subject for Match, the end reached for MatchAgain.
  // Match itself always starts over, wherever the last search ended.
  if (stop_ <= fromOffset || !matchData_) {
    offsetCount_ = -1;
    return false;
  }
  int rc = pcre2_match(pattern_, reinterpret_cast<PCRE2_SPTR>(subject_.data()), (PCRE2_SIZE)stop_,
                       (PCRE2_SIZE)fromOffset, flags, matchData_, matchContext_);
  offsetCount_ = rc;
  if (rc <= 0) return false;
  const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(matchData_);
  for (int i = 0; i < 2 * rc; ++i)
    // An unset group stays unset (-1 + 1 = 0 reads as empty).
    offsets_[i] = ov[i] == PCRE2_UNSET ? 0 : (int)ov[i] + 1;
  start_ = offsets_[1];
  // An empty match moves on by one, so a continued search cannot stay in place.
  if (offsets_[0] == offsets_[1]) ++start_;
  return true;
}

bool TPcreRegex::Match() { return Exec(0); }

bool TPcreRegex::MatchAgain() { return Exec(start_ - 1); }

int TPcreRegex::MatchStart(int index) const { return index >= 0 && index < offsetCount_ ? offsets_[2 * index] : 0; }

int TPcreRegex::MatchEnd(int index) const { return index >= 0 && index < offsetCount_ ? offsets_[2 * index + 1] : 0; }

std::string TPcreRegex::SubExpressions(int index) const {
  if (index < 0 || index > offsetCount_ - 1) return {};
  int from = offsets_[2 * index], to = offsets_[2 * index + 1];
  if (from <= 0 || to < from) return {};
  return std::string(subject_.substr(from - 1, to - from));
}
