// The About box (template 100) and the debug information of the "その他" menu.
#pragma once

#include <windows.h>

// Runs the About box modally, owned by mainWindow (command 263). It ends only
// by its OK button (or Enter); Esc and the close box leave it open.
void RunAboutBox(HINSTANCE instance, HWND mainWindow);

// The About box's dialog procedure, for callers that run template 100 themselves.
INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows "Key_Dataの大きさ：8" in a message box owned by the terminal window (command 264).
void ShowDebugInformation(HWND terminalWindow);
