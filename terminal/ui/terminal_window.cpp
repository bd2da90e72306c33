#include "terminal/input/input_win32.h"
#include "terminal/link/serial_link.h"
#include "terminal/ui/main_window.h"
#include "terminal/ui/views.h"

LRESULT CALLBACK TerminalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      SizeTerminal(window, HIWORD(lParam), LOWORD(lParam));
      return 0;
    case WM_SETFOCUS:
      ReadLockModesFromKeyboard();
      ShowTerminalCaret(window);
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
      ReceivePump(window, wParam, lParam);
      return 0;
    case WM_KEYDOWN:
      return TerminalKeyDown(window, wParam, lParam);
    case WM_KEYUP:
      return TerminalKeyUp(window, wParam, lParam);
    case WM_IME_COMPOSITION:
      return TerminalImeComposition(window, wParam, lParam);
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
