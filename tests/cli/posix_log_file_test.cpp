// The tool's log on real files: appended to across runs, and its failures told
// with the system's reason.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "terminal/link/log_sessions.h"
#include "terminal/link/log_writer.h"
#include "tests/scratch_dir.h"
#include "cli/posix_log_file.h"
#include "common/whole_file.h"

namespace {

constexpr std::size_t HeaderBytes = 86;
constexpr std::size_t StampBytes = 85;

TEST(PosixLogFile, RunsAppendToTheSameFile) {
  const ScratchDir dir;
  const std::string path = dir.File("Talvorix.log");
  for (const char* data : {"\x22\x24", "\x24\x24"}) {
    PosixLogFile file;
    CommLogWriter log(file);
    ASSERT_EQ(log.Open(path), LogResult::Done) << file.FailureText(LogResult::OpenFailed);
    ASSERT_EQ(log.Stamp(StampKind::Start), LogResult::Done);
    ASSERT_EQ(log.Append(reinterpret_cast<const std::uint8_t*>(data), 2), LogResult::Done);
    ASSERT_EQ(log.Stamp(StampKind::End), LogResult::Done);
    log.Close();
  }
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes.size(), 2 * (HeaderBytes + 2 * StampBytes + 2));
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(bytes.substr(sessions[0].dataStart, 2), "\x22\x24");
  EXPECT_EQ(bytes.substr(sessions[1].dataStart, 2), "\x24\x24");
}

TEST(PosixLogFile, ALogThatCannotBeOpenedGivesTheSystemsReason) {
  const ScratchDir dir;
  PosixLogFile file;
  CommLogWriter log(file);
  EXPECT_EQ(log.Open(dir.File("missing/Talvorix.log")), LogResult::OpenFailed);
  EXPECT_EQ(file.FailureText(LogResult::OpenFailed),
            "cannot open the log " + dir.File("missing/Talvorix.log") + ": " + std::strerror(ENOENT));
}

TEST(PosixLogFile, AFailedWriteGivesTheSystemsReasonAndClosesTheLog) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to fill";
  PosixLogFile file;
  CommLogWriter log(file);
  EXPECT_EQ(log.Open("/dev/full"), LogResult::WriteFailed);
  EXPECT_EQ(file.FailureText(LogResult::WriteFailed), std::string("cannot write the log /dev/full: ") + std::strerror(ENOSPC));
  EXPECT_FALSE(log.IsOpen());
}

}  // namespace
