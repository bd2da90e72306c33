#include "terminal/link/reconnect.h"

#include <dbt.h>

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/serial_link.h"
#include "terminal/link/window_trace.h"

namespace {

// Two timers on the main window: one closes a lost connection, one makes the
// attempts. Apart, so that a device lost again while an attempt connects
// (its close timer set inside the attempt) is still closed.
constexpr UINT_PTR AttemptTimerId = 0x7A13;
constexpr UINT_PTR CloseTimerId = 0x7A14;

HWND MainWindow() { return GetAncestor(linkSession.notifyWindow, GA_ROOT); }

// A port changed while waiting (in the line settings dialog) is not the
// device that went away: the wait for the old one ends. The attempt opens the
// line with the settings the record holds now.
void Attempt(HWND mainWindow) {
  const Terminal* terminal = linkSession.terminal;
  Connection& connection = linkSession.connection;
  if (!connection.WaitingForDevice() || terminal == nullptr || !IsWindowEnabled(mainWindow)) return;
  if (terminal->state.portNumber != linkSession.waitedPort) return StopWaitingForDevice(mainWindow);
  std::string error;
  connection.SetLine(LineSettingsOf(terminal->state));
  connection.Open(error);
}

void CALLBACK AttemptTick(HWND mainWindow, UINT, UINT_PTR, DWORD) { Attempt(mainWindow); }

// Closes the lost connection outside the pump that noticed the loss, as the
// disconnect command would be; the connection then waits, or, turned off
// meanwhile, only closes. The disconnect command may have closed it first:
// then nothing is waited for.
void CALLBACK CloseLostConnection(HWND mainWindow, UINT, UINT_PTR id, DWORD) {
  KillTimer(mainWindow, id);
  if (linkSession.terminal == nullptr) return;
  linkSession.waitedPort = linkSession.terminal->state.portNumber;
  linkSession.connection.DeviceGone(DeviceLostText);
}

}  // namespace

// The attempts run from the main window's timer while the connection waits.
void LinkFrontEnd::Notice(ConnectionEvent event, const std::string& detail) {
  WindowTrace().Connection(event, detail);
  HWND mainWindow = MainWindow();
  if (event == ConnectionEvent::Waiting) {
    SetTimer(mainWindow, AttemptTimerId, UINT(ReconnectIntervalMs), AttemptTick);
  } else if (event == ConnectionEvent::Reconnected || event == ConnectionEvent::WaitStopped) {
    KillTimer(mainWindow, AttemptTimerId);
  }
  if (linkSession.view != nullptr) linkSession.view(mainWindow, event);
}

void SetConnectionView(ConnectionView view) { linkSession.view = view; }

void StartAutoReconnect() { linkSession.connection.SetReconnect(true); }

bool ToggleAutoReconnect(HWND) {
  Connection& connection = linkSession.connection;
  connection.SetReconnect(!connection.Reconnects());
  return connection.Reconnects();
}

bool WaitingForDevice() { return linkSession.connection.WaitingForDevice(); }

bool TakeOverDeviceLoss(HWND window) {
  if (!linkSession.connection.Reconnects()) return false;
  SetTimer(GetAncestor(window, GA_ROOT), CloseTimerId, USER_TIMER_MINIMUM, CloseLostConnection);
  return true;
}

void TryReconnectNow(HWND mainWindow) { Attempt(mainWindow); }

void StopWaitingForDevice(HWND) {
  if (linkSession.connection.WaitingForDevice()) linkSession.connection.Close();
}

// Windows announces a serial port's arrival to every top-level window
// (DBT_DEVICEARRIVAL); drivers that announce only a change of the device tree
// (DBT_DEVNODES_CHANGED) are heard too. Which port arrived is not examined:
// an attempt on the port waited for is cheap, and fails silently.
void NoticeDeviceChange(HWND mainWindow, WPARAM event) {
  if (event == DBT_DEVICEARRIVAL || event == DBT_DEVNODES_CHANGED) Attempt(mainWindow);
}
