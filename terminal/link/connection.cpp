#include "terminal/link/connection.h"

#include "terminal/link/link_texts.h"
#include "terminal/link/serial_line.h"

Connection::Connection(SerialDevice& device, LogFile& logFile, ConnectionFrontEnd& frontEnd)
    : device_(device), log_(logFile), frontEnd_(frontEnd) {}

void Connection::SetReconnect(bool on) {
  reconnect_ = on;
  if (!on && waiting_) EndWait(ConnectionEvent::WaitStopped);
}

bool Connection::Open(std::string& error) {
  if (device_.IsOpen()) return false;
  if (waiting_) return Attempt(error);
  if (!OpenLineAndStamp(error)) return false;
  // The session's first data may already have closed the line again (a
  // device that failed while the front end showed its message).
  if (device_.IsOpen()) frontEnd_.Notice(ConnectionEvent::Connected, "");
  return true;
}

bool Connection::OpenLineAndStamp(std::string& error) {
  if (!OpenLine(device_, line_, error)) return false;
  const LogResult stamped = log_.Stamp(StampKind::Start);
  if (stamped != LogResult::Done) {
    CloseLine(device_);
    frontEnd_.LogFailed(stamped);
    return false;
  }
  if (frontEnd_.SessionStarted()) return true;
  CloseLineAndStamp();
  return false;
}

bool Connection::CloseLineAndStamp() {
  frontEnd_.SessionEnding();
  CloseLine(device_);
  const LogResult stamped = log_.Stamp(StampKind::End);
  if (stamped == LogResult::Done) return true;
  frontEnd_.LogFailed(stamped);
  return false;
}

bool Connection::Close() {
  if (waiting_) EndWait(ConnectionEvent::WaitStopped);
  if (!device_.IsOpen()) return true;
  const bool stamped = CloseLineAndStamp();
  frontEnd_.Notice(ConnectionEvent::Closed, "");
  return stamped;
}

void Connection::DeviceGone(const std::string& why) {
  if (!device_.IsOpen()) return;
  CloseLineAndStamp();
  waiting_ = reconnect_;
  nextAttemptMs_ = 0;
  frontEnd_.Notice(waiting_ ? ConnectionEvent::Waiting : ConnectionEvent::Lost, why);
}

void Connection::Tick(std::uint64_t nowMs) {
  if (!waiting_ || nowMs < nextAttemptMs_) return;
  nextAttemptMs_ = nowMs + ReconnectIntervalMs;
  Nudge();
}

// A failed attempt is silent: the device is simply not back yet.
void Connection::Nudge() {
  std::string error;
  if (waiting_) Attempt(error);
}

bool Connection::Attempt(std::string& error) {
  if (!OpenLineAndStamp(error)) return false;
  EndWait(ConnectionEvent::Reconnected);
  return true;
}

void Connection::EndWait(ConnectionEvent event) {
  waiting_ = false;
  frontEnd_.Notice(event, "");
}

DeviceRead Connection::Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error) {
  const DeviceRead read = device_.Read(buffer, capacity, got, error);
  const std::uint32_t errors = device_.TakeLineErrors();
  if (errors != 0) frontEnd_.Notice(ConnectionEvent::LineError, LineErrorText(errors));
  return read;
}

bool Connection::LogReceived(const std::uint8_t* bytes, std::size_t length) {
  const LogResult result = log_.Append(bytes, length);
  if (result == LogResult::Done) return true;
  frontEnd_.LogFailed(result);
  return false;
}
