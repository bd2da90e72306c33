// The device end of a serial line for the settings tests: a pseudo-terminal
// whose slave side is linked where the terminal opens its port.
//
//   dialogs_pty_device LINK STATUS_FILE
//
// Rewrites STATUS_FILE every 50 ms with the line settings the terminal gave the
// port ("speed=2000000 cstopb=0 crtscts=0 ixon=0 ixoff=0 parodd=0"), and
// discards what the terminal sends. SIGUSR1 sets the line to 9600 bit/s from
// the device side; SIGUSR2 sends one line of text (JIS words); SIGTERM ends it
// and removes LINK.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

volatile std::sig_atomic_t slowDownAsked = 0;
volatile std::sig_atomic_t textAsked = 0;
volatile std::sig_atomic_t endAsked = 0;

struct SpeedName {
  speed_t code;
  long bitsPerSecond;
};

constexpr SpeedName Speeds[] = {
    {B4800, 4800},       {B9600, 9600},       {B19200, 19200},     {B38400, 38400},
    {B57600, 57600},     {B115200, 115200},   {B230400, 230400},   {B460800, 460800},
    {B500000, 500000},   {B576000, 576000},   {B921600, 921600},   {B1000000, 1000000},
    {B1152000, 1152000}, {B1500000, 1500000}, {B2000000, 2000000}, {B2500000, 2500000},
    {B3000000, 3000000},
};

long BitsPerSecond(speed_t code) {
  for (const SpeedName& speed : Speeds) {
    if (speed.code == code) return speed.bitsPerSecond;
  }
  return -1;
}

void WriteStatus(int master, const std::string& path) {
  termios line{};
  if (tcgetattr(master, &line) != 0) return;
  std::string partial = path + ".part";
  FILE* file = std::fopen(partial.c_str(), "w");
  if (!file) return;
  std::fprintf(file, "speed=%ld cstopb=%d crtscts=%d ixon=%d ixoff=%d parodd=%d\n",
               BitsPerSecond(cfgetospeed(&line)), (line.c_cflag & CSTOPB) != 0,
               (line.c_cflag & CRTSCTS) != 0, (line.c_iflag & IXON) != 0, (line.c_iflag & IXOFF) != 0,
               (line.c_cflag & PARODD) != 0);
  std::fclose(file);
  std::rename(partial.c_str(), path.c_str());
}

void SlowDown(int master) {
  termios line{};
  tcgetattr(master, &line);
  cfsetspeed(&line, B9600);
  tcsetattr(master, TCSANOW, &line);
}

// A row of full-width letters Ａ to Ｔ, then CR LF, as little-endian JIS words.
void SendText(int master) {
  std::uint8_t words[44];
  int length = 0;
  for (int letter = 0; letter < 20; ++letter) {
    words[length++] = std::uint8_t(0x41 + letter);
    words[length++] = 0x23;
  }
  const std::uint8_t lineEnd[] = {0x0D, 0x00, 0x0A, 0x00};
  for (std::uint8_t byte : lineEnd) words[length++] = byte;
  if (write(master, words, length) != length) std::perror("write");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s LINK STATUS_FILE\n", argv[0]);
    return 2;
  }
  int master = -1;
  int slave = -1;
  char slaveName[128];
  termios raw{};
  cfmakeraw(&raw);
  cfsetspeed(&raw, B9600);
  if (openpty(&master, &slave, slaveName, &raw, nullptr) != 0) {
    std::perror("openpty");
    return 1;
  }
  unlink(argv[1]);
  if (symlink(slaveName, argv[1]) != 0) {
    std::perror("symlink");
    return 1;
  }
  std::signal(SIGUSR1, [](int) { slowDownAsked = 1; });
  std::signal(SIGUSR2, [](int) { textAsked = 1; });
  std::signal(SIGTERM, [](int) { endAsked = 1; });
  std::signal(SIGINT, [](int) { endAsked = 1; });
  while (!endAsked) {
    pollfd input = {master, POLLIN, 0};
    if (poll(&input, 1, 50) > 0 && (input.revents & POLLIN)) {
      std::uint8_t discarded[256];
      if (read(master, discarded, sizeof discarded) < 0) usleep(50000);
    }
    if (slowDownAsked) {
      slowDownAsked = 0;
      SlowDown(master);
    }
    if (textAsked) {
      textAsked = 0;
      SendText(master);
    }
    WriteStatus(master, argv[2]);
  }
  unlink(argv[1]);
  close(slave);
  close(master);
  return 0;
}
