// The tool's connection to the device: the serial device, the connection on
// it (connection.h, with the communication log), the terminal, and the screen
// as the script sees it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "cli/scripted_terminal.h"
#include "cli/received_tail.h"
#include "cli/screen_view.h"
#include "terminal/link/awaitable_device.h"
#include "cli/tool_platform.h"
#include "terminal/link/connection.h"
#include "terminal/link/line_settings.h"
#include "terminal/link/monotonic_clock.h"
#include "terminal/link/trace_clock.h"

struct SessionSettings {
  std::string portPath;  // a network port or a name of the platform's ports (port_device.h)
  LineSettings line;
  TerminalOptions terminal;
  std::string logPath;  // empty: no log
  std::string tracePath;  // empty: no trace (terminal/link/trace_format.h)
  // A device that vanishes is waited for and taken up again, as the window's
  // automatic reconnect does; without it the vanished device fails the line.
  bool reconnect = false;
};

enum class ReceiveOutcome { Met, TimedOut, Failed };

class Session final : private TerminalLine, private ConnectionFrontEnd {
 public:
  explicit Session(const SessionSettings& settings);
  ~Session() override;

  // Opens the log (writing its header line) and the trace, and connects.
  // False, with `error`, when any of them cannot be opened.
  bool Start(std::string& error);

  // As the window connects (connection.h): the line opened, the start stamp,
  // the screen blanked. False, with `error`, when the port cannot be opened
  // or the stamp not written.
  bool Connect(std::string& error);
  // The port closed, the end stamp written; a wait for a vanished device
  // ends. Nothing when neither.
  void Disconnect();

  // Takes in what arrives until `met` holds for the screen, checking it at
  // once and after every arrival; TimedOut at `deadline` (monotonic ms),
  // Failed when the line has failed (see Failure). The terminal is ticked
  // all the while, and a vanished device is waited for (with reconnect).
  ReceiveOutcome ReceiveUntil(std::uint64_t deadline, const std::function<bool(const ScreenView&)>& met);

  ScriptedTerminal& Terminal() { return terminal_; }
  const ScreenView& View() const { return view_; }
  const ReceivedTail& Received() const { return received_; }

  // Why the line cannot go on: the device has gone (and is not waited for),
  // did not take a byte, the log could not be written, or a stop signal has
  // come. Empty while all is well.
  const std::string& Failure() const { return failure_; }

  // Fails the line when a stop signal has come: checked while receiving,
  // before each byte sent and after each line, so that a signal ends any line.
  void NoticeStopSignal();

 private:
  bool Send(std::uint8_t value) override;
  void Purge() override;
  bool Log(const std::uint8_t* bytes, std::size_t length) override;
  void Tell(const std::string& caption, const std::string& text) override;
  bool SessionStarted() override;
  void SessionEnding() override;
  void Notice(ConnectionEvent event, const std::string& detail) override;
  void LogFailed(LogResult result) override;

  void Await(std::uint64_t waitMs);
  void ReceiveArrived();
  void LoseDevice(const std::string& why);
  void NoticeTraceFailure();
  void Fail(const std::string& why);

  SessionSettings settings_;
  std::unique_ptr<AwaitableDevice> device_;
  ToolLogFile logFile_;
  Connection connection_{*device_, logFile_, *this};
  std::string failure_;
  MonotonicClock clock_;
  SystemTraceClock arrivalClock_{clock_};
  std::uint64_t connectedMs_ = 0;  // when the connection started, on clock_
  ReceivedTail received_;
  ScreenView view_;
  ScriptedTerminal terminal_;
};
