#include "station/link/command_builders.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "station/link/settings_block.h"
#include "tests/support/fake_views.h"
#include "tests/support/reply_builder.h"

namespace zek {
namespace {

using testing::Bytes;

enum class Data { kMain, kEep, kSettingsMain, kSettingsEep, kSettings, kSettingsOption, kResetZeros };

struct CommandCase {
  const char* name;
  std::function<bool(StationState&, int)> send;
  uint8_t code;
  uint16_t parameter;
  uint16_t data_length;
  size_t packet_length;  // before the check
  Data data;
  uint32_t main_offset = 0;  // where the block's data comes from
};

uint8_t MainAt(uint32_t i) { return static_cast<uint8_t>(i * 13 + (i >> 12)); }
uint8_t EepAt(uint32_t i) { return static_cast<uint8_t>(i * 5 + 1); }
uint8_t OptionAt(uint32_t i) { return static_cast<uint8_t>(0xFF - i); }

class CommandTest : public ::testing::TestWithParam<CommandCase> {
 protected:
  void SetUp() override {
    StationState& st = fs.st;
    st.ChipClassCode = 0x40;
    st.ChipIndex = 2;
    st.FlashSizeKB = 64;
    st.ChipStartAddress = 0x1000;
    st.PortBlockIndex[3] = 8;
    for (uint32_t i = 0; i < st.MainBuffer.size(); ++i) st.MainBuffer[i] = MainAt(i);
    for (uint32_t i = 0; i < st.EepBuffer.size(); ++i) st.EepBuffer[i] = EepAt(i);
    for (uint32_t i = 0; i < st.OptionBuffer.size(); ++i) st.OptionBuffer[i] = OptionAt(i);
    fs.ports[3].open = true;
  }
  testing::FakeStation fs;
};

TEST_P(CommandTest, HasItsLayoutAndLength) {
  const CommandCase& c = GetParam();
  ASSERT_TRUE(c.send(fs.st, 3));
  ASSERT_EQ(fs.ports[3].sent.size(), 1u);
  std::optional<Bytes> p = testing::DecodeSent(fs.ports[3].sent[0]);
  ASSERT_TRUE(p) << "bad frame or check";
  ASSERT_EQ(p->size(), c.packet_length + 2);
  const Bytes& b = *p;
  EXPECT_EQ(b[0], c.code);
  if (c.data == Data::kResetZeros) {
    EXPECT_EQ(Bytes(b.begin() + 1, b.begin() + 10), (Bytes{'R', 'E', 'S', 'T', 0xA8, 0x02, 0x00, 0x00, 0x00}));
    return;
  }
  EXPECT_EQ(b[1] | (b[2] << 8), c.parameter);
  EXPECT_EQ(Bytes(b.begin() + 3, b.begin() + 6), (Bytes{0x45, 0x40, 0x02}));
  EXPECT_EQ(b[6] | (b[7] << 8), c.data_length);
  EXPECT_EQ(c.packet_length, 8u + c.data_length);
  size_t at = 8;
  if (c.data == Data::kSettingsMain || c.data == Data::kSettingsEep || c.data == Data::kSettings ||
      c.data == Data::kSettingsOption) {
    EXPECT_EQ(b[at + 1], 0x45);  // the settings block's family byte
    EXPECT_EQ(b[at + 2], 0x40);
    EXPECT_EQ(b[at + 8] | (b[at + 9] << 8), 64);  // FlashSizeKB
    at += 64;
  }
  for (size_t i = 0; at + i < c.packet_length; ++i) {
    uint8_t want = 0;
    switch (c.data) {
      case Data::kMain:
      case Data::kSettingsMain: want = MainAt(c.main_offset + static_cast<uint32_t>(i)); break;
      case Data::kEep:
      case Data::kSettingsEep: want = EepAt(static_cast<uint32_t>(i)); break;
      case Data::kSettingsOption: want = OptionAt(static_cast<uint32_t>(i)); break;
      default: break;
    }
    ASSERT_EQ(b[at + i], want) << "data byte " << at + i - 8;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTest,
    ::testing::Values(
        CommandCase{"FlashBlock", [](StationState& st, int p) { return SendFlashBlock(st, 0x55, 12, 0x1000, p); },
                    0x55, 12, 0x1000, 4104, Data::kMain, 0x1000 + 12 * 1024},
        CommandCase{"EepBlock", [](StationState& st, int p) { return SendEEPBlock(st, p); }, 0x5A, 0, 0x1000,
                    4104, Data::kEep},
        CommandCase{"ProgramBlockAtThePortsIndex",
                    [](StationState& st, int p) { return SendProgramBlock(st, 0x95, 0x1000, p); }, 0x95, 8, 0x1040,
                    4168, Data::kSettingsMain, 0x1000 + 8 * 1024},
        CommandCase{"EepProgram", [](StationState& st, int p) { return SendEEPProgram(st, p); }, 0x96, 0, 0x1040,
                    4168, Data::kSettingsEep},
        CommandCase{"BlankCheck", [](StationState& st, int p) { return SendSettingsOnly(st, 0x93, 0x05, p); }, 0x93,
                    0x05, 0x0040, 72, Data::kSettings},
        CommandCase{"ReadOutBlock", [](StationState& st, int p) { return SendSettingsOnly(st, 0x9B, 20, p); }, 0x9B,
                    20, 0x0040, 72, Data::kSettings},
        CommandCase{"ReadEep", [](StationState& st, int p) { return SendSettingsOnly(st, 0x9C, 0, p); }, 0x9C, 0,
                    0x0040, 72, Data::kSettings},
        CommandCase{"OptionWrite", [](StationState& st, int p) { return SendOptionBlock(st, 0x93, 0x53, p); }, 0x93,
                    0x53, 0x0440, 1096, Data::kSettingsOption},
        CommandCase{"ResetOffLine", [](StationState& st, int p) { return SendResetCommand(st, 0x8A, p); }, 0x8A, 0,
                    2, 10, Data::kResetZeros},
        CommandCase{"ResetAfterProtect", [](StationState& st, int p) { return SendResetCommand(st, 0x86, p); }, 0x86,
                    0, 2, 10, Data::kResetZeros}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandBuilders, AFrameOfOnlyEscapedBytesFitsTheTransmitBuffer) {
  testing::FakeStation fs;
  fs.ports[0].open = true;
  std::fill(fs.st.MainBuffer.begin(), fs.st.MainBuffer.end(), 0xC0);
  fs.st.FamilyCode = 0xDB;
  ASSERT_TRUE(SendProgramBlock(fs.st, 0x95, 0, 0));
  const Bytes& frame = fs.ports[0].sent[0];
  EXPECT_GT(frame.size(), 8200u);
  EXPECT_LE(frame.size(), kTxBufSize);
  std::optional<Bytes> p = testing::DecodeSent(frame);
  ASSERT_TRUE(p);
  EXPECT_EQ((*p)[72], 0xC0);
  EXPECT_EQ((*p)[4167], 0xC0);
}

TEST(CommandBuilders, BlocksPastTheMainImageSendErasedBytes) {
  testing::FakeStation fs;
  fs.ports[0].open = true;
  std::fill(fs.st.MainBuffer.begin(), fs.st.MainBuffer.end(), 0x11);
  // Two KiB inside the image, two past its end.
  ASSERT_TRUE(SendFlashBlock(fs.st, 0x55, 0, kMainBufferSize - 2048, 0));
  // Far past it: an index that a large flash size reaches.
  fs.st.PortBlockIndex[0] = 65532;
  ASSERT_TRUE(SendProgramBlock(fs.st, 0x95, 0xFFFFF000, 0));
  std::optional<Bytes> flash = testing::DecodeSent(fs.ports[0].sent[0]);
  std::optional<Bytes> program = testing::DecodeSent(fs.ports[0].sent[1]);
  ASSERT_TRUE(flash && program);
  EXPECT_EQ((*flash)[8 + 2047], 0x11);
  EXPECT_EQ((*flash)[8 + 2048], 0xFF);
  EXPECT_EQ((*flash)[8 + 4095], 0xFF);
  EXPECT_TRUE(std::all_of(program->begin() + 72, program->end() - 2, [](uint8_t b) { return b == 0xFF; }));
}

TEST(CommandBuilders, ProgrammingPortsSendTheirOwnBlocks) {
  testing::FakeStation fs;
  for (uint32_t i = 0; i < 0x10000; ++i) fs.st.MainBuffer[i] = MainAt(i);
  fs.ports[0].open = fs.ports[2].open = true;
  fs.st.PortBlockIndex[2] = 0;
  fs.st.PortBlockIndex[0] = 36;
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(SendProgramBlock(fs.st, 0x95, 0, 2));
    ASSERT_TRUE(SendProgramBlock(fs.st, 0x95, 0, 0));
    fs.st.PortBlockIndex[2] += 4;
    fs.st.PortBlockIndex[0] += 4;
  }
  for (int round = 0; round < 3; ++round) {
    std::optional<Bytes> p2 = testing::DecodeSent(fs.ports[2].sent[round]);
    std::optional<Bytes> p0 = testing::DecodeSent(fs.ports[0].sent[round]);
    ASSERT_TRUE(p2 && p0);
    EXPECT_EQ((*p2)[1], 4 * round);
    EXPECT_EQ((*p0)[1], 36 + 4 * round);
    EXPECT_EQ((*p2)[72], MainAt(4096u * round));
    EXPECT_EQ((*p0)[72], MainAt(1024u * (36 + 4 * round)));
  }
}

}  // namespace
}  // namespace zek
