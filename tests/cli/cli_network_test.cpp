// Network serial ports against a real ser2net: the test starts it on
// 127.0.0.1 with a configuration of its own, serving the simulated device's
// pseudo-terminal as an RFC 2217 port and as a raw TCP port.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "terminal/link/arbitrary_speed.h"
#include "terminal/link/log_sessions.h"
#include "terminal/link/network_serial_device.h"
#include "terminal/link/serial_line.h"
#include "tests/cli/cli_run.h"

namespace {

// A TCP port of 127.0.0.1 nothing listens on at the moment.
int FreePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(s, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  return ntohs(address.sin_port);
}

// True when something listens on the TCP port (the kernel's table, so that
// looking does not connect: a connect would open the device).
bool Listening(int port) {
  std::ifstream table("/proc/net/tcp");
  char local[16];
  std::snprintf(local, sizeof local, ":%04X ", port);
  for (std::string row; std::getline(table, row);) {
    if (row.find(local) != std::string::npos && row.find(" 0A ") != std::string::npos) return true;
  }
  return false;
}

bool WaitFor(const std::function<bool()>& condition, int seconds) {
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  while (!condition()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// ser2net serving `tty` at 9600 bit/s (its own setting, which an RFC 2217
// client changes) on two ports of 127.0.0.1.
class Ser2net {
 public:
  Ser2net(const ScratchDir& dir, const std::string& tty) : dir_(dir), rfc2217_(FreePort()), raw_(FreePort()) {
    WriteFile(dir.File("ser2net.yaml"), Connection("rfc2217", "telnet(rfc2217),tcp", rfc2217_, tty) +
                                            Connection("raw", "tcp", raw_, tty));
    Start();
  }
  ~Ser2net() { Stop(); }
  std::string Rfc2217() const { return "rfc2217://127.0.0.1:" + std::to_string(rfc2217_); }
  // By the host's name, which resolves.
  std::string Raw() const { return "socket://localhost:" + std::to_string(raw_); }
  void Start() {
    pid_ = Spawn({"ser2net", "-n", "-u", "-c", dir_.File("ser2net.yaml"), "-P", dir_.File("ser2net.pid")},
                 dir_.File("ser2net.out"), dir_.File("ser2net.err"));
    EXPECT_TRUE(WaitFor([this] { return Listening(rfc2217_) && Listening(raw_); }, 10)) << "ser2net did not start";
  }
  void Stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    if (pid_ > 0) ExitCodeOf(pid_);
    pid_ = -1;
  }

 private:
  static std::string Connection(const std::string& name, const std::string& accepter, int port,
                                const std::string& tty) {
    return "connection: &" + name + "\n  accepter: " + accepter + ",127.0.0.1," + std::to_string(port) +
           "\n  connector: serialdev," + tty + ",9600n81,local\n";
  }

  const ScratchDir& dir_;
  int rfc2217_;
  int raw_;
  pid_t pid_ = -1;
};

// Every byte value, and its hexadecimal text for the scripts.
std::string EveryByte() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes += char(value);
  return bytes;
}

std::string Hex(const std::string& bytes) {
  std::string text;
  char two[4];
  for (unsigned char byte : bytes) {
    std::snprintf(two, sizeof two, "%02x ", byte);
    text += two;
  }
  return text;
}

std::string SessionData(const std::string& log, const LogSession& session) {
  return log.substr(session.dataStart, session.dataEnd - session.dataStart);
}

const std::string KeyA("\x00\x00\x1D\x00\x61\x23\x41\x04", 8);

// Through RFC 2217: the line settings reach the pseudo-terminal, the banner
// the screen and the log, and every byte value, a key report and point-plot
// mode's answers go through unchanged both ways.
TEST(CliNetwork, AnRfc2217PortCarriesTheLineAndEveryByte) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nsettings\nline 準備完了\nbytes " + Hex(EveryByte()) + "\nexpect " +
                         Hex(EveryByte()) + "\nexpect " + Hex(KeyA) + "\nplot 10,10 20,30\nline 描画済み\nwait-close\n");
  Ser2net server(dir, device.Link());
  const std::string log = dir.File("Talvorix.log");
  const CliRun run = RunCli(dir, server.Rfc2217(),
                            "expect 準備完了\nsend " + Hex(EveryByte()) + "\nkey a\nexpect 描画済み within 10000\n",
                            {"--log", log});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(device.Stop(), 0) << "the device did not get every byte, the key or the plot's answers";
  EXPECT_TRUE(Holds(device.Output(), "SETTINGS speed 1000000 ")) << device.Output();
  EXPECT_EQ(device.Record(), EveryByte() + KeyA + std::string("\x06\x00\x06\x00", 4));
  const std::string bytes = Contents(log);
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 1u);
  const std::string banner = LineBytes("準備完了") + EveryByte();
  EXPECT_EQ(SessionData(bytes, sessions[0]).substr(0, banner.size()), banner);
}

// New line settings applied while connected reach the pseudo-terminal, as the
// window applies them after its settings dialog.
TEST(CliNetwork, LineSettingsAppliedWhileConnectedReachThePseudoTerminal) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nwait-close\n");
  Ser2net server(dir, device.Link());
  const std::string pty = Contents(dir.File("device.out")).substr(4, Contents(dir.File("device.out")).find('\n') - 4);
  const int fd = open(pty.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0) << pty;
  std::uint32_t speed = 0;
  const auto speedIs = [fd, &speed](std::uint32_t wanted) {
    return [fd, &speed, wanted] { return ReadArbitrarySpeed(fd, speed) && speed == wanted; };
  };
  NetworkPort port;
  std::string error;
  ASSERT_TRUE(ParseNetworkPort(server.Rfc2217(), port, error)) << error;
  NetworkSerialDevice network(port, [] { return false; });
  ASSERT_TRUE(OpenLine(network, LineSettings{}, error)) << error;
  EXPECT_TRUE(WaitFor(speedIs(1000000), 5)) << speed;
  LineSettings slower;
  slower.baudRate = 115200;
  ASSERT_TRUE(network.Configure(slower, error)) << error;
  EXPECT_TRUE(WaitFor(speedIs(115200), 5)) << speed;
  CloseLine(network);
  close(fd);
}

TEST(CliNetwork, ARawTcpPortCarriesTheBannerAndAKeyReport) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nline 準備完了\nexpect " + Hex(KeyA) + "\nline 受け取りました\nwait-close\n");
  Ser2net server(dir, device.Link());
  const CliRun run = RunCli(dir, server.Raw(), "expect 準備完了\nkey a\nexpect 受け取りました\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(device.Stop(), 0);
  EXPECT_EQ(device.Record(), KeyA);
}

// The server stopped and started again is the device vanishing and coming
// back: the end stamp, then a new start stamp with the banner after it.
TEST(CliNetwork, AServerThatRestartsIsTakenUpAgain) {
  const ScratchDir dir;
  Device device(dir, "wait-open\nline 準備完了\nwait-close\nwait-open\nline 再び準備完了\nwait-close\n");
  Ser2net server(dir, device.Link());
  const std::string log = dir.File("Talvorix.log");
  WriteFile(dir.File("test.script"), "expect 準備完了\nexpect 再び準備完了 within 15000\nscreen\n");
  const pid_t cli = Spawn({TALVORIX_CLI, "--port", server.Rfc2217(), "--reconnect", "--log", log,
                           dir.File("test.script")},
                          dir.File("cli.out"), dir.File("cli.err"));
  EXPECT_TRUE(WaitFor([&log] { return Holds(Contents(log), LineBytes("準備完了")); }, 10));
  server.Stop();
  server.Start();
  EXPECT_EQ(ExitCodeWithin(cli, 20), 0) << Contents(dir.File("cli.err"));
  const std::string screen = Contents(dir.File("cli.out"));
  EXPECT_TRUE(Holds(screen, "|再び準備完了\n")) << screen;
  EXPECT_FALSE(Holds(screen, "|準備完了\n")) << "the screen is blanked at the new connect\n" << screen;
  const std::string bytes = Contents(log);
  std::vector<LogSession> sessions;
  ASSERT_TRUE(ReadLogSessions(bytes, sessions));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(SessionData(bytes, sessions[0]), LineBytes("準備完了"));
  EXPECT_EQ(SessionData(bytes, sessions[1]), LineBytes("再び準備完了"));
  EXPECT_EQ(sessions[0].dataEnd + 85, sessions[1].dataStart - 85) << "an end stamp, then a start stamp";
}

TEST(CliNetwork, APortWhereNothingListensExitsTwoWithTheSystemsReason) {
  const ScratchDir dir;
  const std::string free = std::to_string(FreePort());
  for (const std::string& port : std::vector<std::string>{"rfc2217://127.0.0.1:" + free, "socket://[::1]:" + free}) {
    const CliRun run = RunCli(dir, port, "expect 準備完了\n");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Holds(run.err, "cannot connect to " + port + ": Connection refused")) << run.err;
  }
}

// A host that takes no connection: a listener whose queue is full drops the
// handshake, so a connect to it waits. A stop signal ends that wait at once
// rather than at the connect's bound, which tells "did not answer in time".
TEST(CliNetwork, AStopSignalEndsAConnectToAHostThatDoesNotAnswer) {
  const ScratchDir dir;
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  listen(listener, 0);
  std::vector<int> queued;
  for (int i = 0; i < 3; ++i) {
    queued.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
    connect(queued.back(), reinterpret_cast<sockaddr*>(&address), length);
  }
  WriteFile(dir.File("test.script"), "expect 準備完了\n");
  const std::string port = "socket://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  const pid_t cli = Spawn({TALVORIX_CLI, "--port", port, dir.File("test.script")}, dir.File("cli.out"),
                          dir.File("cli.err"));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  kill(cli, SIGTERM);
  EXPECT_EQ(ExitCodeWithin(cli, 10), 2);
  EXPECT_TRUE(Holds(Contents(dir.File("cli.err")), "cannot connect to " + port + ": the connect was cancelled"))
      << Contents(dir.File("cli.err"));
  for (const int s : queued) close(s);
  close(listener);
}

}  // namespace
