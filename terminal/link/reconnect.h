// Automatic reconnect: a device that disappears while connected (a USB serial
// adapter pulled out, a device whose USB port goes away while it reboots) is
// taken up again when it comes back.
//
// While it is on, losing the device closes the connection as the disconnect
// command does (the end stamp is written) but shows no message box: the
// terminal waits for the same port instead. It tries to open it every 100 ms,
// and at once when Windows announces a device (WM_DEVICECHANGE; a
// pseudo-terminal under Wine announces nothing, so the attempts are what
// always works). Failed attempts are silent. The attempt that opens the port
// is an ordinary connect with the line settings the record holds: start stamp,
// screen reset, watcher.
//
// No attempt is made while a modal dialog or message box of the program is up
// (it disables the main window): the user may be choosing another port or
// answering whether to quit, and the connection must not change under them.
//
// Everything here runs on the user-interface thread. The timers belong to the
// main window; they find the session through it (SessionOf) and end with it.
#pragma once

#include <windows.h>

#include "terminal/link/connection.h"

struct LinkSession;

// Turns automatic reconnect off (a wait in progress stops) or on again; the new state.
bool ToggleAutoReconnect(LinkSession& session);

bool WaitingForDevice(const LinkSession& session);

// The receive pump's hook for a lost device. True when automatic reconnect
// takes the loss over: the connection is then closed from the main window's
// timer and the wait begins, and the pump shows nothing. False when it is off.
bool TakeOverDeviceLoss(LinkSession& session);

// An attempt now (the connect command while waiting); nothing when not waiting.
void TryReconnectNow(LinkSession& session);

// Ends a wait (the disconnect command while waiting); nothing when not waiting.
void StopWaitingForDevice(LinkSession& session);

// The main window's WM_DEVICECHANGE: an arrival makes an attempt at once.
void NoticeDeviceChange(LinkSession& session, WPARAM event);
