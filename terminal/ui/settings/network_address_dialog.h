// The small dialog that names a network port: its kind (RFC 2217, or raw
// TCP) and HOST:PORT. The line settings dialog opens it on OK when the last
// entry of its port list is chosen (not on the choice itself: moving through
// the list with the arrow keys passes the entry).
#pragma once

#include <windows.h>

#include <optional>

#include "terminal/link/network_port.h"

// Shows `port` (or an empty address) and, on OK, replaces it with the port
// entered; an address that does not parse is told and the dialog stays. False
// when cancelled; `port` is unchanged then.
bool RunNetworkAddressDialog(HWND owner, std::optional<NetworkPort>& port);
