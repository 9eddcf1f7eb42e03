#include "tools/unit-sim/sim_server.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace zek::sim {
namespace {

constexpr int kMaxWaitMs = 100;

std::chrono::milliseconds Ms(int ms) { return std::chrono::milliseconds(ms); }

}  // namespace

SimServer::Served::Served(const SimOptions& o, int index) : name(o.names[static_cast<size_t>(index)]), pacer(o.paced) {
  UnitConfig c = o.unit;
  c.serial = static_cast<uint32_t>(index + 1);
  unit = std::make_unique<SimUnit>(c);
  for (const Fault& f : o.faults) {
    if (f.unit < 0 || f.unit == index + 1) unit->Faults().Add(f);
  }
}

SimServer::SimServer(const SimOptions& options, int stop_fd) : options_(options), stop_fd_(stop_fd) {}

void SimServer::Open(std::ostream& log) {
  log_ = &log;
  units_.clear();
  units_.reserve(options_.names.size());
  for (size_t i = 0; i < options_.names.size(); ++i) {
    Served& s = units_.emplace_back(options_, static_cast<int>(i));
    s.link = std::make_unique<PtyLink>(options_.dir, options_.names[i]);
    log << options_.names[i] << " -> " << s.link->SlavePath() << "\n";
  }
  log.flush();
}

void SimServer::Run() {
  std::vector<pollfd> fds;
  for (;;) {
    Clock::time_point now = Clock::now();
    for (Served& s : units_) Service(s, now);
    fds.assign(1, pollfd{stop_fd_, POLLIN, 0});
    for (Served& s : units_) {
      short events = 0;
      if (s.link->IsOpen()) events = POLLIN;
      if (s.link->IsOpen() && !s.pending.empty() && now >= s.held_until && s.pacer.Allowance(now) > 0)
        events |= POLLOUT;
      fds.push_back(pollfd{s.link->IsOpen() ? s.link->Fd() : -1, events, 0});
    }
    int n = poll(fds.data(), fds.size(), PollTimeoutMs(now));
    if (n < 0 && errno != EINTR) break;
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) break;
    for (size_t i = 0; i < units_.size(); ++i) {
      if (fds[i + 1].revents & POLLIN) Receive(units_[i]);
    }
  }
  for (Served& s : units_) s.link->Close();
  DumpUnits();
}

void SimServer::DumpUnits() const {
  if (options_.dump_dir.empty()) return;
  for (size_t i = 0; i < units_.size(); ++i) {
    const std::string base = options_.dump_dir + "/" + options_.names[i];
    const Bytes& received = units_[i].received;
    std::ofstream(base + ".received", std::ios::binary)
        .write(reinterpret_cast<const char*>(received.data()), static_cast<std::streamsize>(received.size()));
    const StoredDownload& d = units_[i].unit->Download();
    if (!d.Complete()) continue;
    const size_t n = std::min(d.ImageBytes(), d.Main().size());
    std::ofstream(base + ".download", std::ios::binary)
        .write(reinterpret_cast<const char*>(d.Main().data()), static_cast<std::streamsize>(n));
    const auto flash = units_[i].unit->Chip().Flash();
    std::ofstream(base + ".chip", std::ios::binary)
        .write(reinterpret_cast<const char*>(flash.data()), static_cast<std::streamsize>(std::min(n, flash.size())));
  }
}

void SimServer::Service(Served& s, Clock::time_point now) {
  if (!s.link->IsOpen()) return;
  if (s.unit->HungUp()) {
    s.pending.clear();
    s.link->Close();
    return;
  }
  Schedule(s, now);
  Bytes out = s.unit->TakeOutput();
  if (int late = s.unit->TakeLateness(); late > 0) s.held_until = now + Ms(late);
  s.pending.insert(s.pending.end(), out.begin(), out.end());
  Flush(s, now);
}

// Starts a stand-alone run when one is due and sends a run's reports one
// by one, report_gap_ms apart.
void SimServer::Schedule(Served& s, Clock::time_point now) {
  SimUnit& u = *s.unit;
  if (!u.RunInProgress() && s.runs_started < options_.runs && u.CanRunStandalone() && now >= s.next_run) {
    ++s.runs_started;
    bool ng = options_.ng_every > 0 && s.runs_started % options_.ng_every == 0;
    u.StartStandaloneRun(ng ? options_.ng_status : 0);
    s.next_report = now;
  }
  if (u.RunInProgress() && now >= s.next_report) {
    u.EmitNextReport();
    s.next_report = now + Ms(options_.report_gap_ms);
    if (!u.RunInProgress()) s.next_run = now + Ms(options_.run_gap_ms);
    // The chip is final now; a test waits for this before it stops us.
    if (!u.RunInProgress() && s.runs_started == options_.runs) {
      *log_ << s.name << " runs done" << std::endl;
    }
  }
}

void SimServer::Flush(Served& s, Clock::time_point now) {
  if (now < s.held_until) return;
  size_t n = std::min(s.pending.size(), s.pacer.Allowance(now));
  if (n == 0) return;
  ssize_t w = write(s.link->Fd(), s.pending.data(), n);
  if (w <= 0) return;  // the terminal is full: POLLOUT brings us back
  s.pacer.Wrote(static_cast<size_t>(w), now);
  s.pending.erase(s.pending.begin(), s.pending.begin() + w);
}

void SimServer::Receive(Served& s) {
  uint8_t buf[4096];
  ssize_t r = read(s.link->Fd(), buf, sizeof buf);
  if (r <= 0) return;
  if (!options_.dump_dir.empty()) s.received.insert(s.received.end(), buf, buf + r);
  s.unit->Feed(std::span<const uint8_t>(buf, static_cast<size_t>(r)));
}

int SimServer::PollTimeoutMs(Clock::time_point now) const {
  Clock::time_point wake = now + Ms(kMaxWaitMs);
  for (const Served& s : units_) {
    if (!s.link->IsOpen()) continue;
    if (!s.pending.empty()) wake = std::min(wake, std::max(s.held_until, s.pacer.NextSlot(now)));
    if (s.unit->RunInProgress()) wake = std::min(wake, s.next_report);
    if (!s.unit->RunInProgress() && s.runs_started < options_.runs && s.unit->CanRunStandalone()) {
      wake = std::min(wake, s.next_run);
    }
  }
  auto wait = std::chrono::ceil<std::chrono::milliseconds>(std::max(wake - now, Clock::duration::zero()));
  return static_cast<int>(wait.count());
}

}  // namespace zek::sim
