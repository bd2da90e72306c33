// How the main window shows its connection: the connect and disconnect menu
// items, the check item "自動再接続(&R)" of the 動作 menu, and the status
// panes during a wait for a lost device.
#pragma once

#include <windows.h>

// At the main window's creation: the view of the connection set, automatic
// reconnect on, its item checked.
void StartAutoReconnectItem(HWND mainWindow);

// The item's command: on becomes off (a wait stops) and off on.
void ToggleAutoReconnectItem(HWND mainWindow);
