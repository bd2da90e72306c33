// What the Windows serial link keeps: the terminal it feeds, the device and
// the connection on it (with the communication log), the state of the current
// connection that the watcher, the pump and the transmitter share, the pump's
// pacing and the window's view of the connection. The window owns one session
// (its record); the watcher thread is handed it, and the timers find it on the
// window they run on (SessionOf).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "terminal/interpreter/terminal.h"
#include "terminal/link/connection.h"
#include "terminal/link/link_front_end.h"
#include "terminal/link/receive_plan.h"
#include "terminal/link/receive_stage.h"
#include "terminal/link/win32_log_file.h"
#include "terminal/link/window_device.h"
#include "terminal/link/window_trace.h"
#include "terminal/model/roles.h"

struct LinkSession {
  LinkSession(LinkView& linkView, HostWindow& hostWindow) : host(hostWindow), view(linkView) {}
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  Terminal* terminal = nullptr;  // fed by the pump; its record holds the line settings
  HostWindow& host;              // the status panes the pump writes
  LinkView& view;                // the window's view of the connection
  HWND notifyWindow = nullptr;   // gets WM_COMMNOTIFY from the watcher
  WindowDevice device;           // open exactly while connected
  // Cleared by CloseConnection before it stops the watcher: the watcher's
  // signal to end. The terminal's own `connected` is the user-interface
  // thread's.
  std::atomic<bool> watching{false};
  HANDLE pumpDoneEvent = nullptr;  // set while no notification waits for the pump
  HANDLE watcherThread = nullptr;
  std::atomic<DWORD> watcherThreadId{0};  // non-zero exactly while the watcher runs
  // Set by whichever thread first sees the device fail (a USB adapter pulled
  // out); from then on nothing is read from it, and the pump closes the
  // connection as the disconnect command does.
  std::atomic<bool> deviceLost{false};
  bool lossReported = false;                 // the user has been told for this connection
  std::atomic<std::uint32_t> dataBlocks{0};  // blocks the pump has read, for the watcher's pacing
  ReceiveStage received{};  // taken from the device, not yet pushed into the terminal
  // Kept across pump runs, so that many short runs do not repaint more often either.
  RepaintPacer pacer{};
  // Whether the pump's await timer runs (it is set and killed only on a
  // change: at the top line rate the pump runs thousands of times a second).
  bool awaitTicking = false;
  // Whether a box of what the terminal told is up. Its message loop may run
  // the pump or the await timer: they make no call into the terminal then, so
  // that a box shown for one push never runs the interpreter for another; the
  // received bytes wait in the device and the stage.
  bool showingTold = false;
  std::uint8_t waitedPort = 0;  // the portNumber a wait for a lost device is for
  // "Talvorix.log", open for the whole run (comm_log.h), written by the
  // connection's log writer; the dump view reads it back through logFile.
  Win32LogFile logFile;
  WindowTrace trace;  // "Talvorix.trace", while the window's item is checked
  LinkFrontEnd frontEnd{*this};
  Connection connection{device, logFile, frontEnd};
};

// Gives the session its terminal and the window that takes the watcher's
// notifications (its top-level window then leads its timers to the session),
// and makes pumpDoneEvent (manual-reset, signalled). False when an event of
// the session or of its device could not be made; nothing is left then.
bool StartLink(LinkSession& session, Terminal& terminal, HWND notifyWindow);

// Closes an open connection, the log and the session's events; the windows
// lead no timer to the session any more.
void EndLink(LinkSession& session);

// The session of the window (or of its top-level window) that StartLink was
// given; nullptr before StartLink and after EndLink.
LinkSession* SessionOf(HWND window);

// The pump's continuation timer and the tick timer of what the terminal
// awaits, both on the terminal window (see ReceivePump).
constexpr UINT_PTR PumpTimerId = 0x7A11;
constexpr UINT_PTR AwaitTimerId = 0x7A12;

// Clears the per-connection state at connect.
void StartLinkSession(LinkSession& session);
