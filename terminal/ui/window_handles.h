// The process-wide handles of the shell: one accelerator table and the three
// child windows of the main window.
#pragma once

#include <windows.h>

extern HACCEL accelTable;
extern HWND terminalWindow;
extern HWND statusBar;
extern HWND tabControl;

// The record held in slot 0 of the main window or the terminal window, or
// nullptr when the slot is empty.
struct WindowTerminal;
WindowTerminal* RecordOf(HWND window);
void SetRecordOf(HWND window, WindowTerminal* record);
