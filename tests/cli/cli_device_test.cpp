// talvorix-cli run as a program against the simulated device on a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "terminal/link/log_sessions.h"
#include "tests/cli/cli_run.h"
#include "tests/png_picture.h"

namespace {

TEST(CliDevice, TheDemonstrationsBannerIsFound) {
  const ScratchDir dir;
  Device device(dir, Contents(TALVORIX_SOURCE_DIR "/simdevice/demo.scenario"));
  const CliRun run = RunCli(dir, device.Link(),
                            "expect 通信ターミナル　デモンストレーション within 5000\n"
                            "expect-row 0 通信ターミナル　デモンストレーション\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
}

TEST(CliDevice, KeyReportsArriveAsTheWindowSendsThem) {
  const ScratchDir dir;
  Device device(dir,
                "wait-open\n"
                "expect 00 00 1D 00 61 23 41 04\n"
                "expect 22 00 1D 00 41 23 41 04\n"
                "line 受け取りました\n"
                "wait-close\n");
  const CliRun run = RunCli(dir, device.Link(), "key a\nkey shift+a\nexpect 受け取りました\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(device.Stop(), 0);
  EXPECT_EQ(device.Record(), std::string("\x00\x00\x1D\x00\x61\x23\x41\x04\x22\x00\x1D\x00\x41\x23\x41\x04", 16));
}

TEST(CliDevice, TypedKeysComeBackThroughTheDevicesEcho) {
  const ScratchDir dir;
  Device device(dir, "wait-open\necho on\nline どうぞ\nwait-close\n");
  const CliRun run = RunCli(dir, device.Link(),
                            "expect どうぞ\nkey t\nkey a\nkey l\nkey shift+v\nkey Caps_Lock\nkey x\n"
                            "expect ｔａｌＶＸ\nexpect-cursor 1 10\nscreen\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "  0|どうぞ\n  1|ｔａｌＶＸ\ncursor 1 10\ntab 0\n");
}

TEST(CliDevice, TextGoesAsJisWords) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nexpect 22 24 41 00 41 34\nline 届いた\nwait-close\n");
  const CliRun run = RunCli(dir, device.Link(), "text あA漢\nexpect 届いた\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(device.Stop(), 0);
  EXPECT_EQ(device.Record(), std::string("\x22\x24\x41\x00\x41\x34", 6));
}

TEST(CliDevice, PointPlotModeDrawsAndIsAnswered) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nplot 10,10 20,30 600,400\nline 描画済み\ncsi 2面\nwait-close\n");
  const std::string picture = dir.File("graphic.png");
  const CliRun run = RunCli(dir, device.Link(), "expect 描画済み\nexpect-tab 2\npicture " + picture + "\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(device.Stop(), 0) << "the device's plot was not answered";
  EXPECT_EQ(device.Record(), std::string("\x06\x00\x06\x00", 4));
  const Picture plane = ReadPng(picture);
  ASSERT_EQ(plane.width, 640);
  ASSERT_EQ(plane.height, 480);
  EXPECT_EQ(plane.At(10, 10), Black);
  EXPECT_EQ(plane.At(20, 30), Black);
  EXPECT_EQ(plane.At(600, 400), Black);
  EXPECT_EQ(plane.At(11, 10), White);
  EXPECT_EQ(plane.At(30, 20), White);
}

TEST(CliDevice, ASequenceCutAcrossArrivalsIsCompleted) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nword 9b 2333\npause 300\nword 2128 2334 2348\ntext 移動\nwait-close\n");
  const CliRun run = RunCli(dir, device.Link(), "expect 移動\nscreen\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(Holds(run.out, "  3|　　移動\ncursor 3 8\n")) << run.out;
}

TEST(CliDevice, ASequenceTheDeviceNeverEndsFailsAfterFiveSeconds) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nword 9b 2333\npause 6000\nline 続き\nwait-close\n");
  const CliRun run = RunCli(dir, device.Link(), "expect 続き within 8000\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_GT(run.seconds, 5.0);
  EXPECT_EQ(run.err, "talvorix-cli: 通信ターミナル: 受信エラー：ＣＳＩシーケンス実行出来ない！！\n");
}

// The replay tool on `options`: its exit code and standard output.
CliRun RunReplay(const ScratchDir& dir, const std::vector<std::string>& options) {
  std::vector<std::string> arguments = {"timeout", "30", TALVORIX_REPLAY};
  arguments.insert(arguments.end(), options.begin(), options.end());
  const int code = ExitCodeOf(Spawn(arguments, dir.File("replay.out"), dir.File("replay.err")));
  return CliRun{code, Contents(dir.File("replay.out")), Contents(dir.File("replay.err")), 0};
}

// A device that leaves a sequence unfinished for longer than the terminal
// waits, then sends its rest: the terminal gives up, and the rest shows as
// text. The trace replays to that screen and message, with the key report
// and its echo in their places; the log, without times, holds the sequence
// whole and replays to another screen.
TEST(CliDevice, ATracedSessionReplaysWithItsTiming) {
  const ScratchDir dir;
  Device device(dir, "wait-open\ntext 始め\ncsi 3\npause 5600\ntext ;4H終り\necho on\nwait-close\n");
  const CliRun run = RunCli(dir, device.Link(), "expect 終り within 8000\nkey a\nexpect ａ\nscreen\n",
                            {"--trace", dir.File("t.trace"), "--log", dir.File("t.log")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "talvorix-cli: 通信ターミナル: 受信エラー：ＣＳＩシーケンス実行出来ない！！\n");
  const std::string shown = "  0|始め;.4.H.終りａ\n";
  ASSERT_TRUE(Holds(run.out, shown)) << run.out;
  const CliRun traced = RunReplay(dir, {"--trace", dir.File("t.trace")});
  EXPECT_EQ(traced.exitCode, 0) << traced.err;
  EXPECT_TRUE(Holds(traced.out, "message 通信ターミナル|受信エラー：ＣＳＩシーケンス実行出来ない！！\n")) << traced.out;
  EXPECT_TRUE(Holds(traced.out, "screen\n" + shown.substr(4))) << traced.out;
  const CliRun logged = RunReplay(dir, {"--log", dir.File("t.log")});
  EXPECT_EQ(logged.exitCode, 0) << logged.err;
  EXPECT_FALSE(Holds(logged.out, "受信エラー：ＣＳＩシーケンス実行出来ない")) << logged.out;
  EXPECT_FALSE(Holds(logged.out, "screen\n" + shown.substr(4))) << logged.out;
  EXPECT_TRUE(Holds(logged.out, "終りａ")) << logged.out;
}

TEST(CliDevice, AFailingExpectationExitsOneWithinItsLimitAndPrintsTheScreen) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nline 準備完了\nwait-close\n");
  const CliRun run = RunCli(dir, device.Link(), "expect 準備完了\nexpect 決して来ない within 400\nkey a\n");
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_GE(run.seconds, 0.4);
  EXPECT_LT(run.seconds, 3.0);
  EXPECT_TRUE(Holds(run.err, "line 2: expect 決して来ない within 400: expected text \"決して来ない\" on the screen "
                             "within 400 ms, not met\n"))
      << run.err;
  EXPECT_TRUE(Holds(run.err, "screen:\n  0|準備完了\n  1|\ncursor 1 0\ntab 0\n")) << run.err;
  EXPECT_TRUE(Holds(run.err, "last bytes received (12 in this connection):\n00000000  3D60 4877 3430 4E3B 000D 000A"))
      << run.err;
  EXPECT_TRUE(std::regex_search(run.err, std::regex("as they arrived \\(local time, milliseconds since the connection "
                                                    "started\\):\n20[0-9-]{8} [0-9:]{8}\\.[0-9]{6} \\+[0-9]+ms "
                                                    "received 3D60 4877 3430 4E3B 000D 000A \\| 準 備 完 了 CR LF\n")))
      << run.err;
  EXPECT_EQ(device.Stop(), 0);
  EXPECT_EQ(device.Record(), "") << "the line after the failure ran";
}

TEST(CliDevice, AMissingDeviceExitsTwoWithTheReason) {
  const ScratchDir dir;
  const CliRun run = RunCli(dir, dir.File("no-such-tty"), "expect x\n");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "talvorix-cli: cannot open " + dir.File("no-such-tty") + ": No such file or directory\n");
}

TEST(CliDevice, AScriptFaultExitsTwoWithItsLineBeforeThePortIsOpened) {
  const ScratchDir dir;
  const CliRun run = RunCli(dir, dir.File("no-such-tty"), "# fine\nkey a\nkey Hyper_L\n");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "talvorix-cli: " + dir.File("test.script") + ": line 3: no key is named \"Hyper_L\"\n");
}

TEST(CliDevice, WrongUsageExitsTwoWithTheUsage) {
  const ScratchDir dir;
  const CliRun run = RunCli(dir, dir.File("tty"), "", {"--speed", "12345"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Holds(run.err, "speed 12345 bit/s is not one of the line settings' speeds\nusage: talvorix-cli"))
      << run.err;
  const CliRun named = RunCli(dir, dir.File("tty"), "", {"--parity=odd1"});
  EXPECT_EQ(named.exitCode, 2);
  EXPECT_TRUE(named.err.rfind("talvorix-cli: --parity=odd1: not none, odd, even, mark or space\nusage:", 0) == 0)
      << named.err;
}

TEST(CliDevice, AVanishedDeviceEndsTheScript) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nline さようなら\npause 200\nvanish\n");
  const CliRun run = RunCli(dir, device.Link(), "expect さようなら\nwait 5000\nkey a\n");
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_LT(run.seconds, 3.0);
  EXPECT_TRUE(Holds(run.err, "line 2: wait 5000: " + device.Link())) << run.err;
  EXPECT_TRUE(Holds(run.err, "has gone")) << run.err;
}

// With --reconnect a device that reboots in the middle of a line is waited
// for and taken up again as the window does: the line that was running keeps
// its own limit, the screen is blanked at the new connect, and the log holds
// an end and a start stamp around the gap.
TEST(CliDevice, WithReconnectADeviceThatRebootsIsTakenUpAgain) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nline 再起動します\npause 100\nreplug 500\nwait-open\nline 準備完了\nwait-close\n");
  const std::string log = dir.File("Talvorix.log");
  const CliRun run = RunCli(dir, device.Link(), "expect 再起動します\nexpect 準備完了 within 10000\nscreen\n",
                            {"--reconnect", "--log", log});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Holds(run.out, "準備完了")) << run.out;
  EXPECT_FALSE(Holds(run.out, "再起動します")) << "the screen is blanked at the new connect\n" << run.out;
  const std::string bytes = Contents(log);
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(bytes.substr(sessions[0].dataStart, sessions[0].dataEnd - sessions[0].dataStart), LineBytes("再起動します"));
  EXPECT_EQ(bytes.substr(sessions[1].dataStart, sessions[1].dataEnd - sessions[1].dataStart), LineBytes("準備完了"));
  EXPECT_EQ(sessions[0].dataEnd + 85, sessions[1].dataStart - 85) << "an end stamp, then a start stamp";
}

TEST(CliDevice, AStopSignalEndsTheRunWithTheEndStamp) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nline 始まり\nwait-close\n");
  WriteFile(dir.File("test.script"), "expect 始まり\nwait 20000\n");
  const std::string log = dir.File("Talvorix.log");
  const pid_t cli = Spawn({TALVORIX_CLI, "--port", device.Link(), "--log", log, dir.File("test.script")},
                          dir.File("cli.out"), dir.File("cli.err"));
  const auto end = Clock::now() + std::chrono::seconds(10);
  while (Contents(log).size() < 86 + 85 + LineBytes("始まり").size() && Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(cli, SIGTERM);
  EXPECT_EQ(ExitCodeOf(cli), 1);
  EXPECT_EQ(Contents(dir.File("cli.err")), "talvorix-cli: line 2: wait 20000: stopped by signal 15\n");
  std::vector<LogSession> sessions;
  const std::string bytes = Contents(log);
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].dataEnd + 85, bytes.size()) << "the end stamp closes the log";
}

// A script read from a pipe that stays open: the tool has taken the first
// line and waits for more when the signal comes, and ends by it, as nothing
// is open yet.
TEST(CliDevice, AStopSignalEndsTheToolWhileItReadsTheScript) {
  const ScratchDir dir;
  int pipeEnds[2];
  ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
  const pid_t cli = Spawn({TALVORIX_CLI, "--port", dir.File("tty"), "-"}, dir.File("cli.out"), dir.File("cli.err"),
                          pipeEnds[0]);
  const std::string first = "# the device's test\n";
  ASSERT_EQ(write(pipeEnds[1], first.data(), first.size()), ssize_t(first.size()));
  int unread = 1;
  const auto end = Clock::now() + std::chrono::seconds(10);
  while (ioctl(pipeEnds[0], FIONREAD, &unread) == 0 && unread > 0 && Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(unread, 0) << "the tool did not read its script";
  kill(cli, SIGTERM);
  EXPECT_EQ(ExitCodeWithin(cli, 10), 128 + SIGTERM) << "the tool went on reading its script";
  close(pipeEnds[0]);
  close(pipeEnds[1]);
}

TEST(CliDevice, TheLogHoldsEveryByteOfEachConnectionInOrder) {
  const ScratchDir dir;
  Device device(dir,
                "wait-open\nline 一回目\nwait-close\n"
                "wait-open\nline 二回目\nflood 30000 0 ０１２３４５６７８９\nline 終わり\nwait-close\n");
  const std::string log = dir.File("Talvorix.log");
  // The device notices a closed port within a few milliseconds: the pause lets it.
  const CliRun run = RunCli(dir, device.Link(),
                            "expect 一回目\ndisconnect\nwait 100\nconnect\nexpect 終わり within 10000\n",
                            {"--log", log});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string bytes = Contents(log);
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(bytes.substr(sessions[0].dataStart, sessions[0].dataEnd - sessions[0].dataStart), LineBytes("一回目"));
  std::string flood;
  while (flood.size() < 30000) flood += LineBytes("０１２３４５６７８９").substr(0, 20);
  const std::string second = bytes.substr(sessions[1].dataStart, sessions[1].dataEnd - sessions[1].dataStart);
  const std::string sent = LineBytes("二回目") + flood.substr(0, 30000) + LineBytes("終わり");
  EXPECT_EQ(second.size(), sent.size());
  EXPECT_TRUE(second == sent) << "the second connection's bytes differ from what the device sent";
  EXPECT_EQ(sessions[1].dataEnd + 85, bytes.size()) << "the end stamp closes the log";
}

// The log holds whole words, as the window's does: a lone byte is logged with
// its partner, and one still alone when the connection ends is dropped, so
// that each end stamp stands at an even distance from its start stamp.
TEST(CliDevice, TheLogHoldsWholeWordsOnly) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nbytes 41 23 42\nwait-close\nwait-open\nbytes 43\npause 200\nbytes 23\nwait-close\n");
  const std::string log = dir.File("Talvorix.log");
  const CliRun run =
      RunCli(dir, device.Link(), "expect Ａ\nwait 200\ndisconnect\nwait 100\nconnect\nexpect Ｃ\n", {"--log", log});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string bytes = Contents(log);
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(bytes.substr(sessions[0].dataStart, sessions[0].dataEnd - sessions[0].dataStart), "\x41\x23");
  EXPECT_EQ(sessions[1].dataStart, sessions[0].dataEnd + 85 + 85) << "the end stamp follows the whole word";
  EXPECT_EQ(bytes.substr(sessions[1].dataStart, sessions[1].dataEnd - sessions[1].dataStart), "\x43\x23");
  EXPECT_EQ(sessions[1].dataEnd + 85, bytes.size()) << "the end stamp closes the log";
}

TEST(CliDevice, TheLineSettingsReachTheDevice) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nsettings\nline 設定済み\nwait-close\n");
  const CliRun run = RunCli(dir, device.Link(), "expect 設定済み\n",
                            {"--speed", "2000000", "--stop-bits", "2", "--rts-cts", "--xon-xoff"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Holds(device.Output(), "SETTINGS speed 2000000 cstopb 1 crtscts 1 ixon 1 ixoff 1")) << device.Output();
}

}  // namespace
