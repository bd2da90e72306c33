// A serial line served over the network (network_port.h), for the window and
// talvorix-cli alike.
//
// - rfc2217://: a telnet connection (telnet_codec.h). Open connects and waits
//   for the server to take the COM port option; Configure sends the line
//   settings, SetDtr the DTR state, Purge the server's purge. The device's
//   bytes travel with 0xFF doubled, and nothing else the server sends reaches
//   Read.
// - socket://: the bytes as they are; the line settings are the server's, so
//   Configure, SetDtr and Purge do nothing.
//
// A peer that closes the connection, resets it or fails on the network is the
// device vanishing: Read finds it Gone, a Write fails. A connect is bounded
// (network_connect.h) and asks `cancelled` between slices, so another thread
// can end it at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "terminal/link/awaitable_device.h"
#include "terminal/link/network_port.h"
#include "terminal/link/socket_handle.h"
#include "terminal/link/telnet_codec.h"

// How long a server may take to answer the COM port option, and to
// acknowledge the purge made before the line settings.
constexpr int NegotiationWaitMs = 2000;
constexpr int PurgeAckWaitMs = 1000;
// The most taken from the connection at once.
constexpr std::size_t NetworkReceiveBytes = 65536;

class NetworkSerialDevice final : public AwaitableDevice {
 public:
  NetworkSerialDevice(NetworkPort port, std::function<bool()> cancelled);
  ~NetworkSerialDevice() override;

  bool Open(std::string& error) override;
  bool Configure(const LineSettings& settings, std::string& error) override;
  void Purge() override;
  void SetDtr(bool raised) override;
  // The bytes written are the system's once sent: nothing to wait for.
  void Drain(int) override {}
  void Close() override;
  bool IsOpen() const override { return socket_ != NoSocket; }
  DeviceRead Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error) override;
  bool Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) override;
  void Await(int waitMs) override;
  const std::string& Name() const override { return name_; }
  NetworkKind Kind() const { return port_.kind; }

  // For a watcher thread beside the one that reads: waits at most `waitMs`
  // until the connection has bytes (or has ended), touching nothing but the
  // socket. True when it has.
  bool AwaitReadable(int waitMs) const;

 private:
  bool Telnet() const { return port_.kind == NetworkKind::Rfc2217; }
  bool Negotiate(std::string& error);
  bool AwaitPurgeAck(std::uint32_t acks);
  bool Take(int waitMs, std::string& error);
  bool Decoded(const std::uint8_t* bytes, std::size_t length, std::string& error);
  bool SendAll(const std::vector<std::uint8_t>& bytes, int waitMs, std::string& error);
  bool SendCommand(const std::vector<std::uint8_t>& bytes);

  NetworkPort port_;
  std::string name_;
  std::function<bool()> cancelled_;
  SocketHandle socket_ = NoSocket;
  TelnetCodec codec_;
  std::vector<std::uint8_t> received_ = std::vector<std::uint8_t>(NetworkReceiveBytes);
  // The device's bytes taken in while waiting for the server, not read yet.
  std::vector<std::uint8_t> pending_;
  // Set from Purge until the line has its settings: the purge before them is
  // waited for, so that what the server held from before is not shown.
  bool configured_ = false;
};
