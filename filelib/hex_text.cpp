#include "filelib/hex_text.h"

namespace rhb {

void AppendHex(std::string& out, uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char text[8];
  int n = 0;
  do {
    text[n++] = kDigits[value & 15];
    value >>= 4;
  } while (value != 0);
  for (int i = n; i < digits; ++i) out.push_back('0');
  while (n > 0) out.push_back(text[--n]);
}

}  // namespace rhb
