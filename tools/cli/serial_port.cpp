#include "tools/cli/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/cli/arbitrary_speed.h"
#include "tools/cli/clock.h"
#include "tools/cli/termios_settings.h"

namespace {

// A driver may make a speed only approximately; beyond this the line would
// not work and the user is told.
constexpr double SpeedTolerance = 0.03;
constexpr std::uint64_t DrainWaitMs = 1000;

std::string SystemReason() { return std::strerror(errno); }

bool SpeedWithinTolerance(std::uint32_t made, std::uint32_t wanted) {
  const double difference = double(made) - double(wanted);
  return difference <= SpeedTolerance * wanted && -difference <= SpeedTolerance * wanted;
}

// The speed the standard codes do not reach, and a check of what the driver made.
bool ApplySpeed(const SerialPort& port, std::uint32_t wanted, std::string& error) {
  speed_t code;
  if (!StandardSpeedCode(wanted, code) && !SetArbitrarySpeed(port.fd, wanted)) {
    error = port.path + " refuses " + std::to_string(wanted) + " bit/s: " + SystemReason();
    return false;
  }
  std::uint32_t made = wanted;
  if (ReadArbitrarySpeed(port.fd, made) && !SpeedWithinTolerance(made, wanted)) {
    error = port.path + " cannot make " + std::to_string(wanted) + " bit/s (it makes " +
            std::to_string(made) + ")";
    return false;
  }
  return true;
}

bool ApplyLineSettings(const SerialPort& port, const LineSettings& settings, std::string& error) {
  termios attributes{};
  if (tcgetattr(port.fd, &attributes) != 0) {
    error = port.path + " is not a serial device: " + SystemReason();
    return false;
  }
  if (!FillTermios(settings, attributes, error)) return false;
  if (tcsetattr(port.fd, TCSANOW, &attributes) != 0) {
    error = port.path + " refuses the line settings " + DescribeLineSettings(settings) + ": " + SystemReason();
    return false;
  }
  return ApplySpeed(port, settings.baudRate, error);
}

bool Gone(int errorNumber) { return errorNumber != EAGAIN && errorNumber != EINTR; }

bool HungUp(const SerialPort& port) {
  pollfd p{port.fd, POLLIN, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Waits, at most a second, until the driver has sent what was written (a line
// held back by flow control may never take it).
void DrainOutput(const SerialPort& port) {
  const std::uint64_t deadline = MonotonicMs() + DrainWaitMs;
  int queued = 0;
  while (ioctl(port.fd, TIOCOUTQ, &queued) == 0 && queued > 0 && MonotonicMs() < deadline) {
    pollfd p{port.fd, 0, 0};
    poll(&p, 1, 1);
  }
}

}  // namespace

bool OpenSerialPort(const std::string& path, const LineSettings& settings, SerialPort& port,
                    std::string& error) {
  port.path = path;
  port.fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (port.fd < 0) {
    error = "cannot open " + path + ": " + SystemReason();
    return false;
  }
  // Held exclusively, as the window holds its COM port; a device that does not
  // know the request is used all the same.
  ioctl(port.fd, TIOCEXCL);
  if (!ApplyLineSettings(port, settings, error)) {
    CloseSerialPort(port);
    return false;
  }
  const int dtr = TIOCM_DTR;
  ioctl(port.fd, TIOCMBIS, &dtr);
  tcflush(port.fd, TCIOFLUSH);
  return true;
}

void CloseSerialPort(SerialPort& port) {
  if (port.fd < 0) return;
  DrainOutput(port);
  const int dtr = TIOCM_DTR;
  ioctl(port.fd, TIOCMBIC, &dtr);
  DiscardArrived(port);
  close(port.fd);
  port.fd = -1;
}

void DiscardArrived(const SerialPort& port) { tcflush(port.fd, TCIFLUSH); }

// With no byte waiting a raw line's read returns 0, and so does a hung-up
// one: the hang-up is told apart by poll.
PortRead ReadSerialPort(const SerialPort& port, std::uint8_t* buffer, std::size_t capacity,
                        std::size_t& got, std::string& error) {
  got = 0;
  const ssize_t n = read(port.fd, buffer, capacity);
  if (n > 0) {
    got = std::size_t(n);
    return PortRead::Data;
  }
  if (n < 0 && Gone(errno)) {
    error = port.path + " has gone: " + SystemReason();
    return PortRead::Gone;
  }
  if (n == 0 && HungUp(port)) {
    error = port.path + " has gone: the line was hung up";
    return PortRead::Gone;
  }
  return PortRead::Nothing;
}

bool WriteSerialPort(const SerialPort& port, const std::uint8_t* bytes, std::size_t length, int waitMs,
                     std::string& error) {
  const std::uint64_t deadline = MonotonicMs() + std::uint64_t(waitMs);
  while (length > 0) {
    const ssize_t put = write(port.fd, bytes, length);
    if (put > 0) {
      bytes += put;
      length -= std::size_t(put);
      continue;
    }
    if (put < 0 && Gone(errno)) {
      error = port.path + " has gone: " + SystemReason();
      return false;
    }
    const std::uint64_t now = MonotonicMs();
    if (now >= deadline) {
      error = port.path + " did not take the bytes sent within " + std::to_string(waitMs) + " ms";
      return false;
    }
    pollfd p{port.fd, POLLOUT, 0};
    poll(&p, 1, int(deadline - now));
  }
  return true;
}

void AwaitSerialPort(const SerialPort& port, int waitMs) {
  pollfd p{port.fd, POLLIN, 0};
  poll(&p, 1, waitMs);
}
