// Starts dorvik410-sim tied to the test that asked for it: should the test
// die without stopping it (a crash, a sanitizer halting the process), the
// kernel sends the simulator SIGTERM, so no simulator outlives its test.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

int main(int, char** argv) {
  const pid_t parent = getppid();
  if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0) return 126;
  if (getppid() != parent) return 125;  // the test is gone already
  static char simulator[] = DORVIK410_SIM;
  argv[0] = simulator;
  execv(simulator, argv);
  return 127;
}
