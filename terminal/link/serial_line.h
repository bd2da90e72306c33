// The one way a connection opens and closes its serial line, for the window
// and talvorix-cli alike.
//
// Open: the device opened, what it held purged, the line settings applied,
// DTR raised. The purge throws away what the driver took in before the line
// had its settings (bytes received at whatever speed the port had before, or
// left queued by an earlier user of the port). It comes before the settings,
// and nothing after them purges, so that everything the device sends from the
// moment the line is configured (a boot banner sent the instant a
// reconnecting terminal configures the line) is kept.
//
// Close: what was written drained within CloseDrainMs, DTR dropped, what
// arrived unread discarded, the device closed. It returns in bounded time.
#pragma once

#include <string>

#include "terminal/link/line_settings.h"
#include "terminal/link/serial_device.h"

// How long a close waits for written bytes to leave (a line held back by flow
// control may never take them).
constexpr int CloseDrainMs = 1000;

// False, with `error`, when the device cannot be opened or refuses the
// settings; it is closed again then.
bool OpenLine(SerialDevice& device, const LineSettings& settings, std::string& error);

// Nothing when the device is not open.
void CloseLine(SerialDevice& device);
