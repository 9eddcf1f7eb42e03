// Chip ID, information and option reads: the data offsets the station
// prints from, by chip class.
#include "tests/unit-sim/unit_fixture.h"
#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim::testing {
namespace {

Bytes DataOf(const Reply& r) { return Bytes(r.packet.begin() + 8, r.packet.end() - 2); }

TEST_F(UnitTest, ChipIdCarriesTheUidInItsFirstTwelveBytes) {
  Bytes d = DataOf(One(SettingsOnly(0x93, 0x36, setup_)));
  ASSERT_EQ(d.size(), 16u);
  auto uid = unit_.Chip().Uid();
  EXPECT_TRUE(std::equal(uid.begin(), uid.end(), d.begin()));
}

TEST_F(UnitTest, ChipsOfDifferentUnitsHaveDifferentIds) {
  SimUnit other({.serial = 2});
  EXPECT_FALSE(std::equal(unit_.Chip().Uid().begin(), unit_.Chip().Uid().end(), other.Chip().Uid().begin()));
}

struct InfoCase {
  const char* name;
  uint8_t chip_class;
  uint16_t info_size;
  size_t data_length;
};

class InfoReads : public UnitTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(InfoReads, LayoutByClass) {
  setup_.chip_class = GetParam().chip_class;
  setup_.info_size = GetParam().info_size;
  Reply r = One(SettingsOnly(0x93, 0x33, setup_));
  ASSERT_EQ(r.status, 0);
  Bytes d = DataOf(r);
  ASSERT_EQ(d.size(), GetParam().data_length);
  auto info = unit_.Chip().Info();
  if (setup_.chip_class == 0) {
    EXPECT_TRUE(std::equal(unit_.Chip().Uid().begin(), unit_.Chip().Uid().end(), d.begin()));
    EXPECT_TRUE(std::equal(info.begin(), info.begin() + 128, d.begin() + 0x400));
    EXPECT_TRUE(std::equal(info.begin() + 0x800, info.begin() + 0x810, d.begin() + 0x800));
    EXPECT_TRUE(std::equal(info.begin() + 0x820, info.begin() + 0x830, d.begin() + 0x820));
    EXPECT_EQ(d[0x841], 0);  // not protected
  } else if (setup_.chip_class < 0x40) {
    auto regs = unit_.Chip().Registers();
    EXPECT_TRUE(std::equal(regs.begin(), regs.end(), d.begin()));
    EXPECT_TRUE(std::equal(info.begin(), info.begin() + 512, d.begin() + 32));
  } else {
    size_t n = std::min<size_t>(GetParam().info_size, d.size());
    EXPECT_TRUE(std::equal(info.begin(), info.begin() + static_cast<ptrdiff_t>(n), d.begin()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Classes, InfoReads,
    ::testing::Values(InfoCase{"uid_class_00", 0x00, 512, 0x842}, InfoCase{"bs32_class_10", 0x10, 512, 544},
                      InfoCase{"bs32_class_12_ignores_info_size", 0x12, 24, 544},
                      InfoCase{"class_40", 0x40, 512, 512}, InfoCase{"class_90_odd_size", 0x90, 24, 24},
                      InfoCase{"class_80_tiny_size_still_a_data_reply", 0x80, 4, 16},
                      InfoCase{"class_82_oversized_capped", 0x82, 8000, 4096}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitTest, SecurityLevelShowsProtection) {
  setup_.chip_class = 0;
  unit_.Chip().Protect();
  Bytes d = DataOf(One(SettingsOnly(0x93, 0x33, setup_)));
  EXPECT_EQ(d[0x841], 1);
}

TEST_F(UnitTest, OptionReadOfAFreshChipIsErased) {
  Bytes d = DataOf(One(SettingsOnly(0x93, 0x35, setup_)));
  EXPECT_EQ(d, Bytes(32, 0xFF));
}

}  // namespace
}  // namespace zek::sim::testing
