// Winsock before windows.h, which would otherwise bring the old Winsock in.
#include "terminal/link/socket_shim.h"

#include <windows.h>

// Winsock is started once and left running until the program ends.
bool StartSockets(std::string& error) {
  static const int started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
  }();
  if (started != 0) error = "cannot start Winsock: " + SocketErrorText(started);
  return started == 0;
}

SocketHandle OpenStreamSocket(const addrinfo& address) {
  SocketHandle s = socket(address.ai_family, SOCK_STREAM, address.ai_protocol);
  u_long nonBlocking = 1;
  const BOOL on = TRUE;
  if (s != NoSocket) setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  if (s != NoSocket && ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
    closesocket(s);
    return NoSocket;
  }
  return s;
}

void CloseSocket(SocketHandle socket) { closesocket(socket); }

bool BeginConnect(SocketHandle socket, const addrinfo& address) {
  return connect(socket, address.ai_addr, int(address.ai_addrlen)) == 0 || WSAGetLastError() == WSAEWOULDBLOCK;
}

int ConnectResult(SocketHandle socket) {
  int error = 0;
  int length = sizeof error;
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
    return WSAGetLastError();
  }
  return error;
}

// A failed connect is not writable on Winsock but has an exception: POLLOUT
// reports both through WSAPoll's POLLERR.
bool AwaitSocket(SocketHandle socket, bool writable, int waitMs) {
  WSAPOLLFD p{socket, short(writable ? POLLOUT : POLLRDNORM), 0};
  return WSAPoll(&p, 1, waitMs) > 0;
}

namespace {

SocketIo Outcome(int count, std::size_t& done) {
  done = count > 0 ? std::size_t(count) : 0;
  if (count > 0) return SocketIo::Done;
  if (count == 0) return SocketIo::Closed;
  return WSAGetLastError() == WSAEWOULDBLOCK ? SocketIo::WouldBlock : SocketIo::Failed;
}

// One call moves at most this much: Winsock counts in int.
int Chunk(std::size_t length) { return length > 0x40000000 ? 0x40000000 : int(length); }

}  // namespace

SocketIo SendSome(SocketHandle socket, const std::uint8_t* bytes, std::size_t length, std::size_t& sent) {
  const SocketIo io = Outcome(send(socket, reinterpret_cast<const char*>(bytes), Chunk(length), 0), sent);
  return io == SocketIo::Closed ? SocketIo::WouldBlock : io;
}

SocketIo ReceiveSome(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) {
  return Outcome(recv(socket, reinterpret_cast<char*>(buffer), Chunk(capacity), 0), got);
}

int LastSocketError() { return WSAGetLastError(); }

// The system's text, without its line end.
std::string SocketErrorText(int error) {
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, DWORD(error), 0, text,
                 sizeof text, nullptr);
  std::string reason(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) reason.pop_back();
  return reason.empty() ? "error " + std::to_string(error) : reason;
}
