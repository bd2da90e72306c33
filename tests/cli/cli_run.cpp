// talvorix-cli and the simulated device run as programs by the tests.
#include "tests/cli/cli_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "common/whole_file.h"
#include "simdevice/scenario.h"

extern char** environ;

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string Contents(const std::string& path) {
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::string& outPath, const std::string& errPath,
            int inFd) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  if (inFd >= 0) posix_spawn_file_actions_adddup2(&files, inFd, 0);
  posix_spawn_file_actions_addopen(&files, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&files);
  return pid;
}

int ExitCodeOf(pid_t pid) {
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int ExitCodeWithin(pid_t pid, int seconds) {
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Device::Device(const ScratchDir& dir, const std::string& scenario) : dir_(dir) {
  WriteFile(dir.File("device.scenario"), scenario);
  pid_ = Spawn({TALVORIX_SIMDEVICE, "--link", Link(), "--record", dir.File("record"), "--settle", "100",
                dir.File("device.scenario")},
               dir.File("device.out"), dir.File("device.err"));
  const auto end = Clock::now() + std::chrono::seconds(10);
  while (!std::filesystem::is_symlink(Link()) && Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int Device::Stop() {
  if (pid_ > 0) kill(pid_, SIGTERM);
  const int code = pid_ > 0 ? ExitCodeOf(pid_) : code_;
  pid_ = -1;
  code_ = code;
  return code;
}

CliRun RunCli(const ScratchDir& dir, const std::string& port, const std::string& script,
              std::vector<std::string> options) {
  WriteFile(dir.File("test.script"), script);
  std::vector<std::string> arguments = {"timeout", "30", TALVORIX_CLI, "--port", port};
  arguments.insert(arguments.end(), options.begin(), options.end());
  arguments.push_back(dir.File("test.script"));
  const Clock::time_point start = Clock::now();
  const int code = ExitCodeOf(Spawn(arguments, dir.File("cli.out"), dir.File("cli.err")));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return CliRun{code, Contents(dir.File("cli.out")), Contents(dir.File("cli.err")), seconds};
}

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Bytes(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string LineBytes(const std::string& utf8) {
  std::vector<std::uint16_t> words;
  EXPECT_TRUE(TextToWords(utf8, false, words));
  words.push_back(0x000D);
  words.push_back(0x000A);
  std::vector<std::uint8_t> bytes;
  AppendWords(words, bytes);
  return Bytes(bytes);
}
