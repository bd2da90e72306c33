// The window's side of its connection (connection.h): what the window's link
// does when the line opens and closes (the terminal, the watcher thread, the
// pump, the menu items and the focus), and where it shows what happened (the
// automatic reconnect's stages, the log's message boxes).
#pragma once

#include "terminal/link/connection.h"

class LinkFrontEnd final : public ConnectionFrontEnd {
 public:
  bool SessionStarted() override;
  void SessionEnding() override;
  void Notice(ConnectionEvent event, const std::string& detail) override;
  void LogFailed(LogResult result) override;
};
