// What differs between talvorix-cli on Linux and talvorix-cli.exe in the
// Windows builds; everything else of the tool is one code on both.
//
// - The serial device: a POSIX device through its terminal attributes
//   (TermiosSerialDevice, any path, default /dev/ttyUSB0), or a COM port
//   through the Win32 comm API (Win32SerialDevice, a name of the window's port
//   list: COM1 to COM20 or TELNET, default COM5 as in the window).
// - The log file: a POSIX file opened for appending, or the window's Win32 file.
// - The console: on Linux a reader that goes away (a closed pipe) does not
//   end the tool; on Windows standard output and error take UTF-8 (the
//   console's output code page is set to 65001, as CI logs read it), and
//   standard input is read as bytes, so that a script piped in keeps its CR
//   LF and a Ctrl+Z in it is no end of the input.
// - The stop signals (stop_signal.h) and the picture of the text screen
//   (picture/screen_canvas.h, picture/screen_picture.h).
#pragma once

#include <string>

#include "cli/tool_log_file.h"

#ifdef _WIN32
#include "terminal/link/win32_log_file.h"
#include "terminal/link/win32_serial_device.h"
using ToolSerialDevice = Win32SerialDevice;
using ToolLogFile = Win32LogFile;
#else
#include "cli/posix_log_file.h"
#include "terminal/link/termios_serial_device.h"
using ToolSerialDevice = TermiosSerialDevice;
using ToolLogFile = PosixLogFile;
#endif

// The port taken when the command line names none.
extern const char DefaultPort[];

// A --port value: false, with `why`, for a name the platform's ports cannot have.
bool TakePortName(const std::string& text, std::string& port, std::string& why);

// The device a port name opens.
std::string PortDevice(const std::string& port);

// Sets up standard input and output as above, before anything is read or written.
void PrepareConsole();
