#include "terminal/link/termios_serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "terminal/link/arbitrary_speed.h"
#include "terminal/link/monotonic_clock.h"
#include "terminal/link/termios_settings.h"

namespace {

// A driver may make a speed only approximately; beyond this the line would
// not work and the user is told.
constexpr double SpeedTolerance = 0.03;

std::string SystemReason() { return std::strerror(errno); }

bool SpeedWithinTolerance(std::uint32_t made, std::uint32_t wanted) {
  const double difference = double(made) - double(wanted);
  return difference <= SpeedTolerance * wanted && -difference <= SpeedTolerance * wanted;
}

bool Gone(int errorNumber) { return errorNumber != EAGAIN && errorNumber != EINTR; }

}  // namespace

TermiosSerialDevice::TermiosSerialDevice(std::string path) : path_(std::move(path)) {}

TermiosSerialDevice::~TermiosSerialDevice() { Close(); }

bool TermiosSerialDevice::Open(std::string& error) {
  fd_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    error = "cannot open " + path_ + ": " + SystemReason();
    return false;
  }
  // Held exclusively, as the window holds its COM port; a device that does not
  // know the request is used all the same.
  ioctl(fd_, TIOCEXCL);
  return true;
}

bool TermiosSerialDevice::Configure(const LineSettings& settings, std::string& error) {
  termios attributes{};
  if (tcgetattr(fd_, &attributes) != 0) {
    error = path_ + " is not a serial device: " + SystemReason();
    return false;
  }
  if (!FillTermios(settings, attributes, error)) return false;
  if (tcsetattr(fd_, TCSANOW, &attributes) != 0) {
    error = path_ + " refuses the line settings " + DescribeLineSettings(settings) + ": " + SystemReason();
    return false;
  }
  return ApplySpeed(settings.baudRate, error);
}

// The speed the standard codes do not reach, and a check of what the driver made.
bool TermiosSerialDevice::ApplySpeed(std::uint32_t wanted, std::string& error) {
  speed_t code;
  if (!StandardSpeedCode(wanted, code) && !SetArbitrarySpeed(fd_, wanted)) {
    error = path_ + " refuses " + std::to_string(wanted) + " bit/s: " + SystemReason();
    return false;
  }
  std::uint32_t made = wanted;
  if (ReadArbitrarySpeed(fd_, made) && !SpeedWithinTolerance(made, wanted)) {
    error = path_ + " cannot make " + std::to_string(wanted) + " bit/s (it makes " + std::to_string(made) + ")";
    return false;
  }
  return true;
}

void TermiosSerialDevice::Purge() { tcflush(fd_, TCIFLUSH); }

void TermiosSerialDevice::SetDtr(bool raised) {
  const int dtr = TIOCM_DTR;
  ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &dtr);
}

// A line held back by flow control may never take what was written.
void TermiosSerialDevice::Drain(int waitMs) {
  const std::uint64_t deadline = MonotonicMs() + std::uint64_t(waitMs);
  int queued = 0;
  while (ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0 && MonotonicMs() < deadline) {
    pollfd p{fd_, 0, 0};
    poll(&p, 1, 1);
  }
}

void TermiosSerialDevice::Close() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
}

bool TermiosSerialDevice::HungUp() const {
  pollfd p{fd_, POLLIN, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// With no byte waiting a raw line's read returns 0, and so does a hung-up
// one: the hang-up is told apart by poll.
DeviceRead TermiosSerialDevice::Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got,
                                     std::string& error) {
  got = 0;
  const ssize_t n = read(fd_, buffer, capacity);
  if (n > 0) {
    got = std::size_t(n);
    return DeviceRead::Data;
  }
  if (n < 0 && Gone(errno)) {
    error = path_ + " has gone: " + SystemReason();
    return DeviceRead::Gone;
  }
  if (n == 0 && HungUp()) {
    error = path_ + " has gone: the line was hung up";
    return DeviceRead::Gone;
  }
  return DeviceRead::Nothing;
}

bool TermiosSerialDevice::Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) {
  const std::uint64_t deadline = MonotonicMs() + std::uint64_t(waitMs);
  while (length > 0) {
    const ssize_t put = write(fd_, bytes, length);
    if (put > 0) {
      bytes += put;
      length -= std::size_t(put);
      continue;
    }
    if (put < 0 && Gone(errno)) {
      error = path_ + " has gone: " + SystemReason();
      return false;
    }
    const std::uint64_t now = MonotonicMs();
    if (now >= deadline) {
      error = path_ + " did not take the bytes sent within " + std::to_string(waitMs) + " ms";
      return false;
    }
    pollfd p{fd_, POLLOUT, 0};
    poll(&p, 1, int(deadline - now));
  }
  return true;
}

void TermiosSerialDevice::Await(int waitMs) {
  pollfd p{fd_, POLLIN, 0};
  poll(&p, 1, waitMs);
}
