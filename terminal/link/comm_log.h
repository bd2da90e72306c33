// The window's communication log "Talvorix.log" (its session's connection's):
// opened once for the whole run, only ever appended to, closed by EndLink.
// "ログファイルを作成する事が出来ない！！" when the file cannot be opened is
// told to the window's view (LinkView::LogFailed); a write of received bytes
// runs inside Receive, so its failure ("ログファイルに書き込む事が出来ない！！",
// once: it closes the log) is told to the host, which shows it once Receive
// has returned.
#pragma once

#include <cstdint>

#include "terminal/model/roles.h"

struct LinkSession;

// Opens (or creates) the log and appends the header line; `fileName` nullptr
// means "Talvorix.log" in the current directory. Nothing is done when it is
// already open. False when it could not be opened or written.
bool OpenLog(LinkSession& session, const char* fileName = nullptr);

// The log as the terminal's log role.
struct FileCommLog final : CommLog {
  explicit FileCommLog(LinkSession& session) : session_(session) {}
  bool Append(const std::uint8_t* bytes, int length) override;

 private:
  LinkSession& session_;
};
