#include "terminal/ui/menu_commands.h"

#include <commctrl.h>

#include "terminal/link/network_link.h"
#include "terminal/link/reconnect.h"
#include "terminal/link/serial_link.h"
#include "terminal/ui/settings/settings_dialog.h"
#include "terminal/model/terminal_state.h"
#include "terminal/ui/about_box.h"
#include "terminal/ui/link_view.h"
#include "terminal/ui/network_port_view.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/trace_item.h"
#include "terminal/ui/status_bar.h"
#include "terminal/ui/status_texts.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

namespace {

HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

// The mark follows the connection as it stands when the command ends: a device
// that failed while the connect read its first data has already been closed
// again by the disconnect command (run inside the message that told the user).
// While automatic reconnect waits, the command is one of its attempts: it
// shows what they show, and nothing when it fails. The user's own connect
// shows the wait cursor while the line opens.
void Connect(WindowTerminal& record) {
  if (WaitingForDevice(record.link)) {
    TryReconnectNow(record.link);
    return;
  }
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const bool opened = OpenConnection(record.link);
  SetCursor(previous);
  HWND mainWindow = GetAncestor(terminalWindow, GA_ROOT);
  // A network port connects in the background and posts this command again.
  if (!opened && NetworkConnectUnderWay(record.link)) return ShowNetworkConnecting(mainWindow, record.link, true);
  if (!opened) {
    ShowNetworkConnecting(mainWindow, record.link, false);
    MessageBoxUtf8(terminalWindow, "接続できません。", ProgramCaption, MB_ICONWARNING);
    return;
  }
  const bool connected = record.terminal.state.connected;
  SetPaneText(3, connected ? ConnectedPaneText(record.link) : DisconnectedMark);
  if (connected) ShowNetworkConnected(record.link);
}

void Disconnect(WindowTerminal& record) {
  if (NetworkConnectUnderWay(record.link)) {
    ShowNetworkConnecting(GetAncestor(terminalWindow, GA_ROOT), record.link, false);
  }
  CancelNetworkConnect(record.link);
  StopWaitingForDevice(record.link);
  SendMessageW(terminalWindow, WM_KILLFOCUS, 0, 0);
  CloseConnection(record.link);
  SetPaneText(3, DisconnectedMark);
}

void ChangeLineSettings(HWND mainWindow) {
  WindowTerminal* record = RecordOf(mainWindow);
  if (record == nullptr) return;
  NetworkPortEdit network{ChosenNetworkPort(record->link)};
  RunLineSettingsDialog(InstanceOf(mainWindow), mainWindow, &record->terminal, &network);
  if (network.chosen) ChooseNetworkPort(record->link, network.port);
  // Also after Cancel: the open port gets the settings the record holds now.
  if (record->terminal.state.connected && !ApplyLineSettings(record->link)) {
    MessageBoxUtf8(terminalWindow, "設定できません!", ProgramCaption, MB_ICONWARNING);
  }
}

// The connection's commands need the record, which a window being torn down
// no longer holds.
void RunLinkCommand(HWND mainWindow, int command) {
  WindowTerminal* record = RecordOf(mainWindow);
  if (record == nullptr) return;
  switch (command) {
    case IDC_CMD_CONNECT: return Connect(*record);
    case IDC_CMD_DISCONNECT: return Disconnect(*record);
    default: return ToggleAutoReconnectItem(mainWindow, record->link);
  }
}

}  // namespace

void ShowView(int tab) {
  SendMessageW(tabControl, TCM_SETCURSEL, WPARAM(tab), 0);
  InvalidateRect(tabControl, nullptr, TRUE);
  InvalidateRect(terminalWindow, nullptr, TRUE);
}

void RunMenuCommand(HWND mainWindow, int command) {
  switch (command) {
    case IDC_CMD_CONNECT:
    case IDC_CMD_DISCONNECT:
    case IDC_CMD_AUTO_RECONNECT: RunLinkCommand(mainWindow, command); break;
    case IDC_CMD_QUIT: PostMessageW(mainWindow, WM_CLOSE, 0, 0); break;
    case IDC_CMD_SHOW_DUMP: ShowView(1); break;
    case IDC_CMD_SHOW_TEXT: ShowView(0); break;
    case IDC_CMD_SHOW_GRAPHIC: ShowView(2); break;
    case IDC_CMD_LINE_SETTINGS: ChangeLineSettings(mainWindow); break;
    case IDC_CMD_ABOUT: RunAboutBox(InstanceOf(mainWindow), mainWindow); break;
    case IDC_CMD_DEBUG_INFO: ShowDebugInformation(terminalWindow); break;
    case IDC_CMD_TRACE: ToggleTraceItem(mainWindow); break;
    default: break;
  }
}
