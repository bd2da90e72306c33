#include "cli/cli_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "terminal/link/monotonic_clock.h"
#include "terminal/link/serial_line.h"
#include "cli/port_device.h"
#include "cli/stop_signal.h"

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
    : settings_(settings), device_(MakePortDevice(settings.portPath)), terminal_(*this, settings.terminal) {
  connection_.SetLine(settings.line);
  connection_.SetReconnect(settings.reconnect);
}

Session::~Session() {
  Disconnect();
  connection_.Log().Close();
}

bool Session::Start(std::string& error) {
  const LogResult opened = settings_.logPath.empty() ? LogResult::Done : connection_.Log().Open(settings_.logPath);
  if (opened != LogResult::Done) {
    error = logFile_.FailureText(opened);
    return false;
  }
  if (!settings_.tracePath.empty() && !terminal_.StartTrace(settings_.tracePath)) {
    error = "cannot open the trace " + settings_.tracePath;
    return false;
  }
  return Connect(error);
}

// A start stamp that cannot be written has failed the line (LogFailed).
bool Session::Connect(std::string& error) {
  if (connection_.Open(error)) return true;
  if (error.empty()) error = failure_;
  return false;
}

void Session::Disconnect() {
  connection_.Close();
  NoticeTraceFailure();
}

// A trace that could not be written fails the line, as the log does.
void Session::NoticeTraceFailure() {
  if (!settings_.tracePath.empty() && !terminal_.Tracing()) Fail("cannot write the trace " + settings_.tracePath);
}

ReceiveOutcome Session::ReceiveUntil(std::uint64_t deadline, const std::function<bool(const ScreenView&)>& met) {
  for (;;) {
    if (met(view_)) return ReceiveOutcome::Met;
    NoticeStopSignal();
    if (!failure_.empty()) return ReceiveOutcome::Failed;
    const std::uint64_t now = MonotonicMs();
    if (now >= deadline) return ReceiveOutcome::TimedOut;
    Await(std::min(deadline - now, LongestPollMs));
    ReceiveArrived();
    connection_.Tick(MonotonicMs());
    terminal_.Tick(MonotonicMs());
  }
}

// While the device is waited for there is nothing to wait on but the time.
void Session::Await(std::uint64_t waitMs) {
  if (device_->IsOpen()) return device_->Await(int(waitMs));
  std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
}

void Session::ReceiveArrived() {
  if (!device_->IsOpen()) return;
  std::uint8_t bytes[ArrivalBytes];
  std::size_t got = 0;
  std::string error;
  const DeviceRead read = device_->Read(bytes, sizeof bytes, got, error);
  if (got > 0) {
    TraceTime now = arrivalClock_.Now();
    now.sinceStartMs -= connectedMs_;
    AddReceived(received_, bytes, got, now);
    terminal_.Receive(bytes, got);
  }
  if (read == DeviceRead::Gone) LoseDevice(error);
  NoticeTraceFailure();
  terminal_.ReadScreen(view_);
}

// Without reconnect what the terminal waits for ends with its message, as in
// the window; with it the close ends it silently, as a disconnect does.
void Session::LoseDevice(const std::string& why) {
  if (!connection_.Reconnects()) terminal_.EndOfInput();
  connection_.DeviceGone(why);
}

void Session::NoticeStopSignal() {
  if (StopSignal() != 0) Fail("stopped by signal " + std::to_string(StopSignal()));
}

void Session::Fail(const std::string& why) {
  if (failure_.empty()) failure_ = why;
}

bool Session::Send(std::uint8_t value) {
  std::string error;
  NoticeStopSignal();
  if (!failure_.empty()) return false;
  if (!device_->IsOpen()) {
    Fail(settings_.portPath + " is not connected");
    return false;
  }
  if (device_->Write(&value, 1, SendWaitMs, error)) return true;
  Fail(error);
  return false;
}

void Session::Purge() { device_->Purge(); }

// A failed write is told to this session as the connection's front end (LogFailed).
bool Session::Log(const std::uint8_t* bytes, std::size_t length) { return connection_.LogReceived(bytes, length); }

void Session::LogFailed(LogResult result) { Fail(logFile_.FailureText(result)); }

bool Session::SessionStarted() {
  received_ = ReceivedTail{};
  connectedMs_ = clock_.Milliseconds();
  terminal_.Connect();
  terminal_.ReadScreen(view_);
  return true;
}

void Session::SessionEnding() { terminal_.Disconnect(); }

// A vanished device that is not waited for fails the line.
void Session::Notice(ConnectionEvent event, const std::string& detail) {
  terminal_.TraceConnection(event, detail);
  if (event == ConnectionEvent::Lost) {
    Fail(detail);
  } else if (event == ConnectionEvent::Waiting) {
    std::fprintf(stderr, "talvorix-cli: %s; waiting for it to come back\n", detail.c_str());
  } else if (event == ConnectionEvent::Reconnected) {
    std::fprintf(stderr, "talvorix-cli: %s is back\n", settings_.portPath.c_str());
  }
}

void Session::Tell(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "talvorix-cli: %s: %s\n", caption.c_str(), text.c_str());
}
