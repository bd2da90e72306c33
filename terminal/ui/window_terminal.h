// The program's one terminal record on Windows: the terminal, its link (the
// serial session with the connection and the log) and the window's view of
// that link, what the views keep about the window, and the keyboard. Made in
// the main window's WM_CREATE after the terminal window exists, held in slot
// 0 of both windows, freed in WM_DESTROY.
#pragma once

#include <windows.h>

#include <cstdint>

#include "terminal/input/keyboard.h"
#include "terminal/input/terminal_keyboard_output.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/link/comm_log.h"
#include "terminal/link/link_session.h"
#include "terminal/link/serial_link.h"
#include "terminal/link/traced_keyboard_output.h"
#include "terminal/ui/link_view.h"
#include "terminal/ui/win32_platform.h"

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

struct WindowTerminal {
  WindowTerminal()
      : link(linkView, Win32Host()),
        output(link),
        log(link),
        terminal(Win32Roles(output, log)),
        keyboardOutput(terminal),
        tracedOutput(keyboardOutput, link.trace.Writer()),
        keyboard(tracedOutput) {}
  WindowLinkView linkView;
  LinkSession link;
  SerialOutput output;  // the terminal's device role, on the link
  FileCommLog log;      // the terminal's log role, on the link
  Terminal terminal;
  ViewState view{};
  TerminalKeyboardOutput keyboardOutput;
  TracedKeyboardOutput tracedOutput;  // the user's input in the trace
  Keyboard keyboard;
};

// 1 on success, -1 on failure (nothing is left behind then).
int CreateTerminalState(HWND mainWindow);

// Closes an open connection and the log, then frees the record, the link's
// events and the canvases. 1, or 0 when there is no record.
int DestroyTerminalState(HWND mainWindow);
