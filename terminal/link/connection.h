// A connection to a device over a serial line, for the window and
// talvorix-cli alike: the one lifecycle of a line with its log stamps.
//
// - Open: the line opened (serial_line.h: purged, configured, DTR raised),
//   the start stamp written, then the front end starts its session (the
//   terminal connects and resets its screen). Nothing is read from the device
//   before, so what it sent from the moment the line was configured is shown
//   on the fresh screen.
// - Close: the front end ends its session, the line is closed (output drained
//   within a bound, DTR dropped), the end stamp written.
// - Loss (DeviceGone, when a read finds the device vanished): closed as by
//   Close. With automatic reconnect on, the connection then waits for the
//   device: an attempt every ReconnectIntervalMs (driven by Tick) and at once
//   on Nudge (a device arrived); failed attempts are silent. The attempt that
//   opens the line is an ordinary Open with the same line settings, so the log
//   holds an end stamp and a start stamp around the gap and the device's boot
//   banner right after the start stamp.
//
// The connection holds the one log writer: the front end opens the log
// through Log() and appends the received bytes through LogReceived. It reads
// the device through Read, which tells the line errors the device saw.
#pragma once

#include <cstdint>
#include <string>

#include "terminal/link/line_settings.h"
#include "terminal/link/log_writer.h"
#include "terminal/link/serial_device.h"

constexpr std::uint64_t ReconnectIntervalMs = 100;

// What the front end is told.
enum class ConnectionEvent {
  Connected,    // Open opened the line
  Lost,         // the device vanished; closed, and no reconnect follows
  Waiting,      // the device vanished; closed, and waited for
  Reconnected,  // a wait ended with the line open again
  WaitStopped,  // a wait ended without the device (Close, reconnect turned off)
  Closed,       // Close closed the line
  LineError,    // the device saw line errors (detail: LineErrorText of them)
};

class ConnectionFrontEnd {
 public:
  virtual ~ConnectionFrontEnd() = default;
  // The line is open and its start stamp written: the terminal connects.
  // False when the session could not start (the window's watcher thread):
  // the line is closed again, with its end stamp.
  virtual bool SessionStarted() = 0;
  // The line is about to close: the terminal disconnects.
  virtual void SessionEnding() = 0;
  // `detail`: the device's reason for Lost and Waiting, the errors' text for
  // LineError, empty otherwise.
  virtual void Notice(ConnectionEvent event, const std::string& detail) = 0;
  // The log failure: a stamp or received bytes could not be written, and the
  // log is closed (log_writer.h). Told once, by the write that failed.
  virtual void LogFailed(LogResult result) = 0;
};

class Connection {
 public:
  Connection(SerialDevice& device, LogFile& logFile, ConnectionFrontEnd& frontEnd);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // The settings of the next Open and of every reconnect attempt.
  void SetLine(const LineSettings& settings) { line_ = settings; }
  void SetReconnect(bool on);
  bool Reconnects() const { return reconnect_; }

  // False, with `error` for a device that cannot be opened or configured,
  // or with the front end told LogFailed for a start stamp that cannot be
  // written (the line is closed again then). Nothing when open. While
  // waiting it is an attempt now (the user's connect command), which ends the
  // wait when it opens the line.
  bool Open(std::string& error);
  // Closes an open line, or ends a wait. Nothing otherwise. False only when
  // an end stamp could not be written (the front end is told LogFailed).
  bool Close();
  // The device has vanished (`why` from the device): the line is closed as by
  // Close, which ends what the terminal awaits without a message (a front
  // end that wants the message ends it first), then the front end is told
  // Lost or Waiting.
  void DeviceGone(const std::string& why);
  // The time (monotonic ms): makes the attempts of a wait.
  void Tick(std::uint64_t nowMs);
  // A device has arrived: an attempt now when waiting.
  void Nudge();

  // The device's Read; line errors the device saw (also between reads) are
  // told as LineError first.
  DeviceRead Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error);
  // Appends received bytes to the log. False when the write failed; the
  // front end is told LogFailed then (and nothing more once the log is closed).
  bool LogReceived(const std::uint8_t* bytes, std::size_t length);

  bool IsOpen() const { return device_.IsOpen(); }
  bool WaitingForDevice() const { return waiting_; }
  CommLogWriter& Log() { return log_; }

 private:
  bool OpenLineAndStamp(std::string& error);
  bool CloseLineAndStamp();
  bool Attempt(std::string& error);
  void EndWait(ConnectionEvent event);

  SerialDevice& device_;
  CommLogWriter log_;
  ConnectionFrontEnd& frontEnd_;
  LineSettings line_;
  bool reconnect_ = false;
  bool waiting_ = false;
  std::uint64_t nextAttemptMs_ = 0;  // 0: at the next Tick
};
