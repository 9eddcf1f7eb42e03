// The identity query and the unit's answer, read the way discovery reads it.
#include "tests/unit-sim/unit_fixture.h"
#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim::testing {
namespace {

std::string TextAt28(const Bytes& p) {
  std::string s;
  for (size_t i = 28; i <= 100 && p[i] >= 0x20 && p[i] <= 0x7F; ++i) s.push_back(static_cast<char>(p[i]));
  return s;
}

struct IdentityCase {
  const char* name;
  UnitConfig config;
  uint8_t mode;
};

class IdentityReplies : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(IdentityReplies, CarryModeLengthAndText) {
  SimUnit unit(GetParam().config);
  unit.Feed(IdentityQuery());
  auto replies = DecodeReplies(unit.TakeOutput());
  ASSERT_EQ(replies.size(), 1u);
  const Bytes& p = replies[0].packet;
  ASSERT_GE(p.size(), 101u + 2);
  EXPECT_EQ(p[0], 0xA3);
  EXPECT_EQ(p[1], 0xA5);
  EXPECT_EQ(p[2], GetParam().mode);
  EXPECT_EQ(Get16(p, 6), GetParam().config.identity.size());
  EXPECT_EQ(TextAt28(p), GetParam().config.identity);
  EXPECT_EQ(p[28 + GetParam().config.identity.size()], 0);  // ends the text for the n+1 byte read
}

INSTANTIATE_TEST_SUITE_P(
    Units, IdentityReplies,
    ::testing::Values(IdentityCase{"full_identity", {}, 0x53},
                      IdentityCase{"generic_identity_ready_for_upgrade", {.identity = "DorvikLumqo", .upgradable = true}, 0x35},
                      IdentityCase{"old_firmware_upgradable",
                                   {.identity = "DorvikLumqo-ZEK V1.10, Dorvik410", .upgradable = true},
                                   0x35}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Identity, QueryIsAnsweredWhateverElseIsGoingOn) {
  SimUnit unit;
  Bytes stream = IdentityQuery();
  Bytes again = IdentityQuery();
  stream.insert(stream.end(), again.begin(), again.end());
  unit.Feed(stream);
  EXPECT_EQ(DecodeReplies(unit.TakeOutput()).size(), 2u);
}

TEST(Identity, LongTextIsCutAndStillTerminated) {
  SimUnit unit({.identity = std::string(300, 'x')});
  unit.Feed(IdentityQuery());
  auto replies = DecodeReplies(unit.TakeOutput());
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(Get16(replies[0].packet, 6), 200);
  EXPECT_EQ(replies[0].packet[28 + 200], 0);
}

}  // namespace
}  // namespace zek::sim::testing
