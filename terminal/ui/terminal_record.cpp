#include "terminal/ui/terminal_record.h"

#include <new>

#include "terminal/input/input_win32.h"
#include "terminal/link/serial_link.h"
#include "terminal/model/terminal_model.h"
#include "terminal/model/terminal_state.h"
#include "terminal/ui/gdi_canvas.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/window_handles.h"

static_assert(sizeof(OverlappedBlock) == sizeof(OVERLAPPED), "OverlappedBlock must keep the OVERLAPPED layout");
static_assert(sizeof(FontSpec) == sizeof(LOGFONTA), "FontSpec must keep the LOGFONTA layout");

namespace {

void CloseEvents(TerminalState& state) {
  for (Handle* event : {&state.readOverlapped.event, &state.writeOverlapped.event, &state.pumpDoneEvent}) {
    if (*event != nullptr) CloseHandle(HANDLE(*event));
    *event = nullptr;
  }
}

// The receive event, the transmit event and pumpDoneEvent, in this order; all
// manual-reset, only the last one signalled.
bool CreateEvents(TerminalState& state) {
  state.readOverlapped.event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (state.readOverlapped.event == nullptr) return false;
  state.writeOverlapped.event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (state.writeOverlapped.event == nullptr) return false;
  state.pumpDoneEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  return state.pumpDoneEvent != nullptr;
}

void SetDisconnectedMenu(HWND mainWindow) {
  HMENU menu = GetMenu(mainWindow);
  EnableMenuItem(menu, IDC_CMD_DISCONNECT, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
  EnableMenuItem(menu, IDC_CMD_CONNECT, MF_BYCOMMAND | MF_ENABLED);
}

}  // namespace

int CreateTerminalState(HWND mainWindow) {
  TerminalState* state = new (std::nothrow) TerminalState();
  if (state == nullptr) return -1;
  InitTerminalState(*state, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW), terminalWindow);
  if (!CreateEvents(*state)) {
    CloseEvents(*state);
    delete state;
    return -1;
  }
  CreateGdiCanvases(mainWindow);
  SetRecordOf(mainWindow, state);
  SetRecordOf(terminalWindow, state);
  ApplyFontSpec(mainWindow, state);
  SetDisconnectedMenu(mainWindow);
  InitKeyboardStateFromKeyboard();
  return 1;
}

int DestroyTerminalState(HWND mainWindow) {
  TerminalState* state = RecordOf(mainWindow);
  if (state == nullptr) return 0;
  if (state->connected) CloseConnection(mainWindow);
  // The terminal window outlives the record by a few messages of the
  // teardown; with both slots empty every handler finds no record and does
  // nothing, instead of reaching freed memory.
  SetRecordOf(mainWindow, nullptr);
  SetRecordOf(terminalWindow, nullptr);
  CloseEvents(*state);
  if (state->font != nullptr) DeleteObject(HGDIOBJ(state->font));
  DestroyGdiCanvases();
  delete state;
  return 1;
}
