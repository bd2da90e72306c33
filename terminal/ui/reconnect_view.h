// How the main window shows automatic reconnect: the check item
// "自動再接続(&R)" of the 動作 menu, and the status panes and menu items
// during a wait for a lost device.
#pragma once

#include <windows.h>

// At the main window's creation: automatic reconnect on, its item checked.
void StartAutoReconnectItem(HWND mainWindow);

// The item's command: on becomes off (a wait stops) and off on.
void ToggleAutoReconnectItem(HWND mainWindow);
