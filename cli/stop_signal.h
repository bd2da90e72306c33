// SIGINT and SIGTERM (Ctrl+C, a CI job's time-out) end the tool at any
// moment, also where a shell started it with them ignored. Until the port and
// the log open they end it at once, as they end any program: nothing needs
// closing, and the script may be read from a pipe that stays open. From then
// on they end a run the orderly way: the line that runs fails, the port is
// closed and the log gets its end stamp. On Windows the console's control
// events are these signals (stop_signal_win32.cpp): Ctrl+C, Ctrl+Break and
// the console closed.
#pragma once

// SIGINT and SIGTERM end the tool at once from now on.
void EndOnStopSignals();

// SIGINT and SIGTERM are caught from now on.
void CatchStopSignals();

// The signal caught, or 0.
int StopSignal();
