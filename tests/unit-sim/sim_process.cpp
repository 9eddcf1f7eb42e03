#include "tests/unit-sim/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>

namespace zek::sim::testing {
namespace {

int WaitExit(pid_t pid, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 10) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    usleep(10000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

}  // namespace

SimProcess::~SimProcess() {
  if (pid_ > 0) Stop(SIGKILL);
  if (out_ >= 0) close(out_);
}

bool SimProcess::Start(const std::vector<std::string>& args) {
  int p[2];
  if (pipe2(p, O_CLOEXEC) != 0) return false;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(p[1], STDOUT_FILENO);
    dup2(p[1], STDERR_FILENO);
    std::vector<char*> argv;
    std::string exe = DORVIK410_SIM;
    argv.push_back(exe.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  close(p[1]);
  out_ = p[0];
  return WaitForOutput("ready\n", 5000);
}

bool SimProcess::WaitForOutput(const std::string& text, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (output_.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd f{out_, POLLIN, 0};
    if (poll(&f, 1, 100) <= 0) continue;
    char buf[256];
    ssize_t n = read(out_, buf, sizeof buf);
    if (n <= 0) return false;
    output_.append(buf, static_cast<size_t>(n));
  }
  return output_.find(text) != std::string::npos;
}

int SimProcess::Stop(int signal) {
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  int status = WaitExit(pid_, 5000);
  pid_ = -1;
  return status;
}

int SimProcess::Wait() {
  if (pid_ <= 0) return -1;
  int status = WaitExit(pid_, 5000);
  pid_ = -1;
  char buf[1024];
  ssize_t n;
  while ((n = read(out_, buf, sizeof buf)) > 0) output_.append(buf, static_cast<size_t>(n));
  return status;
}

std::string MakeTempDir() {
  const char* base = getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/unitsim-XXXXXX";
  char* made = mkdtemp(tmpl.data());
  return made ? std::string(made) : std::string();
}

int OpenRawPort(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  termios t{};
  tcgetattr(fd, &t);
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
  return fd;
}

std::vector<uint8_t> ReadReply(int fd, int timeout_ms, bool& hung_up) {
  std::vector<uint8_t> got;
  hung_up = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd f{fd, POLLIN, 0};
    if (poll(&f, 1, 20) <= 0) continue;
    uint8_t buf[4096];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0 || (f.revents & POLLHUP)) {
      if (n > 0) got.insert(got.end(), buf, buf + n);
      hung_up = true;
      return got;
    }
    got.insert(got.end(), buf, buf + n);
    if (got.size() > 1 && got.back() == 0xC0) return got;
  }
  return got;
}

}  // namespace zek::sim::testing
