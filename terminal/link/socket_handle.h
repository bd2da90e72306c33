// A socket as the network devices hold it, without the system's socket
// headers (Winsock's must come before windows.h, which the window's headers
// include first): Winsock's SOCKET, or a POSIX file descriptor.
#pragma once

#include <cstdint>

#ifdef _WIN32
using SocketHandle = std::uintptr_t;
constexpr SocketHandle NoSocket = ~SocketHandle(0);
#else
using SocketHandle = int;
constexpr SocketHandle NoSocket = -1;
#endif
