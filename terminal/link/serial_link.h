// The serial link on Windows: the device's lifecycle, the watcher thread, the
// receive pump and the single-byte transmitter.
//
// Everything here runs on the user-interface thread except CommWatcher. The
// record is found through window slot 0 (platform->StateOf); every operation
// taking a window accepts the main window or the terminal window.
#pragma once

#include <windows.h>

#include <cstdint>

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

// Stops the watcher, drops DTR, purges, closes the device, enables command 256
// and writes the end stamp. Always returns in bounded time; the result is
// false only when the end stamp could not be written.
bool CloseConnection(HWND mainWindow);

// The watcher thread body; its argument is the TerminalState.
DWORD WINAPI CommWatcher(LPVOID state);

// The terminal window's handler of WM_COMMNOTIFY (wParam and lParam unused).
// 1 when it finished normally, 0 without a record or connection.
int ReceivePump(HWND window, WPARAM wParam, LPARAM lParam);

// Reads at most `maximum` bytes, always an even count, only what is already
// waiting: 0 when nothing (or a single odd byte) waits, PortClosed
// (platform.h) when not connected or the device has gone.
int ReadBlock(HWND window, std::uint8_t* buffer, int maximum);

// Writes one byte (the low 8 bits); 1, or 0 without a record.
int WriteByte(HWND window, int value);

// WriteByte plus local echo or the status pane 1 text; 0 when not connected.
int TransmitByte(HWND window, int value);

// Discards everything queued in both directions of the open device.
void PurgePort(HWND window);
