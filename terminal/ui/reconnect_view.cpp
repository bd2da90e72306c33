#include "terminal/ui/reconnect_view.h"

#include "terminal/link/reconnect.h"
#include "terminal/ui/network_port_view.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/status_bar.h"
#include "terminal/ui/status_texts.h"

namespace {

constexpr int DiagnosticsPane = 1;
constexpr int ConnectionPane = 3;

void CheckItem(HWND mainWindow, bool on) {
  CheckMenuItem(GetMenu(mainWindow), IDC_CMD_AUTO_RECONNECT, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

// While waiting both connect (an attempt at once) and disconnect (the wait
// ends) are offered, also through their accelerators, which a grey item blocks.
void OfferDisconnect(HWND mainWindow, bool offered) {
  EnableMenuItem(GetMenu(mainWindow), IDC_CMD_DISCONNECT,
                 MF_BYCOMMAND | (offered ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
}

// Connect is offered while the line is closed, disconnect while it is open.
void ShowConnectedMenu(HWND mainWindow, bool connected) {
  HMENU menu = GetMenu(mainWindow);
  EnableMenuItem(menu, IDC_CMD_CONNECT, MF_BYCOMMAND | (connected ? MF_DISABLED | MF_GRAYED : MF_ENABLED));
  OfferDisconnect(mainWindow, connected);
}

void ShowWaitEnded(HWND mainWindow) {
  SetPaneText(DiagnosticsPane, "");
  SetPaneText(ConnectionPane, DisconnectedMark);
  ShowConnectedMenu(mainWindow, false);
}

void ShowEvent(HWND mainWindow, ConnectionEvent event) {
  switch (event) {
    case ConnectionEvent::Connected: return ShowConnectedMenu(mainWindow, true);
    case ConnectionEvent::Closed: return ShowConnectedMenu(mainWindow, false);
    case ConnectionEvent::Waiting:
      SetPaneText(DiagnosticsPane, WaitingForDeviceText);
      SetPaneText(ConnectionPane, WaitingMark);
      ShowConnectedMenu(mainWindow, false);
      return OfferDisconnect(mainWindow, true);
    case ConnectionEvent::Reconnected:
      SetPaneText(DiagnosticsPane, ReconnectedText);
      SetPaneText(ConnectionPane, ConnectedPaneText());
      return ShowConnectedMenu(mainWindow, true);
    case ConnectionEvent::Lost:
    case ConnectionEvent::WaitStopped: return ShowWaitEnded(mainWindow);
  }
}

}  // namespace

void StartAutoReconnectItem(HWND mainWindow) {
  SetConnectionView(ShowEvent);
  StartAutoReconnect();
  CheckItem(mainWindow, true);
}

void ToggleAutoReconnectItem(HWND mainWindow) { CheckItem(mainWindow, ToggleAutoReconnect(mainWindow)); }
