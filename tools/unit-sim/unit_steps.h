#pragma once
// What a packet from the station asks for, named the way fault options
// name it ("program@8" is the program block at index 8).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zek::sim {

enum class Step : uint8_t {
  Any,  // matches every step in a fault; never the step of a packet
  Identity,
  Config,
  DownloadMain,
  DownloadEep,
  BlankCheck,
  Erase,
  Program,
  WriteEep,
  VerifyMain,
  VerifyEep,
  Protect,
  WriteOption,
  ReadMain,
  ReadEep,
  ChipId,
  ReadInfo,
  ReadOption,
  Firmware,
  FirmwareFinish,
  Reset,
  Unknown,
};

struct Command {
  Step step = Step::Unknown;
  int block = -1;  // block index of multi-block steps, else -1
};

std::string_view StepName(Step step);
std::optional<Step> StepFromName(std::string_view name);

// True for the station's identity query, which is the three bytes A3 A5 35
// inside a frame, without header or check.
bool IsIdentityQuery(std::span<const uint8_t> packet);

// Names the step of a checked packet of at least 8 bytes.
Command Classify(std::span<const uint8_t> packet);

}  // namespace zek::sim
