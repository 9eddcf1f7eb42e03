#pragma once
// One simulated Dorvik410 unit: bytes from the station go in through Feed,
// the unit's answers come out of TakeOutput. It carries out every command
// on its SimChip, keeps the last download for stand-alone runs, takes
// firmware upgrades and commits the faults in its FaultTable. No I/O and
// no clock: the caller moves the bytes and decides when runs happen.
//
// Answers: a short reply {status, 0} for steps that only succeed or fail
// (success is UnitConfig::ok_status), data replies for reads and verifies,
// nothing for the reset commands and the upgrade's finish. A packet with a
// wrong check is answered 25, an inconsistent length or a header class that
// differs from the settings block's 42, an unknown command 37; a frame that
// does not decode is dropped.

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "tools/unit-sim/firmware_blocks.h"
#include "tools/unit-sim/frame_receiver.h"
#include "tools/unit-sim/reply_packets.h"
#include "tools/unit-sim/settings_block.h"
#include "tools/unit-sim/sim_chip.h"
#include "tools/unit-sim/standalone_run.h"
#include "tools/unit-sim/stored_download.h"
#include "tools/unit-sim/unit_faults.h"

namespace zek::sim {

// Statuses the unit sends of its own accord.
inline constexpr uint8_t kStatusProtected = 16;
inline constexpr uint8_t kStatusNotBlank = 21;
inline constexpr uint8_t kStatusCommandCheck = 25;
inline constexpr uint8_t kStatusUnknownCommand = 37;
inline constexpr uint8_t kStatusPacketError = 42;
inline constexpr uint8_t kStatusFlashError = 44;
inline constexpr uint8_t kStatusWriteFailed = 49;
inline constexpr uint8_t kStatusChecksum = 52;
inline constexpr uint8_t kStatusVerified = 6;

struct UnitConfig {
  std::string identity = "DorvikLumqo-ZEK V2.05, Dorvik410";
  bool upgradable = false;  // identity byte 2 is 0x35 instead of 0x53
  uint8_t ok_status = 6;    // 0 or 6: what a plain success is answered with
  bool used_chips = false;  // chips of stand-alone runs arrive unerased
  uint32_t serial = 1;      // seeds the chips' IDs and contents
};

class SimUnit {
 public:
  explicit SimUnit(UnitConfig config = {});

  void Feed(std::span<const uint8_t> bytes);
  // Every byte sent since the last call.
  Bytes TakeOutput();
  bool HasOutput() const { return !output_.empty(); }

  FaultTable& Faults() { return faults_; }
  SimChip& Chip() { return chip_; }
  const UnitConfig& Config() const { return config_; }
  // A hang-up fault fired: the line is to be dropped; input is ignored.
  bool HungUp() const { return hung_up_; }
  // How late the output queued since the last call is to leave, in ms (a
  // late fault fired); 0 when on time. The caller holds the bytes back.
  int TakeLateness();

  // Stand-alone runs: possible once a download is complete and the station
  // has reset the unit into off-line mode (0x8A).
  bool CanRunStandalone() const { return offline_ && download_.Complete(); }
  // Inserts a new chip and plans its run; false when no run is possible or
  // one is going on. A non-zero ng_status makes this run fail with it.
  bool StartStandaloneRun(uint8_t ng_status = 0);
  bool RunInProgress() const { return !run_reports_.empty(); }
  // Sends the run's next report; false when none is left.
  bool EmitNextReport();
  int RunsGood() const { return runs_good_; }
  int RunsFailed() const { return runs_failed_; }

  bool Offline() const { return offline_; }
  const StoredDownload& Download() const { return download_; }
  const UnitSettings& LastSettings() const { return settings_; }
  std::span<const uint8_t> FirmwareImage() const { return firmware_; }
  int FirmwareBlocksTaken() const { return firmware_blocks_; }
  int UpgradesFinished() const { return upgrades_finished_; }
  uint32_t DroppedFrames() const { return receiver_.DroppedFrames(); }

 private:
  void OnPacket(std::span<const uint8_t> packet);
  void OnCommand(std::span<const uint8_t> packet);
  // Carries out the command; returns the reply packet, empty for none.
  Bytes Execute(const Command& c, std::span<const uint8_t> packet);
  Bytes ExecuteTransfer(const Command& c, std::span<const uint8_t> packet);
  Bytes ExecuteChipStep(const Command& c, std::span<const uint8_t> packet);
  Bytes ExecuteRead(const Command& c, std::span<const uint8_t> packet);
  Bytes Verify(std::span<const uint8_t> packet, AreaSums sums, uint16_t want_acc, uint16_t want_crc);
  void Send(const Command& c, Bytes packet);

  UnitConfig config_;
  FrameReceiver receiver_;
  FaultTable faults_;
  SimChip chip_;
  StoredDownload download_;
  UnitSettings settings_;
  Bytes output_;
  std::vector<uint8_t> firmware_;
  std::deque<RunReport> run_reports_;
  uint32_t next_chip_serial_;
  uint32_t garbage_seed_ = 0x2545F491u;
  int firmware_blocks_ = 0;
  int upgrades_finished_ = 0;
  int runs_good_ = 0;
  int runs_failed_ = 0;
  bool offline_ = false;
  bool hung_up_ = false;
  int late_ms_ = 0;
};

}  // namespace zek::sim
