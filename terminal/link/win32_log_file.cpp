#include "terminal/link/win32_log_file.h"

#include "terminal/link/win32_error_text.h"

namespace {

bool MoveTo(HANDLE file, std::int64_t offset, DWORD from, std::int64_t* position = nullptr) {
  LARGE_INTEGER distance{};
  distance.QuadPart = offset;
  LARGE_INTEGER reached{};
  if (!SetFilePointerEx(file, distance, &reached, from)) return false;
  if (position != nullptr) *position = reached.QuadPart;
  return true;
}

}  // namespace

bool Win32LogFile::Open(const std::string& name) {
  path_ = name;
  handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Fail();
  MoveTo(handle, 0, FILE_END);
  return true;
}

bool Win32LogFile::Append(const std::uint8_t* bytes, std::size_t length) {
  DWORD written = 0;
  if (!WriteFile(handle, bytes, DWORD(length), &written, nullptr)) return Fail();
  if (written == length) return true;
  // A write that puts less is a full disk.
  SetLastError(ERROR_DISK_FULL);
  return Fail();
}

std::int64_t Win32LogFile::End() {
  std::int64_t end = 0;
  MoveTo(handle, 0, FILE_END, &end);
  return end;
}

void Win32LogFile::Close() {
  CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
}

LogClock Win32LogFile::LocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LogClock{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
}

bool Win32LogFile::ReadAt(std::int64_t offset, std::uint8_t* buffer, std::uint32_t count) {
  DWORD got = 0;
  const bool read = MoveTo(handle, offset, FILE_BEGIN) && ReadFile(handle, buffer, count, &got, nullptr) &&
                    got == count;
  MoveTo(handle, 0, FILE_END);
  return read;
}

std::string Win32LogFile::FailureText(LogResult result) const {
  return LogFailureText(result, path_, Win32ErrorText(failure_));
}

bool Win32LogFile::Fail() {
  failure_ = GetLastError();
  return false;
}
