#include "terminal/ui/window_handles.h"

HACCEL accelTable;
HWND terminalWindow;
HWND statusBar;
HWND tabControl;

TerminalState* RecordOf(HWND window) {
  if (window == nullptr) return nullptr;
  return reinterpret_cast<TerminalState*>(GetWindowLongPtrW(window, 0));
}

void SetRecordOf(HWND window, TerminalState* state) {
  if (window != nullptr) SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(state));
}
