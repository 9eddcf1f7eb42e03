#include "tests/serial/pty_support.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace zek::testing {

PtyPair::PtyPair() {
  if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
  slave_path_ = ::ttyname(slave_);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
  CloseMaster();
  ::close(slave_);
}

void PtyPair::CloseMaster() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

void PtyPair::Write(const std::vector<uint8_t>& bytes) const {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else {
      pollfd p{master_, POLLOUT, 0};
      ::poll(&p, 1, 100);
    }
  }
}

int PtyPair::Unread() const {
  // Written bytes reach the line discipline on a work queue; a poll of the
  // slave waits for that hand-over, so none is still on its way.
  pollfd p{slave_, POLLIN, 0};
  ::poll(&p, 1, 0);
  int n = 0;
  return ::ioctl(slave_, FIONREAD, &n) == 0 ? n : -1;
}

std::vector<uint8_t> PtyPair::Read(size_t count, std::chrono::milliseconds limit) const {
  std::vector<uint8_t> got;
  auto end = std::chrono::steady_clock::now() + limit;
  uint8_t buffer[4096];
  while (got.size() < count && std::chrono::steady_clock::now() < end) {
    ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
    if (n > 0) {
      got.insert(got.end(), buffer, buffer + n);
    } else {
      pollfd p{master_, POLLIN, 0};
      ::poll(&p, 1, 20);
    }
  }
  return got;
}

std::string PtyPair::Stty() const {
  int out[2];
  if (::pipe(out) != 0) return {};
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(master_, 0);
    ::dup2(out[1], 1);
    ::execlp("stty", "stty", "-a", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string text;
  char buffer[512];
  ssize_t n;
  while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  // One line, every setting after a blank, so " -parenb" finds it anywhere.
  std::replace(text.begin(), text.end(), '\n', ' ');
  return " " + text;
}

ComLinkFolder::ComLinkFolder() {
  char name[] = "/tmp/zek-com-XXXXXX";
  if (!::mkdtemp(name)) throw std::runtime_error("mkdtemp");
  path_ = name;
  ::setenv("ZEK_COM_DIR", path_.c_str(), 1);
}

ComLinkFolder::~ComLinkFolder() {
  ::unsetenv("ZEK_COM_DIR");
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void ComLinkFolder::Link(const std::string& name, const std::string& target) const {
  std::filesystem::create_symlink(target, std::filesystem::path(path_) / name);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

void DeliverPosted() { QCoreApplication::sendPostedEvents(); }

bool WaitWithoutDelivering(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
  return done();
}

std::vector<uint8_t> Pattern(size_t count, uint8_t seed) {
  std::vector<uint8_t> bytes(count);
  uint32_t x = seed * 2654435761u + 1;
  for (auto& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  return bytes;
}

SlowReader::SlowReader(const PtyPair& pty, size_t count)
    : thread_([this, &pty, count] {
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (got_.size() < count && std::chrono::steady_clock::now() < end) {
          const std::vector<uint8_t> part = pty.Read(std::min<size_t>(1024, count - got_.size()), 20ms);
          got_.insert(got_.end(), part.begin(), part.end());
          std::this_thread::sleep_for(1ms);
        }
      }) {}

SlowReader::~SlowReader() {
  if (thread_.joinable()) thread_.join();
}

std::vector<uint8_t> SlowReader::Join() {
  thread_.join();
  return got_;
}

}  // namespace zek::testing
