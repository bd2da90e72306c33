// The Windows platform of the terminal: GDI canvases, the serial link, message
// boxes and status texts as UTF-16, the views and the clock.
#pragma once

// Installs the Windows platform as `platform` (once, at start-up).
void InstallWin32Platform();
