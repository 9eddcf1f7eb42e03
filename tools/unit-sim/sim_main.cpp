// dorvik410-sim: simulated Dorvik410 units on pseudo-terminals.

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <iostream>

#include "tools/unit-sim/sim_options.h"
#include "tools/unit-sim/sim_server.h"

namespace {

int g_stop_write = -1;

void OnStopSignal(int) {
  char b = 1;
  [[maybe_unused]] ssize_t r = write(g_stop_write, &b, 1);
}

bool InstallStopSignals(int& stop_read) {
  int p[2];
  if (pipe2(p, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  stop_read = p[0];
  g_stop_write = p[1];
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  zek::sim::SimOptions options;
  std::string error;
  if (!zek::sim::ParseSimOptions(argc, argv, std::getenv("ZEK_COM_DIR"), options, error)) {
    std::cerr << "dorvik410-sim: " << error << "\n" << zek::sim::SimUsage();
    return 2;
  }
  if (options.help) {
    std::cout << zek::sim::SimUsage();
    return 0;
  }
  int stop_read = -1;
  if (!InstallStopSignals(stop_read)) {
    std::cerr << "dorvik410-sim: cannot make the stop pipe\n";
    return 1;
  }
  zek::sim::SimServer server(options, stop_read);
  try {
    server.Open(std::cout);
    std::cout << "ready" << std::endl;
    server.Run();
  } catch (const std::exception& e) {
    std::cerr << "dorvik410-sim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
