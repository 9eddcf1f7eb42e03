#include "filelib/text_loaders.h"

#include "filelib/hex_digits.h"
#include "filelib/result_codes.h"

namespace rhb {

namespace {

TextAddress AddressOf(std::string_view digits) {
  TextAddress address = 0;
  for (char c : digits) address = AddDigit(address, c);
  return address;
}

}  // namespace

bool Ti430LoadLine(std::string_view line, uint8_t* buf, Ti430State& st) {
  size_t i = 0;
  while (i + 1 < line.size() && line[i] == ' ') ++i;
  if (line[i] == 'q') return false;
  if (line[i] == '@') {
    st.current = AddressOf(line.substr(i + 1));
    if (st.current < st.lowest) st.lowest = static_cast<uint32_t>(st.current);
    return true;
  }
  for (; i < line.size(); ++i) {
    if (line[i] == ' ') continue;
    // A lone last digit has no partner on the line and stores nothing.
    if (i + 1 >= line.size()) break;
    PutTextByte(buf, st.current++, HexDigitsToByte(line[i], line[i + 1]));
    ++i;
  }
  return true;
}

FrameResult LoadTi430Text(ByteSource& source, uint8_t* buf, uint32_t* start, uint32_t* end) {
  LineReader reader(source);
  Ti430State st;
  std::string_view line;
  while (reader.Next(line)) {
    if (line.empty()) continue;
    if (!Ti430LoadLine(line, buf, st)) break;
  }
  FrameResult r;
  if (reader.Failed()) {
    r.io_failed = true;
    r.io_errno = reader.Errno();
    return r;
  }
  if (start != nullptr) *start = st.lowest;
  if (end != nullptr) *end = kTextLoaderEnd;
  return r;
}

}  // namespace rhb
