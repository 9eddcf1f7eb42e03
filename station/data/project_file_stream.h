#pragma once
// The byte streams of a project file: every byte passes the running 32-bit
// sum as stored, names are GBK under an XOR key, and the configuration area
// and the images are scrambled with a random table and key bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "station/data/random.h"

namespace zek {

inline constexpr size_t kProjectTableSize = 2049;  // T[0 .. 2048] as stored
inline constexpr size_t kProjectSectionBlock = 1024;
inline constexpr size_t kProjectConfigAreaSize = 2048;

using ProjectTable = std::array<uint8_t, kProjectTableSize>;

// Buffered writer. Raises FileError when the file cannot be created or a
// write or the close fails.
class ProjectFileWriter {
 public:
  explicit ProjectFileWriter(const std::string& path);
  ~ProjectFileWriter();  // closes without raising when Close was not reached
  ProjectFileWriter(const ProjectFileWriter&) = delete;
  ProjectFileWriter& operator=(const ProjectFileWriter&) = delete;

  void Byte(uint8_t b);
  void Bytes(std::span<const uint8_t> bytes);
  void U16(uint16_t v);
  void U32(uint32_t v);
  void Zeros(size_t count);
  // `width` bytes: the GBK text (whole characters) XOR key, then plain zeros.
  void Text(std::string_view utf8, size_t width, uint8_t key);
  uint32_t Sum() const { return sum_; }
  void Close();

 private:
  void Flush();

  int fd_;
  std::string path_;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
  uint32_t sum_ = 0;
};

// Buffered reader with a fixed-size buffer. A read past the end yields 0
// bytes and marks the stream short. Raises FileError when the file cannot
// be opened, is a folder, or a read fails.
class ProjectFileReader {
 public:
  explicit ProjectFileReader(const std::string& path);
  ~ProjectFileReader();
  ProjectFileReader(const ProjectFileReader&) = delete;
  ProjectFileReader& operator=(const ProjectFileReader&) = delete;

  uint8_t Byte();
  // Fills `out`, zeros past the end; returns the count the file held.
  size_t Bytes(std::span<uint8_t> out);
  uint16_t U16();
  uint32_t U32();
  void Skip(size_t count);
  // A text field: non-zero bytes XOR key, up to the first zero, as UTF-8.
  std::string Text(size_t width, uint8_t key);
  // The same as the GBK bytes stored.
  std::string TextBytes(size_t width, uint8_t key);
  // Whether the next tag.size() bytes, non-zero ones XOR key, are the tag.
  bool Tag(std::string_view tag, uint8_t key);
  bool Short() const { return short_; }
  uint32_t Sum() const { return sum_; }

 private:
  bool Fill();

  int fd_;
  std::string path_;
  std::vector<uint8_t> buffer_;
  size_t pos_ = 0, end_ = 0;
  bool short_ = false;
  uint32_t sum_ = 0;
};

// Key c, then area[i] XOR T[i] XOR c.
void WriteConfigArea(ProjectFileWriter& out, RandomGenerator& random, const ProjectTable& t,
                     std::span<const uint8_t, kProjectConfigAreaSize> area);
void ReadConfigArea(ProjectFileReader& in, const ProjectTable& t, std::span<uint8_t, kProjectConfigAreaSize> area);

// Key k, then byte j as data XOR T[j mod 1024] XOR k, a fresh key after
// every 1024th byte. `size` bytes go out; those past `data` go out as 0xFF.
void WriteSection(ProjectFileWriter& out, RandomGenerator& random, const ProjectTable& t,
                  std::span<const uint8_t> data, size_t size);
// Reads a section of out.size() bytes into out. Stores only what the file
// holds: at its end the read stops, and the stream is short.
void ReadSection(ProjectFileReader& in, const ProjectTable& t, std::span<uint8_t> out);

}  // namespace zek
