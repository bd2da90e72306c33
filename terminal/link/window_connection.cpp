#include <windows.h>

#include "terminal/link/comm_log.h"
#include "terminal/link/device_name.h"
#include "terminal/link/link_front_end.h"
#include "terminal/link/link_session.h"
#include "terminal/link/serial_line.h"
#include "terminal/link/serial_link.h"
#include "terminal/link/window_trace.h"
#include "terminal/model/terminal_model.h"

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
bool StartWatcher() {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, CommWatcher, nullptr, CREATE_SUSPENDED, &id);
  if (thread == nullptr) return false;
  linkSession.watcherThread = thread;
  linkSession.watcherThreadId = id;
  SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
  ResumeThread(thread);
  return true;
}

// Ends the watcher in bounded time whatever it is doing: waiting for the pump
// (pumpDoneEvent is set for it), waiting on the device (the event mask was
// cleared, and the wait is cancelled if that did not end it), or already gone
// after one of its early exits. As a last resort the thread is terminated, so
// that it can never touch a record that is freed later.
void StopWatcher() {
  HANDLE thread = linkSession.watcherThread;
  if (thread == nullptr) return;
  SetEvent(linkSession.pumpDoneEvent);
  if (WaitForSingleObject(thread, WatcherEndMs) == WAIT_TIMEOUT) {
    CancelIoEx(linkSession.device.Handle(), nullptr);
    if (WaitForSingleObject(thread, WatcherCancelledEndMs) == WAIT_TIMEOUT) TerminateThread(thread, 0);
  }
  CloseHandle(thread);
  linkSession.watcherThread = nullptr;
  linkSession.watcherThreadId = 0;
}

// The settings and the device of the next open: those the record holds now.
void PrepareLine(const Terminal& terminal) {
  linkSession.device.SetName(DeviceName(terminal.state.portNumber, PortText().c_str()));
  linkSession.connection.SetLine(LineSettingsOf(terminal.state));
}

}  // namespace

// Nothing has been read from the device yet: what it sent since the line was
// configured is drawn on the fresh screen, not wiped from it.
bool LinkFrontEnd::SessionStarted() {
  Terminal& terminal = *linkSession.terminal;
  StartLinkSession();
  WindowTrace().SessionStarted();
  terminal.Connect();
  linkSession.watching = true;
  HWND view = linkSession.notifyWindow;
  ResetScreenModel(terminal);
  InvalidateRect(view, nullptr, TRUE);
  if (!StartWatcher()) return false;
  SendMessageW(view, WM_SETFOCUS, 0, 0);
  ReceivePump(view, WPARAM(linkSession.device.Handle()), CommNotifyEvent);
  return true;
}

// What the terminal awaited ends without a message: the user chose to go, or
// automatic reconnect took the loss over.
void LinkFrontEnd::SessionEnding() {
  HWND view = linkSession.notifyWindow;
  linkSession.terminal->Disconnect();
  linkSession.watching = false;
  SetCommMask(linkSession.device.Handle(), 0);
  StopWatcher();
  KillTimer(view, PumpTimerId);
  SendMessageW(view, WM_KILLFOCUS, 0, 0);
}

void LinkFrontEnd::LogFailed(LogResult result) { ShowLogFailure(result); }

bool OpenConnection(HWND mainWindow) {
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const bool opened = OpenConnectionQuietly(mainWindow);
  SetCursor(previous);
  return opened;
}

bool OpenConnectionQuietly(HWND) {
  Terminal* terminal = linkSession.terminal;
  // While connected the device is held exclusively: opening it again would fail.
  if (terminal == nullptr || terminal->state.connected) return false;
  PrepareLine(*terminal);
  std::string error;
  return linkSession.connection.Open(error);
}

bool ApplyLineSettings(HWND) {
  if (linkSession.terminal == nullptr || !linkSession.device.IsOpen()) return false;
  const LineSettings settings = LineSettingsOf(linkSession.terminal->state);
  linkSession.connection.SetLine(settings);
  std::string error;
  return linkSession.device.Configure(settings, error);
}

// Nothing open (the device-lost path and the disconnect command can both
// come): a second end stamp would pair with no start stamp.
bool CloseConnection(HWND) {
  if (linkSession.terminal == nullptr || !linkSession.device.IsOpen()) return false;
  return linkSession.connection.Close();
}
