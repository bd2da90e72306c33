// The serial link on Windows: the device's lifecycle, the watcher thread, the
// receive pump and the device's output.
//
// Everything here runs on the user-interface thread except CommWatcher. Each
// operation works on the session it is given (link_session.h).
#pragma once

#include <windows.h>

#include <cstdint>

#include "terminal/model/roles.h"

// The notification the watcher posts to the terminal window; the terminal
// window procedure hands it to ReceivePump.
#ifndef WM_COMMNOTIFY
#define WM_COMMNOTIFY 0x0044
#endif
constexpr LPARAM CommNotifyEvent = 4;  // CN_EVENT

struct LinkSession;

// Opens "\\.\COMn" (or "\\.\TELNET") from portNumber, configures it, writes the
// start stamp, resets the screen and starts the watcher; the view is told
// Connected. False when the device could not be opened or configured;
// nothing changed then.
bool OpenConnection(LinkSession& session);

// Applies baudRate, byteSize, parity, stopBits and flowControl to the open device.
bool ApplyLineSettings(LinkSession& session);

// Stops the watcher, closes the line (serial_line.h: output drained within a
// bound, DTR dropped, purged, closed) and writes the end stamp; the view is
// told Closed. Always returns in bounded time; the result is false only when
// the end stamp could not be written.
bool CloseConnection(LinkSession& session);

// The watcher thread body; its argument is the session it watches.
DWORD WINAPI CommWatcher(LPVOID session);

// The terminal window's handler of WM_COMMNOTIFY: pushes everything waiting
// into the terminal. 1 when it finished normally, 0 without a terminal or
// connection.
int ReceivePump(LinkSession& session);

// Reads at most `maximum` bytes, always an even count, only what is already
// waiting: 0 when nothing (or a single odd byte) waits, ClosedPort when not
// connected or the device has gone.
constexpr int ClosedPort = -1;
int ReadBlock(LinkSession& session, std::uint8_t* buffer, int maximum);

// Writes one byte (the low 8 bits) to the open device.
void WriteByte(LinkSession& session, int value);

// The device's output for the terminal: a byte goes to the open device unless
// it has gone; a purge discards what both directions hold.
struct SerialOutput final : DeviceOutput {
  explicit SerialOutput(LinkSession& session) : session_(session) {}
  bool Transmit(std::uint8_t value) override;
  void Purge() override;

 private:
  LinkSession& session_;
};
