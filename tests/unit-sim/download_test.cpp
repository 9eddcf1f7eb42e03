// Download: the scrambled configuration image, the main blocks, the EEPROM
// block and the reset into off-line mode.
#include "tests/unit-sim/unit_fixture.h"
#include "tests/support/case_names.h"
#include "tools/unit-sim/config_image.h"
#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim::testing {
namespace {

TEST_F(UnitTest, ConfigImageIsUnscrambledWithTheCommandsWord) {
  Bytes options(1024, 0xFF);
  options[500] = 0x42;
  for (uint16_t word : {0x0000, 0x1234, 0xFFFE}) {
    ASSERT_EQ(StatusOf(ConfigCommand(setup_, word, options)), 6) << word;
    const auto& c = unit_.Download().Config();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->settings.flash_kb, 30);
    EXPECT_EQ(c->settings.main_crc, setup_.main_crc);
    EXPECT_EQ(c->chip_name, "BF7412");
    EXPECT_EQ(c->object_file_name, "demo.hex");
    EXPECT_EQ(c->number_limit, -1);
    EXPECT_EQ(c->sn_value, 1000);
    EXPECT_EQ(c->Options()[500], 0x42);
  }
}

struct Corruption {
  const char* name;
  size_t offset;  // in the image before scrambling
};

class ConfigCorruptions : public UnitTest, public ::testing::WithParamInterface<Corruption> {};

TEST_P(ConfigCorruptions, AreRefusedAsPacketErrors) {
  Bytes image = ConfigImage(setup_, Bytes(1024, 0xFF));
  image[GetParam().offset] ^= 0x01;
  ScrambleConfigImage(image, 0x0101);
  EXPECT_EQ(StatusOf(Command(0x53, 0x0101, image, setup_)), kStatusPacketError);
  EXPECT_FALSE(unit_.Download().Config());
}

INSTANTIATE_TEST_SUITE_P(Image, ConfigCorruptions,
                         ::testing::Values(Corruption{"magic", 1}, Corruption{"settings_under_first_check", 20},
                                           Corruption{"first_check", 252}, Corruption{"first_sum", 255},
                                           Corruption{"chip_name_under_second_check", 260},
                                           Corruption{"second_sum", 510}),
                         [](const auto& info) { return std::string(info.param.name); });

// Images whose checks and sums hold, but that a station building them
// right never sends.
struct Inconsistency {
  const char* name;
  void (*change)(Bytes& image);
};
void PrintTo(const Inconsistency& c, std::ostream* os) { *os << c.name; }

class ConfigInconsistencies : public UnitTest, public ::testing::WithParamInterface<Inconsistency> {};

TEST_P(ConfigInconsistencies, AreRefusedAsPacketErrors) {
  Bytes options(1024, 0);
  for (size_t i = 0; i < options.size(); ++i) options[i] = static_cast<uint8_t>(i * 3 + 1);
  Bytes image = ConfigImage(setup_, options);
  GetParam().change(image);
  SealConfigImage(image);
  ScrambleConfigImage(image, 0x0101);
  EXPECT_EQ(StatusOf(Command(0x53, 0x0101, image, setup_)), kStatusPacketError);
  EXPECT_FALSE(unit_.Download().Config());
  // The same image as the station builds it is taken.
  EXPECT_EQ(StatusOf(ConfigCommand(setup_, 0x0101, options)), 6);
}

INSTANTIATE_TEST_SUITE_P(
    Image, ConfigInconsistencies,
    ::testing::Values(Inconsistency{"bytes_82_83_not_zero", [](Bytes& im) { im[83] = 1; }},
                      Inconsistency{"option_copy_differs_first", [](Bytes& im) { im[320] ^= 0x10; }},
                      Inconsistency{"option_copy_differs_last", [](Bytes& im) { im[507] ^= 0x10; }},
                      Inconsistency{"option_image_differs", [](Bytes& im) { im[512 + 100] ^= 0x10; }},
                      Inconsistency{"settings_class_differs", [](Bytes& im) { im[4 + 2] ^= 0x01; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitTest, ConfigScrambledWithAnotherWordIsRefused) {
  Bytes image = ConfigImage(setup_, Bytes(1024, 0xFF));
  ScrambleConfigImage(image, 0x0001);
  EXPECT_EQ(StatusOf(Command(0x53, 0x0002, image, setup_)), kStatusPacketError);
}

struct BlockCountCase {
  uint16_t flash_kb;
  int blocks;
};

class DownloadBlocks : public UnitTest, public ::testing::WithParamInterface<BlockCountCase> {};

TEST_P(DownloadBlocks, CompleteOnlyAfterEveryBlock) {
  setup_.flash_kb = GetParam().flash_kb;
  ASSERT_EQ(StatusOf(ConfigCommand(setup_, 7, Bytes(1024, 0xFF))), 6);
  for (int b = 0; b < GetParam().blocks; ++b) {
    EXPECT_FALSE(unit_.Download().Complete());
    ASSERT_EQ(StatusOf(Command(0x55, static_cast<uint16_t>(b * 4), Block(static_cast<uint16_t>(b * 4)), setup_)), 6);
  }
  EXPECT_TRUE(unit_.Download().Complete());
  EXPECT_TRUE(std::equal(main_.begin(), main_.begin() + setup_.flash_kb * 1024, unit_.Download().Main().begin()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, DownloadBlocks,
                         ::testing::Values(BlockCountCase{96, 24}, BlockCountCase{30, 8}, BlockCountCase{4, 1},
                                           BlockCountCase{0, 1}),
                         [](const auto& info) { return "Flash" + std::to_string(info.param.flash_kb) + "KiB"; });

TEST_F(UnitTest, BlocksBeforeAConfigImageAreRefused) {
  EXPECT_EQ(StatusOf(Command(0x55, 0, Block(0), setup_)), kStatusPacketError);
  EXPECT_EQ(StatusOf(Command(0x5A, 0, eep_, setup_)), kStatusPacketError);
}

// The station sends blocks 0, 4, 8, ... below the chip's flash size.
TEST_F(UnitTest, BlocksOffTheStationsGridOrPastTheChipAreRefused) {
  setup_.flash_kb = 96;
  ASSERT_EQ(StatusOf(ConfigCommand(setup_, 7, Bytes(1024, 0xFF))), 6);
  for (uint16_t index : {2, 1, 95, 96, 100})
    EXPECT_EQ(StatusOf(Command(0x55, index, Block(0), setup_)), kStatusPacketError) << index;
  for (uint16_t index : {0, 4, 92}) EXPECT_EQ(StatusOf(Command(0x55, index, Block(index), setup_)), 6) << index;
}

TEST_F(UnitTest, BlockPastTheImageCapacityIsAFlashError) {
  ASSERT_EQ(StatusOf(ConfigCommand(setup_, 7, Bytes(1024, 0xFF))), 6);
  EXPECT_EQ(StatusOf(Command(0x55, 2048, Block(0), setup_)), kStatusFlashError);
}

TEST_F(UnitTest, ResetIsUnansweredAndOnly8AGoesOffLine) {
  Download(unit_, setup_, main_);
  EXPECT_TRUE(unit_.Offline());
  EXPECT_FALSE(unit_.HasOutput());
  SimUnit other;
  EXPECT_TRUE(Exchange(other, ResetCommand(0x86)).empty());
  EXPECT_FALSE(other.Offline());
}

TEST_F(UnitTest, ResetWithoutItsLettersIsAPacketError) {
  Bytes bad = ResetCommand(0x8A);
  bad[3] = 'X';
  EXPECT_EQ(StatusOf(bad), kStatusPacketError);
  EXPECT_FALSE(unit_.Offline());
}

TEST_F(UnitTest, ANewDownloadForgetsTheOldImage) {
  Download(unit_, setup_, main_);
  ASSERT_TRUE(unit_.Download().Complete());
  ASSERT_EQ(StatusOf(ConfigCommand(setup_, 9, Bytes(1024, 0xFF))), 6);
  EXPECT_FALSE(unit_.Download().Complete());
  EXPECT_FALSE(unit_.Offline());
  EXPECT_EQ(unit_.Download().Main()[1], 0xFF);
}

}  // namespace
}  // namespace zek::sim::testing
