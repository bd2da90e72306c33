// talvorix-simdevice run as a program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "tests/scratch_dir.h"

namespace {

struct ProgramRun {
  int exitCode;
  std::string output;
};

// The device would serve a script it took for empty until stopped: the run is bounded.
ProgramRun RunSimDevice(const std::string& script) {
  const std::string command = "timeout 10 " TALVORIX_SIMDEVICE " " + script + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  ProgramRun run{-1, {}};
  char buffer[512];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(SimDeviceProgram, ScriptThatCannotBeReadEndsWith66) {
  for (const std::string& script : {::testing::TempDir(), ::testing::TempDir() + "no-such-script"}) {
    const ProgramRun run = RunSimDevice(script);
    EXPECT_EQ(run.exitCode, 66) << script;
    EXPECT_NE(run.output.find("cannot read"), std::string::npos) << run.output;
  }
}

// One line naming the argument and what is wrong with it, then the usage.
TEST(SimDeviceProgram, AWrongCommandLineIsNamedAndEndsWith2) {
  const std::string script = ::testing::TempDir() + "no-such-script";
  const ProgramRun settle = RunSimDevice("--settle soon " + script);
  EXPECT_EQ(settle.exitCode, 2);
  EXPECT_EQ(settle.output, "talvorix-simdevice: --settle soon: neither a number of milliseconds nor configured\n"
                           "usage: talvorix-simdevice [--link PATH] [--record FILE] [--timed-record FILE]"
                           " [--settle MS|configured] SCRIPT\n");
  const ProgramRun record = RunSimDevice("--record= " + script);
  EXPECT_EQ(record.exitCode, 2);
  EXPECT_EQ(record.output.rfind("talvorix-simdevice: --record=: no file name\nusage:", 0), 0u) << record.output;
}

// The terminal's side: opens the port behind `link` in raw mode, sends every
// byte of `bytes` and closes the port at once.
void SendAndClose(const std::string& link, const std::string& bytes) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!std::filesystem::is_symlink(link) && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const int port = open(link.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(port, 0);
  termios raw{};
  tcgetattr(port, &raw);
  cfmakeraw(&raw);
  tcsetattr(port, TCSANOW, &raw);
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t put = write(port, bytes.data() + sent, bytes.size() - sent);
    ASSERT_GT(put, 0);
    sent += std::size_t(put);
  }
  close(port);
}

// Half a megabyte sent and the port closed at once, so the last blocks are
// still on the line when the terminal hangs up: the device reads them all,
// whether its script waits for them and quits, or it is stopped right after
// the close. Each way twice, as the timing of the hang-up varies.
TEST(SimDeviceProgram, RecordHoldsEveryByteSentBeforeTheTerminalClosed) {
  std::string bytes(524288, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 + i / 251);
  for (const bool stopped : {false, true, false, true}) {
    const ScratchDir dir;
    std::ofstream(dir.File("device.txt")) << (stopped ? "pause 0\n" : "timeout 1000\nwait 524288\nquit\n");
    const pid_t device = fork();
    if (device == 0) {
      freopen("/dev/null", "w", stdout);
      execl(TALVORIX_SIMDEVICE, TALVORIX_SIMDEVICE, "--link", dir.File("com5").c_str(), "--record",
            dir.File("record").c_str(), dir.File("device.txt").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    SendAndClose(dir.File("com5"), bytes);
    if (stopped) kill(device, SIGTERM);
    int status = -1;
    waitpid(device, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << (stopped ? "stopped" : "quit");
    std::ifstream record(dir.File("record"), std::ios::binary);
    const std::string recorded{std::istreambuf_iterator<char>(record), std::istreambuf_iterator<char>()};
    EXPECT_EQ(recorded.size(), bytes.size()) << (stopped ? "stopped" : "quit");
    EXPECT_TRUE(recorded == bytes.substr(0, recorded.size()));
  }
}

}  // namespace
