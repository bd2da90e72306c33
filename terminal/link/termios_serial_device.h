// A serial device of a POSIX system (a USB serial adapter, a pseudo-terminal)
// through its terminal attributes, for talvorix-cli. Opened non-blocking and
// held exclusively; DTR dropped on the last close.
//
// Bytes written are never discarded: on a pseudo-terminal, discarding the
// output queue takes back what the other end has not read yet, so Purge
// discards only what arrived.
#pragma once

#include <string>

#include "terminal/link/awaitable_device.h"

class TermiosSerialDevice final : public AwaitableDevice {
 public:
  explicit TermiosSerialDevice(std::string path);
  ~TermiosSerialDevice() override;

  bool Open(std::string& error) override;
  bool Configure(const LineSettings& settings, std::string& error) override;
  void Purge() override;
  void SetDtr(bool raised) override;
  void Drain(int waitMs) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }
  DeviceRead Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error) override;
  bool Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) override;

  void Await(int waitMs) override;
  const std::string& Name() const override { return path_; }

 private:
  bool ApplySpeed(std::uint32_t wanted, std::string& error);
  bool HungUp() const;

  std::string path_;
  int fd_ = -1;
};
