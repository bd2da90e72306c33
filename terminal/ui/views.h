// The terminal window's three views (text screen, dump of the received data,
// graphic plane), its scroll bars and its caret. Each handler returns 1, or 0
// when the window's slot holds no record (then nothing happens).
#pragma once

#include <windows.h>

int SizeTerminal(HWND window, unsigned height, unsigned width);
int ScrollVertical(HWND window, unsigned code, unsigned thumb);
int ScrollHorizontal(HWND window, unsigned code, unsigned thumb);
int PaintTerminal(HWND window);
int ShowTerminalCaret(HWND window);
int HideTerminalCaret(HWND window);
int PlaceTerminalCaret(HWND window);
// Invalidates all of the terminal window, unless a paint of all of it is
// already coming.
int InvalidateTerminalView(HWND window);
// Places the caret at the cursor, unless a coming paint will place it.
int FollowCursor(HWND window);

// Draws the dump view on a paint context (the terminal window's WM_PAINT).
void PaintDump(HWND window, HDC dc);
