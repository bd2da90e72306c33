// The serial link on Windows: the device's lifecycle, the watcher thread, the
// receive pump and the device's output.
//
// Everything here runs on the user-interface thread except CommWatcher. The
// link works on the one session (link_session.h); every operation taking a
// window accepts the main window or the terminal window.
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

// Opens "\\.\COMn" (or "\\.\TELNET") from portNumber, configures it, writes the
// start stamp, resets the screen, starts the watcher and enables command 257.
// False when the device could not be opened or configured; nothing changed then.
bool OpenConnection(HWND mainWindow);

// OpenConnection without the wait cursor, for the attempts the user did not
// ask for (automatic reconnect tries ten times a second).
bool OpenConnectionQuietly(HWND mainWindow);

// Applies baudRate, byteSize, parity, stopBits and flowControl to the open device.
bool ApplyLineSettings(HWND mainWindow);

// Stops the watcher, closes the line (serial_line.h: output drained within a
// bound, DTR dropped, purged, closed), enables command 256
// and writes the end stamp. Always returns in bounded time; the result is
// false only when the end stamp could not be written.
bool CloseConnection(HWND mainWindow);

// The watcher thread body (its argument is unused: it watches linkSession).
DWORD WINAPI CommWatcher(LPVOID unused);

// The terminal window's handler of WM_COMMNOTIFY (wParam and lParam unused):
// pushes everything waiting into the terminal. 1 when it finished normally,
// 0 without a terminal or connection.
int ReceivePump(HWND window, WPARAM wParam, LPARAM lParam);

// Reads at most `maximum` bytes, always an even count, only what is already
// waiting: 0 when nothing (or a single odd byte) waits, ClosedPort when not
// connected or the device has gone.
constexpr int ClosedPort = -1;
int ReadBlock(std::uint8_t* buffer, int maximum);

// Writes one byte (the low 8 bits) to the open device.
void WriteByte(int value);

// The device's output for the terminal: a byte goes to the open device unless
// it has gone; a purge discards what both directions hold.
struct SerialOutput final : DeviceOutput {
  bool Transmit(std::uint8_t value) override;
  void Purge() override;
};
