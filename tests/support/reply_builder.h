#pragma once
// A programmer unit's side for tests of the link: reply packets and
// frames, decoding what the station sent, and feeding received bytes
// through frame cutting into HandleReplyPacket as the receive event does.

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "station/data/station_state.h"
#include "tests/support/fake_views.h"

namespace zek::testing {

using Bytes = std::vector<uint8_t>;

// Header (code, parameter, 'E', 0, 0, data length), data, Check16.
Bytes ReplyPacket(uint8_t code, const Bytes& data, uint16_t parameter = 0);
// A reply carrying only the unit's status byte (data: status, 0).
Bytes StatusReply(uint8_t code, uint8_t status);
// The packet SLIP-framed as on the wire (with the trailing 0xFF bytes).
Bytes Frame(const Bytes& packet);
// A unit's full identity reply (A3 A5 53): the text's length in bytes 6-7,
// the text from byte 28.
Bytes IdentityReply(const std::string& text);

// Decodes one frame the station sent; the packet with its check, or
// nothing when the frame or its check is bad.
std::optional<Bytes> DecodeSent(const Bytes& frame);

// Appends bytes to the slot's receive buffer (as far as it holds them) and
// hands every complete frame to HandleReplyPacket. With rng, the bytes
// arrive in chunks of random sizes, frames cut after each chunk.
void Receive(StationState& st, int port, const Bytes& bytes, std::mt19937* rng = nullptr);

// Command codes (and sub-codes as code << 8 | sub for 0x93) of decoded
// commands, and the parameter (bytes 1-2) of every command with this code.
std::vector<int> CommandCodes(const std::vector<Bytes>& commands);
std::vector<int> CommandParams(const std::vector<Bytes>& commands, uint8_t code);

// A unit's answer to one decoded command packet; nothing for no reply.
using UnitScript = std::function<std::optional<Bytes>(int port, const Bytes& command)>;

// Answers the station's commands until every port is quiet: each round
// answers the oldest unanswered command of every port in turn, so several
// slots run their chains interleaved. Returns the commands answered or
// left unanswered, in order, per port.
struct UnitLink {
  explicit UnitLink(FakeStation& station) : fs(station) {}
  void Run(const UnitScript& script, std::mt19937* rng = nullptr);
  // Answers the oldest unanswered command of one port; false when none.
  bool Answer(int port, const UnitScript& script, std::mt19937* rng = nullptr);
  // Command codes (and sub-codes as code << 8 | sub for 0x93) seen on port.
  std::vector<int> Codes(int port) const;
  // The parameter (bytes 1-2) of every command with this code on port.
  std::vector<int> Params(int port, uint8_t code) const;
  FakeStation& fs;
  std::array<size_t, kPortSlots> handled{};
  std::array<std::vector<Bytes>, kPortSlots> commands{};
};

// The answers of a healthy unit with a blank chip: status 0 to every
// command, a verify report with status 6, read-out data from the pattern
// ReadPattern, and no reply to the reset commands.
std::optional<Bytes> HealthyUnit(int port, const Bytes& command);
uint8_t ReadPattern(int port, uint32_t offset);
// A verify-main reply: data byte 0 status, ACC (32-bit) at 10, CRC at 14.
Bytes VerifyReply(uint8_t status, uint32_t acc, uint16_t crc);

}  // namespace zek::testing
