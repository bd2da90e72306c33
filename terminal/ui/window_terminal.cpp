#include "terminal/ui/window_terminal.h"

#include <new>

#include "terminal/input/input_win32.h"
#include "terminal/model/screen_model.h"
#include "terminal/ui/gdi_canvas.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/window_handles.h"

static_assert(sizeof(FontSpec) == sizeof(LOGFONTA), "FontSpec must keep the LOGFONTA layout");

namespace {

void SetDisconnectedMenu(HWND mainWindow) {
  HMENU menu = GetMenu(mainWindow);
  EnableMenuItem(menu, IDC_CMD_DISCONNECT, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
  EnableMenuItem(menu, IDC_CMD_CONNECT, MF_BYCOMMAND | MF_ENABLED);
}

}  // namespace

int CreateTerminalState(HWND mainWindow) {
  WindowTerminal* record = new (std::nothrow) WindowTerminal();
  if (record == nullptr) return -1;
  Terminal& terminal = record->terminal;
  InitTerminalState(terminal.state, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW));
  if (!StartLink(record->link, terminal, terminalWindow)) {
    delete record;
    return -1;
  }
  CreateGdiCanvases(mainWindow);
  SetRecordOf(mainWindow, record);
  SetRecordOf(terminalWindow, record);
  ApplyFontSpec(terminal);
  SetDisconnectedMenu(mainWindow);
  InitKeyboardStateFromKeyboard(record->keyboard.Key_Data);
  WatchKeyReleases(record->keyboard.Key_Data);
  return 1;
}

int DestroyTerminalState(HWND mainWindow) {
  WindowTerminal* record = RecordOf(mainWindow);
  if (record == nullptr) return 0;
  EndLink(record->link);
  StopWatchingKeyReleases();
  // The terminal window outlives the record by a few messages of the
  // teardown; with both slots empty every handler finds no record and does
  // nothing, instead of reaching freed memory.
  SetRecordOf(mainWindow, nullptr);
  SetRecordOf(terminalWindow, nullptr);
  DestroyGdiCanvases();
  delete record;
  return 1;
}
