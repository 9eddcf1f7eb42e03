#include "filelib/hex_digits.h"

// The conversions are inline for the parsers' inner loops; the table is
// built at compile time.
namespace rhb {
static_assert(detail::kNibble['0'] == 0 && detail::kNibble['9'] == 9);
static_assert(detail::kNibble['A'] == 10 && detail::kNibble['f'] == 15);
static_assert(detail::kNibble['G'] == 16 && detail::kNibble[' '] == 0xF0);
}  // namespace rhb
