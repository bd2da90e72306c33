// talvorix-simdevice run as a program.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

}  // namespace
