// The communication log "Talvorix.log" on Windows: opened once for the whole
// run, only ever appended to; the dump view reads it back through logFile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "terminal/link/log_format.h"
#include "terminal/model/roles.h"

// Process-wide log state. logFile is meaningful only while logOpen is 1; once a
// write has failed the file is closed, logOpen is 0 and nobody may use the
// handle again.
extern HANDLE logFile;
extern LONG logOpen;
extern LONG connectionDataStart;  // file position just after the latest start stamp

// Opens (or creates) the log and appends the header line. `fileName` nullptr
// means "Talvorix.log" in the current directory. Returns the handle (also
// stored in logFile), INVALID_HANDLE_VALUE after a failure (its message has
// been shown), or nullptr when the log is already open.
HANDLE OpenLog(const char* fileName = nullptr);

// Appends the start or end stamp. False when it could not be written: the
// message has been shown and the log closed.
bool WriteStamp(StampKind kind);

// The 24-character local time text of now, e.g. "Sun Dec 06 15:20:17 2026".
std::string LogTimeText();

// Appends received bytes. False when the write failed: the failure shows
// "ログファイルに書き込む事が出来ない！！" once and closes the log. Once closed,
// appends are skipped and count as written.
bool AppendToLog(const std::uint8_t* bytes, int length);

// The log as the terminal's log role.
struct FileCommLog final : CommLog {
  bool Append(const std::uint8_t* bytes, int length) override { return AppendToLog(bytes, length); }
};

// Closes the log if it is open (main window destruction).
void CloseLog();
