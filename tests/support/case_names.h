#pragma once
// Names for the rows of parameterised tables, so that a failing row names
// itself and keeps its name from build to build.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zek::testing {

// `text` as a test name: letters and digits kept, every other run of
// characters one '_', none at either end.
inline std::string CaseName(std::string_view text) {
  std::string name;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += c;
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name.empty() ? "empty" : name;
}

// A number as "0x" and upper-case hexadecimal digits.
inline std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

// For a table of plain values (numbers, texts): the value as printed.
struct PrintedName {
  template <typename P>
  std::string operator()(const ::testing::TestParamInfo<P>& info) const {
    return CaseName(::testing::PrintToString(info.param));
  }
};

}  // namespace zek::testing
