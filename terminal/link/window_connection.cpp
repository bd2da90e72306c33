#include <windows.h>

#include "terminal/link/device_name.h"
#include "terminal/link/link_front_end.h"
#include "terminal/link/link_session.h"
#include "terminal/link/serial_line.h"
#include "terminal/link/serial_link.h"
#include "terminal/model/screen_model.h"

namespace {

constexpr UINT PortNameString = 784;

// How long the user-interface thread waits for the watcher to end: first for an
// orderly end, then after cancelling the watcher's wait on the device.
constexpr DWORD WatcherEndMs = 2000;
constexpr DWORD WatcherCancelledEndMs = 1000;

// The port text of string resource 784; "COM" when the program carries no such
// string, so that a missing resource cannot make every port unreachable.
std::string PortText() {
  char text[10] = {};
  if (LoadStringA(GetModuleHandleA(nullptr), PortNameString, text, sizeof text) <= 0) return "COM";
  return text;
}

// The watcher is created suspended so that its handle and id are stored before
// it can end; it runs at once after that.
bool StartWatcher(LinkSession& session) {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, CommWatcher, &session, CREATE_SUSPENDED, &id);
  if (thread == nullptr) return false;
  session.watcherThread = thread;
  session.watcherThreadId = id;
  SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
  ResumeThread(thread);
  return true;
}

// Ends the watcher in bounded time whatever it is doing: waiting for the pump
// (pumpDoneEvent is set for it), waiting on the device (the event mask was
// cleared, and the wait is cancelled if that did not end it), or already gone
// after one of its early exits. As a last resort the thread is terminated, so
// that it can never touch a record that is freed later.
void StopWatcher(LinkSession& session) {
  HANDLE thread = session.watcherThread;
  if (thread == nullptr) return;
  SetEvent(session.pumpDoneEvent);
  if (WaitForSingleObject(thread, WatcherEndMs) == WAIT_TIMEOUT) {
    CancelIoEx(session.device.Handle(), nullptr);
    if (WaitForSingleObject(thread, WatcherCancelledEndMs) == WAIT_TIMEOUT) TerminateThread(thread, 0);
  }
  CloseHandle(thread);
  session.watcherThread = nullptr;
  session.watcherThreadId = 0;
}

// The settings and the device of the next open: those the record holds now.
void PrepareLine(LinkSession& session, const Terminal& terminal) {
  session.device.SetName(DeviceName(terminal.state.portNumber, PortText().c_str()));
  session.connection.SetLine(LineSettingsOf(terminal.state));
}

}  // namespace

// Nothing has been read from the device yet: what it sent since the line was
// configured is drawn on the fresh screen, not wiped from it.
bool LinkFrontEnd::SessionStarted() {
  Terminal& terminal = *session_.terminal;
  StartLinkSession(session_);
  session_.trace.Writer().SessionStarted();
  terminal.Connect();
  session_.watching = true;
  ResetScreenModel(terminal);
  session_.host.InvalidateTerminal();
  if (!StartWatcher(session_)) return false;
  session_.view.Focus(true);
  ReceivePump(session_);
  return true;
}

// What the terminal awaited ends without a message: the user chose to go, or
// automatic reconnect took the loss over.
void LinkFrontEnd::SessionEnding() {
  session_.terminal->Disconnect();
  session_.watching = false;
  SetCommMask(session_.device.Handle(), 0);
  StopWatcher(session_);
  KillTimer(session_.notifyWindow, PumpTimerId);
  session_.view.Focus(false);
}

void LinkFrontEnd::LogFailed(LogResult result) { session_.view.LogFailed(result); }

// While connected the device is held exclusively: opening it again would fail.
bool OpenConnection(LinkSession& session) {
  Terminal* terminal = session.terminal;
  if (terminal == nullptr || terminal->state.connected) return false;
  PrepareLine(session, *terminal);
  std::string error;
  return session.connection.Open(error);
}

bool ApplyLineSettings(LinkSession& session) {
  if (session.terminal == nullptr || !session.device.IsOpen()) return false;
  const LineSettings settings = LineSettingsOf(session.terminal->state);
  session.connection.SetLine(settings);
  std::string error;
  return session.device.Configure(settings, error);
}

// Nothing open (the device-lost path and the disconnect command can both
// come): a second end stamp would pair with no start stamp.
bool CloseConnection(LinkSession& session) {
  if (session.terminal == nullptr || !session.device.IsOpen()) return false;
  return session.connection.Close();
}
