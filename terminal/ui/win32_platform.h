// The terminal's roles on Windows: GDI canvases, the terminal window with its
// message boxes and status texts (as UTF-16), the serial device, the log file
// and the tick count.
#pragma once

#include "terminal/model/roles.h"

// The roles of the program's terminal, with its device output and log (on
// the link); the other roles are the same objects on every call.
TerminalRoles Win32Roles(DeviceOutput& device, CommLog& log);

// The host window role alone, for the link's status panes and messages.
HostWindow& Win32Host();
