// Line settings as POSIX terminal attributes.
#pragma once

#include <termios.h>

#include <cstdint>
#include <string>

#include "terminal/link/line_settings.h"

// The speed code of the standard interface for a speed, or false for a speed
// that only the kernel's arbitrary-speed interface sets.
bool StandardSpeedCode(std::uint32_t bitsPerSecond, speed_t& code);

// Makes `attributes` a raw binary line with the settings: no echo, no line
// editing, no character translation, reads that return at once, the receiver
// on, modem lines ignored for opening, DTR dropped on the last close. A speed
// without a standard code is left at B38400 for the arbitrary-speed interface
// to replace. False, with `error`, for what this system cannot set (mark or
// space parity, DTR/DSR flow control where the kernel lacks them).
bool FillTermios(const LineSettings& settings, termios& attributes, std::string& error);
