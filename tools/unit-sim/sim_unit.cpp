#include "tools/unit-sim/sim_unit.h"

#include <algorithm>
#include <utility>

#include "tools/unit-sim/chip_read_replies.h"
#include "tools/unit-sim/config_image.h"
#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {
namespace {

constexpr size_t kData = 8;
constexpr size_t kBlockBytes = 4096;

// The data length each command must declare.
uint16_t ExpectedLength(Step step) {
  switch (step) {
    case Step::Config: return 0x0600;
    case Step::DownloadMain:
    case Step::DownloadEep: return 0x1000;
    case Step::Program:
    case Step::WriteEep: return 0x1040;
    case Step::WriteOption: return 0x0440;
    case Step::Firmware: return 0x1020;
    case Step::Reset:
    case Step::FirmwareFinish: return 0x0002;
    default: return 0x0040;  // the settings block alone
  }
}

bool CarriesSettings(uint8_t code) {
  return code == 0x93 || code == 0x95 || code == 0x96 || code == 0x9B || code == 0x9C;
}

bool IsResetPacket(std::span<const uint8_t> p) {
  return p[1] == 'R' && p[2] == 'E' && p[3] == 'S' && p[4] == 'T' && p[5] == 0xA8 && p[8] == 0 && p[9] == 0;
}

}  // namespace

SimUnit::SimUnit(UnitConfig config)
    : config_(std::move(config)),
      chip_(config_.serial * 1000),
      firmware_(kFirmwareImageSize, 0xFF),
      next_chip_serial_(config_.serial * 1000 + 1) {}

void SimUnit::Feed(std::span<const uint8_t> bytes) {
  if (hung_up_) return;
  receiver_.Feed(bytes, [this](std::span<const uint8_t> p) {
    if (!hung_up_) OnPacket(p);
  });
}

Bytes SimUnit::TakeOutput() {
  Bytes out;
  out.swap(output_);
  return out;
}

void SimUnit::OnPacket(std::span<const uint8_t> p) {
  if (IsIdentityQuery(p)) {
    Command c{Step::Identity};
    if (faults_.Find(FaultKind::Silence, c)) return;
    if (faults_.Find(FaultKind::HangUp, c)) {
      hung_up_ = true;
      return;
    }
    Send(c, IdentityReply(config_.identity, config_.upgradable));
    return;
  }
  if (p.size() < kData + 2) return;  // nothing to answer to
  OnCommand(p);
}

void SimUnit::OnCommand(std::span<const uint8_t> p) {
  Command c = Classify(p);
  uint16_t declared = Get16(p, 6);
  if (LineCheck16(p.first(p.size() - 2)) != Get16(p, p.size() - 2)) {
    Send(c, StatusReply(p, kStatusCommandCheck));
    return;
  }
  if (c.step == Step::Unknown) {
    Send(c, StatusReply(p, kStatusUnknownCommand));
    return;
  }
  if (kData + declared + 2 != p.size() || declared != ExpectedLength(c.step)) {
    Send(c, StatusReply(p, kStatusPacketError));
    return;
  }
  // The header and the settings block name one chip class.
  if (CarriesSettings(p[0]) && p[kData + 2] != p[4]) {
    Send(c, StatusReply(p, kStatusPacketError));
    return;
  }
  if (CarriesSettings(p[0])) settings_ = ParseSettings(p.subspan(kData, kSettingsBlockSize));
  if (faults_.Find(FaultKind::Silence, c)) return;
  if (faults_.Find(FaultKind::HangUp, c)) {
    hung_up_ = true;
    return;
  }
  if (const Fault* f = faults_.Find(FaultKind::Status, c)) {
    auto status = static_cast<uint8_t>(f->value);
    if (c.step == Step::VerifyMain || c.step == Step::VerifyEep) {
      // The verify's status travels in its data, with the chip's sums.
      Bytes reply = Execute(c, p);
      reply[kData] = status;
      Put16(reply, reply.size() - 2, LineCheck16(std::span(reply).first(reply.size() - 2)));
      Send(c, std::move(reply));
    } else {
      Send(c, StatusReply(p, status));
    }
    return;
  }
  Send(c, Execute(c, p));
}

Bytes SimUnit::Execute(const Command& c, std::span<const uint8_t> p) {
  switch (c.step) {
    case Step::Config:
    case Step::DownloadMain:
    case Step::DownloadEep:
    case Step::Firmware:
    case Step::FirmwareFinish:
    case Step::Reset: return ExecuteTransfer(c, p);
    case Step::BlankCheck:
    case Step::Erase:
    case Step::Program:
    case Step::WriteEep:
    case Step::Protect:
    case Step::WriteOption: return ExecuteChipStep(c, p);
    default: return ExecuteRead(c, p);
  }
}

Bytes SimUnit::ExecuteTransfer(const Command& c, std::span<const uint8_t> p) {
  auto data = p.subspan(kData, p.size() - kData - 2);
  switch (c.step) {
    case Step::Config: {
      auto image = ReadConfigImage(data, Get16(p, 1));
      if (!image || image->settings.chip_class != p[4]) return StatusReply(p, kStatusPacketError);
      download_.Begin(*image);
      settings_ = image->settings;
      offline_ = false;
      return StatusReply(p, config_.ok_status);
    }
    case Step::DownloadMain: {
      auto index = static_cast<uint16_t>(c.block);
      if (!download_.Config()) return StatusReply(p, kStatusPacketError);
      if (size_t{index} * 1024 >= StoredDownload::kImageCapacity) return StatusReply(p, kStatusFlashError);
      if (!download_.OnGrid(index)) return StatusReply(p, kStatusPacketError);
      download_.StoreBlock(index, data);
      return StatusReply(p, config_.ok_status);
    }
    case Step::DownloadEep:
      if (!download_.StoreEeprom(data)) return StatusReply(p, kStatusPacketError);
      return StatusReply(p, config_.ok_status);
    case Step::Firmware:
      // Only 6 counts as success for an upgrade block.
      if (!UnpackFirmwareBlock(p, firmware_)) return StatusReply(p, kStatusPacketError);
      ++firmware_blocks_;
      return StatusReply(p, kStatusVerified);
    case Step::FirmwareFinish:
      if (!IsUpgradeFinish(p)) return StatusReply(p, kStatusPacketError);
      ++upgrades_finished_;
      return {};  // the station does not wait for an answer
    default:  // Reset
      if (!IsResetPacket(p)) return StatusReply(p, kStatusPacketError);
      if (p[0] == 0x8A) offline_ = true;
      return {};
  }
}

Bytes SimUnit::ExecuteChipStep(const Command& c, std::span<const uint8_t> p) {
  const UnitSettings& s = settings_;
  auto payload = p.subspan(kData + kSettingsBlockSize, p.size() - kData - kSettingsBlockSize - 2);
  bool locked = chip_.IsProtected();
  switch (c.step) {
    case Step::BlankCheck:
      if (locked) return StatusReply(p, kStatusProtected);
      return StatusReply(p, chip_.IsBlank(s.FlashBytes()) ? config_.ok_status : kStatusNotBlank);
    case Step::Erase:
      chip_.Erase(s.ErasesEeprom());
      break;
    case Step::Program: {
      if (locked) return StatusReply(p, kStatusProtected);
      size_t at = static_cast<size_t>(c.block) * 1024;
      if (at >= std::min(s.FlashBytes(), SimChip::kFlashCapacity)) return StatusReply(p, kStatusFlashError);
      if (!chip_.ProgramFlash(at, payload, s.FlashBytes())) return StatusReply(p, kStatusWriteFailed);
      break;
    }
    case Step::WriteEep:
      if (locked) return StatusReply(p, kStatusProtected);
      chip_.WriteEeprom(0, payload, s.eep_size);
      break;
    case Step::Protect:
      chip_.Protect();
      break;
    default:  // WriteOption
      chip_.WriteOptions(payload);
      break;
  }
  return StatusReply(p, config_.ok_status);
}

Bytes SimUnit::ExecuteRead(const Command& c, std::span<const uint8_t> p) {
  const UnitSettings& s = settings_;
  bool locked = chip_.IsProtected();
  switch (c.step) {
    case Step::VerifyMain:
      if (locked) return StatusReply(p, kStatusProtected);
      return Verify(p, chip_.FlashSums(s.FlashBytes()), s.main_acc, s.main_crc);
    case Step::VerifyEep:
      if (locked) return StatusReply(p, kStatusProtected);
      return Verify(p, chip_.EepromSums(s.eep_size), s.eep_acc, s.eep_crc);
    case Step::ReadMain: {
      if (locked) return StatusReply(p, kStatusProtected);
      Bytes block(kBlockBytes, 0xFF);
      size_t at = static_cast<size_t>(c.block) * 1024;
      auto flash = chip_.Flash();
      if (at < flash.size()) {
        std::copy_n(flash.begin() + static_cast<ptrdiff_t>(at), std::min(kBlockBytes, flash.size() - at),
                    block.begin());
      }
      return DataReply(p, block);
    }
    case Step::ReadEep:
      if (locked) return StatusReply(p, kStatusProtected);
      return DataReply(p, chip_.Eeprom().first(kBlockBytes));
    case Step::ChipId: return DataReply(p, ChipIdData(chip_));
    case Step::ReadInfo: return DataReply(p, InfoReadData(chip_, s));
    default: return DataReply(p, OptionReadData(chip_));  // ReadOption
  }
}

// Data: status (6 on a match, else 52), zeros, the chip's 32-bit byte sum
// at 10-13 and its check at 14-15.
Bytes SimUnit::Verify(std::span<const uint8_t> p, AreaSums sums, uint16_t want_acc, uint16_t want_crc) {
  Bytes data(16, 0);
  bool match = static_cast<uint16_t>(sums.acc) == want_acc && sums.crc == want_crc;
  data[0] = match ? kStatusVerified : kStatusChecksum;
  Put32(data, 10, sums.acc);
  Put16(data, 14, sums.crc);
  return DataReply(p, data);
}

int SimUnit::TakeLateness() { return std::exchange(late_ms_, 0); }

void SimUnit::Send(const Command& c, Bytes packet) {
  if (packet.empty()) return;
  if (const Fault* late = faults_.Find(FaultKind::Late, c)) late_ms_ = std::max<int>(late_ms_, late->value);
  if (faults_.Find(FaultKind::BadCheck, c)) packet.back() ^= 0x5A;
  if (const Fault* g = faults_.Find(FaultKind::Garbage, c)) {
    for (uint16_t i = 0; i < g->value; ++i) {
      garbage_seed_ ^= garbage_seed_ << 13;
      garbage_seed_ ^= garbage_seed_ >> 17;
      garbage_seed_ ^= garbage_seed_ << 5;
      auto b = static_cast<uint8_t>(garbage_seed_);
      output_.push_back(b == 0xC0 ? 0xC1 : b);
    }
  }
  AppendFrame(output_, packet);
}

bool SimUnit::StartStandaloneRun(uint8_t ng_status) {
  if (!CanRunStandalone() || RunInProgress()) return false;
  chip_ = SimChip(next_chip_serial_++);
  if (config_.used_chips) chip_.FillUsed();
  auto plan = PlanStandaloneRun(chip_, download_, faults_, ng_status);
  run_reports_.assign(plan.begin(), plan.end());
  return true;
}

bool SimUnit::EmitNextReport() {
  if (run_reports_.empty()) return false;
  RunReport r = run_reports_.front();
  run_reports_.pop_front();
  AppendFrame(output_, InfoReport(r.step, r.status, r.progress, r.maximum));
  if (r.step == kRunStepDone) (r.status == kRunGood ? runs_good_ : runs_failed_) += 1;
  return true;
}

}  // namespace zek::sim
