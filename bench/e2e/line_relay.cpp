#include "bench/e2e/line_relay.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "bench/e2e/wire_model.h"

namespace zek::bench {
namespace {

using Clock = std::chrono::steady_clock;
// Bytes in the middle of a burst are passed on in batches, at most this
// late; the last byte of a burst is passed on when it arrives.
constexpr auto kBatch = std::chrono::microseconds(300);
// A station chunk this long is a block or the configuration image: the
// transfers start there, after the search's short queries.
constexpr ssize_t kBlockChunk = 256;

struct Line {
  explicit Line(bool paced) : to_unit(paced), to_station(paced) {}
  int station = -1;  // master of the terminal the station opens
  int station_slave = -1;
  int unit = -1;
  WireModel to_unit, to_station;
  LineStats stats;
  bool answered = false;  // unit bytes passed on since the station last spoke
  Clock::time_point answer_end{};
};

void MakeRaw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
}

void SetNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

bool ReadAll(int fd, void* data, size_t n) {
  auto* p = static_cast<uint8_t*>(data);
  while (n > 0) {
    ssize_t r = read(fd, p, n);
    if (r <= 0) return false;
    p += r;
    n -= static_cast<size_t>(r);
  }
  return true;
}

bool WriteAll(int fd, const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (n > 0) {
    ssize_t w = write(fd, p, n);
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

void OpenLines(std::vector<Line>& lines, const std::string& unit_dir, const std::string& station_dir,
               const std::vector<std::string>& names) {
  for (size_t i = 0; i < names.size(); ++i) {
    Line& line = lines[i];
    line.unit = open((unit_dir + "/" + names[i]).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (line.unit < 0 || openpty(&line.station, &line.station_slave, nullptr, nullptr, nullptr) != 0) _exit(3);
    MakeRaw(line.unit);
    MakeRaw(line.station_slave);
    SetNonBlocking(line.station);
    std::string link = station_dir + "/" + names[i];
    unlink(link.c_str());
    if (symlink(ttyname(line.station_slave), link.c_str()) != 0) _exit(3);
  }
}

int64_t Nanos(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void FromStation(Line& line, Clock::time_point now) {
  uint8_t buf[8192];
  ssize_t n = read(line.station, buf, sizeof buf);
  if (n <= 0) return;
  if (line.stats.span_start_ns == 0 && n >= kBlockChunk) line.stats.span_start_ns = Nanos(now);
  if (line.stats.span_start_ns != 0) line.stats.span_bytes += static_cast<uint64_t>(n);
  if (line.answered) {
    double us = std::chrono::duration<double, std::micro>(now - line.answer_end).count();
    line.stats.turnarounds += 1;
    line.stats.turnaround_sum_us += us;
    line.stats.turnaround_max_us = std::max(line.stats.turnaround_max_us, us);
    line.answered = false;
  }
  line.stats.to_unit += static_cast<uint64_t>(n);
  line.to_unit.Put(buf, static_cast<size_t>(n), now);
}

void FromUnit(Line& line, Clock::time_point now) {
  uint8_t buf[8192];
  ssize_t n = read(line.unit, buf, sizeof buf);
  if (n <= 0) return;
  line.stats.to_station += static_cast<uint64_t>(n);
  if (line.stats.span_start_ns != 0) line.stats.span_bytes += static_cast<uint64_t>(n);
  line.to_station.Put(buf, static_cast<size_t>(n), now);
}

// Writes what has crossed the line by now; the count written.
size_t Deliver(int fd, WireModel& wire, Clock::time_point now) {
  size_t n = wire.Arrived(now);
  if (n == 0) return 0;
  ssize_t w = write(fd, wire.Data(), n);
  if (w <= 0) return 0;
  wire.Take(static_cast<size_t>(w));
  return static_cast<size_t>(w);
}

void Flush(Line& line, Clock::time_point now) {
  // Only answers within the span count: the wait between the search and
  // the download is no turnaround.
  if (Deliver(line.station, line.to_station, now) > 0 && line.stats.span_start_ns != 0) {
    line.answered = true;
    line.answer_end = now;
    line.stats.span_end_ns = Nanos(now);
  }
  Deliver(line.unit, line.to_unit, now);
}

// True to go on; false once the control pipe is gone.
bool Control(int control, int report, std::vector<Line>& lines) {
  char c = 0;
  if (read(control, &c, 1) != 1) return false;
  if (c == 's') {
    for (Line& line : lines) WriteAll(report, &line.stats, sizeof line.stats);
    return true;
  }
  for (Line& line : lines) {
    line.stats = LineStats{};
    line.answered = false;
  }
  WriteAll(report, "r", 1);
  return true;
}

timespec WaitFor(const std::vector<Line>& lines, Clock::time_point now) {
  Clock::time_point wake = now + std::chrono::milliseconds(100);
  for (const Line& line : lines) {
    for (const WireModel* wire : {&line.to_station, &line.to_unit}) {
      if (wire->Empty()) continue;
      wake = std::min({wake, wire->NextArrival(now) + kBatch, wire->LastArrival()});
    }
  }
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(wake - now, Clock::duration::zero())).count();
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

[[noreturn]] void Relay(int control, int report, const std::string& unit_dir, const std::string& station_dir,
                        const std::vector<std::string>& names, bool paced) {
  std::vector<Line> lines(names.size(), Line(paced));
  OpenLines(lines, unit_dir, station_dir, names);
  WriteAll(report, "R", 1);
  std::vector<pollfd> fds;
  for (;;) {
    Clock::time_point now = Clock::now();
    fds.assign(1, pollfd{control, POLLIN, 0});
    for (const Line& line : lines) {
      short to_station = line.to_station.Arrived(now) > 0 ? POLLOUT : 0;
      fds.push_back(pollfd{line.station, static_cast<short>(POLLIN | to_station), 0});
      short to_unit = line.to_unit.Arrived(now) > 0 ? POLLOUT : 0;
      fds.push_back(pollfd{line.unit, static_cast<short>(POLLIN | to_unit), 0});
    }
    timespec wait = WaitFor(lines, now);
    if (ppoll(fds.data(), fds.size(), &wait, nullptr) < 0 && errno != EINTR) _exit(4);
    now = Clock::now();
    if ((fds[0].revents & (POLLIN | POLLHUP)) && !Control(control, report, lines)) _exit(0);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (fds[1 + 2 * i].revents & POLLIN) FromStation(lines[i], now);
      if (fds[2 + 2 * i].revents & POLLIN) FromUnit(lines[i], now);
      Flush(lines[i], now);
    }
  }
}

}  // namespace

LineRelay::LineRelay(const std::string& unit_dir, const std::string& station_dir,
                     const std::vector<std::string>& names, bool paced)
    : lines_(names.size()) {
  int down[2], up[2];
  if (pipe2(down, O_CLOEXEC) != 0 || pipe2(up, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the benchmark
    close(down[1]);
    close(up[0]);
    Relay(down[0], up[1], unit_dir, station_dir, names, paced);
  }
  close(down[0]);
  close(up[1]);
  control_ = down[1];
  report_ = up[0];
  char ready = 0;
  if (read(report_, &ready, 1) != 1 || ready != 'R') throw std::runtime_error("the line relay did not start");
}

LineRelay::~LineRelay() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  close(control_);
  close(report_);
}

void LineRelay::Command(char c) {
  if (!WriteAll(control_, &c, 1)) throw std::runtime_error("the line relay is gone");
}

void LineRelay::Reset() {
  Command('r');
  char done = 0;
  if (read(report_, &done, 1) != 1 || done != 'r') throw std::runtime_error("the line relay did not reset");
}

std::vector<LineStats> LineRelay::Stats() {
  Command('s');
  std::vector<LineStats> stats(lines_);
  for (LineStats& s : stats)
    if (!ReadAll(report_, &s, sizeof s)) throw std::runtime_error("the line relay did not report");
  return stats;
}

SpanFigure TransferSpan(const std::vector<LineStats>& lines) {
  SpanFigure f;
  int64_t start = 0, end = 0;
  uint64_t turns = 0;
  double turn_us = 0;
  for (const LineStats& s : lines) {
    turns += s.turnarounds;
    turn_us += s.turnaround_sum_us;
    if (s.span_start_ns == 0) continue;
    const double byte_s = std::chrono::duration<double>(WireModel::kByteTime).count();
    f.wire_s = std::max(f.wire_s, static_cast<double>(s.span_bytes) * byte_s);
    start = start == 0 ? s.span_start_ns : std::min(start, s.span_start_ns);
    end = std::max(end, s.span_end_ns);
  }
  f.span_s = static_cast<double>(end - start) / 1e9;
  f.turnaround_ms = turns > 0 ? turn_us / static_cast<double>(turns) / 1e3 : 0;
  return f;
}

}  // namespace zek::bench
