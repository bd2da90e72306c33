#include "terminal/link/reconnect.h"

#include <dbt.h>

#include <cstdint>

#include "terminal/link/link_session.h"
#include "terminal/link/serial_link.h"

namespace {

// Two timers on the main window: one closes a lost connection, one makes the
// attempts. Apart, so that a device lost again while an attempt connects
// (its close timer set inside the attempt) is still closed.
constexpr UINT_PTR AttemptTimerId = 0x7A13;
constexpr UINT_PTR CloseTimerId = 0x7A14;
constexpr UINT AttemptIntervalMs = 100;

struct AutoReconnect {
  bool on;
  bool waiting;
  std::uint8_t port;  // the portNumber waited for
  ReconnectView view;
};

AutoReconnect reconnect{false, false, 0, nullptr};

void Show(HWND mainWindow, ReconnectStage stage) {
  if (reconnect.view != nullptr) reconnect.view(mainWindow, stage);
}

void EndWait(HWND mainWindow, ReconnectStage stage) {
  KillTimer(mainWindow, AttemptTimerId);
  reconnect.waiting = false;
  Show(mainWindow, stage);
}

// A port changed while waiting (in the line settings dialog) is not the
// device that went away: the wait for the old one ends.
void Attempt(HWND mainWindow) {
  const Terminal* terminal = linkSession.terminal;
  if (!reconnect.waiting || terminal == nullptr || !IsWindowEnabled(mainWindow)) return;
  if (terminal->state.portNumber != reconnect.port) {
    EndWait(mainWindow, ReconnectStage::Stopped);
  } else if (OpenConnectionQuietly(mainWindow)) {
    EndWait(mainWindow, ReconnectStage::Reconnected);
  }
}

void CALLBACK AttemptTick(HWND mainWindow, UINT, UINT_PTR, DWORD) { Attempt(mainWindow); }

void StartWaiting(HWND mainWindow, std::uint8_t port) {
  reconnect.waiting = true;
  reconnect.port = port;
  Show(mainWindow, ReconnectStage::Waiting);
  SetTimer(mainWindow, AttemptTimerId, AttemptIntervalMs, AttemptTick);
}

// Closes the lost connection outside the pump that noticed the loss, as the
// disconnect command would be, then waits. The disconnect command may have
// closed it first: then nothing is waited for. Turned off meanwhile, the
// terminal only closes.
void CALLBACK CloseLostConnection(HWND mainWindow, UINT, UINT_PTR id, DWORD) {
  KillTimer(mainWindow, id);
  const Terminal* terminal = linkSession.terminal;
  if (terminal == nullptr || !linkSession.device.IsOpen()) return;
  CloseConnection(mainWindow);
  if (reconnect.on) {
    StartWaiting(mainWindow, terminal->state.portNumber);
  } else {
    Show(mainWindow, ReconnectStage::Stopped);
  }
}

}  // namespace

void StartAutoReconnect(ReconnectView view) {
  reconnect.on = true;
  reconnect.view = view;
}

bool ToggleAutoReconnect(HWND mainWindow) {
  reconnect.on = !reconnect.on;
  if (!reconnect.on) StopWaitingForDevice(mainWindow);
  return reconnect.on;
}

bool WaitingForDevice() { return reconnect.waiting; }

bool TakeOverDeviceLoss(HWND window) {
  if (!reconnect.on) return false;
  SetTimer(GetAncestor(window, GA_ROOT), CloseTimerId, USER_TIMER_MINIMUM, CloseLostConnection);
  return true;
}

void TryReconnectNow(HWND mainWindow) { Attempt(mainWindow); }

void StopWaitingForDevice(HWND mainWindow) {
  if (reconnect.waiting) EndWait(mainWindow, ReconnectStage::Stopped);
}

// Windows announces a serial port's arrival to every top-level window
// (DBT_DEVICEARRIVAL); drivers that announce only a change of the device tree
// (DBT_DEVNODES_CHANGED) are heard too. Which port arrived is not examined:
// an attempt on the port waited for is cheap, and fails silently.
void NoticeDeviceChange(HWND mainWindow, WPARAM event) {
  if (event == DBT_DEVICEARRIVAL || event == DBT_DEVNODES_CHANGED) Attempt(mainWindow);
}
