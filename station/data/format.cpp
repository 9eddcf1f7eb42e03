#include "station/data/format.h"

#include <cctype>
#include <vector>

namespace zek {
namespace {

struct Spec {
  bool left = false;
  int width = 0;
  int precision = -1;
  char type = 0;
};

// Reads "[-][width][.precision]type" after a '%'; returns the index past it.
size_t ParseSpec(std::string_view p, size_t i, Spec& spec) {
  if (i < p.size() && p[i] == '-') {
    spec.left = true;
    ++i;
  }
  while (i < p.size() && std::isdigit(static_cast<unsigned char>(p[i]))) spec.width = spec.width * 10 + (p[i++] - '0');
  if (i < p.size() && p[i] == '.') {
    spec.precision = 0;
    ++i;
    while (i < p.size() && std::isdigit(static_cast<unsigned char>(p[i])))
      spec.precision = spec.precision * 10 + (p[i++] - '0');
  }
  if (i < p.size()) spec.type = static_cast<char>(std::tolower(static_cast<unsigned char>(p[i++])));
  return i;
}

std::string Digits(const FormatArg& arg, char type) {
  int64_t v = arg.Number();
  char text[32];
  switch (type) {
    case 'd':
      snprintf(text, sizeof text, "%lld", static_cast<long long>(v));
      break;
    case 'u':
      snprintf(text, sizeof text, "%u", static_cast<unsigned>(static_cast<uint32_t>(v)));
      break;
    default:
      snprintf(text, sizeof text, "%X", static_cast<unsigned>(static_cast<uint32_t>(v)));
      break;
  }
  return text;
}

std::string Convert(const Spec& spec, const FormatArg& arg) {
  std::string body;
  if (spec.type == 's') {
    body = std::string(arg.Text());
    if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < body.size()) body.resize(spec.precision);
  } else {
    body = Digits(arg, spec.type);
    bool negative = !body.empty() && body[0] == '-';
    std::string digits = negative ? body.substr(1) : body;
    if (spec.precision > 0 && digits.size() < static_cast<size_t>(spec.precision))
      digits.insert(0, spec.precision - digits.size(), '0');
    body = negative ? "-" + digits : digits;
  }
  if (body.size() < static_cast<size_t>(spec.width)) {
    std::string pad(spec.width - body.size(), ' ');
    body = spec.left ? body + pad : pad + body;
  }
  return body;
}

}  // namespace

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  std::vector<FormatArg> list(args);
  size_t next = 0;
  std::string out;
  out.reserve(pattern.size() + 16);
  for (size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    Spec spec;
    i = ParseSpec(pattern, i + 1, spec);
    bool known = spec.type == 'd' || spec.type == 'u' || spec.type == 'x' || spec.type == 's';
    if (known && next < list.size()) out += Convert(spec, list[next++]);
  }
  return out;
}

}  // namespace zek
