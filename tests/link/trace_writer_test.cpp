// The trace's writer and its line format: what is written reads back as the
// same events, bytes split across pushes included.
#include <gtest/gtest.h>

#include <sstream>

#include "terminal/link/trace_writer.h"
#include "terminal/native/cp932_text.h"
#include "terminal/native/memory_log_file.h"

namespace {

struct StepClock final : TraceClock {
  std::uint64_t ms = 1000;
  TraceTime Now() override {
    TraceTime time{2026, 12, 9, 23, 59, 58, 999999, ms};
    ms += 7;
    return time;
  }
};

std::vector<std::string> Lines(const MemoryLogFile& file) {
  std::istringstream in(std::string(file.bytes.begin(), file.bytes.end()));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct TraceWriterTest : ::testing::Test {
  MemoryLogFile file;
  StepClock clock;
  TraceWriter trace{file, clock, Cp932ToUtf8};
  void SetUp() override {
    file.open = false;
    ASSERT_TRUE(trace.Open("t", false));
  }
};

TEST_F(TraceWriterTest, EventsReadBackAsWritten) {
  const std::uint8_t cut[] = {0x9B, 0x00, 0x33, 0x23, 0x28};  // CSI ３ and half of ；
  const std::uint8_t rest[] = {0x21, 0x41, 0x00};
  trace.SessionStarted();
  trace.Connection(ConnectionEvent::Connected, "");
  trace.Received(cut, sizeof cut);
  trace.Received(rest, sizeof rest);
  trace.Sent(0x06);
  trace.Sent(0x00);
  trace.Message("通信ターミナル", "受信エラー：\\x\r\n");
  trace.Connection(ConnectionEvent::Waiting, "gone: EIO");
  const std::vector<std::string> lines = Lines(file);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], TraceHeaderLine);
  EXPECT_EQ(lines[1], "2026-12-09 23:59:58.999999 +0ms start");
  EXPECT_EQ(lines[2], "2026-12-09 23:59:58.999999 +7ms received 009B 2333 28 | CSI ３ …");
  EXPECT_EQ(lines[3], "2026-12-09 23:59:58.999999 +14ms received 21 0041 | … A.");
  EXPECT_EQ(lines[4], "2026-12-09 23:59:58.999999 +21ms sent 0006");
  TraceEvent event;
  std::string error;
  ASSERT_TRUE(ParseTraceEvent(lines[2], event, error)) << error;
  EXPECT_EQ(event.kind, TraceKind::Received);
  EXPECT_EQ(event.time.sinceStartMs, 7u);
  EXPECT_EQ(event.time.microsecond, 999999);
  EXPECT_EQ(event.bytes, std::vector<std::uint8_t>(cut, cut + sizeof cut));
  ASSERT_TRUE(ParseTraceEvent(lines[3], event, error)) << error;
  EXPECT_TRUE(event.oddStart);
  EXPECT_EQ(event.bytes, std::vector<std::uint8_t>(rest, rest + sizeof rest));
  ASSERT_TRUE(ParseTraceEvent(lines[5], event, error)) << error;
  EXPECT_EQ(event.kind, TraceKind::Message);
  EXPECT_EQ(event.text, "通信ターミナル|受信エラー：\\x\r\n");
  ASSERT_TRUE(ParseTraceEvent(lines[6], event, error)) << error;
  EXPECT_EQ(event.kind, TraceKind::Waiting);
  EXPECT_EQ(event.text, "gone: EIO");
}

TEST_F(TraceWriterTest, WhatIsNoEventLineIsRefused) {
  TraceEvent event;
  std::string error;
  for (const char* line : {"# talvorix trace 1", "2026-12-09 23:59:58.000001 +3ms received",
                           "2026-12-09 23:59:58.000001 +3ms received 0041 12 0041",
                           "2026-12-09 23:59:58.000001 +3ms sent 41G2", "2026-12-09 23:59:58.000001 +3ms end x",
                           "2026-12-09 23:59:58.000001 +3ms jump"}) {
    EXPECT_FALSE(ParseTraceEvent(line, event, error)) << line;
  }
}

}  // namespace
