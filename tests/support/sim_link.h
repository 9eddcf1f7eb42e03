#pragma once
// The station's slots wired to simulated units, in-process. What a slot
// sends goes straight into its unit; what the unit answers waits until the
// link delivers it, chunk by chunk at random boundaries (fixed seed), the
// way the receive event does: re-arm the time-out, append to PortRxBuf,
// cut frames, HandleReplyPacket. Replies therefore never re-enter the
// station from inside a send, and several slots interleave freely.

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "serial/comm_port.h"
#include "tests/support/fake_views.h"
#include "tests/support/reply_builder.h"
#include "tools/unit-sim/sim_unit.h"

namespace zek::testing {

// One command as it left the station, across all slots.
struct SentCommand {
  int port;
  uint8_t code;
  uint16_t parameter;
};

// A port whose far end is a SimUnit. A hung-up unit takes nothing more.
// Each command sent is also noted in the shared timeline.
class SimCommPort : public CommPort {
 public:
  SimCommPort(sim::SimUnit& unit, int port, std::vector<SentCommand>& timeline)
      : unit_(unit), port_(port), timeline_(timeline) {}
  void OpenPort() override { open_ = true; }
  void ClosePort() override { open_ = false; }
  bool SendBuffer(const uint8_t* buffer, uint16_t length) override;
  std::string CommName() const override { return name_; }
  void SetCommName(const std::string& name) override { name_ = name; }
  bool IsOpen() const override { return open_; }

  sim::SimUnit& Unit() { return unit_; }
  // Every frame the station sent, in order.
  const std::vector<Bytes>& Sent() const { return sent_; }
  // The unit's output not yet delivered to the station.
  Bytes& Pending() { return pending_; }

 private:
  sim::SimUnit& unit_;
  int port_;
  std::vector<SentCommand>& timeline_;
  std::vector<Bytes> sent_;
  Bytes pending_;
  std::string name_ = "COM1";
  bool open_ = true;
};

class SimLink {
 public:
  explicit SimLink(FakeStation& fs, uint32_t seed = 1);

  // Puts a fresh unit (serial port + 1 unless the config names one) on the
  // slot in place of its fake port and marks the slot's unit identified.
  sim::SimUnit& Attach(int port, sim::UnitConfig config = {});
  sim::SimUnit& Unit(int port) { return *units_[port]; }
  SimCommPort& Port(int port) { return *ports_[port]; }

  // Hands one chunk of the slot's pending output to the station; false
  // when nothing is pending.
  bool DeliverChunk(int port);
  // Delivers the slot's pending output until the station sends its next
  // command or nothing is left; false when nothing was pending.
  bool AnswerOne(int port);
  // Delivers until no slot has anything pending, slots taking turns one
  // chunk at a time.
  void Run();

  // The slot's commands as decoded packets (check included); a frame that
  // does not decode is left out.
  std::vector<Bytes> Commands(int port) const;
  std::vector<int> Codes(int port) const { return CommandCodes(Commands(port)); }
  std::vector<int> Params(int port, uint8_t code) const { return CommandParams(Commands(port), code); }
  // Every command of every slot in the order the station sent them.
  const std::vector<SentCommand>& Timeline() const { return timeline_; }
  // Chunks that did not fit the slot's receive buffer whole.
  int Overflows() const { return overflows_; }

 private:
  FakeStation& fs_;
  std::mt19937 rng_;
  std::array<std::unique_ptr<sim::SimUnit>, kPortSlots> units_{};
  std::array<std::unique_ptr<SimCommPort>, kPortSlots> ports_{};
  std::vector<SentCommand> timeline_;
  int overflows_ = 0;
};

}  // namespace zek::testing
