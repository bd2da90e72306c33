// The main window: status bar, tab control with the terminal window inside,
// the menu commands, the layout and the question before quitting.
#pragma once

#include <windows.h>

extern const wchar_t* const MainClassName;      // "TALVORIXClass"
extern const wchar_t* const TerminalClassName;  // "TALVORIXChildClass"

// Registers both window classes; false when one registration fails.
bool RegisterWindowClasses(HINSTANCE instance);

// Creates the tab control and the terminal window inside it: 0, or -1 on failure.
int CreateTabsAndTerminal(HWND mainWindow);

// Lays a window out again for its current client size, as its WM_SIZE does
// (after a font change): the main window's children, and in any case the
// terminal window's scroll bars for the new cell size.
void RelayoutForClientSize(HWND window);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TerminalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
