#include "terminal/link/network_connect.h"

#include <algorithm>
#include <cstdint>

#include "terminal/link/monotonic_clock.h"

namespace {

bool Resolve(const NetworkPort& port, addrinfo*& found, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  const int result = getaddrinfo(port.host.c_str(), port.port.c_str(), &hints, &found);
  if (result != 0) error = "cannot resolve " + port.host + ": " + gai_strerror(result);
  return result == 0;
}

// Waits for the connect under way, a slice at a time.
bool AwaitConnect(SocketHandle socket, std::uint64_t deadline, const std::function<bool()>& cancelled,
                  std::string& error) {
  for (;;) {
    if (cancelled()) {
      error = "the connect was cancelled";
      return false;
    }
    const std::uint64_t now = MonotonicMs();
    if (now >= deadline) {
      error = "the host did not answer in time";
      return false;
    }
    if (!AwaitSocket(socket, true, int(std::min<std::uint64_t>(deadline - now, ConnectSliceMs)))) continue;
    const int result = ConnectResult(socket);
    if (result != 0) error = SocketErrorText(result);
    return result == 0;
  }
}

SocketHandle TryAddress(const addrinfo& address, std::uint64_t deadline, const std::function<bool()>& cancelled,
                        std::string& error) {
  const SocketHandle socket = OpenStreamSocket(address);
  if (socket == NoSocket) {
    error = SocketErrorText(LastSocketError());
    return NoSocket;
  }
  if (!BeginConnect(socket, address)) {
    error = SocketErrorText(LastSocketError());
  } else if (AwaitConnect(socket, deadline, cancelled, error)) {
    return socket;
  }
  CloseSocket(socket);
  return NoSocket;
}

}  // namespace

SocketHandle ConnectWithin(const NetworkPort& port, int waitMs, const std::function<bool()>& cancelled,
                           std::string& error) {
  addrinfo* found = nullptr;
  if (!StartSockets(error) || !Resolve(port, found, error)) return NoSocket;
  const std::uint64_t deadline = MonotonicMs() + std::uint64_t(waitMs);
  SocketHandle socket = NoSocket;
  for (const addrinfo* address = found; address != nullptr && socket == NoSocket; address = address->ai_next) {
    socket = TryAddress(*address, deadline, cancelled, error);
  }
  freeaddrinfo(found);
  return socket;
}
