// The window's communication log "Talvorix.log" (linkSession.connection's): opened once
// for the whole run, only ever appended to. Each operation that fails shows
// its message box here ("ログファイルを作成する事が出来ない！！" when the file
// cannot be opened, "ログファイルに書き込む事が出来ない！！" once when a write
// fails and closes the log).
#pragma once

#include <cstdint>

#include "terminal/link/log_format.h"
#include "terminal/link/log_writer.h"
#include "terminal/model/roles.h"

// Opens (or creates) the log and appends the header line; `fileName` nullptr
// means "Talvorix.log" in the current directory. Nothing is done when it is
// already open. False when it could not be opened or written.
bool OpenLog(const char* fileName = nullptr);

// Shows the message of a failed log operation.
void ShowLogFailure(LogResult result);

// The log as the terminal's log role.
struct FileCommLog final : CommLog {
  bool Append(const std::uint8_t* bytes, int length) override;
};

// Closes the log if it is open (main window destruction).
void CloseLog();
