// The connection's lifecycle on a fake device: what it keeps of what the
// device sends, what the log holds, and the waits for a vanished device.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "terminal/link/connection.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/log_sessions.h"
#include "terminal/native/memory_log_file.h"

namespace {

// A device that can be absent, queues what it "sent", and can send a banner
// the instant its line is configured.
class FakeDevice final : public SerialDevice {
 public:
  bool present = true;
  bool vanishesAtConfigure = false;
  bool open = false;
  std::string queued;      // received, not yet read
  std::string onConfigure; // queued the instant the line is configured
  std::vector<std::string> calls;
  int opens = 0;
  std::uint32_t lineErrors = 0;  // seen, not yet asked for

  bool Open(std::string& error) override {
    ++opens;
    if (!present) error = "cannot open COM5: no such device";
    open = present;
    return open;
  }
  bool Configure(const LineSettings& settings, std::string& error) override {
    calls.push_back("configure " + DescribeLineSettings(settings));
    if (vanishesAtConfigure) present = false;
    if (!present) error = "COM5 has gone";
    queued += onConfigure;
    return present;
  }
  void Purge() override {
    calls.push_back("purge");
    queued.clear();
  }
  void SetDtr(bool raised) override { calls.push_back(raised ? "dtr on" : "dtr off"); }
  void Drain(int) override {}
  void Close() override { open = false; }
  bool IsOpen() const override { return open; }
  DeviceRead Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error) override {
    got = std::min(capacity, queued.size());
    std::copy(queued.begin(), queued.begin() + std::ptrdiff_t(got), buffer);
    queued.erase(0, got);
    if (got > 0) return DeviceRead::Data;
    if (present) return DeviceRead::Nothing;
    error = "COM5 has gone";
    return DeviceRead::Gone;
  }
  bool Write(const std::uint8_t*, std::size_t, int, std::string&) override { return present; }
  std::uint32_t TakeLineErrors() override { return std::exchange(lineErrors, 0u); }
};

// The front end: records what it is told, and pumps what arrives into the log
// as the window and talvorix-cli do.
class Recorder final : public ConnectionFrontEnd {
 public:
  std::vector<std::string> told;
  int sessions = 0;
  Connection* connection = nullptr;

  bool SessionStarted() override {
    ++sessions;
    told.push_back("session");
    return true;
  }
  void SessionEnding() override { told.push_back("ending"); }
  void Notice(ConnectionEvent event, const std::string& detail) override {
    static const char* const names[] = {"connected", "lost",   "waiting",   "reconnected",
                                                "wait stopped", "closed", "line error"};
    told.push_back(std::string(names[int(event)]) + (detail.empty() ? "" : ": " + detail));
  }
  void LogFailed(LogResult) override { told.push_back("log failed"); }

  // Reads in blocks of `block` until the device has nothing or has gone.
  void Pump(std::size_t block = 4) {
    std::uint8_t bytes[64];
    std::size_t got = 0;
    std::string error;
    while (connection->IsOpen()) {
      const DeviceRead read = connection->Read(bytes, block, got, error);
      if (got > 0) connection->LogReceived(bytes, got);
      if (read == DeviceRead::Gone) connection->DeviceGone(error);
      if (read != DeviceRead::Data) return;
    }
  }
};

struct Rig {
  FakeDevice device;
  MemoryLogFile file;
  Recorder front;
  Connection connection{device, file, front};
  Rig() {
    front.connection = &connection;
    file.open = false;
    file.time = LogClock{2026, 12, 6, 0, 15, 20, 17};
    EXPECT_EQ(connection.Log().Open("Talvorix.log"), LogResult::Done);
  }
  std::string Log() const { return std::string(file.bytes.begin(), file.bytes.end()); }
  // The received bytes of every connection the log holds.
  std::vector<std::string> Sessions() const {
    std::vector<LogSession> sessions;
    const std::string log = Log();
    EXPECT_TRUE(ReadLogSessions(log, sessions));
    std::vector<std::string> data;
    for (const LogSession& s : sessions) data.push_back(log.substr(s.dataStart, s.dataEnd - s.dataStart));
    return data;
  }
  bool Open() {
    std::string error;
    return connection.Open(error);
  }
};

TEST(Connection, ABannerSentTheInstantTheLineIsConfiguredIsKeptWhatCameBeforeIsNot) {
  Rig rig;
  rig.device.queued = "OLD!";
  rig.device.onConfigure = "BOOT";
  ASSERT_TRUE(rig.Open());
  EXPECT_EQ(rig.device.calls, (std::vector<std::string>{"purge", "configure 1000000 bit/s 8N1", "dtr on"}));
  EXPECT_EQ(rig.front.told, (std::vector<std::string>{"session", "connected"}));
  rig.front.Pump();
  rig.connection.Close();
  EXPECT_EQ(rig.Sessions(), std::vector<std::string>{"BOOT"});
  EXPECT_EQ(rig.front.told.back(), "closed");
  EXPECT_FALSE(rig.device.open);
}

TEST(Connection, ADeviceLostWhileConnectingLeavesNoStampAndNothingOpen) {
  Rig rig;
  rig.device.present = false;
  std::string error;
  EXPECT_FALSE(rig.connection.Open(error));
  EXPECT_EQ(error, "cannot open COM5: no such device");
  rig.device.present = true;
  rig.device.vanishesAtConfigure = true;
  const std::size_t headerOnly = rig.file.bytes.size();
  EXPECT_FALSE(rig.connection.Open(error));
  EXPECT_EQ(error, "COM5 has gone");
  EXPECT_FALSE(rig.device.open);
  EXPECT_EQ(rig.file.bytes.size(), headerOnly);
  EXPECT_TRUE(rig.front.told.empty());
}

TEST(Connection, ADeviceLostDuringAFloodKeepsEveryByteReadThenOneEndStamp) {
  Rig rig;
  ASSERT_TRUE(rig.Open());
  std::string flood;
  for (int i = 0; i < 1000; ++i) flood += char('A' + i % 26);
  rig.device.queued = flood;
  rig.device.present = false;
  rig.front.Pump(64);
  EXPECT_EQ(rig.front.told, (std::vector<std::string>{"session", "connected", "ending", "lost: COM5 has gone"}));
  EXPECT_FALSE(rig.connection.IsOpen());
  EXPECT_FALSE(rig.connection.WaitingForDevice());
  rig.connection.DeviceGone("again");
  rig.connection.Close();
  EXPECT_EQ(rig.Sessions(), std::vector<std::string>{flood});
  EXPECT_EQ(rig.front.told.size(), 4u) << "a second loss or a close has nothing to close";
}

TEST(Connection, ReconnectWaitsAttemptsEveryIntervalAndKeepsEachBootBanner) {
  Rig rig;
  rig.connection.SetReconnect(true);
  rig.device.onConfigure = "BOOT";
  ASSERT_TRUE(rig.Open());
  rig.front.Pump();
  for (int cycle = 0; cycle < 3; ++cycle) {
    rig.device.present = false;
    rig.front.Pump();
    ASSERT_TRUE(rig.connection.WaitingForDevice());
    EXPECT_EQ(rig.front.told.back(), "waiting: COM5 has gone");
    const int opens = rig.device.opens;
    const std::uint64_t t = 1000 * (cycle + 1);
    rig.connection.Tick(t);
    rig.connection.Tick(t + ReconnectIntervalMs - 1);
    EXPECT_EQ(rig.device.opens, opens + 1) << "one attempt per interval, failing silently";
    rig.device.present = true;
    rig.connection.Tick(t + ReconnectIntervalMs);
    EXPECT_EQ(rig.front.told.back(), "reconnected");
    EXPECT_FALSE(rig.connection.WaitingForDevice());
    rig.front.Pump();
  }
  rig.connection.Close();
  EXPECT_EQ(rig.Sessions(), (std::vector<std::string>{"BOOT", "BOOT", "BOOT", "BOOT"}));
  EXPECT_EQ(rig.front.sessions, 4);
}

TEST(Connection, ANudgeAttemptsAtOnceAndCloseOrTurningItOffEndsTheWait) {
  Rig rig;
  rig.connection.SetReconnect(true);
  ASSERT_TRUE(rig.Open());
  rig.device.present = false;
  rig.front.Pump();
  rig.device.present = true;
  rig.connection.Nudge();
  EXPECT_TRUE(rig.connection.IsOpen());
  rig.device.present = false;
  rig.front.Pump();
  rig.connection.Close();
  EXPECT_FALSE(rig.connection.WaitingForDevice());
  EXPECT_EQ(rig.front.told.back(), "wait stopped");
  rig.device.present = true;
  rig.connection.Tick(5000);
  EXPECT_FALSE(rig.connection.IsOpen()) << "no attempt after the wait has ended";
  ASSERT_TRUE(rig.Open());
  rig.device.present = false;
  rig.front.Pump();
  rig.connection.SetReconnect(false);
  EXPECT_FALSE(rig.connection.WaitingForDevice());
  EXPECT_EQ(rig.front.told.back(), "wait stopped");
}

TEST(Connection, AStartStampThatCannotBeWrittenFailsTheConnectOnceThenTheLogIsSkipped) {
  Rig rig;
  rig.file.capacity = rig.file.bytes.size() + 10;
  std::string error;
  EXPECT_FALSE(rig.connection.Open(error));
  EXPECT_FALSE(rig.device.open);
  EXPECT_EQ(rig.front.told, std::vector<std::string>{"log failed"});
  EXPECT_TRUE(rig.Open()) << "without a log the connection goes on";
  rig.connection.Close();
  EXPECT_EQ(rig.front.told.back(), "closed");
}

TEST(Connection, LineErrorsAndAFailedWriteOfReceivedBytesAreToldAsTheyHappen) {
  Rig rig;
  ASSERT_TRUE(rig.Open());
  rig.device.queued = "ABCD";
  rig.device.lineErrors = LineErrorFrame | LineErrorOverrun;
  rig.front.Pump();
  rig.device.lineErrors = LineErrorBreak;
  rig.front.Pump();
  rig.front.Pump();
  EXPECT_EQ(rig.front.told, (std::vector<std::string>{"session", "connected", "line error: 受信エラー：<FRAME><OVERRUN>",
                                                      "line error: 受信エラー：<BREAK>"}));
  rig.file.capacity = rig.file.bytes.size() + 2;
  rig.device.queued = "EFGH";
  rig.front.Pump(2);
  rig.device.queued = "IJKL";
  rig.front.Pump(2);
  EXPECT_EQ(rig.front.told.back(), "log failed");
  EXPECT_EQ(std::count(rig.front.told.begin(), rig.front.told.end(), "log failed"), 1)
      << "the log is closed by the write that failed, and then skipped";
  EXPECT_FALSE(rig.file.open);
  EXPECT_TRUE(rig.connection.IsOpen()) << "the connection goes on without its log";
}

}  // namespace
