#include "station/data/object_file_hex.h"

#include <gtest/gtest.h>

#include "station/data/errors.h"
#include "station/data/object_file_records.h"
#include "tests/data/image_fixture.h"
#include "tests/data/record_text.h"
#include "tests/data/temp_dir.h"

namespace zek {
namespace {

using testing::HexRecord;

const std::vector<uint8_t> kSixteen = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                       0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
constexpr uint32_t kSixteenSum = 0x7F8;

class HexLineTest : public testing::ImageFixture {
 protected:
  uint8_t Parse(const std::string& line) {
    return ParseHexLine(st, line, linear, segment, sum, highest, lowest);
  }
  uint32_t linear = 0, segment = 0, sum = 0, highest = 0, lowest = 0xFFFFFFFF;
};

struct CodeCase {
  const char* name;
  std::string line;
  uint8_t code;
};

// Records that store nothing: their code and untouched state.
const CodeCase kNoDataCases[] = {
    {"EndOfFile", ":00000001FF", kRecordOk},
    {"CountZeroSkipsChecksum", ":00000000AB", kRecordOk},
    {"CountZeroAnyType", ":00123409AB", kRecordOk},
    {"NoColon", "10000000" + testing::HexDigits(kSixteen) + "00", kRecordBadStart},
    {"Empty", "", kRecordBadStart},
    {"LeadingBlank", " :00000001FF", kRecordBadStart},
    {"Type01NotChecked", ":0100000100AB", kRecordOk},
    {"Type03NotChecked", ":0400000300000000AB", kRecordOk},
    {"Type05NotChecked", ":0400000500000000AB", kRecordOk},
    {"Type06", ":0100000600F9", kRecordUnknownType},
    {"TypeFF", ":010000FF0000", kRecordUnknownType},
    {"Type02WithAddressField", HexRecord(0x02, 0x0001, {0x10, 0x00}), kRecordBadBaseField},
    {"Type04WithAddressField", HexRecord(0x04, 0x0100, {0x00, 0x01}), kRecordBadBaseField},
    {"ShortHeader", ":1000000", kRecordBadChecksum},
    {"JustColon", ":", kRecordBadChecksum},
    {"ShortData", ":10010000AABBCC", kRecordBadChecksum},
    {"DataWithoutChecksum", HexRecord(0x00, 0x0100, kSixteen).substr(0, 41), kRecordBadChecksum},
    {"ShortBaseRecord", ":020000040000", kRecordBadChecksum},
};

class HexNoDataTest : public HexLineTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(HexNoDataTest, GivesItsCodeAndStoresNothing) {
  EXPECT_EQ(Parse(GetParam().line), GetParam().code);
  EXPECT_TRUE(ImagesUntouched());
  EXPECT_EQ(linear, 0u);
  EXPECT_EQ(segment, 0u);
  EXPECT_EQ(sum, 0u);
  EXPECT_EQ(lowest, 0xFFFFFFFFu);
  EXPECT_EQ(highest, 0u);
  EXPECT_TRUE(fs.boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Records, HexNoDataTest, ::testing::ValuesIn(kNoDataCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HexLineTest, DataRecordIsStoredSummedAndWidensTheRange) {
  EXPECT_EQ(Parse(HexRecord(0x00, 0x0100, kSixteen)), kRecordOk);
  EXPECT_EQ(Main(0x100, 16), kSixteen);
  EXPECT_EQ(st.MainBuffer[0xFF], 0xFF);
  EXPECT_EQ(st.MainBuffer[0x110], 0xFF);
  EXPECT_EQ(sum, kSixteenSum);
  EXPECT_EQ(lowest, 0x100u);
  EXPECT_EQ(highest, 0x10Fu);
  EXPECT_EQ(st.ParsedByteSum, 0);

  EXPECT_EQ(Parse(HexRecord(0x00, 0x0080, {0x01, 0x02})), kRecordOk);
  EXPECT_EQ(lowest, 0x80u);
  EXPECT_EQ(highest, 0x10Fu);
  EXPECT_EQ(sum, kSixteenSum + 3);
}

TEST_F(HexLineTest, LowerCaseDigitsAreRead) {
  std::string line = HexRecord(0x00, 0x0010, {0xAB, 0xCD});
  for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(Parse(line), kRecordOk);
  EXPECT_EQ(Main(0x10, 2), (std::vector<uint8_t>{0xAB, 0xCD}));
}

TEST_F(HexLineTest, WrongChecksumKeepsTheStoredBytes) {
  EXPECT_EQ(Parse(HexRecord(0x00, 0x0200, kSixteen, -1)), kRecordBadChecksum);
  EXPECT_EQ(Main(0x200, 16), kSixteen);
  EXPECT_EQ(sum, kSixteenSum);
}

TEST_F(HexLineTest, OneByteAtTheChipEndIsTheLastFlashByte) {
  EXPECT_EQ(Parse(HexRecord(0x00, 0xFFFF, {0x5A})), kRecordOk);
  EXPECT_EQ(st.MainBuffer[0xFFFF], 0x5A);
}

TEST_F(HexLineTest, RecordRunningPastTheChipEndIsStoredWhole) {
  EXPECT_EQ(Parse(HexRecord(0x00, 0xFFF8, kSixteen)), kRecordOk);
  EXPECT_EQ(Main(0xFFF8, 16), kSixteen);
  EXPECT_EQ(highest, 0x10007u);
}

TEST_F(HexLineTest, LinearBase4000AddressesTheEepromOfClass00) {
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0x40, 0x00})), kRecordOk);
  EXPECT_EQ(linear, 0x40000000u);
  EXPECT_EQ(Parse(HexRecord(0x00, 0x0000, {0x12, 0x34})), kRecordOk);
  EXPECT_EQ(Eep(0, 2), (std::vector<uint8_t>{0x12, 0x34}));
  EXPECT_EQ(sum, 0x46u);
  EXPECT_EQ(st.ParsedByteSum, 0x46);
  EXPECT_EQ(lowest, 0x40000000u);
  EXPECT_EQ(highest, 0x40000001u);
}

TEST_F(HexLineTest, SegmentAndLinearBasesAdd) {
  EXPECT_EQ(Parse(HexRecord(0x02, 0, {0x00, 0x10})), kRecordOk);
  EXPECT_EQ(segment, 0x100u);
  EXPECT_EQ(Parse(HexRecord(0x00, 0x0010, {0x77})), kRecordOk);
  EXPECT_EQ(st.MainBuffer[0x110], 0x77);
  // A linear base keeps the segment base: 0x40000000 + 0x100 + 0x10.
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0x40, 0x00})), kRecordOk);
  EXPECT_EQ(Parse(HexRecord(0x00, 0x0010, {0x66})), kRecordOk);
  EXPECT_EQ(st.EepBuffer[0x110], 0x66);
}

TEST_F(HexLineTest, BaseRecordWithWrongChecksumStillSetsTheBase) {
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0x00, 0x01}, 1)), kRecordBadChecksum);
  EXPECT_EQ(linear, 0x10000u);
}

TEST_F(HexLineTest, BaseRecordTakesTwoValueBytesWhateverTheCount) {
  // Count 1, but the value is still read from both data bytes.
  EXPECT_EQ(Parse(":010000020010ED"), kRecordOk);
  EXPECT_EQ(segment, 0x100u);
}

TEST_F(HexLineTest, AddressOutsideTheChipIsRefusedAfterWideningTheRange) {
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0x00, 0x02})), kRecordOk);
  EXPECT_EQ(Parse(HexRecord(0x00, 0x0000, kSixteen, 5)), kRecordOutOfRange);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0x00020000 超出芯片范围，请确认！"}));
  EXPECT_EQ(fs.boxes.shown[0].kind, "plain");
  EXPECT_EQ(lowest, 0x20000u);
  EXPECT_EQ(highest, 0x2000Fu);
  EXPECT_EQ(sum, 0u);
  EXPECT_TRUE(ImagesUntouched());
}

TEST_F(HexLineTest, EmptyEepromOfClass80IsNoEeprom) {
  Select(0x80, 8, 0);  // EEPROM range 0 .. 0xFFFFFFFF
  EXPECT_EQ(Parse(HexRecord(0x00, 0x3000, {0x01})), kRecordOutOfRange);
  EXPECT_TRUE(ImagesUntouched());
}

TEST_F(HexLineTest, AbsentEepromMatchesNoAddress) {
  Select(0x90, 8, 0);  // EEPROM range -1, -1
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0xFF, 0xFF})), kRecordOk);
  EXPECT_EQ(Parse(HexRecord(0x00, 0xFFFF, {0x01})), kRecordOutOfRange);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0xFFFFFFFF 超出芯片范围，请确认！"}));
}

TEST_F(HexLineTest, RangeEndHoldsAtTheTopOfTheAddressSpace) {
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0xFF, 0xFF})), kRecordOk);
  EXPECT_EQ(Parse(HexRecord(0x00, 0xFFF8, kSixteen)), kRecordOutOfRange);
  EXPECT_EQ(lowest, 0xFFFFFFF8u);
  EXPECT_EQ(highest, 0xFFFFFFFFu);
}

TEST_F(HexLineTest, FlashRecordIsCutAtTheImageEnd) {
  Select(0x00, 4096, 0);  // a flash range wider than MainBuffer
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0x00, 0x1F})), kRecordOk);
  EXPECT_EQ(Parse(HexRecord(0x00, 0xFFF8, kSixteen)), kRecordOutOfRange);
  EXPECT_EQ(Main(0x1FFFF8, 8), std::vector<uint8_t>(kSixteen.begin(), kSixteen.begin() + 8));
  EXPECT_EQ(sum, 0x00u + 0x11 + 0x22 + 0x33 + 0x44 + 0x55 + 0x66 + 0x77);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0x00200000 超出芯片范围，请确认！"}));

  fs.boxes.shown.clear();
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0x00, 0x30})), kRecordOk);
  EXPECT_EQ(Parse(HexRecord(0x00, 0x0000, {0x01})), kRecordOutOfRange);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0x00300000 超出芯片范围，请确认！"}));
}

TEST_F(HexLineTest, EepromRecordIsCutAtTheImageEnd) {
  Select(0x00, 64, 0xFFFF);  // an EEPROM range wider than EepBuffer
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0x40, 0x00})), kRecordOk);
  EXPECT_EQ(Parse(HexRecord(0x00, 0x7FFC, kSixteen)), kRecordOutOfRange);
  EXPECT_EQ(Eep(0x7FFC, 4), std::vector<uint8_t>(kSixteen.begin(), kSixteen.begin() + 4));
  EXPECT_EQ(st.ParsedByteSum, 0x66);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"地址 0x40008000 超出芯片范围，请确认！"}));
}

TEST_F(HexLineTest, EepromOffsetWrapsAt64KiB) {
  st.EepEndAddress = 0x4001FFFF;  // as a project file may set it
  EXPECT_EQ(Parse(HexRecord(0x04, 0, {0x40, 0x01})), kRecordOk);
  EXPECT_EQ(Parse(HexRecord(0x00, 0x0010, {0x42})), kRecordOk);
  EXPECT_EQ(st.EepBuffer[0x10], 0x42);
}

// ---- whole files

class HexFileTest : public HexLineTest {
 protected:
  uint32_t file_low = 0x1111, file_high = 0x2222;
  void Read(const std::string& content) {
    ReadHexFile(st, dir.Write("image.hex", content), file_low, file_high, sum);
  }
  testing::TempDir dir;
};

TEST_F(HexFileTest, ReadsEveryLineAndHandsBackTheRange) {
  Read(HexRecord(0x00, 0x0010, {1, 2, 3}) + "\r\n" + HexRecord(0x00, 0x0000, {4}) + "\r\n:00000001FF\r\n");
  EXPECT_EQ(Main(0, 1), std::vector<uint8_t>{4});
  EXPECT_EQ(Main(0x10, 3), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(file_low, 0u);
  EXPECT_EQ(file_high, 0x12u);
  EXPECT_EQ(sum, 10u);
  EXPECT_TRUE(fs.boxes.shown.empty());
}

TEST_F(HexFileTest, BadLineAsksAndOkGoesOn) {
  Read("\n" + HexRecord(0x00, 0x0010, {1}) + "\n" + HexRecord(0x00, 0x0020, {2}, 1) + "\n" +
       HexRecord(0x00, 0x0030, {3}) + "\n");
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].kind, "error");
  EXPECT_EQ(fs.boxes.shown[0].text, "Line 3 : " + HexRecord(0x00, 0x0020, {2}, 1) + ", Error=4.");
  EXPECT_EQ(st.MainBuffer[0x30], 3);
  EXPECT_EQ(file_high, 0x30u);
}

TEST_F(HexFileTest, AbortStopsAtOnceAndKeepsTheRangeBeforeTheLine) {
  fs.boxes.answers = {BoxChoice::Abort};
  Read(HexRecord(0x00, 0x0010, {1}) + "\n" + HexRecord(0x04, 0, {0x00, 0x05}) + "\n" +
       HexRecord(0x00, 0x0000, {2}) + "\n" + HexRecord(0x00, 0x0030, {3}) + "\n");
  EXPECT_EQ(fs.boxes.shown.size(), 2u);  // address box, then the line box
  EXPECT_EQ(fs.boxes.shown[1].text, "Line 3 : " + HexRecord(0x00, 0x0000, {2}) + ", Error=8.");
  EXPECT_EQ(st.MainBuffer[0x30], 0xFF);
  EXPECT_EQ(file_low, 0x10u);
  EXPECT_EQ(file_high, 0x10u);
}

TEST_F(HexFileTest, LineEndsOfEveryKindAndNoFinalNewline) {
  Read(HexRecord(0x00, 0x0001, {1}) + "\r" + HexRecord(0x00, 0x0002, {2}) + "\n\r\n" +
       HexRecord(0x00, 0x0003, {3}) + "\r\r" + HexRecord(0x00, 0x0004, {4}, 1));
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].text, "Line 6 : " + HexRecord(0x00, 0x0004, {4}, 1) + ", Error=4.");
  EXPECT_EQ(Main(1, 4), (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST_F(HexFileTest, FileWithoutLinesLeavesTheOutValues) {
  Read("");
  EXPECT_EQ(file_low, 0x1111u);
  EXPECT_EQ(file_high, 0x2222u);
  Read("\n\n");
  EXPECT_EQ(file_low, 0x1111u);
  EXPECT_EQ(file_high, 0x2222u);
}

TEST_F(HexFileTest, FileWithOnlyAnEndRecordGivesAnEmptyRange) {
  Read(":00000001FF\n");
  EXPECT_EQ(file_low, 0xFFFFFFFFu);
  EXPECT_EQ(file_high, 0u);
}

TEST_F(HexFileTest, VeryLongLineIsOneBadLine) {
  std::string junk(300000, '7');
  Read(HexRecord(0x00, 0x0001, {1}) + "\n:" + junk + "\n" + HexRecord(0x00, 0x0002, {2}) + "\n");
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].text.substr(0, 12), "Line 2 : :77");
  EXPECT_EQ(Main(1, 2), (std::vector<uint8_t>{1, 2}));
}

TEST_F(HexFileTest, MissingFileRaisesTheFileError) {
  try {
    ReadHexFile(st, dir.File("none.hex"), file_low, file_high, sum);
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), FileErrorText(ENOENT).c_str());
  }
}

TEST_F(HexFileTest, FolderInPlaceOfAFileRaisesTheFileError) {
  EXPECT_THROW(ReadHexFile(st, dir.File(""), file_low, file_high, sum), FileError);
  EXPECT_EQ(file_low, 0x1111u);
}

}  // namespace
}  // namespace zek
