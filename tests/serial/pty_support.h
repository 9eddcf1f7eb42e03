#pragma once
// Pseudo-terminal fixtures for the serial tests: a pty pair standing in
// for a unit's port, a $ZEK_COM_DIR of links naming it, and waits that
// run the Qt event loop up to a deadline.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace zek::testing {

using namespace std::chrono_literals;

// The station opens the slave by name; the test plays the unit on the
// master. The test keeps its own slave fd open, so the pty lives on across
// the component's open/close cycles.
class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  int master() const { return master_; }
  int slave() const { return slave_; }
  const std::string& slave_path() const { return slave_path_; }
  // The far end vanishes, as a pulled USB adapter does.
  void CloseMaster();

  void Write(const std::vector<uint8_t>& bytes) const;
  // Bytes written to the master that no reader of the slave has taken yet.
  int Unread() const;
  // Reads until `count` bytes have come or the deadline passes.
  std::vector<uint8_t> Read(size_t count, std::chrono::milliseconds limit = 5s) const;
  // `stty -a` of the line, run on the master (which reports the slave).
  std::string Stty() const;

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slave_path_;
};

// A temporary folder set as $ZEK_COM_DIR for the fixture's lifetime.
class ComLinkFolder {
 public:
  ComLinkFolder();
  ~ComLinkFolder();
  const std::string& path() const { return path_; }
  void Link(const std::string& name, const std::string& target) const;

 private:
  std::string path_;
};

// Runs the event loop until `done` holds or `limit` passes; the result
// of `done` at the end.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s);
// Delivers every message already posted, without waiting for more.
void DeliverPosted();
// Waits up to `limit` for `done` without running the event loop, so
// whatever the workers post stays queued; the result of `done` at the end.
bool WaitWithoutDelivering(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s);

std::vector<uint8_t> Pattern(size_t count, uint8_t seed);

// The far end of a pty reading `count` bytes on a thread of its own, in
// small steps, slower than the station writes: what the station wrote
// then waits in the terminal. Join gives what came within a few seconds.
class SlowReader {
 public:
  SlowReader(const PtyPair& pty, size_t count);
  ~SlowReader();
  std::vector<uint8_t> Join();

 private:
  std::vector<uint8_t> got_;
  std::thread thread_;
};

}  // namespace zek::testing
