// Timing marks for finding where a program's start-up goes. Off unless the environment
// variable KARV_TIMING names a file when the first mark is made; then every mark appends one
// line to it: the milliseconds since the process was created, and the mark's text. Off, a
// mark costs one test of a flag. Any thread; each line is written whole.
#pragma once
#include <string>

namespace timing {

// True when marks are written (the variable was set at the first call).
bool Enabled();

// One line: "<ms since process creation> <what>".
void Mark(const std::string& what);

// Marks the end of a piece of work with its length: "<ms> <what> (<length> ms)".
class Span {
 public:
  explicit Span(std::string what);
  ~Span();
  Span(const Span&) = delete;
  Span& operator=(const Span&) = delete;

 private:
  std::string what_;
  double start_ = 0;
};

}  // namespace timing
