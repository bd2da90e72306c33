// A serial device opened the POSIX way, as the window opens its COM port:
// exclusively, configured with the line settings, DTR raised, both directions
// purged; closed with what was written sent, DTR dropped and what arrived
// unread discarded.
//
// Bytes written are never discarded: on a pseudo-terminal, discarding the
// output queue takes back what the other end has not read yet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "terminal/link/line_settings.h"

struct SerialPort {
  int fd = -1;
  std::string path;
};

// Opens and configures the device. False, with `error` giving the device and
// the system's reason, when it cannot be opened or refuses the settings; the
// port is then closed.
bool OpenSerialPort(const std::string& path, const LineSettings& settings, SerialPort& port,
                    std::string& error);

void CloseSerialPort(SerialPort& port);

// Discards what has arrived and was not read.
void DiscardArrived(const SerialPort& port);

// What a read found.
enum class PortRead { Data, Nothing, Gone };

// Takes what is waiting, at most `capacity` bytes, without waiting. Gone when
// the device has vanished (a USB adapter pulled out, the other end of a
// pseudo-terminal closed); `error` then says why.
PortRead ReadSerialPort(const SerialPort& port, std::uint8_t* buffer, std::size_t capacity,
                        std::size_t& got, std::string& error);

// Writes the bytes, waiting at most `waitMs` for the device to take them (a
// line held back by flow control). False, with `error`, when they could not
// all be written in time or the device has gone.
bool WriteSerialPort(const SerialPort& port, const std::uint8_t* bytes, std::size_t length, int waitMs,
                     std::string& error);

// Waits at most `waitMs` until something can be read or the device has gone.
void AwaitSerialPort(const SerialPort& port, int waitMs);
