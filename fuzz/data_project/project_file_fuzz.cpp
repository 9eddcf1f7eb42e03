// Project files of any content, read from a file in memory: the reader
// never stores past an image, a failed read leaves the chip descriptor,
// the images, the configuration block and FileLoaded as they were, and a
// good one (and UnpackChipConfig after it) only ever takes sizes the
// images hold.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "station/data/image_sums.h"
#include "station/data/project_file.h"

namespace {

struct Input {
  const uint8_t* data;
  size_t size;
  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  uint32_t U32() { return U16() | (static_cast<uint32_t>(U16()) << 16); }
};

class MemoryFile {
 public:
  MemoryFile() : fd_(::memfd_create("project", MFD_CLOEXEC)), path_("/proc/self/fd/" + std::to_string(fd_)) {}
  const std::string& path() const { return path_; }
  void Put(const std::vector<uint8_t>& bytes) {
    if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
      __builtin_trap();
  }
  std::vector<uint8_t> Get() const {
    std::vector<uint8_t> bytes(static_cast<size_t>(::lseek(fd_, 0, SEEK_END)));
    if (::pread(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) __builtin_trap();
    return bytes;
  }

 private:
  int fd_;
  std::string path_;
};

void Put32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4 && at + i < f.size(); ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Random bytes seldom pass the magic, tags and sum. With bit 0 of the first
// byte set the input is a recipe instead: the station writes a small
// project, then the recipe patches bytes (bit 1: the header's sizes, bit 2:
// the EEP section's size), fixes the sum up (bit 3) and cuts the file
// (bit 4).
std::vector<uint8_t> FromRecipe(Input in, const MemoryFile& file) {
  static zek::StationState writer;
  const uint8_t mode = in.Byte();
  writer.FlashSizeKB = in.Byte() % 9;
  writer.ChipFlashSizeKB = writer.FlashSizeKB;
  writer.EepSize = in.U16() % 2049;
  writer.ChipName = std::string(in.Byte() % 24, 'C');
  for (size_t i = 0; i < 2048 + 8; ++i) writer.PortPacketBuf[0][i] = static_cast<uint8_t>(i * 13);
  // The images' sums, in the header and the configuration area, so an
  // unpatched recipe reads back.
  const zek::ImageSums main = zek::SumsOfFirst(writer.MainBuffer.span(), writer.FlashSizeKB * 1024u);
  writer.MainCrc16 = main.Crc16;
  writer.MainAcc16 = main.Acc16;
  zek::RefreshEepSums(writer);
  uint8_t* sums = writer.PortPacketBuf[0].data() + 8 + 36;
  for (uint16_t v : {writer.MainCrc16, writer.MainAcc16, writer.EepCrc16, writer.EepAcc16}) {
    *sums++ = static_cast<uint8_t>(v);
    *sums++ = static_cast<uint8_t>(v >> 8);
  }
  zek::SaveProjectFile(writer, file.path(), in.Byte());
  std::vector<uint8_t> f = file.Get();
  const size_t sum_at = f.size() - 260;
  const size_t eep_tag_at = 4462 + 1 + writer.FlashSizeKB * 1025u;
  if (mode & 2) {
    Put32(f, 258, in.U32());
    f[262] = in.Byte();
    f[263] = in.Byte();
    f[170] = in.Byte();
    f[171] = in.Byte();
  }
  if (mode & 4) {
    f[eep_tag_at + 3] = in.Byte();
    f[eep_tag_at + 4] = in.Byte();
  }
  for (int patches = in.Byte() % 8; patches > 0; --patches) f[in.U16() % f.size()] = in.Byte();
  if (mode & 8) {
    uint32_t sum = 0;
    for (size_t i = 0; i < sum_at; ++i) sum += f[i];
    Put32(f, sum_at, sum);
  }
  if (mode & 16) f.resize(in.U16() % f.size());
  return f;
}

auto Descriptor(const zek::StationState& st) {
  return std::make_tuple(st.FamilyCode, st.ChipName, st.FlashSizeKB, st.ChipFlashSizeKB, st.EepSize, st.InfoSize,
                         st.ChipStartAddress, st.ChipEndAddress, st.EepStartAddress, st.EepEndAddress);
}

// The part of the main image a recipe's project reaches.
constexpr size_t kWatched = 9 * 1024;

bool FitsImages(const zek::StationState& st) {
  return st.FlashSizeKB * 1024u <= zek::kMainBufferSize && st.ChipFlashSizeKB * 1024u <= zek::kMainBufferSize &&
         st.EepSize <= zek::kEepBufferSize;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zek::StationState st;
  static MemoryFile file;
  st.FamilyCode = 0x45;
  st.ChipName = "OLD";
  st.FlashSizeKB = st.ChipFlashSizeKB = 7;
  st.EepSize = 3;
  st.ChipStartAddress = 0x70;
  st.ChipEndAddress = 0x70 + 7 * 1024 - 1;
  const auto before = Descriptor(st);
  const uint8_t loaded = st.FileLoaded;
  const std::vector<uint8_t> config(st.ChipConfigBlock.begin(), st.ChipConfigBlock.end());
  const std::vector<uint8_t> main_head(st.MainBuffer.begin(), st.MainBuffer.begin() + kWatched);

  if (size > 0 && (data[0] & 1)) {
    file.Put(FromRecipe(Input{data, size}, file));
  } else {
    file.Put(std::vector<uint8_t>(data, data + size));
  }
  const uint8_t result = zek::ReadProjectFile(st, file.path());
  const uint8_t codes[] = {0, 5, 10, 13, 15, 16};
  if (std::find(std::begin(codes), std::end(codes), result) == std::end(codes)) __builtin_trap();
  if (result != zek::kProjectOk &&
      (Descriptor(st) != before || st.FileLoaded != loaded ||
       !std::equal(config.begin(), config.end(), st.ChipConfigBlock.begin()) ||
       !std::equal(main_head.begin(), main_head.end(), st.MainBuffer.begin())))
    __builtin_trap();
  if (!FitsImages(st)) __builtin_trap();
  if (result == zek::kProjectOk) {
    zek::UnpackChipConfig(st);
    if (!FitsImages(st)) __builtin_trap();
  }
  return 0;
}
