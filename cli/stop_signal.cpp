#include "cli/stop_signal.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t caught = 0;

void Catch(int signal) { caught = signal; }

}  // namespace

void EndOnStopSignals() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

void CatchStopSignals() {
  std::signal(SIGINT, Catch);
  std::signal(SIGTERM, Catch);
}

int StopSignal() { return caught; }
