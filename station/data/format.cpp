#include "station/data/format.h"

#include <cctype>
#include <vector>

namespace zek {
namespace {

struct Conversion {
  bool left = false;
  int width = 0;
  int precision = -1;
  char type = 0;
};

// Reads "[-][width][.precision]type" after a '%'; returns the index past it.
size_t ParseConversion(std::string_view p, size_t i, Conversion& conv) {
  if (i < p.size() && p[i] == '-') {
    conv.left = true;
    ++i;
  }
  while (i < p.size() && std::isdigit(static_cast<unsigned char>(p[i]))) conv.width = conv.width * 10 + (p[i++] - '0');
  if (i < p.size() && p[i] == '.') {
    conv.precision = 0;
    ++i;
    while (i < p.size() && std::isdigit(static_cast<unsigned char>(p[i])))
      conv.precision = conv.precision * 10 + (p[i++] - '0');
  }
  if (i < p.size()) conv.type = static_cast<char>(std::tolower(static_cast<unsigned char>(p[i++])));
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

std::string Convert(const Conversion& conv, const FormatArg& arg) {
  std::string body;
  if (conv.type == 's') {
    body = std::string(arg.Text());
    if (conv.precision >= 0 && static_cast<size_t>(conv.precision) < body.size()) body.resize(conv.precision);
  } else {
    body = Digits(arg, conv.type);
    bool negative = !body.empty() && body[0] == '-';
    std::string digits = negative ? body.substr(1) : body;
    if (conv.precision > 0 && digits.size() < static_cast<size_t>(conv.precision))
      digits.insert(0, conv.precision - digits.size(), '0');
    body = negative ? "-" + digits : digits;
  }
  if (body.size() < static_cast<size_t>(conv.width)) {
    std::string pad(conv.width - body.size(), ' ');
    body = conv.left ? body + pad : pad + body;
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
    Conversion conv;
    i = ParseConversion(pattern, i + 1, conv);
    bool known = conv.type == 'd' || conv.type == 'u' || conv.type == 'x' || conv.type == 's';
    if (known && next < list.size()) out += Convert(conv, list[next++]);
  }
  return out;
}

}  // namespace zek
