#include "station/data/project_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "station/data/errors.h"
#include "station/data/gbk_text.h"

namespace zek {
namespace {

constexpr size_t kBufferSize = 64 * 1024;

uint8_t RandomByte(RandomGenerator& random) { return static_cast<uint8_t>(random.Below(255)); }

}  // namespace

ProjectFileWriter::ProjectFileWriter(const std::string& path)
    : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)), path_(path), buffer_(kBufferSize) {
  if (fd_ < 0) throw FileError(errno, path);
}

ProjectFileWriter::~ProjectFileWriter() {
  if (fd_ >= 0) ::close(fd_);
}

void ProjectFileWriter::Flush() {
  const uint8_t* p = buffer_.data();
  size_t left = used_;
  while (left > 0) {
    ssize_t n = ::write(fd_, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(errno, path_);
    p += n;
    left -= static_cast<size_t>(n);
  }
  used_ = 0;
}

void ProjectFileWriter::Byte(uint8_t b) {
  if (used_ == buffer_.size()) Flush();
  buffer_[used_++] = b;
  sum_ += b;
}

void ProjectFileWriter::Bytes(std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    if (used_ == buffer_.size()) Flush();
    size_t n = std::min(bytes.size(), buffer_.size() - used_);
    for (size_t i = 0; i < n; ++i) sum_ += bytes[i];
    std::copy_n(bytes.begin(), n, buffer_.begin() + used_);
    used_ += n;
    bytes = bytes.subspan(n);
  }
}

void ProjectFileWriter::U16(uint16_t v) {
  Byte(static_cast<uint8_t>(v));
  Byte(static_cast<uint8_t>(v >> 8));
}

void ProjectFileWriter::U32(uint32_t v) {
  U16(static_cast<uint16_t>(v));
  U16(static_cast<uint16_t>(v >> 16));
}

void ProjectFileWriter::Zeros(size_t count) {
  for (size_t i = 0; i < count; ++i) Byte(0);
}

void ProjectFileWriter::Text(std::string_view utf8, size_t width, uint8_t key) {
  const std::string gbk = FitGbk(utf8, width);
  for (char c : gbk) Byte(static_cast<uint8_t>(c) ^ key);
  Zeros(width - gbk.size());
}

void ProjectFileWriter::Close() {
  Flush();
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw FileError(errno, path_);
}

ProjectFileReader::ProjectFileReader(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), path_(path), buffer_(kBufferSize) {
  if (fd_ < 0) throw FileError(errno, path);
  struct stat info {};
  // A folder opens on Linux; it is no file to read.
  if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd_);
    throw FileError(EISDIR, path);
  }
}

ProjectFileReader::~ProjectFileReader() { ::close(fd_); }

bool ProjectFileReader::Fill() {
  if (short_) return false;
  for (;;) {
    ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(errno, path_);
    pos_ = 0;
    end_ = static_cast<size_t>(n);
    short_ = n == 0;
    return n > 0;
  }
}

uint8_t ProjectFileReader::Byte() {
  if (pos_ == end_ && !Fill()) return 0;
  uint8_t b = buffer_[pos_++];
  sum_ += b;
  return b;
}

size_t ProjectFileReader::Bytes(std::span<uint8_t> out) {
  size_t got = 0;
  while (got < out.size()) {
    if (pos_ == end_ && !Fill()) break;
    size_t n = std::min(out.size() - got, end_ - pos_);
    for (size_t i = 0; i < n; ++i) sum_ += buffer_[pos_ + i];
    std::copy_n(buffer_.begin() + pos_, n, out.begin() + got);
    pos_ += n;
    got += n;
  }
  std::fill(out.begin() + got, out.end(), 0);
  return got;
}

uint16_t ProjectFileReader::U16() {
  uint16_t low = Byte();
  return static_cast<uint16_t>(low | (Byte() << 8));
}

uint32_t ProjectFileReader::U32() {
  uint32_t low = U16();
  return low | (static_cast<uint32_t>(U16()) << 16);
}

void ProjectFileReader::Skip(size_t count) {
  for (size_t i = 0; i < count; ++i) Byte();
}

std::string ProjectFileReader::Text(size_t width, uint8_t key) { return FromGbk(TextBytes(width, key)); }

std::string ProjectFileReader::TextBytes(size_t width, uint8_t key) {
  std::string gbk;
  bool ended = false;
  for (size_t i = 0; i < width; ++i) {
    uint8_t b = Byte();
    ended = ended || b == 0;
    if (!ended) gbk.push_back(static_cast<char>(b ^ key));
  }
  return gbk;
}

bool ProjectFileReader::Tag(std::string_view tag, uint8_t key) {
  bool match = true;
  for (char c : tag) {
    uint8_t b = Byte();
    if (b != 0) b ^= key;
    match = match && b == static_cast<uint8_t>(c);
  }
  return match;
}

void WriteConfigArea(ProjectFileWriter& out, RandomGenerator& random, const ProjectTable& t,
                     std::span<const uint8_t, kProjectConfigAreaSize> area) {
  const uint8_t c = RandomByte(random);
  out.Byte(c);
  for (size_t i = 0; i < area.size(); ++i) out.Byte(area[i] ^ t[i] ^ c);
}

void ReadConfigArea(ProjectFileReader& in, const ProjectTable& t, std::span<uint8_t, kProjectConfigAreaSize> area) {
  const uint8_t c = in.Byte();
  in.Bytes(area);
  for (size_t i = 0; i < area.size(); ++i) area[i] ^= t[i] ^ c;
}

void WriteSection(ProjectFileWriter& out, RandomGenerator& random, const ProjectTable& t,
                  std::span<const uint8_t> data, size_t size) {
  std::array<uint8_t, kProjectSectionBlock> block;
  uint8_t k = RandomByte(random);
  out.Byte(k);
  for (size_t at = 0; at < size; at += kProjectSectionBlock) {
    const size_t n = std::min(kProjectSectionBlock, size - at);
    for (size_t j = 0; j < n; ++j) {
      const uint8_t b = at + j < data.size() ? data[at + j] : 0xFF;
      block[j] = b ^ t[j] ^ k;
    }
    out.Bytes(std::span<const uint8_t>(block.data(), n));
    if (n == kProjectSectionBlock) {
      k = RandomByte(random);
      out.Byte(k);
    }
  }
}

void ReadSection(ProjectFileReader& in, const ProjectTable& t, std::span<uint8_t> out) {
  std::array<uint8_t, kProjectSectionBlock> block;
  uint8_t k = in.Byte();
  for (size_t at = 0; at < out.size() && !in.Short(); at += kProjectSectionBlock) {
    const size_t n = std::min(kProjectSectionBlock, out.size() - at);
    const size_t got = in.Bytes(std::span<uint8_t>(block.data(), n));
    for (size_t j = 0; j < got; ++j) out[at + j] = block[j] ^ t[j] ^ k;
    if (n == kProjectSectionBlock) k = in.Byte();
  }
}

}  // namespace zek
