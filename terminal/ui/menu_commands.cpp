#include "terminal/ui/menu_commands.h"

#include <commctrl.h>

#include "terminal/link/reconnect.h"
#include "terminal/link/serial_link.h"
#include "terminal/link/settings/settings_dialog.h"
#include "terminal/model/terminal_state.h"
#include "terminal/ui/about_box.h"
#include "terminal/ui/reconnect_view.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/terminal_record.h"
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
// shows what they show, and nothing when it fails.
void Connect(HWND mainWindow) {
  if (WaitingForDevice()) {
    TryReconnectNow(mainWindow);
    return;
  }
  if (!OpenConnection(mainWindow)) {
    MessageBoxUtf8(terminalWindow, "接続できません。", ProgramCaption, MB_ICONWARNING);
    return;
  }
  const TerminalRecord* record = RecordOf(mainWindow);
  SetPaneText(3, record != nullptr && record->terminal.state.connected ? ConnectedMark : DisconnectedMark);
}

void Disconnect(HWND mainWindow) {
  StopWaitingForDevice(mainWindow);
  SendMessageW(terminalWindow, WM_KILLFOCUS, 0, 0);
  CloseConnection(mainWindow);
  SetPaneText(3, DisconnectedMark);
}

void ChangeLineSettings(HWND mainWindow) {
  TerminalRecord* record = RecordOf(mainWindow);
  if (record == nullptr) return;
  RunLineSettingsDialog(InstanceOf(mainWindow), mainWindow, &record->terminal);
  // Also after Cancel: the open port gets the settings the record holds now.
  if (record->terminal.state.connected && !ApplyLineSettings(mainWindow)) {
    MessageBoxUtf8(terminalWindow, "設定できません!", ProgramCaption, MB_ICONWARNING);
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
    case IDC_CMD_CONNECT: Connect(mainWindow); break;
    case IDC_CMD_DISCONNECT: Disconnect(mainWindow); break;
    case IDC_CMD_QUIT: PostMessageW(mainWindow, WM_CLOSE, 0, 0); break;
    case IDC_CMD_SHOW_DUMP: ShowView(1); break;
    case IDC_CMD_SHOW_TEXT: ShowView(0); break;
    case IDC_CMD_SHOW_GRAPHIC: ShowView(2); break;
    case IDC_CMD_LINE_SETTINGS: ChangeLineSettings(mainWindow); break;
    case IDC_CMD_ABOUT: RunAboutBox(InstanceOf(mainWindow), mainWindow); break;
    case IDC_CMD_DEBUG_INFO: ShowDebugInformation(terminalWindow); break;
    case IDC_CMD_AUTO_RECONNECT: ToggleAutoReconnectItem(mainWindow); break;
    case IDC_CMD_TRACE: ToggleTraceItem(mainWindow); break;
    default: break;
  }
}
