// Exceptions and the small text rules every unit shares.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Root of every exception the system raises itself: a message, like the framework's Exception.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  const std::string& Message() const { return message_; }
  virtual std::string ClassName() const { return "Exception"; }

 private:
  std::string message_ = what();
};

// A text that is not a valid number, date or time.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EConvertError"; }
};

// A value of the wrong kind where a variant was expected.
class EVariantError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EVariantError"; }
};

// Base of database failures.
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EDatabaseError"; }
};

// The class name of any exception: ours report their own, others a readable name.
std::string ExceptionClassName(const std::exception& e);

// Upper-cases ASCII a-z only; every other byte (Hebrew included) passes unchanged.
// Upper-cases one byte: ASCII a-z only.
constexpr char UpCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string UpperCase(std::string text);
// Equal but for the letter case of ASCII a-z.
bool SameText(std::string_view a, std::string_view b);
// Removes leading and trailing blanks and control characters (bytes up to 32).
std::string Trim(const std::string& text);

// Numbers in text. StrToInt reads an optional sign and decimal digits (blanks around allowed);
// StrToFloat reads a decimal number written with the process decimal separator (and an
// optional exponent). Invalid text raises EConvertError.
int64_t StrToInt(const std::string& text);
double StrToFloat(const std::string& text);
bool TryStrToInt(const std::string& text, int64_t& value);
bool TryStrToFloat(const std::string& text, double& value);
