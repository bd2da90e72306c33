#include "terminal/link/comm_log.h"

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/log_format.h"

HANDLE logFile = nullptr;
LONG logOpen = 0;
LONG connectionDataStart = 0;

namespace {

bool WriteWhole(const void* bytes, DWORD length) {
  DWORD written = 0;
  return WriteFile(logFile, bytes, length, &written, nullptr) && written == length;
}

// After a failed write the handle is closed at once and forgotten, so that no
// writer and no reader of the dump view can use it again.
void FailLog() {
  logOpen = 0;
  CloseHandle(logFile);
  logFile = INVALID_HANDLE_VALUE;
  ShowLinkMessage(LogWriteFailedText, MessageIcon::Error);
}

}  // namespace

HANDLE OpenLog(const char* fileName) {
  if (logOpen) return nullptr;
  HANDLE file = CreateFileA(fileName != nullptr ? fileName : "Talvorix.log", GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ShowLinkMessage(LogCreateFailedText, MessageIcon::Error);
    return INVALID_HANDLE_VALUE;
  }
  logFile = file;
  logOpen = 1;
  SetFilePointer(file, 0, nullptr, FILE_END);
  const std::string header = HeaderLine(LogTimeText());
  if (!WriteWhole(header.data(), DWORD(header.size()))) {
    FailLog();
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

// Once a failure has closed the log, the terminal goes on without one: stamps
// and received data are then skipped silently (the user was told once) and
// count as written, so that connecting and point-plot mode keep working.
bool WriteStamp(StampKind kind) {
  if (!logOpen) return true;
  const std::string line = StampLine(kind, LogTimeText());
  if (WriteWhole(line.data(), DWORD(line.size()))) return true;
  FailLog();
  return false;
}

std::string LogTimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LogTimeText(LogClock{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute,
                              now.wSecond});
}

bool AppendToLog(const std::uint8_t* bytes, int length) {
  if (!logOpen || length <= 0) return true;
  if (WriteWhole(bytes, DWORD(length))) return true;
  FailLog();
  return false;
}

void CloseLog() {
  if (!logOpen) return;
  logOpen = 0;
  CloseHandle(logFile);
  logFile = INVALID_HANDLE_VALUE;
}
