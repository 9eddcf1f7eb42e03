#include "station/data/project_file.h"

#include <algorithm>
#include <vector>

#include "station/data/byte_order.h"
#include "station/data/chip_memory_map.h"
#include "station/data/gbk_text.h"
#include "station/data/image_sums.h"
#include "station/data/info_lines.h"
#include "station/data/programmer_models.h"
#include "station/data/project_config_checks.h"
#include "station/data/project_file_stream.h"

namespace zek {
namespace {

constexpr std::string_view kMagic = "Kelpra";
constexpr uint8_t kFormatVersion = 2;
constexpr uint8_t kNameKey = 0x3D;
constexpr uint8_t kCfgKey = 0x52;
constexpr uint8_t kMfmKey = 0x6E;
constexpr uint8_t kEepKey = 0x27;
constexpr size_t kModelNameWidth = 16;
constexpr size_t kChipNameWidth = 20;
constexpr size_t kObjectNameWidth = 48;
constexpr size_t kTableDraws = kProjectTableSize + 1;  // one more drawn than stored
constexpr size_t kTrailerSize = 256;
constexpr uint32_t kMaxFlashKB = kMainBufferSize / 1024;
// Where the configuration area keeps MainCrc16, MainAcc16, EepCrc16 and
// EepAcc16, 16 bits each.
constexpr size_t kConfigSumsAt = 36;

// The header as read; it reaches the state only when the whole file is good.
struct ProjectHeader {
  uint8_t family = 0;
  std::string model_name;
  std::string chip_name, object_file_name;  // GBK as stored
  int32_t main_acc32 = 0, file_acc32 = 0, parsed_byte_sum = 0;
  uint32_t file1_start = 0, file1_end = 0;
  uint16_t sn_gain = 0, chip_flash_kb = 0;
  uint32_t flash_bytes = 0;
  uint16_t eep_size = 0, info_size = 0;
  uint32_t chip_start = 0, eep_start = 0, info_start = 0;
  uint8_t spare = 0;
  uint16_t main_acc16 = 0, main_crc16 = 0, eep_acc16 = 0, eep_crc16 = 0;

  // Sizes the images can hold, so a loaded project never makes a later
  // operation reach past them.
  bool FitsImages() const {
    return flash_bytes <= kMainBufferSize && flash_bytes % 1024 == 0 && chip_flash_kb <= kMaxFlashKB &&
           eep_size <= kEepBufferSize;
  }
};

void WriteHeader(ProjectFileWriter& out, const StationState& st, uint8_t model) {
  for (char c : kMagic) out.Byte(static_cast<uint8_t>(c));
  out.Byte(kFormatVersion);
  out.Byte(model);
  out.Text(GetProgrammerModelName(model), kModelNameWidth, kNameKey);
  out.Text(st.ChipName, kChipNameWidth, kNameKey);
  out.Text(st.ObjectFileName, kObjectNameWidth, kNameKey);
  out.Zeros(32);
  out.U32(static_cast<uint32_t>(st.MainAcc32));
  out.U32(static_cast<uint32_t>(st.FileAcc32));
  out.U32(static_cast<uint32_t>(st.ParsedByteSum));
  out.Zeros(20);
  out.U32(static_cast<uint32_t>(st.Settings.NumberLimit));
  out.U32(st.File1Start);
  out.U32(st.File1End);
  out.U16(st.Settings.SNGain);
  out.U16(st.ChipFlashSizeKB);
  out.Zeros(84);
  out.Byte(1);
  out.Byte(0);
  out.U32(static_cast<uint32_t>(st.FlashSizeKB) * 1024);
  out.U16(st.EepSize);
  out.U16(st.InfoSize);
  out.Zeros(14);
  out.U32(st.ChipStartAddress);
  out.U32(st.EepStartAddress);
  out.U32(st.InfoStartAddress);
  out.Zeros(12);
  out.Byte(st.ProjectSpareByte);
  out.Byte(0);
  for (uint16_t v : {st.MainAcc16, st.MainCrc16, st.EepAcc16, st.EepCrc16}) out.U32(v);
  out.Zeros(32);
}

ProjectHeader ReadHeader(ProjectFileReader& in) {
  ProjectHeader h;
  in.Byte();  // format version
  h.family = in.Byte();
  h.model_name = in.Text(kModelNameWidth, kNameKey);
  h.chip_name = in.TextBytes(kChipNameWidth, kNameKey);
  h.object_file_name = in.TextBytes(kObjectNameWidth, kNameKey);
  in.Skip(32);
  h.main_acc32 = static_cast<int32_t>(in.U32());
  h.file_acc32 = static_cast<int32_t>(in.U32());
  h.parsed_byte_sum = static_cast<int32_t>(in.U32());
  in.Skip(20);
  in.U32();  // NumberLimit: the configuration area carries it
  h.file1_start = in.U32();
  h.file1_end = in.U32();
  h.sn_gain = in.U16();
  h.chip_flash_kb = in.U16();
  in.Skip(84);
  in.U16();
  h.flash_bytes = in.U32();
  h.eep_size = in.U16();
  h.info_size = in.U16();
  in.Skip(14);
  h.chip_start = in.U32();
  h.eep_start = in.U32();
  h.info_start = in.U32();
  in.Skip(12);
  h.spare = in.Byte();
  in.Byte();
  h.main_acc16 = static_cast<uint16_t>(in.U32());
  h.main_crc16 = static_cast<uint16_t>(in.U32());
  h.eep_acc16 = static_cast<uint16_t>(in.U32());
  h.eep_crc16 = static_cast<uint16_t>(in.U32());
  in.Skip(32);
  return h;
}

// A size of 0 gives the empty range (end one below start), as the memory
// map does; an absent region stays absent.
uint32_t EepEnd(uint32_t start, uint16_t size) {
  if (size == 0) return start == kNoAddress ? kNoAddress : start - 1;
  return start + size - 1;
}

void CommitHeader(StationState& st, const ProjectHeader& h) {
  st.FamilyCode = h.family;
  st.ProjectModelName = h.model_name;
  st.ChipName = FromGbk(h.chip_name);
  st.ObjectFileName = FromGbk(h.object_file_name);
  st.MainAcc32 = h.main_acc32;
  st.FileAcc32 = h.file_acc32;
  st.ParsedByteSum = h.parsed_byte_sum;
  st.File1Start = h.file1_start;
  st.File1End = h.file1_end;
  st.Settings.SNGain = h.sn_gain;
  st.ChipFlashSizeKB = h.chip_flash_kb;
  st.FlashSizeKB = static_cast<uint16_t>(h.flash_bytes / 1024);
  st.EepSize = h.eep_size;
  st.InfoSize = h.info_size;
  st.ChipStartAddress = h.chip_start;
  st.ChipEndAddress = h.chip_start + h.flash_bytes - 1;
  st.EepStartAddress = h.eep_start;
  st.EepEndAddress = EepEnd(h.eep_start, h.eep_size);
  st.InfoStartAddress = h.info_start;
  st.InfoEndAddress = h.info_start + h.info_size - 1;
  st.ProjectSpareByte = h.spare;
  st.MainAcc16 = h.main_acc16;
  st.MainCrc16 = h.main_crc16;
  st.EepAcc16 = h.eep_acc16;
  st.EepCrc16 = h.eep_crc16;
}

// What a read gathers. None of it reaches the station until the whole
// file has proved good.
struct ProjectContent {
  ProjectHeader header;
  HeapBytes<kChipConfigBlockSize> config;
  std::vector<uint8_t> main, eep;  // the sections: F and E bytes
  uint32_t main_section_start = 0;  // the chip start again, before the main section
};

// Everything after the magic. A bad tag does not stop the read: the next
// tag is read from the bytes that follow, and the last bad one is the
// result. Sizes beyond the images end the read before any section.
uint8_t ReadBody(ProjectFileReader& in, ProjectContent& p) {
  const ProjectHeader& h = p.header = ReadHeader(in);
  ProjectTable t;
  in.Bytes(t);
  if (!h.FitsImages()) return kProjectCorrupted;

  uint8_t result = kProjectOk;
  bool damaged = false;
  if (in.Tag("CFG", kCfgKey)) {
    ReadConfigArea(in, t, p.config.span());
  } else {
    result = kProjectBadCfgTag;
  }
  const bool mfm = in.Tag("MFM", kMfmKey);
  p.main_section_start = in.U32();
  if (mfm) {
    p.main.assign(h.flash_bytes, 0xFF);
    ReadSection(in, t, p.main);
  } else {
    result = kProjectBadMfmTag;
  }
  if (in.Tag("EEP", kEepKey)) {
    const uint16_t e = in.U16();
    // The section must be the header's EEPROM, or the image and the
    // descriptor would disagree (and it could not fit EepBuffer).
    if (e != h.eep_size) {
      damaged = true;
    } else if (e > 0) {
      p.eep.assign(e, 0xFF);
      ReadSection(in, t, p.eep);
    }
  } else {
    result = kProjectBadEepTag;
  }
  const uint32_t sum = in.Sum();
  const uint32_t stored = in.U32();
  in.Skip(kTrailerSize);  // not used, but a file without it was cut short
  if (result != kProjectOk) return result;
  if (damaged || in.Short() || stored != sum) return kProjectCorrupted;
  return kProjectOk;
}

// Damage the byte sum misses (two bytes swapped, two flips that cancel)
// still changes an image's own sums, which the file carries twice: in the
// header and in the configuration area, whose copy reaches the units.
bool ImagesMatchTheirSums(const ProjectContent& p) {
  const ImageSums main = SumsOfFirst(p.main, p.main.size());
  const ImageSums eep = SumsOfFirst(p.eep, p.eep.size());
  const ProjectHeader& h = p.header;
  const uint8_t* cfg = p.config.data() + kConfigSumsAt;
  return main == ImageSums{h.main_crc16, h.main_acc16} && eep == ImageSums{h.eep_crc16, h.eep_acc16} &&
         main == ImageSums{Get16(cfg), Get16(cfg + 2)} && eep == ImageSums{Get16(cfg + 4), Get16(cfg + 6)};
}

// The chip's flash and EEPROM sizes decide how many blocks a unit is sent:
// sizes other than the sections' would send bytes the file does not hold.
bool SizesMatchTheSections(const ProjectContent& p) {
  const ProjectHeader& h = p.header;
  const uint8_t* cfg = p.config.data();
  return uint32_t{h.chip_flash_kb} * 1024 == h.flash_bytes && uint32_t{Get16(cfg + 12)} * 1024 == h.flash_bytes &&
         Get16(cfg + 14) == h.eep_size;
}

// The configuration area's own checks, and the header's agreement with
// the copies it holds: damage that keeps the file's byte sum, in either,
// would reach the units with checks the station makes anew.
bool ConfigAreaIntact(const ProjectContent& p) {
  const ProjectHeader& h = p.header;
  const ProjectHeaderCopies copies{.chip_name = h.chip_name,
                                   .object_file_name = h.object_file_name,
                                   .sn_gain = h.sn_gain,
                                   .info_size = h.info_size,
                                   .chip_start = h.chip_start,
                                   .main_section_start = p.main_section_start,
                                   .eep_start = h.eep_start,
                                   .info_start = h.info_start};
  return ConfigImageSealed(p.config.span()) && HeaderMatchesConfigImage(copies, p.config.span());
}

// Bytes past the sections are erased, as by a file load: the units are
// sent whole blocks, and the same project must send the same bytes.
template <typename Image>
void CopyErasingTheRest(const std::vector<uint8_t>& section, Image& image) {
  std::fill(std::copy(section.begin(), section.end(), image.begin()), image.end(), 0xFF);
}

void CommitProject(StationState& st, const ProjectContent& p) {
  CommitHeader(st, p.header);
  std::copy(p.config.begin(), p.config.end(), st.ChipConfigBlock.begin());
  CopyErasingTheRest(p.main, st.MainBuffer);
  CopyErasingTheRest(p.eep, st.EepBuffer);
  st.FileLoaded = 1;
}

const char* ResultMessage(uint8_t result) {
  switch (result) {
    case kProjectOk: return "Project File Open Success!";
    case kProjectNotKelpra: return "Not Valid Kelpra Project File!";
    default: return "Project File Data Has Been Corrupted!";
  }
}

}  // namespace

void SaveProjectFile(StationState& st, const std::string& path, uint8_t model) {
  ProjectFileWriter out(path);
  ProjectTable t;
  for (size_t i = 0; i < kTableDraws; ++i) {
    uint8_t b = static_cast<uint8_t>(st.Random.Below(255));
    if (i < t.size()) t[i] = b;
  }
  WriteHeader(out, st, model);
  out.Bytes(t);
  out.Text("CFG", 3, kCfgKey);
  WriteConfigArea(out, st.Random, t,
                  st.PortPacketBuf[0].span().subspan<kProjectConfigOffset, kProjectConfigAreaSize>());
  out.Text("MFM", 3, kMfmKey);
  out.U32(st.ChipStartAddress);
  WriteSection(out, st.Random, t, st.MainBuffer.span(), static_cast<size_t>(st.FlashSizeKB) * 1024);
  out.Text("EEP", 3, kEepKey);
  out.U16(st.EepSize);
  if (st.EepSize > 0) WriteSection(out, st.Random, t, st.EepBuffer.span(), st.EepSize);
  out.U32(out.Sum());
  for (size_t i = 0; i < kTrailerSize; ++i) out.Byte(static_cast<uint8_t>(st.Random.Below(255)));
  out.Close();

  const std::string message = "Created Project File : " + path;
  st.Views.Boxes->Plain(message);
  AddInfoLine(st, message);
}

uint8_t ReadProjectFile(StationState& st, const std::string& path) {
  ProjectFileReader in(path);
  ProjectContent content;
  uint8_t result = in.Tag(kMagic, 0) ? ReadBody(in, content) : kProjectNotKelpra;
  if (result == kProjectOk &&
      !(SizesMatchTheSections(content) && ImagesMatchTheirSums(content) && ConfigAreaIntact(content)))
    result = kProjectCorrupted;
  if (result == kProjectOk) CommitProject(st, content);
  const char* message = ResultMessage(result);
  AddInfoLine(st, message);
  if (!st.CmdLineProject) st.Views.Boxes->Plain(message);
  return result;
}

void UnpackChipConfig(StationState& st) {
  const uint8_t* b = st.ChipConfigBlock.data();
  ProgrammerSettings& s = st.Settings;
  st.FamilyCode = b[5];
  st.ChipClassCode = b[6];
  st.ChipIndex = b[7];
  s.AutoDetectFlags = b[9];
  if (Get16(b + 12) <= kMaxFlashKB) st.FlashSizeKB = Get16(b + 12);
  if (Get16(b + 14) <= kEepBufferSize) st.EepSize = Get16(b + 14);
  st.PageSize = Get16(b + 16);
  st.InfoSize = Get16(b + 18);
  uint8_t* flags[] = {&s.CtrlFlags,  &s.CtrlFlags2, &s.CtrlFlags3, &s.CtrlFlags4,
                      &s.CtrlFlags5, &s.CtrlFlags6, &s.CtrlFlags7, &s.CtrlFlags8};
  for (size_t i = 0; i < std::size(flags); ++i) *flags[i] = b[20 + i];
  st.MainCrc16 = Get16(b + kConfigSumsAt);
  st.MainAcc16 = Get16(b + kConfigSumsAt + 2);
  st.EepCrc16 = Get16(b + kConfigSumsAt + 4);
  st.EepAcc16 = Get16(b + kConfigSumsAt + 6);
  uint8_t* times[] = {&s.ChipInTime, &s.ChipOutTime, &s.PowerOnTime, &s.SettingByte51,
                      &s.SclkSetting, &s.OkNgDelay, &s.SNFlags, &s.SNLength};
  for (size_t i = 0; i < std::size(times); ++i) *times[i] = b[52 + i];
  s.NumberLimit = static_cast<int32_t>(Get32(b + 68));
  s.SNGain = Get16(b + 72);
  s.SNAddress = static_cast<int32_t>(Get32(b + 74));
  s.SNValue = static_cast<int32_t>(Get32(b + 78));
  // The second half is not taken: erased, so it holds no earlier chip's bytes.
  std::fill(std::copy_n(b + 512, 512, st.OptionBuffer.begin()), st.OptionBuffer.end(), 0xFF);
}

uint16_t GetEEPSize(const StationState& st) { return st.EepSize; }

}  // namespace zek
