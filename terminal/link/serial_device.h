// The serial device as the connection sees it: opened, configured, read,
// written and closed the same way on every platform. Two implementations:
// Win32SerialDevice (the Win32 comm API, overlapped, for the window) and
// TermiosSerialDevice (POSIX terminal attributes, for talvorix-cli); the tests
// put a fake behind it.
//
// The order of the operations on a connect and a close is not the device's
// business: OpenLine and CloseLine (serial_line.h) hold it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "terminal/link/line_settings.h"

// What a read found.
enum class DeviceRead { Data, Nothing, Gone };

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Opens the device, held exclusively. False, with `error` naming the device
  // and giving the system's reason; nothing is open then.
  virtual bool Open(std::string& error) = 0;
  // Puts the line settings on the open line. False, with `error`, when the
  // device refuses them.
  virtual bool Configure(const LineSettings& settings, std::string& error) = 0;
  // Discards what the device has received and not been read, and what it
  // holds to send where the platform can drop that without taking back bytes
  // the other end may already have.
  virtual void Purge() = 0;
  virtual void SetDtr(bool raised) = 0;
  // Waits at most `waitMs` until the bytes written have left, as far as the
  // platform tells.
  virtual void Drain(int waitMs) = 0;
  // Closes the device; nothing when it is not open.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // Takes what is waiting, at most `capacity` bytes, without waiting. Gone
  // when the device has vanished (a USB adapter pulled out, the other end of a
  // pseudo-terminal closed); `error` then says why.
  virtual DeviceRead Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error) = 0;
  // Writes the bytes, waiting at most `waitMs` for the device to take them (a
  // line held back by flow control). False, with `error`, when they could not
  // all be written in time or the device has gone.
  virtual bool Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) = 0;
  // The line errors (LineError* bits of link_texts.h) the device has seen
  // since it was last asked, cleared by asking. A device whose platform
  // reports none (POSIX termios) has none.
  virtual std::uint32_t TakeLineErrors() { return 0; }
};
