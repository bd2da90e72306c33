#include "cli/posix_log_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

bool PosixLogFile::Open(const std::string& path) {
  path_ = path;
  fd_ = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  return fd_ >= 0 || Fail(errno);
}

// A write that puts nothing is a full device.
bool PosixLogFile::Append(const std::uint8_t* bytes, std::size_t length) {
  while (length > 0) {
    const ssize_t put = write(fd_, bytes, length);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return Fail(put < 0 ? errno : ENOSPC);
    bytes += put;
    length -= std::size_t(put);
  }
  return true;
}

std::int64_t PosixLogFile::End() { return std::int64_t(lseek(fd_, 0, SEEK_END)); }

void PosixLogFile::Close() {
  close(fd_);
  fd_ = -1;
}

LogClock PosixLogFile::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return LogClock{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
                  local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string PosixLogFile::FailureText(LogResult result) const {
  return LogFailureText(result, path_, reason_);
}

bool PosixLogFile::Fail(int error) {
  reason_ = std::strerror(error);
  return false;
}
