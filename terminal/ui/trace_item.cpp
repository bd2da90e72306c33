#include "terminal/ui/trace_item.h"

#include "terminal/link/window_trace.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/terminal_record.h"
#include "terminal/ui/wide_text.h"
#include "terminal/ui/window_handles.h"

namespace {

constexpr char TraceOpenFailedText[] = "トレースファイルを作成する事が出来ない！！";

void CheckTraceItem(HWND mainWindow, bool on) {
  CheckMenuItem(GetMenu(mainWindow), IDC_CMD_TRACE, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void ToggleTraceItem(HWND mainWindow) {
  if (WindowTrace().IsOpen()) {
    StopWindowTrace();
    return CheckTraceItem(mainWindow, false);
  }
  const TerminalRecord* record = RecordOf(mainWindow);
  const bool connected = record != nullptr && record->terminal.state.connected;
  if (!StartWindowTrace(connected)) MessageBoxUtf8(terminalWindow, TraceOpenFailedText, ProgramCaption, MB_ICONERROR);
  ShowTraceItem(mainWindow);
}

void ShowTraceItem(HWND mainWindow) { CheckTraceItem(mainWindow, WindowTrace().IsOpen()); }
