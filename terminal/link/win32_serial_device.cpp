#include "terminal/link/win32_serial_device.h"

#include "terminal/link/control_block.h"
#include "terminal/link/win32_error_text.h"

namespace {

// What was received and not yet read is discarded; what was written is not:
// a written byte may already be on its way (under Wine the pty holds it until
// the device reads it), and clearing the output would cut the point-plot NAK
// written just before its purge, which the device then never sees whole.
constexpr DWORD PurgeReceived = PURGE_RXABORT | PURGE_RXCLEAR;
constexpr DWORD QueueBytes = 16384;
// A read that has not completed after this is cancelled.
constexpr DWORD ReadWaitMs = 1000;
constexpr DWORD DrainPollMs = 1;

// Restarts an overlapped block for a new operation, keeping its event.
void Restart(OVERLAPPED& block) {
  const HANDLE event = block.hEvent;
  block = OVERLAPPED{};
  block.hEvent = event;
}

std::string SystemReason() { return Win32ErrorText(GetLastError()); }

// Completes an overlapped operation started on `port`: waits at most
// `waitMs`, then cancels it and awaits its end, because the buffer and the
// block live on after it. What was transferred before a cancel still counts.
DWORD Complete(HANDLE port, OVERLAPPED& block, DWORD waitMs) {
  if (WaitForSingleObject(block.hEvent, waitMs) != WAIT_OBJECT_0) CancelIo(port);
  DWORD moved = 0;
  GetOverlappedResult(port, &block, &moved, TRUE);
  return moved;
}

}  // namespace

Win32SerialDevice::Win32SerialDevice(std::string name) : name_(std::move(name)) {
  for (OVERLAPPED* block : {&read_, &write_, &wait_}) block->hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

Win32SerialDevice::~Win32SerialDevice() {
  Close();
  for (HANDLE event : {read_.hEvent, write_.hEvent, wait_.hEvent}) {
    if (event != nullptr) CloseHandle(event);
  }
}

bool Win32SerialDevice::Ready() const {
  return read_.hEvent != nullptr && write_.hEvent != nullptr && wait_.hEvent != nullptr;
}

// With the interval at MAXDWORD and no totals a read returns at once with
// whatever is queued; a write gives up after five seconds.
bool Win32SerialDevice::Open(std::string& error) {
  HANDLE port = CreateFileA(name_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    error = "cannot open " + name_ + ": " + SystemReason();
    return false;
  }
  port_ = port;
  lineErrors_ = 0;
  SetCommMask(port, EV_RXCHAR);
  SetupComm(port, QueueBytes, QueueBytes);
  COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 5000};
  SetCommTimeouts(port, &timeouts);
  return true;
}

// The driver's block is read and only the fields of the line settings are
// overwritten; every other field keeps the driver's value.
bool Win32SerialDevice::Configure(const LineSettings& settings, std::string& error) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(port_, &dcb);
  const CommControlBlock block = LineControlBlock(settings);
  dcb.DCBlength = block.DCBlength;
  dcb.BaudRate = block.BaudRate;
  dcb.ByteSize = block.ByteSize;
  dcb.Parity = block.Parity;
  dcb.StopBits = block.StopBits;
  dcb.fBinary = block.fBinary;
  dcb.fParity = block.fParity;
  dcb.fOutxDsrFlow = block.fOutxDsrFlow;
  dcb.fDtrControl = block.fDtrControl;
  dcb.fOutxCtsFlow = block.fOutxCtsFlow;
  dcb.fRtsControl = block.fRtsControl;
  dcb.fOutX = block.fOutX;
  dcb.fInX = block.fInX;
  dcb.XonChar = block.XonChar;
  dcb.XoffChar = block.XoffChar;
  dcb.XonLim = block.XonLim;
  dcb.XoffLim = block.XoffLim;
  if (SetCommState(port_, &dcb)) return true;
  error = name_ + " refuses the line settings " + DescribeLineSettings(settings) + ": " + SystemReason();
  return false;
}

void Win32SerialDevice::Purge() { PurgeComm(port_, PurgeReceived); }

void Win32SerialDevice::SetDtr(bool raised) { EscapeCommFunction(port_, raised ? SETDTR : CLRDTR); }

void Win32SerialDevice::Drain(int waitMs) {
  const ULONGLONG deadline = GetTickCount64() + ULONGLONG(waitMs);
  DWORD errors = 0;
  COMSTAT status{};
  while (ClearCommError(port_, &errors, &status) && status.cbOutQue > 0 && GetTickCount64() < deadline) {
    lineErrors_ |= errors;
    Sleep(DrainPollMs);
  }
}

void Win32SerialDevice::Close() {
  if (port_ == nullptr) return;
  CloseHandle(port_);
  port_ = nullptr;
}

bool Win32SerialDevice::QueuedBytes(DWORD& queued) {
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(port_, &errors, &status)) return false;
  lineErrors_ |= errors;
  queued = status.cbInQue;
  return true;
}

// The received-character event (the mask set at Open) ends the wait; bytes
// already queued, or a device that has gone, end it at once.
void Win32SerialDevice::Await(int waitMs) {
  DWORD queued = 0;
  if (!QueuedBytes(queued) || queued > 0) return;
  Restart(wait_);
  DWORD events = 0;
  if (WaitCommEvent(port_, &events, &wait_) || GetLastError() != ERROR_IO_PENDING) return;
  Complete(port_, wait_, DWORD(waitMs));
}

// Reads only what is already queued, so that it never waits for more.
DeviceRead Win32SerialDevice::Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got,
                                   std::string& error) {
  got = 0;
  DWORD queued = 0;
  if (!QueuedBytes(queued)) {
    error = name_ + " has gone: " + SystemReason();
    return DeviceRead::Gone;
  }
  const DWORD n = queued < capacity ? queued : DWORD(capacity);
  if (n == 0) return DeviceRead::Nothing;
  Restart(read_);
  DWORD moved = 0;
  if (!ReadFile(port_, buffer, n, &moved, &read_)) {
    // Bytes were reported waiting, yet the read failed: the device has gone.
    if (GetLastError() != ERROR_IO_PENDING) {
      error = name_ + " has gone: " + SystemReason();
      return DeviceRead::Gone;
    }
    moved = Complete(port_, read_, ReadWaitMs);
  }
  got = moved;
  return got > 0 ? DeviceRead::Data : DeviceRead::Nothing;
}

bool Win32SerialDevice::Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) {
  Restart(write_);
  DWORD written = 0;
  if (!WriteFile(port_, bytes, DWORD(length), &written, &write_)) {
    if (GetLastError() != ERROR_IO_PENDING) {
      error = name_ + " has gone: " + SystemReason();
      return false;
    }
    written = Complete(port_, write_, DWORD(waitMs));
  }
  if (written == length) return true;
  error = name_ + " did not take the bytes sent within " + std::to_string(waitMs) + " ms";
  return false;
}
