#include "tools/cli/cli_session.h"

#include <algorithm>
#include <cstdio>

#include "tools/cli/clock.h"
#include "tools/cli/stop_signal.h"

namespace {

// How long the device may hold back a byte the terminal sends (the window
// gives up after the same second).
constexpr int SendWaitMs = 1000;
// A wait is cut into pieces of at most this, so that the terminal is ticked
// while it waits for the rest of a sequence or for point-plot mode's words
// (a stop signal cuts a piece short).
constexpr std::uint64_t LongestPollMs = 50;
constexpr std::size_t ArrivalBytes = 65536;

}  // namespace

Session::Session(const SessionSettings& settings)
    : settings_(settings), terminal_(*this, settings.terminal) {}

Session::~Session() {
  Disconnect();
  log_.Close();
}

bool Session::Start(std::string& error) {
  if (!settings_.logPath.empty() && !LogDone(log_.Open(settings_.logPath), error)) return false;
  return Connect(error);
}

bool Session::Connect(std::string& error) {
  if (!OpenSerialPort(settings_.portPath, settings_.line, port_, error)) return false;
  if (!LogDone(log_.Stamp(StampKind::Start), error)) return false;
  received_ = ReceivedTail{};
  terminal_.Connect();
  terminal_.ReadScreen(view_);
  return true;
}

void Session::Disconnect() {
  if (port_.fd < 0) return;
  terminal_.Disconnect();
  CloseSerialPort(port_);
  std::string error;
  if (!LogDone(log_.Stamp(StampKind::End), error)) Fail(error);
}

ReceiveOutcome Session::ReceiveUntil(std::uint64_t deadline, const std::function<bool(const ScreenView&)>& met) {
  for (;;) {
    if (met(view_)) return ReceiveOutcome::Met;
    NoticeStopSignal();
    if (!failure_.empty()) return ReceiveOutcome::Failed;
    const std::uint64_t now = MonotonicMs();
    if (now >= deadline) return ReceiveOutcome::TimedOut;
    AwaitSerialPort(port_, int(std::min(deadline - now, LongestPollMs)));
    ReceiveArrived();
    terminal_.Tick(MonotonicMs());
  }
}

// A device that has gone ends what the terminal waits for, with its message.
void Session::ReceiveArrived() {
  if (port_.fd < 0) return;
  std::uint8_t bytes[ArrivalBytes];
  std::size_t got = 0;
  std::string error;
  const PortRead read = ReadSerialPort(port_, bytes, sizeof bytes, got, error);
  if (got > 0) {
    AddReceived(received_, bytes, got);
    terminal_.Receive(bytes, got);
  }
  if (read == PortRead::Gone) {
    Fail(error);
    terminal_.EndOfInput();
  }
  terminal_.ReadScreen(view_);
}

void Session::NoticeStopSignal() {
  if (StopSignal() != 0) Fail("stopped by signal " + std::to_string(StopSignal()));
}

void Session::Fail(const std::string& why) {
  if (failure_.empty()) failure_ = why;
}

bool Session::Send(std::uint8_t byte) {
  std::string error;
  NoticeStopSignal();
  if (!failure_.empty()) return false;
  if (WriteSerialPort(port_, &byte, 1, SendWaitMs, error)) return true;
  Fail(error);
  return false;
}

void Session::Purge() { DiscardArrived(port_); }

bool Session::Log(const std::uint8_t* bytes, std::size_t length) {
  std::string error;
  if (LogDone(log_.Append(bytes, length), error)) return true;
  Fail(error);
  return false;
}

bool Session::LogDone(LogResult result, std::string& error) const {
  if (result == LogResult::Done) return true;
  error = logFile_.FailureText(result);
  return false;
}

void Session::Tell(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "talvorix-cli: %s: %s\n", caption.c_str(), text.c_str());
}
