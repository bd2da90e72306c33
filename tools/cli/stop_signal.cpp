#include "tools/cli/stop_signal.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t caught = 0;

void Catch(int signal) { caught = signal; }

}  // namespace

void CatchStopSignals() {
  std::signal(SIGINT, Catch);
  std::signal(SIGTERM, Catch);
}

int StopSignal() { return caught; }
