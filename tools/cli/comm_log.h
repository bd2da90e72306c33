// The communication log, byte for byte in the window's format: a header line
// when the program starts, a start stamp before each connection's data and an
// end stamp after it, every received byte in the order it arrived. The file
// is only ever appended to, so runs of the window and of this tool can share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "terminal/link/log_format.h"

struct CommLogFile {
  int fd = -1;  // -1: no log was asked for, or it has been closed
  std::string path;
};

// Opens (or creates) the file for appending and writes the header line. False,
// with `error` giving the system's reason, when it cannot.
bool OpenCommLog(const std::string& path, CommLogFile& log, std::string& error);

// Each write is whole or fails; a failed one closes the log. Without a log
// there is nothing to write and they succeed.
bool WriteLogStamp(CommLogFile& log, StampKind kind, std::string& error);
bool AppendToCommLog(CommLogFile& log, const std::uint8_t* bytes, std::size_t length, std::string& error);

void CloseCommLog(CommLogFile& log);
