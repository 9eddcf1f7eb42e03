// The loaders' common frame: which lines reach the parser, line numbers in
// the box, what OK and Abort do, when a silent load stops, and when start,
// end and sum reach the caller.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "filelib/intel_hex_loaders.h"
#include "filelib/srecord_loaders.h"
#include "filelib/text_loaders.h"
#include "tests/filelib/filelib_test_support.h"
#include "tests/filelib/image_buffer.h"
#include "tests/filelib/record_lines.h"

namespace {

using namespace rhbtest;
using rhb::BoxAnswer;

constexpr uint32_t kPreset = 0xA5A5A5A5;

// Lines 1-6 hold one byte each at 0x00, 0x10, ... 0x50; line 7 (at 0x60) has
// a wrong checksum; line 8 is good again at 0x70.
std::string HexWithBadLine7() {
  std::string t;
  for (uint16_t i = 0; i < 8; ++i) t += IntelLine(0, static_cast<uint16_t>(i * 0x10), {0x42}, i == 6 ? 1 : 0) + "\n";
  return t;
}

std::string SWithBadLine7() {
  std::string t;
  for (uint16_t i = 0; i < 8; ++i)
    t += SLine('1', static_cast<uint32_t>(0x4000 + i * 0x10), {0x42}, i == 6 ? 1 : 0) + "\n";
  return t;
}

// A data record outside the plain window on line 2, a bad checksum on line 3.
std::string HexOutsideThenBad() {
  return IntelBase(4, 0x00F0) + "\n" + IntelLine(0, 0x0000, {1, 2}) + "\n" + IntelBase(4, 0) + "\n" +
         IntelLine(0, 0x0010, {3}, 1) + "\n" + IntelLine(0, 0x0020, {4}) + "\n";
}

struct LoadRun {
  int32_t result;
  uint32_t start = kPreset;
  uint32_t end = kPreset;
  uint32_t sum = kPreset;
  ScriptedBox box;
};

void LoadHexText(const std::string& text, const rhb::HexLoader& loader, uint32_t base,
                 std::vector<BoxAnswer> answers, LoadRun& r, bool with_sum = false) {
  ImageBuffer image;
  rhb::MemorySource source(text);
  r.box.answers.assign(answers.begin(), answers.end());
  rhb::LoadTarget t{image.data(), base, &r.start, &r.end, with_sum ? &r.sum : nullptr};
  rhb::FrameResult f = rhb::LoadHex(source, loader, t, r.box);
  r.result = rhb::SilentResult(f);
  if (rhb::IsInteractive(loader.rule)) rhb::ReportAfterLoad(f, r.box);
}

void LoadSText(const std::string& text, const rhb::SLoader& loader, uint32_t base, std::vector<BoxAnswer> answers,
               LoadRun& r, bool with_sum = false) {
  ImageBuffer image;
  rhb::MemorySource source(text);
  r.box.answers.assign(answers.begin(), answers.end());
  rhb::LoadTarget t{image.data(), base, &r.start, &r.end, with_sum ? &r.sum : nullptr};
  rhb::FrameResult f = rhb::LoadSRecords(source, loader, t, r.box);
  r.result = rhb::SilentResult(f);
  if (rhb::IsInteractive(loader.rule)) rhb::ReportAfterLoad(f, r.box);
}

struct RuleCase {
  const char* name;
  bool srecord;
  const rhb::HexLoader* hex;
  const rhb::SLoader* s;
  std::string text;
  uint32_t base;
  std::vector<BoxAnswer> answers;
  bool with_sum;
  // expected: the silent result (0 where an interactive load went on)
  int32_t result;
  std::vector<std::string> asked;
  std::vector<std::string> infos;
  uint32_t start;
  uint32_t end;
  uint32_t sum;
};

const std::string kLine7 = "Line 7 Data Error : 4.";
const std::string kOutside = "Has Data out of the Address Space!";

std::vector<RuleCase> Cases() {
  using namespace rhb;
  const auto A = BoxAnswer::Abort;
  const auto O = BoxAnswer::Ok;
  return {
      {"HexOkGoesOn", false, &kDoOpenFile_HEX_Routine, nullptr, HexWithBadLine7(), 0, {O}, false, 0, {kLine7}, {},
       0, 0x70, kPreset},
      {"HexAbortKeepsLine6", false, &kDoOpenFile_HEX_Routine, nullptr, HexWithBadLine7(), 0, {A}, false, 4,
       {kLine7}, {}, 0, 0x50, kPreset},
      {"Hex18FxAbort", false, &kDoOpenFile18Fx_HEX_Routine, nullptr, HexWithBadLine7(), 0, {A}, false, 4, {kLine7},
       {}, 0, 0x50, kPreset},
      {"Hex33FxOk", false, &kDoOpenFile33Fx_HEX_Routine, nullptr, HexWithBadLine7(), 0, {O}, false, 0, {kLine7}, {},
       0, 0x70, kPreset},
      {"Hex32AbortStillGoesOn", false, &kDoOpenFile_HEX32_Routine, nullptr, HexWithBadLine7(), 0, {A}, true, 0,
       {kLine7}, {}, 0, 0x70, 8 * 0x42},
      {"SilentHexStopsAtLine7", false, &kExeOpenFile_HEX_RoutAndRT, nullptr, HexWithBadLine7(), 0, {}, false, 4,
       {}, {}, 0, 0x50, kPreset},
      {"Silent18FxStops", false, &kExeOpenFile18Fx_HEX_RoutAndRT, nullptr, HexWithBadLine7(), 0, {}, false, 4, {},
       {}, 0, 0x50, kPreset},
      {"SilentHex32SumAfterStop", false, &kExeOpenFile_HEX32_RoutAndRT, nullptr, HexWithBadLine7(), 0, {}, true, 4,
       {}, {}, 0, 0x50, 7 * 0x42},
      {"SilentHexOutsideWinsOverLaterStop", false, &kExeOpenFile_HEX_RoutAndRT, nullptr, HexOutsideThenBad(), 0,
       {}, false, 6, {}, {}, 0xF00000, 0xF00001, kPreset},
      {"InteractiveHexOutsideAtEnd", false, &kDoOpenFile_HEX_Routine, nullptr, HexOutsideThenBad(), 0, {O}, false,
       6, {"Line 4 Data Error : 4."}, {kOutside}, 0x10, 0xF00001, kPreset},
      {"InteractiveHexOutsideThenAbort", false, &kDoOpenFile_HEX_Routine, nullptr, HexOutsideThenBad(), 0, {A},
       false, 6, {"Line 4 Data Error : 4."}, {kOutside}, 0xF00000, 0xF00001, kPreset},
      {"SilentHex32StopsAtOutside", false, &kExeOpenFile_HEX32_RoutAndRT, nullptr, HexOutsideThenBad(), 0, {},
       false, 6, {}, {}, 0xFFFFFFFF, 0, kPreset},
      {"Hex32OutsideNoBox", false, &kDoOpenFile_HEX32_Routine, nullptr, HexOutsideThenBad(), 0, {}, false, 0,
       {"Line 4 Data Error : 4."}, {}, 0x10, 0xF00000, kPreset},
      {"SkippedLinesStillCounted", false, &kDoOpenFile_HEX_Routine, nullptr,
       "\nab\n:00000001FF\n:00FFFF0101\nxyz\n", 0, {}, false, 0, {"Line 5 Data Error : 1."}, {}, 0xFFFFFFFF, 0,
       kPreset},
      {"OnlyEndMarkLeavesStartEnd", false, &kExeOpenFile_HEX_RoutAndRT, nullptr, ":00000001FF\n", 0, {}, false, 0,
       {}, {}, kPreset, kPreset, kPreset},
      {"LowerCaseEndMarkReachesParser", false, &kExeOpenFile_HEX_RoutAndRT, nullptr, ":00000001ff\n", 0, {}, false,
       0, {}, {}, 0xFFFFFFFF, 0, kPreset},
      {"EmptyFile", false, &kExeOpenFile_HEX_RoutAndRT, nullptr, "", 0, {}, false, 0, {}, {}, kPreset, kPreset,
       kPreset},
      {"CrLfLines", false, &kExeOpenFile_HEX_RoutAndRT, nullptr, IntelLine(0, 0x20, {7}) + "\r\n" + ":00000001FF\r\n",
       0, {}, false, 0, {}, {}, 0x20, 0x20, kPreset},
      {"S19OutsideAsksLikeAnyCode", true, nullptr, &kDoOpenFile_S19_Routine, SLine('3', 0x01000000, {1}) + "\n", 0,
       {A}, false, 6, {"Line 1 Data Error : 6."}, {}, kPreset, kPreset, kPreset},
      {"S19SilentStops", true, nullptr, &kExeOpenFile_S19_RoutAndRT, SWithBadLine7(), 0, {}, false, 4, {}, {},
       0x4000, 0x4050, kPreset},
      {"S19SkipsOnlyShortLines", true, nullptr, &kExeOpenFile_S19_RoutAndRT, "S9\n:00000001FF\n", 0, {}, false, 1,
       {}, {}, kPreset, kPreset, kPreset},
      {"SxxSumAfterAbort", true, nullptr, &kDoOpenFile_SXx_Routine, SWithBadLine7(), 0x4000, {A}, true, 4, {kLine7},
       {}, 0x4000, 0x4050, 7 * 0x42},
      {"SxxOutsideNoBox", true, nullptr, &kDoOpenFile_SXx_Routine,
       SLine('1', 0x4010, {1}) + "\n" + SLine('3', 0x800000, {2}) + "\n" + SLine('1', 0x4020, {3}) + "\n", 0x4000,
       {}, true, 0, {}, {}, 0x4010, 0x800000, 4},
      {"SxxSilentStopsAtOutside", true, nullptr, &kExeOpenFile_SXx_RoutAndRT,
       SLine('1', 0x4010, {1}) + "\n" + SLine('3', 0x800000, {2}) + "\n" + SLine('1', 0x4020, {3}) + "\n", 0x4000,
       {}, true, 6, {}, {}, 0x4010, 0x4010, 1},
  };
}

class LoaderRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(LoaderRuleTest, BoxesResultAndOutValues) {
  const RuleCase& c = GetParam();
  LoadRun r;
  if (c.srecord)
    LoadSText(c.text, *c.s, c.base, c.answers, r, c.with_sum);
  else
    LoadHexText(c.text, *c.hex, c.base, c.answers, r, c.with_sum);
  EXPECT_EQ(r.result, c.result);
  EXPECT_EQ(r.box.asked, c.asked);
  EXPECT_EQ(r.box.infos, c.infos);
  EXPECT_EQ(r.start, c.start);
  EXPECT_EQ(r.end, c.end);
  EXPECT_EQ(r.sum, c.sum);
}

INSTANTIATE_TEST_SUITE_P(Rules, LoaderRuleTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LoaderFrameTest, LineCountWrapsAtSixteenBits) {
  LoadRun r;
  std::string text(65537, '\n');
  text += "garbage\n";
  LoadHexText(text, rhb::kDoOpenFile_HEX_Routine, 0, {}, r);
  EXPECT_EQ(r.box.asked, std::vector<std::string>{"Line 2 Data Error : 1."});
}

// Lines longer than 255 characters are read whole: a line cut there, or
// split into two, would lose data or report a bad record.
TEST(LoaderFrameTest, LongLineIsReadWhole) {
  const std::vector<uint8_t> data = Ramp(255, 0x10);
  const std::string record = IntelLine(0, 0x100, data);
  ASSERT_EQ(record.size(), 521u);
  ImageBuffer image;
  const std::string text = record + "\n:00000001FF\n";
  rhb::MemorySource source(text);
  LoadRun r;
  rhb::LoadTarget t{image.data(), 0, &r.start, &r.end, nullptr};
  EXPECT_EQ(rhb::SilentResult(rhb::LoadHex(source, rhb::kExeOpenFile_HEX_RoutAndRT, t, r.box)), 0);
  EXPECT_EQ(r.start, 0x100u);
  EXPECT_EQ(r.end, 0x1FEu);
  EXPECT_EQ(image.At(0x100, 255), data);
  EXPECT_EQ(image.Changed(), static_cast<size_t>(std::count_if(data.begin(), data.end(), [](uint8_t b) {
              return b != kUntouched;
            })));

  // A TI-430 line of 300 pairs, 900 characters.
  std::string pairs;
  for (int i = 0; i < 300; ++i) pairs += HexByte(static_cast<uint8_t>(i * 7)) + " ";
  ImageBuffer ti;
  const std::string ti_text = "@1000\n" + pairs + "\nq\n";
  rhb::MemorySource ti_source(ti_text);
  uint32_t start = 0, end = 0;
  rhb::LoadTi430Text(ti_source, ti.data(), &start, &end);
  std::vector<uint8_t> expected;
  for (int i = 0; i < 300; ++i) expected.push_back(static_cast<uint8_t>(i * 7));
  EXPECT_EQ(ti.At(0x1000, 300), expected);
  EXPECT_EQ(ti.Changed(), static_cast<size_t>(std::count_if(expected.begin(), expected.end(), [](uint8_t b) {
              return b != kUntouched;
            })));
}

// Gives its text, then fails the next read.
class FailingSource final : public rhb::ByteSource {
 public:
  explicit FailingSource(std::string text) : text_(std::move(text)) {}
  ssize_t Read(char* dst, size_t n) override {
    if (given_) return -1;
    given_ = true;
    size_t k = std::min(n, text_.size());
    std::copy_n(text_.data(), k, dst);
    return static_cast<ssize_t>(k);
  }
  int Errno() const override { return EIO; }

 private:
  std::string text_;
  bool given_ = false;
};

TEST(LoaderFrameTest, ReadErrorKeepsCompletedLinesAndReports) {
  ImageBuffer image;
  FailingSource source(IntelLine(0, 0x40, {9}) + "\n");
  uint32_t start = kPreset, end = kPreset;
  ScriptedBox box;
  rhb::FrameResult f =
      rhb::LoadHex(source, rhb::kExeOpenFile_HEX_RoutAndRT, {image.data(), 0, &start, &end, nullptr}, box);
  EXPECT_EQ(rhb::SilentResult(f), 255);
  EXPECT_EQ(start, 0x40u);
  EXPECT_EQ(end, 0x40u);
  rhb::ReportAfterLoad(f, box);
  EXPECT_EQ(box.errors, std::vector<std::string>{"Disk read error"});
}

}  // namespace
