#include "serial/line_termios.h"

#include <gtest/gtest.h>

namespace zek {
namespace {

// Line settings a pseudo-terminal cannot show (it forces 8 bits and no
// parity), checked on the termios the component hands the driver.
struct TermiosCase {
  const char* name;
  void (*change)(CommProperties&);
  tcflag_t cflag_set, cflag_clear, iflag_set, iflag_clear;
};
void PrintTo(const TermiosCase& c, std::ostream* os) { *os << c.name; }


class TermiosOfTheBlock : public ::testing::TestWithParam<TermiosCase> {};

TEST_P(TermiosOfTheBlock, CarriesTheProperty) {
  CommProperties p = StationCommProperties();
  GetParam().change(p);
  termios t{};
  t.c_iflag = ICRNL | IXON | IGNPAR | ISTRIP | INPCK | PARMRK;
  t.c_oflag = OPOST | ONLCR;
  t.c_lflag = ICANON | ECHO | ISIG;
  t.c_cflag = CS7 | PARENB;
  ApplyToTermios(BuildDeviceControlBlock(p, {}), t);
  const TermiosCase& c = GetParam();
  EXPECT_EQ(t.c_cflag & c.cflag_set, c.cflag_set);
  EXPECT_EQ(t.c_cflag & c.cflag_clear, 0u);
  EXPECT_EQ(t.c_iflag & c.iflag_set, c.iflag_set);
  EXPECT_EQ(t.c_iflag & c.iflag_clear, 0u);
  // Whatever the case, the line is raw and 8-bit clean.
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_iflag & (ICRNL | ISTRIP), 0u);
  EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), CREAD | CLOCAL);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, TermiosOfTheBlock,
    ::testing::Values(
        TermiosCase{"Station8N2", [](CommProperties&) {}, CS8 | CSTOPB, PARENB | CRTSCTS, 0, IXON | IXOFF | INPCK},
        TermiosCase{"FiveBits", [](CommProperties& p) { p.ByteSize = TByteSize::_5; }, CS5, CS8 & ~CS5, 0, 0},
        TermiosCase{"SixBits", [](CommProperties& p) { p.ByteSize = TByteSize::_6; }, CS6, CS8 & ~CS6, 0, 0},
        TermiosCase{"SevenBits", [](CommProperties& p) { p.ByteSize = TByteSize::_7; }, CS7, CS8 & ~CS7, 0, 0},
        TermiosCase{"Odd", [](CommProperties& p) { p.Parity = TParity::Odd; }, PARENB | PARODD, CMSPAR, 0, 0},
        TermiosCase{"Even", [](CommProperties& p) { p.Parity = TParity::Even; }, PARENB, PARODD | CMSPAR, 0, 0},
        TermiosCase{"Mark", [](CommProperties& p) { p.Parity = TParity::Mark; }, PARENB | CMSPAR | PARODD, 0, 0, 0},
        TermiosCase{"Space", [](CommProperties& p) { p.Parity = TParity::Space; }, PARENB | CMSPAR, PARODD, 0, 0},
        TermiosCase{"OneStop", [](CommProperties& p) { p.StopBits = TStopBits::_1; }, 0, CSTOPB, 0, 0},
        TermiosCase{"OneAndAHalfStop", [](CommProperties& p) { p.StopBits = TStopBits::_1_5; }, CSTOPB, 0, 0, 0},
        TermiosCase{"ParityCheckLeavesBadBytesAsTheyCame", [](CommProperties& p) { p.ParityCheck = true; }, 0, 0,
                    0, INPCK | IGNPAR | PARMRK},
        TermiosCase{"ReplacementWithoutCheckingIsNone", [](CommProperties& p) { p.ReplaceWhenParityError = true; },
                    0, 0, 0, INPCK | IGNPAR | PARMRK},
        TermiosCase{"CheckingAndReplacementPutInZero",
                    [](CommProperties& p) { p.ParityCheck = p.ReplaceWhenParityError = true; }, 0, 0, INPCK,
                    IGNPAR | PARMRK},
        TermiosCase{"CtsFlow", [](CommProperties& p) { p.Outx_CtsFlow = true; }, CRTSCTS, 0, 0, 0},
        TermiosCase{"XonXoff", [](CommProperties& p) { p.Outx_XonXoffFlow = p.Inx_XonXoffFlow = true; }, 0, 0,
                    IXON | IXOFF, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek
