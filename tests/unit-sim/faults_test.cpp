// Bad packets from the station, and the faults a unit commits on request.
#include "tests/unit-sim/unit_fixture.h"
#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim::testing {
namespace {

TEST_F(UnitTest, PacketWithAWrongCheckIsAnswered25) {
  Bytes framed = Frame(SettingsOnly(0x93, 0x05, setup_));
  framed[10] ^= 0x01;  // a data byte: no delimiter or escape is involved
  unit_.Feed(framed);
  auto replies = DecodeReplies(unit_.TakeOutput());
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].status, kStatusCommandCheck);
}

struct BadPacketCase {
  const char* name;
  Bytes packet;  // before the check
  uint8_t status;
};

class BadPackets : public UnitTest, public ::testing::WithParamInterface<BadPacketCase> {};

TEST_P(BadPackets, GetTheirStatus) { EXPECT_EQ(StatusOf(GetParam().packet), GetParam().status); }

ChipSetup kSetup;
Bytes Truncated(Bytes p, size_t n) {
  p.resize(n);
  return p;
}
Bytes WithLengthField(Bytes p, uint16_t n) {
  p[6] = static_cast<uint8_t>(n);
  p[7] = static_cast<uint8_t>(n >> 8);
  return p;
}

INSTANTIATE_TEST_SUITE_P(
    Packets, BadPackets,
    ::testing::Values(
        BadPacketCase{"unknown_code", SettingsOnly(0x77, 0, kSetup), kStatusUnknownCommand},
        BadPacketCase{"unknown_sub_command", SettingsOnly(0x93, 0x99, kSetup), kStatusUnknownCommand},
        BadPacketCase{"length_field_longer_than_packet", WithLengthField(SettingsOnly(0x93, 5, kSetup), 0x41),
                      kStatusPacketError},
        BadPacketCase{"program_block_cut_short", Truncated(WithSettings(0x95, 0, kSetup, Bytes(4096, 0)), 2000),
                      kStatusPacketError},
        BadPacketCase{"settings_only_with_extra_data", Command(0x93, 5, Bytes(80, 0), kSetup),
                      kStatusPacketError}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitTest, ShortAndUndecodableFramesGetNoAnswer) {
  unit_.Feed(Bytes{0xC0, 1, 2, 3, 0xC0});
  unit_.Feed(Bytes{0xC0, 0xDB, 0x41, 0xC0});
  EXPECT_FALSE(unit_.HasOutput());
  EXPECT_EQ(unit_.DroppedFrames(), 1u);
}

TEST_F(UnitTest, StatusFaultHitsOnlyItsBlock) {
  std::string error;
  unit_.Faults().Add(*ParseFault(FaultKind::Status, "program@8=44", error));
  for (uint16_t i = 0; i < 30; i += 4) {
    EXPECT_EQ(StatusOf(WithSettings(0x95, i, setup_, Block(i))), i == 8 ? 44 : 6) << i;
  }
  EXPECT_EQ(unit_.Chip().Flash()[8 * 1024], 0xFF);  // the failed block was not written
}

TEST_F(UnitTest, StatusFaultAtVerifyKeepsTheDataFormWithTheChipsSums) {
  ProgramAll();
  unit_.Faults().Add({FaultKind::Status, Step::VerifyMain, -1, 52});
  Reply r = One(SettingsOnly(0x93, 0x55, setup_));
  ASSERT_EQ(r.status, 0);  // the check still holds
  EXPECT_EQ(r.packet[8], 52);
  EXPECT_EQ(Get16(r.packet, 18), setup_.main_acc);
  EXPECT_EQ(Get16(r.packet, 22), setup_.main_crc);
}

TEST_F(UnitTest, StatusFaultAtVerifyUsesTheSettingsOfThatVerify) {
  unit_.Faults().Add({FaultKind::Status, Step::VerifyMain, -1, 52});
  Reply r = One(SettingsOnly(0x93, 0x55, setup_));  // the unit's first command
  EXPECT_EQ(Get32(r.packet, 18), 30u * 1024 * 0xFF);  // a blank 30 KiB chip
}

TEST_F(UnitTest, BadCheckFaultFailsTheStationsCheck) {
  unit_.Faults().Add({FaultKind::BadCheck, Step::BlankCheck});
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x05, setup_)), 35);
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x03, setup_)), 6);
}

TEST_F(UnitTest, SilenceFaultAnswersNothingAndDoesNothing) {
  unit_.Faults().Add({FaultKind::Silence, Step::Erase});
  unit_.Chip().Protect();
  EXPECT_TRUE(Exchange(unit_, SettingsOnly(0x93, 0x03, setup_)).empty());
  EXPECT_TRUE(unit_.Chip().IsProtected());
  unit_.Faults().Clear();
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x03, setup_)), 6);
}

TEST_F(UnitTest, GarbageBeforeFramesHoldsNoDelimiterAndTheReplyStillDecodes) {
  unit_.Faults().Add({FaultKind::Garbage, Step::Any, -1, 3000});
  unit_.Feed(Frame(SettingsOnly(0x93, 0x05, setup_)));
  Bytes out = unit_.TakeOutput();
  ASSERT_GT(out.size(), 3000u);
  EXPECT_EQ(std::count(out.begin(), out.begin() + 3000, 0xC0), 0);
  auto replies = DecodeReplies(out);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].status, 6);
}

TEST_F(UnitTest, HangUpDropsTheLineForGood) {
  unit_.Faults().Add({FaultKind::HangUp, Step::Identity});
  unit_.Feed(IdentityQuery());
  EXPECT_TRUE(unit_.HungUp());
  unit_.Faults().Clear();
  unit_.Feed(IdentityQuery());
  EXPECT_FALSE(unit_.HasOutput());
}

// The answer itself is whole; the delay is told once, with the bytes it
// holds back, and other steps stay on time.
TEST_F(UnitTest, LateFaultMarksOnlyItsOwnAnswer) {
  unit_.Faults().Add({FaultKind::Late, Step::Identity, -1, 1500});
  unit_.Feed(IdentityQuery());
  EXPECT_EQ(unit_.TakeLateness(), 1500);
  EXPECT_EQ(unit_.TakeLateness(), 0);
  EXPECT_TRUE(unit_.HasOutput());
  unit_.TakeOutput();
  EXPECT_EQ(StatusOf(SettingsOnly(0x93, 0x05, setup_)), 6);
  EXPECT_EQ(unit_.TakeLateness(), 0);
}

TEST_F(UnitTest, AnyStepFaultCoversTheIdentityToo) {
  unit_.Faults().Add({FaultKind::Silence, Step::Any});
  unit_.Feed(IdentityQuery());
  EXPECT_TRUE(Exchange(unit_, SettingsOnly(0x93, 0x05, setup_)).empty());
  EXPECT_FALSE(unit_.HasOutput());
}

struct ParseCase {
  const char* text;
  FaultKind kind;
  bool ok;
  Step step;
  int block;
  uint16_t value;
  int unit;
};

class FaultTexts : public ::testing::TestWithParam<ParseCase> {};

TEST_P(FaultTexts, Parse) {
  const ParseCase& c = GetParam();
  std::string error;
  auto f = ParseFault(c.kind, c.text, error);
  ASSERT_EQ(f.has_value(), c.ok) << c.text << ": " << error;
  if (!f) {
    EXPECT_FALSE(error.empty());
    return;
  }
  EXPECT_EQ(f->step, c.step);
  EXPECT_EQ(f->block, c.block);
  EXPECT_EQ(f->value, c.value);
  EXPECT_EQ(f->unit, c.unit);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FaultTexts,
    ::testing::Values(ParseCase{"program@8=44", FaultKind::Status, true, Step::Program, 8, 44, -1},
                      ParseCase{"2:verify=0x34", FaultKind::Status, true, Step::VerifyMain, -1, 52, 2},
                      ParseCase{"any=16", FaultKind::Garbage, true, Step::Any, -1, 16, -1},
                      ParseCase{"read-eep", FaultKind::Silence, true, Step::ReadEep, -1, 0, -1},
                      ParseCase{"10:identity", FaultKind::HangUp, true, Step::Identity, -1, 0, 10},
                      ParseCase{"program@8", FaultKind::Status, false, Step::Any, -1, 0, -1},
                      ParseCase{"verify=300", FaultKind::Status, false, Step::Any, -1, 0, -1},
                      ParseCase{"blank=5", FaultKind::BadCheck, false, Step::Any, -1, 0, -1},
                      ParseCase{"flash=5", FaultKind::Status, false, Step::Any, -1, 0, -1},
                      ParseCase{"0:blank", FaultKind::Silence, false, Step::Any, -1, 0, -1},
                      ParseCase{"program@x=1", FaultKind::Status, false, Step::Any, -1, 0, -1},
                      ParseCase{"any=99999", FaultKind::Garbage, false, Step::Any, -1, 0, -1},
                      ParseCase{"3:identity=1500", FaultKind::Late, true, Step::Identity, -1, 1500, 3},
                      ParseCase{"identity", FaultKind::Late, false, Step::Any, -1, 0, -1},
                      ParseCase{"identity=60001", FaultKind::Late, false, Step::Any, -1, 0, -1}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

}  // namespace
}  // namespace zek::sim::testing
