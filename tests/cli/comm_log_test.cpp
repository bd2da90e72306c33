// The communication log the tool writes, read back as the replay tool reads
// the window's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "terminal/link/log_sessions.h"
#include "tests/scratch_dir.h"
#include "tools/cli/comm_log.h"
#include "tools/whole_file.h"

namespace {

constexpr std::size_t HeaderBytes = 86;
constexpr std::size_t StampBytes = 85;

std::string Contents(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  return bytes;
}

void Connection(CommLogFile& log, const std::string& data) {
  std::string error;
  ASSERT_TRUE(WriteLogStamp(log, StampKind::Start, error)) << error;
  ASSERT_TRUE(AppendToCommLog(log, reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), error)) << error;
  ASSERT_TRUE(WriteLogStamp(log, StampKind::End, error)) << error;
}

TEST(CommLogFile, HeaderStampsAndDataInTheWindowsFormat) {
  const ScratchDir dir;
  const std::string path = dir.File("Talvorix.log");
  CommLogFile log;
  std::string error;
  ASSERT_TRUE(OpenCommLog(path, log, error)) << error;
  Connection(log, std::string("\x41\x23\x0D\x00", 4));
  CloseCommLog(log);
  const std::string bytes = Contents(path);
  ASSERT_EQ(bytes.size(), HeaderBytes + StampBytes + 4 + StampBytes);
  EXPECT_EQ(bytes.substr(0, 4), "\r\n\x81\xE4");
  EXPECT_EQ(bytes.substr(HeaderBytes, 16), "\r\n\x92\xCA\x90\x4D\x8A\x4A\x8E\x6E\x8E\x9E\x8D\x8F\x81\x46");
  EXPECT_EQ(bytes.substr(HeaderBytes + StampBytes + 4, 8), "\r\n\x92\xCA\x90\x4D\x8F\x49");
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(bytes.substr(sessions[0].dataStart, sessions[0].dataEnd - sessions[0].dataStart),
            std::string("\x41\x23\x0D\x00", 4));
}

TEST(CommLogFile, RunsAppendToTheSameFile) {
  const ScratchDir dir;
  const std::string path = dir.File("Talvorix.log");
  for (const char* data : {"\x22\x24", "\x24\x24"}) {
    CommLogFile log;
    std::string error;
    ASSERT_TRUE(OpenCommLog(path, log, error)) << error;
    Connection(log, data);
    CloseCommLog(log);
  }
  const std::string bytes = Contents(path);
  EXPECT_EQ(bytes.size(), 2 * (HeaderBytes + 2 * StampBytes + 2));
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(bytes.substr(sessions[1].dataStart, 2), "\x24\x24");
}

TEST(CommLogFile, WithoutALogThereIsNothingToWrite) {
  CommLogFile log;
  std::string error;
  EXPECT_TRUE(WriteLogStamp(log, StampKind::Start, error));
  EXPECT_TRUE(AppendToCommLog(log, reinterpret_cast<const std::uint8_t*>("ab"), 2, error));
}

TEST(CommLogFile, ALogThatCannotBeOpenedGivesTheSystemsReason) {
  const ScratchDir dir;
  CommLogFile log;
  std::string error;
  EXPECT_FALSE(OpenCommLog(dir.File("missing/Talvorix.log"), log, error));
  EXPECT_NE(error.find("missing/Talvorix.log"), std::string::npos) << error;
  EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
}

TEST(CommLogFile, AFailedWriteIsToldAndClosesTheLog) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to fill";
  CommLogFile log;
  std::string error;
  EXPECT_FALSE(OpenCommLog("/dev/full", log, error));
  EXPECT_NE(error.find(std::string("cannot write the log /dev/full: ") + std::strerror(ENOSPC)), std::string::npos)
      << error;
  EXPECT_EQ(log.fd, -1);
  EXPECT_TRUE(AppendToCommLog(log, reinterpret_cast<const std::uint8_t*>("ab"), 2, error));
}

}  // namespace
