#include "terminal/ui/window_handles.h"

HACCEL accelTable;
HWND terminalWindow;
HWND statusBar;
HWND tabControl;

WindowTerminal* RecordOf(HWND window) {
  if (window == nullptr) return nullptr;
  return reinterpret_cast<WindowTerminal*>(GetWindowLongPtrW(window, 0));
}

void SetRecordOf(HWND window, WindowTerminal* record) {
  if (window != nullptr) SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(record));
}
