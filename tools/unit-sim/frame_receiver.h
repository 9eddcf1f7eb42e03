#pragma once
// Cuts the station's byte stream into packets: a frame opens at 0xC0 and
// closes at the next 0xC0; DB DC and DB DD stand for C0 and DB. Bytes
// between frames (the station's 0xFF fill) are ignored. A frame with a bad
// escape or longer than kMaxPacket is dropped whole; nothing is written
// past the packet buffer.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace zek::sim {

class FrameReceiver {
 public:
  static constexpr size_t kMaxPacket = 8192;
  using Sink = std::function<void(std::span<const uint8_t>)>;

  // Calls sink once for every frame completed by these bytes, in order.
  void Feed(std::span<const uint8_t> bytes, const Sink& sink);
  uint32_t DroppedFrames() const { return dropped_; }

 private:
  void Restart();
  std::vector<uint8_t> packet_;
  bool open_ = false;
  bool escaped_ = false;
  bool bad_ = false;
  uint32_t dropped_ = 0;
};

}  // namespace zek::sim
