// How the main window shows its connection: the connect and disconnect menu
// items, the check item "自動再接続(&R)" of the 動作 menu, the status panes
// during a wait for a lost device, the line errors, the terminal window's
// focus, the pump's repaints and the link's message boxes.
#pragma once

#include <windows.h>

#include <string>

#include "terminal/link/link_front_end.h"

class WindowLinkView final : public LinkView {
 public:
  void Show(ConnectionEvent event, const std::string& detail) override;
  void Focus(bool held) override;
  void RepaintNow() override;
  void DeviceLost() override;
  void LogFailed(LogResult result) override;
};

// At the main window's creation: automatic reconnect on, its item checked.
void StartAutoReconnectItem(HWND mainWindow, LinkSession& session);

// The item's command: on becomes off (a wait stops) and off on.
void ToggleAutoReconnectItem(HWND mainWindow, LinkSession& session);
