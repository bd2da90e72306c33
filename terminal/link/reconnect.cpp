#include "terminal/link/reconnect.h"

#include <dbt.h>

#include <cstdint>

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/serial_link.h"

namespace {

// Two timers on the main window: one closes a lost connection, one makes the
// attempts. Apart, so that a device lost again while an attempt connects
// (its close timer set inside the attempt) is still closed.
constexpr UINT_PTR AttemptTimerId = 0x7A13;
constexpr UINT_PTR CloseTimerId = 0x7A14;

// What the window keeps of a wait; the wait itself is the connection's.
struct ReconnectWatch {
  std::uint8_t port;  // the portNumber waited for
  ReconnectView view;
};

ReconnectWatch watch{0, nullptr};

HWND MainWindow() { return GetAncestor(linkSession.notifyWindow, GA_ROOT); }

void Show(ReconnectStage stage) {
  if (watch.view != nullptr) watch.view(MainWindow(), stage);
}

// A port changed while waiting (in the line settings dialog) is not the
// device that went away: the wait for the old one ends. The attempt opens the
// line with the settings the record holds now.
void Attempt(HWND mainWindow) {
  const Terminal* terminal = linkSession.terminal;
  Connection& connection = linkSession.connection;
  if (!connection.WaitingForDevice() || terminal == nullptr || !IsWindowEnabled(mainWindow)) return;
  if (terminal->state.portNumber != watch.port) return StopWaitingForDevice(mainWindow);
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
  watch.port = linkSession.terminal->state.portNumber;
  linkSession.connection.DeviceGone(DeviceLostText);
}

}  // namespace

void LinkFrontEnd::Notice(ConnectionEvent event, const std::string&) {
  HWND mainWindow = MainWindow();
  switch (event) {
    case ConnectionEvent::Waiting:
      SetTimer(mainWindow, AttemptTimerId, UINT(ReconnectIntervalMs), AttemptTick);
      return Show(ReconnectStage::Waiting);
    case ConnectionEvent::Reconnected:
      KillTimer(mainWindow, AttemptTimerId);
      return Show(ReconnectStage::Reconnected);
    case ConnectionEvent::WaitStopped:
      KillTimer(mainWindow, AttemptTimerId);
      return Show(ReconnectStage::Stopped);
    case ConnectionEvent::Lost:
      return Show(ReconnectStage::Stopped);
    case ConnectionEvent::Connected:
    case ConnectionEvent::Closed:
      return;
  }
}

void StartAutoReconnect(ReconnectView view) {
  linkSession.connection.SetReconnect(true);
  watch.view = view;
}

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
