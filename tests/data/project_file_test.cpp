#include "station/data/project_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "station/data/chip_memory_map.h"
#include "station/data/chip_table.h"
#include "station/data/errors.h"
#include "station/data/image_sums.h"
#include "station/data/programmer_models.h"
#include "station/link/project_file_save.h"
#include "tests/data/project_fixture.h"
#include "tests/support/case_names.h"

namespace zek {
namespace {

using testing::BuildProject;
using testing::Pattern;
using testing::ProjectBytes;
using testing::ProjectFields;

constexpr const char* kSuccess = "Project File Open Success!";
constexpr const char* kNotKelpra = "Not Valid Kelpra Project File!";
constexpr const char* kCorrupted = "Project File Data Has Been Corrupted!";

std::string Line(const std::string& message) { return "> 10:15:02 " + message; }

class ProjectFile : public testing::ProjectFixture {};

// --- A file put together byte by byte reads back into every field --------

struct HandBuiltCase {
  const char* name;
  friend void PrintTo(const HandBuiltCase& c, std::ostream* os) { *os << c.name; }
  std::function<void(ProjectFields&)> edit;
  std::string chip_name, object_name;  // as read back, UTF-8
  uint32_t eep_end;
};

class HandBuiltFile : public testing::ProjectFixture, public ::testing::WithParamInterface<HandBuiltCase> {};

TEST_P(HandBuiltFile, ReadsBackIntoEveryField) {
  const HandBuiltCase& c = GetParam();
  ProjectFields s;
  c.edit(s);
  const int32_t number_limit = st.Settings.NumberLimit;
  const testing::BuiltProject built = BuildProject(s);
  ASSERT_EQ(Read(built.bytes), kProjectOk);

  EXPECT_EQ(st.FamilyCode, 80);
  EXPECT_EQ(st.ProjectModelName, s.model_name);
  EXPECT_EQ(st.ChipName, c.chip_name);
  EXPECT_EQ(st.ObjectFileName, c.object_name);
  EXPECT_EQ(st.MainAcc32, 0x00123456);
  EXPECT_EQ(st.FileAcc32, 0x00654321);
  EXPECT_EQ(st.ParsedByteSum, 0x00ABCDEF);
  EXPECT_EQ(st.Settings.NumberLimit, number_limit);  // the configuration area carries it
  EXPECT_EQ(st.File1Start, 0x100u);
  EXPECT_EQ(st.File1End, 0x3FFu);
  EXPECT_EQ(st.Settings.SNGain, 3);
  EXPECT_EQ(st.ChipFlashSizeKB, s.chip_flash_kb);
  EXPECT_EQ(st.FlashSizeKB, s.flash_bytes / 1024);
  EXPECT_EQ(st.EepSize, s.eep_size);
  EXPECT_EQ(st.InfoSize, 256);
  EXPECT_EQ(st.ChipStartAddress, s.chip_start);
  EXPECT_EQ(st.ChipEndAddress, s.chip_start + s.flash_bytes - 1);
  EXPECT_EQ(st.EepStartAddress, s.eep_start);
  EXPECT_EQ(st.EepEndAddress, c.eep_end);
  EXPECT_EQ(st.InfoStartAddress, 0x40000800u);
  EXPECT_EQ(st.InfoEndAddress, 0x400008FFu);
  EXPECT_EQ(st.ProjectSpareByte, 0x5C);
  EXPECT_EQ((testing::CarriedSums{st.MainAcc16, st.MainCrc16, st.EepAcc16, st.EepCrc16}), testing::SectionSums(s));
  EXPECT_EQ(ProjectBytes(st.ChipConfigBlock.begin(), st.ChipConfigBlock.end()), built.config_area);
  for (size_t i = 0; i < s.flash_bytes; ++i) ASSERT_EQ(st.MainBuffer[i], Pattern(s.main_seed, i)) << i;
  for (size_t i = 0; i < s.eep_size; ++i) ASSERT_EQ(st.EepBuffer[i], Pattern(s.eep_seed, i)) << i;
  EXPECT_TRUE(MainErasedFrom(s.flash_bytes));
  EXPECT_TRUE(EepErasedFrom(s.eep_size));
  EXPECT_EQ(st.FileLoaded, 1);
  EXPECT_EQ(LastLine(), Line(kSuccess));
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].kind, "plain");
  EXPECT_EQ(fs.boxes.shown[0].text, kSuccess);
}

INSTANTIATE_TEST_SUITE_P(
    Projects, HandBuiltFile,
    ::testing::Values(
        HandBuiltCase{"OneKiBAndSixteenEepromBytes", [](ProjectFields&) {}, "BF7106AM28", "app.hex", 0x4000000F},
        HandBuiltCase{"KeysChangeInsideBothSections",
                      [](ProjectFields& s) {
                        s.flash_bytes = 3072;
                        s.chip_flash_kb = 3;
                        s.eep_size = 1500;
                      },
                      "BF7106AM28", "app.hex", 0x40000000 + 1499},
        // A size of 0 gives the empty range, one below its start.
        HandBuiltCase{"NoFlashAndNoEeprom",
                      [](ProjectFields& s) {
                        s.flash_bytes = 0;
                        s.chip_flash_kb = 0;
                        s.eep_size = 0;
                      },
                      "BF7106AM28", "app.hex", 0x3FFFFFFF},
        HandBuiltCase{"AbsentEepromStaysAbsent",
                      [](ProjectFields& s) {
                        s.eep_start = 0xFFFFFFFF;
                        s.eep_size = 0;
                      },
                      "BF7106AM28", "app.hex", 0xFFFFFFFF},
        HandBuiltCase{"NamesInCodePage936",
                      [](ProjectFields& s) {
                        s.chip_name = "\xD0\xBE\xC6\xAC";
                        s.object_name = "\xB9\xCC\xBC\xFE.hex";
                      },
                      "\xE8\x8A\xAF\xE7\x89\x87", "\xE5\x9B\xBA\xE4\xBB\xB6.hex", 0x4000000F},
        HandBuiltCase{"NamesFillingTheirFields",
                      [](ProjectFields& s) {
                        s.chip_name = std::string(20, 'C');
                        s.object_name = std::string(48, 'o');
                      },
                      std::string(20, 'C'), std::string(48, 'o'), 0x4000000F}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Failure codes -------------------------------------------------------

// Everything a read may change: header values, the configuration block,
// the images and the loaded flag.
struct ReadTargets {
  decltype(testing::HeaderFields(std::declval<const StationState&>())) header;
  uint8_t file_loaded;
  ProjectBytes config, main, eep;
  explicit ReadTargets(const StationState& st)
      : header(testing::HeaderFields(st)),
        file_loaded(st.FileLoaded),
        config(st.ChipConfigBlock.begin(), st.ChipConfigBlock.end()),
        main(st.MainBuffer.begin(), st.MainBuffer.end()),
        eep(st.EepBuffer.begin(), st.EepBuffer.end()) {}
  friend bool operator==(const ReadTargets&, const ReadTargets&) = default;
};

// Swaps two stored bytes that differ; the file's byte sum stays right.
void SwapStoredBytes(ProjectBytes& file, size_t at) {
  while (file.at(at) == file.at(at + 1)) ++at;
  std::swap(file[at], file[at + 1]);
}

struct FailureCase {
  const char* name;
  friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
  std::function<void(ProjectFields&)> edit;
  std::function<void(testing::BuiltProject&)> damage;  // may be null
  uint8_t result;
  const char* message;
};

class FailedRead : public testing::ProjectFixture, public ::testing::WithParamInterface<FailureCase> {
 protected:
  ProjectBytes Damaged() {
    const FailureCase& c = GetParam();
    ProjectFields s;
    c.edit(s);
    testing::BuiltProject built = BuildProject(s);
    if (c.damage) c.damage(built);
    return built.bytes;
  }
};

// Neither on a fresh station nor after a good project does a failed read
// change anything: nothing of the damaged file can reach a unit.
TEST_P(FailedRead, ReportsItsCodeAndChangesNothing) {
  const FailureCase& c = GetParam();
  const ProjectBytes damaged = Damaged();
  const ReadTargets fresh(st);
  EXPECT_EQ(Read(damaged), c.result);
  EXPECT_TRUE(ReadTargets(st) == fresh);
  EXPECT_EQ(st.FileLoaded, 0);
  EXPECT_EQ(LastLine(), Line(c.message));
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].text, c.message);

  ProjectFields good;
  good.chip_name = "GOOD-CHIP";
  good.main_seed = 0x17;
  good.eep_seed = 0x29;
  ASSERT_EQ(Read(BuildProject(good).bytes), kProjectOk);
  const ReadTargets loaded(st);
  EXPECT_EQ(Read(damaged), c.result);
  EXPECT_TRUE(ReadTargets(st) == loaded);
  EXPECT_EQ(st.ChipName, "GOOD-CHIP");
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FailedRead,
    ::testing::Values(
        FailureCase{"NotAProjectFile", [](ProjectFields& s) { s.magic = "Kelprb"; }, nullptr, 5, kNotKelpra},
        // With the section left out, the next tags stand where the reader
        // goes on, so only the bad one fails.
        FailureCase{"BadCfgTag",
                    [](ProjectFields& s) {
                      s.cfg_tag = "CFX";
                      s.with_config_area = false;
                    },
                    nullptr, 10, kCorrupted},
        FailureCase{"BadMfmTag",
                    [](ProjectFields& s) {
                      s.mfm_tag = "MFN";
                      s.with_main_section = false;
                    },
                    nullptr, 13, kCorrupted},
        FailureCase{"BadEepTag", [](ProjectFields& s) { s.eep_tag = "EEQ"; }, nullptr, 15, kCorrupted},
        // The reader does not skip a bad tag's section, so the later tags
        // are read from its bytes: the last one to fail gives the code.
        FailureCase{"BadCfgTagBeforeItsArea", [](ProjectFields& s) { s.cfg_tag = "cfg"; }, nullptr, 15, kCorrupted},
        // The EEP tag is then read past the end.
        FailureCase{"CutInsideTheMainSection", [](ProjectFields& s) { s.flash_bytes = s.chip_flash_kb * 2048u; },
                    [](testing::BuiltProject& b) { b.bytes.resize(b.main_at + 1500); }, 15, kCorrupted},
        FailureCase{"SumWrong", [](ProjectFields& s) { s.sum_offset = 1; }, nullptr, 16, kCorrupted},
        FailureCase{"OneFlippedMainByte", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { b.bytes[b.main_at + 100] ^= 0x10; }, 16, kCorrupted},
        // Damage that keeps the byte sum: the images' own sums show it.
        FailureCase{"SwappedMainBytes", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, b.main_at + 200); }, 16, kCorrupted},
        FailureCase{"SwappedEepBytes", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, b.eep_tag_at + 6); }, 16, kCorrupted},
        FailureCase{"FlipsThatCancelInTheMainSection", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) {
                      size_t up = b.main_at + 1, down = up + 1;
                      while (b.bytes[up] & 1) ++up;
                      while (!(b.bytes[down] & 1) || down == up) ++down;
                      b.bytes[up] |= 1;
                      b.bytes[down] &= 0xFE;
                    },
                    16, kCorrupted},
        // Well-formed files whose carried sums do not fit their images.
        FailureCase{"HeaderSumsOfOtherImages", [](ProjectFields& s) { s.header_sums = testing::CarriedSums{1, 2, 3, 4}; },
                    nullptr, 16, kCorrupted},
        FailureCase{"ConfigSumsOfOtherImages",
                    [](ProjectFields& s) {
                      testing::CarriedSums sums = testing::SectionSums(s);
                      ++sums.eep_crc16;
                      s.config_sums = sums;
                    },
                    nullptr, 16, kCorrupted},
        // Chip sizes other than the sections': a unit would be sent blocks
        // the file does not hold.
        FailureCase{"ChipFlashSizeOtherThanTheSection", [](ProjectFields& s) { s.chip_flash_kb = 2; }, nullptr, 16,
                    kCorrupted},
        FailureCase{"ConfigFlashSizeOtherThanTheSection", [](ProjectFields& s) { s.config_flash_kb = 2; }, nullptr,
                    16, kCorrupted},
        FailureCase{"ConfigEepSizeOtherThanTheSection", [](ProjectFields& s) { s.config_eep_size = 32; }, nullptr,
                    16, kCorrupted},
        // Damage in the configuration area that keeps the byte sum: its own
        // check words show it (ChipOutTime and SNAddress here).
        FailureCase{"TwoSwappedPairsInTheSettings", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) {
                      SwapStoredBytes(b.bytes, b.config_at + 53);
                      SwapStoredBytes(b.bytes, b.config_at + 75);
                    },
                    16, kCorrupted},
        FailureCase{"SwappedCheckWords", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, b.config_at + 252); }, 16, kCorrupted},
        FailureCase{"SwappedNameInTheImage", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, b.config_at + 257); }, 16, kCorrupted},
        // The option bytes a load takes lie past the checked part; the
        // checked part holds their first 188 bytes again.
        FailureCase{"SwappedTakenOptionBytes", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, b.config_at + 600); }, 16, kCorrupted},
        FailureCase{"ConfigAreaWithoutCheckWords", [](ProjectFields& s) { s.config_as_built = false; }, nullptr, 16,
                    kCorrupted},
        // Header fields the image repeats, swapped in the header alone.
        FailureCase{"SwappedChipNameInTheHeader", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, 24); }, 16, kCorrupted},
        FailureCase{"SwappedObjectNameInTheHeader", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, 44); }, 16, kCorrupted},
        FailureCase{"SwappedSNGainInTheHeader", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, 168); }, 16, kCorrupted},
        FailureCase{"SwappedInfoSizeInTheHeader", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, 264); }, 16, kCorrupted},
        FailureCase{"SwappedChipStartInTheHeader", [](ProjectFields& s) { s.chip_start = 0x12300; },
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, 280); }, 16, kCorrupted},
        FailureCase{"SwappedEepStartInTheHeader", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, 284); }, 16, kCorrupted},
        FailureCase{"SwappedInfoStartInTheHeader", [](ProjectFields&) {},
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, 288); }, 16, kCorrupted},
        FailureCase{"SwappedChipStartBeforeTheMainSection", [](ProjectFields& s) { s.chip_start = 0x12300; },
                    [](testing::BuiltProject& b) { SwapStoredBytes(b.bytes, b.main_at - 4); }, 16, kCorrupted}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectFile, CommandLineLoadsShowNoBoxesButLogTheResult) {
  st.CmdLineProject = 1;
  ProjectFields good;
  ProjectFields foreign;
  foreign.magic = "KELPRA";
  EXPECT_EQ(Read(BuildProject(good).bytes), kProjectOk);
  EXPECT_EQ(LastLine(), Line(kSuccess));
  EXPECT_EQ(Read(BuildProject(foreign).bytes), kProjectNotKelpra);
  EXPECT_EQ(LastLine(), Line(kNotKelpra));
  EXPECT_TRUE(fs.boxes.shown.empty());
}

// --- File errors ---------------------------------------------------------

struct FileErrorCase {
  const char* name;
  friend void PrintTo(const FileErrorCase& c, std::ostream* os) { *os << c.name; }
  std::function<void(StationState&, const testing::TempDir&)> act;
  const char* text;
};

class ProjectFileErrors : public testing::ProjectFixture, public ::testing::WithParamInterface<FileErrorCase> {};

TEST_P(ProjectFileErrors, RaiseTheRuntimesFileError) {
  const FileErrorCase& c = GetParam();
  try {
    c.act(st, dir);
    FAIL() << "no FileError";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), c.text);
  }
  EXPECT_EQ(st.FileLoaded, 0);
  EXPECT_TRUE(fs.boxes.shown.empty());
  EXPECT_TRUE(fs.memo.lines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectFileErrors,
    ::testing::Values(
        FileErrorCase{"ReadMissingFile",
                      [](StationState& st, const testing::TempDir& d) { ReadProjectFile(st, d.File("none.RQT")); },
                      "File not found"},
        FileErrorCase{"ReadFolder",
                      [](StationState& st, const testing::TempDir& d) { ReadProjectFile(st, d.File("")); },
                      "Invalid file name"},
        FileErrorCase{"SaveIntoMissingFolder",
                      [](StationState& st, const testing::TempDir& d) {
                        SaveProjectFile(st, d.File("no/such.RQT"), 80);
                      },
                      "File not found"},
        FileErrorCase{"SaveOnAFullDisk",
                      [](StationState& st, const testing::TempDir&) {
                        st.FlashSizeKB = 128;  // more than one buffer's worth
                        SaveProjectFile(st, "/dev/full", 80);
                      },
                      "Disk full"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- What the writer puts in the file --------------------------------------

TEST_F(ProjectFile, WriterDrawsTheTableAndKeysAndReportsTheFile) {
  StationState fresh;
  fresh.Views.Boxes = &fs.boxes;
  fresh.SharedInfoMemo = &fs.memo;
  fresh.TimeSource = &fs.clock;
  fresh.FlashSizeKB = 1;
  for (size_t i = 0; i < 2048; ++i) fresh.PortPacketBuf[0][8 + i] = Pattern(0x77, i);
  const std::string path = dir.File("new.RQT");
  SaveProjectFile(fresh, path, 3);
  const ProjectBytes file = testing::TempDir::Read(path);

  RandomGenerator draws;
  for (size_t i = 0; i < 2049; ++i) ASSERT_EQ(file[354 + i], draws.Below(255)) << i;
  draws.Below(255);  // drawn, not stored
  const uint8_t c = static_cast<uint8_t>(draws.Below(255));
  EXPECT_EQ(file[2406], c);
  for (size_t i = 0; i < 2048; ++i) ASSERT_EQ(file[2407 + i] ^ file[354 + i] ^ c, Pattern(0x77, i)) << i;
  EXPECT_EQ(file[4462], draws.Below(255));  // the main section's first key
  EXPECT_EQ(file[7], 3);
  std::string model;
  for (size_t i = 8; i < 24 && file[i] != 0; ++i) model.push_back(static_cast<char>(file[i] ^ 0x3D));
  EXPECT_EQ(model, "Dorvik100");

  const std::string message = "Created Project File : " + path;
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].kind, "plain");
  EXPECT_EQ(fs.boxes.shown[0].text, message);
  EXPECT_EQ(LastLine(), Line(message));
}

// --- Write, then read into a fresh station ---------------------------------

struct RoundTripCase {
  const char* name;
  friend void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }
  uint16_t flash_kb;
  uint16_t eep_size;
  std::string chip_name;
  std::string read_back_name;
};

class RoundTrip : public testing::ProjectFixture, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTrip, ReadsBackWhatWasWritten) {
  const RoundTripCase& c = GetParam();
  st.FamilyCode = 0x45;
  st.ChipClassCode = 0x80;
  st.ChipIndex = 2;
  st.ChipFlashSizeKB = st.FlashSizeKB = c.flash_kb;
  st.EepSize = c.eep_size;
  st.InfoSize = 512;
  st.PageSize = 256;
  st.ChipStartAddress = 0;
  st.EepStartAddress = 0;
  st.InfoStartAddress = c.flash_kb * 1024u + 1024;
  st.ChipName = c.chip_name;
  st.ObjectFileName = "\xE5\x9B\xBA\xE4\xBB\xB6.hex";
  st.MainAcc32 = -5;
  st.ProjectSpareByte = 0x42;
  st.Settings.CtrlFlags2 = 0xF4;
  st.Settings.CtrlFlags7 = 0x81;
  st.Settings.SclkSetting = 25;
  st.Settings.NumberLimit = -1;
  st.Settings.SNAddress = 0x7FF0;
  st.Settings.SNValue = 123456;
  for (size_t i = 0; i < st.MainBuffer.size(); ++i) st.MainBuffer[i] = Pattern(1, i);
  for (size_t i = 0; i < st.EepBuffer.size(); ++i) st.EepBuffer[i] = Pattern(2, i);
  for (size_t i = 0; i < st.OptionBuffer.size(); ++i) st.OptionBuffer[i] = Pattern(3, i);
  const ImageSums main = SumsOfFirst(st.MainBuffer.span(), c.flash_kb * 1024u);
  st.MainCrc16 = main.Crc16;
  st.MainAcc16 = main.Acc16;
  RefreshEepSums(st);
  const std::string path = dir.File("trip.RQT");
  WriteProjectFile(st, path, kStationModelCode);
  const ProjectBytes file = testing::TempDir::Read(path);

  // Layout: the main section is 1 + F + F/1024 bytes, a key after every
  // block, the last one after the final block; no EEPROM section for E 0.
  const size_t f = c.flash_kb * 1024u;
  const size_t main_at = 4462;
  const size_t eep_tag_at = main_at + 1 + f + f / 1024;
  const size_t eep_section = c.eep_size ? 1 + c.eep_size + c.eep_size / 1024u : 0;
  const size_t sum_at = eep_tag_at + 5 + eep_section;
  ASSERT_EQ(file.size(), sum_at + 4 + 256);
  EXPECT_EQ(file[eep_tag_at + 3], c.eep_size & 0xFF);
  EXPECT_EQ(file[eep_tag_at + 4], c.eep_size >> 8);
  EXPECT_EQ(testing::Get32At(file, sum_at), testing::SumBefore(file, sum_at));
  EXPECT_EQ(testing::DecodeSection(file, main_at, f), ProjectBytes(st.MainBuffer.begin(), st.MainBuffer.begin() + f));
  if (c.eep_size) {
    EXPECT_EQ(testing::DecodeSection(file, eep_tag_at + 5, c.eep_size),
              ProjectBytes(st.EepBuffer.begin(), st.EepBuffer.begin() + c.eep_size));
  }

  testing::FakeStation other;
  StationState& back = other.st;
  ASSERT_EQ(ReadProjectFile(back, path), kProjectOk);
  EXPECT_EQ(back.ProjectModelName, "Dorvik410-ZEK");
  EXPECT_EQ(back.FamilyCode, kStationModelCode);
  EXPECT_EQ(back.ChipName, c.read_back_name);
  EXPECT_EQ(back.ObjectFileName, st.ObjectFileName);
  EXPECT_EQ(back.FlashSizeKB, c.flash_kb);
  EXPECT_EQ(back.EepSize, c.eep_size);
  EXPECT_EQ(back.ChipEndAddress, st.ChipStartAddress + f - 1);
  EXPECT_EQ(back.MainAcc32, -5);
  EXPECT_EQ(std::make_tuple(back.MainAcc16, back.MainCrc16, back.EepAcc16, back.EepCrc16),
            std::make_tuple(st.MainAcc16, st.MainCrc16, st.EepAcc16, st.EepCrc16));
  EXPECT_EQ(back.ProjectSpareByte, 0x42);
  EXPECT_TRUE(std::equal(back.MainBuffer.begin(), back.MainBuffer.begin() + f, st.MainBuffer.begin()));
  EXPECT_TRUE(std::equal(back.EepBuffer.begin(), back.EepBuffer.begin() + c.eep_size, st.EepBuffer.begin()));
  EXPECT_TRUE(std::equal(back.ChipConfigBlock.begin(), back.ChipConfigBlock.end(), st.PortPacketBuf[0].begin() + 8));

  UnpackChipConfig(back);
  EXPECT_EQ(std::make_tuple(back.FamilyCode, back.ChipClassCode, back.ChipIndex, back.PageSize, back.InfoSize),
            std::make_tuple(uint8_t{0x45}, uint8_t{0x80}, uint8_t{2}, uint16_t{256}, uint16_t{512}));
  EXPECT_EQ(back.Settings.CtrlFlags2, 0xF4);
  EXPECT_EQ(back.Settings.CtrlFlags7, 0x81);
  EXPECT_EQ(back.Settings.SclkSetting, 25);
  EXPECT_EQ(back.Settings.NumberLimit, -1);
  EXPECT_EQ(back.Settings.SNAddress, 0x7FF0);
  EXPECT_EQ(back.Settings.SNValue, 123456);
  EXPECT_TRUE(std::equal(back.OptionBuffer.begin(), back.OptionBuffer.begin() + 512, st.OptionBuffer.begin()));
}

INSTANTIATE_TEST_SUITE_P(
    Projects, RoundTrip,
    ::testing::Values(RoundTripCase{"NoEeprom", 1, 0, "BF7112A-JCST", "BF7112A-JCST"},
                      RoundTripCase{"SixtyFourKiBFlash", 64, 2048, "BF7106AM28-TBBX", "BF7106AM28-TBBX"},
                      // '=' is the names' key: stored as 0, it ends the text.
                      RoundTripCase{"NameCharacterEqualToItsKey", 1, 16, "AB=CD", "AB"},
                      RoundTripCase{"ChineseNameCutAtWholeCharacters", 2, 16,
                                    "BF7106AM28-" "\xE8\x8A\xAF\xE7\x89\x87\xE8\x8A\xAF\xE7\x89\x87\xE8\x8A\xAF",
                                    "BF7106AM28-" "\xE8\x8A\xAF\xE7\x89\x87\xE8\x8A\xAF\xE7\x89\x87"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Every chip the station offers, saved by the station ----------------------

struct SavedPart {
  int series;
  uint8_t index;
  std::string_view name;
};

std::vector<SavedPart> EveryPart() {
  std::vector<SavedPart> parts;
  for (int series = 0; series < kChipSeriesCount; ++series) {
    const auto names = ChipSeriesParts[series];
    for (size_t i = 0; i < names.size(); ++i) parts.push_back({series, static_cast<uint8_t>(i), names[i]});
  }
  return parts;
}

class SavedByTheStation : public testing::ProjectFixture, public ::testing::WithParamInterface<SavedPart> {};

// The chip as the dialog commits it, an image over its flash and EEPROM,
// option bytes and settings in every byte: the station's own file passes
// every check of the read.
TEST_P(SavedByTheStation, ReadsBackWithoutComplaint) {
  const SavedPart& p = GetParam();
  PendingChip pending;
  pending.ClassCode = ChipSeriesClass[p.series];
  pending.PartIndex = p.index;
  ApplySizeRule(p.name, pending);
  CommitChipSelection(st, pending, p.name);
  SetMemoryMap(st);
  const size_t f = st.FlashSizeKB * 1024u;
  for (size_t i = 0; i < f; ++i) st.MainBuffer[i] = Pattern(0x31, i);
  for (size_t i = 0; i < st.EepSize; ++i) st.EepBuffer[i] = Pattern(0x47, i);
  for (size_t i = 0; i < 512; ++i) st.OptionBuffer[i] = Pattern(0x53, i);
  const ImageSums main = SumsOfFirst(st.MainBuffer.span(), f);
  st.MainCrc16 = main.Crc16;
  st.MainAcc16 = main.Acc16;
  RefreshEepSums(st);
  st.ObjectFileName = "\xE5\x9B\xBA\xE4\xBB\xB6-" + std::string(p.name) + ".hex";
  st.Settings.SNGain = 0x0102;
  st.Settings.SNAddress = 0x00017F00;
  st.Settings.ChipOutTime = 29;
  WriteProjectFile(st, dir.File("part.RQT"), kStationModelCode);

  testing::FakeStation other;
  ASSERT_EQ(ReadProjectFile(other.st, dir.File("part.RQT")), kProjectOk);
  EXPECT_EQ(other.st.ChipName, p.name);
}

INSTANTIATE_TEST_SUITE_P(ChipTable, SavedByTheStation, ::testing::ValuesIn(EveryPart()), [](const auto& info) {
  std::string name;
  for (char c : info.param.name) name.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  return name;
});

// --- Every chip class, the file put together byte by byte ---------------------

struct ClassCase {
  const char* name;
  uint8_t class_code;
  uint32_t eep_start, info_start;
  uint16_t eep_size;
};

class BuiltForEveryClass : public testing::ProjectFixture, public ::testing::WithParamInterface<ClassCase> {};

TEST_P(BuiltForEveryClass, Loads) {
  const ClassCase& c = GetParam();
  ProjectFields s;
  s.chip_class = c.class_code;
  s.flash_bytes = 2048;
  s.chip_flash_kb = 2;
  s.eep_start = c.eep_start;
  s.info_start = c.info_start;
  s.eep_size = c.eep_size;
  EXPECT_EQ(Read(BuildProject(s).bytes), kProjectOk);
  UnpackChipConfig(st);
  EXPECT_EQ(st.ChipClassCode, c.class_code);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, BuiltForEveryClass,
    ::testing::Values(ClassCase{"BF710", 0x00, 0x40000000, 0x40000800, 256}, ClassCase{"BF7112", 0x40, 0, 0x8000, 256},
                      ClassCase{"BF7612", 0x80, 0, 2048 + 1024, 512}, ClassCase{"BF7615", 0x82, 0, 2048 + 1024, 512},
                      ClassCase{"BF9x00", 0x90, 0xFFFFFFFF, 2048, 0}, ClassCase{"BS32G0", 0x10, 0xFFFFFFFF, 0x20200, 0},
                      ClassCase{"BS32F", 0x12, 0xFFFFFFFF, 0x20200, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The same project gives the same images, whatever the station held --------

class WhatCameBefore;

struct BeforeCase {
  const char* name;
  friend void PrintTo(const BeforeCase& c, std::ostream* os) { *os << c.name; }
  void (*before)(WhatCameBefore&);
};

class WhatCameBefore : public testing::ProjectFixture, public ::testing::WithParamInterface<BeforeCase> {
 public:
  using testing::ProjectFixture::Read;
  using testing::ProjectFixture::st;
};

// The units are sent whole blocks of each image (4 KiB of EEP, 1 KiB of
// option bytes): past what the project holds, they are erased.
TEST_P(WhatCameBefore, LeavesNothingOfItPastTheProject) {
  GetParam().before(*this);
  ProjectFields s;
  s.eep_size = 16;
  ASSERT_EQ(Read(BuildProject(s).bytes), kProjectOk);
  UnpackChipConfig(st);
  for (size_t i = 0; i < s.flash_bytes; ++i) ASSERT_EQ(st.MainBuffer[i], Pattern(s.main_seed, i)) << i;
  for (size_t i = 0; i < s.eep_size; ++i) ASSERT_EQ(st.EepBuffer[i], Pattern(s.eep_seed, i)) << i;
  EXPECT_TRUE(MainErasedFrom(s.flash_bytes));
  EXPECT_TRUE(EepErasedFrom(s.eep_size));
  EXPECT_EQ(st.EepBuffer[2048], 0xFF);
  EXPECT_TRUE(Erased(st.OptionBuffer.begin() + 512, st.OptionBuffer.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Loads, WhatCameBefore,
    ::testing::Values(BeforeCase{"FreshStation", [](WhatCameBefore&) {}},
                      BeforeCase{"EarlierImage",
                                 [](WhatCameBefore& f) {
                                   std::fill(f.st.MainBuffer.begin(), f.st.MainBuffer.end(), 0x5A);
                                   std::fill(f.st.EepBuffer.begin(), f.st.EepBuffer.end(), 0x5A);
                                   std::fill(f.st.OptionBuffer.begin(), f.st.OptionBuffer.end(), 0x5A);
                                 }},
                      // Bytes that only the earlier project held.
                      BeforeCase{"LargerProject",
                                 [](WhatCameBefore& f) {
                                   ProjectFields big;
                                   big.flash_bytes = 8192;
                                   big.chip_flash_kb = 8;
                                   big.eep_size = 4096;
                                   ASSERT_EQ(f.Read(BuildProject(big).bytes), kProjectOk);
                                   UnpackChipConfig(f.st);
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- UnpackChipConfig --------------------------------------------------------

TEST_F(ProjectFile, UnpackChipConfigTakesTheImageOffsets) {
  for (size_t i = 0; i < 2048; ++i) st.ChipConfigBlock[i] = static_cast<uint8_t>(i * 7 + 1);
  st.ChipConfigBlock[12] = 0x00;  // FlashSizeKB 0x0100, within the image
  st.ChipConfigBlock[13] = 0x01;
  st.ChipConfigBlock[14] = 0x00;  // EepSize 0x0800
  st.ChipConfigBlock[15] = 0x08;
  UnpackChipConfig(st);
  auto b = [this](size_t i) { return st.ChipConfigBlock[i]; };
  auto w = [&b](size_t i) { return static_cast<uint16_t>(b(i) | (b(i + 1) << 8)); };
  auto d = [&w](size_t i) { return static_cast<int32_t>(w(i) | (static_cast<uint32_t>(w(i + 2)) << 16)); };
  const ProgrammerSettings& s = st.Settings;
  EXPECT_EQ(std::make_tuple(st.FamilyCode, st.ChipClassCode, st.ChipIndex, s.AutoDetectFlags),
            std::make_tuple(b(5), b(6), b(7), b(9)));
  EXPECT_EQ(std::make_tuple(st.FlashSizeKB, st.EepSize, st.PageSize, st.InfoSize),
            std::make_tuple(uint16_t{0x100}, uint16_t{0x800}, w(16), w(18)));
  EXPECT_EQ(std::make_tuple(s.CtrlFlags, s.CtrlFlags2, s.CtrlFlags3, s.CtrlFlags4, s.CtrlFlags5, s.CtrlFlags6,
                            s.CtrlFlags7, s.CtrlFlags8),
            std::make_tuple(b(20), b(21), b(22), b(23), b(24), b(25), b(26), b(27)));
  EXPECT_EQ(std::make_tuple(st.MainCrc16, st.MainAcc16, st.EepCrc16, st.EepAcc16),
            std::make_tuple(w(36), w(38), w(40), w(42)));
  EXPECT_EQ(std::make_tuple(s.ChipInTime, s.ChipOutTime, s.PowerOnTime, s.SettingByte51, s.SclkSetting, s.OkNgDelay,
                            s.SNFlags, s.SNLength),
            std::make_tuple(b(52), b(53), b(54), b(55), b(56), b(57), b(58), b(59)));
  EXPECT_EQ(std::make_tuple(s.NumberLimit, s.SNGain, s.SNAddress, s.SNValue), std::make_tuple(d(68), w(72), d(74), d(78)));
  EXPECT_TRUE(std::equal(st.OptionBuffer.begin(), st.OptionBuffer.begin() + 512, st.ChipConfigBlock.begin() + 512));
  EXPECT_TRUE(Erased(st.OptionBuffer.begin() + 512, st.OptionBuffer.end()));
  EXPECT_EQ(GetEEPSize(st), 0x800);
}

struct UnpackSizeCase {
  uint16_t flash_kb, eep_size;
  bool taken;
};

class UnpackSizes : public testing::ProjectFixture, public ::testing::WithParamInterface<UnpackSizeCase> {};

// Sizes beyond MainBuffer (2048 KiB) or EepBuffer (32 KiB) would send
// later operations past the images; the sizes in use stay then.
TEST_P(UnpackSizes, TakesOnlySizesTheImagesHold) {
  const UnpackSizeCase& c = GetParam();
  st.ChipConfigBlock[12] = static_cast<uint8_t>(c.flash_kb);
  st.ChipConfigBlock[13] = static_cast<uint8_t>(c.flash_kb >> 8);
  st.ChipConfigBlock[14] = static_cast<uint8_t>(c.eep_size);
  st.ChipConfigBlock[15] = static_cast<uint8_t>(c.eep_size >> 8);
  UnpackChipConfig(st);
  EXPECT_EQ(st.FlashSizeKB, c.taken ? c.flash_kb : 7);
  EXPECT_EQ(st.EepSize, c.taken ? c.eep_size : 3);
}

INSTANTIATE_TEST_SUITE_P(Limits, UnpackSizes,
                         ::testing::Values(UnpackSizeCase{2048, 0x8000, true}, UnpackSizeCase{2049, 0x8001, false},
                                           UnpackSizeCase{0xFFFF, 0xFFFF, false}),
                         [](const auto& info) { return "Flash" + std::to_string(info.param.flash_kb) + "KiB_Eep" + ::zek::testing::Hex(info.param.eep_size); });

// --- Programmer model names --------------------------------------------------

TEST(GetProgrammerModelName, NamesTwentyNineCodesWithTwentyFiveNamesAndOneDefault) {
  const std::string unknown = GetProgrammerModelName(0);
  std::set<std::string> names;
  std::map<std::string, int> codes_per_name;
  int known = 0;
  for (int code = 0; code <= 255; ++code) {
    const std::string name = GetProgrammerModelName(static_cast<uint8_t>(code));
    EXPECT_LE(name.size(), 16u) << code;
    if (name == unknown) continue;
    EXPECT_GE(code, 3);
    EXPECT_LE(code, 80);
    ++known;
    names.insert(name);
    ++codes_per_name[name];
  }
  EXPECT_EQ(known, 29);
  EXPECT_EQ(names.size(), 25u);
  std::multiset<int> sharing;
  for (const auto& [name, n] : codes_per_name) sharing.insert(n);
  EXPECT_EQ(sharing.count(3), 1u);
  EXPECT_EQ(sharing.count(2), 2u);
  EXPECT_EQ(GetProgrammerModelName(80), "Dorvik410-ZEK");
  EXPECT_EQ(GetProgrammerModelName(2), unknown);
  EXPECT_EQ(GetProgrammerModelName(81), unknown);
}

}  // namespace
}  // namespace zek
