#include "tests/support/sim_link.h"

#include <algorithm>

namespace zek::testing {
namespace {

// Most chunks are small, some as large as one read of the receive thread,
// so frames are split everywhere: inside escapes, at delimiters, between.
size_t ChunkSize(std::mt19937& rng) {
  static constexpr size_t kBounds[] = {1, 3, 16, 64, 512, 2048};
  size_t bound = kBounds[std::uniform_int_distribution<size_t>(0, std::size(kBounds) - 1)(rng)];
  return std::uniform_int_distribution<size_t>(1, bound)(rng);
}

}  // namespace

bool SimCommPort::SendBuffer(const uint8_t* buffer, uint16_t length) {
  if (!open_ || length == 0) return false;
  Bytes frame(buffer, buffer + length);
  if (std::optional<Bytes> packet = DecodeSent(frame))
    timeline_.push_back({port_, (*packet)[0], static_cast<uint16_t>((*packet)[1] | ((*packet)[2] << 8))});
  sent_.push_back(frame);
  unit_.Feed(frame);
  Bytes out = unit_.TakeOutput();
  pending_.insert(pending_.end(), out.begin(), out.end());
  return true;
}

SimLink::SimLink(FakeStation& fs, uint32_t seed) : fs_(fs), rng_(seed) {}

sim::SimUnit& SimLink::Attach(int port, sim::UnitConfig config) {
  if (config.serial == sim::UnitConfig{}.serial) config.serial = static_cast<uint32_t>(port + 1);
  units_[port] = std::make_unique<sim::SimUnit>(config);
  ports_[port] = std::make_unique<SimCommPort>(*units_[port], port, timeline_);
  fs_.st.PortComm[port] = ports_[port].get();
  fs_.st.PortConnected[port] = 1;
  return *units_[port];
}

bool SimLink::DeliverChunk(int port) {
  if (!ports_[port]) return false;
  Bytes& pending = ports_[port]->Pending();
  if (pending.empty()) return false;
  const size_t n = std::min(pending.size(), ChunkSize(rng_));
  Bytes chunk(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(n));
  pending.erase(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(n));
  if (fs_.st.PortRxLen[port] + n > kRxBufSize) ++overflows_;
  fs_.st.PortTimeout[port] = 500;  // every chunk re-arms the slot's time-out
  Receive(fs_.st, port, chunk);
  return true;
}

bool SimLink::AnswerOne(int port) {
  if (!ports_[port]) return false;
  const size_t sent = ports_[port]->Sent().size();
  bool any = false;
  while (ports_[port]->Sent().size() == sent && DeliverChunk(port)) any = true;
  return any;
}

void SimLink::Run() {
  for (bool busy = true; busy;) {
    busy = false;
    for (int p = 0; p < kPortSlots; ++p) busy = DeliverChunk(p) || busy;
  }
}

std::vector<Bytes> SimLink::Commands(int port) const {
  std::vector<Bytes> commands;
  if (!ports_[port]) return commands;
  for (const Bytes& frame : ports_[port]->Sent())
    if (std::optional<Bytes> packet = DecodeSent(frame)) commands.push_back(*packet);
  return commands;
}

}  // namespace zek::testing
