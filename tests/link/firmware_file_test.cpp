#include "station/link/firmware_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "station/data/errors.h"
#include "tests/support/fake_views.h"
#include "tests/support/firmware_fixture.h"
#include "tests/support/case_names.h"

namespace zek {
namespace {

using testing::BuildFirmwareFile;
using testing::FirmwareRecipe;

std::vector<uint8_t> PlainImage(size_t n) {
  std::vector<uint8_t> image(n);
  for (size_t i = 0; i < n; ++i) image[i] = static_cast<uint8_t>(i * 13 + (i >> 8) + 1);
  return image;
}

std::string Version(const StationState& st) { return std::string(st.FirmwareVersion.data(), 8); }

struct FirmwareFileFixture : ::testing::Test {
  void Load(const std::vector<uint8_t>& file) { LoadFirmwareBytes(fs.st, file, "DKxLumZEK.FWR"); }
  testing::FakeStation fs;
};

TEST_F(FirmwareFileFixture, AValidFileGivesThePlainImageAndItsHeader) {
  FirmwareRecipe r;
  r.image = PlainImage(40000);
  r.end_address = 0x5432;
  r.version = "V2.04b17";
  Load(BuildFirmwareFile(r));
  EXPECT_EQ(fs.st.FirmwareOK, 1);
  EXPECT_EQ(Version(fs.st), "V2.04b17");
  EXPECT_EQ(fs.st.FirmwareEndAddress, 0x5432);
  EXPECT_EQ(fs.st.FirmwareWordCount, 40000);
  EXPECT_EQ(fs.st.FirmwareStartAddress, 4096);
  EXPECT_TRUE(std::equal(r.image.begin(), r.image.end(), fs.st.FirmwareImage.begin()));
  EXPECT_TRUE(fs.memo.lines.empty());
}

// Known answer without the fixture's scrambler: a zero image unscrambles
// to the key bytes t[4j], t[4j+1], t[4j], t[4j+1], the table reading 0 from
// offset 3290 on and j wrapping after 1024 groups.
TEST_F(FirmwareFileFixture, UnscramblesWithTheKeyTableAsTheFileLaysItOut) {
  const uint16_t w = 0x1111, length = 4112, end = 0x2FFF;
  std::vector<uint8_t> f = {'D' ^ 0x4B, 'v' ^ 0x4B, 'k' ^ 0x4B, 'F' ^ 0x4B, 'm' ^ 0x4B, 'W' ^ 0x4B, 'r' ^ 0x4B,
                            'V', '1', '.', '0', 0, 0, 0, 0};
  for (uint16_t v : {w, uint16_t(end ^ w), uint16_t(0), uint16_t(0), uint16_t(length ^ w)}) {
    f.push_back(static_cast<uint8_t>(v));
    f.push_back(static_cast<uint8_t>(v >> 8));
  }
  for (size_t i = 0; i < 3290; ++i) f.push_back(static_cast<uint8_t>(i % 251 + 1));
  f.resize(f.size() + length + 876, 0);
  uint32_t sum = std::accumulate(f.begin(), f.end(), 0u);
  for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(sum >> (8 * i)));
  Load(f);
  ASSERT_EQ(fs.st.FirmwareOK, 1);
  auto key = [](size_t at) { return at < 3290 ? static_cast<uint8_t>(at % 251 + 1) : uint8_t{0}; };
  const auto& img = fs.st.FirmwareImage;
  const size_t groups[] = {0, 1, 822, 823, 1023, 1024, 1027};
  for (size_t j : groups) {
    size_t t = 4 * (j % 1024);
    EXPECT_EQ(img[4 * j], key(t)) << j;
    EXPECT_EQ(img[4 * j + 1], key(t + 1)) << j;
    EXPECT_EQ(img[4 * j + 2], key(t)) << j;
    EXPECT_EQ(img[4 * j + 3], key(t + 1)) << j;
  }
  EXPECT_EQ(img[4 * 822], 3288 % 251 + 1);
  EXPECT_EQ(img[4 * 823], 0);
  EXPECT_EQ(img[4096], 1);  // group 1024 uses the table's start again
}

TEST_F(FirmwareFileFixture, SeventeenBytesUnscrambleThirtyTwo) {
  FirmwareRecipe r;
  r.image = PlainImage(17);
  r.pad = 0x3C;
  std::vector<uint8_t> file = BuildFirmwareFile(r);
  Load(file);
  ASSERT_EQ(fs.st.FirmwareOK, 1);
  const auto& img = fs.st.FirmwareImage;
  EXPECT_TRUE(std::equal(r.image.begin(), r.image.end(), img.begin()));
  for (size_t i = 17; i < 32; ++i) EXPECT_EQ(img[i], 0x3C) << i;
  // From byte 32 on the buffer still holds the file as read.
  for (size_t i = 32; i < 64; ++i) EXPECT_EQ(img[i], file[i]) << i;
}

struct VersionCase {
  const char* field;
  const char* kept;  // 8 characters
};

class VersionField : public FirmwareFileFixture, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionField, IsKeptOnlyWhenItBeginsWithV) {
  FirmwareRecipe r;
  r.image = PlainImage(64);
  r.version = GetParam().field;
  Load(BuildFirmwareFile(r));
  EXPECT_EQ(fs.st.FirmwareOK, 1);
  EXPECT_EQ(Version(fs.st), std::string(GetParam().kept, 8));
}

INSTANTIATE_TEST_SUITE_P(Fields, VersionField,
                         ::testing::Values(VersionCase{"V2.04", "V2.04\0\0\0"}, VersionCase{"V", "V\0\0\0\0\0\0\0"},
                                           VersionCase{"v2.04", "\0\0\0\0\0\0\0\0"},
                                           VersionCase{"2.04V", "\0\0\0\0\0\0\0\0"},
                                           VersionCase{"", "\0\0\0\0\0\0\0\0"}),
                         [](const auto& info) { return ::zek::testing::CaseName(info.param.field); });

struct DamageCase {
  const char* name;
  void (*damage)(FirmwareRecipe&);
  const char* reason;  // how the refusal line goes on
};

class DamagedFiles : public FirmwareFileFixture, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedFiles, AreRefusedWithTheirReason) {
  // A good file first: a failed load must not leave its version behind.
  FirmwareRecipe good;
  good.image = PlainImage(100);
  Load(BuildFirmwareFile(good));
  ASSERT_EQ(fs.st.FirmwareOK, 1);

  FirmwareRecipe r;
  r.image = PlainImage(3000);
  GetParam().damage(r);
  Load(BuildFirmwareFile(r));
  EXPECT_EQ(fs.st.FirmwareOK, 0);
  EXPECT_EQ(Version(fs.st), std::string(8, '\0'));
  ASSERT_EQ(fs.memo.lines.size(), 1u);
  EXPECT_TRUE(fs.memo.lines[0].starts_with(std::string("> 10:15:02 Firmware file \"DKxLumZEK.FWR\" refused: ") +
                                           GetParam().reason))
      << fs.memo.lines[0];
}

constexpr char kBadTag[] = "its tag does not read \"DvkFmWr\"!";
constexpr char kBadSum[] = "its sum is 0x";

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedFiles,
    ::testing::Values(
        DamageCase{"tag", [](FirmwareRecipe& r) { r.tag = "DvkFmWR"; }, kBadTag},
        DamageCase{"tag_with_zero", [](FirmwareRecipe& r) { r.tag = std::string("Dvk\0mWr", 7); }, kBadTag},
        DamageCase{"sum_plus_one", [](FirmwareRecipe& r) { r.sum_error = 1; }, kBadSum},
        DamageCase{"sum_high_byte", [](FirmwareRecipe& r) { r.sum_error = 0x1000000; }, kBadSum},
        DamageCase{"tail_byte", [](FirmwareRecipe& r) { r.tail = 0; r.sum_error = 0x5E; }, kBadSum},
        DamageCase{"too_long", [](FirmwareRecipe& r) { r.extra = 65536; }, "it is longer than 65536 bytes!"},
        DamageCase{"length_past_file", [](FirmwareRecipe& r) { r.declared_length = 3017; }, "it ends before"},
        DamageCase{"cut_in_sum", [](FirmwareRecipe& r) { r.cut = 1; }, "it ends before"},
        DamageCase{"cut_in_header", [](FirmwareRecipe& r) { r.cut = 3000 + 876 + 4 + 100; }, "it ends before"},
        DamageCase{"end_below_0x1000", [](FirmwareRecipe& r) { r.end_address = 0x0FFF; }, "end address 0x0FFF"},
        DamageCase{"end_above_0x8FFF", [](FirmwareRecipe& r) { r.end_address = 0x9000; }, "end address 0x9000"},
        DamageCase{"end_zero", [](FirmwareRecipe& r) { r.end_address = 0; }, "end address 0x0000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirmwareFileFixture, ShortFilesAreNeverReadPast) {
  FirmwareRecipe r;
  r.image = PlainImage(16);
  const std::vector<uint8_t> file = BuildFirmwareFile(r);
  for (size_t n : {0, 1, 6, 7, 25, 3315, 3316}) {
    Load(std::vector<uint8_t>(file.begin(), file.begin() + n));
    EXPECT_EQ(fs.st.FirmwareOK, 0) << n;
  }
}

TEST_F(FirmwareFileFixture, EdgesOfTheModelAreAccepted) {
  struct Edge {
    size_t length;
    uint16_t end;
    size_t extra;
  };
  // 61328 image bytes and 13 after the sum fill a 65536-byte file.
  for (Edge e : {Edge{0, 0x1000, 0}, Edge{61328, 0x8FFF, 13}, Edge{16, 0x1000, 0}}) {
    FirmwareRecipe r;
    r.image = PlainImage(e.length);
    r.end_address = e.end;
    r.extra = e.extra;
    std::vector<uint8_t> file = BuildFirmwareFile(r);
    if (e.extra) {
      ASSERT_EQ(file.size(), 65536u);
    }
    Load(file);
    EXPECT_EQ(fs.st.FirmwareOK, 1) << e.length << " bytes, file " << file.size();
    EXPECT_TRUE(std::equal(r.image.begin(), r.image.end(), fs.st.FirmwareImage.begin()));
  }
  // Bytes after the stored sum are not read.
  FirmwareRecipe r;
  r.image = PlainImage(32);
  r.extra = 10;
  Load(BuildFirmwareFile(r));
  EXPECT_EQ(fs.st.FirmwareOK, 1);
  EXPECT_TRUE(fs.memo.lines.empty());
}

TEST_F(FirmwareFileFixture, ALaterLoadLeavesNothingOfAnEarlierOne) {
  FirmwareRecipe big;
  big.image = PlainImage(50000);
  Load(BuildFirmwareFile(big));
  FirmwareRecipe small;
  small.image = PlainImage(16);
  std::vector<uint8_t> file = BuildFirmwareFile(small);
  Load(file);
  ASSERT_EQ(fs.st.FirmwareOK, 1);
  for (size_t i = file.size(); i < fs.st.FirmwareImage.size(); ++i) ASSERT_EQ(fs.st.FirmwareImage[i], 0xFF) << i;
}

struct FileOnDisk : FirmwareFileFixture {
  void SetUp() override {
    path = (std::filesystem::temp_directory_path() / ("zek_fwr_" + std::to_string(::getpid()) + ".FWR")).string();
  }
  void TearDown() override { std::filesystem::remove_all(path); }
  std::string path;
};

TEST_F(FileOnDisk, LoadsFromAFile) {
  FirmwareRecipe r;
  r.image = PlainImage(2048 * 5);
  testing::WriteBytes(path, BuildFirmwareFile(r));
  LoadFirmwareFile(fs.st, path);
  EXPECT_EQ(fs.st.FirmwareOK, 1);
  EXPECT_TRUE(std::equal(r.image.begin(), r.image.end(), fs.st.FirmwareImage.begin()));
}

TEST_F(FileOnDisk, AFileLongerThan64KiBIsRefusedByItsPath) {
  FirmwareRecipe r;
  r.image = PlainImage(61328);
  r.extra = 14;  // one byte past 65536
  testing::WriteBytes(path, BuildFirmwareFile(r));
  LoadFirmwareFile(fs.st, path);
  EXPECT_EQ(fs.st.FirmwareOK, 0);
  ASSERT_EQ(fs.memo.lines.size(), 1u);
  EXPECT_EQ(fs.memo.lines[0],
            "> 10:15:02 Firmware file \"" + path + "\" refused: it is longer than 65536 bytes!");
}

// A file that cannot be read loads nothing, says why, and lets start-up
// go on: a missing file, a folder of that name, a read that fails.
TEST_F(FileOnDisk, AnUnreadableFileIsNotLoadedAndSaysWhy) {
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    const char* reason;
  };
  const Case cases[] = {
      {"missing", [](const std::string&) {}, "File not found"},
      {"folder", [](const std::string& p) { std::filesystem::create_directory(p); }, "Invalid file name"},
      {"read error", [](const std::string& p) { std::filesystem::create_symlink("/proc/self/mem", p); },
       "I/O error"},
  };
  for (const Case& c : cases) {
    fs.memo.lines.clear();
    std::filesystem::remove_all(path);
    c.make(path);
    fs.st.FirmwareOK = 1;
    fs.st.FirmwareVersion[0] = 'V';
    EXPECT_NO_THROW(LoadFirmwareFile(fs.st, path)) << c.name;
    EXPECT_EQ(fs.st.FirmwareOK, 0) << c.name;
    EXPECT_EQ(fs.st.FirmwareVersion[0], 0) << c.name;
    EXPECT_EQ(fs.memo.lines,
              std::vector<std::string>{"> 10:15:02 Firmware file \"" + path + "\" refused: it cannot be read (" +
                                       c.reason + ")!"})
        << c.name;
  }
}

}  // namespace
}  // namespace zek
