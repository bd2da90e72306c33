// The life of the one terminal record on Windows: made in the main window's
// WM_CREATE after the terminal window and the log exist, freed in WM_DESTROY.
#pragma once

#include <windows.h>

// 1 on success, -1 on failure (nothing is left behind then).
int CreateTerminalState(HWND mainWindow);

// Closes an open connection, then frees the record, its events, its font and
// the canvases. 1, or 0 when there is no record.
int DestroyTerminalState(HWND mainWindow);
