// The communication log as every front end writes it, on a file in memory
// whose clock stands at Sun Dec 06 15:20:17 2026.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/link/log_sessions.h"
#include "terminal/link/log_writer.h"
#include "terminal/native/memory_log_file.h"

namespace {

constexpr std::size_t HeaderBytes = 86;
constexpr std::size_t StampBytes = 85;
const std::string Time = "Sun Dec 06 15:20:17 2026";
// "通信開始時刻：" and "通信終了時刻：" in code page 932.
const std::string StartLabel = "\x92\xCA\x90\x4D\x8A\x4A\x8E\x6E\x8E\x9E\x8D\x8F\x81\x46";
const std::string EndLabel = "\x92\xCA\x90\x4D\x8F\x49\x97\xB9\x8E\x9E\x8D\x8F\x81\x46";

// The rule "∽" `count` times.
std::string Rule(int count) {
  std::string rule;
  for (int i = 0; i < count; ++i) rule += "\x81\xE4";
  return rule;
}

std::string Stamp(const std::string& label) {
  return "\r\n" + label + " " + Rule(10) + " " + Time + " " + Rule(10) + "\r\n";
}

std::string Text(const MemoryLogFile& file) { return std::string(file.bytes.begin(), file.bytes.end()); }

MemoryLogFile ClosedFile() {
  MemoryLogFile file;
  file.open = false;
  file.time = LogClock{2026, 12, 6, 0, 15, 20, 17};
  return file;
}

LogResult Append(CommLogWriter& log, const std::string& bytes) {
  return log.Append(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(CommLogWriter, HeaderStampsAndReceivedBytesInOrder) {
  MemoryLogFile file = ClosedFile();
  CommLogWriter log(file);
  ASSERT_EQ(log.Open("Talvorix.log"), LogResult::Done);
  EXPECT_EQ(log.DataStart(), 0) << "no connection yet";
  ASSERT_EQ(log.Stamp(StampKind::Start), LogResult::Done);
  EXPECT_EQ(log.DataStart(), std::int64_t(HeaderBytes + StampBytes));
  ASSERT_EQ(Append(log, std::string("\x41\x23\x0D\x00", 4)), LogResult::Done);
  ASSERT_EQ(log.Stamp(StampKind::End), LogResult::Done);
  const std::string header = "\r\n" + Rule(14) + " " + Time + " " + Rule(14) + "\r\n";
  ASSERT_EQ(header.size(), HeaderBytes);
  ASSERT_EQ(Stamp(StartLabel).size(), StampBytes);
  EXPECT_EQ(Text(file), header + Stamp(StartLabel) + std::string("\x41\x23\x0D\x00", 4) + Stamp(EndLabel));
  EXPECT_EQ(log.DataStart(), std::int64_t(HeaderBytes + StampBytes)) << "kept after the connection ends";
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(Text(file), sessions)) << "the replay tool reads it";
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].dataStart, HeaderBytes + StampBytes);
  EXPECT_EQ(sessions[0].dataEnd, HeaderBytes + StampBytes + 4);
}

TEST(CommLogWriter, EachConnectionMovesTheDataStartAndOpeningAgainWritesNothing) {
  MemoryLogFile file = ClosedFile();
  CommLogWriter log(file);
  ASSERT_EQ(log.Open("Talvorix.log"), LogResult::Done);
  for (const char* data : {"\x22\x24", "\x24\x24"}) {
    ASSERT_EQ(log.Stamp(StampKind::Start), LogResult::Done);
    EXPECT_EQ(log.DataStart(), std::int64_t(file.bytes.size()));
    ASSERT_EQ(Append(log, data), LogResult::Done);
    ASSERT_EQ(log.Stamp(StampKind::End), LogResult::Done);
  }
  EXPECT_EQ(log.DataStart(), std::int64_t(HeaderBytes + 2 * StampBytes + 2 + StampBytes));
  EXPECT_EQ(log.Open("Talvorix.log"), LogResult::Done);
  EXPECT_EQ(file.bytes.size(), HeaderBytes + 4 * StampBytes + 4) << "an open log gets no second header";
}

// The failure is returned by the write that failed and by no later one: the
// front end tells the user once, and the program goes on without a log.
TEST(CommLogWriter, AFailedWriteClosesTheLogAndIsReportedOnce) {
  MemoryLogFile file = ClosedFile();
  file.capacity = HeaderBytes + StampBytes + 2;
  CommLogWriter log(file);
  ASSERT_EQ(log.Open("Talvorix.log"), LogResult::Done);
  ASSERT_EQ(log.Stamp(StampKind::Start), LogResult::Done);
  EXPECT_EQ(Append(log, "\x21\x21\x22\x22"), LogResult::WriteFailed);
  EXPECT_FALSE(log.IsOpen());
  EXPECT_EQ(Append(log, "\x21\x21"), LogResult::Done);
  EXPECT_EQ(log.Stamp(StampKind::End), LogResult::Done);
  EXPECT_EQ(log.Stamp(StampKind::Start), LogResult::Done);
  EXPECT_EQ(file.bytes.size(), HeaderBytes + StampBytes) << "nothing after the failure";
  EXPECT_EQ(log.DataStart(), std::int64_t(HeaderBytes + StampBytes));

  MemoryLogFile small = ClosedFile();
  small.capacity = HeaderBytes - 1;
  CommLogWriter unwritable(small);
  EXPECT_EQ(unwritable.Open("Talvorix.log"), LogResult::WriteFailed) << "the header line";
  EXPECT_FALSE(unwritable.IsOpen());
}

TEST(CommLogWriter, WithoutALogThereIsNothingToWrite) {
  MemoryLogFile file = ClosedFile();
  CommLogWriter log(file);
  EXPECT_EQ(log.Stamp(StampKind::Start), LogResult::Done);
  EXPECT_EQ(Append(log, "ab"), LogResult::Done);
  EXPECT_EQ(log.Stamp(StampKind::End), LogResult::Done);
  EXPECT_TRUE(file.bytes.empty());
  EXPECT_EQ(log.DataStart(), 0);
}

}  // namespace
