#include "station/data/data_patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include "tests/support/case_names.h"

namespace zek {
namespace {

using Bytes = std::vector<uint8_t>;

struct HexCase {
  const char* text;
  Bytes bytes;
};

class HexPatchBytesTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexPatchBytesTest, ScansBlanksAndDigits) { EXPECT_EQ(HexPatchBytes(GetParam().text), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(Table, HexPatchBytesTest,
                         ::testing::Values(HexCase{"12 34 5", {0x12, 0x34, 0x05}},
                                           HexCase{"12  34", {0x12, 0x00, 0x34}},
                                           HexCase{"123", {0x23}},
                                           HexCase{"G1", {0x01}},
                                           HexCase{" 1", {0x00, 0x01}},
                                           HexCase{"  ", {0x00, 0x00}},
                                           HexCase{"FF ", {0xFF}},
                                           HexCase{"ab cD", {0xAB, 0xCD}},
                                           HexCase{"", {}},
                                           HexCase{"1-2", {0x02}}),
                         [](const auto& info) { return std::to_string(info.index) + "_" + ::zek::testing::CaseName(info.param.text); });

bool AllErased(std::span<const uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0xFF; });
}

struct PlaceCase {
  uint32_t eep_start;
  uint32_t address;
  size_t length;
  PatchTarget target;
  uint64_t index;
  bool written;
};

class WritePatchTest : public ::testing::TestWithParam<PlaceCase> {};

// A refused patch leaves both images wholly erased; an accepted one writes
// exactly its bytes at its index.
TEST_P(WritePatchTest, ChoosesImageAndRefusesWhatPassesItsEnd) {
  const PlaceCase c = GetParam();
  StationState st;
  st.EepStartAddress = c.eep_start;
  Bytes bytes(c.length);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0x30 + i);

  const PatchPlace place = PatchPlaceFor(c.address, c.eep_start);
  EXPECT_EQ(place.Target, c.target);
  EXPECT_EQ(place.Index, c.index);

  const PatchOutcome outcome = WritePatch(st, c.address, bytes);
  EXPECT_EQ(outcome.Target, c.target);
  ASSERT_EQ(outcome.Written, c.written);
  EXPECT_EQ(outcome.Refusal.empty(), c.written);
  std::span<uint8_t> image = c.target == PatchTarget::Main ? std::span<uint8_t>(st.MainBuffer.span())
                                                           : std::span<uint8_t>(st.EepBuffer.span());
  std::span<uint8_t> other = c.target == PatchTarget::Main ? std::span<uint8_t>(st.EepBuffer.span())
                                                           : std::span<uint8_t>(st.MainBuffer.span());
  EXPECT_TRUE(AllErased(other));
  if (!c.written) {
    EXPECT_TRUE(AllErased(image));
    return;
  }
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(c.index)));
  EXPECT_TRUE(AllErased(image.first(c.index)));
  EXPECT_TRUE(AllErased(image.subspan(c.index + bytes.size())));
}

constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr PatchTarget kMain = PatchTarget::Main;
constexpr PatchTarget kEep = PatchTarget::Eep;

INSTANTIATE_TEST_SUITE_P(
    Table, WritePatchTest,
    ::testing::Values(
        // EEPROM in its own space: below it the main image, above it the EEP image.
        PlaceCase{0x40000000, 0x100, 2, kMain, 0x100, true},
        PlaceCase{0x40000000, 0x40000010, 3, kEep, 0x10, true},
        // EEPROM at 0 (also before any chip is chosen): everything is EEP data.
        PlaceCase{0, 0x100, 2, kEep, 0x100, true},
        // No EEPROM: everything but the last address is main data.
        PlaceCase{kNone, 0x100, 2, kMain, 0x100, true},
        PlaceCase{kNone, kNone, 1, kEep, 0, true},
        // The ends of the images.
        PlaceCase{0x40000000, 0x1FFFFE, 2, kMain, 0x1FFFFE, true},
        PlaceCase{0x40000000, 0x1FFFFE, 3, kMain, 0x1FFFFE, false},
        PlaceCase{0x40000000, 0x200000, 1, kMain, 0x200000, false},
        PlaceCase{0, 0x7FFF, 1, kEep, 0x7FFF, true},
        PlaceCase{0, 0x7FFF, 2, kEep, 0x7FFF, false},
        // Far addresses are refused, not wrapped onto the image's start.
        PlaceCase{0, 0x10000, 1, kEep, 0x10000, false},
        PlaceCase{0x40000000, 0x40010004, 1, kEep, 0x10004, false},
        PlaceCase{kNone, 0xFFFFFFF0, 4, kMain, 0xFFFFFFF0, false},
        // Nothing to write is never past an end.
        PlaceCase{0, 0x8000, 0, kEep, 0x8000, true}),
                         [](const auto& info) { return "Eep" + ::zek::testing::Hex(info.param.eep_start) + "_At" + ::zek::testing::Hex(info.param.address) + "_Len" + std::to_string(info.param.length); });

TEST(WritePatch, RefusalSaysWhereAndHowMuch) {
  StationState st;
  st.EepStartAddress = 0;
  const Bytes bytes(4, 0);
  EXPECT_EQ(WritePatch(st, 0x7FFE, bytes).Refusal,
            "Patch refused: 4 byte(s) at address 0x00007FFE would pass the end of the EEP buffer (0x8000 bytes).");
  st.EepStartAddress = 0x40000000;
  EXPECT_EQ(WritePatch(st, 0x1FFFFF, bytes).Refusal,
            "Patch refused: 4 byte(s) at address 0x001FFFFF would pass the end of the main buffer (0x200000 bytes).");
}

}  // namespace
}  // namespace zek
