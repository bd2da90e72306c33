#include "terminal/link/network_serial_device.h"

#include <algorithm>
#include <cstring>

#include "terminal/link/monotonic_clock.h"
#include "terminal/link/network_connect.h"
#include "terminal/link/socket_shim.h"

namespace {

// How long a command or a reply may wait for the connection to take it.
constexpr int CommandWaitMs = 1000;

int Slice(std::uint64_t deadline, std::uint64_t now) {
  return int(std::min<std::uint64_t>(deadline - now, ConnectSliceMs));
}

}  // namespace

NetworkSerialDevice::NetworkSerialDevice(NetworkPort port, std::function<bool()> cancelled)
    : port_(std::move(port)), name_(port_.Text()), cancelled_(std::move(cancelled)) {}

NetworkSerialDevice::~NetworkSerialDevice() { Close(); }

bool NetworkSerialDevice::Open(std::string& error) {
  std::string reason;
  socket_ = ConnectWithin(port_, ConnectWithinMs, cancelled_, reason);
  if (socket_ == NoSocket) {
    error = "cannot connect to " + name_ + ": " + reason;
    return false;
  }
  codec_ = TelnetCodec{};
  pending_.clear();
  configured_ = false;
  if (!Telnet() || Negotiate(reason)) return true;
  error = name_ + " " + reason;
  Close();
  return false;
}

// The COM port option is what the telnet connection is for: a server that
// refuses it, or does not answer, cannot set the line.
bool NetworkSerialDevice::Negotiate(std::string& error) {
  std::vector<std::uint8_t> start;
  codec_.Start(start);
  if (!SendAll(start, CommandWaitMs, error)) return false;
  const std::uint64_t deadline = MonotonicMs() + NegotiationWaitMs;
  while (codec_.ComPortAnswer() == OptionAnswer::Pending) {
    const std::uint64_t now = MonotonicMs();
    if (now >= deadline || cancelled_()) {
      error = "did not answer the COM port option (RFC 2217)";
      return false;
    }
    if (!Take(Slice(deadline, now), error)) return false;
  }
  if (codec_.ComPortAnswer() == OptionAnswer::Accepted) return true;
  error = "refuses the COM port option (RFC 2217); a raw TCP port is named socket://";
  return false;
}

bool NetworkSerialDevice::Configure(const LineSettings& settings, std::string& error) {
  if (!Telnet()) return true;
  std::vector<std::uint8_t> commands;
  TelnetCodec::EncodeLineSettings(settings, commands);
  configured_ = true;
  if (SendAll(commands, CommandWaitMs, error)) return true;
  error = name_ + " " + error;
  return false;
}

// The purge made before the line has its settings is waited for, within a
// bound: what arrives until the server acknowledges it was sent before it.
// After that (a close) nothing is waited for.
void NetworkSerialDevice::Purge() {
  if (!Telnet() || !IsOpen()) return;
  pending_.clear();
  const std::uint32_t acks = codec_.PurgeAcks();
  std::vector<std::uint8_t> command;
  TelnetCodec::EncodePurge(command);
  if (SendCommand(command) && !configured_) AwaitPurgeAck(acks);
}

bool NetworkSerialDevice::AwaitPurgeAck(std::uint32_t acks) {
  const std::uint64_t deadline = MonotonicMs() + PurgeAckWaitMs;
  std::string error;
  for (std::uint64_t now = MonotonicMs(); codec_.PurgeAcks() == acks; now = MonotonicMs()) {
    if (now >= deadline || cancelled_() || !Take(Slice(deadline, now), error)) return false;
    pending_.clear();
  }
  return true;
}

// A server serving a pseudo-terminal never acknowledges this; nothing waits.
void NetworkSerialDevice::SetDtr(bool raised) {
  if (!Telnet() || !IsOpen()) return;
  std::vector<std::uint8_t> command;
  TelnetCodec::EncodeDtr(raised, command);
  SendCommand(command);
}

void NetworkSerialDevice::Close() {
  if (socket_ == NoSocket) return;
  CloseSocket(socket_);
  socket_ = NoSocket;
}

// What is pending first; more is taken only while there is room for it. A
// vanished server is told after the bytes that came before it.
DeviceRead NetworkSerialDevice::Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got,
                                     std::string& error) {
  const bool alive = pending_.size() >= capacity || Take(0, error);
  if (!alive) error = name_ + " " + error;
  got = std::min(capacity, pending_.size());
  std::copy(pending_.begin(), pending_.begin() + std::ptrdiff_t(got), buffer);
  pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(got));
  if (got > 0) return DeviceRead::Data;
  return alive ? DeviceRead::Nothing : DeviceRead::Gone;
}

// Waits at most `waitMs` for bytes and takes them in: the device's to
// pending_, the replies the server is owed sent. False when the connection
// has ended, with `error` saying so after the port's name (as every reason
// of this file's helpers does).
bool NetworkSerialDevice::Take(int waitMs, std::string& error) {
  if (waitMs > 0 && !AwaitSocket(socket_, false, waitMs)) return true;
  std::size_t got = 0;
  const SocketIo io = ReceiveSome(socket_, received_.data(), received_.size(), got);
  if (io == SocketIo::Done) return Decoded(received_.data(), got, error);
  if (io == SocketIo::WouldBlock) return true;
  const std::string why = io == SocketIo::Closed ? "the server closed the connection" : SocketErrorText(LastSocketError());
  error = "has gone: " + why;
  return false;
}

bool NetworkSerialDevice::Decoded(const std::uint8_t* bytes, std::size_t length, std::string& error) {
  if (!Telnet()) {
    pending_.insert(pending_.end(), bytes, bytes + length);
    return true;
  }
  std::vector<std::uint8_t> replies;
  codec_.Decode(bytes, length, pending_, replies);
  return replies.empty() || SendAll(replies, CommandWaitMs, error);
}

bool NetworkSerialDevice::Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) {
  std::vector<std::uint8_t> wire;
  if (Telnet()) TelnetCodec::Encode(bytes, length, wire);
  else wire.assign(bytes, bytes + length);
  if (SendAll(wire, waitMs, error)) return true;
  error = name_ + " " + error;
  return false;
}

// A command that cannot be sent has lost the connection: the next read tells.
bool NetworkSerialDevice::SendCommand(const std::vector<std::uint8_t>& bytes) {
  std::string error;
  return SendAll(bytes, CommandWaitMs, error);
}

bool NetworkSerialDevice::SendAll(const std::vector<std::uint8_t>& bytes, int waitMs, std::string& error) {
  const std::uint64_t deadline = MonotonicMs() + std::uint64_t(waitMs);
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t sent = 0;
    const SocketIo io = SendSome(socket_, bytes.data() + at, bytes.size() - at, sent);
    at += sent;
    if (io == SocketIo::Failed) {
      error = "has gone: " + SocketErrorText(LastSocketError());
      return false;
    }
    const std::uint64_t now = MonotonicMs();
    if (io != SocketIo::Done && now >= deadline) {
      error = "did not take the bytes sent within " + std::to_string(waitMs) + " ms";
      return false;
    }
    if (io != SocketIo::Done) AwaitSocket(socket_, true, int(deadline - now));
  }
  return true;
}

void NetworkSerialDevice::Await(int waitMs) {
  if (pending_.empty() && IsOpen()) AwaitSocket(socket_, false, waitMs);
}

bool NetworkSerialDevice::AwaitReadable(int waitMs) const { return AwaitSocket(socket_, false, waitMs); }
