// The chip steps as the station drives them, answered by the unit.
#include "tests/unit-sim/unit_fixture.h"
#include "station/data/byte_sums.h"
#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim::testing {
namespace {

constexpr uint8_t kOk = 6;

TEST_F(UnitTest, BlankCheckFollowsTheChip) {
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x05, setup_)), kOk);
  ProgramAll();
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x05, setup_)), kStatusNotBlank);
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x53, setup_)), kOk);  // protect
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x05, setup_)), kStatusProtected);
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x03, setup_)), kOk);  // erase lifts protection
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x05, setup_)), kOk);
}

TEST_F(UnitTest, BlankCheckLooksOnlyAtTheChipsFlashSize) {
  unit_.Chip().ProgramFlash(30 * 1024, Bytes{0x00}, SimChip::kFlashCapacity);
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x05, setup_)), kOk);
  setup_.flash_kb = 31;
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x05, setup_)), kStatusNotBlank);
}

TEST_F(UnitTest, ProgramWritesEachBlockAtItsIndexAndClipsTheLastToTheChip) {
  ProgramAll();
  auto flash = unit_.Chip().Flash();
  EXPECT_TRUE(std::equal(flash.begin(), flash.begin() + 30 * 1024, main_.begin()));
  // Block 28 carries 4 KiB but the chip ends 2 KiB into it.
  EXPECT_TRUE(std::all_of(flash.begin() + 30 * 1024, flash.begin() + 32 * 1024, [](uint8_t b) { return b == 0xFF; }));
}

TEST_F(UnitTest, ProgramOverUnerasedDataFailsAndPastTheChipIsAFlashError) {
  Bytes zeros(4096, 0x00), ones(4096, 0x5A);
  EXPECT_EQ(StatusOf(WithSettings(0x95, 0, setup_, zeros)), kOk);
  EXPECT_EQ(StatusOf(WithSettings(0x95, 0, setup_, ones)), kStatusWriteFailed);
  EXPECT_EQ(StatusOf(WithSettings(0x95, 32, setup_, ones)), kStatusFlashError);
}

TEST_F(UnitTest, AProgramBlockWhoseHeaderClassDiffersFromItsSettingsIsRefused) {
  Bytes packet = WithSettings(0x95, 0, setup_, Block(0));
  packet[4] ^= 0x10;
  EXPECT_EQ(StatusOf(packet), kStatusPacketError);
  EXPECT_TRUE(unit_.Chip().IsBlank(setup_.flash_kb * 1024u));
  EXPECT_EQ(StatusOf(WithSettings(0x95, 0, setup_, Block(0))), 6);
}

TEST_F(UnitTest, VerifyMatchesReportsTheChipsAccAndCrc) {
  ProgramAll();
  Reply r = One(SettingsOnly(0x93, 0x55, setup_));
  ASSERT_EQ(r.status, 0);  // data reply: the status is in data byte 0
  ASSERT_EQ(r.packet.size(), 8u + 16 + 2);
  EXPECT_EQ(r.packet[8], kStatusVerified);
  uint32_t acc = Get32(r.packet, 18);
  EXPECT_EQ(static_cast<uint16_t>(acc), setup_.main_acc);
  EXPECT_EQ(acc, zek::SumBytes(main_, 0, 30 * 1024 - 1));
  EXPECT_EQ(Get16(r.packet, 22), setup_.main_crc);
}

TEST_F(UnitTest, VerifyMismatchIs52WithTheChipsOwnSums) {
  ProgramAll();
  ChipSetup wrong = setup_;
  wrong.main_crc ^= 1;
  Reply r = One(SettingsOnly(0x93, 0x55, wrong));
  EXPECT_EQ(r.packet[8], kStatusChecksum);
  EXPECT_EQ(Get16(r.packet, 18), setup_.main_acc);
  EXPECT_EQ(Get16(r.packet, 22), setup_.main_crc);
}

TEST_F(UnitTest, ProtectedChipRefusesProgramVerifyAndReads) {
  ASSERT_EQ(StatusOf(SettingsOnly(0x93, 0x53, setup_)), kOk);
  EXPECT_EQ(StatusOf(WithSettings(0x95, 0, setup_, Block(0))), kStatusProtected);
  EXPECT_EQ(StatusOf(WithSettings(0x96, 0, setup_, eep_)), kStatusProtected);
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x55, setup_)), kStatusProtected);
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x56, setup_)), kStatusProtected);
  EXPECT_EQ(StatusOf(SettingsOnly(0x9B, 0, setup_)), kStatusProtected);
  EXPECT_EQ(StatusOf(SettingsOnly(0x9C, 0, setup_)), kStatusProtected);
}

TEST_F(UnitTest, ReadBackReturnsEachBlockAsProgrammed) {
  ProgramAll();
  for (uint16_t index : {0, 12, 28}) {
    Reply r = One(SettingsOnly(0x9B, index, setup_));
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(Get16(r.packet, 6), 4096);
    EXPECT_EQ(Get16(r.packet, 1), index);
    Bytes data(r.packet.begin() + 8, r.packet.begin() + 8 + 4096);
    Bytes want = Block(index);
    if (index == 28) std::fill(want.begin() + 2048, want.end(), 0xFF);
    EXPECT_EQ(data, want) << "block " << index;
  }
}

TEST_F(UnitTest, EepromWriteVerifyAndReadBack) {
  setup_.eep_size = 256;
  setup_.ctrl2 = 0x40;
  Resum();
  EXPECT_EQ(StatusOf(WithSettings(0x96, 0, setup_, eep_)), kOk);
  EXPECT_EQ(One(SettingsOnly(0x93, 0x56, setup_)).packet[8], kStatusVerified);
  Reply r = One(SettingsOnly(0x9C, 0, setup_));
  ASSERT_EQ(Get16(r.packet, 6), 4096);
  EXPECT_TRUE(std::equal(eep_.begin(), eep_.begin() + 256, r.packet.begin() + 8));
  EXPECT_EQ(r.packet[8 + 256], 0xFF);  // beyond EepSize nothing was written
  ChipSetup wrong = setup_;
  wrong.eep_acc += 1;
  EXPECT_EQ(One(SettingsOnly(0x93, 0x56, wrong)).packet[8], kStatusChecksum);
}

TEST_F(UnitTest, EraseTouchesEepromOnlyWhenAsked) {
  setup_.eep_size = 256;
  ASSERT_EQ(StatusOf(WithSettings(0x96, 0, setup_, eep_)), kOk);
  ASSERT_EQ(StatusOf(SettingsOnly(0x93, 0x03, setup_)), kOk);
  EXPECT_EQ(unit_.Chip().Eeprom()[0], eep_[0]);
  setup_.ctrl2 = 0x10;
  ASSERT_EQ(StatusOf(SettingsOnly(0x93, 0x03, setup_)), kOk);
  EXPECT_EQ(unit_.Chip().Eeprom()[0], 0xFF);
}

TEST_F(UnitTest, OptionWriteStoresTheOptionImageAndProtectDoesNot) {
  Bytes options(1024, 0xFF);
  for (size_t i = 480; i < 512; ++i) options[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(StatusOf(WithSettings(0x93, 0x53, setup_, options)), kOk);
  EXPECT_FALSE(unit_.Chip().IsProtected());
  Reply r = One(SettingsOnly(0x93, 0x35, setup_));
  ASSERT_EQ(Get16(r.packet, 6), 32);
  EXPECT_TRUE(std::equal(options.begin() + 480, options.begin() + 512, r.packet.begin() + 8));
}

TEST_F(UnitTest, SuccessStatusCanBeZero) {
  SimUnit zero({.ok_status = 0});
  auto replies = Exchange(zero, SettingsOnly(0x93, 0x05, setup_));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].status, 0);
  EXPECT_EQ(Get16(replies[0].packet, 6), 2);
}

TEST_F(UnitTest, ReplyEchoesTheCommandHeader) {
  Reply r = One(SettingsOnly(0x93, 0x05, setup_));
  EXPECT_EQ(Bytes(r.packet.begin(), r.packet.begin() + 6), (Bytes{0x93, 0x05, 0x00, 0x45, 0x80, 0x02}));
}

}  // namespace
}  // namespace zek::sim::testing
