#pragma once
// What a recording port was sent, decoded back into command codes.

#include <vector>

#include "tests/support/reply_builder.h"

namespace zek::testing {

// The decoded packets of every frame sent; a frame that does not decode
// appears as an empty packet.
inline std::vector<Bytes> SentPackets(const std::vector<Bytes>& frames) {
  std::vector<Bytes> packets;
  for (const Bytes& frame : frames) packets.push_back(DecodeSent(frame).value_or(Bytes{}));
  return packets;
}

// Command codes, 0x93 sub-commands as 0x93 << 8 | sub, of the frames sent.
inline std::vector<int> SentCodes(const std::vector<Bytes>& frames) {
  std::vector<int> codes;
  for (const Bytes& packet : SentPackets(frames)) {
    if (packet.empty()) {
      codes.push_back(-1);
    } else {
      codes.push_back(packet[0] == 0x93 ? (0x93 << 8 | packet[1]) : packet[0]);
    }
  }
  return codes;
}

}  // namespace zek::testing
