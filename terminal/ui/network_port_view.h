// How the window shows a network port (rfc2217://, socket://): the address
// given on the command line, the status bar while it connects and once it is
// open.
#pragma once

#include <windows.h>

#include <string>

struct LinkSession;

// "talvorix.exe rfc2217://HOST:PORT": the port is chosen and the connect
// command posted, so that a shortcut opens it directly. A malformed address is
// told in a message and the program goes on with its COM port. Nothing for a
// command line that names no network port.
void TakeNetworkPortArgument(HWND mainWindow, const char* commandLine);

// Pane 3 while connected: the mark, and the address of an open network port.
std::string ConnectedPaneText(const LinkSession& session);

// At a connect: on a socket:// port pane 1 says, once, that the line settings
// are the server's (on an rfc2217:// port it is cleared of the connect's text).
void ShowNetworkConnected(const LinkSession& session);

// While a connect runs in the background pane 1 says so, and 切断 is offered
// (with its accelerator) to give it up; `connecting` false takes both back.
void ShowNetworkConnecting(HWND mainWindow, const LinkSession& session, bool connecting);
