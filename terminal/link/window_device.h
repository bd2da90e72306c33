// The device the window's connection opens: the COM port portNumber names, or,
// when one has been chosen beside it (the address dialog, the command line),
// a network port. portNumber keeps its meaning; the address is held here for
// the run and never stored.
//
// A network port is connected in the background, so that the user-interface
// thread never waits for a host that does not answer: Open starts the connect
// on a thread of its own and fails (ConnectUnderWay tells why); when the
// thread has finished it posts the connect command (256) to the main window,
// whose next Open takes the connection made (or fails with its reason).
// CancelConnect ends a connect under way at once: the thread is left to stop
// by itself within a slice of its connect and to drop what it made.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "terminal/link/network_port.h"
#include "terminal/link/network_serial_device.h"
#include "terminal/link/win32_serial_device.h"

struct BackgroundConnect;

class WindowDevice final : public SerialDevice {
 public:
  WindowDevice() = default;
  ~WindowDevice() override;
  WindowDevice(const WindowDevice&) = delete;
  WindowDevice& operator=(const WindowDevice&) = delete;

  // The COM device ("\\.\COM5") the next Open opens when no network port is chosen.
  void SetName(std::string name) { com_.SetName(std::move(name)); }
  // The network port of the next Open; nullopt: the COM port again. A connect
  // under way for another choice is cancelled.
  void ChooseNetworkPort(std::optional<NetworkPort> port);
  const std::optional<NetworkPort>& NetworkChoice() const { return choice_; }
  // The window its finished background connects are told to (the main window).
  void SetConnectWindow(HWND window) { connectWindow_ = window; }

  bool ConnectUnderWay() const { return pending_ != nullptr; }
  void CancelConnect();

  bool Ready() const { return com_.Ready(); }
  bool Open(std::string& error) override;
  bool Configure(const LineSettings& settings, std::string& error) override;
  void Purge() override;
  void SetDtr(bool raised) override;
  void Drain(int waitMs) override;
  void Close() override;
  bool IsOpen() const override;
  DeviceRead Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error) override;
  bool Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) override;

  // The open network port, for the watcher; nullptr for a COM port.
  const NetworkSerialDevice* Network() const { return network_.get(); }
  // The COM port's handle and status, for the watcher (nullptr and nothing on a network port).
  HANDLE Handle() const { return com_.Handle(); }
  bool QueuedBytes(DWORD& queued) { return com_.QueuedBytes(queued); }
  std::uint32_t TakeLineErrors() override { return com_.TakeLineErrors(); }

 private:
  SerialDevice& Active();
  bool OpenNetwork(std::string& error);

  Win32SerialDevice com_;
  std::optional<NetworkPort> choice_;
  std::shared_ptr<BackgroundConnect> pending_;  // a connect under way or finished, not yet taken
  std::unique_ptr<NetworkSerialDevice> network_;  // the network port taken from it, open or closed
  HWND connectWindow_ = nullptr;
};
