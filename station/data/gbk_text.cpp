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

}  // namespace

std::string ToGbk(std::string_view utf8) {
  std::string out;
  Converter conv("CP936", "UTF-8");
  if (!conv.valid()) {
    // No converter: keep plain ASCII, mark the rest.
    for (unsigned char c : utf8) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
  }
  char* in = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
  char buffer[256];
  while (in_left > 0) {
    char* o = buffer;
    size_t o_left = sizeof buffer;
    size_t r = iconv(conv.get(), &in, &in_left, &o, &o_left);
    out.append(buffer, static_cast<size_t>(o - buffer));
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ (not in the code page, or malformed) or EINVAL (cut at the end).
    size_t skip = std::min(in_left, SequenceLength(static_cast<unsigned char>(*in)));
    if (errno == EILSEQ && skip > 1) {
      // A malformed multi-byte sequence is replaced byte by byte.
      for (size_t i = 1; i < skip; ++i) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        if (c < 0x80 || c > 0xBF) {
          skip = 1;
          break;
        }
      }
    }
    out.push_back('?');
    in += skip;
    in_left -= skip;
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

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

std::string FromGbk(std::string_view gbk) {
  std::string out;
  Converter conv("UTF-8", "CP936");
  if (!conv.valid()) {
    for (unsigned char c : gbk) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
  }
  char* in = const_cast<char*>(gbk.data());
  size_t in_left = gbk.size();
  char buffer[256];
  while (in_left > 0) {
    char* o = buffer;
    size_t o_left = sizeof buffer;
    size_t r = iconv(conv.get(), &in, &in_left, &o, &o_left);
    out.append(buffer, static_cast<size_t>(o - buffer));
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ (undefined) or EINVAL (a lead byte cut off at the end).
    out.push_back('?');
    ++in;
    --in_left;
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

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
