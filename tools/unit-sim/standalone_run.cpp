#include "tools/unit-sim/standalone_run.h"

#include <algorithm>
#include <optional>

namespace zek::sim {
namespace {

class RunPlanner {
 public:
  RunPlanner(SimChip& chip, const StoredDownload& d, const FaultTable& faults)
      : chip_(chip), d_(d), s_(d.Config()->settings), faults_(faults) {}

  std::vector<RunReport> Plan(uint8_t ng_status) {
    uint8_t outcome = Run(ng_status);
    reports_.push_back({kRunStepDone, outcome, 0, 0});
    return std::move(reports_);
  }

 private:
  // Adds the step's report; the failure status when a fault stops it here.
  std::optional<uint8_t> Enter(uint8_t code, Step step, uint16_t progress = 0, uint16_t max = 0) {
    reports_.push_back({code, 0, progress, max});
    if (step == Step::Any) return std::nullopt;
    if (const Fault* f = faults_.FindNamed(FaultKind::Status, step)) return static_cast<uint8_t>(f->value);
    return std::nullopt;
  }

  uint8_t Run(uint8_t ng_status) {
    Enter(16, Step::Any);
    if (auto f = Enter(32, Step::BlankCheck)) return *f;
    if (!chip_.IsBlank(s_.FlashBytes()) || chip_.IsProtected()) {
      if (auto f = Enter(48, Step::Erase)) return *f;
      chip_.Erase(s_.ErasesEeprom());
    }
    if (uint8_t f = ProgramMain()) return f;
    bool eeprom = d_.HasEeprom() && s_.eep_size > 0;
    if (eeprom) {
      if (uint8_t f = ProgramEeprom()) return f;
    }
    if (auto f = Enter(112, Step::VerifyMain)) return *f;
    if (ng_status) return ng_status;
    AreaSums m = chip_.FlashSums(s_.FlashBytes());
    if (static_cast<uint16_t>(m.acc) != s_.main_acc || m.crc != s_.main_crc) return 52;
    if (eeprom) {
      if (auto f = Enter(128, Step::VerifyEep)) return *f;
      AreaSums e = chip_.EepromSums(s_.eep_size);
      if (static_cast<uint16_t>(e.acc) != s_.eep_acc || e.crc != s_.eep_crc) return 52;
    }
    if (s_.HasOptionRange() && s_.WritesOptions()) {
      if (auto f = Enter(160, Step::WriteOption)) return *f;
      chip_.WriteOptions(d_.Config()->Options());
    }
    return kRunGood;
  }

  uint8_t ProgramMain() {
    constexpr size_t kBlock = 4096;
    size_t bytes = std::min(s_.FlashBytes(), d_.Main().size());
    uint16_t blocks = static_cast<uint16_t>(std::max<size_t>((bytes + kBlock - 1) / kBlock, 1));
    for (uint16_t k = 0; k < blocks; ++k) {
      // A fault at programming stops the run at its first block.
      auto f = Enter(64, k == 0 ? Step::Program : Step::Any, k, static_cast<uint16_t>(blocks + 1));
      if (f) return *f;
      size_t at = k * kBlock;
      if (at >= d_.Main().size()) break;
      auto data = d_.Main().subspan(at, std::min(kBlock, d_.Main().size() - at));
      if (!chip_.ProgramFlash(at, data, s_.FlashBytes())) return 49;
    }
    return 0;
  }

  uint8_t ProgramEeprom() {
    constexpr size_t kChunk = 1024;
    size_t bytes = std::min<size_t>(s_.eep_size, d_.Eeprom().size());
    uint16_t chunks = static_cast<uint16_t>((bytes + kChunk - 1) / kChunk);
    for (uint16_t k = 0; k < chunks; ++k) {
      if (auto f = Enter(80, Step::WriteEep, k, static_cast<uint16_t>(chunks + 1))) return *f;
    }
    chip_.WriteEeprom(0, d_.Eeprom().first(bytes), s_.eep_size);
    return 0;
  }

  SimChip& chip_;
  const StoredDownload& d_;
  const UnitSettings& s_;
  const FaultTable& faults_;
  std::vector<RunReport> reports_;
};

}  // namespace

std::vector<RunReport> PlanStandaloneRun(SimChip& chip, const StoredDownload& download,
                                         const FaultTable& faults, uint8_t ng_status) {
  if (!download.Config()) return {{kRunStepDone, 42, 0, 0}};
  return RunPlanner(chip, download, faults).Plan(ng_status);
}

}  // namespace zek::sim
