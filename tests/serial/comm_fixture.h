#pragma once
// A station-configured TComm named COM7, whose port is the slave of a pty,
// with every event recorded.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "serial/comm_component.h"
#include "tests/serial/pty_support.h"

namespace zek::testing {

struct CommEvents {
  std::vector<std::vector<uint8_t>> chunks;
  std::vector<uint32_t> errors;
  std::vector<uint32_t> modem;
  int hangups = 0;
  size_t chunks_at_first_hangup = 0;
  int empties = 0;
  bool closed_at_data = false;  // a chunk arrived on a closed component

  size_t Received() const {
    size_t n = 0;
    for (const auto& c : chunks) n += c.size();
    return n;
  }
  std::vector<uint8_t> Joined() const {
    std::vector<uint8_t> all;
    for (const auto& c : chunks) all.insert(all.end(), c.begin(), c.end());
    return all;
  }
  void Attach(TComm& comm) {
    comm.OnReceiveData = [this](TComm* sender, const uint8_t* buffer, uint16_t length) {
      chunks.emplace_back(buffer, buffer + length);
      if (!sender->IsOpen()) closed_at_data = true;
    };
    comm.OnReceiveError = [this](TComm*, uint32_t mask) { errors.push_back(mask); };
    comm.OnModemStateChange = [this](TComm*, uint32_t code) { modem.push_back(code); };
    comm.OnRequestHangup = [this](TComm*) {
      if (hangups++ == 0) chunks_at_first_hangup = chunks.size();
    };
    comm.OnSendDataEmpty = [this](TComm*) { ++empties; };
  }
};

class CommOnPty : public ::testing::Test {
 protected:
  CommOnPty() {
    folder.Link("COM7", pty.slave_path());
    SetStationProperties(comm);
    comm.SetCommName("COM7");
    events.Attach(comm);
  }

  // Opens and waits for the transmit thread's first empty-queue notice,
  // so both threads are known to run.
  void Open() {
    comm.OpenPort();
    ASSERT_TRUE(PumpUntil([&] { return events.empties >= 1; }));
  }

  PtyPair pty;
  ComLinkFolder folder;
  CommEvents events;
  TComm comm;
};

}  // namespace zek::testing
