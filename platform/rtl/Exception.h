// Exceptions carry a message in code page 936; handlers log it with their own name appended.
#pragma once
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

class EConvertError : public Exception { using Exception::Exception; };
class EFileError : public Exception { using Exception::Exception; };

// Window procedures and the other callbacks of the system are boundaries that nothing may
// unwind through. Inside their catch (...) they call this: it hands one line (the exception's
// message followed by `where`) to the installed reporter, by default the debugger's output.
// Never throws.
void ReportCallbackException(const std::string& where) noexcept;
// The program's error log takes these lines once it is set up; nullptr restores the default.
using TExceptionReporter = void (*)(const std::string& line);
void SetExceptionReporter(TExceptionReporter reporter);
