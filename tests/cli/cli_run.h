// talvorix-cli and the simulated device run as programs by the tests: the
// device on a pseudo-terminal, the tool on a port with a script.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/scratch_dir.h"

using Clock = std::chrono::steady_clock;

void WriteFile(const std::string& path, const std::string& text);
std::string Contents(const std::string& path);

// Starts a program with its standard output and error in files, and its
// standard input from `inFd` when one is given.
pid_t Spawn(const std::vector<std::string>& arguments, const std::string& outPath, const std::string& errPath,
            int inFd = -1);
int ExitCodeOf(pid_t pid);
// The exit code, or -1 when the program has not ended within `seconds`: it
// is then killed.
int ExitCodeWithin(pid_t pid, int seconds);

// The simulated device playing a scenario on a pseudo-terminal at dir/tty,
// recording what the terminal sends in dir/record; stopped at the end.
class Device {
 public:
  Device(const ScratchDir& dir, const std::string& scenario);
  ~Device() { Stop(); }
  std::string Link() const { return dir_.File("tty"); }
  std::string Record() const { return Contents(dir_.File("record")); }
  std::string Output() const { return Contents(dir_.File("device.out")); }
  // The device's exit code: 0 when its scenario went through or it was stopped.
  int Stop();

 private:
  const ScratchDir& dir_;
  pid_t pid_ = -1;
  int code_ = -1;
};

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
  double seconds;
};

// The tool on `port` with the script and options; no run may take more than half a minute.
CliRun RunCli(const ScratchDir& dir, const std::string& port, const std::string& script,
              std::vector<std::string> options = {});

bool Holds(const std::string& text, const std::string& part);
std::string Bytes(const std::vector<std::uint8_t>& bytes);
// What the device sends for a line of text: its words, then CR LF.
std::string LineBytes(const std::string& utf8);
