// The command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_options.h"

namespace {

bool Parse(std::vector<const char*> arguments, CliOptions& options, std::string& error) {
  arguments.insert(arguments.begin(), "talvorix-cli");
  return ParseCliOptions(int(arguments.size()), arguments.data(), options, error);
}

CliOptions Parsed(const std::vector<const char*>& arguments) {
  CliOptions options;
  std::string error;
  EXPECT_TRUE(Parse(arguments, options, error)) << error;
  return options;
}

std::string Refusal(const std::vector<const char*>& arguments) {
  CliOptions options;
  std::string error;
  EXPECT_FALSE(Parse(arguments, options, error));
  return error;
}

TEST(CliOptions, TheWindowsDefaultsOnTheFirstUsbAdapter) {
  const CliOptions options = Parsed({"test.script"});
  EXPECT_EQ(options.scriptPath, "test.script");
  EXPECT_EQ(options.session.portPath, "/dev/ttyUSB0");
  EXPECT_EQ(DescribeLineSettings(options.session.line), "1000000 bit/s 8N1");
  EXPECT_TRUE(options.session.logPath.empty());
  EXPECT_FALSE(options.session.terminal.newLine || options.session.terminal.noWrap ||
               options.session.terminal.localEcho);
}

TEST(CliOptions, LineSettingsAndTerminalOptions) {
  const CliOptions options =
      Parsed({"--port", "/dev/ttyACM1", "--speed", "250000", "--data-bits", "7", "--parity", "even", "--stop-bits",
              "2", "--rts-cts", "--xon-xoff", "--log", "run.log", "--newline", "--no-wrap", "--local-echo", "-"});
  EXPECT_EQ(options.session.portPath, "/dev/ttyACM1");
  EXPECT_EQ(DescribeLineSettings(options.session.line), "250000 bit/s 7E2 RTS/CTS XON/XOFF");
  EXPECT_EQ(options.session.logPath, "run.log");
  EXPECT_TRUE(options.session.terminal.newLine && options.session.terminal.noWrap &&
              options.session.terminal.localEcho);
  EXPECT_EQ(options.scriptPath, "-");
  EXPECT_EQ(Parsed({"--data-bits", "5", "--stop-bits", "1.5", "s"}).session.line.stopBits, StopBitsOneAndHalf);
  EXPECT_EQ(Parsed({"--parity", "mark", "s"}).session.line.parity, ParityMark);
}

TEST(CliOptions, ValuesAfterAnEqualsSignAndOperandsAfterADoubleDash) {
  const CliOptions options =
      Parsed({"--port=/dev/ttyACM1", "--speed=250000", "--parity=odd", "--log=a=b.log", "--", "--newline"});
  EXPECT_EQ(options.session.portPath, "/dev/ttyACM1");
  EXPECT_EQ(DescribeLineSettings(options.session.line), "250000 bit/s 8O1");
  EXPECT_EQ(options.session.logPath, "a=b.log");
  EXPECT_EQ(options.scriptPath, "--newline");
  EXPECT_FALSE(options.session.terminal.newLine);
}

TEST(CliOptions, WrongArgumentsAreNamed) {
  EXPECT_EQ(Refusal({}), "no SCRIPT");
  EXPECT_EQ(Refusal({"a", "b"}), "b: a second SCRIPT");
  EXPECT_EQ(Refusal({""}), "'': no file name");
  EXPECT_EQ(Refusal({"--speed", "fast", "s"}), "--speed fast: not a number from 1 to 999999999");
  EXPECT_EQ(Refusal({"--data-bits", "9", "s"}), "--data-bits 9: not a number from 5 to 8");
  EXPECT_EQ(Refusal({"--parity", "odd1", "s"}), "--parity odd1: not none, odd, even, mark or space");
  EXPECT_EQ(Refusal({"--stop-bits=3", "s"}), "--stop-bits=3: not 1, 1.5 or 2");
  EXPECT_EQ(Refusal({"--port", "", "s"}), "--port '': no file name");
  EXPECT_EQ(Refusal({"--port", "rfc2217://lab-host", "s"}),
            "--port rfc2217://lab-host: no HOST:PORT after the scheme (an IPv6 address goes in brackets: [::1]:PORT)");
  EXPECT_EQ(Refusal({"--port=socket://[::1]:70000", "s"}),
            "--port=socket://[::1]:70000: the port is not a number from 1 to 65535");
  EXPECT_EQ(Refusal({"--log=", "s"}), "--log=: no file name");
  EXPECT_EQ(Refusal({"s", "--log"}), "--log: needs a value (FILE)");
  EXPECT_EQ(Refusal({"--newline=yes", "s"}), "--newline=yes: takes no value");
  EXPECT_EQ(Refusal({"--bogus", "x", "s"}), "--bogus: unknown option");
  EXPECT_EQ(Refusal({"--spe", "250000", "s"}), "--spe: unknown option");  // no abbreviations
  EXPECT_EQ(Refusal({"-x", "s"}), "-x: unknown option");
}

TEST(CliOptions, LineSettingsALineCannotHave) {
  EXPECT_NE(Refusal({"--speed", "19200", "s"}).find("not one of the line settings' speeds"), std::string::npos);
  EXPECT_NE(Refusal({"--data-bits", "5", "--stop-bits", "2", "s"}).find("2 stop bits do not go with 5 data bits"),
            std::string::npos);
  EXPECT_NE(Refusal({"--stop-bits", "1.5", "s"}).find("1.5 stop bits do not go with 8 data bits"),
            std::string::npos);
}

}  // namespace
