#include <windows.h>

#include <csignal>

#include "cli/stop_signal.h"

// On Windows the stop signals are the console's control events: Ctrl+C is
// told as SIGINT, Ctrl+Break as SIGBREAK, and the console closed, the user
// logging off or the system shutting down as SIGTERM.
namespace {

volatile LONG caught = 0;

int SignalOf(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT: return SIGINT;
    case CTRL_BREAK_EVENT: return SIGBREAK;
    default: return SIGTERM;
  }
}

// Runs on a thread of its own. For Ctrl+C and Ctrl+Break the tool goes on to
// its orderly end. For the others the system ends the process as soon as the
// handler returns, so the handler waits here until the tool has closed the
// port and written the end stamp and ends the process itself (the system
// gives it some seconds).
BOOL WINAPI Catch(DWORD event) {
  InterlockedExchange(&caught, SignalOf(event));
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) Sleep(INFINITE);
  return TRUE;
}

}  // namespace

// Ctrl+C is processed again also where the starting process disabled it.
void EndOnStopSignals() {
  SetConsoleCtrlHandler(Catch, FALSE);
  SetConsoleCtrlHandler(nullptr, FALSE);
}

void CatchStopSignals() { SetConsoleCtrlHandler(Catch, TRUE); }

int StopSignal() { return int(InterlockedCompareExchange(&caught, 0, 0)); }
