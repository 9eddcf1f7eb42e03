#pragma once
// Format with the runtime's printf-like rules, so format strings can be
// quoted as the system writes them:
//   %d %u %x %s %S and %%, with optional '-', width and precision.
//   For d, u and x the precision is the minimum digit count, zero-filled
//   ("%0.2x" of 10 is "0A"); x prints upper-case digits and treats the
//   value as unsigned 32-bit; %u likewise. For s the precision caps the
//   length. A conversion without a matching argument prints nothing.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace zek {

class FormatArg {
 public:
  template <typename T>
    requires std::is_integral_v<T>
  FormatArg(T v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(const char* s) : value_(std::string_view(s)) {}
  FormatArg(std::string_view s) : value_(s) {}
  FormatArg(const std::string& s) : value_(std::string_view(s)) {}

  bool IsText() const { return std::holds_alternative<std::string_view>(value_); }
  int64_t Number() const { return IsText() ? 0 : std::get<int64_t>(value_); }
  std::string_view Text() const { return IsText() ? std::get<std::string_view>(value_) : std::string_view{}; }

 private:
  std::variant<int64_t, std::string_view> value_;
};

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);

}  // namespace zek
