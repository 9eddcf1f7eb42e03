#include "tests/window_x11/private_x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <stdexcept>

namespace zek::testing {
namespace {

constexpr int kDisplayFd = 3;
// Xvfb writes its display number here once it takes connections; a
// server that has not done so by then is not coming.
constexpr int kStartLimitMs = 30000;

[[noreturn]] void RunServer(int display_pipe, pid_t parent) {
  // The server must not outlive a test that crashes or aborts.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) _exit(127);
  const int quiet = open("/dev/null", O_RDWR);
  dup2(quiet, STDIN_FILENO);
  dup2(quiet, STDOUT_FILENO);
  dup2(quiet, STDERR_FILENO);
  if (display_pipe == kDisplayFd)
    fcntl(kDisplayFd, F_SETFD, 0);  // keep it open across exec
  else
    dup2(display_pipe, kDisplayFd);
  execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset",
         static_cast<char*>(nullptr));
  _exit(127);
}

// The number the server writes, up to its newline; empty when the pipe
// closed or stayed silent first.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  for (;;) {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, kStartLimitMs) <= 0) return {};
    char c = 0;
    if (read(fd, &c, 1) != 1) return {};
    if (c == '\n') return number;
    if (!std::isdigit(static_cast<unsigned char>(c))) return {};
    number += c;
  }
}

}  // namespace

PrivateXServer::PrivateXServer() {
  int p[2];
  if (pipe2(p, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ == 0) RunServer(p[1], parent);
  close(p[1]);
  const std::string number = pid_ > 0 ? ReadDisplayNumber(p[0]) : std::string();
  close(p[0]);
  if (number.empty()) {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
  }
  display_ = ":" + number;
}

PrivateXServer::~PrivateXServer() {
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

}  // namespace zek::testing
