#include "terminal/ui/link_view.h"

#include "terminal/interpreter/transmit_status.h"
#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/reconnect.h"
#include "terminal/ui/network_port_view.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/status_bar.h"
#include "terminal/ui/status_texts.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/win32_platform.h"
#include "terminal/ui/window_handles.h"

namespace {

constexpr int DiagnosticsPane = 1;
constexpr int ConnectionPane = 3;

HWND MainWindow() { return GetAncestor(terminalWindow, GA_ROOT); }

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

// A modal message with caption "通信ターミナル", as the terminal's own.
void ShowLinkMessage(const char* text, MessageIcon icon) {
  Win32Host().ShowMessage(text, TextCoding::Utf8, LinkCaption, icon);
}

}  // namespace

void WindowLinkView::Show(ConnectionEvent event, const std::string& detail) {
  HWND mainWindow = MainWindow();
  switch (event) {
    case ConnectionEvent::Connected: return ShowConnectedMenu(mainWindow, true);
    case ConnectionEvent::Closed: return ShowConnectedMenu(mainWindow, false);
    case ConnectionEvent::LineError: return SetPaneText(LineErrorPane, detail);
    case ConnectionEvent::Waiting:
      SetPaneText(DiagnosticsPane, WaitingForDeviceText);
      SetPaneText(ConnectionPane, WaitingMark);
      ShowConnectedMenu(mainWindow, false);
      return OfferDisconnect(mainWindow, true);
    case ConnectionEvent::Reconnected:
      SetPaneText(DiagnosticsPane, ReconnectedText);
      if (const WindowTerminal* record = RecordOf(mainWindow)) SetPaneText(ConnectionPane, ConnectedPaneText(record->link));
      return ShowConnectedMenu(mainWindow, true);
    case ConnectionEvent::Lost:
    case ConnectionEvent::WaitStopped: return ShowWaitEnded(mainWindow);
  }
}

void WindowLinkView::Focus(bool held) { SendMessageW(terminalWindow, held ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0); }

void WindowLinkView::RepaintNow() {
  RedrawWindow(MainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The disconnect command is posted, so that its own handling runs (also the
// connection mark), inside the message box that follows.
void WindowLinkView::DeviceLost() {
  PostMessageW(MainWindow(), WM_COMMAND, IDC_CMD_DISCONNECT, 0);
  ShowLinkMessage(DeviceLostText, MessageIcon::Warning);
}

void WindowLinkView::LogFailed(LogResult result) {
  ShowLinkMessage(result == LogResult::OpenFailed ? LogCreateFailedText : LogWriteFailedText, MessageIcon::Error);
}

void StartAutoReconnectItem(HWND mainWindow, LinkSession& session) {
  session.connection.SetReconnect(true);
  CheckItem(mainWindow, true);
}

void ToggleAutoReconnectItem(HWND mainWindow, LinkSession& session) {
  CheckItem(mainWindow, ToggleAutoReconnect(session));
}
