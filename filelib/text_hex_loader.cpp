#include "filelib/text_loaders.h"

#include "filelib/hex_digits.h"
#include "filelib/result_codes.h"

namespace rhb {

namespace {

struct Token {
  uint16_t value = 0;
  uint32_t digits = 0;
};

class TextHexLine {
 public:
  TextHexLine(uint8_t* buf, TextAddress address) : buf_(buf), address_(address) {}

  // A blank ends a token: up to 2 digits a byte, 3 or 4 a 16-bit value.
  void EndByBlank(const Token& t) {
    if (t.digits <= 2) {
      Byte(t.value);
    } else if (t.digits <= 4) {
      Word(t.value);
    }
  }

  // The line's end ends a token only when it is complete.
  void EndByLineEnd(const Token& t) {
    if (t.digits == 2) Byte(t.value);
    if (t.digits == 4) Word(t.value);
  }

 private:
  void Byte(uint16_t v) { Put(static_cast<uint8_t>(v)); }
  void Word(uint16_t v) {
    Put(static_cast<uint8_t>(v));
    Put(static_cast<uint8_t>(v >> 8));
  }
  void Put(uint8_t b) { PutTextByte(buf_, address_++, b); }

  uint8_t* buf_;
  TextAddress address_;
};

}  // namespace

// Tokens are stored as they end.
TextAddress TextHexLoadLine(std::string_view line, uint8_t* buf) {
  size_t at = line.find('@');
  if (at == std::string_view::npos) return 0;
  size_t i = at + 1;
  TextAddress address = 0;
  for (; i < line.size() && line[i] != ' '; ++i) address = AddDigit(address, line[i]);
  TextHexLine out(buf, address);
  Token t;
  for (++i; i < line.size(); ++i) {
    if (line[i] == ' ') {
      out.EndByBlank(t);
      t = Token{};
    } else {
      t.value = static_cast<uint16_t>(t.value * 16 + HexCharToNibble(line[i]));
      ++t.digits;
    }
  }
  out.EndByLineEnd(t);
  return address;
}

FrameResult LoadTextHex(ByteSource& source, uint8_t* buf, uint32_t* start, uint32_t* end) {
  LineReader reader(source);
  uint32_t lowest = 0xFFFFFFFF;
  std::string_view line;
  while (reader.Next(line)) {
    TextAddress address = TextHexLoadLine(line, buf);
    if (address < lowest) lowest = static_cast<uint32_t>(address);
  }
  FrameResult r;
  if (reader.Failed()) {
    r.io_failed = true;
    r.io_errno = reader.Errno();
    return r;
  }
  if (start != nullptr) *start = lowest;
  if (end != nullptr) *end = kTextLoaderEnd;
  return r;
}

}  // namespace rhb
