// A COM port through the Win32 comm API, for the window and talvorix-cli.exe:
// opened for overlapped I/O, so that the window's watcher thread can wait on
// its events (WaitCommEvent on Handle()) while the user-interface thread
// reads and writes; the console tool, which has no watcher, waits with Await.
//
// Read and the watcher's status queries clear the line errors the driver
// reports; they are kept until TakeLineErrors hands them out.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "terminal/link/awaitable_device.h"

class Win32SerialDevice final : public AwaitableDevice {
 public:
  Win32SerialDevice() : Win32SerialDevice(std::string()) {}
  // The device ("\\.\COM5") that Open opens; SetName changes it.
  explicit Win32SerialDevice(std::string name);
  ~Win32SerialDevice() override;
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

  // The device ("\\.\COM5") the next Open opens.
  void SetName(std::string name) { name_ = std::move(name); }

  // False when the events of the overlapped blocks could not be made.
  bool Ready() const;

  bool Open(std::string& error) override;
  bool Configure(const LineSettings& settings, std::string& error) override;
  void Purge() override;
  void SetDtr(bool raised) override;
  void Drain(int waitMs) override;
  void Close() override;
  bool IsOpen() const override { return port_ != nullptr; }
  DeviceRead Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error) override;
  bool Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) override;

  // On this thread: no watcher may wait on the device meanwhile.
  void Await(int waitMs) override;
  const std::string& Name() const override { return name_; }

  // The open device, for the watcher's waits; nullptr when closed.
  HANDLE Handle() const { return port_; }
  // The watcher's look at the input queue: the bytes waiting, or false when
  // the device has gone. The line errors it clears are kept.
  bool QueuedBytes(DWORD& queued);
  std::uint32_t TakeLineErrors() override { return lineErrors_.exchange(0); }

 private:
  std::string name_;
  HANDLE port_ = nullptr;
  OVERLAPPED read_{};
  OVERLAPPED write_{};
  OVERLAPPED wait_{};
  std::atomic<DWORD> lineErrors_{0};
};
