// SIGINT and SIGTERM (Ctrl+C, a CI job's time-out) end a run the orderly way:
// the line that waits fails, the port is closed and the log gets its end stamp.
#pragma once

// Catches SIGINT and SIGTERM from now on.
void CatchStopSignals();

// The signal caught, or 0.
int StopSignal();
