#include "terminal/ui/trace_item.h"

#include "terminal/link/link_session.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

namespace {

constexpr char TraceOpenFailedText[] = "トレースファイルを作成する事が出来ない！！";

void CheckTraceItem(HWND mainWindow, bool on) {
  CheckMenuItem(GetMenu(mainWindow), IDC_CMD_TRACE, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

// Without the record (a window being torn down) there is no trace to change.
void ToggleTraceItem(HWND mainWindow) {
  WindowTerminal* record = RecordOf(mainWindow);
  if (record == nullptr) return;
  WindowTrace& trace = record->link.trace;
  if (trace.IsOn()) {
    trace.Stop();
    return CheckTraceItem(mainWindow, false);
  }
  if (!trace.Start(record->terminal.state.connected)) {
    MessageBoxUtf8(terminalWindow, TraceOpenFailedText, ProgramCaption, MB_ICONERROR);
  }
  ShowTraceItem(mainWindow);
}

void ShowTraceItem(HWND mainWindow) {
  const WindowTerminal* record = RecordOf(mainWindow);
  CheckTraceItem(mainWindow, record != nullptr && record->link.trace.IsOn());
}
