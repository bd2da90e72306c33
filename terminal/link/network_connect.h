// A TCP connection made within a bound: the host resolved (names, IPv4, IPv6),
// each of its addresses tried in turn until one answers, the whole attempt
// given up when the bound has passed or the caller cancels it.
#pragma once

#include <functional>
#include <string>

#include "terminal/link/network_port.h"
#include "terminal/link/socket_shim.h"

// How long a connect may take: a lab host that has gone away does not answer,
// and a few seconds tell that from a slow network.
constexpr int ConnectWithinMs = 4000;
// How often a connect under way looks at its cancel request.
constexpr int ConnectSliceMs = 20;

// The connected, non-blocking socket; NoSocket, with the system's reason in
// `error`, when no address answered in time, or when `cancelled` returned
// true (it is asked every ConnectSliceMs).
SocketHandle ConnectWithin(const NetworkPort& port, int waitMs, const std::function<bool()>& cancelled,
                           std::string& error);
