#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <exception>
#include <fstream>

#include "serial/baud_rate.h"
#include "serial/comm_component.h"
#include "tests/serial/comm_fixture.h"

namespace zek {
namespace {

using namespace std::chrono_literals;
using testing::CommOnPty;
using testing::PumpUntil;

std::string OpenError(TComm& comm) {
  try {
    comm.OpenPort();
  } catch (const ECommsError& e) {
    return e.what();
  }
  return "(opened)";
}

// The bytes sent arrive at the far end, and the far end's bytes come back.
void ExpectLineWorks(TComm& comm, testing::PtyPair& pty, testing::CommEvents& events) {
  const std::vector<uint8_t> out = {0xC0, 0x01, 0x02, 0xC0};
  ASSERT_TRUE(comm.SendBuffer(out.data(), static_cast<uint16_t>(out.size())));
  EXPECT_EQ(pty.Read(out.size()), out);
  size_t before = events.Received();
  pty.Write({0x55, 0xAA});
  EXPECT_TRUE(PumpUntil([&] { return events.Received() == before + 2; }));
}

TEST_F(CommOnPty, OpensAtTheStationsLineSettings) {
  Open();
  EXPECT_TRUE(comm.IsOpen());
  std::string stty = pty.Stty();
  for (const char* token : {"speed 1000000 baud", " cs8", " cstopb", " -parenb", " -crtscts", " -ixon",
                            " -ixoff", " -icanon", " -echo", " -opost", " -isig", " -icrnl", " clocal"}) {
    EXPECT_NE(stty.find(token), std::string::npos) << token << " not in\n" << stty;
  }
  ExpectLineWorks(comm, pty, events);
}

TEST_F(CommOnPty, AFreshComponentOpensAt9600) {
  TComm fresh;
  fresh.SetCommName("COM7");
  EXPECT_EQ(fresh.BaudRate(), 9600u);
  EXPECT_EQ(fresh.ReadIntervalTimeout(), 5u);
  fresh.OpenPort();
  std::string stty = pty.Stty();
  EXPECT_NE(stty.find("speed 9600 baud"), std::string::npos) << stty;
  EXPECT_NE(stty.find(" cstopb"), std::string::npos) << stty;
}

TEST_F(CommOnPty, OpeningAnOpenPortFailsAndLeavesItWorking) {
  Open();
  EXPECT_EQ(OpenError(comm), "This serial port already opened");
  EXPECT_TRUE(comm.IsOpen());
  ExpectLineWorks(comm, pty, events);
}

TEST_F(CommOnPty, AMissingPortFailsWithItsNameAndALaterGoodNameOpens) {
  for (const char* name : {"COM97", "NOPORT", "/dev/zek-no-such-port", ""}) {
    comm.SetCommName(name);
    EXPECT_EQ(OpenError(comm), std::string("Error opening serial port:") + name);
    EXPECT_FALSE(comm.IsOpen());
  }
  comm.SetCommName("COM7");
  Open();
  ExpectLineWorks(comm, pty, events);
}

TEST_F(CommOnPty, APortHeldByAnotherComponentCannotBeOpened) {
  Open();
  TComm second;
  second.SetCommName("COM7");
  EXPECT_EQ(OpenError(second), "Error opening serial port:COM7");
  EXPECT_FALSE(second.IsOpen());
  comm.ClosePort();
  EXPECT_EQ(OpenError(second), "(opened)");
  second.ClosePort();
}

TEST_F(CommOnPty, AFileThatIsNoTerminalIsRefusedAndLetGo) {
  std::string file = folder.path() + "/plain.bin";
  std::ofstream(file) << "not a port";
  folder.Link("COM8", file);
  comm.SetCommName("COM8");
  EXPECT_EQ(OpenError(comm), "File handle is not a comm handle ");
  EXPECT_FALSE(comm.IsOpen());
  // The refused handle was closed: its lock does not hold the file.
  EXPECT_EQ(OpenError(comm), "File handle is not a comm handle ");
}

// Opens with only `spare` file descriptors left to the process, so the
// steps after the device's own open run out of them.
void OpenWithSpareDescriptors(TComm& comm, testing::CommEvents& events, int spare, std::string& error) {
  // One whole cycle first: the sanitizers' type checks of the objects the
  // open makes need a descriptor the first time only.
  comm.OpenPort();
  comm.ClosePort();
  testing::DeliverPosted();
  events = {};
  int lowest = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(lowest, 0);
  ::close(lowest);
  rlimit was{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &was), 0);
  rlimit tight = was;
  tight.rlim_cur = static_cast<rlim_t>(lowest + spare);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
  // The error is looked at only once the limit is lifted: the sanitizers'
  // own checks of an object need a descriptor.
  std::exception_ptr failure;
  try {
    comm.OpenPort();
  } catch (...) {
    failure = std::current_exception();
  }
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &was), 0);
  error = "(opened)";
  if (failure) {
    try {
      std::rethrow_exception(failure);
    } catch (const ECommsError& e) {
      error = e.what();
    }
  }
}

TEST_F(CommOnPty, NoStopEventLeavesThePortClosedAndFree) {
  std::string error;
  OpenWithSpareDescriptors(comm, events, 1, error);  // the device only
  EXPECT_EQ(error, "Unable to create event");
  EXPECT_FALSE(comm.IsOpen());
  // The device was let go: its exclusive hold does not keep the next open out.
  Open();
  ExpectLineWorks(comm, pty, events);
}

TEST_F(CommOnPty, ATransmitThreadWithoutItsQueueAsksForAHangup) {
  std::string error;
  OpenWithSpareDescriptors(comm, events, 2, error);  // the device and the stop event
  ASSERT_EQ(error, "(opened)");
  ASSERT_TRUE(PumpUntil([&] { return events.hangups == 1; }));
  EXPECT_EQ(events.empties, 0);
  const uint8_t byte = 0x42;
  EXPECT_FALSE(comm.SendBuffer(&byte, 1));
  // The receive thread goes on until the owner closes the port.
  pty.Write({0x55});
  EXPECT_TRUE(PumpUntil([&] { return events.Received() == 1; }));
  comm.ClosePort();
  testing::DeliverPosted();
  EXPECT_EQ(events.hangups, 1);
}

TEST_F(CommOnPty, ClosingIsHarmlessWhenClosedAndOpenCloseCyclesRepeat) {
  comm.ClosePort();
  EXPECT_FALSE(comm.IsOpen());
  for (int cycle = 0; cycle < 3; ++cycle) {
    comm.OpenPort();
    ExpectLineWorks(comm, pty, events);
    comm.ClosePort();
    comm.ClosePort();
    EXPECT_FALSE(comm.IsOpen());
  }
  EXPECT_EQ(events.hangups, 0);
}

TEST_F(CommOnPty, SendBufferRefusesEmptyOrClosed) {
  const uint8_t byte = 0x42;
  EXPECT_FALSE(comm.SendBuffer(&byte, 1));  // closed
  Open();
  EXPECT_FALSE(comm.SendBuffer(&byte, 0));
  EXPECT_FALSE(comm.SendBuffer(nullptr, 5));
  EXPECT_TRUE(pty.Read(1, 100ms).empty());
  comm.ClosePort();
  EXPECT_FALSE(comm.SendBuffer(&byte, 1));
}

TEST_F(CommOnPty, TheCallersBufferMayBeReusedAtOnce) {
  Open();
  std::vector<uint8_t> buffer = {1, 2, 3, 4};
  ASSERT_TRUE(comm.SendBuffer(buffer.data(), 4));
  std::fill(buffer.begin(), buffer.end(), 0xEE);
  EXPECT_EQ(pty.Read(4), (std::vector<uint8_t>{1, 2, 3, 4}));
}

// Each setter, given a new value while open, reaches the line at once.
struct SetterCase {
  const char* name;
  void (*change)(TComm&);
  const char* token;  // in `stty -a` afterwards
};
void PrintTo(const SetterCase& c, std::ostream* os) { *os << c.name; }


class SetterWhileOpen : public CommOnPty, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(SetterWhileOpen, AppliesTheLineAtOnce) {
  Open();
  GetParam().change(comm);
  std::string stty = pty.Stty();
  EXPECT_NE(stty.find(GetParam().token), std::string::npos) << GetParam().token << " not in\n" << stty;
  ExpectLineWorks(comm, pty, events);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, SetterWhileOpen,
    ::testing::Values(
        SetterCase{"BaudRate", [](TComm& c) { c.SetBaudRate(115200); }, "speed 115200 baud"},
        SetterCase{"StopBits", [](TComm& c) { c.SetStopBits(TStopBits::_1); }, " -cstopb"},
        SetterCase{"ParityCheck", [](TComm& c) { c.SetParityCheck(true); }, " -inpck"},
        SetterCase{"ParityReplacement",
                   [](TComm& c) {
                     c.SetParityCheck(true);
                     c.SetReplaceWhenParityError(true);
                   },
                   " inpck"},
        SetterCase{"CtsFlow", [](TComm& c) { c.SetOutx_CtsFlow(true); }, " crtscts"},
        SetterCase{"RtsHandshake", [](TComm& c) { c.SetRtsControl(TRtsControl::RtsHandshake); }, " crtscts"},
        SetterCase{"OutXonXoff", [](TComm& c) { c.SetOutx_XonXoffFlow(true); }, " ixon"},
        SetterCase{"InXonXoff", [](TComm& c) { c.SetInx_XonXoffFlow(true); }, " ixoff"},
        SetterCase{"XonChar", [](TComm& c) { c.SetXonChar(0x11); }, "start = ^Q"},
        SetterCase{"XoffChar", [](TComm& c) { c.SetXoffChar(0x13); }, "stop = ^S"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommOnPty, ARateWithoutACodeIsSetExactly) {
  Open();
  comm.SetBaudRate(250000);
  EXPECT_EQ(ReadLineBaudRate(pty.slave()), 250000u);
  comm.SetBaudRate(1000000);
  EXPECT_EQ(ReadLineBaudRate(pty.slave()), 1000000u);
}

TEST_F(CommOnPty, SettingTheSameValueAppliesNothing) {
  Open();
  // Change the line behind the component's back; an unchanged property
  // must not put it right again, a changed one must.
  SetLineBaudRate(pty.slave(), 9600);
  comm.SetBaudRate(1000000);
  comm.SetStopBits(TStopBits::_2);
  EXPECT_EQ(ReadLineBaudRate(pty.slave()), 9600u);
  comm.SetXonLimit(11);
  EXPECT_EQ(ReadLineBaudRate(pty.slave()), 1000000u);
}

TEST_F(CommOnPty, ASettingMadeWhileClosedIsAppliedAtTheNextOpen) {
  comm.SetBaudRate(57600);
  comm.SetParity(TParity::Odd);
  Open();
  std::string stty = pty.Stty();
  EXPECT_NE(stty.find("speed 57600 baud"), std::string::npos) << stty;
  // A pseudo-terminal drops PARENB and CSIZE whatever is asked; PARODD
  // shows what was.
  EXPECT_NE(stty.find(" parodd"), std::string::npos) << stty;
}

TEST_F(CommOnPty, ParityWaitsForTheNextLineApplication) {
  Open();
  comm.SetParity(TParity::Odd);
  EXPECT_NE(pty.Stty().find(" -parodd"), std::string::npos);
  comm.SetStopBits(TStopBits::_1);  // any other line property applies the block
  std::string stty = pty.Stty();
  EXPECT_NE(stty.find(" parodd"), std::string::npos) << stty;
  EXPECT_NE(stty.find(" -cstopb"), std::string::npos) << stty;
}

TEST_F(CommOnPty, MarkAndSpaceParityUseStickParity) {
  comm.SetParity(TParity::Mark);
  Open();
  std::string stty = pty.Stty();
  EXPECT_NE(stty.find(" cmspar"), std::string::npos) << stty;
  EXPECT_NE(stty.find(" parodd"), std::string::npos) << stty;
  comm.SetParity(TParity::Space);
  comm.SetStopBits(TStopBits::_1);
  stty = pty.Stty();
  EXPECT_NE(stty.find(" cmspar"), std::string::npos) << stty;
  EXPECT_NE(stty.find(" -parodd"), std::string::npos) << stty;
}

TEST_F(CommOnPty, ANewNameWhileOpenWaitsForTheNextOpen) {
  Open();
  comm.SetCommName("COM97");
  EXPECT_EQ(comm.CommName(), "COM97");
  ExpectLineWorks(comm, pty, events);
  comm.ClosePort();
  EXPECT_EQ(OpenError(comm), "Error opening serial port:COM97");
}

TEST_F(CommOnPty, DestroyingAnOpenComponentClosesItsPort) {
  {
    TComm doomed;
    doomed.SetCommName("COM7");
    doomed.OpenPort();
    pty.Write({1, 2, 3});  // may still be queued for the window: dropped with it
  }
  comm.OpenPort();
  EXPECT_TRUE(comm.IsOpen());
}

}  // namespace
}  // namespace zek
