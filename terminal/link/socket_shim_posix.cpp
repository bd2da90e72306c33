#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "terminal/link/socket_shim.h"

bool StartSockets(std::string&) { return true; }

SocketHandle OpenStreamSocket(const addrinfo& address) {
  const SocketHandle s = socket(address.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
  const int on = 1;
  if (s != NoSocket) setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return s;
}

void CloseSocket(SocketHandle socket) { close(socket); }

bool BeginConnect(SocketHandle socket, const addrinfo& address) {
  return connect(socket, address.ai_addr, address.ai_addrlen) == 0 || errno == EINPROGRESS;
}

int ConnectResult(SocketHandle socket) {
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
  return error;
}

bool AwaitSocket(SocketHandle socket, bool writable, int waitMs) {
  pollfd p{socket, short(writable ? POLLOUT : POLLIN), 0};
  return poll(&p, 1, waitMs) > 0;
}

namespace {

SocketIo Outcome(ssize_t count, std::size_t& done) {
  done = count > 0 ? std::size_t(count) : 0;
  if (count > 0) return SocketIo::Done;
  if (count == 0) return SocketIo::Closed;
  return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? SocketIo::WouldBlock : SocketIo::Failed;
}

}  // namespace

// MSG_NOSIGNAL: a peer that has gone is an error to report, not SIGPIPE.
SocketIo SendSome(SocketHandle socket, const std::uint8_t* bytes, std::size_t length, std::size_t& sent) {
  const SocketIo io = Outcome(send(socket, bytes, length, MSG_NOSIGNAL), sent);
  return io == SocketIo::Closed ? SocketIo::WouldBlock : io;
}

SocketIo ReceiveSome(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) {
  return Outcome(recv(socket, buffer, capacity, 0), got);
}

int LastSocketError() { return errno; }

std::string SocketErrorText(int error) { return std::strerror(error); }
