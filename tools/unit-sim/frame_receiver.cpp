#include "tools/unit-sim/frame_receiver.h"

namespace zek::sim {
namespace {
constexpr uint8_t kEnd = 0xC0, kEsc = 0xDB, kEscEnd = 0xDC, kEscEsc = 0xDD;
}

void FrameReceiver::Restart() {
  packet_.clear();
  escaped_ = false;
  bad_ = false;
}

void FrameReceiver::Feed(std::span<const uint8_t> bytes, const Sink& sink) {
  for (uint8_t b : bytes) {
    if (!open_) {
      if (b == kEnd) {
        open_ = true;
        Restart();
      }
      continue;
    }
    if (b == kEnd) {
      // C0 C0: the second delimiter opens the frame instead.
      if (packet_.empty() && !bad_ && !escaped_) continue;
      open_ = false;
      if (bad_ || escaped_) {
        ++dropped_;
      } else {
        sink(packet_);
      }
      Restart();
      continue;
    }
    if (bad_) continue;
    if (escaped_) {
      escaped_ = false;
      if (b == kEscEnd) {
        b = kEnd;
      } else if (b == kEscEsc) {
        b = kEsc;
      } else {
        bad_ = true;
        continue;
      }
    } else if (b == kEsc) {
      escaped_ = true;
      continue;
    }
    if (packet_.size() >= kMaxPacket) {
      bad_ = true;
      continue;
    }
    packet_.push_back(b);
  }
}

}  // namespace zek::sim
