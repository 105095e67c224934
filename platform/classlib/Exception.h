// The base of every error the system raises: a message text and nothing else.
//
// Library routines raise it with a literal English text naming the broken
// condition; the windows show the text in a message box. Derived classes
// (ERegex, ChartException, ...) add what their callers need to tell errors apart.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace classlib {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}

  const std::string& Message() const noexcept { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// Raised when a value cannot be converted: text that is no number, an object
// that cannot take another's value, a date out of range.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace classlib
