#include "tools/cli/comm_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

// The 24-character time text of the local time now.
std::string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const LogClock clock{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
  return LogTimeText(clock);
}

bool WriteWhole(CommLogFile& log, const void* bytes, std::size_t length, std::string& error) {
  if (log.fd < 0) return true;
  const char* next = static_cast<const char*>(bytes);
  while (length > 0) {
    const ssize_t put = write(log.fd, next, length);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      error = "cannot write the log " + log.path + ": " + std::strerror(put < 0 ? errno : ENOSPC);
      CloseCommLog(log);
      return false;
    }
    next += put;
    length -= std::size_t(put);
  }
  return true;
}

}  // namespace

bool OpenCommLog(const std::string& path, CommLogFile& log, std::string& error) {
  log.path = path;
  log.fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (log.fd < 0) {
    error = "cannot open the log " + path + ": " + std::strerror(errno);
    return false;
  }
  const std::string header = HeaderLine(LocalTimeText());
  return WriteWhole(log, header.data(), header.size(), error);
}

bool WriteLogStamp(CommLogFile& log, StampKind kind, std::string& error) {
  const std::string stamp = StampLine(kind, LocalTimeText());
  return WriteWhole(log, stamp.data(), stamp.size(), error);
}

bool AppendToCommLog(CommLogFile& log, const std::uint8_t* bytes, std::size_t length, std::string& error) {
  return WriteWhole(log, bytes, length, error);
}

void CloseCommLog(CommLogFile& log) {
  if (log.fd >= 0) close(log.fd);
  log.fd = -1;
}
