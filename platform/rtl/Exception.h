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
