#include "station/data/gbk_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace zek {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Length of the UTF-8 sequence that starts with lead byte b (1 for a stray
// byte, so a malformed sequence is replaced byte by byte).
size_t SequenceLength(unsigned char b) {
  if (b >= 0xF0 && b <= 0xF4) return 4;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  return 1;
}

// The bytes a bad UTF-8 sequence starting at `in` takes up: a sequence cut
// off at the end goes whole; a malformed one (EILSEQ) with a bad
// continuation byte is replaced byte by byte.
size_t Utf8BadLength(const char* in, size_t left, int error) {
  size_t skip = std::min(left, SequenceLength(static_cast<unsigned char>(*in)));
  if (error != EILSEQ) return skip;
  for (size_t i = 1; i < skip; ++i) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    if (c < 0x80 || c > 0xBF) return 1;
  }
  return skip;
}

size_t OneByte(const char*, size_t, int) { return 1; }

// Converts with iconv; what the target code page cannot take, or what is
// malformed or cut off, becomes one '?' per bad sequence, as `bad_length`
// measures it. Without a converter, plain ASCII is kept and the rest marked.
std::string Recode(const char* to, const char* from, std::string_view text,
                   size_t (*bad_length)(const char*, size_t, int)) {
  std::string out;
  Converter conv(to, from);
  if (!conv.valid()) {
    for (unsigned char c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
  }
  char* in = const_cast<char*>(text.data());
  size_t in_left = text.size();
  char buffer[256];
  while (in_left > 0) {
    char* o = buffer;
    size_t o_left = sizeof buffer;
    size_t r = iconv(conv.get(), &in, &in_left, &o, &o_left);
    out.append(buffer, static_cast<size_t>(o - buffer));
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    const size_t skip = bad_length(in, in_left, errno);
    out.push_back('?');
    in += skip;
    in_left -= skip;
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

std::string ToGbk(std::string_view utf8) { return Recode("CP936", "UTF-8", utf8, Utf8BadLength); }

std::string FitGbk(std::string_view utf8, size_t width) {
  const std::string gbk = ToGbk(utf8);
  size_t w = 0;
  while (w < gbk.size()) {
    // A GBK lead byte 0x81-0xFE starts a two-byte character.
    unsigned char c = static_cast<unsigned char>(gbk[w]);
    size_t n = (c >= 0x81 && c <= 0xFE && w + 1 < gbk.size()) ? 2 : 1;
    if (w + n > width) break;
    w += n;
  }
  return gbk.substr(0, w);
}

std::string FromGbk(std::string_view gbk) { return Recode("UTF-8", "CP936", gbk, OneByte); }

void PutFixedText(std::span<uint8_t> field, std::string_view utf8) {
  std::fill(field.begin(), field.end(), 0);
  const std::string gbk = utf8.empty() ? std::string("?") : FitGbk(utf8, field.size());
  std::copy_n(gbk.begin(), std::min(gbk.size(), field.size()), field.begin());
}

void PutFixedText(StationState& st, std::string_view utf8, size_t offset, size_t width, int port) {
  auto packet = st.PortPacketBuf[port].span();
  if (offset >= packet.size()) return;
  PutFixedText(packet.subspan(offset, std::min(width, packet.size() - offset)), utf8);
}

}  // namespace zek
