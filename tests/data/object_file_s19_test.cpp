#include "station/data/object_file_s19.h"

#include <gtest/gtest.h>

#include "station/data/errors.h"
#include "station/data/object_file_records.h"
#include "tests/data/image_fixture.h"
#include "tests/data/record_text.h"
#include "tests/data/temp_dir.h"

namespace zek {
namespace {

using testing::SRecord;

const std::vector<uint8_t> kSixteen = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                       0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
constexpr uint32_t kSixteenSum = 0x7F8;

class S19LineTest : public testing::ImageFixture {
 protected:
  uint8_t Parse(const std::string& line) { return ParseS19Line(st, line, record_address, lowest, sum, highest); }
  uint32_t record_address = 0x5555, lowest = 0xFFFFFFFF, sum = 0, highest = 0;
};

struct CodeCase {
  const char* name;
  std::string line;
  uint8_t code;
};

// Records that store nothing and leave the range alone.
const CodeCase kNoDataCases[] = {
    {"S9", SRecord(9, 0, {}), kRecordOk},
    {"S9WrongChecksum", SRecord(9, 0, {}, 3), kRecordOk},
    {"S5WrongChecksum", "S5030001AA", kRecordOk},
    {"S0Header", SRecord(0, 0, {'H', 'D', 'R'}), kRecordOk},
    {"S7", SRecord(7, 0x100, {}, 1), kRecordOk},
    {"S8", SRecord(8, 0x100, {}, 1), kRecordOk},
    {"S9Bare", "S9", kRecordOk},
    {"S4", "S4030000FC", kRecordBadType},
    {"S6", "S6030000FC", kRecordBadType},
    {"LetterType", "SA030000FC", kRecordBadType},
    {"BlankType", "S 030000FC", kRecordBadType},
    {"BelowDigitType", "S/030000FC", kRecordBadType},
    {"NoType", "S", kRecordBadType},
    {"Empty", "", kRecordBadStart},
    {"LowerCaseS", "s9030000FC", kRecordBadStart},
    {"Colon", ":00000001FF", kRecordBadStart},
    {"S1NoData", SRecord(1, 0x1234, {}), kRecordOk},
    {"S1NoDataAtZero", SRecord(1, 0, {}), kRecordOk},
    {"S1NoDataWrongChecksum", SRecord(1, 0x1234, {}, 1), kRecordBadChecksum},
    {"S3NoDataOutsideTheChip", SRecord(3, 0x7F000000, {}), kRecordOk},
    {"CountBelowAddress", "S1020000FD", kRecordBadChecksum},
    {"S1WithoutAddress", "S113", kRecordBadChecksum},
    {"ShortData", "S11300000011", kRecordBadChecksum},
    {"DataWithoutChecksum", SRecord(1, 0x100, kSixteen).substr(0, 40), kRecordBadChecksum},
    {"S3ShortAddress", "S3150000", kRecordBadChecksum},
};

class S19NoDataTest : public S19LineTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(S19NoDataTest, GivesItsCodeAndStoresNothing) {
  EXPECT_EQ(Parse(GetParam().line), GetParam().code);
  EXPECT_TRUE(ImagesUntouched());
  EXPECT_EQ(sum, 0u);
  EXPECT_EQ(lowest, 0xFFFFFFFFu);
  EXPECT_EQ(highest, 0u);
  EXPECT_TRUE(fs.boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Records, S19NoDataTest, ::testing::ValuesIn(kNoDataCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct DataCase {
  const char* name;
  int type;
  uint32_t address;
  bool eeprom;
  uint32_t index;
};

// Each data record width, into flash and into the EEPROM of a class 0x00 part.
const DataCase kDataCases[] = {
    {"S1Flash", 1, 0x0000, false, 0x0000},
    {"S2Flash", 2, 0x00ABC0, false, 0xABC0},
    {"S3Flash", 3, 0x0000FFF0, false, 0xFFF0},
    {"S3Eeprom", 3, 0x40000000, true, 0},
    {"S3EepromEnd", 3, 0x40000FF0, true, 0xFF0},
};

class S19DataTest : public S19LineTest, public ::testing::WithParamInterface<DataCase> {};

TEST_P(S19DataTest, StoresSumsAndWidens) {
  const DataCase& c = GetParam();
  EXPECT_EQ(Parse(SRecord(c.type, c.address, kSixteen)), kRecordOk);
  EXPECT_EQ(c.eeprom ? Eep(c.index, 16) : Main(c.index, 16), kSixteen);
  EXPECT_EQ(sum, kSixteenSum);
  EXPECT_EQ(static_cast<uint32_t>(st.ParsedByteSum), c.eeprom ? kSixteenSum : 0u);
  EXPECT_EQ(record_address, c.address);
  EXPECT_EQ(lowest, c.address);
  EXPECT_EQ(highest, c.address + 15);
}

TEST_P(S19DataTest, ChecksumOneTooLowKeepsTheBytes) {
  const DataCase& c = GetParam();
  EXPECT_EQ(Parse(SRecord(c.type, c.address, kSixteen, -1)), kRecordBadChecksum);
  EXPECT_EQ(c.eeprom ? Eep(c.index, 16) : Main(c.index, 16), kSixteen);
}

INSTANTIATE_TEST_SUITE_P(Records, S19DataTest, ::testing::ValuesIn(kDataCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(S19LineTest, KnownRecordWithCount13) {
  EXPECT_EQ(Parse("S1130000285F245F2212226A000424290008237C2A"), kRecordOk);
  EXPECT_EQ(Main(0, 4), (std::vector<uint8_t>{0x28, 0x5F, 0x24, 0x5F}));
  EXPECT_EQ(Main(12, 4), (std::vector<uint8_t>{0x00, 0x08, 0x23, 0x7C}));
  EXPECT_EQ(highest, 15u);
}

TEST_F(S19LineTest, DescendingRecordsKeepTheHighestEnd) {
  EXPECT_EQ(Parse(SRecord(1, 0x200, {1, 2})), kRecordOk);
  EXPECT_EQ(Parse(SRecord(1, 0x100, {3, 4, 5, 6})), kRecordOk);
  EXPECT_EQ(lowest, 0x100u);
  EXPECT_EQ(highest, 0x201u);
}

TEST_F(S19LineTest, AddressOutsideTheChipIsRefused) {
  EXPECT_EQ(Parse(SRecord(3, 0x01000000, kSixteen, 2)), kRecordOutOfRange);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0x01000000 超出芯片范围，请确认！"}));
  EXPECT_EQ(record_address, 0x01000000u);
  EXPECT_EQ(lowest, 0x01000000u);
  EXPECT_EQ(highest, 0x0100000Fu);
  EXPECT_TRUE(ImagesUntouched());
}

TEST_F(S19LineTest, RecordRunningPastTheChipEndIsStoredWhole) {
  EXPECT_EQ(Parse(SRecord(1, 0xFFFC, {1, 2, 3, 4, 5, 6})), kRecordOk);
  EXPECT_EQ(Main(0xFFFC, 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST_F(S19LineTest, EepromOffsetDoesNotWrapAndStaysInTheImage) {
  st.EepEndAddress = 0x4001FFFF;  // as a project file may set it
  EXPECT_EQ(Parse(SRecord(3, 0x40010010, {0x42})), kRecordOutOfRange);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0x40010010 超出芯片范围，请确认！"}));
  EXPECT_TRUE(ImagesUntouched());
  EXPECT_EQ(st.ParsedByteSum, 0);
}

TEST_F(S19LineTest, FlashRecordIsCutAtTheImageEnd) {
  Select(0x90, 0, 0);  // flash size 0: range 0 .. 0xFFFFFFFF, which holds nothing
  EXPECT_EQ(Parse(SRecord(3, 0x1FFFF8, kSixteen)), kRecordOutOfRange);
  Select(0x90, 8192, 0);
  fs.boxes.shown.clear();
  EXPECT_EQ(Parse(SRecord(3, 0x1FFFF8, kSixteen)), kRecordOutOfRange);
  EXPECT_EQ(Main(0x1FFFF8, 8), std::vector<uint8_t>(kSixteen.begin(), kSixteen.begin() + 8));
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0x00200000 超出芯片范围，请确认！"}));
}

// ---- whole files

class S19FileTest : public S19LineTest {
 protected:
  uint32_t file_low = 0x1111, file_high = 0x2222;
  void Read(const std::string& content) {
    ReadS19File(st, dir.Write("image.s19", content), file_low, file_high, sum);
  }
  testing::TempDir dir;
};

TEST_F(S19FileTest, EmptyLineIsABadLineWithTwoBlanksBeforeError) {
  Read(SRecord(0, 0, {'h'}) + "\n" + SRecord(1, 0x10, {7}) + "\n\n" + SRecord(9, 0, {}) + "\n");
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].kind, "error");
  EXPECT_EQ(fs.boxes.shown[0].text, "Line 3 : ,  Error=1.");
  EXPECT_EQ(st.MainBuffer[0x10], 7);
  EXPECT_EQ(file_low, 0x10u);
  EXPECT_EQ(file_high, 0x10u);
  EXPECT_EQ(sum, 7u);
}

TEST_F(S19FileTest, RefusedAddressShowsBothBoxesAndAbortStops) {
  fs.boxes.answers = {BoxChoice::Abort};
  Read(SRecord(1, 0x10, {1}) + "\r\n" + SRecord(3, 0x02000000, {2}) + "\r\n" + SRecord(1, 0x20, {3}) + "\r\n");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0x02000000 超出芯片范围，请确认！",
                                                  "Line 2 : " + SRecord(3, 0x02000000, {2}) + ",  Error=8."}));
  EXPECT_EQ(st.MainBuffer[0x20], 0xFF);
  EXPECT_EQ(file_low, 0x10u);
  EXPECT_EQ(file_high, 0x10u);
}

TEST_F(S19FileTest, OkGoesOnAfterABadLine) {
  Read(SRecord(4, 0, {}) + "\n" + SRecord(1, 0x20, {3}) + "\n");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Line 1 : " + SRecord(4, 0, {}) + ",  Error=2."}));
  EXPECT_EQ(st.MainBuffer[0x20], 3);
  EXPECT_EQ(file_high, 0x20u);
}

TEST_F(S19FileTest, FileWithoutLinesLeavesTheOutValues) {
  Read("");
  EXPECT_EQ(file_low, 0x1111u);
  EXPECT_EQ(file_high, 0x2222u);
}

TEST_F(S19FileTest, MissingFileRaisesTheFileError) {
  EXPECT_THROW(ReadS19File(st, dir.File("none.s19"), file_low, file_high, sum), FileError);
}

}  // namespace
}  // namespace zek
