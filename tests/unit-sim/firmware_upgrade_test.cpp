// The firmware upgrade from the unit's side: scrambled blocks and finish.
#include "tests/unit-sim/unit_fixture.h"

namespace zek::sim::testing {
namespace {

class UpgradeTest : public UnitTest {
 protected:
  UpgradeTest() : image_(65536) {
    for (size_t i = 0; i < image_.size(); ++i) image_[i] = static_cast<uint8_t>(i * 13 + (i >> 8));
  }
  Bytes image_;
};

TEST_F(UpgradeTest, BlocksAreUnscrambledIntoTheImage) {
  for (int b = 0; b < 32; ++b) {
    Reply r = One(FirmwareBlock(image_, b, static_cast<uint16_t>(0x1111 * (b + 1)), 99u + static_cast<uint32_t>(b)));
    ASSERT_EQ(r.status, 6) << b;  // only 6 counts for an upgrade block
  }
  auto got = unit_.FirmwareImage();
  for (size_t i = 0; i < image_.size(); ++i) {
    if (i % 4 == 3) {
      ASSERT_EQ(got[i], 0xFF) << i;  // never sent
    } else {
      ASSERT_EQ(got[i], image_[i]) << i;
    }
  }
  EXPECT_EQ(unit_.FirmwareBlocksTaken(), 32);
}

TEST_F(UpgradeTest, SuccessIsSixEvenWhenPlainSuccessIsZero) {
  SimUnit zero({.ok_status = 0});
  auto replies = Exchange(zero, FirmwareBlock(image_, 0, 0xABCD, 1));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].status, 6);
}

TEST_F(UpgradeTest, FinishIsTakenWithoutAnswer) {
  EXPECT_TRUE(Exchange(unit_, FirmwareFinish()).empty());
  EXPECT_EQ(unit_.UpgradesFinished(), 1);
}

TEST_F(UpgradeTest, MalformedBlockAndFinishAreRefused) {
  Bytes block = FirmwareBlock(image_, 1, 0x0102, 5);
  block[1] = 5;  // not a multiple of four
  EXPECT_EQ(StatusOf(block), kStatusPacketError);
  Bytes finish = FirmwareFinish();
  finish[2] = 'X';
  EXPECT_EQ(StatusOf(finish), kStatusPacketError);
  EXPECT_EQ(unit_.UpgradesFinished(), 0);
}

}  // namespace
}  // namespace zek::sim::testing
