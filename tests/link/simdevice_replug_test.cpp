// talvorix-simdevice unplugged and plugged back, seen from the terminal's
// side of the line as Wine sees it: the COM link, the pty behind it, the line
// settings applied to it.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "tests/scratch_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

// The device as a child process, paced through its standard input.
class Device {
 public:
  Device(const ScratchDir& scratch, const std::string& script) : link(scratch.File("com5")) {
    const std::string path = scratch.File("device.txt");
    std::ofstream(path) << script;
    int in[2];
    EXPECT_EQ(pipe(in), 0);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      close(in[1]);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, STDOUT_FILENO);
      execl(TALVORIX_SIMDEVICE, TALVORIX_SIMDEVICE, "--link", link.c_str(), "--settle=configured",
            path.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    release_ = in[1];
  }

  ~Device() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    close(release_);
  }

  void Release() { EXPECT_EQ(write(release_, "\n", 1), 1); }

  const std::string link;

 private:
  pid_t pid_ = -1;
  int release_ = -1;
};

template <typename Probe>
bool WaitUntil(Probe probe, int milliseconds) {
  const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
  while (!probe()) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool HungUp(int port) {
  pollfd p{port, POLLIN, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR));
}

int OpenPort(const std::string& link) {
  int port = -1;
  WaitUntil([&] { return (port = open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) >= 0; }, 3000);
  return port;
}

// What the terminal's SetCommState does to the pty: new line settings.
void Configure(int port) {
  termios line{};
  tcgetattr(port, &line);
  cfsetspeed(&line, B1000000);
  tcsetattr(port, TCSANOW, &line);
}

std::string ReadFor(int port, int milliseconds) {
  std::string got;
  const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
  while (Clock::now() < end) {
    pollfd p{port, POLLIN, 0};
    char buffer[64];
    const ssize_t n = poll(&p, 1, 5) > 0 ? read(port, buffer, sizeof buffer) : 0;
    if (n > 0) got.append(buffer, std::size_t(n));
  }
  return got;
}

TEST(SimDeviceReplug, TalksWhenConfiguredAndComesBackOnANewPtyBehindTheSameLink) {
  const ScratchDir scratch;
  Device device(scratch, "bytes 41 42\nhold\nreplug 300\nbytes 43 44\nhold\n");
  const int first = OpenPort(device.link);
  ASSERT_GE(first, 0);
  EXPECT_EQ(ReadFor(first, 400), "") << "nothing before the line is configured";
  Configure(first);
  EXPECT_EQ(ReadFor(first, 100), "AB") << "at once when it is";
  device.Release();
  EXPECT_TRUE(WaitUntil([&] { return HungUp(first); }, 500)) << "the old line is dead";
  EXPECT_FALSE(Exists(device.link)) << "the link goes with the device";
  close(first);
  EXPECT_FALSE(WaitUntil([&] { return Exists(device.link); }, 200)) << "away for a while";
  const int second = OpenPort(device.link);
  ASSERT_GE(second, 0);
  Configure(second);
  EXPECT_EQ(ReadFor(second, 100), "CD");
  close(second);
}

}  // namespace
