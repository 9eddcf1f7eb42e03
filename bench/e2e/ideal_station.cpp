#include "bench/e2e/ideal_station.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "station/link/packet_framing.h"
#include "station/link/progress.h"
#include "tests/support/reply_builder.h"
#include "tests/support/sim_link.h"

namespace zek::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kReadQuiet = std::chrono::milliseconds(3);
constexpr auto kSilenceLimit = std::chrono::seconds(10);
constexpr uint8_t kDelimiter = 0xC0;

struct Peer {
  int fd = -1;
  size_t next = 0;  // the next command of the script
  const std::vector<uint8_t>* out = nullptr;
  size_t written = 0;
  bool awaiting = false;  // an answer is due
  Clock::time_point ready{};  // when the next command may go
  bool in_frame = false;
  testing::Bytes frame;
  int answers = 0, failures = 0;

  bool Done(const Script& script) const { return next == script.size() && out == nullptr && !awaiting; }
};

bool AnswerSucceeded(const testing::Bytes& body) {
  testing::Bytes framed(body.size() + 2, kDelimiter);
  std::copy(body.begin(), body.end(), framed.begin() + 1);
  const std::optional<testing::Bytes> packet = testing::DecodeSent(framed);
  return packet && packet->size() > size_t{kPacketHeaderSize} && Succeeded((*packet)[kPacketHeaderSize]);
}

void Take(Peer& p, const uint8_t* bytes, size_t n, Clock::time_point now) {
  for (size_t i = 0; i < n; ++i) {
    if (bytes[i] != kDelimiter) {
      if (p.in_frame) p.frame.push_back(bytes[i]);
    } else if (p.in_frame && !p.frame.empty()) {
      p.in_frame = false;
      ++p.answers;
      if (!AnswerSucceeded(p.frame)) ++p.failures;
      p.awaiting = false;
    } else {
      p.in_frame = true;
      p.frame.clear();
    }
  }
  // A read ends only once the line has been quiet.
  p.ready = now + kReadQuiet;
}

void StartNext(Peer& p, const Script& script, Clock::time_point now) {
  if (p.out != nullptr || p.awaiting || p.next == script.size() || now < p.ready) return;
  p.out = &script[p.next].bytes;
  p.written = 0;
  p.awaiting = script[p.next].answered;
  ++p.next;
}

void Write(Peer& p) {
  if (p.out == nullptr) return;
  const ssize_t w = write(p.fd, p.out->data() + p.written, p.out->size() - p.written);
  if (w > 0) p.written += static_cast<size_t>(w);
  if (p.written == p.out->size()) p.out = nullptr;
}

bool OpenPeers(std::vector<Peer>& peers, const std::string& dir, const std::vector<std::string>& names) {
  for (size_t i = 0; i < names.size(); ++i) {
    peers[i].fd = open((dir + "/" + names[i]).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (peers[i].fd < 0) return false;
    termios t{};
    if (tcgetattr(peers[i].fd, &t) == 0) {
      cfmakeraw(&t);
      tcsetattr(peers[i].fd, TCSANOW, &t);
    }
  }
  return true;
}

timespec Wait(const std::vector<Peer>& peers, const Script& script, Clock::time_point now) {
  Clock::time_point wake = now + std::chrono::milliseconds(100);
  for (const Peer& p : peers)
    if (p.out == nullptr && !p.awaiting && p.next < script.size()) wake = std::min(wake, p.ready);
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(wake - now, Clock::duration{})).count();
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

// Runs until every peer is done; false when the lines went silent.
bool Play(std::vector<Peer>& peers, const Script& script) {
  std::vector<pollfd> fds(peers.size());
  Clock::time_point heard = Clock::now();
  for (;;) {
    Clock::time_point now = Clock::now();
    bool done = true;
    for (size_t i = 0; i < peers.size(); ++i) {
      StartNext(peers[i], script, now);
      Write(peers[i]);
      done = done && peers[i].Done(script);
      fds[i] = pollfd{peers[i].fd, static_cast<short>(POLLIN | (peers[i].out ? POLLOUT : 0)), 0};
    }
    if (done) return true;
    if (now - heard > kSilenceLimit) return false;
    const timespec wait = Wait(peers, script, now);
    if (ppoll(fds.data(), fds.size(), &wait, nullptr) < 0 && errno != EINTR) return false;
    now = Clock::now();
    for (size_t i = 0; i < peers.size(); ++i) {
      if ((fds[i].revents & POLLIN) == 0) continue;
      uint8_t buf[4096];
      const ssize_t n = read(peers[i].fd, buf, sizeof buf);
      if (n <= 0) continue;
      Take(peers[i], buf, static_cast<size_t>(n), now);
      heard = now;
    }
  }
}

}  // namespace

Script CaptureScript(testing::FakeStation& fs, void (*start)(StationState&, int)) {
  testing::SimLink link(fs);
  link.Attach(0);
  start(fs.st, 0);
  Script script;
  for (size_t i = 0; i < link.Port(0).Sent().size(); ++i) {
    script.push_back({link.Port(0).Sent()[i], !link.Port(0).Pending().empty()});
    link.AnswerOne(0);
  }
  return script;
}

bool PlayIdealStation(const std::string& station_dir, const std::vector<std::string>& names, const Script& script) {
  std::vector<Peer> peers(names.size());
  bool ok = OpenPeers(peers, station_dir, names) && Play(peers, script);
  int expected = 0;
  for (const ScriptCommand& c : script) expected += c.answered ? 1 : 0;
  for (size_t i = 0; i < peers.size(); ++i) {
    if (peers[i].answers != expected || peers[i].failures != 0) {
      std::fprintf(stderr, "ideal station, %s: %d answers of %d, %d failed\n", names[i].c_str(), peers[i].answers,
                   expected, peers[i].failures);
      ok = false;
    }
    if (peers[i].fd >= 0) close(peers[i].fd);
  }
  return ok;
}

SpanFigure MeasureIdealStation(LineRelay& relay, const std::string& station_dir, const std::vector<std::string>& names,
                               const Script& script, bool& ok) {
  relay.Reset();
  ok = PlayIdealStation(station_dir, names, script) && ok;
  return TransferSpan(relay.Stats());
}

void PrintCeiling(const SpanFigure& station, const SpanFigure& before, const SpanFigure& after, int width) {
  const double ceiling = (before.Share() + after.Share()) / 2;
  const double ideal_turn = (before.turnaround_ms + after.turnaround_ms) / 2;
  std::printf("  %-*s%.3f wire / span  (%.3f before, %.3f after the station)\n", width, "ceiling, ideal station",
              ceiling, before.Share(), after.Share());
  std::printf("  %-*s%.3f wire / span = %.3f of the ceiling  (goal >= 0.99)\n", width, "station", station.Share(),
              station.Share() / ceiling);
  std::printf("  %-*s%.3f ms station, %.3f ms ideal: %.3f ms a block the station's own\n", width,
              "turnaround, mean", station.turnaround_ms, ideal_turn, station.turnaround_ms - ideal_turn);
}

}  // namespace zek::bench
