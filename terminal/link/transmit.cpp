#include <windows.h>

#include "terminal/link/link_session.h"
#include "terminal/link/serial_link.h"

namespace {

constexpr DWORD WriteWaitMs = 1000;
constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

}  // namespace

void WriteByte(int value) {
  HANDLE port = linkSession.port;
  if (port == nullptr) return;
  const std::uint8_t data = std::uint8_t(value);
  OVERLAPPED& overlapped = linkSession.writeOverlapped;
  RestartOverlapped(overlapped);
  DWORD written = 0;
  if (WriteFile(port, &data, 1, &written, &overlapped) || GetLastError() != ERROR_IO_PENDING) return;
  // A write still pending after a second is given up: cancelled, and its end
  // awaited, because the byte and the block live only for this call.
  if (WaitForSingleObject(overlapped.hEvent, WriteWaitMs) != WAIT_OBJECT_0) CancelIo(port);
  GetOverlappedResult(port, &overlapped, &written, TRUE);
}

// A device that has gone is not written to while its disconnect is on its way:
// each write would only fail, or hang for its second.
bool SerialOutput::Transmit(std::uint8_t value) {
  if (linkSession.port == nullptr || linkSession.deviceLost) return false;
  WriteByte(value);
  return true;
}

void SerialOutput::Purge() {
  if (linkSession.port == nullptr) return;
  PurgeComm(linkSession.port, PurgeAll);
  // What was taken from the device but not yet pushed is discarded with it.
  EmptyStage(linkSession.received);
}
