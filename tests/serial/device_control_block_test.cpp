#include "serial/device_control_block.h"

#include <gtest/gtest.h>

namespace zek {
namespace {

TEST(BuildDeviceControlBlock, CodesTheModeEnumerations) {
  const std::pair<TDtrControl, uint8_t> dtr[] = {
      {TDtrControl::DtrEnable, 1}, {TDtrControl::DtrDisable, 0}, {TDtrControl::DtrHandshake, 2}};
  const std::pair<TRtsControl, uint8_t> rts[] = {{TRtsControl::RtsEnable, 1},
                                                 {TRtsControl::RtsDisable, 0},
                                                 {TRtsControl::RtsHandshake, 2},
                                                 {TRtsControl::RtsTransmissionAvailable, 3}};
  CommProperties p;
  for (auto [mode, code] : dtr) {
    p.DtrControl = mode;
    EXPECT_EQ(BuildDeviceControlBlock(p, {}).fDtrControl, code);
  }
  for (auto [mode, code] : rts) {
    p.RtsControl = mode;
    EXPECT_EQ(BuildDeviceControlBlock(p, {}).fRtsControl, code);
  }
}

TEST(BuildDeviceControlBlock, TakesSizesByOrdinalAndKeepsTheDriversCharacters) {
  CommProperties p;
  p.ByteSize = TByteSize::_5;
  p.Parity = TParity::Space;
  p.StopBits = TStopBits::_1_5;
  p.ReplacedChar = '?';
  p.ParityCheck = true;
  DeviceControlBlock driver;
  driver.EofChar = 0x1A;
  driver.EvtChar = 0x7E;
  driver.fAbortOnError = true;
  driver.fNull = true;
  DeviceControlBlock d = BuildDeviceControlBlock(p, driver);
  EXPECT_EQ(d.ByteSize, 5);
  EXPECT_EQ(d.Parity, 4);
  EXPECT_EQ(d.StopBits, 1);
  EXPECT_EQ(d.ErrorChar, '?');
  EXPECT_TRUE(d.fParity);
  EXPECT_TRUE(d.fBinary);
  EXPECT_EQ(d.EofChar, 0x1A);
  EXPECT_EQ(d.EvtChar, 0x7E);
  // The flag word starts from zero, whatever the driver had set.
  EXPECT_FALSE(d.fAbortOnError);
  EXPECT_FALSE(d.fNull);
}

TEST(StationCommProperties, AreTheWindowsLine) {
  CommProperties s = StationCommProperties();
  DeviceControlBlock d = BuildDeviceControlBlock(s, {});
  EXPECT_EQ(d.BaudRate, 1000000u);
  EXPECT_EQ(d.ByteSize, 8);
  EXPECT_EQ(d.Parity, 0);
  EXPECT_EQ(d.StopBits, 2);
  EXPECT_EQ(d.fDtrControl, 0);
  EXPECT_EQ(d.fRtsControl, 0);
  EXPECT_EQ(d.XonLim, 10);
  EXPECT_EQ(d.XonChar, '0');
  EXPECT_EQ(s.Timeouts(), (CommTimeouts{3, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace zek
