// How fast talvorix-cli's expect answers: this program plays the device on a
// pseudo-terminal, writes a line the tool's script expects, and times until
// the tool's next line (a send) arrives. The time covers the tool waking,
// reading, interpreting, looking at the screen and sending, and both passes
// through the pseudo-terminal, so it bounds from above the time from the last
// byte of a match arriving to expect returning.
//
// With --rfc2217 TCPPORT the tool reaches the pseudo-terminal through ser2net
// serving it on 127.0.0.1:TCPPORT as an RFC 2217 port, so the time also covers
// both passes through ser2net and the loopback network.
//
// usage: expect_latency CLI [ROUNDS] [--pattern] [--rfc2217 TCPPORT]   (default 1000 rounds)
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "simdevice/scenario.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Each round's line goes one row down; from the 200th on the screen scrolls,
// and every row is decoded again after each arrival.
constexpr int FillingRounds = 199;

std::string FullWidthNumber(int number) {
  std::string text;
  for (const char digit : std::to_string(number)) text += "\xEF\xBC" + std::string(1, char(0x90 + digit - '0'));
  return text;
}

std::string Mark(int round) { return "＜" + FullWidthNumber(round) + "＞"; }

std::string Script(int rounds, bool pattern) {
  std::string script = "send 00 00\n";
  for (int round = 1; round <= rounds; ++round) {
    script += pattern ? "expect /" + Mark(round) + "$/ within 5000\n" : "expect " + Mark(round) + " within 5000\n";
    script += "send 01 00\n";
  }
  return script;
}

std::vector<std::uint8_t> LineOf(const std::string& text) {
  std::vector<std::uint16_t> words;
  TextToWords(text, false, words);
  words.push_back(0x000D);
  words.push_back(0x000A);
  std::vector<std::uint8_t> bytes;
  AppendWords(words, bytes);
  return bytes;
}

// Until the tool has the other end open the master reports a hang-up: that
// is waited out too, within ten seconds.
bool AwaitBytes(int master, int count) {
  std::uint8_t buffer[16];
  const Clock::time_point end = Clock::now() + std::chrono::seconds(10);
  while (count > 0 && Clock::now() < end) {
    pollfd p{master, POLLIN, 0};
    if (poll(&p, 1, 1000) < 0) return false;
    if (!(p.revents & POLLIN)) {
      if (p.revents & POLLHUP) usleep(1000);
      continue;
    }
    const ssize_t got = read(master, buffer, std::size_t(count));
    if (got > 0) count -= int(got);
  }
  return count == 0;
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

// One line of figures, in microseconds.
void Report(const char* what, const std::vector<double>& microseconds) {
  if (microseconds.empty()) return;
  std::printf("%s, %zu rounds: median %.0f us, 90%% %.0f us, 99%% %.0f us, max %.0f us\n", what,
              microseconds.size(), Percentile(microseconds, 0.5), Percentile(microseconds, 0.9),
              Percentile(microseconds, 0.99), Percentile(microseconds, 1.0));
}

// ser2net serving the pseudo-terminal `pty` on 127.0.0.1:`port`; the port
// name the tool is given.
std::string ServeThroughSer2net(const char* pty, const std::string& port, pid_t& server) {
  const std::string yaml = "connection: &bench#  accepter: telnet(rfc2217),tcp,127.0.0.1," + port +
                           "#  connector: serialdev," + pty + ",1000000n81,local";
  const char* arguments[] = {"ser2net", "-n", "-u", "-Y", yaml.c_str(), nullptr};
  if (posix_spawnp(&server, "ser2net", nullptr, nullptr, const_cast<char**>(arguments), environ) != 0) server = -1;
  usleep(500000);  // until it listens
  return "rfc2217://127.0.0.1:" + port;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: expect_latency CLI [ROUNDS] [--pattern] [--rfc2217 TCPPORT]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
  bool pattern = false;
  std::string tcpPort;
  for (int i = 3; i < argc; ++i) {
    if (std::string(argv[i]) == "--pattern") pattern = true;
    if (std::string(argv[i]) == "--rfc2217" && i + 1 < argc) tcpPort = argv[++i];
  }
  int master = -1, slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return 1;
  close(slave);
  char scriptPath[] = "/tmp/expect-latency-XXXXXX";
  close(mkstemp(scriptPath));
  std::ofstream(scriptPath) << Script(rounds, pattern);
  pid_t server = -1;
  std::string port = tcpPort.empty() ? name : ServeThroughSer2net(name, tcpPort, server);
  char* cliArguments[] = {argv[1], const_cast<char*>("--port"), port.data(), scriptPath, nullptr};
  pid_t cli = -1;
  if (posix_spawn(&cli, argv[1], nullptr, nullptr, cliArguments, environ) != 0) return 1;
  std::vector<double> microseconds;
  bool answered = AwaitBytes(master, 2);
  for (int round = 1; answered && round <= rounds; ++round) {
    const std::vector<std::uint8_t> line = LineOf(Mark(round));
    if (write(master, line.data(), line.size()) != ssize_t(line.size())) break;
    const Clock::time_point written = Clock::now();
    answered = AwaitBytes(master, 2);
    microseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - written).count());
  }
  int status = 0;
  if (!answered) kill(cli, SIGTERM);
  waitpid(cli, &status, 0);
  unlink(scriptPath);
  if (server > 0) kill(server, SIGTERM);
  if (server > 0) waitpid(server, &status, 0);
  if (!answered || microseconds.empty()) {
    std::fprintf(stderr, "expect_latency: the tool stopped answering\n");
    return 1;
  }
  const std::vector<double> filling(microseconds.begin(), microseconds.begin() + std::min<std::ptrdiff_t>(
                                                                 std::ptrdiff_t(microseconds.size()), FillingRounds));
  const std::vector<double> scrolling(microseconds.begin() + std::ptrdiff_t(filling.size()), microseconds.end());
  const std::string what = std::string(pattern ? "expect /pattern/" : "expect text") + (tcpPort.empty() ? "" : " through rfc2217");
  Report((what + ", the screen filling").c_str(), filling);
  Report((what + ", the screen scrolling").c_str(), scrolling);
  return 0;
}
