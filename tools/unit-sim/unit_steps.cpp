#include "tools/unit-sim/unit_steps.h"

#include <array>

#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {
namespace {

struct StepRow {
  Step step;
  std::string_view name;
};

constexpr std::array<StepRow, 21> kSteps{{
    {Step::Any, "any"},
    {Step::Identity, "identity"},
    {Step::Config, "config"},
    {Step::DownloadMain, "download"},
    {Step::DownloadEep, "download-eep"},
    {Step::BlankCheck, "blank"},
    {Step::Erase, "erase"},
    {Step::Program, "program"},
    {Step::WriteEep, "write-eep"},
    {Step::VerifyMain, "verify"},
    {Step::VerifyEep, "verify-eep"},
    {Step::Protect, "protect"},
    {Step::WriteOption, "option"},
    {Step::ReadMain, "read"},
    {Step::ReadEep, "read-eep"},
    {Step::ChipId, "chip-id"},
    {Step::ReadInfo, "info"},
    {Step::ReadOption, "read-option"},
    {Step::Firmware, "firmware"},
    {Step::FirmwareFinish, "finish"},
    {Step::Reset, "reset"},
}};

// Sub-commands of 0x93, which carry the settings block alone.
Step SettingsOnlyStep(uint8_t sub, uint16_t length) {
  switch (sub) {
    case 0x05: return Step::BlankCheck;
    case 0x03: return Step::Erase;
    case 0x55: return Step::VerifyMain;
    case 0x56: return Step::VerifyEep;
    case 0x53: return length == 0x0440 ? Step::WriteOption : Step::Protect;
    case 0x36: return Step::ChipId;
    case 0x33: return Step::ReadInfo;
    case 0x35: return Step::ReadOption;
    default: return Step::Unknown;
  }
}

}  // namespace

std::string_view StepName(Step step) {
  for (const StepRow& r : kSteps) {
    if (r.step == step) return r.name;
  }
  return "unknown";
}

std::optional<Step> StepFromName(std::string_view name) {
  for (const StepRow& r : kSteps) {
    if (r.name == name) return r.step;
  }
  return std::nullopt;
}

bool IsIdentityQuery(std::span<const uint8_t> p) {
  return p.size() == 3 && p[0] == 0xA3 && p[1] == 0xA5 && p[2] == 0x35;
}

Command Classify(std::span<const uint8_t> p) {
  uint16_t param = Get16(p, 1);
  uint16_t length = Get16(p, 6);
  switch (p[0]) {
    case 0x53: return {Step::Config};
    case 0x55: return {Step::DownloadMain, param};
    case 0x5A: return {Step::DownloadEep};
    case 0x93: return {SettingsOnlyStep(p[1], length)};
    case 0x95: return {Step::Program, param};
    case 0x96: return {Step::WriteEep};
    case 0x9B: return {Step::ReadMain, param};
    case 0x9C: return {Step::ReadEep};
    case 0x8A:
    case 0x86: return {Step::Reset};
    case 0xB7: return {Step::Firmware, p[1] / 4};
    case 0xBD: return {Step::FirmwareFinish};
    default: return {Step::Unknown};
  }
}

}  // namespace zek::sim
