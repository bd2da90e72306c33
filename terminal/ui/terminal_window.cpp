#include "terminal/input/input_win32.h"
#include "terminal/ui/main_window.h"
#include "terminal/ui/window_terminal.h"
#include "terminal/ui/views.h"
#include "terminal/ui/window_handles.h"

namespace {

// The keyboard messages of a window without a record (during teardown) get
// the default handling.
LRESULT KeyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowTerminal* record = RecordOf(window);
  if (record == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN: return TerminalKeyDown(window, record->keyboard, wParam, lParam);
    case WM_KEYUP: return TerminalKeyUp(window, record->keyboard.Key_Data, wParam, lParam);
    default: return TerminalImeComposition(window, record->keyboard, wParam, lParam);
  }
}

// Notifications still queued when the record has gone find nothing to pump.
void PumpReceived(HWND window) {
  WindowTerminal* record = RecordOf(window);
  if (record != nullptr) ReceivePump(record->link);
}

void TakeFocus(HWND window) {
  WindowTerminal* record = RecordOf(window);
  if (record != nullptr) ReadLockModesFromKeyboard(record->keyboard.Key_Data);
  ShowTerminalCaret(window);
}

}  // namespace

LRESULT CALLBACK TerminalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      SizeTerminal(window, HIWORD(lParam), LOWORD(lParam));
      return 0;
    case WM_SETFOCUS:
      TakeFocus(window);
      return 0;
    case WM_KILLFOCUS:
      HideTerminalCaret(window);
      return 0;
    case WM_PAINT:
      // Without a record (during teardown) the default handler still
      // validates the window, so no WM_PAINT comes back over and over.
      if (PaintTerminal(window) == 0) return DefWindowProcW(window, message, wParam, lParam);
      return 0;
    case WM_COMMNOTIFY:
      PumpReceived(window);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_IME_COMPOSITION:
      return KeyMessage(window, message, wParam, lParam);
    case WM_HSCROLL:
      ScrollHorizontal(window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_VSCROLL:
      ScrollVertical(window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
