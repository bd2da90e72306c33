#include "terminal/link/reconnect.h"

#include <dbt.h>

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/serial_link.h"

namespace {

// Two timers on the main window: one closes a lost connection, one makes the
// attempts. Apart, so that a device lost again while an attempt connects
// (its close timer set inside the attempt) is still closed.
constexpr UINT_PTR AttemptTimerId = 0x7A13;
constexpr UINT_PTR CloseTimerId = 0x7A14;

HWND MainWindow(const LinkSession& session) { return GetAncestor(session.notifyWindow, GA_ROOT); }

// A port changed while waiting (in the line settings dialog) is not the
// device that went away: the wait for the old one ends. The attempt opens the
// line with the settings the record holds now.
void Attempt(LinkSession& session) {
  const Terminal* terminal = session.terminal;
  Connection& connection = session.connection;
  if (!connection.WaitingForDevice() || terminal == nullptr || !IsWindowEnabled(MainWindow(session))) return;
  if (terminal->state.portNumber != session.waitedPort) return StopWaitingForDevice(session);
  std::string error;
  connection.SetLine(LineSettingsOf(terminal->state));
  connection.Open(error);
}

// A timer that finds no session (the window's link has ended) ends itself.
void CALLBACK AttemptTick(HWND mainWindow, UINT, UINT_PTR id, DWORD) {
  LinkSession* session = SessionOf(mainWindow);
  if (session == nullptr) {
    KillTimer(mainWindow, id);
    return;
  }
  Attempt(*session);
}

// Closes the lost connection outside the pump that noticed the loss, as the
// disconnect command would be; the connection then waits, or, turned off
// meanwhile, only closes. The disconnect command may have closed it first:
// then nothing is waited for.
void CALLBACK CloseLostConnection(HWND mainWindow, UINT, UINT_PTR id, DWORD) {
  KillTimer(mainWindow, id);
  LinkSession* session = SessionOf(mainWindow);
  if (session == nullptr || session->terminal == nullptr) return;
  session->waitedPort = session->terminal->state.portNumber;
  session->connection.DeviceGone(DeviceLostText);
}

}  // namespace

// The attempts run from the main window's timer while the connection waits.
// Line errors are shown only when the record asks for them.
void LinkFrontEnd::Notice(ConnectionEvent event, const std::string& detail) {
  session_.trace.Writer().Connection(event, detail);
  HWND mainWindow = MainWindow(session_);
  if (event == ConnectionEvent::Waiting) {
    SetTimer(mainWindow, AttemptTimerId, UINT(ReconnectIntervalMs), AttemptTick);
  } else if (event == ConnectionEvent::Reconnected || event == ConnectionEvent::WaitStopped) {
    KillTimer(mainWindow, AttemptTimerId);
  } else if (event == ConnectionEvent::LineError && !session_.terminal->state.displayErrors) {
    return;
  }
  session_.view.Show(event, detail);
}

bool ToggleAutoReconnect(LinkSession& session) {
  Connection& connection = session.connection;
  connection.SetReconnect(!connection.Reconnects());
  return connection.Reconnects();
}

bool WaitingForDevice(const LinkSession& session) { return session.connection.WaitingForDevice(); }

bool TakeOverDeviceLoss(LinkSession& session) {
  if (!session.connection.Reconnects()) return false;
  SetTimer(MainWindow(session), CloseTimerId, USER_TIMER_MINIMUM, CloseLostConnection);
  return true;
}

void TryReconnectNow(LinkSession& session) { Attempt(session); }

void StopWaitingForDevice(LinkSession& session) {
  if (session.connection.WaitingForDevice()) session.connection.Close();
}

// Windows announces a serial port's arrival to every top-level window
// (DBT_DEVICEARRIVAL); drivers that announce only a change of the device tree
// (DBT_DEVNODES_CHANGED) are heard too. Which port arrived is not examined:
// an attempt on the port waited for is cheap, and fails silently.
void NoticeDeviceChange(LinkSession& session, WPARAM event) {
  if (event == DBT_DEVICEARRIVAL || event == DBT_DEVNODES_CHANGED) Attempt(session);
}
