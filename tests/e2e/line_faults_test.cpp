// A faulty line on one port: the other ports never notice.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "station/link/operation_steps.h"
#include "tests/e2e/station_rig.h"

namespace zek::testing {
namespace {

constexpr uint16_t kImageKB = 128;

std::vector<std::string> ComNamesWithout(int left_out) {
  std::vector<std::string> names;
  for (int i = 1; i <= 10; ++i)
    if (i != left_out) names.push_back("COM" + std::to_string(i));
  return names;
}

std::vector<std::string> AllComNames() { return ComNamesWithout(0); }

// The port list keeps its names sorted as text.
std::vector<std::string> ListedAs(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

int Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

bool Logged(const StationRig& rig, const std::string& text) {
  for (const std::string& line : rig.fs.memo.lines)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

// Sorted as text, so COMn for n in 2..9 sits in slot n.
int SlotOf(int com) { return com == 1 ? 0 : com == 10 ? 1 : com; }

std::vector<int> SlotsBut(int left_out) {
  std::vector<int> slot_list;
  for (int slot = 0; slot < kPortSlots; ++slot)
    if (slot != left_out) slot_list.push_back(slot);
  return slot_list;
}

TEST(HangUp, AUnitDroppedMidProgrammingClosesItsPortAndTheOtherNineFinish) {
  SimUnits sim({"-n", "10", "--unpaced", "--hangup", "3:program@32"});  // the ninth block
  StationRig rig;
  rig.ListPorts(AllComNames());
  LoadTestImage(rig.fs.st, kImageKB, 3);
  ASSERT_TRUE(rig.FindUnits(10));
  ASSERT_EQ(rig.StartOnConnected(StartProgram).size(), 10u);
  const int dropped = SlotOf(3);
  ASSERT_TRUE(rig.RunUntil([&] { return rig.SlotsIdle(SlotsBut(dropped)) && rig.hangups[dropped] > 0; }, 30s));
  for (int slot : SlotsBut(dropped)) {
    EXPECT_EQ(rig.LastMessage(slot), "Programming Success!") << "slot " << slot;
    EXPECT_TRUE(rig.comms[slot]->IsOpen()) << "slot " << slot;
    EXPECT_EQ(rig.hangups[slot], 0) << "slot " << slot;
  }
  EXPECT_FALSE(rig.comms[dropped]->IsOpen());
  EXPECT_EQ(rig.fs.st.PortConnected[dropped], 0);
  // Its own name leaves the list, once, however many requests came.
  EXPECT_EQ(rig.port_list.Items(), ListedAs(ComNamesWithout(3)));
  EXPECT_EQ(Count(rig.PortMessages(dropped), "Port COM3 hung up!"), 1);
  // The slot stays busy until its time-out ends the operation.
  EXPECT_EQ(rig.fs.st.PortBusy[dropped], 1);
  ASSERT_TRUE(rig.RunUntil([&] { return rig.SlotsIdle({dropped}); }, 10s));
  EXPECT_EQ(rig.LastMessage(dropped), "Operation Time Out!");
  EXPECT_EQ(rig.fs.gauges[dropped].color, kGaugeRed);
  EXPECT_LT(rig.fs.gauges[dropped].progress, kImageKB + 1);
}

// COM5's unit drops its line when asked who it is: its port leaves the
// list and the next search opens and finds the other nine.
TEST(HangUp, AUnitLostAtIdentityLeavesTheListAndTheNextSearchFindsTheRest) {
  SimUnits sim({"-n", "10", "--unpaced", "--hangup", "5:identity"});
  StationRig rig;
  rig.ListPorts(AllComNames());
  const int lost = SlotOf(5);
  ASSERT_TRUE(rig.FindUnits(9));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.hangups[lost] > 0; }, 10s));
  EXPECT_EQ(rig.port_list.Items(), ListedAs(ComNamesWithout(5)));
  EXPECT_EQ(rig.PortMessages(lost), std::vector<std::string>{"Port COM5 hung up!"});

  ASSERT_TRUE(rig.FindUnits(9));
  for (int slot = 0; slot < 9; ++slot) {
    EXPECT_TRUE(rig.comms[slot]->IsOpen()) << "slot " << slot;
    EXPECT_EQ(rig.fs.st.PortConnected[slot], 1) << "slot " << slot;
  }
  EXPECT_FALSE(rig.comms[9]->IsOpen());
  EXPECT_FALSE(Logged(rig, "Error opening"));
  for (const ShownBox& box : rig.fs.boxes.shown) EXPECT_EQ(box.text.find("Error opening"), std::string::npos) << box.text;
}

// The connection file names an adapter that is not plugged in (its link
// leads nowhere): its error is shown, and the units listed after it are
// found.
TEST(DeadPort, AListedPortThatCannotOpenHidesNoUnitBehindIt) {
  std::vector<std::string> args = {"--unpaced"};
  const std::vector<std::string> names = ComNamesWithout(5);
  args.insert(args.end(), names.begin(), names.end());
  SimUnits sim(args);
  std::filesystem::create_symlink("/nonexistent/ttyUSB4", sim.Dir() + "/COM5");
  StationRig rig;
  rig.ListPorts(AllComNames());
  ASSERT_TRUE(rig.FindUnits(9));
  for (int slot : SlotsBut(SlotOf(5))) EXPECT_EQ(rig.fs.st.PortConnected[slot], 1) << "slot " << slot;
  ASSERT_EQ(rig.fs.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.fs.boxes.shown[0].text, "Error opening serial port:COM5");
}

// Played by the test on a port of its own: a line that carries nothing but
// frames far longer than any buffer of the station, and noise.
class HostileLine {
 public:
  HostileLine(const std::string& dir, const std::string& name) {
    if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    std::filesystem::create_symlink(ttyname(slave_), dir + "/" + name);
    pattern_.push_back(0xC0);
    pattern_.insert(pattern_.end(), 3 * kRxBufSize, 0x55);
    pattern_.push_back(0xC0);
    for (int i = 0; i < 700; ++i) pattern_.push_back(static_cast<uint8_t>(i * 37 % 192));
  }
  ~HostileLine() {
    close(master_);
    close(slave_);
  }
  // Writes what the line takes now and swallows what the station sent.
  void Pump() {
    uint8_t drain[4096];
    while (read(master_, drain, sizeof drain) > 0) {
    }
    for (;;) {
      size_t n = pattern_.size() - at_;
      ssize_t w = write(master_, pattern_.data() + at_, n);
      if (w <= 0) return;
      written_ += static_cast<size_t>(w);
      at_ = (at_ + static_cast<size_t>(w)) % pattern_.size();
    }
  }
  size_t Written() const { return written_; }

 private:
  int master_ = -1, slave_ = -1;
  std::vector<uint8_t> pattern_;
  size_t at_ = 0, written_ = 0;
};

struct NoiseCase {
  const char* name;
  std::vector<std::string> sim_args;
  bool hostile_port;  // COM5 is the test's own line rather than a unit
};

class NoisyPort : public ::testing::TestWithParam<NoiseCase> {};

TEST_P(NoisyPort, DisturbsNoOtherPort) {
  const NoiseCase& c = GetParam();
  std::vector<std::string> args = c.sim_args;
  std::vector<std::string> names = c.hostile_port ? ComNamesWithout(5) : AllComNames();
  args.insert(args.end(), names.begin(), names.end());
  SimUnits sim(args);
  std::unique_ptr<HostileLine> hostile;
  if (c.hostile_port) hostile = std::make_unique<HostileLine>(sim.Dir(), "COM5");
  StationRig rig;
  if (hostile) rig.on_tick = [&] { hostile->Pump(); };
  rig.ListPorts(AllComNames());
  LoadTestImage(rig.fs.st, kImageKB, 5);
  const int noisy = SlotOf(5);
  const std::vector<int> units = c.hostile_port ? SlotsBut(noisy) : SlotsBut(-1);
  ASSERT_TRUE(rig.FindUnits(static_cast<int>(units.size())));
  EXPECT_EQ(rig.fs.st.PortConnected[noisy], c.hostile_port ? 0 : 1);
  ASSERT_EQ(rig.StartOnConnected(StartProgram), units);
  ASSERT_TRUE(rig.RunUntil([&] { return rig.SlotsIdle(units); }, 30s));
  for (int slot : units) EXPECT_EQ(rig.LastMessage(slot), "Programming Success!") << "slot " << slot;
  for (int slot = 0; slot < kPortSlots; ++slot) {
    EXPECT_TRUE(rig.comms[slot]->IsOpen()) << "slot " << slot;
    EXPECT_EQ(rig.hangups[slot], 0) << "slot " << slot;
    EXPECT_LE(rig.fs.st.PortRxLen[slot], kRxBufSize);
  }
  if (hostile) {
    EXPECT_GT(hostile->Written(), 3 * kRxBufSize);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NoisyPort,
    ::testing::Values(NoiseCase{"NoiseBeforeEveryReply", {"--unpaced", "--garbage", "5:any=300"}, false},
                      NoiseCase{"NoiseLongerThanTheReceiveBuffer", {"--unpaced", "--garbage", "5:program=0x4000"}, false},
                      NoiseCase{"OverlongFramesWithoutAUnit", {"--unpaced"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
