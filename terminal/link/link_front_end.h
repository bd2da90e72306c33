// The window's side of its connection (connection.h): what the window's link
// does when the line opens and closes (the terminal, the watcher thread, the
// pump, the waits of automatic reconnect), and the window's view of it
// (LinkView), which does everything on screen.
#pragma once

#include <string>

#include "terminal/link/connection.h"

struct LinkSession;

// What the window shows of its link: menus, status panes, focus, repaints and
// message boxes live in terminal/ui, which implements this. Told on the
// user-interface thread.
class LinkView {
 public:
  virtual ~LinkView() = default;
  // Every event of the connection, with its detail (connection.h).
  virtual void Show(ConnectionEvent event, const std::string& detail) = 0;
  // The terminal window takes the keyboard focus while connected and gives
  // it up at the close.
  virtual void Focus(bool held) = 0;
  // Paints whatever is invalid in the program's windows now, without waiting
  // for the message loop (the pump's paced repaint during a flood).
  virtual void RepaintNow() = 0;
  // The device vanished without automatic reconnect: the line is to be
  // closed as the disconnect command closes it, and the user told.
  virtual void DeviceLost() = 0;
  // The log could not be opened or written; it is closed (log_writer.h).
  virtual void LogFailed(LogResult result) = 0;
};

class LinkFrontEnd final : public ConnectionFrontEnd {
 public:
  explicit LinkFrontEnd(LinkSession& session) : session_(session) {}
  bool SessionStarted() override;
  void SessionEnding() override;
  void Notice(ConnectionEvent event, const std::string& detail) override;
  void LogFailed(LogResult result) override;

 private:
  LinkSession& session_;
};
