#pragma once
// A station whose slots talk to simulated units in-process: a patterned
// image whose sums are in the chip descriptor, helpers that put a unit's
// chip into a known state, the read commands as the window starts them,
// and the expected lines of a slot.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "station/data/byte_sums.h"
#include "station/link/command_builders.h"
#include "station/link/operation_states.h"
#include "station/link/operation_steps.h"
#include "station/link/progress.h"
#include "station/link/start_download.h"
#include "tests/support/sim_link.h"

namespace zek::linksim {

using testing::Bytes;

// 0x93 sub-commands as CommandCodes shows them.
constexpr int kBlank = 0x9305, kErase = 0x9303, kVerify = 0x9355, kVerifyEep = 0x9356, kProtect = 0x9353;
constexpr int kChipId = 0x9336;

// What the unit's socket holds when the operation starts.
enum class ChipKind { Blank, Used, Protected, Programmed };

inline const char* const kStartedProgramming = "Starting Data programming......";

class SimFixture : public ::testing::Test {
 public:
  SimFixture() {
    for (uint32_t i = 0; i < kMainBufferSize; ++i) fs.st.MainBuffer[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    for (uint32_t i = 0; i < kEepBufferSize; ++i) fs.st.EepBuffer[i] = static_cast<uint8_t>(0xA5 ^ (i * 13));
    for (uint32_t i = 0; i < kOptionBufferSize; ++i) fs.st.OptionBuffer[i] = static_cast<uint8_t>(0x5A + i);
    SetChip(30, 0, 0);
  }
  StationState& Station() { return fs.st; }

  void TearDown() override { EXPECT_EQ(link.Overflows(), 0) << "a chunk did not fit the receive buffer"; }

  // Flash size, where the image starts in MainBuffer, EEPROM size; the
  // sums of both images go into the descriptor as the image loader leaves
  // them.
  void SetChip(uint16_t flash_kb, uint32_t start, uint16_t eep_size) {
    fs.st.FlashSizeKB = flash_kb;
    fs.st.ChipStartAddress = start;
    fs.st.EepSize = eep_size;
    Resum();
  }
  void Resum() {
    const uint32_t end = fs.st.ChipStartAddress + fs.st.FlashSizeKB * 1024u - 1;
    fs.st.MainAcc16 = static_cast<uint16_t>(SumBytes(fs.st.MainBuffer.span(), fs.st.ChipStartAddress, end));
    fs.st.MainCrc16 = Check16(fs.st.MainBuffer.span(), fs.st.ChipStartAddress, end);
    const bool eep = fs.st.EepSize > 0;
    fs.st.EepAcc16 = eep ? static_cast<uint16_t>(SumBytes(fs.st.EepBuffer.span(), 0, fs.st.EepSize - 1u)) : 0;
    fs.st.EepCrc16 = eep ? Check16(fs.st.EepBuffer.span(), 0, fs.st.EepSize - 1u) : 0;
  }

  // The image as the chip must end up holding it.
  Bytes Image() const {
    auto first = fs.st.MainBuffer.data() + fs.st.ChipStartAddress;
    return Bytes(first, first + fs.st.FlashSizeKB * 1024u);
  }
  Bytes EepImage() const { return Bytes(fs.st.EepBuffer.data(), fs.st.EepBuffer.data() + fs.st.EepSize); }
  static Bytes Head(std::span<const uint8_t> bytes, size_t n) { return Bytes(bytes.begin(), bytes.begin() + n); }

  sim::SimUnit& AttachWith(int port, ChipKind kind, uint8_t ok_status = 6) {
    sim::UnitConfig config;
    config.ok_status = ok_status;
    sim::SimUnit& unit = link.Attach(port, config);
    Prepare(unit.Chip(), kind);
    return unit;
  }
  void Prepare(sim::SimChip& chip, ChipKind kind) const {
    switch (kind) {
      case ChipKind::Blank: break;
      case ChipKind::Used: chip.FillUsed(); break;
      case ChipKind::Protected: chip.Protect(); break;
      case ChipKind::Programmed:
        chip.ProgramFlash(0, Image(), Image().size());
        chip.WriteEeprom(0, EepImage(), EepImage().size());
        break;
    }
  }

  // The window's read commands, as they start their chains.
  void StartChipIdRead(int port) {
    fs.st.PortState[port] = kStateReadChipID;
    fs.st.TimeGauge = 1;
    StartProgress(fs.st, 200, false, port);
    SendSettingsOnly(fs.st, 0x93, 0x36, port);
  }
  void StartReadMain(int port) {
    fs.st.PortAutoSeq[port] = 0;
    fs.st.TimeGauge = 0;
    fs.st.PortState[port] = kStateReadOut;
    StartProgress(fs.st, fs.st.FlashSizeKB, true, port);
    SendSettingsOnly(fs.st, 0x9B, fs.st.PortBlockIndex[port], port);
  }
  void StartReadEep(int port) {
    fs.st.PortAutoSeq[port] = 0;
    fs.st.TimeGauge = 0;
    fs.st.PortState[port] = kStateReadEEP;
    StartProgress(fs.st, 300, false, port);
    SendSettingsOnly(fs.st, 0x9C, 0, port);
  }
  void StartAuto(int port) {
    fs.st.PortAutoSeq[port] = 1;
    StartBlankCheck(fs.st, port);
  }

  // The slot's own lines, tag and time stamp removed.
  std::vector<std::string> SlotLines(int port) const {
    const std::string tag = "> 10:15:02 C" + std::to_string(port + 1) + ": ";
    std::vector<std::string> lines;
    for (const std::string& l : fs.memo.lines)
      if (l.rfind(tag, 0) == 0) lines.push_back(l.substr(tag.size()));
    return lines;
  }
  // The success line of a main verify over the image, its sums taken
  // apart from the station's own code.
  std::string VerifiedLine() const {
    Bytes image = Image();
    uint32_t acc = std::accumulate(image.begin(), image.end(), 0u);
    char text[80];
    std::snprintf(text, sizeof text, "Main Data verify success! ACC=0x%08X,CRC=0x%04X.", acc, fs.st.MainCrc16);
    return text;
  }
  // The automatic sequence's lines on a healthy unit.
  std::vector<std::string> AutoLines(ChipKind kind, bool eep) const {
    std::vector<std::string> lines = {"Do Chip blank checking......"};
    if (kind == ChipKind::Blank) {
      lines.push_back("Current Chip is blank!");
    } else {
      lines.push_back(kind == ChipKind::Protected ? "Chip is Protected!" : "Chip is not blank!");
      lines.push_back("Do Chip Erasing......");
      lines.push_back("Chip has been erased!");
    }
    lines.push_back(kStartedProgramming);
    if (eep) {
      lines.push_back("Write chip OTP Data ......");
      lines.push_back("EEP Data write success!");
    }
    lines.push_back("Do Chip data verification......");
    lines.push_back(VerifiedLine());
    return lines;
  }
  std::vector<int> AutoCodes(ChipKind kind, bool eep) const {
    std::vector<int> codes = {kBlank};
    if (kind != ChipKind::Blank) codes.push_back(kErase);
    codes.insert(codes.end(), Blocks(), 0x95);
    if (eep) codes.push_back(0x96);
    codes.push_back(kVerify);
    return codes;
  }
  int Blocks() const { return (fs.st.FlashSizeKB + 3) / 4; }
  std::vector<int> BlockIndexes() const {
    std::vector<int> v;
    for (int i = 0; i < Blocks(); ++i) v.push_back(4 * i);
    return v;
  }

  void ExpectEnded(int port, bool failed) {
    EXPECT_EQ(fs.st.PortState[port], kStateIdle) << "C" << port + 1;
    EXPECT_EQ(fs.st.PortBusy[port], 0) << "C" << port + 1;
    EXPECT_EQ(fs.gauges[port].color, failed ? kGaugeRed : kGaugeBlue) << "C" << port + 1;
    EXPECT_EQ(fs.gauges[port].progress, fs.gauges[port].max) << "C" << port + 1;
  }

  testing::FakeStation fs;
  testing::SimLink link{fs, 20261208};
};

}  // namespace zek::linksim
