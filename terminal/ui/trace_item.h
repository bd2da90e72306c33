// The check item 動作 → トレース記録: while it is checked, what crosses the
// line is traced to "Talvorix.trace" in the current directory
// (terminal/link/window_trace.h). Off at start; nothing is remembered.
#pragma once

#include <windows.h>

// Starts or stops the trace and checks the item accordingly. A file that
// cannot be opened is told in a message box and leaves the item unchecked.
void ToggleTraceItem(HWND mainWindow);

// Checks the item as the trace stands, before the menu shows it: a write
// that failed has ended the trace (the program goes on, as without a log),
// and the item then shows it off; choosing it starts the trace again.
void ShowTraceItem(HWND mainWindow);
