#include "serial/port_names.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "serial/exclusive_open.h"
#include "tests/serial/pty_support.h"

namespace zek {
namespace {

struct NameCase {
  const char* name;
  const char* device;
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }


class DefaultNumbering : public ::testing::TestWithParam<NameCase> {};

TEST_P(DefaultNumbering, ResolvesWithoutALinkFolder) {
  ::unsetenv("ZEK_COM_DIR");
  EXPECT_EQ(ResolveComName(GetParam().name), GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DefaultNumbering,
    ::testing::Values(NameCase{"COM1", "/dev/ttyS0"}, NameCase{"COM32", "/dev/ttyS31"},
                      NameCase{"COM33", "/dev/ttyUSB0"}, NameCase{"COM64", "/dev/ttyUSB31"},
                      NameCase{"COM65", "/dev/ttyACM0"}, NameCase{"COM96", "/dev/ttyACM31"},
                      NameCase{"COM97", ""}, NameCase{"COM0", ""}, NameCase{"COM", ""},
                      NameCase{"COM1X", ""}, NameCase{"com1", ""}, NameCase{"", ""},
                      NameCase{"/dev/pts/3", "/dev/pts/3"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(DefaultComName, IsTheInverseOfTheNumbering) {
  const std::pair<const char*, const char*> cases[] = {
      {"ttyS0", "COM1"},     {"ttyS31", "COM32"},   {"ttyUSB0", "COM33"}, {"ttyUSB31", "COM64"},
      {"ttyACM0", "COM65"},  {"ttyACM31", "COM96"}, {"ttyUSB32", ""},     {"ttyAMA0", ""},
      {"ttyUSB", ""},        {"pts5", ""},
  };
  for (const auto& [tty, com] : cases) EXPECT_EQ(DefaultComName(tty), com) << tty;
}

TEST(ResolveComName, ALinkInTheFolderWinsOverTheNumbering) {
  testing::ComLinkFolder folder;
  folder.Link("COM33", "/dev/null");
  folder.Link("DORVIK", "/dev/null");
  EXPECT_EQ(ResolveComName("COM33"), folder.path() + "/COM33");
  EXPECT_EQ(ResolveComName("DORVIK"), folder.path() + "/DORVIK");
  EXPECT_EQ(ResolveComName("COM34"), "/dev/ttyUSB1");
  EXPECT_EQ(ResolveComName("../COM33"), "");  // no escaping the folder
}

TEST(OpenExclusive, KeepsASecondOpenerOut) {
  testing::PtyPair pty;
  OpenResult first = OpenExclusive(pty.slave_path());
  ASSERT_GE(first.fd, 0) << first.error;
  OpenResult second = OpenExclusive(pty.slave_path());
  EXPECT_EQ(second.fd, -1);
  EXPECT_EQ(second.error, EBUSY);
  CloseExclusive(first.fd);
  OpenResult again = OpenExclusive(pty.slave_path());
  EXPECT_GE(again.fd, 0) << again.error;
  CloseExclusive(again.fd);
}

TEST(OpenExclusive, ReportsAMissingDevice) {
  EXPECT_EQ(OpenExclusive("/dev/zek-no-such-port").error, ENOENT);
  EXPECT_EQ(OpenExclusive("").error, ENOENT);
}

}  // namespace
}  // namespace zek
