// A small Format for the system's texts. Placeholders:
//   %s  the next argument as text
//   %S  the same as %s (the product's texts write it upper-case, as in "%S operation stopped")
//   %d  the next argument as a signed decimal number, no leading zeros ("%d %d %d %d %s ")
//   %D  the same as %d (the up-time text "%D %D:%D:%D(%D) %D")
//   %%  one "%"
// Placeholder letters are read without regard to case, as the product's formatter does; the
// upper-case forms exist only because stored texts use them. A number where text is wanted, text
// where a number is wanted, a missing argument or an unknown placeholder raises EConvertError.
// Arguments left over are ignored. Argument texts are inserted as they are, never re-read.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <variant>

class TFormatArg {
 public:
  TFormatArg(const std::string& text) : value_(text) {}
  TFormatArg(const char* text) : value_(std::string(text ? text : "")) {}
  template <typename T,
            typename = std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>>
  TFormatArg(T number) : value_(static_cast<int64_t>(number)) {}

  const std::variant<std::string, int64_t>& Value() const { return value_; }

 private:
  std::variant<std::string, int64_t> value_;
};

std::string Format(const std::string& format, std::initializer_list<TFormatArg> args);
