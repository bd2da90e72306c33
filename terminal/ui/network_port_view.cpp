#include "terminal/ui/network_port_view.h"

#include "terminal/link/link_session.h"
#include "terminal/link/network_link.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/status_bar.h"
#include "terminal/ui/status_texts.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/window_handles.h"
#include "terminal/ui/wide_text.h"

namespace {

constexpr int DiagnosticsPane = 1;

// The command line without the blanks and quotes around it.
std::string Trimmed(const char* commandLine) {
  std::string text(commandLine != nullptr ? commandLine : "");
  const std::size_t first = text.find_first_not_of(" \t\"");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\"") + 1 - first);
}

}  // namespace

void TakeNetworkPortArgument(HWND mainWindow, const char* commandLine) {
  const std::string argument = Trimmed(commandLine);
  if (!IsNetworkPortName(argument)) return;
  NetworkPort port;
  std::string error;
  if (!ParseNetworkPort(argument, port, error)) {
    MessageBoxUtf8(mainWindow, "接続先の指定が正しくありません：" + argument + "\n" + error, ProgramCaption,
                   MB_ICONWARNING);
    return;
  }
  WindowTerminal* record = RecordOf(mainWindow);
  if (record == nullptr) return;
  ChooseNetworkPort(record->link, port);
  PostMessageW(mainWindow, WM_COMMAND, IDC_CMD_CONNECT, 0);
}

std::string ConnectedPaneText(const LinkSession& session) {
  const std::optional<NetworkPort>& port = ChosenNetworkPort(session);
  return port ? std::string(ConnectedMark) + " " + port->Text() : ConnectedMark;
}

void ShowNetworkConnected(const LinkSession& session) {
  const std::optional<NetworkPort>& port = ChosenNetworkPort(session);
  if (!port) return;
  SetPaneText(DiagnosticsPane, port->kind == NetworkKind::RawTcp ? "通信設定はサーバー側の設定です" : "");
}

void ShowNetworkConnecting(HWND mainWindow, const LinkSession& session, bool connecting) {
  const std::optional<NetworkPort>& port = ChosenNetworkPort(session);
  if (!port) return;
  SetPaneText(DiagnosticsPane, connecting ? port->Text() + " に接続しています" : "");
  EnableMenuItem(GetMenu(mainWindow), IDC_CMD_DISCONNECT,
                 MF_BYCOMMAND | (connecting ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
}
