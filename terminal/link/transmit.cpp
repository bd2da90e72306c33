#include <windows.h>

#include "terminal/interpreter/interpreter.h"
#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/serial_link.h"

namespace {

constexpr DWORD WriteWaitMs = 1000;
constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

}  // namespace

int WriteByte(HWND window, int value) {
  TerminalState* state = LinkState(window);
  if (state == nullptr) return 0;
  HANDLE port = HANDLE(state->portHandle);
  const std::uint8_t data = std::uint8_t(value);
  RestartOverlapped(state->writeOverlapped);
  OVERLAPPED* overlapped = AsOverlapped(state->writeOverlapped);
  DWORD written = 0;
  if (WriteFile(port, &data, 1, &written, overlapped) || GetLastError() != ERROR_IO_PENDING) return 1;
  // A write still pending after a second is given up: cancelled, and its end
  // awaited, because the byte and the block live only for this call.
  if (WaitForSingleObject(overlapped->hEvent, WriteWaitMs) != WAIT_OBJECT_0) CancelIo(port);
  GetOverlappedResult(port, overlapped, &written, TRUE);
  return 1;
}

int TransmitByte(HWND window, int value) {
  TerminalState* state = LinkState(window);
  // A device that has gone is not written to while its disconnect is on its way:
  // each write would only fail, or hang for its second.
  if (state == nullptr || !state->connected || linkSession.deviceLost) return 0;
  WriteByte(window, value);
  if (state->localEcho) {
    // The interpreter gathers the two bytes of a word itself; an echoed word
    // never reads from the device.
    const std::uint8_t echoed = std::uint8_t(value);
    InterpretReceived(window, &echoed, 1);
  } else {
    platform->SetStatusText(TransmittedPane, TransmittedByteText(value), TextCoding::Utf8);
  }
  return 1;
}

void PurgePort(HWND window) {
  TerminalState* state = LinkState(window);
  if (state == nullptr || !state->connected) return;
  PurgeComm(HANDLE(state->portHandle), PurgeAll);
  // What was taken from the device but not yet read is discarded with it.
  EmptyStage(linkSession.received);
}
