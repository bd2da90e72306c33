// The program's one terminal record on Windows: the terminal, what the views
// keep about the window, and the keyboard. Made in the main window's
// WM_CREATE after the terminal window and the log exist, held in slot 0 of
// both windows, freed in WM_DESTROY.
#pragma once

#include <windows.h>

#include <cstdint>

#include "terminal/input/keyboard.h"
#include "terminal/input/terminal_keyboard_output.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/link/traced_keyboard_output.h"
#include "terminal/link/window_trace.h"

// The terminal window's geometry: its client size, the scroll ranges and
// positions, and whether the caret is shown.
struct ViewState {
  std::int32_t clientWidth;
  std::int32_t clientHeight;
  std::int32_t hScrollMax;
  std::int32_t vScrollMax;
  std::int32_t hScrollPos;
  std::int32_t vScrollPos;
  std::uint16_t caretShown;
};

struct TerminalRecord {
  explicit TerminalRecord(const TerminalRoles& roles)
      : terminal(roles),
        keyboardOutput(terminal),
        tracedOutput(keyboardOutput, WindowTrace()),
        keyboard(tracedOutput) {}
  Terminal terminal;
  ViewState view{};
  TerminalKeyboardOutput keyboardOutput;
  TracedKeyboardOutput tracedOutput;  // the user's input in the trace
  Keyboard keyboard;
};

// 1 on success, -1 on failure (nothing is left behind then).
int CreateTerminalState(HWND mainWindow);

// Closes an open connection, then frees the record, the link's events and
// the canvases. 1, or 0 when there is no record.
int DestroyTerminalState(HWND mainWindow);
