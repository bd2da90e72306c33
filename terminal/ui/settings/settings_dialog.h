// The line settings dialog (template 101) on Windows.
//
// Command 262 of the main window calls RunLineSettingsDialog with the record.
// The dialog only edits the record (on OK) and the font (at once, when the
// font dialog is confirmed); applying the line settings to an open device is
// left to the caller, which after the dialog, whichever way it ended, does:
//   if (state->connected && !ApplyLineSettings(session)) -> "設定できません!"
#pragma once

#include <windows.h>

#include "terminal/model/terminal_model.h"

// Runs dialog 101 modally, owned by mainWindow, on the terminal's record; a
// chosen font is applied to the terminal at once. The terminal must outlive
// the call. Always returns 1 (OK and Cancel alike), or 0 without a terminal.
INT_PTR RunLineSettingsDialog(HINSTANCE instance, HWND mainWindow, TerminalModel* model);

// The dialog procedure, for callers that run template 101 themselves with the
// record as the creation parameter (DialogBoxParamW's lParam).
INT_PTR CALLBACK LineSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
