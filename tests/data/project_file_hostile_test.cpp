// Project files from anywhere: sizes beyond the images, files cut short
// and noise fail, store nothing past a buffer and leave the chip
// descriptor as it was.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "station/data/project_file.h"
#include "tests/data/project_fixture.h"

namespace zek {
namespace {

using testing::BuildProject;
using testing::Pattern;
using testing::ProjectBytes;
using testing::ProjectFields;

class HostileProject : public testing::ProjectFixture {};

struct HostileCase {
  const char* name;
  friend void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
  std::function<void(ProjectFields&)> edit;
};

class HostileSizes : public testing::ProjectFixture, public ::testing::WithParamInterface<HostileCase> {};

// Each file is well formed and its sum is right: only its sizes are wrong.
TEST_P(HostileSizes, FailWithoutStoringPastTheImages) {
  const HostileCase& c = GetParam();
  ProjectFields s;
  c.edit(s);
  const auto before = testing::HeaderFields(st);
  EXPECT_EQ(Read(BuildProject(s).bytes), kProjectCorrupted);
  EXPECT_EQ(testing::HeaderFields(st), before);
  EXPECT_EQ(st.FileLoaded, 0);
  EXPECT_TRUE(EepErasedFrom(0));
  EXPECT_TRUE(MainErasedFrom(0));
  EXPECT_TRUE(std::all_of(st.ChipConfigBlock.begin(), st.ChipConfigBlock.end(), [](uint8_t b) { return b == 0; }));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, HostileSizes,
    ::testing::Values(
        // The section cannot be in the file; the header alone claims it.
        HostileCase{"FlashOfTwoGiB",
                    [](ProjectFields& s) {
                      s.flash_bytes = 0x7FFFFC00;
                      s.with_main_section = false;
                    }},
        HostileCase{"FlashOneKiBPastTheImage", [](ProjectFields& s) { s.flash_bytes = 0x200400; }},
        HostileCase{"FlashNotWholeKiB", [](ProjectFields& s) { s.flash_bytes = 1000; }},
        HostileCase{"ChipFlashSizePastTheImage", [](ProjectFields& s) { s.chip_flash_kb = 2049; }},
        HostileCase{"EepromOfAllOnes", [](ProjectFields& s) { s.eep_size = 0xFFFF; }},
        HostileCase{"EepromOneBytePastTheImage", [](ProjectFields& s) { s.eep_size = 0x8001; }},
        // The header is fine; the EEP section claims another size.
        HostileCase{"EepSectionOfAllOnes", [](ProjectFields& s) { s.section_eep_size = 0xFFFF; }},
        HostileCase{"EepSectionSmallerThanTheHeader", [](ProjectFields& s) { s.section_eep_size = 8; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileProject, SizesFillingTheImagesExactlyLoad) {
  ProjectFields s;
  s.flash_bytes = 0x200000;
  s.chip_flash_kb = 2048;
  s.eep_size = 0x8000;
  ASSERT_EQ(Read(BuildProject(s).bytes), kProjectOk);
  EXPECT_EQ(st.FlashSizeKB, 2048);
  EXPECT_EQ(st.EepSize, 0x8000);
  EXPECT_EQ(st.MainBuffer[0x1FFFFF], Pattern(s.main_seed, 0x1FFFFF));
  EXPECT_EQ(st.EepBuffer[0x7FFF], Pattern(s.eep_seed, 0x7FFF));
}

// Every cut of a valid file fails, its trailer included, and stores
// nothing, not even the part of a section the file still holds.
TEST_F(HostileProject, EveryCutOfAValidFileFails) {
  ProjectFields s;
  s.flash_bytes = 2048;
  s.chip_flash_kb = 2;
  const testing::BuiltProject built = BuildProject(s);
  const auto before = testing::HeaderFields(st);
  const size_t watched = 4096;  // the section and what follows it
  for (size_t length = 0; length < built.bytes.size(); ++length) {
    const ProjectBytes cut(built.bytes.begin(), built.bytes.begin() + length);
    ASSERT_NE(ReadInMemory(cut), kProjectOk) << length;
    ASSERT_EQ(testing::HeaderFields(st), before) << length;
    ASSERT_EQ(st.FileLoaded, 0) << length;
    ASSERT_TRUE(Erased(st.MainBuffer.begin(), st.MainBuffer.begin() + watched)) << length;
    ASSERT_TRUE(EepErasedFrom(0)) << length;
  }
  EXPECT_EQ(ReadInMemory(built.bytes), kProjectOk);
}

TEST_F(HostileProject, BytesAfterTheTrailerAreIgnored) {
  ProjectBytes bytes = BuildProject(ProjectFields{}).bytes;
  bytes.resize(bytes.size() + 100, 0xA5);
  EXPECT_EQ(Read(bytes), kProjectOk);
}

TEST_F(HostileProject, NoiseAfterTheMagicFails) {
  ProjectBytes bytes = {'K', 'e', 'l', 'p', 'r', 'a'};
  RandomGenerator noise;
  for (int i = 0; i < 20000; ++i) bytes.push_back(static_cast<uint8_t>(noise.Below(256)));
  const auto before = testing::HeaderFields(st);
  EXPECT_NE(Read(bytes), kProjectOk);
  EXPECT_EQ(testing::HeaderFields(st), before);
}

}  // namespace
}  // namespace zek
