#include "station/window/stop_requests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <thread>

namespace zek {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

int g_stop_pipe = -1;

void NoteStopSignal(int signo) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signo);
  // A full pipe already holds a stop.
  [[maybe_unused]] ssize_t written = ::write(g_stop_pipe, &byte, 1);
  errno = saved;
}

std::function<void()>* g_last_words = nullptr;
std::thread::id g_last_words_thread;

void SayLastWords() {
  if (g_last_words == nullptr || std::this_thread::get_id() != g_last_words_thread) return;
  std::function<void()> last = std::move(*g_last_words);
  g_last_words = nullptr;
  try {
    last();
  } catch (...) {
    // The process is ending; there is nobody left to tell.
  }
}

}  // namespace

StopSignals::StopSignals(std::function<void(int)> stop) : stop_(std::move(stop)) {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  g_stop_pipe = pipe_[1];
  notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Read(); });
  struct sigaction action {};
  action.sa_handler = NoteStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < std::size(kStopSignals); ++i) {
    ::sigaction(kStopSignals[i], nullptr, &earlier_[i]);
    // A caller that ignores a signal (nohup) means the station to outlive it.
    if (earlier_[i].sa_handler == SIG_IGN) continue;
    ::sigaction(kStopSignals[i], &action, nullptr);
  }
}

StopSignals::~StopSignals() {
  if (!notifier_) return;
  RestoreEarlier();
  notifier_.reset();
  g_stop_pipe = -1;
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void StopSignals::RestoreEarlier() {
  for (size_t i = 0; i < std::size(kStopSignals); ++i) ::sigaction(kStopSignals[i], &earlier_[i], nullptr);
}

void StopSignals::Read() {
  unsigned char byte = 0;
  while (::read(pipe_[0], &byte, 1) == 1) {
    if (received_ != 0) continue;
    received_ = byte;
    RestoreEarlier();
    stop_(received_);
  }
}

LastWordsAtExit::LastWordsAtExit(std::function<void()> last) : last_(std::move(last)) {
  static const bool registered = std::atexit(SayLastWords) == 0;
  (void)registered;
  g_last_words_thread = std::this_thread::get_id();
  g_last_words = &last_;
}

LastWordsAtExit::~LastWordsAtExit() { g_last_words = nullptr; }

}  // namespace zek
