// The block steps of download, program and read-back: the next block
// leaves before the slot's gauge moves, so a slow gauge never holds up the
// line.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "station/link/operation_steps.h"
#include "station/link/slot_commands.h"
#include "station/link/start_download.h"
#include "tests/support/reply_builder.h"

namespace zek {
namespace {

// At every move: the progress and the parameter of the block command the
// port had sent last (moves before any block are not noted).
class SendOrderGauge : public testing::FakeGauge {
 public:
  SendOrderGauge(const testing::FakeCommPort& port, uint8_t block_code) : port_(port), code_(block_code) {}
  void SetProgress(int p) override {
    FakeGauge::SetProgress(p);
    for (auto sent = port_.sent.rbegin(); sent != port_.sent.rend(); ++sent) {
      const std::optional<testing::Bytes> packet = testing::DecodeSent(*sent);
      if (!packet || (*packet)[0] != code_) continue;
      moves.emplace_back(p, (*packet)[1] | ((*packet)[2] << 8));
      return;
    }
  }
  std::vector<std::pair<int, int>> moves;

 private:
  const testing::FakeCommPort& port_;
  uint8_t code_;
};

struct BlockStepCase {
  const char* name;
  void (*start)(StationState&, int);
  uint8_t block_code;
  std::vector<std::pair<int, int>> moves;  // (gauge, last block sent)
};

class BlockSteps : public ::testing::TestWithParam<BlockStepCase> {
 protected:
  BlockSteps() {
    fs.st.FlashSizeKB = 12;  // three blocks: 0, 4, 8
    for (auto& port : fs.ports) port.open = true;
    fs.st.PortGauge[0] = &gauge;
  }
  testing::FakeStation fs;
  testing::UnitLink link{fs};
  SendOrderGauge gauge{fs.ports[0], GetParam().block_code};
};

TEST_P(BlockSteps, SendTheNextBlockBeforeMovingTheGauge) {
  GetParam().start(fs.st, 0);
  link.Run(testing::HealthyUnit);
  // The last block's reply and the end both leave block 8 as the last sent.
  EXPECT_EQ(gauge.moves, GetParam().moves);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, BlockSteps,
    ::testing::Values(
        // The download's gauge leads its block index by one.
        BlockStepCase{"Download", StartDownload, 0x55, {{5, 4}, {9, 8}, {13, 8}, {12, 8}}},
        BlockStepCase{"Program", StartProgram, 0x95, {{4, 4}, {8, 8}, {12, 8}, {12, 8}}},
        BlockStepCase{"ReadBack", [](StationState& st, int) { StartReadMainBack(st); }, 0x9B,
                      {{4, 4}, {8, 8}, {12, 8}, {12, 8}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek
