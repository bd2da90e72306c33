// The main window's menu commands (256-264) and their accelerators.
#pragma once

#include <windows.h>

void RunMenuCommand(HWND mainWindow, int command);

// Shows view 0 text, 1 dump or 2 graphic: selects the tab and repaints.
void ShowView(int tab);
