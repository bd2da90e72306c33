// The line settings dialog (template 101) on Windows.
//
// Command 262 of the main window calls RunLineSettingsDialog with the record.
// The dialog only edits the record (on OK) and the font (at once, when the
// font dialog is confirmed); applying the line settings to an open device is
// left to the caller, which after the dialog, whichever way it ended, does:
//   if (state->connected && !ApplyLineSettings(session)) -> "設定できません!"
#pragma once

#include <windows.h>

#include <optional>

#include "terminal/link/network_port.h"

#include "terminal/model/screen_model.h"

// What the dialog edits beside the record: the network port of the port
// list's last entry ("ネットワーク...", below TELNET), held beside portNumber,
// which keeps its meaning. `chosen`: OK took the port list (not while
// connected, when the list cannot be changed); `port` is the choice then,
// nullopt for a COM port.
struct NetworkPortEdit {
  std::optional<NetworkPort> port;
  bool chosen = false;
};

// Runs dialog 101 modally, owned by mainWindow, on the terminal's record; a
// chosen font is applied to the terminal at once. The terminal must outlive
// the call. Always returns 1 (OK and Cancel alike), or 0 without a terminal.
INT_PTR RunLineSettingsDialog(HINSTANCE instance, HWND mainWindow, ScreenModel* model,
                              NetworkPortEdit* network = nullptr);

// The dialog procedure, for callers that run template 101 themselves with the
// record as the creation parameter (DialogBoxParamW's lParam).
INT_PTR CALLBACK LineSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
