#include "terminal/ui/reconnect_view.h"

#include "terminal/link/reconnect.h"
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

void ShowStage(HWND mainWindow, ReconnectStage stage) {
  switch (stage) {
    case ReconnectStage::Waiting:
      SetPaneText(DiagnosticsPane, WaitingForDeviceText);
      SetPaneText(ConnectionPane, WaitingMark);
      OfferDisconnect(mainWindow, true);
      break;
    case ReconnectStage::Reconnected:
      SetPaneText(DiagnosticsPane, ReconnectedText);
      SetPaneText(ConnectionPane, ConnectedMark);
      break;
    case ReconnectStage::Stopped:
      SetPaneText(DiagnosticsPane, "");
      SetPaneText(ConnectionPane, DisconnectedMark);
      OfferDisconnect(mainWindow, false);
      break;
  }
}

}  // namespace

void StartAutoReconnectItem(HWND mainWindow) {
  StartAutoReconnect(ShowStage);
  CheckItem(mainWindow, true);
}

void ToggleAutoReconnectItem(HWND mainWindow) { CheckItem(mainWindow, ToggleAutoReconnect(mainWindow)); }
