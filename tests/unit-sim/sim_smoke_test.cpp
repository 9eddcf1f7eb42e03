// dorvik410-sim over real pseudo-terminals, with plain POSIX I/O.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/unit-sim/sim_process.h"
#include "tests/unit-sim/station_side.h"
#include "tests/support/case_names.h"

namespace zek::sim::testing {
namespace {

const std::vector<uint8_t> kIdentityQuery{0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// The frame's packet, escapes undone.
std::vector<uint8_t> Unframe(const std::vector<uint8_t>& wire) {
  std::vector<uint8_t> p;
  size_t i = 0;
  while (i < wire.size() && wire[i] != 0xC0) ++i;
  for (++i; i < wire.size() && wire[i] != 0xC0; ++i) {
    if (wire[i] == 0xDB && i + 1 < wire.size()) {
      p.push_back(wire[++i] == 0xDC ? 0xC0 : 0xDB);
    } else {
      p.push_back(wire[i]);
    }
  }
  return p;
}

class SimSmoke : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeTempDir();
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { rmdir(dir_.c_str()); }

  // Asks the unit behind the link who it is; returns the decoded reply.
  std::vector<uint8_t> AskIdentity(const std::string& link, bool& hung_up, int timeout_ms = 3000) {
    int fd = OpenRawPort(link);
    EXPECT_GE(fd, 0) << link;
    if (fd < 0) return {};
    EXPECT_EQ(write(fd, kIdentityQuery.data(), kIdentityQuery.size()), static_cast<ssize_t>(kIdentityQuery.size()));
    auto wire = ReadReply(fd, timeout_ms, hung_up);
    close(fd);
    return Unframe(wire);
  }

  std::string dir_;
  SimProcess sim_;
};

struct SmokeCase {
  const char* name;
  std::vector<std::string> args;
  std::string link;  // asked for its identity
  std::string text;  // expected at byte 28
  uint8_t mode;
};

class SimIdentity : public SimSmoke, public ::testing::WithParamInterface<SmokeCase> {};

TEST_P(SimIdentity, QueryInIdentityOut) {
  std::vector<std::string> args{"--dir", dir_};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  ASSERT_TRUE(sim_.Start(args)) << sim_.Output();
  bool hung_up = false;
  auto p = AskIdentity(dir_ + "/" + GetParam().link, hung_up);
  EXPECT_FALSE(hung_up);
  ASSERT_GE(p.size(), 28 + GetParam().text.size());
  EXPECT_EQ(p[0], 0xA3);
  EXPECT_EQ(p[1], 0xA5);
  EXPECT_EQ(p[2], GetParam().mode);
  EXPECT_EQ(std::string(p.begin() + 28, p.begin() + 28 + static_cast<ptrdiff_t>(GetParam().text.size())),
            GetParam().text);
  EXPECT_EQ(sim_.Stop(SIGTERM), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SimIdentity,
    ::testing::Values(SmokeCase{"unpaced_second_of_two", {"--unpaced", "-n", "2"}, "COM2", "DorvikLumqo-ZEK V2.05", 0x53},
                      SmokeCase{"paced_named_link", {"LINEA", "LINEB"}, "LINEB", "DorvikLumqo-ZEK V2.05", 0x53},
                      SmokeCase{"generic_identity",
                                {"--unpaced", "--identity", "DorvikLumqo", "--upgradable"},
                                "COM1",
                                "DorvikLumqo",
                                0x35}),
    [](const auto& info) { return std::string(info.param.name); });

class SimStops : public SimSmoke, public ::testing::WithParamInterface<int> {};

TEST_P(SimStops, CleanlyOnSignalAndRemovesItsLinks) {
  ASSERT_TRUE(sim_.Start({"--dir", dir_, "-n", "3"})) << sim_.Output();
  for (const char* n : {"COM1", "COM2", "COM3"}) EXPECT_TRUE(Exists(dir_ + "/" + n)) << n;
  EXPECT_EQ(sim_.Stop(GetParam()), 0);
  for (const char* n : {"COM1", "COM2", "COM3"}) EXPECT_FALSE(Exists(dir_ + "/" + n)) << n;
}

INSTANTIATE_TEST_SUITE_P(Signals, SimStops, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) { return std::string(info.param == SIGINT ? "SIGINT" : "SIGTERM"); });

TEST_F(SimSmoke, HangUpFaultDropsTheLineAndItsLink) {
  ASSERT_TRUE(sim_.Start({"--dir", dir_, "--unpaced", "--hangup", "identity"})) << sim_.Output();
  bool hung_up = false;
  auto p = AskIdentity(dir_ + "/COM1", hung_up);
  EXPECT_TRUE(hung_up);
  EXPECT_TRUE(p.empty());
  EXPECT_FALSE(Exists(dir_ + "/COM1"));
  EXPECT_EQ(sim_.Stop(SIGTERM), 0);
}

TEST_F(SimSmoke, FaultForOneUnitLeavesTheOthers) {
  ASSERT_TRUE(sim_.Start({"--dir", dir_, "--unpaced", "-n", "2", "--silent", "1:identity"})) << sim_.Output();
  bool hung_up = false;
  EXPECT_TRUE(AskIdentity(dir_ + "/COM1", hung_up, 300).empty());
  EXPECT_FALSE(AskIdentity(dir_ + "/COM2", hung_up).empty());
  EXPECT_EQ(sim_.Stop(SIGTERM), 0);
}

TEST_F(SimSmoke, StandaloneRunsAfterADownloadReportOkAndNg) {
  ASSERT_TRUE(sim_.Start({"--dir", dir_, "--unpaced", "--runs", "2", "--ng-every", "2=0x4A", "--run-gap", "0",
                          "--report-gap", "0"}))
      << sim_.Output();
  int fd = OpenRawPort(dir_ + "/COM1");
  ASSERT_GE(fd, 0);
  ChipSetup s;
  s.flash_kb = 4;
  Bytes main(8192, 0x3C);
  SetSums(s, main, {});
  std::vector<Bytes> packets{ConfigCommand(s, 0x4321, Bytes(1024, 0xFF)),
                             Command(0x55, 0, Bytes(main.begin(), main.begin() + 4096), s), ResetCommand(0x8A)};
  Bytes wire;
  bool hung_up = false;
  for (const Bytes& p : packets) {
    Bytes f = Frame(p);
    ASSERT_EQ(write(fd, f.data(), f.size()), static_cast<ssize_t>(f.size()));
    if (p[0] != 0x8A) ReadReply(fd, 3000, hung_up);  // the status; the reset gets none
  }
  std::vector<uint8_t> outcomes;
  for (int reads = 0; reads < 200 && outcomes.size() < 2; ++reads) {
    Bytes got = ReadReply(fd, 200, hung_up);
    wire.insert(wire.end(), got.begin(), got.end());
    outcomes.clear();
    for (const Reply& r : DecodeReplies(wire)) {
      if (r.packet[0] == 0xFD && r.packet[1] == 240) outcomes.push_back(r.packet[2]);
    }
  }
  close(fd);
  EXPECT_EQ(outcomes, (std::vector<uint8_t>{6, 0x4A}));
  EXPECT_TRUE(sim_.WaitForOutput("COM1 runs done\n", 3000)) << sim_.Output();
  EXPECT_EQ(sim_.Stop(SIGTERM), 0);
}

struct BadStart {
  const char* name;
  std::vector<std::string> args;
};

class SimRefuses : public SimSmoke, public ::testing::WithParamInterface<BadStart> {};

TEST_P(SimRefuses, BadCommandLinesWithUsage) {
  std::vector<std::string> args{"--dir", dir_};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  EXPECT_FALSE(sim_.Start(args));
  EXPECT_EQ(sim_.Wait(), 2);
  EXPECT_NE(sim_.Output().find("usage:"), std::string::npos) << sim_.Output();
}

INSTANTIATE_TEST_SUITE_P(Args, SimRefuses,
                         ::testing::Values(BadStart{"unknown_option", {"--frobnicate"}},
                                           BadStart{"too_many_units", {"-n", "33"}},
                                           BadStart{"bad_fault", {"--fail", "program"}},
                                           BadStart{"unknown_step", {"--silent", "flash"}},
                                           BadStart{"slash_in_name", {"a/b"}},
                                           BadStart{"count_and_names_differ", {"-n", "2", "X"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimSmoke, ExistingFileIsNotReplaced) {
  std::string file = dir_ + "/COM1";
  FILE* f = fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fclose(f);
  EXPECT_FALSE(sim_.Start({"--dir", dir_}));
  EXPECT_EQ(sim_.Wait(), 1);
  EXPECT_TRUE(Exists(file));
  unlink(file.c_str());
}

}  // namespace
}  // namespace zek::sim::testing
