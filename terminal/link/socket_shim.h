// The few socket calls the network devices make, one spelling for BSD
// sockets and Winsock: every socket is non-blocking, and every wait is a poll
// with a limit. The resolver (getaddrinfo) is the same on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

#include <type_traits>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include "terminal/link/socket_handle.h"

#ifdef _WIN32
static_assert(std::is_same_v<SOCKET, SocketHandle> && INVALID_SOCKET == NoSocket);
#endif

// What a send or a receive did.
enum class SocketIo { Done, WouldBlock, Closed, Failed };

// Starts the socket library once for the program (Winsock); false, with
// `error`, when it cannot start.
bool StartSockets(std::string& error);
// A non-blocking stream socket for the address's family; NoSocket on failure.
// Small writes leave at once (TCP_NODELAY): the terminal sends a key report a
// byte at a time, and waiting to gather them would hold each key back for
// the peer's delayed acknowledgement.
SocketHandle OpenStreamSocket(const addrinfo& address);
void CloseSocket(SocketHandle socket);

// Starts a connect. True when it is made or under way.
bool BeginConnect(SocketHandle socket, const addrinfo& address);
// After the socket has become writable: 0 when the connect was made, else the
// system's error number.
int ConnectResult(SocketHandle socket);

// Waits at most `waitMs` for the socket to become readable (or writable).
// False when the wait ended without that.
bool AwaitSocket(SocketHandle socket, bool writable, int waitMs);

SocketIo SendSome(SocketHandle socket, const std::uint8_t* bytes, std::size_t length, std::size_t& sent);
SocketIo ReceiveSome(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity, std::size_t& got);

// The error number of the last failed call, and the system's text for one.
int LastSocketError();
std::string SocketErrorText(int error);
