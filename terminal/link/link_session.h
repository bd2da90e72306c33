// What the Windows serial link keeps: the terminal it feeds, the device and
// the connection on it (with the communication log), the state of the current
// connection that the watcher, the pump and the transmitter share, the pump's
// pacing and the window's view of the connection. One session for the
// program (linkSession).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "terminal/interpreter/terminal.h"
#include "terminal/link/connection.h"
#include "terminal/link/link_front_end.h"
#include "terminal/link/receive_plan.h"
#include "terminal/link/receive_stage.h"
#include "terminal/link/reconnect.h"
#include "terminal/link/win32_log_file.h"
#include "terminal/link/window_device.h"
#include "terminal/model/roles.h"

struct LinkSession {
  Terminal* terminal;  // fed by the pump; its record holds the line settings
  HostWindow* host;    // tells the user (the link's messages)
  HWND notifyWindow;   // gets WM_COMMNOTIFY from the watcher
  WindowDevice device;  // open exactly while connected
  // Cleared by CloseConnection before it stops the watcher: the watcher's
  // signal to end. The terminal's own `connected` is the user-interface
  // thread's.
  std::atomic<bool> watching;
  HANDLE pumpDoneEvent;  // set while no notification waits for the pump
  HANDLE watcherThread;
  std::atomic<DWORD> watcherThreadId;  // non-zero exactly while the watcher runs
  // Set by whichever thread first sees the device fail (a USB adapter pulled
  // out); from then on nothing is read from it, and the pump closes the
  // connection as the disconnect command does.
  std::atomic<bool> deviceLost;
  bool lossReported;              // the user has been told for this connection
  std::atomic<std::uint32_t> dataBlocks;  // blocks the pump has read, for the watcher's pacing
  ReceiveStage received;          // taken from the device, not yet pushed into the terminal
  // Kept across pump runs, so that many short runs do not repaint more often either.
  RepaintPacer pacer;
  // Whether the pump's await timer runs (it is set and killed only on a
  // change: at the top line rate the pump runs thousands of times a second).
  bool awaitTicking;
  std::uint8_t waitedPort;  // the portNumber a wait for a lost device is for
  ConnectionView view;      // the window's view of the connection, or nullptr
  // "Talvorix.log", open for the whole run (comm_log.h), written by the
  // connection's log writer; the dump view reads it back through logFile.
  Win32LogFile logFile;
  LinkFrontEnd frontEnd;
  Connection connection{device, logFile, frontEnd};
};

extern LinkSession linkSession;

// The link's way to the user; set once at start-up, before the log opens.
void SetLinkHost(HostWindow& host);

// Gives the link its terminal and the window that takes the watcher's
// notifications, and makes pumpDoneEvent (manual-reset, signalled). False when
// an event of the session or of its device could not be made; nothing is left then.
bool StartLink(Terminal& terminal, HWND notifyWindow);

// Closes an open connection and the session's events.
void EndLink(HWND mainWindow);

// The pump's continuation timer and the tick timer of what the terminal
// awaits, both on the terminal window (see ReceivePump).
constexpr UINT_PTR PumpTimerId = 0x7A11;
constexpr UINT_PTR AwaitTimerId = 0x7A12;

// A modal message with caption "通信ターミナル".
void ShowLinkMessage(const char* text, MessageIcon icon);

// Clears the per-connection state at connect.
void StartLinkSession();
